// Program start: embedded files, the library layers, the shared images and font, then the application.
#include "app/Application.h"
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
// Relative paths (the settings file, launched programs' working directory) refer to the folder of the
// executable for the whole run.
void EnterExecutableDirectory()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return;
    std::string folder(path, static_cast<std::size_t>(length));
    folder.erase(folder.find_last_of('/') + 1);
    if (chdir(folder.c_str()) != 0)
        return;
}
} // namespace

int main(int argc, char** argv)
{
    // A file-size limit must make a save fail, not end the editor with the script unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    // A script named on the command line is relative to the folder the editor was started from.
    const QString startFolder = QDir::currentPath();
    const QByteArray startFolderBytes = QFile::encodeName(startFolder);
    char startFolderName[PATH_MAX];
    const bool startFolderKept
        = ::getcwd(startFolderName, sizeof startFolderName) && startFolderBytes == QByteArray(startFolderName);
    EnterExecutableDirectory();
    RegisterEmbeddedFiles();
    StartGui(argc, argv);
    EnablePolledInput(nullptr);
    LoadStartupResources();
    App = new TApplication();
    App->Init();
    // Work taken back from a crashed editor comes first; the script named is not loaded over it.
    if (argc > 1 && App->Recovered)
        std::fprintf(stderr, "tarvane-le: the recovered script is open; %s was not loaded\n", argv[1]);
    else if (argc > 1) {
        // A name that does not survive the trip into text and back could name another file: never open
        // a different file than the one named.
        const QByteArray named(argv[1]);
        const QString name = QFile::decodeName(named);
        if (QFile::encodeName(name) != named || (!named.startsWith('/') && !startFolderKept))
            App->ReportOpenFailure();
        else
            App->LoadFile(QDir(startFolder).absoluteFilePath(name));
    }
    App->Run();
}
