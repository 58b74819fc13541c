// List boxes: one column of text rows, as many as a script has problems. The rows live in a model,
// not in a widget or gadget each, and their texts are made only for the rows on the screen, so that
// replacing ten thousand of them is one reset.
#pragma once

#include "gui/WidgetGadget.h"

class QListView;
class TRowModel;

class TListBoxGadget : public TWidgetGadget {
public:
    TListBoxGadget(TGadget* group, int style);

    void SetRows(int count, std::function<QString(int row)> text) override;
    int RowCount() const override;
    QString RowText(int row) const override;
    // Selects a row (or clears the selection) without reporting it.
    void SelectItem(int index, int select) override;
    int SelectedItem() const override;

private:
    QListView* List() const;
    TRowModel* model = nullptr;
    bool programmatic = false;
};
