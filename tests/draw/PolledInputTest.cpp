#include "draw/PolledInput.h"

#include "event/Hook.h"

#include <gtest/gtest.h>

namespace {
class PolledInputTest : public testing::Test {
protected:
    void SetUp() override { ResetPolledInput(); }
    void TearDown() override { ResetPolledInput(); }

    static void Emit(int id, int data = 0, int x = 0, int y = 0, TGadget* source = nullptr)
    {
        TEvent::Create(id, source, data, 0, x, y).Emit();
    }

    // Stand-ins for gadgets: the tracker only compares the pointers.
    int tags[2] {};
    TGadget* canvas = reinterpret_cast<TGadget*>(&tags[0]);
    TGadget* other = reinterpret_cast<TGadget*>(&tags[1]);
};
} // namespace

TEST_F(PolledInputTest, MouseKeysCharactersAndWheelFollowTheEvents)
{
    Emit(Event::MouseDown, 1); // not enabled yet
    EXPECT_EQ(PolledMouseDown(1), 0);

    EnablePolledInput(nullptr);
    Emit(Event::MouseMove, 0, 120, 45, canvas);
    Emit(Event::MouseMove, 0, 121, 47, other);
    EXPECT_EQ(std::pair(PolledMouseX(), PolledMouseY()), std::pair(121, 47));

    Emit(Event::MouseDown, 1);
    Emit(Event::MouseDown, 3);
    Emit(Event::MouseDown, 7); // out of range: ignored
    Emit(Event::MouseUp, 1);
    EXPECT_EQ(std::tuple(PolledMouseDown(1), PolledMouseDown(2), PolledMouseDown(3), PolledMouseDown(7)),
        std::tuple(0, 0, 1, 0));

    Emit(Event::KeyDown, 65);
    Emit(Event::KeyDown, 255);
    Emit(Event::KeyDown, 256);
    Emit(Event::KeyUp, 65);
    EXPECT_EQ(std::tuple(PolledKeyDown(65), PolledKeyDown(255), PolledKeyDown(256)), std::tuple(0, 1, 0));

    Emit(Event::MouseWheel, 2);
    Emit(Event::MouseWheel, -3);
    EXPECT_EQ(PolledMouseWheel(), -1);

    // The queue holds 256 characters; later ones are dropped, and it wraps around cleanly.
    Emit(Event::KeyChar, 'h');
    EXPECT_EQ(PolledGetChar(), 'h');
    for (int i = 0; i < 300; ++i)
        Emit(Event::KeyChar, 1000 + i);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(PolledGetChar(), 1000 + i);
    EXPECT_EQ(PolledGetChar(), 0);
}

TEST_F(PolledInputTest, SuspendAndResumeClearEverythingButThePointer)
{
    EnablePolledInput(nullptr);
    for (int id : { Event::AppSuspend, Event::AppResume }) {
        Emit(Event::MouseMove, 0, 3, 4);
        Emit(Event::MouseDown, 2);
        Emit(Event::KeyDown, 13);
        Emit(Event::KeyChar, 'x');
        Emit(Event::MouseWheel, 1);
        Emit(id);
        EXPECT_EQ(std::tuple(PolledMouseDown(2), PolledKeyDown(13), PolledGetChar(), PolledMouseWheel()),
            std::tuple(0, 0, 0, 0));
        EXPECT_EQ(std::pair(PolledMouseX(), PolledMouseY()), std::pair(3, 4));
    }
}

TEST_F(PolledInputTest, ASourceLimitsTrackingToItsOwnEvents)
{
    EnablePolledInput(canvas);
    Emit(Event::MouseMove, 0, 50, 60, canvas);
    Emit(Event::MouseMove, 0, 1, 1, other);
    Emit(Event::MouseDown, 1, 0, 0, other);
    Emit(Event::MouseDown, 1, 0, 0, nullptr);
    EXPECT_EQ(std::pair(PolledMouseX(), PolledMouseY()), std::pair(50, 60));
    EXPECT_EQ(PolledMouseDown(1), 0);
    Emit(Event::MouseDown, 1, 0, 0, canvas);
    EXPECT_EQ(PolledMouseDown(1), 1);

    // Enabling again only changes the source: events are not recorded twice.
    EnablePolledInput(nullptr);
    Emit(Event::KeyChar, 'a', 0, 0, other);
    EXPECT_EQ(TPolledInput::Instance().QueuedChars(), 1);
}

TEST_F(PolledInputTest, TheTrackerRunsAheadOfTheQueueAndPassesTheEventOn)
{
    struct Seen {
        void* event = nullptr;
        int mouseXThen = -1;
    } seen;
    THookFunction queueStandIn = [](int, void* data, void* context) -> void* {
        *static_cast<Seen*>(context) = { data, PolledMouseX() };
        return data;
    };
    RegisterHook(EventEmitHookId(), queueStandIn, &seen, -10000);
    EnablePolledInput(nullptr);
    TEvent move = TEvent::Create(Event::MouseMove, nullptr, 0, 0, 77, 8);
    move.Emit();
    RemoveHook(EventEmitHookId(), queueStandIn, &seen);
    EXPECT_EQ(seen.event, &move);
    EXPECT_EQ(seen.mouseXThen, 77);
}
