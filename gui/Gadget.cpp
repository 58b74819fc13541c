#include "gui/Gadget.h"

#include <algorithm>

TGadget::TGadget(GadgetClass gadgetClass, TGadget* group, int style)
    : parent(group)
    , style(style)
    , gadgetClass(gadgetClass)
{
}

TGadget::~TGadget()
{
    // Kids go first so that their platform widgets are gone before ours.
    while (!kids.empty()) {
        TGadget* kid = kids.back();
        kids.pop_back();
        kid->parent = nullptr;
        delete kid;
    }
}

void TGadget::Free()
{
    if (parent) {
        auto& siblings = parent->kids;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent = nullptr;
    }
    delete this;
}

void TGadget::SetFilter(TEventFilter filter, void* filterContext)
{
    eventfilter = filter;
    context = filterContext;
}

void TGadget::SetShape(int x, int y, int w, int h)
{
    xpos = x;
    ypos = y;
    width = w;
    height = h;
    ApplyShape();
}

void TGadget::SetLayout(int left, int right, int top, int bottom)
{
    lockl = left;
    lockr = right;
    lockt = top;
    lockb = bottom;
    LockLayout();
}

void TGadget::LockLayout()
{
    lockx = xpos;
    locky = ypos;
    lockw = width;
    lockh = height;
    lockcw = parent ? std::max(1, parent->ClientWidth()) : 1;
    lockch = parent ? std::max(1, parent->ClientHeight()) : 1;
    layoutLocked = true;
}

void TGadget::LayoutKids()
{
    for (TGadget* kid : kids)
        kid->DoLayout();
}

namespace {
// The dialogs hang on the main window as its kids, yet a resize of the main window must neither move
// nor size them; the toolbar sizes itself to its buttons.
bool FollowsItsParent(GadgetClass gadgetClass)
{
    switch (gadgetClass) {
    case GadgetClass::Desktop:
    case GadgetClass::Window:
    case GadgetClass::Toolbar:
    case GadgetClass::MenuItem:
    case GadgetClass::Node:
        return false;
    default:
        return true;
    }
}
} // namespace

void TGadget::DoLayout()
{
    // A gadget whose layout was never captured would be given the empty shape of zeroed values.
    if (!parent || !layoutLocked || !FollowsItsParent(gadgetClass))
        return;
    const TLayoutRect rect = LayoutFor(parent->ClientWidth(), parent->ClientHeight());
    if (rect.x != xpos || rect.y != ypos || rect.width != width || rect.height != height)
        SetShape(rect.x, rect.y, rect.width, rect.height);
}

namespace {
// One axis of the layout; all divisions truncate toward zero, in the order written.
void LayoutAxis(int parentSize, int lowMode, int highMode, int lock, int lockSize, int lockParent, int& low, int& high)
{
    const int p = std::max(1, parentSize);
    if (lowMode == EdgeMode::Centred && highMode == EdgeMode::Centred) {
        low = p * (lock + lockSize / 2) / lockParent - lockSize / 2;
        high = low + lockSize;
        return;
    }
    if (lowMode == EdgeMode::Aligned)
        low = lock;
    else if (lowMode == EdgeMode::Relative)
        low = p * lock / lockParent;
    if (highMode == EdgeMode::Aligned)
        high = p + (lock + lockSize - lockParent);
    else if (highMode == EdgeMode::Relative)
        high = p * (lock + lockSize) / lockParent;
    if (lowMode == EdgeMode::Centred)
        low = high - lockSize;
    if (highMode == EdgeMode::Centred)
        high = low + lockSize;
}
} // namespace

TLayoutRect TGadget::LayoutFor(int parentClientWidth, int parentClientHeight) const
{
    int left = 0, right = 0, top = 0, bottom = 0;
    LayoutAxis(parentClientWidth, lockl, lockr, lockx, lockw, lockcw, left, right);
    LayoutAxis(parentClientHeight, lockt, lockb, locky, lockh, lockch, top, bottom);
    return { left, top, right - left, bottom - top };
}

void TGadget::Clear()
{
    items.clear();
    ApplyItems();
}

void TGadget::InsertItem(int index, const QString& text, const QString& tip, int icon, std::any itemExtra, int flags)
{
    index = std::clamp(index, 0, ItemCount());
    items.insert(items.begin() + index, TGadgetItem { text, tip, icon, flags, std::move(itemExtra) });
    ApplyItems();
}

void TGadget::SetItem(int index, const QString& text, const QString& tip, int icon, std::any itemExtra, int flags)
{
    if (index < 0 || index >= ItemCount())
        return;
    items[index] = TGadgetItem { text, tip, icon, flags, std::move(itemExtra) };
    ApplyItems();
}

QString TGadget::ItemText(int index) const
{
    return index >= 0 && index < ItemCount() ? items[index].text : QString();
}

QString TGadget::ItemTip(int index) const
{
    return index >= 0 && index < ItemCount() ? items[index].tip : QString();
}

int TGadget::ItemFlags(int index) const
{
    return index >= 0 && index < ItemCount() ? items[index].flags : 0;
}

int TGadget::ItemIcon(int index) const
{
    return index >= 0 && index < ItemCount() ? items[index].icon : -1;
}

std::any TGadget::ItemExtra(int index) const
{
    return index >= 0 && index < ItemCount() ? items[index].extra : std::any();
}

void TGadget::SetItemState(int index, int state) { }

int TGadget::ItemState(int index) const
{
    return 0;
}

void TGadget::SelectItem(int index, int select) { }

int TGadget::State() const
{
    int state = 0;
    if (!visible)
        state |= GadgetState::Hidden;
    if (!enabled)
        state |= GadgetState::Disabled;
    return state;
}

void TGadget::SetText(const QString& text)
{
    name = text;
}

void TGadget::SetShow(int show)
{
    visible = show ? 1 : 0;
    ApplyVisibility();
}

void TGadget::SetEnabled(int on)
{
    enabled = on != 0;
    ApplyEnabled();
}

bool IsHidden(TGadget* gadget, bool recursive)
{
    for (; gadget; gadget = recursive ? gadget->parent : nullptr) {
        if (gadget->State() & GadgetState::Hidden)
            return true;
    }
    return false;
}

int ButtonValue(TGadget* button)
{
    const int state = button->State();
    if (state & GadgetState::Indeterminate)
        return -1;
    return (state & GadgetState::Selected) ? 1 : 0;
}

void SetGadgetColor(TGadget* gadget, int r, int g, int b, bool background)
{
    if (background)
        gadget->SetColor(r, g, b);
    else
        gadget->SetTextColor(r, g, b);
}
