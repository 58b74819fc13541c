// The Lua linter (luacheck, Debian's lua-check) run in a Lua 5.1 state of its own, loaded once and kept
// for the checks that follow.
//
// Only luacheck's checking core is used (its modules check, filter and format need neither its command
// line nor the file system), so the linter runs in this process, on the checking thread. The state has
// a memory ceiling, and a check can be cancelled from another thread between Lua instructions.
#pragma once

#include "lua/LinterUnits.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <vector>

// Where Debian's lua-check installs luacheck's modules.
inline constexpr const char* DefaultLinterModules = "/usr/share/lua/5.1";

struct TLinterIssue {
    QString code; // luacheck's three digits, "211"
    int line = 0; // 1 for the first line, as Lua counts lines
    int column = 0; // 1 for the line's first byte
    int endColumn = 0; // the last byte, 1-based, inclusive
    QString message;
};

struct TLinterOutcome {
    std::vector<TLinterIssue> issues;
    QString note; // why the linter gave nothing: not installed, out of memory, failed
    bool cancelled = false;
};

class TLuaLinter {
public:
    // `moduleFolder` holds the folder "luacheck" with its modules.
    explicit TLuaLinter(QString moduleFolder = QString::fromLatin1(DefaultLinterModules),
        std::size_t memoryLimit = std::size_t(1) << 30);
    ~TLuaLinter();
    TLuaLinter(const TLuaLinter&) = delete;
    TLuaLinter& operator=(const TLuaLinter&) = delete;

    const QString& ModuleFolder() const { return moduleFolder; }

    // Lints a script's bytes (luacheck reads them as UTF-8 when they are, else as Latin-1; its columns count
    // characters), part by part as SplitForLinter cut it: what it said of a part whose text has not
    // changed since the last check is said again without linting it. `readGlobals` are the game's names a
    // script may read but should not assign; `globals` those the script and the files it shares its
    // globals with define.
    TLinterOutcome Check(const QByteArray& bytes, const std::vector<TLinterUnit>& units, const QStringList& readGlobals,
        const QStringList& globals, const std::atomic<bool>* cancel);

    // The units of `units` that a Check with the same read-only names would lint anew: those of the parts
    // whose text the last check was not given.
    qsizetype UnlintedLength(
        const QByteArray& bytes, const std::vector<TLinterUnit>& units, const QStringList& readGlobals) const;

private:
    struct TState;
    QString moduleFolder;
    std::size_t memoryLimit;
    std::unique_ptr<TState> state;
    // What the last check that ran was given, as the Lua side keeps it: its parts by the hash of their
    // text, and the read-only names.
    QSet<std::size_t> linted;
    QString lintedFor;
};
