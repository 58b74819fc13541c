#include "tools/WGoto.h"

#include "gui/GadgetFactory.h"
#include "gui/KeyMap.h"
#include "tools/NumberFilters.h"

#include <algorithm>

void TWGoto::Init(TGadget* mainWindow)
{
    Window = MakeWindow("Go to Line", 0, 0, 210, 85, mainWindow, ToolWindowStyle);
    lRange = MakeLabel("Line number (1 - 1):", 5, 5, 200, 15, Window, 0);
    tfLine = MakeTextField(5, 22, 200, 20, Window, 0);
    bOk = MakeButton("OK", 5, 55, 95, 25, Window, PushButtonStyle);
    bClose = MakeButton("Close", 110, 55, 95, 25, Window, PushButtonStyle);
    tfLine->SetFilter(LineFilter, this);
}

int TWGoto::LineFilter(TEvent& event, void* context)
{
    if (event.id == Event::KeyChar && event.data == CharCode::Return) {
        TEvent::Create(Event::GadgetAction, static_cast<TWGoto*>(context)->bOk).Emit();
        return 0;
    }
    return IntegerFilter(event, context);
}

bool TWGoto::HandleAction(const TEvent& event)
{
    const TGadget* source = event.source;
    if (!source)
        return false;
    if (source == bOk)
        Go();
    else if (source == bClose)
        Close();
    else
        return source == tfLine;
    return true;
}

void TWGoto::OpenGoto()
{
    TGadget* area = host.textarea;
    lRange->SetText(QStringLiteral("Line number (1 - %1):").arg(area->AreaLen(TextUnit::Lines) + 1));
    tfLine->SetText(QString::number(area->GetCursorPos(TextUnit::Lines) + 1));
    Open();
    tfLine->Activate(ActivateCommand::Focus);
    tfLine->SetSelection(0, -1, TextUnit::Chars);
}

void TWGoto::Go()
{
    TGadget* area = host.textarea;
    // Only digits come in by key, but a paste may bring anything: what does not read as a number is
    // line 1, and digits too many to read are past the last line.
    const QString text = tfLine->GetText().trimmed();
    bool ok = false;
    const qulonglong typed = text.toULongLong(&ok);
    const bool tooLong
        = !ok && !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    const int last = area->AreaLen(TextUnit::Lines);
    const int line = tooLong ? last : (ok && typed > 0 ? static_cast<int>(std::min<qulonglong>(typed - 1, last)) : 0);
    area->SetSelection(area->CharAt(line), 0, TextUnit::Chars);
    TEvent::Create(Event::GadgetSelect, area).Emit();
    Close();
}
