#include "gui/WidgetGadget.h"

#include "gui/GuiFont.h"
#include "gui/KeyMap.h"
#include "gui/SystemDriver.h"

#include <QWidget>

#include <algorithm>

namespace {
const char* const GadgetProperty = "tle_gadget";
}

TWidgetGadget::TWidgetGadget(GadgetClass gadgetClass, TGadget* group, int style)
    : TGadget(gadgetClass, group, style)
{
}

TWidgetGadget::~TWidgetGadget()
{
    // Kids first (their widgets live inside ours), then our own widget.
    while (!kids.empty()) {
        TGadget* kid = kids.back();
        kids.pop_back();
        kid->parent = nullptr;
        delete kid;
    }
    delete widget.data();
}

void TWidgetGadget::SetWidget(QWidget* outer)
{
    widget = outer;
    widget->setProperty(GadgetProperty, QVariant::fromValue(static_cast<void*>(this)));
}

TWidgetGadget* TWidgetGadget::From(TGadget* gadget)
{
    return dynamic_cast<TWidgetGadget*>(gadget);
}

TWidgetGadget* TWidgetGadget::OfWidget(const QWidget* w)
{
    if (!w)
        return nullptr;
    return static_cast<TWidgetGadget*>(w->property(GadgetProperty).value<void*>());
}

QWidget* TWidgetGadget::ParentWidgetFor(TGadget* group)
{
    TWidgetGadget* gadget = From(group);
    return gadget ? gadget->ClientWidget() : nullptr;
}

int TWidgetGadget::ClientWidth() const
{
    return std::max(0, width - ClientInsetWidth());
}

int TWidgetGadget::ClientHeight() const
{
    return std::max(0, height - ClientInsetHeight());
}

void TWidgetGadget::ApplyShape()
{
    if (widget)
        widget->setGeometry(xpos, ypos, std::max(0, width), std::max(0, height));
    LayoutKids();
}

void TWidgetGadget::ApplyVisibility()
{
    if (widget)
        widget->setVisible(visible != 0);
}

void TWidgetGadget::ApplyEnabled()
{
    if (widget)
        widget->setEnabled(enabled);
}

void TWidgetGadget::Activate(int command)
{
    if (command == ActivateCommand::Focus && widget) {
        widget->activateWindow();
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void TWidgetGadget::SetColor(int r, int g, int b)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(r & 255, g & 255, b & 255));
    palette.setColor(QPalette::Base, QColor(r & 255, g & 255, b & 255));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void TWidgetGadget::SetTextColor(int r, int g, int b)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(r & 255, g & 255, b & 255));
    palette.setColor(QPalette::Text, QColor(r & 255, g & 255, b & 255));
    palette.setColor(QPalette::ButtonText, QColor(r & 255, g & 255, b & 255));
    widget->setPalette(palette);
}

void TWidgetGadget::SetFont(const std::shared_ptr<TGuiFont>& font)
{
    if (widget && font)
        widget->setFont(QFontOf(*font));
}

void TWidgetGadget::SetTooltip(const QString& tip)
{
    if (widget)
        widget->setToolTip(tip);
}

void TWidgetGadget::PopupMenu(TGadget* menu, int x, int y)
{
    if (!widget)
        return;
    const QPoint screen = ClientWidget()->mapToGlobal(QPoint(x, y));
    SystemDriver().PopupMenu(menu, screen.x(), screen.y());
}

void EmitGadgetEvent(int id, TGadget* source, int data, int x, int y, std::any extra)
{
    TEvent::Create(id, source, data, CurrentModifierBits(), x, y, std::move(extra)).Emit();
}

int OfferKeyToFilter(TGadget* gadget, int id, int code, int mods)
{
    if (!gadget->eventfilter)
        return 1;
    TEvent event = TEvent::Create(id, gadget, code, mods, 0, 0, {});
    return gadget->eventfilter(event, gadget->context);
}

int MouseButtonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 3;
    default:
        return 0;
    }
}
