#include "settings/ConfigLocation.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {
// A folder we may create files in; access() also answers for root and for read-only mounts.
bool FolderWritable(const QString& folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}
} // namespace

QString ChooseConfigPath(
    const QString& programFolder, const QString& xdgConfigHome, const QString& home, bool besideProgram)
{
    const QString name = QString::fromLatin1(ConfigFileName);
    if (besideProgram && FolderWritable(programFolder))
        return QDir(programFolder).filePath(name);
    QString base;
    if (!xdgConfigHome.isEmpty() && QDir::isAbsolutePath(xdgConfigHome))
        base = xdgConfigHome;
    else if (!home.isEmpty())
        base = QDir(home).filePath(QStringLiteral(".config"));
    else // nowhere to go: stay beside the program and run on the defaults
        return QDir(programFolder).filePath(name);
    return QDir(QDir(base).filePath(QString::fromLatin1(ConfigFolderName))).filePath(name);
}

QString ConfigPathForProgram(const QString& programFolder)
{
#ifdef TLE_SETTINGS_IN_USER_FOLDER
    const bool besideProgram = false;
#else
    const bool besideProgram = true;
#endif
    return ChooseConfigPath(
        programFolder, qEnvironmentVariable("XDG_CONFIG_HOME"), qEnvironmentVariable("HOME"), besideProgram);
}

QString ConfigPathForThisRun()
{
    return ConfigPathForProgram(QDir::currentPath());
}
