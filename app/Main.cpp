// Program start: embedded files, the library layers, the shared images and font, then the application.
#include "app/Application.h"
#include "app/CheckCommand.h"
#include "app/CommandLine.h"
#include "app/EndSignals.h"
#include "draw/PolledInput.h"
#include "gui/GuiDriver.h"
#include "resources/EmbeddedFiles.h"
#include "tools/StartupResources.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <climits>
#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {
// The folder of the executable, with its final "/"; empty when the system does not say.
std::string ExecutableFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return {};
    std::string folder(path, static_cast<std::size_t>(length));
    folder.erase(folder.find_last_of('/') + 1);
    return folder;
}

// Relative paths (the settings file, launched programs' working directory) refer to the folder of the
// executable for the whole run.
void EnterExecutableDirectory()
{
    const std::string folder = ExecutableFolder();
    if (folder.empty() || chdir(folder.c_str()) != 0)
        return;
}
} // namespace

int main(int argc, char** argv)
{
    // The command line first: --help, --version and mistakes are answered without a window.
    TCommandLine line = ParseCommandLine(argc, argv);
    switch (line.action) {
    case TCommandLine::Action::Help:
    case TCommandLine::Action::Version:
        std::fputs(line.output.toLocal8Bit().constData(), stdout);
        return 0;
    case TCommandLine::Action::Check:
        return RunCheckCommand(line.checkFiles, QFile::decodeName(ExecutableFolder().c_str()), stdout, stderr);
    case TCommandLine::Action::Error:
        std::fputs(line.output.toLocal8Bit().constData(), stderr);
        return 2;
    case TCommandLine::Action::Run:
        std::fputs(line.output.toLocal8Bit().constData(), stderr);
        break;
    }

    // A file-size limit must make a save fail, not end the editor with the script unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    // A script named on the command line is relative to the folder the editor was started from.
    const QString startFolder = QDir::currentPath();
    char startFolderName[PATH_MAX];
    const bool startFolderExact = ::getcwd(startFolderName, sizeof startFolderName)
        && QFile::encodeName(startFolder) == QByteArray(startFolderName);
    EnterExecutableDirectory();
    RegisterEmbeddedFiles();
    // Qt gets its own options only, and keeps them for the whole run.
    int guiArgc = int(line.guiArguments.size());
    line.guiArguments.push_back(nullptr);
    StartGui(guiArgc, line.guiArguments.data());
    EnablePolledInput(nullptr);
    LoadStartupResources();
    App = new TApplication();
    App->Init();
    // Ended by the system, the editor keeps unsaved changes for the next start first.
    WatchEndSignals([](int signal) { App->EndBySignal(signal); });
    OnSessionEnd([] { App->KeepUnsavedWorkNow(); });
    // Work taken back from a crashed editor comes first; the script named is not loaded over it.
    if (!line.script.isEmpty() && App->Recovered) {
        std::fprintf(stderr, "tarvane-le: the recovered script is open; %s was not loaded\n",
            QFile::encodeName(line.script).constData());
    } else if (!line.script.isEmpty()) {
        // A name that does not survive the trip into text and back could name another file: never open
        // a different file than the one named.
        if (!line.scriptNameExact || (!line.script.startsWith(QLatin1Char('/')) && !startFolderExact))
            App->ReportOpenFailure();
        else
            App->LoadFile(QDir(startFolder).absoluteFilePath(line.script));
    }
    App->Run();
}
