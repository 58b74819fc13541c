// A fixture with one shown window of the widget layer for gadget tests, and an empty event queue.
#pragma once

#include "event/EventQueue.h"
#include "gui/GadgetFactory.h"
#include "gui/WidgetGadget.h"

#include <gtest/gtest.h>

#include <vector>

class WindowFixture : public testing::Test {
protected:
    // Title bar, client-area coordinates, created hidden.
    static constexpr int PlainWindowStyle = 1 | 0x20 | 0x40;

    void SetUp() override
    {
        window = MakeWindow("Test", 0, 0, 300, 200, nullptr, PlainWindowStyle);
        window->SetShow(1);
        ProcessPlatformInput();
        EventQueue.Clear();
    }

    void TearDown() override
    {
        window->Free();
        EventQueue.Clear();
    }

    // Every event queued so far, oldest first.
    std::vector<TEvent> Drain()
    {
        ProcessPlatformInput();
        std::vector<TEvent> events;
        while (EventQueue.Count()) {
            EventQueue.Poll();
            events.push_back(EventQueue.Current());
        }
        return events;
    }

    template <typename W> static W* WidgetOf(TGadget* gadget)
    {
        return static_cast<W*>(TWidgetGadget::From(gadget)->Widget());
    }

    TGadget* window = nullptr;
};
