// Menus and menu items of a window's menu bar, with their hot keys.
#pragma once

#include "gui/Gadget.h"

class QAction;
class QMenu;
class QMenuBar;

class TMenuGadget : public TGadget {
public:
    // The root menu of a window: its kids are the menus of the menu bar.
    TMenuGadget(TGadget* window, QMenuBar* bar);
    // A pop-up menu of its own, belonging to no window: its kids are its items.
    explicit TMenuGadget(const QString& text);
    // A menu or an item: a menu of the bar when `group` is a root menu, else an item of `group`. The tag
    // is the item's style; an empty text makes a separator.
    TMenuGadget(TGadget* group, const QString& text, int tag);
    ~TMenuGadget() override;

    int Tag() const { return style; }
    // The window whose menu bar holds this item.
    TGadget* OwnerWindow() const;
    // The label as shown, with the hot key's text after a tab.
    QString Label() const;
    // This item and every menu above it are enabled.
    bool EffectivelyEnabled() const;
    // Shows this menu's items as a pop-up at a point of the screen until one is chosen or the menu is
    // dismissed.
    void Popup(int screenX, int screenY);
    // Chooses the item as the user would: raises its MenuAction unless it is greyed. False when greyed.
    bool Choose();

    void SetText(const QString& text) override;
    void SetEnabled(int on) override;
    void SetSelected(int selected) override;
    int State() const override;
    void SetHotKey(int key, int modifiers) override;
    // A further key for the item, not shown in its label.
    void AddHotKey(int key, int modifiers);
    // What the label shows after the tab instead of the hot key's name ("Ctrl++", "Ctrl+[, Shift+Tab").
    void SetKeyLabel(const QString& label);

private:
    QMenu* SubMenu();
    void UpdateLabel();

    QMenuBar* bar = nullptr;
    QMenu* menu = nullptr;
    QAction* action = nullptr;
    bool separator = false;
    bool checked = false;
    QString hotKeyLabel;
};
