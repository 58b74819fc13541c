// Replacing a file without ever destroying the old one: the new content goes to a temporary file in the
// same folder, is synced to disk and then renamed over the old file in one step.
//
// Written by hand on purpose, not with QSaveFile: on the Qt we build with, QSaveFile::commit() reported
// success after a short write on a full disk and put the truncated file in place of the old one. Here
// every write's count is checked by the caller's writer and nothing is renamed unless all of it got
// through.
#pragma once

#include <QString>

#include <functional>

// Writes `path` through `write`, which gets the temporary file's path and must write, sync and close it,
// throwing (a TStreamException or anything else) on any failure. The replaced file keeps its
// permissions; a new file gets the usual ones (0666 less the umask); a symbolic link is written through
// to its target. False on any failure, with the old file untouched and the temporary file removed, and
// when the path names something that is not a file (a device, a pipe, a folder).
bool ReplaceFileSafely(const QString& path, const std::function<void(const QString& temporaryPath)>& write);
