// The one queue of emitted events that the main loop drains.
#pragma once

#include "gui/Event.h"

#include <deque>
#include <functional>

class TEventQueue {
public:
    static constexpr int Capacity = 256;

    // Processes pending platform input once when empty; returns the id of the new current event, or 0.
    int Poll();
    // As Poll, but blocks on platform input until an event is queued.
    int Wait();
    const TEvent& Current() const { return current; }

    // With coalesce, a queued event of the same id and source takes the new data, mods, x, y and extra.
    // Otherwise appended; dropped silently when the queue is full.
    void Post(const TEvent& event, bool coalesce);

    int Count() const { return static_cast<int>(events.size()); }
    void Clear();

    // The widget layer gives the queue its way of processing platform input; `wait` blocks for some.
    void SetPlatformPump(std::function<void(bool wait)> pump) { platformPump = std::move(pump); }

private:
    std::deque<TEvent> events;
    TEvent current;
    std::function<void(bool wait)> platformPump;
};

extern TEventQueue EventQueue;

// Whether the queue posts events of this id with coalescing (timer ticks, gadget actions, window moves and sizes).
bool CoalescesEvent(int id);
