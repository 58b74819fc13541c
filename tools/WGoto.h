// TWGoto: the "Go to Line" dialog. It takes a line number (digits only), puts the caret at the start of
// that line, clamped to the script's lines, and gives the text area the focus.
#pragma once

#include "tools/ToolDialog.h"

#include <QString>

class TWGoto : public TToolDialog {
public:
    using TToolDialog::TToolDialog;

    TGadget* lRange = nullptr;
    TGadget* tfLine = nullptr;
    TGadget* bOk = nullptr;
    TGadget* bClose = nullptr;

    void Init(TGadget* mainWindow);
    bool HandleAction(const TEvent& event) override;

    // Shows the dialog with the line count in its label and the caret's line, selected, in the field.
    void OpenGoto();
    // Moves the caret to the line the field names and closes. An empty field or 0 means line 1; a number
    // past the last line the last line.
    void Go();

private:
    static int LineFilter(TEvent& event, void* context);
};
