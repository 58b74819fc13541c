// Reading a script file whole, and telling later whether the file on disk is still the one read.
#pragma once

#include "resources/ScriptText.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What identifies a file's content without reading it: the file itself, its size and when it was last
// written. Equal stamps are taken for equal content; a differing stamp is checked against the bytes.
struct TFileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const QString& path);

// A short fingerprint of a file's bytes.
QByteArray Fingerprint(const QByteArray& bytes);

struct TScriptFile {
    TDecodedScript script;
    TFileStamp stamp;
    QByteArray fingerprint;
};

// The script in the file, read whole; nothing when it cannot be read (missing, a folder, a read error)
// or its text would be longer than `capacity` characters. A pipe that sends without end is given up
// soon after the capacity, not held whole.
std::optional<TScriptFile> ReadScriptFile(const QString& path, qsizetype capacity);
