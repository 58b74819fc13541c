// Replacing a file without ever destroying the old one: the new content goes to a temporary file in the
// same folder, is synced to disk and then renamed over the old file in one step.
//
// Written by hand on purpose, not with QSaveFile: on the Qt we build with, QSaveFile::commit() reported
// success after a short write on a full disk and put the truncated file in place of the old one. Here
// every write's count is checked by the caller's writer and nothing is renamed unless all of it got
// through.
//
// The folder may belong to someone else (root saving a modder's script), who can rename and plant
// entries in it at any moment. So the temporary file is only ever reached through the descriptor that
// created it, it gets the old file's owner and mode only once its bytes are on the disk, and after the
// rename the name is checked to hold that very file: a name swapped for a link in between is caught,
// the save is tried again, and a link is never left standing in place of the script.
#pragma once

#include "resources/CStream.h"

#include <QString>

#include <functional>
#include <memory>

// Writes `path` through `write`, which gets a stream on the new temporary file and must write all of it
// and close the stream, throwing (a TStreamException or anything else) on any failure; the file is
// synced here. The replaced file keeps its permissions and, where the editor may give files away, its
// owner; a new file gets the usual permissions (0666 less the umask); a symbolic link is written
// through to its target. False on any failure, with the old file untouched and the temporary file
// removed, and when the path names something that is not a file (a device, a pipe, a folder).
//
// Temporary files of the same name left behind by an editor that was killed while saving (".NAME.XXXXXX",
// older than this process) are removed first.
bool ReplaceFileSafely(const QString& path, const std::function<void(std::unique_ptr<TCStream> file)>& write);

// Called, when set, with the temporary file's path once it is written and right before it is renamed
// over the file: tests race the rename through it.
extern void (*ReplaceFileBeforeRename)(const QString& temporaryPath);
