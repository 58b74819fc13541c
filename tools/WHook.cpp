#include "tools/WHook.h"

#include "gui/GadgetFactory.h"
#include "highlight/Indent.h"

#include <span>

namespace {
constexpr int CheckBoxStyle = ButtonStyle::CheckBox;

// One hook of the game and its handler's parameters, as they stand between the handler's parentheses.
struct THookEntry {
    const char* name;
    const char* parameters;
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

TGadget* AppendCategory(TGadget* root, const char* name, std::span<const THookEntry> hooks)
{
    TGadget* category = AppendNode(QString::fromLatin1(name), root, -1, {});
    for (const THookEntry& hook : hooks)
        AppendNode(QString::fromLatin1(hook.name), category, -1, QString::fromLatin1(hook.parameters));
    return category;
}

// A hook node's parameter list; null for a category node.
const QString* ParametersOf(const TGadget* node)
{
    return std::any_cast<QString>(&node->extra);
}
} // namespace

void TWHook::Init(TGadget* mainWindow)
{
    Window = MakeWindow("Add hook...", 0, 0, 220, 355, mainWindow, ToolWindowStyle);
    MakeLabel("Select hook (double click)", 5, 5, 210, 15, Window, 0);
    tvHook = MakeTreeView(5, 20, 210, 200, Window, 0);
    tvRoot = tvHook->RootNode();
    lInfo = MakeLabel("break(tx, ty, id)", 5, 225, 210, 30, Window, 0);
    cbGenFunc = MakeButton("Generate function", 5, 255, 210, 20, Window, CheckBoxStyle);
    MakeLabel("Variable name", 5, 280, 210, 15, Window, 0);
    tfVariable = MakeTextField(5, 295, 210, 20, Window, 0);
    bAdd = MakeButton("Add hook", 5, 325, 100, 25, Window, PushButtonStyle);
    bClose = MakeButton("Close", 115, 325, 100, 25, Window, PushButtonStyle);

    subBasic = AppendCategory(tvRoot, "Basic", BasicHooks);
    subTime = AppendCategory(tvRoot, "Time", TimeHooks);
    subPlayer = AppendCategory(tvRoot, "Player", PlayerHooks);
    subObject = AppendCategory(tvRoot, "Object", ObjectHooks);
}

bool TWHook::HandleAction(const TEvent& event)
{
    const TGadget* source = event.source;
    if (!source)
        return false;
    if (source == tvHook)
        ShowInfo();
    else if (source == bAdd)
        AddHook();
    else if (source == bClose)
        Close();
    else
        return source == cbGenFunc || source == tfVariable;
    return true;
}

void TWHook::ShowInfo()
{
    const TGadget* node = tvHook->SelectedNode();
    if (!node)
        return;
    const QString* parameters = ParametersOf(node);
    lInfo->SetText(node->GetText() + QLatin1Char('(') + (parameters ? *parameters : QString()) + QLatin1Char(')'));
}

void TWHook::AddHook()
{
    const TGadget* node = tvHook->SelectedNode();
    // A category is no hook: registering it would only give the game a name it does not know.
    const QString* parameters = node ? ParametersOf(node) : nullptr;
    if (!parameters)
        return;
    TGadget* textarea = host.textarea;
    const int caretLine = textarea->GetCursorPos(TextUnit::Lines);
    const QString code = HookCode(node->GetText(), *parameters, tfVariable->GetText(), ButtonValue(cbGenFunc) != 0,
        textarea->AreaText(caretLine, 1, TextUnit::Lines));
    // The handler's head starts a second line, which needs its colours as much as the first.
    if (InsertAndClose(code, false)) {
        host.recolourLine(caretLine);
        host.recolourLine(caretLine + 1);
    }
}

QString TWHook::HookCode(const QString& hook, const QString& parameters, const QString& variable, bool generateFunction,
    const QString& caretLine)
{
    QString code = QStringLiteral("addhook(\"") + hook + QStringLiteral("\", \"") + variable + QStringLiteral("\")");
    if (!generateFunction)
        return code;
    // The handler lines up with the caret's line by its leading tabs.
    code += QLatin1Char('\n') + LeadingTabs(caretLine) + QStringLiteral("function ") + variable + QLatin1Char('(')
        + parameters + QLatin1Char(')');
    return code;
}
