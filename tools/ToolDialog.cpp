#include "tools/ToolDialog.h"

#include "gui/Gadget.h"

void TToolDialog::Open()
{
    if (IsHidden(Window, false))
        Window->SetShow(1);
    Window->Activate(ActivateCommand::Focus);
}

void TToolDialog::Close()
{
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
    if (!host.insertAtCaret(text, recolourCursorLine))
        return false;
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
