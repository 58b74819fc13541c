#include "gui/MenuGadget.h"

#include "gui/HotKeys.h"
#include "gui/KeyMap.h"
#include "gui/WidgetGadget.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

TMenuGadget::TMenuGadget(TGadget* window, QMenuBar* bar)
    : TGadget(GadgetClass::MenuItem, window, 0)
    , bar(bar)
{
    visible = 1;
}

TMenuGadget::TMenuGadget(const QString& text)
    : TGadget(GadgetClass::MenuItem, nullptr, 0)
{
    visible = 1;
    name = text;
}

TMenuGadget::TMenuGadget(TGadget* group, const QString& text, int tag)
    : TGadget(GadgetClass::MenuItem, group, tag)
{
    visible = 1;
    name = text;
    auto* owner = static_cast<TMenuGadget*>(group);
    if (owner->bar) {
        menu = owner->bar->addMenu(text);
        action = menu->menuAction();
        return;
    }
    QMenu* into = owner->SubMenu();
    if (text.isEmpty()) {
        separator = true;
        action = into->addSeparator();
        return;
    }
    action = into->addAction(text);
    QObject::connect(action, &QAction::triggered, [this] { EmitGadgetEvent(Event::MenuAction, this, Tag()); });
}

TMenuGadget::~TMenuGadget()
{
    UnregisterHotKeysOf(this);
    // Kids first: their actions live in our menu.
    while (!kids.empty()) {
        TGadget* kid = kids.back();
        kids.pop_back();
        kid->parent = nullptr;
        delete kid;
    }
    if (menu)
        delete menu;
    else
        delete action;
}

QMenu* TMenuGadget::SubMenu()
{
    if (!menu) {
        menu = new QMenu(name);
        if (action)
            action->setMenu(menu);
    }
    return menu;
}

void TMenuGadget::Popup(int screenX, int screenY)
{
    SubMenu()->exec(QPoint(screenX, screenY));
}

bool TMenuGadget::Choose()
{
    if (!action || separator || menu || !EffectivelyEnabled())
        return false;
    action->trigger();
    return true;
}

TGadget* TMenuGadget::OwnerWindow() const
{
    TGadget* gadget = parent;
    while (gadget && gadget->Class() != GadgetClass::Window)
        gadget = gadget->parent;
    return gadget;
}

QString TMenuGadget::Label() const
{
    return hotKeyLabel.isEmpty() ? name : name + QLatin1Char('\t') + hotKeyLabel;
}

void TMenuGadget::UpdateLabel()
{
    if (action && !separator)
        action->setText(Label());
}

bool TMenuGadget::EffectivelyEnabled() const
{
    for (const TGadget* gadget = this; gadget && gadget->Class() == GadgetClass::MenuItem; gadget = gadget->parent) {
        if (gadget->State() & GadgetState::Disabled)
            return false;
    }
    return true;
}

void TMenuGadget::SetText(const QString& text)
{
    TGadget::SetText(text);
    if (menu)
        menu->setTitle(text);
    UpdateLabel();
}

void TMenuGadget::SetEnabled(int on)
{
    TGadget::SetEnabled(on);
    if (action)
        action->setEnabled(enabled);
}

void TMenuGadget::SetSelected(int selected)
{
    checked = selected != 0;
    if (action && !separator) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

int TMenuGadget::State() const
{
    int state = TGadget::State();
    if (checked)
        state |= GadgetState::Selected;
    return state;
}

void TMenuGadget::AddHotKey(int key, int modifiers)
{
    RegisterHotKey(key, modifiers, TEvent::Create(Event::MenuAction, this, Tag()), OwnerWindow(), this);
}

void TMenuGadget::SetKeyLabel(const QString& label)
{
    hotKeyLabel = label;
    UpdateLabel();
}

void TMenuGadget::SetHotKey(int key, int modifiers)
{
    hotKeyLabel = HotKeyLabel(key, modifiers);
    UpdateLabel();
    RegisterHotKey(key, modifiers, TEvent::Create(Event::MenuAction, this, Tag()), OwnerWindow(), this);
}
