// Drop-down lists: they report only a selection the user changed.
#pragma once

#include "gui/WidgetGadget.h"

class TComboBoxGadget : public TWidgetGadget {
public:
    TComboBoxGadget(TGadget* group, int style);

    void Clear() override;
    void InsertItem(
        int index, const QString& text, const QString& tip, int icon, std::any itemExtra, int flags) override;
    void SetItem(int index, const QString& text, const QString& tip, int icon, std::any itemExtra, int flags) override;
    void SelectItem(int index, int select) override;
    int SelectedItem() const override;

    // The user picked an entry.
    void Picked(int index);

private:
    int lastSelection = -1;
};
