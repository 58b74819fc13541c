// One run of the editor's settings in a process of its own, so that a test can run it as another user:
// it loads the settings as the editor does at start, prints what it chose and loaded, then changes the
// background and saves as the editor does at its end.
// Usage: settings_probe <program folder>
#include "gui/GadgetFactory.h"
#include "gui/GuiDriver.h"
#include "settings/WSettings.h"

#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    StartGui(argc, argv);
    if (!QDir::setCurrent(folder))
        return 3;
    TGadget* mainWindow = MakeWindow("Main", 0, 0, 640, 512, nullptr, 1 | 0x20 | 0x40);
    TGadget* mainArea = MakeTextArea(0, 0, 640, 480, mainWindow, 0);
    TWSettings settings;
    settings.Init(mainWindow, mainArea);
    TConfigRecord values = settings.Values();
    std::printf(
        "path=%s\nback=%d,%d,%d\n", qPrintable(settings.ConfigPath()), values.backR, values.backG, values.backB);
    std::fflush(stdout);
    values.backR = 1;
    values.backG = 2;
    values.backB = 3;
    settings.SetValues(values);
    settings.SaveCfg();
    return 0;
}
