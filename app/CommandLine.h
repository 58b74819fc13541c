// The editor's command line: one optional script, --help, --version, --check and Qt's own options. Read
// before anything starts, so that the answers need no display and touch no settings.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct TCommandLine {
    enum class Action { Run, Help, Version, Check, Error };
    Action action = Action::Run;
    // What to print: on standard output for Help and Version, on standard error for Error and for
    // scripts ignored by a Run.
    QString output;
    // The scripts --check checks, as named.
    QStringList checkFiles;
    // The script to open, empty for none.
    QString script;
    // False when the script's name does not survive decoding and encoding unchanged: it could name
    // another file than the one given, so none is opened.
    bool scriptNameExact = true;
    // The program's name and Qt's standard options before "--" (-style Fusion, -platform xcb, -reverse,
    // ...), with their values: the arguments the application object is made with. They point into argv.
    std::vector<char*> guiArguments;
};

TCommandLine ParseCommandLine(int argc, char** argv);
