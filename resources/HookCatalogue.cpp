#include "resources/HookCatalogue.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace {
struct THookEntry {
    const char* name;
    const char* parameters; // separated by ", "
};

constexpr THookEntry BasicHooks[] = {
    { "break", "tx, ty, id" },
    { "endround", "mode" },
    { "log", "text" },
    { "mapchange", "newmap" },
    { "parse", "text" },
    { "projectile", "id, weapon, x, y" },
    { "rcon", "cmds, id, ip, port" },
    { "startround", "mode" },
    { "startround_prespawn", "mode" },
    { "trigger", "trigger, src" },
    { "triggerentity", "x, y" },
};

// Timed hooks get no arguments.
constexpr THookEntry TimeHooks[] = {
    { "always", "" },
    { "minute", "" },
    { "ms100", "" },
    { "second", "" },
};

// die and kill name the same two players in opposite orders; the game passes them so.
constexpr THookEntry PlayerHooks[] = {
    { "attack", "id" },
    { "attack2", "id, mode" },
    { "bombdefuse", "id" },
    { "bombexplode", "id, tx, ty" },
    { "bombplant", "id, tx, ty" },
    { "build", "id, type, tx, ty, mode, objid" },
    { "buildattempt", "id, type, tx, ty, mode" },
    { "buy", "id, weapon" },
    { "clientdata", "id, mode, data1, data2" },
    { "collect", "id, iid, type, ain, a, mode" },
    { "die", "victim, killer, wpn, x, y" },
    { "dominate", "id, team, tx, ty" },
    { "drop", "id, iid, type, ain, a, mode, tx, ty" },
    { "flagcapture", "id, team, tx, ty" },
    { "flagtake", "id, team, tx, ty" },
    { "flashlight", "id, state" },
    { "hit", "id, src, wpn, hpdmg, apdmg, rawdmg" },
    { "hostagerescue", "id, tx, ty" },
    { "join", "id" },
    { "kill", "killer, victim, wpn, x, y" },
    { "leave", "id, reason" },
    { "menu", "id, title, button" },
    { "move", "id, x, y, walk" },
    { "movetile", "id, tx, ty" },
    { "name", "id, oldname, newname, forced" },
    { "radio", "id, message" },
    { "reload", "id, mode" },
    { "say", "id, text" },
    { "sayteam", "id, text" },
    { "select", "id, type, mode" },
    { "serveraction", "id, action" },
    { "spawn", "id" },
    { "spray", "id" },
    { "team", "id, team, look" },
    { "use", "id, event, data, tx, ty" },
    { "usebutton", "id, tx, ty" },
    { "vipescape", "id, tx, ty" },
    { "vote", "id, mode, param" },
    { "walkover", "id, iid, type, ain, a, mode" },
};

constexpr THookEntry ObjectHooks[] = {
    { "hitzone", "img, id, objid, wpn, impx, impy" },
    { "objectdamage", "objid, dmg, id" },
    { "objectkill", "objid, id" },
    { "objectupgrade", "objid, id, progress, total" },
};

struct TCategoryEntry {
    const char* name;
    const THookEntry* first;
    const THookEntry* last;
};

const TCategoryEntry Categories[] = {
    { "Basic", std::begin(BasicHooks), std::end(BasicHooks) },
    { "Time", std::begin(TimeHooks), std::end(TimeHooks) },
    { "Player", std::begin(PlayerHooks), std::end(PlayerHooks) },
    { "Object", std::begin(ObjectHooks), std::end(ObjectHooks) },
};

std::vector<TGameHook> BuildCatalogue()
{
    std::vector<TGameHook> hooks;
    for (const TCategoryEntry& category : Categories) {
        for (const THookEntry* entry = category.first; entry != category.last; ++entry) {
            const QString parameters = QString::fromLatin1(entry->parameters);
            hooks.push_back({ QString::fromLatin1(entry->name), QString::fromLatin1(category.name),
                parameters.isEmpty() ? QStringList() : parameters.split(QStringLiteral(", ")) });
        }
    }
    return hooks;
}
} // namespace

const QStringList& HookCategories()
{
    static const QStringList names = [] {
        QStringList list;
        for (const TCategoryEntry& category : Categories)
            list.append(QString::fromLatin1(category.name));
        return list;
    }();
    return names;
}

const std::vector<TGameHook>& HookCatalogue()
{
    static const std::vector<TGameHook> hooks = BuildCatalogue();
    return hooks;
}

const TGameHook* FindHook(QStringView name)
{
    const std::vector<TGameHook>& hooks = HookCatalogue();
    const auto found
        = std::find_if(hooks.begin(), hooks.end(), [name](const TGameHook& hook) { return hook.name == name; });
    return found == hooks.end() ? nullptr : &*found;
}

QString ExtraHooksPath(const QString& settingsFolder)
{
    return QDir(settingsFolder).filePath(QString::fromLatin1(ExtraHooksFileName));
}

std::vector<TGameHook> ParseExtraHooks(QStringView text, QStringList* errors)
{
    static const QRegularExpression Head(QStringLiteral(R"(^([A-Za-z_][A-Za-z0-9_]*)\s*(?:\(([^()]*)\))?$)"));
    static const QRegularExpression Parameter(QStringLiteral(R"(^[A-Za-z_][A-Za-z0-9_]*$)"));
    std::vector<TGameHook> hooks;
    int number = 0;
    for (const QStringView line : text.tokenize(u'\n')) {
        ++number;
        const QString entry = line.trimmed().toString();
        if (entry.isEmpty() || entry.startsWith(u'#'))
            continue;
        const QRegularExpressionMatch head = Head.match(entry);
        QStringList parameters;
        bool valid = head.hasMatch();
        if (valid && !head.captured(2).trimmed().isEmpty()) {
            for (const QString& parameter : head.captured(2).split(u',')) {
                parameters << parameter.trimmed();
                valid = valid && Parameter.match(parameters.back()).hasMatch();
            }
        }
        if (!valid) {
            if (errors) {
                *errors << QStringLiteral("line %1: \"%2\" is not a hook with its parameters, such as "
                                          "key(id, key, state)")
                               .arg(number)
                               .arg(entry);
            }
            continue;
        }
        hooks.push_back({ head.captured(1), QString::fromLatin1(ExtraHooksCategory), parameters });
    }
    return hooks;
}

const TGameHook* FindHook(QStringView name, const std::vector<TGameHook>& extra)
{
    const auto found
        = std::find_if(extra.begin(), extra.end(), [name](const TGameHook& hook) { return hook.name == name; });
    return found == extra.end() ? FindHook(name) : &*found;
}
