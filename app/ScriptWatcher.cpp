#include "app/ScriptWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

TScriptWatcher::TScriptWatcher() = default;

TScriptWatcher::~TScriptWatcher() = default;

void TScriptWatcher::Watch(const QString& file)
{
    path = file;
    noticed = false;
    if (!watcher) {
        if (path.isEmpty())
            return;
        watcher = std::make_unique<QFileSystemWatcher>();
        QObject::connect(watcher.get(), &QFileSystemWatcher::fileChanged, [this] { noticed = true; });
        QObject::connect(watcher.get(), &QFileSystemWatcher::directoryChanged, [this] { noticed = true; });
    }
    if (const QStringList watched = watcher->files() + watcher->directories(); !watched.isEmpty())
        watcher->removePaths(watched);
    if (path.isEmpty())
        return;
    watcher->addPath(QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path))
        watcher->addPath(path);
}

bool TScriptWatcher::TakeNotice()
{
    if (!noticed)
        return false;
    noticed = false;
    // A file replaced by a rename, or removed and written anew, is another file to the system.
    if (watcher && !path.isEmpty() && !watcher->files().contains(path) && QFileInfo::exists(path))
        watcher->addPath(path);
    return true;
}
