// TWCommand: the launch arguments dialog. It holds the extra command-line arguments for the game and
// for the dedicated server, as typed; the launch commands read them, and the application keeps them
// for the next start.
#pragma once

#include "tools/ToolDialog.h"

#include <QString>

#include <functional>

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
    // Puts back the arguments of an earlier run.
    void SetArguments(const QString& game, const QString& dedicated);

    // Called after each edit of either field.
    std::function<void()> ArgumentsEdited;
};
