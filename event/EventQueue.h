// The one queue of emitted events that the main loop drains.
#pragma once

#include "event/Event.h"

#include <deque>
#include <functional>

class TEventQueue {
public:
    static constexpr int Capacity = 256;

    // Processes pending platform input once when empty; returns the id of the new current event, or 0.
    int Poll();
    const TEvent& Current() const { return current; }

    // With coalesce, a queued event of the same id and source takes the new data, mods, x, y and extra.
    // Otherwise appended; dropped silently when the queue is full.
    void Post(const TEvent& event, bool coalesce);

    int Count() const { return static_cast<int>(events.size()); }
    void Clear();

    // The widget layer gives the queue its way of processing pending platform input.
    void SetPlatformPump(std::function<void()> pump) { platformPump = std::move(pump); }

    // Hooks the queue onto the event chain behind every other hook, so that it receives every emitted
    // event; once per process, a later call does nothing. Start-up calls it before any event can arise.
    void Listen();

private:
    std::deque<TEvent> events;
    TEvent current;
    std::function<void()> platformPump;
    bool listening = false;
};

extern TEventQueue EventQueue;

// Whether the queue posts events of this id with coalescing (timer ticks, gadget actions, window moves and sizes).
bool CoalescesEvent(int id);
