// The live check of a script: Lua 5.1's compiler, the game's own rules (hook names, handlers, timers,
// colour codes) and the Lua linter, run together on a copy of the text. Plain QtCore: the worker thread
// and the command line both use it.
#pragma once

#include "resources/HookCatalogue.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

enum class ProblemSeverity { Error, Warning, Hint };

// One problem, as a range of the checked text in UTF-16 code units (as the text area counts).
struct TProblem {
    int start = 0; // first unit of the range
    int end = 0; // one past the last; at least start + 1 unless the text is empty
    int line = 0; // 0 for the first line, the line of `start`
    int column = 0; // 0 for the line's first unit, the column of `start`
    ProblemSeverity severity = ProblemSeverity::Warning;
    QString message; // one sentence for the user, no file name or line in front
    bool operator==(const TProblem&) const = default;
};

struct TCheckInput {
    QString text; // the script as the text area holds it: "\n" breaks
    QString scriptPath; // its file, empty for a new script: its folder's other .lua files are read
    QString gameFolder; // where the game lives, for dofile paths relative to it; may be empty
    QStringList apiNames; // the keyword list: Lua's words and the game's API names (read-only globals)
    std::vector<TGameHook> extraHooks; // hook names the user added beside the catalogue
    bool linter = true; // false leaves the Lua linter out
    QString linterModules; // the folder of luacheck's modules; empty for where Debian's lua-check puts them
};

struct TCheckResult {
    std::vector<TProblem> problems; // in text order
    bool syntaxError = false; // Lua stopped at the first error, so later ones are not known
    QString linterNote; // set when the linter could not run (e.g. not installed), for the user once
    bool cancelled = false; // the check was given up on request; `problems` is incomplete
};

// How many of the other files a check reads at most (the folder's scripts and those loaded by dofile),
// and how large each may be; the rest are passed over.
inline constexpr int CheckedFileLimit = 256;
inline constexpr qint64 CheckedFileBytes = qint64(16) << 20;

// Checks scripts on one thread at a time; keeps what it can between checks (the linter's Lua state, the
// other files it read, by modification time).
class TScriptChecker {
public:
    TScriptChecker();
    ~TScriptChecker();
    TScriptChecker(const TScriptChecker&) = delete;
    TScriptChecker& operator=(const TScriptChecker&) = delete;

    // What the compiler and the game's rules found, handed over before the linter runs.
    using TEarlyResult = std::function<void(TCheckResult)>;

    // `cancel`, when set to true by another thread, ends the check early with `cancelled` set. When the
    // linter has at least `earlyLintLength` units of the script to lint anew (as on the first check of a
    // long script: later ones lint again only what changed), `early` is given the rest first.
    TCheckResult Check(
        const TCheckInput& input, const std::atomic<bool>* cancel = nullptr, const TEarlyResult& early = {});
    qsizetype earlyLintLength = 200000;

private:
    struct TState;
    std::unique_ptr<TState> state;
};
