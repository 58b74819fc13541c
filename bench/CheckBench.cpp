// The script check on the worker's side: a 1,000-line script and the 4,000,000-character benchmark
// script, with the Lua linter and without it. The first check of a checker also loads the linter and
// lints the whole script, so it is shown apart; the rows are medians of the checks after it, of the same
// text and after one-character edits.
#include "LuaScriptGenerator.h"

#include "lua/ScriptCheck.h"
#include "resources/EmbeddedFiles.h"
#include "resources/Stream.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double CheckMilliseconds(TScriptChecker& checker, const TCheckInput& input, std::size_t* problems)
{
    const auto start = Clock::now();
    const TCheckResult result = checker.Check(input);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    *problems = result.problems.size();
    if (!result.linterNote.isEmpty())
        std::printf("  (%s)\n", qPrintable(result.linterNote));
    return ms;
}

// The script with a blank put before the line that starts with `prefix`, the `run`-th one after the middle.
QString EditedAt(const QString& script, const QString& prefix, int run)
{
    qsizetype at = script.size() / 2;
    for (int i = 0; i <= run && at >= 0; ++i)
        at = script.indexOf(u'\n' + prefix, at + 1);
    return at < 0 ? script : QString(script).insert(at + 1, u' ');
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Row(const char* label, const QString& script, bool linter, const QStringList& apiNames, int runs)
{
    TCheckInput input;
    input.text = script;
    input.apiNames = apiNames;
    input.linter = linter;
    TScriptChecker checker;
    std::size_t problems = 0;
    const double first = CheckMilliseconds(checker, input, &problems);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(CheckMilliseconds(checker, input, &problems));
    std::printf("  %-44s %-10s %10.2f ms  (first %.2f ms, %zu problems)\n", label, linter ? "linter on" : "linter off",
        Median(times), first, problems);
    if (!linter)
        return;
    // The linter lints again only the parts whose text changed: a handler, or the rest of the script.
    for (const auto& [where, prefix] : { std::pair { "  after an edit in a handler", QStringLiteral("\t") },
             std::pair { "  after an edit outside the handlers", QStringLiteral("addhook(") } }) {
        times.clear();
        for (int i = 0; i < runs; ++i) {
            input.text = EditedAt(script, prefix, i);
            times.push_back(CheckMilliseconds(checker, input, &problems));
        }
        std::printf("  %-55s %10.2f ms  (%zu problems)\n", where, Median(times), problems);
    }
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    RegisterEmbeddedFiles();
    QStringList apiNames;
    if (auto stream = OpenReadStream(QStringLiteral("incbin::incbins/keywords.txt"))) {
        while (!StreamEof(*stream))
            apiNames << stream->ReadLine();
    }
    const QString small = GenerateLuaScript(1000, 0);
    const QString large = GenerateLuaScript(100000, 4000000);
    std::printf(
        "\nScript check on the worker thread; medians (goals: 1,000 lines < 50 ms, 4,000,000 characters < 3 s)\n");
    for (const bool linter : { false, true }) {
        Row(qPrintable(QStringLiteral("%1 lines, %2 characters").arg(small.count(u'\n') + 1).arg(small.size())), small,
            linter, apiNames, 9);
    }
    for (const bool linter : { false, true }) {
        Row(qPrintable(QStringLiteral("%1 lines, %2 characters").arg(large.count(u'\n') + 1).arg(large.size())), large,
            linter, apiNames, 3);
    }
    return 0;
}
