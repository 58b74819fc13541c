// Where config.dat lives: beside the program, or in the user's configuration folder when the program's
// folder cannot be written (an installed copy).
#pragma once

#include <QString>

inline constexpr const char* ConfigFileName = "config.dat";
// The folder under the user's configuration folder that holds the file.
inline constexpr const char* ConfigFolderName = "tarvane-le";

// The settings file for a program folder, given the XDG_CONFIG_HOME and HOME values. The program
// folder wins when it is writable and `besideProgram` allows it; otherwise XDG_CONFIG_HOME (only an
// absolute one counts), else HOME's ".config", else the program folder after all. The folder may not
// exist yet; saving creates it.
QString ChooseConfigPath(
    const QString& programFolder, const QString& xdgConfigHome, const QString& home, bool besideProgram = true);

// The choice for the program in `programFolder` with this process's environment.
QString ConfigPathForProgram(const QString& programFolder);

// The choice for this process: the current folder (which is the program's) and its environment. A
// packaged editor is built to keep every user's settings in their own folder, even for root, who could
// write into /usr/bin.
QString ConfigPathForThisRun();
