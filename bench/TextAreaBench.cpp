// Benchmark of the text area on a generated script of about 100,000 lines and 4,000,000 characters.
//
// Each scenario runs in a fresh process of this program (the peak memory of a process only grows),
// prints key=value lines, and the parent prints the table. Times are medians of several runs. The
// compute floor is the token split alone, into a flat array; styling times are given as multiples of
// it. QScintilla with its own Lua lexer styles the same text as a peer, when it was found at build time.
// The drawing layer's figures (PreviewBench) run last, in this process; `--scenario draw` runs them alone.
#include "BenchSupport.h"
#include "ColouringBench.h"
#include "FindBench.h"
#include "HabitsBench.h"
#include "HudPreviewBench.h"
#include "LuaScriptGenerator.h"
#include "PreviewBench.h"
#include "TokenSplitter.h"

#include "app/RecoveryKeeper.h"
#include "event/EventQueue.h"
#include "gui/GadgetFactory.h"
#include "gui/GuiDriver.h"
#include "gui/GuiFont.h"
#include "gui/TextArea.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#ifdef TLE_BENCH_QSCINTILLA
#include <Qsci/qscilexerlua.h>
#include <Qsci/qsciscintilla.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int ScriptLines = 100000;
constexpr int ScriptChars = 4000000;
constexpr int Runs = 7;
constexpr int KeystrokeRuns = 41;

using namespace bench;

const char16_t* Units(const QString& text)
{
    return reinterpret_cast<const char16_t*>(text.utf16());
}

struct TColour {
    int r, g, b, style;
};

TColour ColourOf(BenchTokenKind kind)
{
    switch (kind) {
    case BenchTokenKind::Keyword:
        return { 0, 0, 255, 1 };
    case BenchTokenKind::Number:
        return { 200, 0, 0, 0 };
    case BenchTokenKind::String:
        return { 0, 128, 0, 0 };
    case BenchTokenKind::Comment:
        return { 128, 128, 128, 2 };
    case BenchTokenKind::Bracket:
        return { 128, 0, 128, 0 };
    case BenchTokenKind::Sign:
        return { 160, 80, 0, 0 };
    default:
        return { 0, 0, 0, 0 };
    }
}

// Counts the paint events a widget receives, so that a repaint that painted nothing cannot pass for a fast one.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

int FloorScenario()
{
    const QString script = GenerateLuaScript(ScriptLines, ScriptChars);
    std::vector<TBenchToken> tokens;
    SplitTokens(Units(script), static_cast<int>(script.size()), 0, [&](int start, int length, BenchTokenKind kind) {
        tokens.push_back({ start, length, kind });
    });
    Report("lines", script.count(u'\n') + 1);
    Report("chars", static_cast<double>(script.size()));
    Report("tokens", static_cast<double>(tokens.size()));
    Report("floor_ms",
        MedianOf(
            Runs, [&] { tokens.clear(); },
            [&] {
                SplitTokens(
                    Units(script), static_cast<int>(script.size()), 0, [&](int start, int length, BenchTokenKind kind) {
                        tokens.push_back({ start, length, kind });
                    });
            }));
    Report("floor_peak_mib", PeakMiB());
    return 0;
}

// Colours one line the way the program does after an edit: read it, split it, one SetStyle per token.
void RestyleLine(TTextArea* area, int line)
{
    const QString text = area->AreaText(line, 1, TextUnit::Lines);
    SplitTokens(Units(text), static_cast<int>(text.size()), area->CharAt(line),
        [&](int start, int length, BenchTokenKind kind) {
            const TColour c = ColourOf(kind);
            area->SetStyle(c.r, c.g, c.b, c.style, start, length, TextUnit::Chars);
        });
}

void StyleWholeText(TTextArea* area, const QString& script)
{
    SplitTokens(Units(script), static_cast<int>(script.size()), 0, [&](int start, int length, BenchTokenKind kind) {
        const TColour c = ColourOf(kind);
        area->SetStyle(c.r, c.g, c.b, c.style, start, length, TextUnit::Chars);
    });
}

int TextAreaScenario(int argc, char** argv)
{
    StartGui(argc, argv);
    TTextArea* area = MakeBenchTextArea();
    Report("ours_base_peak_mib", PeakMiB());

    const QString script = GenerateLuaScript(ScriptLines, ScriptChars);
    Report("ours_first_load_ms", TimeOnce([&] { area->ReplaceText(0, -1, script, TextUnit::Chars); }));
    Report("ours_first_style_ms", TimeOnce([&] { StyleWholeText(area, script); }));
    QApplication::processEvents();
    Report("ours_loaded_peak_mib", PeakMiB());

    Report("ours_load_ms", MedianOf(Runs, nullptr, [&] { area->ReplaceText(0, -1, script, TextUnit::Chars); }));
    Report("ours_style_ms", MedianOf(Runs, nullptr, [&] { StyleWholeText(area, script); }));
    // As the program colours a loaded script: line by line, each read back from the text area.
    Report("ours_style_lines_ms", MedianOf(Runs, nullptr, [&] {
        const int lines = area->AreaLen(TextUnit::Lines);
        for (int line = 0; line <= lines; ++line)
            RestyleLine(area, line);
    }));

    // One keystroke in the middle of the script: the key, the line's colouring, and the repaint.
    const int middle = area->AreaLen(TextUnit::Lines) / 2;
    area->SetSelection(area->CharAt(middle) + 3, 0, TextUnit::Chars);
    QApplication::processEvents();
    QWidget* view = area->View();
    QWidget* viewport = area->View()->viewport();
    PaintCounter counter;
    viewport->installEventFilter(&counter);
    Report("ours_restyle_repaint_ms", MedianOf(KeystrokeRuns, nullptr, [&] {
        RestyleLine(area, middle);
        viewport->repaint();
    }));
    auto keystroke = [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(view, &press);
        RestyleLine(area, area->GetCursorPos(TextUnit::Lines));
        viewport->repaint();
    };
    // The first edit after a load also moves the buffer's gap from the end of the text to the caret.
    Report("ours_first_keystroke_ms", TimeOnce(keystroke));
    Report("ours_keystroke_ms",
        MedianOf(
            KeystrokeRuns, [&] { EventQueue.Clear(); }, keystroke));
    Report("ours_paints_per_keystroke", counter.paints / (2.0 * KeystrokeRuns + 1));

    // Backspace at the end of the one widest line: every key narrows it, so the scroll range has to
    // find the next widest line among all the others.
    const int widest = area->GetCursorPos(TextUnit::Lines);
    area->ReplaceText(area->CharAt(widest + 1) - 1, 0, QString(400, QLatin1Char('w')), TextUnit::Chars);
    area->SetSelection(area->CharAt(widest + 1) - 1, 0, TextUnit::Chars);
    Report("ours_narrowing_keystroke_ms",
        MedianOf(
            KeystrokeRuns, [&] { EventQueue.Clear(); },
            [&] {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
                QApplication::sendEvent(view, &press);
                RestyleLine(area, widest);
                viewport->repaint();
            }));

    // A recovery copy of the whole script: the main thread takes the text, a thread of its own writes it.
    QTemporaryDir state;
    TRecoveryStore store(state.filePath(QStringLiteral("recovery")), TextAreaCapacity);
    TRecoveryKeeper keeper(store);
    keeper.delay = std::chrono::milliseconds(0);
    const auto snapshot = [&] {
        return TRecoverySnapshot { QString(), area->AreaText(0, -1, TextUnit::Chars), QDateTime::currentDateTime() };
    };
    Report("recovery_main_ms",
        MedianOf(
            Runs,
            [&] {
                keeper.Flush();
                keeper.Changed();
            },
            [&] { keeper.Pass(snapshot); }));
    Report("recovery_write_ms",
        MedianOf(
            Runs,
            [&] {
                keeper.Flush();
                keeper.Changed();
            },
            [&] {
                keeper.Pass(snapshot);
                keeper.Flush();
            }));
    Report("ours_end_peak_mib", PeakMiB());
    return 0;
}

#ifdef TLE_BENCH_QSCINTILLA
int QScintillaScenario(int argc, char** argv)
{
    QApplication application(argc, argv);
    QsciScintilla editor;
    auto* lexer = new QsciLexerLua(&editor);
    QFont font("Liberation Mono", 10);
    lexer->setDefaultFont(font);
    lexer->setFont(font);
    editor.setLexer(lexer);
    editor.setUtf8(true);
    editor.resize(640, 460);
    editor.show();
    editor.setFocus();
    QApplication::processEvents();
    Report("qsci_base_peak_mib", PeakMiB());

    const QString script = GenerateLuaScript(ScriptLines, ScriptChars);
    Report("qsci_first_load_ms", TimeOnce([&] { editor.setText(script); }));
    Report("qsci_first_style_ms", TimeOnce([&] { editor.recolor(0, -1); }));
    QApplication::processEvents();
    Report("qsci_loaded_peak_mib", PeakMiB());

    Report("qsci_load_ms", MedianOf(Runs, nullptr, [&] { editor.setText(script); }));
    Report("qsci_style_ms",
        MedianOf(
            Runs, [&] { editor.SendScintilla(QsciScintillaBase::SCI_CLEARDOCUMENTSTYLE); },
            [&] { editor.recolor(0, -1); }));
    const int middle = editor.lines() / 2;
    editor.setCursorPosition(middle, 3);
    editor.ensureLineVisible(middle);
    QApplication::processEvents();
    QWidget* viewport = editor.viewport();
    PaintCounter counter;
    viewport->installEventFilter(&counter);
    Report("qsci_keystroke_ms", MedianOf(KeystrokeRuns, nullptr, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(&editor, &press);
        viewport->repaint();
    }));
    Report("qsci_paints_per_keystroke", counter.paints / static_cast<double>(KeystrokeRuns));
    Report("qsci_end_peak_mib", PeakMiB());
    return 0;
}
#endif

// Runs one scenario in a child process and collects its key=value lines.
QMap<QString, double> RunScenario(const QString& program, const QString& name)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, { QStringLiteral("--scenario"), name });
    child.waitForFinished(-1);
    QMap<QString, double> values;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            values.insert(QString::fromLatin1(line.left(equals)), line.mid(equals + 1).toDouble());
    }
    return values;
}

void PrintRow(const char* label, double ms, double floor)
{
    std::printf("  %-52s %9.2f ms  %6.2fx floor\n", label, ms, floor > 0 ? ms / floor : 0.0);
}

void PrintMs(const char* label, double ms)
{
    std::printf("  %-52s %9.3f ms\n", label, ms);
}

void PrintOffAndOn(const char* label, const QMap<QString, double>& v, const QString& key)
{
    const double off = v.value(key + QStringLiteral("_off_ms"));
    const double on = v.value(key + QStringLiteral("_on_ms"));
    std::printf("  %-52s %6.3f ms %6.3f ms %6.2fx\n", label, off, on, off > 0 ? on / off : 0.0);
    std::printf("  %-52s %9.1f %9.1f\n", "  widgets painted", v.value(key + QStringLiteral("_off_paints")),
        v.value(key + QStringLiteral("_on_paints")));
}

int Parent(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QString program = QCoreApplication::applicationFilePath();
    QMap<QString, double> v = RunScenario(program, QStringLiteral("floor"));
    v.insert(RunScenario(program, QStringLiteral("textarea")));
    v.insert(RunScenario(program, QStringLiteral("colouring")));
    v.insert(RunScenario(program, QStringLiteral("hudpreview")));
    v.insert(RunScenario(program, QStringLiteral("find")));
    v.insert(RunScenario(program, QStringLiteral("habits")));
#ifdef TLE_BENCH_QSCINTILLA
    v.insert(RunScenario(program, QStringLiteral("qscintilla")));
#endif
    const double floor = v.value("floor_ms");
    std::printf(
        "Generated script: %.0f lines, %.0f characters, %.0f tokens; medians of %d runs (%d for keystrokes)\n\n",
        v.value("lines"), v.value("chars"), v.value("tokens"), Runs, KeystrokeRuns);
    std::printf("Whole script\n");
    PrintRow("compute floor: split into a flat token array", floor, floor);
    PrintRow("text area: ReplaceText(0, -1, script) (load)", v.value("ours_load_ms"), floor);
    PrintRow("text area: split + one SetStyle per token", v.value("ours_style_ms"), floor);
    PrintRow("text area: per line AreaText + split + SetStyle", v.value("ours_style_lines_ms"), floor);
#ifdef TLE_BENCH_QSCINTILLA
    PrintRow("QScintilla: setText (load)", v.value("qsci_load_ms"), floor);
    PrintRow("QScintilla: Lua lexer recolours the whole text", v.value("qsci_style_ms"), floor);
#endif
    std::printf("\nFirst load and styling of a fresh process\n");
    PrintRow("text area: load", v.value("ours_first_load_ms"), floor);
    PrintRow("text area: style", v.value("ours_first_style_ms"), floor);
#ifdef TLE_BENCH_QSCINTILLA
    PrintRow("QScintilla: load", v.value("qsci_first_load_ms"), floor);
    PrintRow("QScintilla: style", v.value("qsci_first_style_ms"), floor);
#endif
    std::printf("\nOne keystroke in the middle of the script\n");
    std::printf("  %-52s %9.3f ms\n", "text area: re-style the line + repaint", v.value("ours_restyle_repaint_ms"));
    std::printf("  %-52s %9.3f ms\n", "text area: key 'x' + re-style the line + repaint", v.value("ours_keystroke_ms"));
    std::printf(
        "  %-52s %9.3f ms\n", "text area: the same, first edit after the load", v.value("ours_first_keystroke_ms"));
    std::printf(
        "  %-52s %9.3f ms\n", "text area: Backspace narrowing the widest line", v.value("ours_narrowing_keystroke_ms"));
    std::printf("  %-52s %9.2f\n", "text area: paint events per repaint", v.value("ours_paints_per_keystroke"));
#ifdef TLE_BENCH_QSCINTILLA
    std::printf("  %-52s %9.3f ms\n", "QScintilla: key 'x' + its lexer + repaint", v.value("qsci_keystroke_ms"));
    std::printf("  %-52s %9.2f\n", "QScintilla: paint events per repaint", v.value("qsci_paints_per_keystroke"));
#endif
    std::printf("\nRecovery copy of the whole script\n");
    std::printf("  %-52s %9.3f ms\n", "main thread: take the text, hand it to the writer", v.value("recovery_main_ms"));
    std::printf(
        "  %-52s %9.3f ms\n", "whole copy: the above + encode, write, fsync, rename", v.value("recovery_write_ms"));
    std::printf("\nSyntax colouring with the real lexer and keyword list\n");
    const double lexFloor = v.value("lex_floor_ms");
    PrintRow("compute floor: lex every line into a flat part array", lexFloor, lexFloor);
    PrintRow("GlobalUpdateTextarea: lex and colour the whole text", v.value("colour_all_ms"), lexFloor);
    std::printf(
        "  %-52s %9.3f ms\n", "UpdateTextareaLine of a middle line + repaint", v.value("colour_line_repaint_ms"));
    std::printf("  %-52s %9.3f ms\n", "key 'x' + UpdateTextareaLine + repaint", v.value("colour_keystroke_ms"));
    std::printf("  %-52s %9.1f MiB\n", "peak memory, script loaded and coloured", v.value("colour_loaded_peak_mib"));

    std::printf("\nLine numbers, current line and bracket frames, off and on (in turn), coloured script\n");
    std::printf("  %-52s %9s %9s %7s\n", "", "off", "on", "on/off");
    PrintOffAndOn("key 'x' + UpdateTextareaLine + brackets + paint", v, "habits_keystroke");
    PrintOffAndOn("a page down or up + paint", v, "habits_scroll_page");
    std::printf("  bracket matching alone (after every change), caret\n");
    PrintMs("  before a \")\" whose \"(\" is 13 lines up", v.value("habits_match_near_ms"));
    PrintMs("  beside no bracket or block keyword", v.value("habits_match_none_ms"));
    PrintMs("  after a \"(\" with no partner (gives up)", v.value("habits_match_unpaired_ms"));
    PrintMs("  on \"function\", its \"end\" ~20 lines down", v.value("habits_match_function_ms"));
    PrintMs("whole page repaint, no indicators", v.value("habits_repaint_plain_ms"));
    PrintMs("whole page repaint, 100,000 indicators set", v.value("habits_repaint_indicators_ms"));
    PrintMs("SetIndicators of the 100,000 + paint", v.value("habits_set_indicators_ms"));
    PrintMs("key 'x' with the 100,000 (brackets off)", v.value("habits_keystroke_indicators_ms"));
    PrintMs("whole page repaint, no swatches", v.value("habits_repaint_no_swatches_ms"));
    PrintMs("SetIndicators of 10,000 colour swatches + paint", v.value("habits_set_swatches_ms"));
    PrintMs("whole page repaint, 10,000 swatches around it", v.value("habits_repaint_swatches_ms"));
    PrintMs("swatches found anew in the whole script (typing rested)", v.value("habits_refresh_swatches_ms"));
    PrintMs("completion: the script's names read (once, at load)", v.value("assist_read_names_ms"));
    PrintMs("completion: Ctrl+Space on \"ho\", all names taken, painted", v.value("assist_open_ms"));
    std::printf("  %-52s %9.0f\n", "  names offered", v.value("assist_offered"));
    PrintMs("completion: a key typed into the open list", v.value("assist_filter_key_ms"));

    std::printf("\nHUD text preview, one frame\n");
    const double hudFloor = v.value("hud_floor_ms");
    PrintRow("floor: copy the 640 x 480 background once", hudFloor, hudFloor);
    PrintRow(qPrintable(QStringLiteral("frame with a %1-character coloured text").arg(v.value("hud_frame_chars"))),
        v.value("hud_frame_ms"), hudFloor);
    PrintRow("frame with a 32,767-character text", v.value("hud_long_frame_ms"), hudFloor);

    std::printf("\nFind and replace in the whole editor\n");
    const double findFloor = v.value("find_floor_ms");
    std::printf("  %-52s %9.2f ms\n", "QStringView::indexOf of a word at the very end", findFloor);
    std::printf("  %-52s %9.2f ms  %6.2fx indexOf\n", "Find Next from the start to it, Match case",
        v.value("find_next_ms"), findFloor > 0 ? v.value("find_next_ms") / findFloor : 0.0);
    std::printf("  %-52s %9.2f ms  %6.2fx indexOf\n", "Find Next from the start to it, any case",
        v.value("find_next_any_case_ms"), findFloor > 0 ? v.value("find_next_any_case_ms") / findFloor : 0.0);
    const double replaceFloor = v.value("replace_floor_ms") + v.value("replace_colour_ms");
    std::printf("  %-52s %9.0f\n", "matches replaced", v.value("replace_matches"));
    std::printf("  %-52s %9.2f ms\n", "QString::replace of them", v.value("replace_floor_ms"));
    std::printf("  %-52s %9.2f ms\n", "GlobalUpdateTextarea of the result", v.value("replace_colour_ms"));
    std::printf("  %-52s %9.2f ms  %6.2fx the two above\n", "Replace All with its re-colouring (one undo step)",
        v.value("replace_all_ms"), replaceFloor > 0 ? v.value("replace_all_ms") / replaceFloor : 0.0);

    std::printf("\nPeak memory (VmHWM)\n");
    std::printf("  %-52s %9.1f MiB\n", "compute floor process (script + tokens)", v.value("floor_peak_mib"));
    std::printf("  %-52s %9.1f MiB\n", "text area: window, empty", v.value("ours_base_peak_mib"));
    std::printf("  %-52s %9.1f MiB\n", "text area: script loaded and styled", v.value("ours_loaded_peak_mib"));
    std::printf("  %-52s %9.1f MiB\n", "text area: after all runs", v.value("ours_end_peak_mib"));
#ifdef TLE_BENCH_QSCINTILLA
    std::printf("  %-52s %9.1f MiB\n", "QScintilla: editor, empty", v.value("qsci_base_peak_mib"));
    std::printf("  %-52s %9.1f MiB\n", "QScintilla: script loaded and styled", v.value("qsci_loaded_peak_mib"));
#endif
    RunDrawBench();
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    // Headless by default, so that the figures do not depend on a display server.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 3 && QByteArray(argv[1]) == "--scenario") {
        const QByteArray scenario = argv[2];
        if (scenario == "floor")
            return FloorScenario();
        if (scenario == "textarea")
            return TextAreaScenario(argc, argv);
        if (scenario == "colouring")
            return ColouringScenario(argc, argv);
        if (scenario == "hudpreview")
            return HudPreviewScenario(argc, argv);
        if (scenario == "draw") {
            QCoreApplication application(argc, argv);
            RunDrawBench();
            return 0;
        }
        if (scenario == "find")
            return FindScenario(argc, argv);
        if (scenario == "habits")
            return HabitsScenario(argc, argv);
#ifdef TLE_BENCH_QSCINTILLA
        if (scenario == "qscintilla")
            return QScintillaScenario(argc, argv);
#endif
        return 2;
    }
    return Parent(argc, argv);
}
