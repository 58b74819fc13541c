// tarvane-le --check FILE...: the editor's checks on the command line, for scripts about to go onto a
// server. Runs before anything of the editor starts: no window, no display, and the settings are only
// read (the user's added hooks, the game's folder), never created or written.
#pragma once

#include <QString>
#include <QStringList>

#include "resources/HookCatalogue.h"

#include <cstdio>
#include <vector>

// The hooks the user added in the file at `path`; none when it is missing. What is wrong with the file
// (unreadable, a line that names no hook) goes into `problems`, one message each, naming the file.
std::vector<TGameHook> LoadExtraHooks(const QString& path, QStringList& problems);

// Prints each problem of each file to `out` as "FILE:LINE:COLUMN: error|warning|hint: message" (line and
// column from 1, the column in characters), what keeps a file from being checked to `err`. Returns the
// exit status: 0 without errors, 1 when a script has an error, 2 when a script cannot be read.
// `programFolder` is the executable's folder, where the settings may be.
int RunCheckCommand(const QStringList& files, const QString& programFolder, std::FILE* out, std::FILE* err);
