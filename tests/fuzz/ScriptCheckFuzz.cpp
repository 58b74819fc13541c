// Feeds arbitrary scripts (UTF-8, broken bytes included) to the script check, the linter too for small
// ones, as the live check would: every problem's range lies inside the text, is one unit long at least,
// and has the line and column of its start; the problems come in text order. The same text read as a
// file of added hooks gives only hooks with Lua names. The parts the linter checks one by one cover the
// text once, each segment whole lines with its line number.
#include "FuzzCheck.h"

#include "lua/LinterUnits.h"
#include "lua/LuaTokens.h"
#include "lua/ScriptCheck.h"

#include <QString>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One checker for the run, as the worker keeps one: what it keeps between checks is fuzzed too.
    static TScriptChecker checker;
    TCheckInput input;
    input.text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    input.apiNames = { "addhook", "timer", "parse", "player", "msg", "end" };
    input.linter = size < 4096;
    const TCheckResult result = checker.Check(input);
    const QString& text = input.text;
    int previous = 0;
    for (const TProblem& problem : result.problems) {
        FUZZ_CHECK(problem.start >= 0 && problem.start < problem.end && problem.end <= text.size());
        FUZZ_CHECK(problem.start >= previous);
        previous = problem.start;
        const qsizetype lineStart = problem.start == 0 ? 0 : text.lastIndexOf(u'\n', problem.start - 1) + 1;
        FUZZ_CHECK(problem.line == text.left(problem.start).count(u'\n'));
        FUZZ_CHECK(problem.column == problem.start - lineStart);
        FUZZ_CHECK(!problem.message.isEmpty());
    }
    FUZZ_CHECK(!result.cancelled);
    FUZZ_CHECK(result.syntaxError == std::any_of(result.problems.begin(), result.problems.end(), [](const TProblem& p) {
        return p.severity == ProblemSeverity::Error;
    }));

    std::vector<TLinterSegment> segments;
    for (const TLinterUnit& unit : SplitForLinter(text, ReadLuaTokens(text)))
        segments.insert(segments.end(), unit.segments.begin(), unit.segments.end());
    std::sort(segments.begin(), segments.end(),
        [](const TLinterSegment& a, const TLinterSegment& b) { return a.start < b.start; });
    int covered = 0;
    for (const TLinterSegment& segment : segments) {
        FUZZ_CHECK(segment.start == covered && segment.end >= segment.start && segment.end <= text.size());
        FUZZ_CHECK(segment.start == 0 || text[segment.start - 1] == u'\n');
        FUZZ_CHECK(segment.end == text.size() || text[segment.end - 1] == u'\n');
        FUZZ_CHECK(segment.line == text.left(segment.start).count(u'\n'));
        covered = segment.end;
    }
    FUZZ_CHECK(covered == text.size());

    for (const TGameHook& hook : ParseExtraHooks(text)) {
        FUZZ_CHECK(IsLuaName(hook.name) || IsLuaKeyword(hook.name));
        for (const QString& parameter : hook.parameters)
            FUZZ_CHECK(IsLuaName(parameter) || IsLuaKeyword(parameter));
    }
    return 0;
}
