// What the line numbers, the current line's band, the bracket frames and the indicators cost, on the
// coloured 4,000,000-character script: every figure is taken with them off and on, turn about, so that
// a machine busy with other work slows both alike.
//
// Painting is measured as the editor paints: the changes ask for updates, and the window's pending
// update request paints every dirty widget (the text and the gutter) at once.
#include "HabitsBench.h"

#include "BenchSupport.h"
#include "ColouringBench.h"
#include "LuaScriptGenerator.h"

#include "app/BracketMarks.h"
#include "app/CodeAssist.h"
#include "app/ColourSwatches.h"
#include "app/TextareaClient.h"
#include "event/EventQueue.h"
#include "gui/GuiDriver.h"
#include "gui/TextArea.h"
#include "highlight/SyntaxColouring.h"
#include "resources/EmbeddedFiles.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {
constexpr int Runs = 41;
// The "(" of the call the caret's ")" closes is this many lines above it, on the same page.
constexpr int PartnerLines = 12;
constexpr int ManyIndicators = 100000;
constexpr std::size_t Swatches = 10000;
using namespace bench;

// Paints whatever is waiting to be painted, as the event loop would next.
void PaintPending()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

// Counts the paint events of every widget while counting.
class PaintCounter : public QObject {
public:
    bool counting = false;
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (counting && event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

class THabitsBench {
public:
    THabitsBench()
        : area(MakeBenchTextArea())
        , colouring(LoadKeywordList().value_or(QStringList()))
        , client(*area)
        , scheme(DefaultColourScheme())
    {
        qApp->installEventFilter(&counter);
    }

    void Load()
    {
        area->ReplaceText(0, -1, GenerateLuaScript(100000, 4000000), TextUnit::Chars);
        colouring.ColourAll(client, scheme);
        // A call whose arguments run over the lines before the middle one, closed on a line of its own.
        const int middle = area->AreaLen(TextUnit::Lines) / 2;
        area->ReplaceText(area->CharAt(middle), 0, QStringLiteral("\t)\n"), TextUnit::Chars);
        area->ReplaceText(area->CharAt(middle - PartnerLines), 0, QStringLiteral("\tcall(\n"), TextUnit::Chars);
        closingLine = middle + 1;
        colouring.ColourLines(client, middle - PartnerLines, closingLine, scheme);
    }

    // The ")" whose "(" is on the same page, at the end of its line; keystrokes before it move it on.
    int Closing() const { return area->CharAt(closingLine + 1) - 2; }
    void CaretBeforeClosing() { Place(Closing()); }

    void Place(int pos)
    {
        area->SetSelection(pos, 0, TextUnit::Chars);
        ShowBrackets();
        PaintPending();
    }

    // The line numbers, the band and the bracket frames, all on or all off.
    void SetHabits(bool on)
    {
        if (on == habits)
            return;
        habits = on;
        area->SetViewOptions({ .lineNumbers = on, .currentLine = on, .tabColumns = 0 });
        ShowBrackets();
        PaintPending();
    }

    // As the editor does after every change.
    void ShowBrackets()
    {
        std::vector<TIndicator> marks = habits ? MatchingBracketMarks(*area) : std::vector<TIndicator>();
        if (marks != area->Indicators(DecorationLayer::Brackets))
            area->SetIndicators(DecorationLayer::Brackets, std::move(marks));
    }

    // The key "x", the colouring of its line, the bracket frames, and the paint.
    void Keystroke()
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(area->View(), &press);
        colouring.ColourLine(client, -1, scheme);
        ShowBrackets();
        PaintPending();
    }

    // Takes the "x" out again, so that the line never grows past the page's edge and scrolls it.
    void TakeBackKeystroke()
    {
        const int caret = area->GetCursorPos(TextUnit::Chars);
        area->ReplaceText(caret - 1, 1, QString(), TextUnit::Chars);
        Place(caret - 1);
    }

    // Reports the median time of `work` and the widgets it painted, with the habits off and on, run
    // turn about.
    void ReportOffAndOn(
        const char* key, const std::function<void()>& work, const std::function<void()>& after = nullptr)
    {
        std::vector<double> times[2];
        int paints[2] = {};
        for (int run = 0; run < Runs; ++run) {
            for (const bool on : { false, true }) {
                SetHabits(on);
                EventQueue.Clear();
                counter.paints = 0;
                counter.counting = true;
                times[on].push_back(TimeOnce(work));
                counter.counting = false;
                paints[on] += counter.paints;
                if (after)
                    after();
            }
        }
        for (const bool on : { false, true }) {
            const char* mode = on ? "on" : "off";
            std::printf("%s_%s_ms=%.4f\n", key, mode, Median(times[on]));
            std::printf("%s_%s_paints=%.4f\n", key, mode, paints[on] / double(Runs));
        }
    }

    TTextArea* area;
    TSyntaxColouring colouring;
    TTextareaClient client;
    TColourScheme scheme;
    PaintCounter counter;
    int closingLine = 0;
    bool habits = false;
};
} // namespace

int HabitsScenario(int argc, char** argv)
{
    StartGui(argc, argv);
    RegisterEmbeddedFiles();
    THabitsBench bench;
    bench.Load();
    TTextArea* area = bench.area;

    // A keystroke in the middle, before the ")" of a call opened 12 lines above.
    bench.SetHabits(true);
    bench.CaretBeforeClosing();
    if (bench.area->Indicators(DecorationLayer::Brackets).size() != 2)
        std::fprintf(stderr, "habits: the caret's bracket and its partner are not framed\n");
    bench.ReportOffAndOn(
        "habits_keystroke", [&] { bench.Keystroke(); }, [&] { bench.TakeBackKeystroke(); });

    // The bracket matching alone, as the editor runs it after every change, in the places a caret can be.
    const auto matchAt = [&](int pos) {
        bench.Place(pos);
        return MedianOf(Runs, nullptr, [&] { (void)MatchingBracketMarks(*area); });
    };
    bench.SetHabits(true);
    const int opening = area->CharAt(bench.closingLine - PartnerLines - 1);
    Report("habits_match_near_ms", matchAt(bench.Closing()));
    area->ReplaceText(opening, 0, QStringLiteral("\tplain\n"), TextUnit::Chars);
    Report("habits_match_none_ms", matchAt(opening + 3));
    area->ReplaceText(opening, 7, QString(), TextUnit::Chars);
    // A "(" just typed, before its ")" is: the search runs on as far as it may and gives up.
    area->ReplaceText(opening, 0, QStringLiteral("\tlone(\n"), TextUnit::Chars);
    Report("habits_match_unpaired_ms", matchAt(opening + 6));
    area->ReplaceText(opening, 7, QString(), TextUnit::Chars);
    // A function's head and its end, some twenty lines apart.
    const QString head = QStringLiteral("function hook_");
    int function = area->CharAt(bench.closingLine);
    while (area->AreaText(function, head.size(), TextUnit::Chars) != head)
        function = area->CharAt(area->LineAt(function) + 1);
    Report("habits_match_function_ms", matchAt(function + 2));

    // A page down from the middle of the script, and back up the next time.
    QScrollBar* bar = area->View()->verticalScrollBar();
    bench.CaretBeforeClosing();
    int scrolls = 0;
    bench.ReportOffAndOn("habits_scroll_page", [&] {
        // Off and on each scroll down, then both scroll back up.
        const int direction = (scrolls++ / 2) % 2 == 0 ? 1 : -1;
        bar->setValue(bar->value() + direction * bar->pageStep());
        PaintPending();
    });

    // The whole page repainted, with no indicators and with 100,000 spread over the script: wavy lines,
    // frames and tints in turn, five characters each.
    bench.SetHabits(false);
    bench.CaretBeforeClosing();
    QWidget* viewport = area->View()->viewport();
    const auto repaintPage = [&] { return MedianOf(Runs, nullptr, [&] { viewport->repaint(); }); };
    Report("habits_repaint_plain_ms", repaintPage());
    const int step = area->AreaLen(TextUnit::Chars) / ManyIndicators;
    std::vector<TIndicator> many;
    for (int k = 0; k < ManyIndicators; ++k) {
        const auto kind = static_cast<TIndicatorKind>(k % 3);
        many.push_back({ k * step, k * step + 5, kind, 0xFFD03030, {} });
    }
    Report("habits_set_indicators_ms", TimeOnce([&] {
        area->SetIndicators(DecorationLayer::Diagnostics, many);
        PaintPending();
    }));
    Report("habits_repaint_indicators_ms", repaintPage());
    bench.Place(area->CharAt(bench.closingLine + 2) + 1);
    bool typed = false;
    const auto takeBack = [&] {
        if (typed)
            bench.TakeBackKeystroke();
        typed = true;
        EventQueue.Clear();
    };
    Report("habits_keystroke_indicators_ms", MedianOf(Runs, takeBack, [&] { bench.Keystroke(); }));
    bench.TakeBackKeystroke();

    // 10,000 colour swatches, ten on each of the thousand lines around the page (the densest a script
    // with that many codes shows), against the page without them.
    area->SetIndicators(DecorationLayer::Diagnostics, {});
    PaintPending();
    Report("habits_repaint_no_swatches_ms", repaintPage());
    std::vector<TIndicator> swatches;
    const int pageLine = area->GetCursorPos(TextUnit::Lines);
    for (int line = std::max(0, pageLine - 500); swatches.size() < Swatches; ++line) {
        const int start = area->CharAt(line);
        const int length = area->CharAt(line + 1) - 1 - start;
        for (int k = 0; k < 10 && 3 * k + 2 < length; ++k)
            swatches.push_back({ start + 3 * k, start + 3 * k + 2, TIndicatorKind::Swatch, 0xFF30A030, {} });
    }
    Report("habits_set_swatches_ms", TimeOnce([&] {
        area->SetIndicators(DecorationLayer::Swatches, swatches);
        PaintPending();
    }));
    Report("habits_repaint_swatches_ms", repaintPage());
    // What the swatches cost once typing rests: the whole script read and its codes found and set.
    TColourSwatches keeper(*area, [](int, int, const QString&) { return false; });
    Report("habits_refresh_swatches_ms", MedianOf(Runs, nullptr, [&] { keeper.Refresh(); }));

    // Completion: the script's names read once, the list opened by Ctrl+Space on "ho" (thousands of
    // hook_ handlers match), and a key typed into the open list.
    area->SetIndicators(DecorationLayer::Swatches, {});
    TTextareaClient assistClient(*area);
    std::optional<TCodeAssist> assist;
    Report("assist_read_names_ms",
        TimeOnce([&] { assist.emplace(*area, assistClient, [](int, int, const QString&) { return false; }); }));
    const QStringList keywords = LoadKeywordList().value_or(QStringList());
    assist->SetKeywords(keywords);
    const int fresh = area->CharAt(area->AreaLen(TextUnit::Lines) / 2);
    area->ReplaceText(fresh, 0, QStringLiteral("\tho\n"), TextUnit::Chars);
    bench.Place(fresh + 3);
    // Each run takes every candidate anew, as the first Ctrl+Space after an edit of a definition does.
    Report("assist_open_ms",
        MedianOf(
            Runs,
            [&] {
                area->HideCompletions();
                assist->SetKeywords(keywords);
            },
            [&] {
                assist->Complete();
                PaintPending();
            }));
    Report("assist_offered", static_cast<double>(assist->Offered().size()));
    bool keyed = false;
    const auto untype = [&] {
        if (keyed)
            area->ReplaceText(fresh + 3, 1, QString(), TextUnit::Chars);
        keyed = true;
        bench.Place(fresh + 3);
        assist->Complete();
        PaintPending();
    };
    Report("assist_filter_key_ms", MedianOf(Runs, untype, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, QStringLiteral("o"));
        QApplication::sendEvent(area->View(), &press);
        PaintPending();
    }));
    if (!area->CompletionsShown())
        std::fprintf(stderr, "assist: the list closed while typing into it\n");
    return 0;
}
