#include "gui/EventQueue.h"

#include "gui/Hook.h"

TEventQueue EventQueue;

namespace {
void* PostEmittedEvent(int, void* data, void*)
{
    const TEvent* event = static_cast<const TEvent*>(data);
    EventQueue.Post(*event, CoalescesEvent(event->id));
    return data;
}

// The queue listens on the event chain from the start, behind every other hook.
const bool queueRegistered = [] {
    RegisterHook(EventEmitHookId(), PostEmittedEvent, nullptr, -10000);
    return true;
}();
} // namespace

bool CoalescesEvent(int id)
{
    return id == Event::TimerTick || id == Event::GadgetAction || id == Event::WindowMove || id == Event::WindowSize;
}

int TEventQueue::Poll()
{
    if (events.empty() && platformPump)
        platformPump(false);
    if (events.empty()) {
        current = TEvent();
        return 0;
    }
    current = std::move(events.front());
    events.pop_front();
    return current.id;
}

int TEventQueue::Wait()
{
    while (events.empty() && platformPump)
        platformPump(true);
    return Poll();
}

void TEventQueue::Post(const TEvent& event, bool coalesce)
{
    if (coalesce) {
        for (TEvent& queued : events) {
            if (queued.id == event.id && queued.source == event.source) {
                queued.data = event.data;
                queued.mods = event.mods;
                queued.x = event.x;
                queued.y = event.y;
                queued.extra = event.extra;
                return;
            }
        }
    }
    if (static_cast<int>(events.size()) >= Capacity)
        return;
    events.push_back(event);
}

void TEventQueue::Clear()
{
    events.clear();
    current = TEvent();
}
