#include "lua/ScriptCheck.h"

#include "lua/SyntaxCheck.h"

struct TScriptChecker::TState { };

TScriptChecker::TScriptChecker()
    : state(std::make_unique<TState>())
{
}

TScriptChecker::~TScriptChecker() = default;

namespace {
// The range of the whole line (0 for the first), its break left out; one unit at least while the text has any.
TProblem LineProblem(const QString& text, int line, ProblemSeverity severity, const QString& message)
{
    int start = 0;
    for (int seen = 0; seen < line; ++seen) {
        const qsizetype next = text.indexOf(u'\n', start);
        if (next < 0)
            break;
        start = static_cast<int>(next) + 1;
    }
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0)
        end = text.size();
    int stop = static_cast<int>(end);
    if (stop == start && !text.isEmpty()) {
        if (start > 0)
            --start; // an empty line: its break stands for it
        else
            stop = 1;
    }
    TProblem problem;
    problem.start = start;
    problem.end = stop;
    problem.line = line;
    problem.column = 0;
    problem.severity = severity;
    problem.message = message;
    return problem;
}
} // namespace

TCheckResult TScriptChecker::Check(const TCheckInput& input, const std::atomic<bool>* cancel)
{
    TCheckResult result;
    if (cancel && cancel->load()) {
        result.cancelled = true;
        return result;
    }
    const std::optional<TSyntaxError> error = CheckLuaSyntax(input.text.toUtf8(), QStringLiteral("script"));
    if (error) {
        result.syntaxError = true;
        const int line = std::max(0, error->line - 1);
        result.problems.push_back(LineProblem(input.text, line, ProblemSeverity::Error, error->message));
    }
    return result;
}
