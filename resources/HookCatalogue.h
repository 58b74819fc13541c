// The game's script hooks: the 58 names addhook takes, their categories and their handlers' parameters.
//
// Plain data for every reader: the hook wizard builds its tree from it, and code that completes or
// checks hook names looks them up here. It sits on the lowest floor so that each of them can see it.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

struct TGameHook {
    QString name;
    QString category;
    // The handler's parameter names, in the order the game passes them.
    QStringList parameters;

    // The parameters as they stand between the handler's parentheses: "id, x, y".
    QString ParameterList() const { return parameters.join(QStringLiteral(", ")); }
};

// "Basic", "Time", "Player", "Object": the order of the wizard's tree.
const QStringList& HookCategories();
// Every hook, category by category in that order, each category's hooks in the game's order.
const std::vector<TGameHook>& HookCatalogue();
// The hook of that exact name (hook names are case-sensitive in the game), or null.
const TGameHook* FindHook(QStringView name);
