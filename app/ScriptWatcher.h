// Watches the open script's file, and its folder for a file put in its place, so that the loop notices
// changes made by other programs without looking at the disk on every pass.
#pragma once

#include <QString>

#include <memory>

class QFileSystemWatcher;

class TScriptWatcher {
public:
    TScriptWatcher();
    ~TScriptWatcher();
    TScriptWatcher(const TScriptWatcher&) = delete;
    TScriptWatcher& operator=(const TScriptWatcher&) = delete;

    // Watches this file from now on; "" watches nothing.
    void Watch(const QString& path);
    // True once after the file or its folder changed; the file is watched again if it was replaced.
    bool TakeNotice();

private:
    std::unique_ptr<QFileSystemWatcher> watcher;
    QString path;
    bool noticed = false;
};
