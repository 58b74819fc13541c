// TWItems: the item id picker. The user picks one of the game's items from a drop-down list and "OK"
// inserts its id, digits only, at the caret.
//
// The list is the catalogue: each entry shows "[id] name" and carries the id text as its extra QString.
#pragma once

#include "tools/ToolDialog.h"

class TWItems : public TToolDialog {
public:
    using TToolDialog::TToolDialog;

    TGadget* cbItems = nullptr;
    TGadget* bOk = nullptr;
    TGadget* bClose = nullptr;

    // Builds the hidden window in `mainWindow`, fills the list from the embedded item list and selects
    // its first entry.
    void Init(TGadget* mainWindow);
    bool HandleAction(const TEvent& event) override;

private:
    // Inserts the selected entry's id and closes; with nothing selected it only closes.
    void InsertId();
};
