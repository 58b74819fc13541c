// Polled input: the mouse, keys and typed characters as last reported on the event chain, for code that
// asks "is the button down now?" instead of handling events.
#pragma once

#include "event/Event.h"

#include <array>

class TPolledInput {
public:
    static constexpr int KeyCount = 256;
    static constexpr int CharQueueSize = 256;

    // The one tracker that EnablePolledInput hooks onto the event chain.
    static TPolledInput& Instance();

    // Records `event` when it comes from the tracked source (any source while that is null).
    void Record(const TEvent& event);
    // Forgets buttons, keys, queued characters and the wheel total; the pointer stays where it was.
    void Flush();
    // Back to the state before the first event: the tests' fresh start.
    void Reset();

    TGadget* source = nullptr;
    bool hooked = false;

    int MouseX() const { return _mouseX; }
    int MouseY() const { return _mouseY; }
    int MouseWheel() const { return _wheel; }
    bool MouseDown(int button) const;
    bool KeyDown(int key) const;
    // The oldest queued KeyChar code, or 0 when none is queued; GetChar also removes it.
    int PeekChar() const;
    int GetChar();
    int QueuedChars() const { return _charCount; }

private:
    int _mouseX = 0;
    int _mouseY = 0;
    int _wheel = 0;
    std::array<bool, 4> _buttons {}; // 1 left, 2 right, 3 middle
    std::array<bool, KeyCount> _keys {};
    std::array<int, CharQueueSize> _chars {};
    int _charHead = 0;
    int _charCount = 0;
};

// Hooks the tracker onto the event chain at priority 0 (once; a later call only changes the source).
// With a null source every event counts, otherwise only the events from `source`.
void EnablePolledInput(TGadget* source);
// Unhooks the tracker and clears everything it recorded.
void ResetPolledInput();

int PolledMouseX();
int PolledMouseY();
int PolledMouseWheel(); // notches, summed
// 1 while the button (1 left, 2 right, 3 middle) is held, else 0.
int PolledMouseDown(int button);
int PolledKeyDown(int key);
int PolledGetChar();
void FlushPolledInput();
