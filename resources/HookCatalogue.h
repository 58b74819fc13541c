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

// Hooks the user adds beside the catalogue, for hooks the game gained after it was written: a plain text
// file in the settings folder with one hook a line as its handler's head reads, "key(id, key, state)"
// ("key" and "key()" for one without parameters). Blank lines and lines starting with "#" are passed
// over.
inline constexpr const char* ExtraHooksFileName = "tarvane-le-hooks.txt";
inline constexpr const char* ExtraHooksCategory = "Added";

// The file's path in the folder that holds the settings (the folder of config.dat).
QString ExtraHooksPath(const QString& settingsFolder);

// The hooks of the file's text, in its order, in the category ExtraHooksCategory. A line that is no hook
// head is left out, and `errors`, when given, gets a message naming its line ("line 3: ...").
std::vector<TGameHook> ParseExtraHooks(QStringView text, QStringList* errors = nullptr);

// The hook of that name among `extra` first, then in the catalogue; null when neither has it.
const TGameHook* FindHook(QStringView name, const std::vector<TGameHook>& extra);
