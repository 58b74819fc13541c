// The widget layer's driver: starting the layer, creating gadgets, and the desktop.
#pragma once

#include "gui/Gadget.h"

#include <QString>

#include <functional>

// Starts the widget layer once per process: the platform application (given Qt's own options), one look
// (Fusion, unless the options ask for another style, and a GUI font sized for the program's fixed
// geometry), the hot-key table, and the event queue listening on the event chain with its input pump.
void StartGui(int& argc, char** argv);
bool GuiStarted();

// The screen; the group of every top-level window.
TGadget* Desktop();

// Creates a gadget of a class in `group` (null: the desktop) and gives it its text, shape, the default
// GUI font and visibility. Null when the class cannot be created.
TGadget* CreateGadget(
    GadgetClass gadgetClass, const QString& text, int x, int y, int w, int h, TGadget* group, int style);

// The gadget that has the keyboard focus, or null.
TGadget* ActiveGadget();

// Calls `keep` when the desktop session ends (a logout or shutdown asks programs to keep their data);
// the session may end the process afterwards or carry on.
void OnSessionEnd(std::function<void()> keep);

// Processes pending platform input once (tests use it to let the platform settle).
void ProcessPlatformInput();
