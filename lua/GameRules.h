// The game's own rules, which no Lua compiler knows: hook names that addhook takes, the handlers and
// timer functions it names, and the colour codes of the texts it shows.
//
// The rules read a script's tokens, not its syntax tree, so that they work on a script that does not
// compile yet and take a fraction of the time a parse would: what a script defines is read from the
// forms scripts use ("function h(", "function zm.onhit(", "function zm:onhit(", "local function h",
// "h = function", "zm.onhit = function", "zm = { onhit = function"), and calls from their literal
// arguments. A name built at run time gives nothing, as it cannot be known.
#pragma once

#include "lua/LuaTokens.h"
#include "lua/ScriptCheck.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

struct TFunctionDefinition {
    int nameStart = 0; // the name in the defining text, in UTF-16 units
    int nameEnd = 0;
    int parameters = 0; // named ones, "self" of a method included; "..." is not counted
};

// What one script defines that others may use.
struct TScriptDefinitions {
    QHash<QString, TFunctionDefinition> functions; // "h", "zm.onhit": the first definition of each
    QSet<QString> tables; // every name assigned or declared local: "zm", "zm.sub"
    QSet<QString> globals; // the first names of the globals it assigns or defines functions in
    QStringList dofiles; // the literal paths it loads with dofile, as written
};

TScriptDefinitions ReadDefinitions(QStringView text, const std::vector<TLuaToken>& tokens);

struct TGameRuleInput {
    QStringView text;
    const std::vector<TLuaToken>* tokens = nullptr;
    const TScriptDefinitions* own = nullptr;
    std::vector<const TScriptDefinitions*> elsewhere; // the files the script shares its globals with
    const std::vector<TGameHook>* extraHooks = nullptr;
    const QSet<QString>* apiNames = nullptr; // the game's functions, which a timer may call by name
};

// The problems the rules find, in no particular order, with `line` and `column` left at 0.
std::vector<TProblem> CheckGameRules(const TGameRuleInput& input);

// The hook names nearest to `name` by edit distance (a swap of two letters counts as one edit, case is
// ignored), at most three, none when no name is near enough to be a likely slip.
QStringList NearestHookNames(const QString& name, const std::vector<TGameHook>& extraHooks);
