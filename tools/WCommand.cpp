#include "tools/WCommand.h"

#include "gui/GadgetFactory.h"

void TWCommand::Init(TGadget* mainWindow)
{
    Window = MakeWindow("Command-Line arguments", 0, 0, 300, 120, mainWindow, ToolWindowStyle);
    MakeLabel("Tarvane", 5, 5, 290, 15, Window, 0);
    tfGame = MakeTextField(5, 20, 290, 20, Window, 0);
    MakeLabel("Tarvane Dedicated", 5, 50, 290, 15, Window, 0);
    tfDedi = MakeTextField(5, 65, 290, 20, Window, 0);
    bOk = MakeButton("OK", 5, 90, 140, 25, Window, PushButtonStyle);
}

bool TWCommand::HandleAction(const TEvent& event)
{
    const TGadget* source = event.source;
    if (!source)
        return false;
    if (source == bOk) {
        Close();
    } else if (source == tfGame || source == tfDedi) {
        // Typing counts at once.
        if (ArgumentsEdited)
            ArgumentsEdited();
    } else {
        return false;
    }
    return true;
}

QString TWCommand::GameArguments() const
{
    return tfGame->GetText();
}

QString TWCommand::DedicatedArguments() const
{
    return tfDedi->GetText();
}

void TWCommand::SetArguments(const QString& game, const QString& dedicated)
{
    tfGame->SetText(game);
    tfDedi->SetText(dedicated);
}
