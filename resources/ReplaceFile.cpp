#include "resources/ReplaceFile.h"

#include "resources/ProcessStart.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void (*ReplaceFileBeforeRename)(const QString& temporaryPath) = nullptr;

namespace {
// How many times a save is tried when its temporary file's name was swapped under it.
constexpr int Attempts = 3;

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
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// ".NAME." followed by the six letters and digits mkstemp puts there.
bool IsTemporaryOf(const char* entry, const QByteArray& prefix)
{
    if (std::strncmp(entry, prefix.constData(), size_t(prefix.size())) != 0)
        return false;
    const char* rest = entry + prefix.size();
    int letters = 0;
    for (; rest[letters]; ++letters) {
        const char c = rest[letters];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return letters == 6;
}

// Removes the temporary files of `name` that a killed save left: plain files (never what a link points
// to) of this user or of the file's owner, written before this process started.
void RemoveLeftOverTemporaries(const QByteArray& folder, const QByteArray& name, const struct stat* old)
{
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    DIR* entries = ::fdopendir(dir);
    if (!entries) {
        ::close(dir);
        return;
    }
    const QByteArray prefix = '.' + name + '.';
    while (const dirent* entry = ::readdir(entries)) {
        if (!IsTemporaryOf(entry->d_name, prefix))
            continue;
        struct stat info { };
        if (::fstatat(dir, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
            continue;
        const bool ours = info.st_uid == ::geteuid() || (old && info.st_uid == old->st_uid);
        // This editor never leaves its own behind: an older one was left by an editor that is gone.
        if (ours && BeforeProcessStart(info.st_mtim))
            ::unlinkat(dir, entry->d_name, 0);
    }
    ::closedir(entries);
}

enum class Outcome { Done, Failed, Swapped };

// One try: a new temporary file, written, synced, given the old file's mode and owner, renamed over the
// target, and the target checked to be that file.
Outcome WriteAndRename(const QByteArray& folder, const QByteArray& targetName, const QByteArray& fileName,
    const struct stat* old, const std::function<void(std::unique_ptr<TCStream>)>& write)
{
    QByteArray pattern = folder + "/." + fileName + ".XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return Outcome::Failed;
    bool ok = true;
    try {
        write(TCStream::FromDescriptor(::fcntl(fd, F_DUPFD_CLOEXEC, 0), TCStream::Mode::Write));
    } catch (...) {
        ok = false;
    }
    ok = ok && ::fsync(fd) == 0;
    // Only now, with every byte on the disk, may the file be opened to others or given away.
    ok = ok && ::fchmod(fd, old ? (old->st_mode & 07777) : DefaultMode()) == 0;
    if (ok && old && (old->st_uid != ::geteuid() || old->st_gid != ::getegid())) {
        // Keeping the owner works only with the right to give files away; the permissions stay either way.
        [[maybe_unused]] const int kept = ::fchown(fd, old->st_uid, old->st_gid);
    }
    if (ok && ReplaceFileBeforeRename)
        ReplaceFileBeforeRename(QFile::decodeName(pattern));
    if (!ok || ::rename(pattern.constData(), targetName.constData()) != 0) {
        // Removes the name, whatever it holds now; a link there is removed, never followed.
        ::unlink(pattern.constData());
        ::close(fd);
        return Outcome::Failed;
    }
    struct stat written { };
    struct stat placed { };
    const bool ours
        = ::fstat(fd, &written) == 0 && ::lstat(targetName.constData(), &placed) == 0 && SameFile(written, placed);
    ::close(fd);
    return ours ? Outcome::Done : Outcome::Swapped;
}
} // namespace

bool ReplaceFileSafely(const QString& path, const std::function<void(std::unique_ptr<TCStream>)>& write)
{
    // Resolved once: a link planted later in the script's place is never followed.
    const QString target = ResolveLinks(path);
    const QFileInfo targetInfo(target);
    const QByteArray folder = QFile::encodeName(targetInfo.absolutePath());
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray fileName = QFile::encodeName(targetInfo.fileName());
    // Only a file is replaced: a device or a pipe named by the path (or by a link on the way) stays
    // what it is, and the save fails.
    struct stat old { };
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        return false;
    // A file the user may not write to is not replaced either, although the folder would let it be.
    if (replacing && ::faccessat(AT_FDCWD, targetName.constData(), W_OK, AT_EACCESS) != 0)
        return false;
    RemoveLeftOverTemporaries(folder, fileName, replacing ? &old : nullptr);

    for (int attempt = 0; attempt < Attempts; ++attempt) {
        switch (WriteAndRename(folder, targetName, fileName, replacing ? &old : nullptr, write)) {
        case Outcome::Done:
            SyncFolder(folder);
            return true;
        case Outcome::Failed:
            return false;
        case Outcome::Swapped:
            break;
        }
    }
    // Whoever swapped the names keeps winning. What stands at the script's name now is not the script
    // and not the user's old file; a link there would send the next save wherever it points.
    struct stat placed { };
    if (::lstat(targetName.constData(), &placed) == 0 && S_ISLNK(placed.st_mode))
        ::unlink(targetName.constData());
    return false;
}
