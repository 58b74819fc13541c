#include "tools/ToolDialog.h"

#include "gui/Gadget.h"

void TToolDialog::Open()
{
    StopReplacing();
    if (told && told->info->GetText() == told->message)
        told->info->SetText(told->textBefore);
    told.reset();
    if (IsHidden(Window, false))
        Window->SetShow(1);
    Window->Activate(ActivateCommand::Focus);
}

void TToolDialog::Close()
{
    StopReplacing();
    Window->SetShow(0);
    if (host.textarea)
        host.textarea->Activate(ActivateCommand::Focus);
}

bool TToolDialog::HandleClose(const TGadget* source)
{
    if (!source || source != Window)
        return false;
    Close();
    return true;
}

bool TToolDialog::InsertAndClose(const QString& text, bool recolourCursorLine)
{
    if (replaced)
        return ReplaceAndClose(text);
    if (!host.insertAtCaret(text, recolourCursorLine))
        return false;
    Close();
    return true;
}

void TToolDialog::OpenToReplace(int start, int end, const TReplaceGadgets& gadgets)
{
    Open();
    replaced = TReplacedCall { start, host.textarea->AreaText(start, end - start, TextUnit::Chars), gadgets,
        gadgets.button->GetText() };
    gadgets.button->SetText(gadgets.label);
    if (gadgets.unused)
        gadgets.unused->SetEnabled(0);
}

void TToolDialog::OpenRefused(const QString& reason, TGadget* info)
{
    Open();
    Tell(info, reason + QStringLiteral(" The wizard opens as for new code."));
}

void TToolDialog::Tell(TGadget* info, const QString& message)
{
    if (!told || told->info->GetText() != told->message)
        told = TToldMessage { info, info->GetText(), {} };
    told->message = message;
    info->SetText(message);
}

void TToolDialog::StopReplacing()
{
    if (!replaced)
        return;
    replaced->gadgets.button->SetText(replaced->buttonText);
    if (replaced->gadgets.unused)
        replaced->gadgets.unused->SetEnabled(1);
    replaced.reset();
}

bool TToolDialog::ReplaceAndClose(const QString& text)
{
    const TReplacedCall call = *replaced;
    const int length = int(call.text.size());
    // Replacing whatever stands there now could cut another statement in two.
    if (host.textarea->AreaText(call.start, length, TextUnit::Chars) != call.text) {
        StopReplacing();
        Tell(call.gadgets.info,
            QStringLiteral("The call changed in the script meanwhile: nothing was replaced. "
                           "The button now inserts at the caret."));
        return false;
    }
    if (!host.replaceRange(call.start, length, text)) {
        Tell(call.gadgets.info, QStringLiteral("The script is full: the call was not replaced."));
        return false;
    }
    host.textarea->SetSelection(call.start + int(text.size()), 0, TextUnit::Chars);
    Close();
    return true;
}

void TToolDialog::ShowCompileCheck(TGadget* label, const QString& code) const
{
    const QString message = host.checkCode ? host.checkCode(code) : QString();
    const QString text = message.isEmpty() ? QString() : QStringLiteral("Will not compile: ") + message;
    if (label->GetText() != text) {
        label->SetText(text);
        label->SetTooltip(text);
    }
}
