#include "resources/ReplaceFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Follows symbolic links, also to a target that does not exist yet.
QString ResolveLinks(const QString& path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        const QString target = info.symLinkTarget();
        if (target.isEmpty())
            return current;
        current = QFileInfo(target).absoluteFilePath();
    }
    return current;
}

void SyncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

mode_t DefaultMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
} // namespace

bool ReplaceFileSafely(const QString& path, const std::function<void(const QString&)>& write)
{
    const QString target = ResolveLinks(path);
    const QFileInfo targetInfo(target);
    const QByteArray folder = QFile::encodeName(targetInfo.absolutePath());
    const QByteArray targetName = QFile::encodeName(target);
    // Only a file is replaced: a device or a pipe named by the path (or by a link on the way) stays
    // what it is, and the save fails.
    struct stat existing { };
    if (::stat(targetName.constData(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return false;

    QByteArray pattern = folder + "/." + QFile::encodeName(targetInfo.fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;
    const QString temporary = QFile::decodeName(pattern);

    struct stat old { };
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    bool ok = ::fchmod(fd, replacing ? (old.st_mode & 07777) : DefaultMode()) == 0;
    if (ok && replacing && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Keeping the owner works only with the right to give files away; the permissions stay either way.
        [[maybe_unused]] const int kept = ::fchown(fd, old.st_uid, old.st_gid);
    }
    ::close(fd);

    if (ok) {
        try {
            write(temporary);
        } catch (...) {
            ok = false;
        }
    }
    if (ok && ::rename(pattern.constData(), targetName.constData()) != 0)
        ok = false;
    if (!ok) {
        ::unlink(pattern.constData());
        return false;
    }
    SyncFolder(folder);
    return true;
}
