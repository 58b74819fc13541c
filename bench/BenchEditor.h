// The whole editor started for a benchmark as the program starts it, its settings and recovery copies
// kept in a folder of their own, which is also made the current folder.
#pragma once

#include "app/Application.h"
#include "gui/GuiDriver.h"
#include "resources/EmbeddedFiles.h"
#include "tools/StartupResources.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace bench {
inline void StartEditor(int argc, char** argv, const QTemporaryDir& folder)
{
    QDir::setCurrent(folder.path());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath("xdg")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(folder.filePath("state")));
    RegisterEmbeddedFiles();
    StartGui(argc, argv);
    LoadStartupResources();
    App = new TApplication();
    App->Init();
}
} // namespace bench
