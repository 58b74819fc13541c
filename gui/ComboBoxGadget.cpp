#include "gui/ComboBoxGadget.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <algorithm>

namespace {
QComboBox* Box(const TGadget* gadget)
{
    return static_cast<QComboBox*>(static_cast<const TWidgetGadget*>(gadget)->Widget());
}
} // namespace

TComboBoxGadget::TComboBoxGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::ComboBox, group, style)
{
    auto* box = new QComboBox(ParentWidgetFor(group));
    box->setEditable(false);
    SetWidget(box);
    QObject::connect(box, &QComboBox::activated, [this](int index) { Picked(index); });
}

void TComboBoxGadget::Picked(int index)
{
    if (index == lastSelection)
        return;
    lastSelection = index;
    EmitGadgetEvent(Event::GadgetAction, this, index, 0, 0, ItemExtra(index));
}

void TComboBoxGadget::Clear()
{
    TGadget::Clear();
    QSignalBlocker block(Box(this));
    Box(this)->clear();
    lastSelection = -1;
}

void TComboBoxGadget::InsertItem(
    int index, const QString& text, const QString& tip, int icon, std::any itemExtra, int flags)
{
    index = std::clamp(index, 0, ItemCount());
    TGadget::InsertItem(index, text, tip, icon, std::move(itemExtra), flags);
    QSignalBlocker block(Box(this));
    const bool nothingSelected = Box(this)->currentIndex() < 0;
    Box(this)->insertItem(index, text);
    if (!tip.isEmpty())
        Box(this)->setItemData(index, tip, Qt::ToolTipRole);
    // A new entry is not selected by being added, not even the first.
    if (nothingSelected)
        Box(this)->setCurrentIndex(-1);
    lastSelection = Box(this)->currentIndex();
}

void TComboBoxGadget::SetItem(
    int index, const QString& text, const QString& tip, int icon, std::any itemExtra, int flags)
{
    if (index < 0 || index >= ItemCount())
        return;
    TGadget::SetItem(index, text, tip, icon, std::move(itemExtra), flags);
    Box(this)->setItemText(index, text);
    Box(this)->setItemData(index, tip, Qt::ToolTipRole);
}

void TComboBoxGadget::SelectItem(int index, int select)
{
    if (index < 0 || index >= ItemCount())
        return;
    QSignalBlocker block(Box(this));
    Box(this)->setCurrentIndex(select ? index : -1);
    lastSelection = Box(this)->currentIndex();
}

int TComboBoxGadget::SelectedItem() const
{
    return Box(this)->currentIndex();
}
