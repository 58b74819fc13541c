// Recovery files: the copy of an unsaved script that lets a modder get their work back after a crash,
// a kill or a power cut.
//
// Each running editor owns at most one file, "<id>.recovery", in the recovery folder, and holds an
// exclusive lock on "<id>.lock" beside it for as long as it runs. The kernel drops the lock when the
// process ends in any way, so a file whose lock can be taken is left over from an editor that is gone.
//
// A file holds a header line, the script's path and text as UTF-16 (the exact text, whatever it holds),
// and a digest of all that, so that a damaged or cut-short file is recognised and never loaded.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

struct TRecoverySnapshot {
    QString path; // the script's file, empty for a new script
    QString text;
    QDateTime time; // when the copy was taken
    bool operator==(const TRecoverySnapshot&) const = default;
};

QByteArray EncodeRecovery(const TRecoverySnapshot& snapshot);
// Null when the bytes are not a whole, undamaged recovery file, or its text is longer than
// `maxTextLength` UTF-16 units.
std::optional<TRecoverySnapshot> DecodeRecovery(QByteArrayView bytes, qsizetype maxTextLength);

// "$XDG_STATE_HOME/tarvane-le/recovery", or "~/.local/state/tarvane-le/recovery" without it.
QString DefaultRecoveryFolder();

// A file left by an editor that is gone.
struct TLeftRecovery {
    QString file;
    // The snapshot, or nothing when the file was damaged, cut short, unreadable or over capacity.
    std::optional<TRecoverySnapshot> snapshot;
};

class TRecoveryStore {
public:
    TRecoveryStore(QString folder, qsizetype maxTextLength);
    ~TRecoveryStore();
    TRecoveryStore(const TRecoveryStore&) = delete;
    TRecoveryStore& operator=(const TRecoveryStore&) = delete;

    const QString& Folder() const { return folder; }
    // This editor's file, once it has one.
    QString File() const;

    // Replaces this editor's file with the snapshot, atomically; the first write takes a file and its
    // lock. False when the folder or the file cannot be written. Safe to call from another thread than
    // the one that calls the rest, as long as the calls do not overlap.
    bool Write(const TRecoverySnapshot& snapshot);
    // Deletes this editor's file, keeping the lock for the next one.
    void Discard();
    // Gives up every lock, deleting those that guard no file: the editor ends.
    void Close();

    // The files no running editor holds, the newest snapshot first and the damaged ones last. Reading
    // them takes their locks, so that a second editor starting now does not offer them too.
    std::vector<TLeftRecovery> FindLeftOver();
    // Makes a left-over file this editor's own: its next Write replaces it. The others found stay locked
    // by this editor and untouched.
    void Adopt(const QString& file);
    // Deletes a left-over file.
    void Remove(const QString& file);
    // Renames a damaged file with ".bad" added, where it is kept and no longer offered. The new name.
    QString SetAside(const QString& file);

private:
    bool Lock(const QString& lockFile);
    void Unlock(const QString& lockFile);

    QString folder;
    qsizetype maxTextLength;
    QString own; // the id of this editor's file; empty until it has one
    std::vector<std::pair<QString, int>> locks; // lock file and its descriptor
};
