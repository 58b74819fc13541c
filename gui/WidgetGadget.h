// The Qt side shared by every gadget that is a widget: placement in the parent's client area, showing,
// enabling, colours, fonts and focus. Only the widget layer includes this header.
#pragma once

#include "gui/Gadget.h"

#include <QPointer>
#include <QWidget>

class QWidget;

class TWidgetGadget : public TGadget {
public:
    TWidgetGadget(GadgetClass gadgetClass, TGadget* group, int style);
    ~TWidgetGadget() override;

    // The outer widget, placed in the parent's client area.
    QWidget* Widget() const { return widget; }
    // Where kids are placed; the outer widget unless the gadget has a frame or caption around them.
    virtual QWidget* ClientWidget() const { return widget; }

    int ClientWidth() const override;
    int ClientHeight() const override;
    void Activate(int command) override;
    void SetColor(int r, int g, int b) override;
    void SetTextColor(int r, int g, int b) override;
    void SetFont(const std::shared_ptr<TGuiFont>& font) override;
    void SetTooltip(const QString& tip) override;
    void PopupMenu(TGadget* menu, int x, int y) override;

    // The widget a new kid of `group` is created in (none for the desktop).
    static QWidget* ParentWidgetFor(TGadget* group);
    static TWidgetGadget* From(TGadget* gadget);
    // The gadget whose outer widget is `widget`, if any.
    static TWidgetGadget* OfWidget(const QWidget* widget);

protected:
    // Takes ownership of the outer widget and registers it as this gadget's.
    void SetWidget(QWidget* outer);

    void ApplyShape() override;
    void ApplyVisibility() override;
    void ApplyEnabled() override;

    // What a frame or caption around the client area takes off the shape, for the layout arithmetic.
    virtual int ClientInsetWidth() const { return 0; }
    virtual int ClientInsetHeight() const { return 0; }

private:
    QPointer<QWidget> widget;
};

// Emits an event from a user action; modifiers are read from the keyboard.
void EmitGadgetEvent(int id, TGadget* source, int data = 0, int x = 0, int y = 0, std::any extra = {});

// The number mouse events carry for a button: 1 left, 2 right, 3 middle, 0 any other.
int MouseButtonNumber(Qt::MouseButton button);

// Offers a key event to the gadget's filter; 1 when there is none.
int OfferKeyToFilter(TGadget* gadget, int id, int code, int mods);
