#include "event/EventQueue.h"

#include "event/Hook.h"

TEventQueue EventQueue;

namespace {
constexpr int QueuePriority = -10000;

void* PostEmittedEvent(int, void* data, void* context)
{
    const TEvent* event = static_cast<const TEvent*>(data);
    static_cast<TEventQueue*>(context)->Post(*event, CoalescesEvent(event->id));
    return data;
}
} // namespace

void TEventQueue::Listen()
{
    if (listening)
        return;
    RegisterHook(EventEmitHookId(), PostEmittedEvent, this, QueuePriority);
    listening = true;
}

bool CoalescesEvent(int id)
{
    return id == Event::TimerTick || id == Event::GadgetAction || id == Event::WindowMove || id == Event::WindowSize;
}

int TEventQueue::Poll()
{
    if (events.empty() && platformPump)
        platformPump();
    if (events.empty()) {
        current = TEvent();
        return 0;
    }
    current = std::move(events.front());
    events.pop_front();
    return current.id;
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
