// Entry point of the widget tests: the widget layer starts once, then GoogleTest runs. Started by hand
// they run headless too, unless the environment names a platform.
#include "gui/GuiDriver.h"

#include <QtGlobal>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    StartGui(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
