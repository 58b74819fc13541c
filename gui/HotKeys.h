// The process-wide hot-key table: key combinations that raise a ready event while their window is in front.
#pragma once

#include "event/Event.h"

class QObject;
class QKeyEvent;
class TGadget;
class TMenuGadget;

// Registers (key, modifiers) for the owner window; a second registration of the same combination for
// the same owner replaces the first.
void RegisterHotKey(int key, int modifiers, const TEvent& event, TGadget* owner, TMenuGadget* item);
void UnregisterHotKeysOf(const TMenuGadget* item);

// Offers a key press to the table. True when it was consumed: a match with at least one modifier whose
// item is enabled. A match without modifiers raises its event and still lets the key through.
bool OfferKeyToHotKeys(int key, int modifiers, TGadget* window);

// Installs the application-wide filter that offers every key press to the table before the focused
// widget sees it.
void InstallHotKeyFilter();
