// Starting the game and the dedicated server from a command line as the user's desktop shell would.
#pragma once

#include <QString>
#include <QStringList>

// Splits a command line into program and arguments the way the game's own platform does: blanks
// separate, double quotes group (a quote inside quotes is written as two), and backslashes are literal
// unless they precede a double quote (2n backslashes and a quote: n backslashes and a grouping quote;
// 2n + 1: n backslashes and a literal quote). The program name takes no backslash escapes.
QStringList SplitCommandLine(const QString& commandLine);

// The command line for a launch: the path in double quotes, one blank, the arguments as typed.
QString LaunchCommandLine(const QString& path, const QString& arguments);

// Starts the program of the command line detached, without a shell, in the program's own folder (games
// load their data relative to it); a Windows program (its file begins with "MZ") through Wine. A start
// that cannot happen is told in a notification that says why; then the result is false.
bool RunExecutable(const QString& path, const QString& arguments);
