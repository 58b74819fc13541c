#include "tools/WHook.h"

#include "gui/GadgetFactory.h"
#include "highlight/Indent.h"
#include "resources/HookCatalogue.h"

#include <iterator>

namespace {
constexpr int CheckBoxStyle = ButtonStyle::CheckBox;

// A category node and its hooks under it, each hook carrying its parameter list.
TGadget* AppendCategory(TGadget* root, const QString& name)
{
    TGadget* category = AppendNode(name, root, -1, {});
    for (const TGameHook& hook : HookCatalogue()) {
        if (hook.category == name)
            AppendNode(hook.name, category, -1, hook.ParameterList());
    }
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
    // The info label has room for three lines: it also says why a call of the script cannot be edited.
    Window = MakeWindow("Add hook...", 0, 0, 220, 430, mainWindow, ToolWindowStyle);
    MakeLabel("Select hook (double click)", 5, 5, 210, 15, Window, 0);
    tvHook = MakeTreeView(5, 20, 210, 200, Window, 0);
    tvRoot = tvHook->RootNode();
    lInfo = MakeLabel("break(tx, ty, id)", 5, 225, 210, 60, Window, 0);
    cbGenFunc = MakeButton("Generate function", 5, 285, 210, 20, Window, CheckBoxStyle);
    MakeLabel("Variable name", 5, 310, 210, 15, Window, 0);
    tfVariable = MakeTextField(5, 325, 210, 20, Window, 0);
    lCheck = MakeLabel(QString(), 5, 352, 210, 45, Window, 0);
    lCheck->SetTextColor(170, 0, 0);
    bAdd = MakeButton("Add hook", 5, 400, 100, 25, Window, PushButtonStyle);
    bClose = MakeButton("Close", 115, 400, 100, 25, Window, PushButtonStyle);

    TGadget** const categoryNodes[] = { &subBasic, &subTime, &subPlayer, &subObject };
    const QStringList& categories = HookCategories();
    for (qsizetype k = 0; k < categories.size(); ++k) {
        TGadget* node = AppendCategory(tvRoot, categories[k]);
        if (k < qsizetype(std::size(categoryNodes)))
            *categoryNodes[k] = node;
    }
    CheckCode();
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
    else if (source != cbGenFunc && source != tfVariable)
        return false;
    if (source != bAdd && source != bClose)
        CheckCode();
    return true;
}

void TWHook::CheckCode()
{
    const TGadget* node = tvHook->SelectedNode();
    const QString* parameters = node ? ParametersOf(node) : nullptr;
    const bool generateFunction = ButtonValue(cbGenFunc) != 0;
    QString code = HookCode(parameters ? node->GetText() : QString(), parameters ? *parameters : QString(),
        tfVariable->GetText(), generateFunction, QString());
    if (generateFunction)
        code += QStringLiteral("\nend");
    ShowCompileCheck(lCheck, code);
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
    // A registration being replaced has its handler already.
    const bool generateFunction = ButtonValue(cbGenFunc) != 0 && !Replacing();
    const QString code = HookCode(node->GetText(), *parameters, tfVariable->GetText(), generateFunction,
        textarea->AreaText(caretLine, 1, TextUnit::Lines));
    // The handler's head starts a second line, which needs its colours as much as the first.
    if (InsertAndClose(code, false)) {
        host.recolourLine(caretLine);
        host.recolourLine(caretLine + 1);
    }
}

void TWHook::Edit(const TWizardCall& call)
{
    const auto* fields = OpenToEdit<THookCallFields>(call, { bAdd, QStringLiteral("Replace hook"), lInfo, cbGenFunc });
    if (!fields)
        return;
    for (TGadget* category : tvRoot->kids) {
        for (TGadget* node : category->kids) {
            if (node->GetText() == fields->hook) {
                category->Activate(ActivateCommand::Expand);
                node->Activate(ActivateCommand::Select);
            }
        }
    }
    tfVariable->SetText(fields->handler);
    ShowInfo();
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
