// TWTimer: the timer wizard. The user gives a period in milliseconds, seconds or minutes (the three
// fields keep in step as one is typed into), the function the game is to call, its argument and how
// often; "Create timer" inserts the timer call at the caret.
#pragma once

#include "tools/ToolDialog.h"

#include <QString>

class TWTimer : public TToolDialog {
public:
    using TToolDialog::TToolDialog;

    TGadget* tfMs = nullptr;
    TGadget* tfS = nullptr;
    TGadget* tfM = nullptr;
    TGadget* tfFunc = nullptr;
    TGadget* tfParam = nullptr;
    TGadget* tfTimes = nullptr;
    TGadget* Panel = nullptr;
    // Why a call of the script could not be read into the fields.
    TGadget* lInfo = nullptr;
    // Says when the call would not compile as the fields stand.
    TGadget* lCheck = nullptr;
    TGadget* bCreate = nullptr;
    TGadget* bClose = nullptr;

    // Builds the hidden window in `mainWindow` with the first-use texts and the number filters.
    void Init(TGadget* mainWindow);
    bool HandleAction(const TEvent& event) override;
    // Opens the wizard filled from a timer call of the script, to replace it; a call that does not fit
    // opens it for new code, saying why.
    void Edit(const TWizardCall& call);

    // The user typed into one period field: the two others follow it. Milliseconds derived from the
    // others are whole; seconds and minutes show nine significant digits.
    void UpdateMs();
    void UpdateS();
    void UpdateM();

    // The call "Create timer" inserts, from the fields as they stand: nothing is checked or quoted
    // beyond the quotes around the function name, so a modder may give any Lua expression.
    QString TimerCall() const;
};
