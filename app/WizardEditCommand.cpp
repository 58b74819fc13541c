// Edit in Wizard: the call around the caret goes back into the wizard that writes it.
#include "app/Application.h"

#include "gui/Gadget.h"
#include "tools/WHook.h"
#include "tools/WHudtxt.h"
#include "tools/WTimer.h"
#include "tools/WizardCalls.h"

void TApplication::EditInWizard()
{
    const std::optional<TWizardCall> call
        = ReadWizardCall(Textarea->AreaText(0, -1, TextUnit::Chars), Textarea->GetCursorPos(TextUnit::Chars));
    if (!call) {
        ShowNotice(QStringLiteral("The caret is in no addhook, timer or hudtxt call a wizard could edit."));
        return;
    }
    if (std::holds_alternative<THookCallFields>(call->fields))
        wHook->Edit(*call);
    else if (std::holds_alternative<TTimerCallFields>(call->fields))
        wTimer->Edit(*call);
    else
        wHudtxt->Edit(*call);
}
