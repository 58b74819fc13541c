// The recovery folder: where each running editor keeps the copy of its unsaved script.
//
// Each running editor owns at most one file, "<id>.recovery", and holds an exclusive lock on "<id>.lock"
// beside it for as long as it runs. The kernel drops the lock when the process ends in any way, so a
// file whose lock can be taken is left over from an editor that is gone.
//
// The folder holds unsaved work and decides what a Yes at the recovery question saves where, so it is
// trusted only when it is this user's own: a folder (not a link to one) owned by the effective user and
// closed to everyone else. It is opened once and every file in it is reached through that descriptor,
// never through a link, and a left-over copy is read only when it is a plain file of this user's, of a
// size a copy can have. A folder that fails this keeps no copies, and says why.
#pragma once

#include "resources/RecoveryFile.h"

#include <QString>

#include <mutex>
#include <optional>
#include <vector>

// A file left by an editor that is gone.
struct TLeftRecovery {
    QString file;
    // The snapshot, or nothing when the file was damaged, cut short, unreadable, over capacity, not a plain
    // file or another user's.
    std::optional<TRecoverySnapshot> snapshot;
};

// What became of a copy: kept, or why not.
struct TRecoveryWrite {
    bool kept = false;
    QString problem;
};

// Tests stand in for a full disk through this: when set, each write of a copy's bytes asks it first and
// fails with the error number it returns (0 lets the write through). `inPlace` tells an overwrite of the
// old copy from a new temporary file.
extern int (*RecoveryWriteFault)(bool inPlace);

class TRecoveryStore {
public:
    TRecoveryStore(QString folder, qsizetype maxTextLength);
    ~TRecoveryStore();
    TRecoveryStore(const TRecoveryStore&) = delete;
    TRecoveryStore& operator=(const TRecoveryStore&) = delete;

    const QString& Folder() const { return folder; }
    // This editor's file, once it has one.
    QString File() const;

    // Replaces this editor's file with the snapshot, atomically; the first write creates the folder and
    // takes a file and its lock. Copies may be written from several threads at once: `order` says which
    // is newer (0: newer than any so far), and a copy that finishes after a newer one was placed is
    // dropped, counting as kept. When the disk has no room for a second copy beside the old one, the
    // old one is overwritten in place, provided its room can be reserved first.
    TRecoveryWrite Write(const TRecoverySnapshot& snapshot, quint64 order = 0);
    // Syncs the folder once a copy was placed under a new name, so that the name survives a power cut
    // too. Apart from Write, so that a writer may start on the next copy meanwhile.
    void SyncNewName();
    // Deletes this editor's file, keeping the lock for the next one.
    void Discard();
    // Gives up every lock, deleting those that guard no file: the editor ends.
    void Close();

    // The files no running editor holds, the newest snapshot first and the unusable ones last. Reading
    // them takes their locks, so that a second editor starting now does not offer them too. Temporary
    // files that a killed editor left half written are removed.
    std::vector<TLeftRecovery> FindLeftOver();
    // Why the folder cannot be used, once that was found (at the start, or by the last copy written);
    // empty otherwise.
    QString Problem() const;
    // Makes a left-over file this editor's own: its next Write replaces it. The others found stay locked
    // by this editor and untouched.
    void Adopt(const QString& file);
    // Deletes a left-over file.
    void Remove(const QString& file);
    // Renames an unusable file with ".bad" added, where it is kept and no longer offered. The new name.
    QString SetAside(const QString& file);

private:
    // Opens the folder (creating it when asked) and checks that it is this user's own; false, with the
    // problem recorded, when it is not.
    bool OpenFolder(bool create);
    // The lock of that name when this editor holds it, else the end of `locks`.
    std::vector<std::pair<QString, int>>::iterator Held(const QString& lockName);
    bool Lock(const QString& lockName);
    void Unlock(const QString& lockName);
    bool Exists(const QString& name) const;
    std::optional<TRecoverySnapshot> ReadLeftOver(const QString& name) const;
    void RemoveLeftOverTemporaries(const std::vector<QString>& names);
    // Overwrites this editor's file with `bytes` where it stands, without needing room for a second copy.
    bool OverwriteInPlace(const QString& name, const QByteArray& bytes);

    QString folder;
    qsizetype maxTextLength;
    // Guards everything below; never held while a copy's bytes go to the disk.
    mutable std::mutex mutex;
    int dir = -1;
    QString problem;
    QString own; // the id of this editor's file; empty until it has one
    std::vector<std::pair<QString, int>> locks; // lock file name and its descriptor
    quint64 newest = 0; // the highest order handed to Write
    quint64 placed = 0; // the order of the copy in place
    bool nameDurable = false; // this editor's file has a name that survives a power cut (or soon will)
    bool syncDue = false; // a copy got a new name and the folder is not synced yet
    std::vector<int> retired; // folder descriptors of a folder that was removed
};
