#include "gui/GadgetFactory.h"

#include "gui/WindowGadget.h"

TGadget* MakeWindow(const QString& title, int x, int y, int w, int h, TGadget* group, int style)
{
    if (style & WindowStyle::Centred)
        CentredWindowPosition(w, h, group, x, y);
    return CreateGadget(GadgetClass::Window, title, x, y, w, h, group, style);
}

void CentredWindowPosition(int w, int h, TGadget* group, int& x, int& y)
{
    if (group) {
        x = group->GetXPos() + (group->GetWidth() - w) / 2;
        y = group->GetYPos() + (group->GetHeight() - h) / 2;
        return;
    }
    TGadget* desktop = Desktop();
    x = (std::min(desktop->GetWidth(), desktop->ClientWidth()) - w) / 2;
    y = (std::min(desktop->GetHeight(), desktop->ClientHeight()) - h) / 2;
}

TGadget* MakeButton(const QString& text, int x, int y, int w, int h, TGadget* group, int style)
{
    return CreateGadget(GadgetClass::Button, text, x, y, w, h, group, style);
}

TGadget* MakePanel(int x, int y, int w, int h, TGadget* group, int style, const QString& title)
{
    return CreateGadget(GadgetClass::Panel, title, x, y, w, h, group, style);
}

TGadget* MakeTextField(int x, int y, int w, int h, TGadget* group, int style)
{
    return CreateGadget(GadgetClass::TextField, QString(), x, y, w, h, group, style);
}

TGadget* MakeTextArea(int x, int y, int w, int h, TGadget* group, int style)
{
    return CreateGadget(GadgetClass::TextArea, QString(), x, y, w, h, group, style);
}

TGadget* MakeComboBox(int x, int y, int w, int h, TGadget* group, int style)
{
    return CreateGadget(GadgetClass::ComboBox, QString(), x, y, w, h, group, style);
}

TGadget* MakeTreeView(int x, int y, int w, int h, TGadget* group, int style)
{
    return CreateGadget(GadgetClass::TreeView, QString(), x, y, w, h, group, style);
}

TGadget* MakeListBox(int x, int y, int w, int h, TGadget* group, int style)
{
    return CreateGadget(GadgetClass::ListBox, QString(), x, y, w, h, group, style);
}

TGadget* MakeLabel(const QString& text, int x, int y, int w, int h, TGadget* group, int style)
{
    return CreateGadget(GadgetClass::Label, text, x, y, w, h, group, style);
}

TGadget* MakeCanvas(int x, int y, int w, int h, TGadget* group, int style)
{
    return CreateGadget(GadgetClass::Canvas, QString(), x, y, w, h, group, style);
}

TGadget* MakeToolbar(const std::shared_ptr<TIconStrip>& strip, int x, int y, int w, int h, TGadget* group, int style)
{
    TGadget* toolbar = CreateGadget(GadgetClass::Toolbar, QString(), x, y, w, h, group, style);
    if (!toolbar || !strip)
        return toolbar;
    toolbar->SetIconStrip(strip);
    for (int i = 0; i < strip->count; ++i)
        toolbar->InsertItem(toolbar->ItemCount(), QString(), QString(), i, {}, 0);
    return toolbar;
}

TGadget* MakeToolbar(const QString& url, int x, int y, int w, int h, TGadget* group, int style)
{
    return MakeToolbar(LoadIconStrip(url), x, y, w, h, group, style);
}

TGadget* MakeMenuItem(const QString& text, int tag, TGadget* parent, int key, int modifiers)
{
    TGadget* item = CreateGadget(GadgetClass::MenuItem, text, 0, 0, 0, 0, parent, tag);
    if (item && key)
        item->SetHotKey(key, modifiers);
    return item;
}

void AppendItem(TGadget* gadget, const QString& text, int flags, int icon, const QString& tip, std::any extra)
{
    gadget->InsertItem(gadget->ItemCount(), text, tip, icon, std::move(extra), flags);
}

void SetItemEnabled(TGadget* gadget, int index, bool on)
{
    int state = gadget->ItemState(index);
    if (on)
        state &= ~ItemState::Disabled;
    else
        state |= ItemState::Disabled;
    gadget->SetItemState(index, state);
}

void SetToolbarItemTips(TGadget* toolbar, const QStringList& tips)
{
    for (int i = 0; i < toolbar->ItemCount() && i < tips.size(); ++i) {
        toolbar->SetItem(
            i, toolbar->ItemText(i), tips[i], toolbar->ItemIcon(i), toolbar->ItemExtra(i), toolbar->ItemFlags(i));
    }
}

TGadget* AppendNode(const QString& text, TGadget* parent, int icon, std::any extra)
{
    TGadget* node = parent->InsertNode(-1, text, icon);
    if (node)
        node->extra = std::move(extra);
    return node;
}
