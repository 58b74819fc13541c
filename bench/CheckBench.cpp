// The script check on the worker's side: a 1,000-line script and the 4,000,000-character benchmark
// script, with the Lua linter and without it. The first check of a checker also loads the linter, so it
// is shown apart; the rows are medians of the checks after it.
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
    std::sort(times.begin(), times.end());
    std::printf("  %-44s %-10s %10.2f ms  (first %.2f ms, %zu problems)\n", label, linter ? "linter on" : "linter off",
        times[times.size() / 2], first, problems);
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
