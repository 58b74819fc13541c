// Colouring a whole 4,000,000-character script and one line of it, as the editor does after a load and
// after a keystroke, beside a compute floor: the same lexing into one flat array of parts.
#include "ColouringBench.h"

#include "BenchSupport.h"

#include "LuaScriptGenerator.h"

#include "app/TextareaClient.h"
#include "gui/GadgetFactory.h"
#include "gui/GuiDriver.h"
#include "gui/GuiFont.h"
#include "gui/TextArea.h"
#include "highlight/Lexer.h"
#include "highlight/SyntaxColouring.h"
#include "resources/EmbeddedFiles.h"
#include "settings/ConfigRecord.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int Runs = 7;
constexpr int KeystrokeRuns = 41;
using namespace bench;

struct TFlatPart {
    int start;
    int length;
    int type;
};

// The floor: every line lexed into one flat array, nothing formatted.
void LexIntoArray(const QString& script, std::vector<TFlatPart>& parts)
{
    std::vector<TLexerSpan> spans;
    parts.clear();
    qsizetype lineStart = 0;
    while (lineStart <= script.size()) {
        qsizetype lineEnd = script.indexOf(QLatin1Char('\n'), lineStart);
        lineEnd = lineEnd < 0 ? script.size() : lineEnd + 1;
        TLexer::ScanLine(QStringView(script).mid(lineStart, lineEnd - lineStart), spans);
        for (const TLexerSpan& span : spans)
            parts.push_back({ int(lineStart + span.Start), int(span.Length), span.Type });
        if (lineEnd >= script.size())
            break;
        lineStart = lineEnd;
    }
}
} // namespace

TColourScheme DefaultColourScheme()
{
    const TConfigRecord defaults;
    TColourScheme scheme;
    for (int k = 0; k < TokenClassCount; ++k) {
        const TClassSetting& setting = defaults.classes[k];
        scheme.Classes[k] = { setting.r, setting.g, setting.b,
            (setting.bold ? TextStyleBit::Bold : 0) | (setting.italic ? TextStyleBit::Italic : 0) };
    }
    return scheme;
}

int ColouringScenario(int argc, char** argv)
{
    StartGui(argc, argv);
    RegisterEmbeddedFiles();
    TTextArea* area = MakeBenchTextArea();

    const QString script = GenerateLuaScript(100000, 4000000);
    std::vector<TFlatPart> parts;
    TSyntaxColouring colouring(LoadKeywordList().value_or(QStringList()));
    const TColourScheme scheme = DefaultColourScheme();
    area->ReplaceText(0, -1, script, TextUnit::Chars);
    TTextareaClient client(*area);
    const auto [floor, all] = MedianOfInTurn(
        2 * Runs + 1, [&] { LexIntoArray(script, parts); }, [&] { colouring.ColourAll(client, scheme); });
    std::printf("lex_floor_ms=%.4f\n", floor);
    std::printf("lex_parts=%zu\n", parts.size());
    std::printf("colour_all_ms=%.4f\n", all);
    QApplication::processEvents();
    std::printf("colour_loaded_peak_mib=%.4f\n", PeakMiB());

    const int middle = area->AreaLen(TextUnit::Lines) / 2;
    area->SetSelection(area->CharAt(middle) + 3, 0, TextUnit::Chars);
    QApplication::processEvents();
    QWidget* viewport = area->View()->viewport();
    std::printf("colour_line_repaint_ms=%.4f\n", MedianOf(KeystrokeRuns, nullptr, [&] {
        colouring.ColourLine(client, middle, scheme);
        viewport->repaint();
    }));
    std::printf("colour_keystroke_ms=%.4f\n", MedianOf(KeystrokeRuns, nullptr, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(area->View(), &press);
        colouring.ColourLine(client, -1, scheme);
        viewport->repaint();
    }));
    std::printf("colour_end_peak_mib=%.4f\n", PeakMiB());
    return 0;
}
