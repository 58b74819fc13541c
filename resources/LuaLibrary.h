// The functions a script can call without defining them: Lua 5.1's standard library and the game's
// calls whose parameters the editor knows, for completion and the calltips.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

struct TLibraryFunction {
    QString name; // as written in a call: "print", "string.find"
    QStringList parameters; // in order; an optional one in brackets: "[init]"
    QString summary; // one line on what it does

    // "string.find(s, pattern, [init], [plain])"
    QString Signature() const
    {
        return name + QLatin1Char('(') + parameters.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
};

// Lua 5.1's base functions and its library tables' members, then the game's addhook, timer and parse.
const std::vector<TLibraryFunction>& LuaLibrary();
// The function of that exact name, or null.
const TLibraryFunction* FindLibraryFunction(QStringView name);
// The library's tables: string, table, math, os, io, coroutine.
const QStringList& LibraryTables();
