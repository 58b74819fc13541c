#include "event/EventQueue.h"
#include "event/Hook.h"
#include "event/RuntimeError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
TGadget* const First = reinterpret_cast<TGadget*>(0x10);
TGadget* const Second = reinterpret_cast<TGadget*>(0x20);

class EventQueueTest : public testing::Test {
protected:
    void SetUp() override
    {
        EventQueue.Listen();
        EventQueue.Clear();
    }
    void TearDown() override { EventQueue.Clear(); }
};

TEST_F(EventQueueTest, GadgetActionsOfOneSourceMergeKeepingTheLaterData)
{
    TEvent::Create(Event::GadgetAction, First, 1).Emit();
    TEvent::Create(Event::GadgetAction, Second, 2).Emit();
    TEvent::Create(Event::GadgetAction, First, 3, 1, 4, 5, std::string("later")).Emit();

    ASSERT_EQ(EventQueue.Count(), 2);
    ASSERT_EQ(EventQueue.Poll(), Event::GadgetAction);
    EXPECT_EQ(EventQueue.Current().source, First);
    EXPECT_EQ(EventQueue.Current().data, 3);
    EXPECT_EQ(EventQueue.Current().mods, 1);
    EXPECT_EQ(EventQueue.Current().x, 4);
    EXPECT_EQ(std::any_cast<std::string>(EventQueue.Current().extra), "later");
    ASSERT_EQ(EventQueue.Poll(), Event::GadgetAction);
    EXPECT_EQ(EventQueue.Current().source, Second);
}

TEST_F(EventQueueTest, OnlyTimerActionMoveAndSizeEventsMerge)
{
    for (int id : { Event::TimerTick, Event::GadgetAction, Event::WindowMove, Event::WindowSize }) {
        EventQueue.Clear();
        TEvent::Create(id, First, 1).Emit();
        TEvent::Create(id, First, 2).Emit();
        EXPECT_EQ(EventQueue.Count(), 1) << Event::Describe(id);
    }
    for (int id : { Event::GadgetSelect, Event::MenuAction, Event::MouseDown, Event::WindowClose, Event::KeyChar }) {
        EventQueue.Clear();
        TEvent::Create(id, First, 1).Emit();
        TEvent::Create(id, First, 2).Emit();
        EXPECT_EQ(EventQueue.Count(), 2) << Event::Describe(id);
    }
}

TEST_F(EventQueueTest, AFullQueueDropsNewEventsSilently)
{
    for (int i = 0; i < TEventQueue::Capacity + 10; ++i)
        TEvent::Create(Event::MenuAction, First, i).Emit();
    EXPECT_EQ(EventQueue.Count(), TEventQueue::Capacity);
    int last = -1;
    while (EventQueue.Poll())
        last = EventQueue.Current().data;
    EXPECT_EQ(last, TEventQueue::Capacity - 1);
}

TEST_F(EventQueueTest, PollOnAnEmptyQueueLeavesANullEvent)
{
    TEvent::Create(Event::MenuAction, First, 7).Emit();
    ASSERT_EQ(EventQueue.Poll(), Event::MenuAction);
    EXPECT_EQ(EventQueue.Poll(), 0);
    const TEvent& current = EventQueue.Current();
    EXPECT_EQ(current.id, 0);
    EXPECT_EQ(current.source, nullptr);
    EXPECT_EQ(current.data, 0);
    EXPECT_FALSE(current.extra.has_value());
}

std::vector<std::string> calls;

void* Record(int, void* data, void* context)
{
    calls.push_back(static_cast<const char*>(context));
    return data;
}

void* AddOne(int, void* data, void*)
{
    return reinterpret_cast<void*>(reinterpret_cast<long>(data) + 1);
}

// The chain tests use registries of their own, so they leave the process's ids and chains alone.
TEST(HookTest, HigherPrioritiesRunFirstAndEqualOnesInRegistrationOrder)
{
    THookRegistry hooks;
    const int id = hooks.NewId();
    static const char* names[] = { "low", "high", "middle-1", "middle-2" };
    hooks.Register(id, Record, const_cast<char*>(names[0]), -5);
    hooks.Register(id, Record, const_cast<char*>(names[1]), 10);
    hooks.Register(id, Record, const_cast<char*>(names[2]), 0);
    hooks.Register(id, Record, const_cast<char*>(names[3]), 0);
    calls.clear();
    hooks.Call(id, nullptr);
    EXPECT_EQ(calls, (std::vector<std::string> { "high", "middle-1", "middle-2", "low" }));

    EXPECT_TRUE(hooks.Remove(id, Record, const_cast<char*>(names[2])));
    calls.clear();
    hooks.Call(id, nullptr);
    EXPECT_EQ(calls, (std::vector<std::string> { "high", "middle-2", "low" }));
}

TEST(HookTest, EachResultBecomesTheNextHooksData)
{
    THookRegistry hooks;
    const int id = hooks.NewId();
    hooks.Register(id, AddOne, nullptr, 0);
    hooks.Register(id, AddOne, nullptr, 0);
    hooks.Register(id, AddOne, nullptr, 0);
    EXPECT_EQ(reinterpret_cast<long>(hooks.Call(id, reinterpret_cast<void*>(10))), 13);
}

TEST(HookTest, TheQueueSitsBehindOtherHooksOnTheEventChain)
{
    EventQueue.Listen();
    EventQueue.Clear();
    static int seenBeforeQueue;
    seenBeforeQueue = -1; // a repeated run must not find the last run's count
    auto watch = [](int, void* data, void*) -> void* {
        seenBeforeQueue = EventQueue.Count();
        return data;
    };
    RegisterHook(EventEmitHookId(), watch, nullptr, 0);
    TEvent::Create(Event::MenuAction, First).Emit();
    EXPECT_EQ(seenBeforeQueue, 0);
    EXPECT_EQ(EventQueue.Count(), 1);
    RemoveHook(EventEmitHookId(), watch, nullptr);
    EventQueue.Clear();
}

TEST(HookTest, Asking256IdsStopsWithTooManyHookIds)
{
    THookRegistry hooks;
    // Ids 1 to 255 come in order, the last one with a working chain too; the 256th request stops.
    for (int expected = 1; expected <= 255; ++expected)
        ASSERT_EQ(hooks.NewId(), expected);
    hooks.Register(
        255, [](int, void*, void*) -> void* { return nullptr; }, nullptr, 0);
    EXPECT_EQ(hooks.Call(255, &hooks), nullptr) << "the hook on id 255 did not run";
    try {
        hooks.NewId();
        ADD_FAILURE() << "a 256th id was handed out";
    } catch (const TRuntimeError& error) {
        EXPECT_STREQ(error.what(), "Too many hook ids");
    }
}
} // namespace
