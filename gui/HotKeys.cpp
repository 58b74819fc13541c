#include "gui/HotKeys.h"

#include "gui/KeyMap.h"
#include "gui/MenuGadget.h"
#include "gui/WidgetGadget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {
struct THotKey {
    int key;
    int modifiers;
    TEvent event;
    TGadget* owner;
    const TMenuGadget* item;
};

std::vector<THotKey>& Table()
{
    static std::vector<THotKey> table;
    return table;
}

// A modifier key's own bit does not count while that key itself is pressed.
int ModifiersWithoutOwnKey(int key, int modifiers)
{
    switch (key) {
    case VirtualKey::Shift:
        return modifiers & ~1;
    case VirtualKey::Control:
        return modifiers & ~2;
    case VirtualKey::Menu:
        return modifiers & ~4;
    case VirtualKey::LeftWin:
        return modifiers & ~8;
    default:
        return modifiers;
    }
}

// Sees every key press before the widget with the focus does.
class HotKeyFilter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* target = static_cast<QWidget*>(watched);
        // Only the first delivery counts: Qt hands a key the widget did not take on to its parents.
        if (event == lastEvent && lastTarget && lastTarget != target && target->isAncestorOf(lastTarget))
            return false;
        lastEvent = event;
        lastTarget = target;
        auto* key = static_cast<QKeyEvent*>(event);
        TGadget* window = TWidgetGadget::OfWidget(target->window());
        return OfferKeyToHotKeys(VirtualKeyOf(key), ModifierBitsOf(key->modifiers()), window);
    }

private:
    const QEvent* lastEvent = nullptr;
    QPointer<QWidget> lastTarget;
};
} // namespace

void RegisterHotKey(int key, int modifiers, const TEvent& event, TGadget* owner, TMenuGadget* item)
{
    auto& table = Table();
    for (THotKey& entry : table) {
        if (entry.key == key && entry.modifiers == modifiers && entry.owner == owner) {
            entry.event = event;
            entry.item = item;
            return;
        }
    }
    table.push_back({ key, modifiers, event, owner, item });
}

void UnregisterHotKeysOf(const TMenuGadget* item)
{
    auto& table = Table();
    table.erase(std::remove_if(table.begin(), table.end(), [item](const THotKey& entry) { return entry.item == item; }),
        table.end());
}

bool OfferKeyToHotKeys(int key, int modifiers, TGadget* window)
{
    if (!key || !window)
        return false;
    modifiers = ModifiersWithoutOwnKey(key, modifiers);
    for (const THotKey& entry : Table()) {
        if (entry.key != key || entry.modifiers != modifiers || entry.owner != window)
            continue;
        if (entry.item && !entry.item->EffectivelyEnabled())
            return false;
        entry.event.Emit();
        return modifiers != 0;
    }
    return false;
}

void InstallHotKeyFilter()
{
    static HotKeyFilter filter;
    qApp->installEventFilter(&filter);
}
