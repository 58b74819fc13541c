#include "gui/ToolbarGadget.h"

#include "draw/Pixmap.h"
#include "gui/PixmapImage.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>

namespace {
QToolBar* Bar(const TGadget* gadget)
{
    return static_cast<QToolBar*>(static_cast<const TWidgetGadget*>(gadget)->Widget());
}
} // namespace

TToolbarGadget::TToolbarGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::Toolbar, group, style)
{
    auto* bar = new QToolBar(ParentWidgetFor(group));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // The strip's own background (a tiled image) shows through.
    bar->setStyleSheet(QStringLiteral("QToolBar { background: transparent; border: none; padding: 0px; }"));
    SetWidget(bar);
}

void TToolbarGadget::SetIconStrip(const std::shared_ptr<TIconStrip>& iconStrip)
{
    strip = iconStrip;
    if (strip)
        Bar(this)->setIconSize(QSize(strip->IconSize(), strip->IconSize()));
}

bool TToolbarGadget::IsSeparator(int index) const
{
    const int icon = ItemIcon(index);
    return strip && icon >= 0 && icon < strip->count && strip->blank[icon];
}

void TToolbarGadget::ApplyItems()
{
    QToolBar* bar = Bar(this);
    bar->clear();
    states.resize(items.size(), 0);
    const QImage image = strip ? ImageOfPixmap(*strip->pixmap) : QImage();
    for (int index = 0; index < ItemCount(); ++index) {
        if (IsSeparator(index)) {
            bar->addSeparator();
            continue;
        }
        const TGadgetItem& item = items[index];
        QAction* action = bar->addAction(item.text);
        if (strip && item.icon >= 0 && item.icon < strip->count) {
            const int side = strip->IconSize();
            action->setIcon(QIcon(QPixmap::fromImage(image.copy(item.icon * side, 0, side, side))));
        }
        action->setToolTip(item.tip);
        QObject::connect(action, &QAction::triggered,
            [this, index] { EmitGadgetEvent(Event::GadgetAction, this, index, 0, 0, ItemExtra(index)); });
        ApplyState(index);
    }
    // The toolbar places and sizes itself at the top left of its parent.
    const QSize size = bar->sizeHint();
    SetShape(0, 0, size.width(), size.height());
}

void TToolbarGadget::ApplyState(int index)
{
    QToolBar* bar = Bar(this);
    const auto actions = bar->actions();
    if (index < 0 || index >= actions.size())
        return;
    QAction* action = actions[index];
    if (action->isSeparator())
        return;
    action->setEnabled(!(states[index] & ItemState::Disabled));
    action->setCheckable(states[index] & ItemState::Pressed);
    action->setChecked(states[index] & ItemState::Pressed);
}

void TToolbarGadget::SetItemState(int index, int state)
{
    if (index < 0 || index >= ItemCount())
        return;
    states[index] = state;
    ApplyState(index);
}

int TToolbarGadget::ItemState(int index) const
{
    return index >= 0 && index < static_cast<int>(states.size()) ? states[index] : 0;
}
