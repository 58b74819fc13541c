// TWCommand: the launch arguments dialog. It holds the extra command-line arguments for the game and
// for the dedicated server, as typed, until the program ends; the launch commands read them.
#pragma once

#include "tools/ToolDialog.h"

#include <QString>

class TWCommand : public TToolDialog {
public:
    using TToolDialog::TToolDialog;

    TGadget* tfGame = nullptr;
    TGadget* tfDedi = nullptr;
    TGadget* bOk = nullptr;

    // Builds the hidden window in `mainWindow` with both fields empty.
    void Init(TGadget* mainWindow);
    bool HandleAction(const TEvent& event) override;

    // What the user typed for the game client and for the dedicated server; it counts at once, however
    // the dialog was left.
    QString GameArguments() const;
    QString DedicatedArguments() const;
};
