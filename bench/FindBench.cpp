// Find Next and Replace All of the find dialog in the whole editor, over the 4,000,000-character script,
// beside what the same work costs with Qt's own string calls. Find Next runs from the start to a needle
// that occurs only at the very end; Replace All rewrites a letter that occurs 100,000 times and
// re-colours what it changed, measured against QString::replace plus one GlobalUpdateTextarea.
#include "FindBench.h"

#include "BenchEditor.h"
#include "BenchSupport.h"
#include "LuaScriptGenerator.h"

#include "app/Application.h"
#include "highlight/History.h"
#include "tools/WFind.h"

#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {
constexpr int Runs = 7;
using namespace bench;

// The script with `count` of its letters "e", evenly spread from its start to its end, turned into
// "\u00e9", a letter it holds nowhere else: as many matches as wanted, all over the text.
QString WithMarkedLetters(QString script, int count)
{
    std::vector<qsizetype> letters;
    for (qsizetype at = script.indexOf(u'e'); at >= 0; at = script.indexOf(u'e', at + 1))
        letters.push_back(at);
    for (long long k = 0; k < count && !letters.empty(); ++k)
        script[letters[k * static_cast<long long>(letters.size()) / count]] = QChar(0xe9);
    return script;
}
} // namespace

int FindScenario(int argc, char** argv)
{
    // The editor's settings and recovery files go to a folder of their own.
    QTemporaryDir folder;
    StartEditor(argc, argv, folder);
    TGadget* area = App->Textarea;
    TWFind& find = *App->wFind;

    const QString needle = QStringLiteral("zzfindme");
    const QString script = GenerateLuaScript(100000, 4000000) + QStringLiteral("\nprint(") + needle + u')';
    const int expected = static_cast<int>(script.size() - needle.size() - 1);
    area->ReplaceText(0, -1, script, TextUnit::Chars);
    // One edit in the middle leaves the text area's gap there, as an editing session would.
    const int middle = area->CharAt(area->AreaLen(TextUnit::Lines) / 2);
    area->ReplaceText(middle, 0, QStringLiteral("x"), TextUnit::Chars);
    area->ReplaceText(middle, 1, QString(), TextUnit::Chars);

    qsizetype found = 0;
    std::printf("find_floor_ms=%.4f\n", MedianOf(Runs, nullptr, [&] { found = QStringView(script).indexOf(needle); }));
    find.tfFind->SetText(needle);
    // With Match case ticked the search is Qt's plain one; without it every character is case-folded.
    for (const bool matchCase : { true, false }) {
        find.cbMatchCase->SetSelected(matchCase ? 1 : 0);
        std::printf("%s=%.4f\n", matchCase ? "find_next_ms" : "find_next_any_case_ms",
            MedianOf(
                Runs, [&] { area->SetSelection(0, 0, TextUnit::Chars); }, [&] { find.FindNext(); }));
        if (found != expected || area->GetCursorPos(TextUnit::Chars) != expected)
            std::fprintf(stderr, "find: the needle was not found where it is\n");
    }

    const QString marked = WithMarkedLetters(script, 100000);
    const QString word = QStringLiteral("\u00e9");
    const QString replacement = QStringLiteral("ee");
    const qsizetype matches = marked.count(word);
    std::printf("replace_matches=%lld\n", static_cast<long long>(matches));
    QString copy;
    std::printf("replace_floor_ms=%.4f\n",
        MedianOf(
            Runs,
            [&] {
                copy = marked;
                copy.detach();
            },
            [&] { copy.replace(word, replacement); }));
    area->ReplaceText(0, -1, copy, TextUnit::Chars);
    std::printf("replace_colour_ms=%.4f\n", MedianOf(Runs, nullptr, [&] { App->GlobalUpdateTextarea(); }));

    find.tfFind->SetText(word);
    find.tfReplace->SetText(replacement);
    find.cbMatchCase->SetSelected(1);
    int replaced = 0;
    std::printf("replace_all_ms=%.4f\n",
        MedianOf(
            Runs,
            [&] {
                area->ReplaceText(0, -1, marked, TextUnit::Chars);
                App->GlobalUpdateTextarea();
                App->History->Clear();
            },
            [&] { replaced = find.ReplaceAll(); }));
    if (replaced != matches || area->AreaText(0, -1, TextUnit::Chars) != copy)
        std::fprintf(stderr, "find: Replace All did not give what QString::replace gives\n");
    return 0;
}
