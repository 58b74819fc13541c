// Entry point of the widget tests: the widget layer starts once, then GoogleTest runs.
#include "gui/GuiDriver.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    StartGui(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
