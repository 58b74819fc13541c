// Events of the widget layer: what the user did, as the main loop and key filters see it.
#pragma once

#include <any>

class TGadget;

// Event kinds, by the numbers and names (Describe) that the widget layer registers. Only the widget
// layer's own numbers travel past the queue.
namespace Event {
// Raised by the gadgets.
inline constexpr int KeyDown = 0x201; // offered to a key filter only, never queued
inline constexpr int KeyChar = 0x203; // offered to a key filter only, never queued
inline constexpr int MouseDown = 0x401;
inline constexpr int MouseUp = 0x402;
inline constexpr int MouseMove = 0x403;
inline constexpr int MouseWheel = 0x404;
inline constexpr int GadgetAction = 0x2001;
inline constexpr int GadgetPaint = 0x2002;
inline constexpr int GadgetSelect = 0x2003;
inline constexpr int GadgetMenu = 0x2004;
inline constexpr int GadgetOpen = 0x2005;
inline constexpr int GadgetClose = 0x2006;
inline constexpr int GadgetLostFocus = 0x2008;
inline constexpr int WindowMove = 0x4001;
inline constexpr int WindowSize = 0x4002;
inline constexpr int WindowClose = 0x4003;
inline constexpr int WindowActivate = 0x4004;
inline constexpr int WindowAccept = 0x4005; // a file dropped on its text area; `extra` is the path
inline constexpr int MenuAction = 0x8001;

// Registered kinds that nothing in this editor raises. The polled input and the queue already handle
// the first four as they would arrive; the others only have their place in the registry.
inline constexpr int AppSuspend = 0x101; // would clear the polled input
inline constexpr int AppResume = 0x102; // would clear the polled input
inline constexpr int KeyUp = 0x202; // would release a polled key
inline constexpr int TimerTick = 0x801; // the queue would merge repeated ticks
inline constexpr int AppTerminate = 0x103;
inline constexpr int AppOpenFile = 0x104;
inline constexpr int AppIdle = 0x105;
inline constexpr int KeyRepeat = 0x204;
inline constexpr int MouseEnter = 0x405;
inline constexpr int MouseLeave = 0x406;
inline constexpr int HotkeyHit = 0x1001;
inline constexpr int GadgetDone = 0x2007;
inline constexpr int GadgetShape = 0x2009;
inline constexpr int GadgetDrag = 0x200a;
inline constexpr int GadgetDrop = 0x200b;
inline constexpr int StreamEof = 0x10001;
inline constexpr int StreamAvail = 0x10002;
inline constexpr int ProcessExit = 0x20001;

// The editor's own kind. Offered to a text area's key filter, never queued, just before a user
// edit that no key describes whole (a drop, a middle-click paste, a word deleted with
// Ctrl+Backspace): `data` is the position, `x` the number of characters removed there, `extra` the
// QString inserted, its line breaks already one character each. A filter result of 0 cancels it.
inline constexpr int TextEdit = 0x20101;

// The registered description of an event kind ("GadgetAction"), or "" for an unknown id.
const char* Describe(int id);
} // namespace Event

// Modifier bits of TEvent::mods.
namespace Modifier {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
inline constexpr int System = 8;
} // namespace Modifier

// One event. `extra` carries an item's or node's payload: a QString, or a TGadget* for tree nodes.
struct TEvent {
    int id = 0;
    TGadget* source = nullptr;
    int data = 0;
    int mods = 0;
    int x = 0;
    int y = 0;
    std::any extra;

    static TEvent Create(
        int id, TGadget* source, int data = 0, int mods = 0, int x = 0, int y = 0, std::any extra = {});

    // Runs the hook chain of EventEmitHookId with this event; the queue and the polled input listen there.
    void Emit() const;
};
