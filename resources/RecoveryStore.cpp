#include "resources/RecoveryStore.h"

#include "resources/ProcessStart.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

int (*RecoveryWriteFault)(bool inPlace) = nullptr;

namespace {
const QString Suffix = QStringLiteral(".recovery");
const QString LockSuffix = QStringLiteral(".lock");
const QString BadSuffix = QStringLiteral(".bad");
// What follows ".<id>.recovery." in a temporary file's name.
constexpr int TemporaryLetters = 6;

QByteArray Name(const QString& name)
{
    return QFile::encodeName(name);
}

QString ErrorText(int error)
{
    return QString::fromStdString(std::error_code(error, std::generic_category()).message());
}

bool NoRoom(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

QString LockOf(const QString& name)
{
    return name.chopped(Suffix.size()) + LockSuffix;
}

QString TemporaryName(const QString& name)
{
    static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < TemporaryLetters; ++i)
        suffix += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))]);
    return QLatin1Char('.') + name + QLatin1Char('.') + suffix;
}

// The id in ".<id>.recovery.XXXXXX", or nothing.
QString IdOfTemporary(const QString& name)
{
    const QString middle = Suffix + QLatin1Char('.');
    if (!name.startsWith(QLatin1Char('.')) || name.size() < 1 + middle.size() + TemporaryLetters)
        return {};
    const qsizetype at = name.size() - TemporaryLetters - middle.size();
    if (at < 2 || name.mid(at, middle.size()) != middle)
        return {};
    return name.mid(1, at - 1);
}

// Writes all of `bytes` at the start of the file and syncs it; 0, or the error that stopped it.
int WriteAll(int fd, const QByteArray& bytes, bool inPlace)
{
    if (RecoveryWriteFault) {
        if (const int error = RecoveryWriteFault(inPlace))
            return error;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        done += n;
    }
    if (inPlace && ::ftruncate(fd, off_t(bytes.size())) != 0)
        return errno;
    return ::fsync(fd) == 0 ? 0 : errno;
}

// A plain file of this user's, not reached through a link.
bool OwnPlainFile(int fd, struct stat& info)
{
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

// The names in a folder, sorted.
std::vector<QString> Entries(int dir)
{
    std::vector<QString> names;
    const int listed = ::fcntl(dir, F_DUPFD_CLOEXEC, 0);
    DIR* entries = listed < 0 ? nullptr : ::fdopendir(listed);
    if (!entries) {
        if (listed >= 0)
            ::close(listed);
        return names;
    }
    ::rewinddir(entries);
    while (const dirent* entry = ::readdir(entries))
        names.push_back(QFile::decodeName(entry->d_name));
    ::closedir(entries);
    std::sort(names.begin(), names.end());
    return names;
}

// Creates the folder and those above it that are missing, each closed to others; 0 or the error.
int MakeFolders(const QByteArray& path)
{
    if (::mkdir(path.constData(), 0700) == 0 || errno == EEXIST)
        return 0;
    if (errno != ENOENT)
        return errno;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash <= 0)
        return ENOENT;
    if (const int error = MakeFolders(path.left(slash)))
        return error;
    return ::mkdir(path.constData(), 0700) == 0 || errno == EEXIST ? 0 : errno;
}
} // namespace

TRecoveryStore::TRecoveryStore(QString recoveryFolder, qsizetype maxLength)
    : folder(std::move(recoveryFolder))
    , maxTextLength(maxLength)
{
}

TRecoveryStore::~TRecoveryStore()
{
    Close();
    if (dir >= 0)
        ::close(dir);
    for (const int old : retired)
        ::close(old);
}

bool TRecoveryStore::OpenFolder(bool create)
{
    if (dir >= 0)
        return true;
    const QByteArray path = QFile::encodeName(folder);
    if (create) {
        if (const int error = MakeFolders(path)) {
            problem = QStringLiteral("cannot create the folder: %1 (%2)").arg(ErrorText(error), folder);
            return false;
        }
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat info { };
        if (::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode))
            problem = QStringLiteral("the folder is a symbolic link (%1)").arg(folder);
        else if ((error == ENOENT || error == ENOTDIR) && !create)
            return false; // nothing was ever kept; a copy says what stands in the way
        else
            problem = QStringLiteral("cannot open the folder: %1 (%2)").arg(ErrorText(error), folder);
        return false;
    }
    struct stat info { };
    if (::fstat(fd, &info) != 0 || info.st_uid != ::geteuid()) {
        ::close(fd);
        problem = QStringLiteral("the folder belongs to another user (%1)").arg(folder);
        return false;
    }
    if ((info.st_mode & 077) != 0 && ::fchmod(fd, 0700) != 0) {
        const int error = errno;
        ::close(fd);
        problem = QStringLiteral("cannot close the folder to other users: %1 (%2)").arg(ErrorText(error), folder);
        return false;
    }
    dir = fd;
    problem.clear();
    return true;
}

QString TRecoveryStore::Problem() const
{
    std::lock_guard lock(mutex);
    return problem;
}

QString TRecoveryStore::File() const
{
    std::lock_guard lock(mutex);
    return own.isEmpty() ? QString() : folder + QLatin1Char('/') + own + Suffix;
}

bool TRecoveryStore::Exists(const QString& name) const
{
    struct stat info { };
    return ::fstatat(dir, Name(name).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

std::vector<std::pair<QString, int>>::iterator TRecoveryStore::Held(const QString& lockName)
{
    return std::find_if(locks.begin(), locks.end(), [&](const auto& lock) { return lock.first == lockName; });
}

bool TRecoveryStore::Lock(const QString& lockName)
{
    if (Held(lockName) != locks.end())
        return true;
    const int fd
        = ::openat(dir, Name(lockName).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    struct stat info { };
    if (!OwnPlainFile(fd, info) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    locks.emplace_back(lockName, fd);
    return true;
}

void TRecoveryStore::Unlock(const QString& lockName)
{
    const auto it = Held(lockName);
    if (it == locks.end())
        return;
    // Removed while still held, so that no other editor can take the name in between.
    ::unlinkat(dir, Name(lockName).constData(), 0);
    ::close(it->second);
    locks.erase(it);
}

void TRecoveryStore::Close()
{
    std::lock_guard lock(mutex);
    // A lock that guards no file is only clutter; the files left keep theirs for the next editor.
    for (const auto& [lockName, fd] : locks) {
        if (!Exists(lockName.chopped(LockSuffix.size()) + Suffix))
            ::unlinkat(dir, Name(lockName).constData(), 0);
        ::close(fd);
    }
    locks.clear();
    own.clear();
}

TRecoveryWrite TRecoveryStore::Write(const TRecoverySnapshot& snapshot, quint64 order)
{
    std::unique_lock lock(mutex);
    const quint64 mine = order ? order : newest + 1;
    newest = std::max(newest, mine);
    if (!OpenFolder(true))
        return { false, problem };
    if (own.isEmpty()) {
        const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        if (!Lock(id + LockSuffix)) {
            problem = QStringLiteral("cannot lock a file in the folder: %1 (%2)").arg(ErrorText(errno), folder);
            return { false, problem };
        }
        own = id;
        nameDurable = false;
        syncDue = false;
    }
    const QString name = own + Suffix;
    const int folderFd = dir;
    lock.unlock();

    // The bytes go to a new file beside the copy, which replaces it only once they are all on the disk.
    const QByteArray bytes = EncodeRecovery(snapshot);
    QString temporary;
    int fd = -1;
    for (int tries = 0; tries < 100 && fd < 0; ++tries) {
        temporary = TemporaryName(name);
        fd = ::openat(
            folderFd, Name(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    int error = fd < 0 ? errno : WriteAll(fd, bytes, false);
    if (fd >= 0)
        ::close(fd);

    lock.lock();
    if (error == 0 && mine > placed
        && ::renameat(folderFd, Name(temporary).constData(), folderFd, Name(name).constData()) != 0)
        error = errno;
    if (fd >= 0 && (error != 0 || mine <= placed))
        ::unlinkat(folderFd, Name(temporary).constData(), 0);
    if (mine <= placed)
        return { true, {} }; // a newer copy got there first
    if (error == 0 || (NoRoom(error) && Exists(name) && OverwriteInPlace(name, bytes))) {
        placed = mine;
        problem.clear();
        if (!nameDurable)
            syncDue = nameDurable = true;
        return { true, {} };
    }
    // The folder was removed: the next copy makes it again, with a new file and lock in it.
    if (error == ENOENT) {
        for (const auto& held : locks)
            ::close(held.second);
        locks.clear();
        own.clear();
        // Another copy may be on its way through this descriptor: it stays open, unused, until the end.
        retired.push_back(dir);
        dir = -1;
    }
    problem = QStringLiteral("cannot write to the folder: %1 (%2)").arg(ErrorText(error), folder);
    return { false, problem };
}

void TRecoveryStore::SyncNewName()
{
    std::unique_lock lock(mutex);
    if (!syncDue || dir < 0)
        return;
    syncDue = false;
    const int folderFd = dir;
    lock.unlock();
    // A replaced name may come back as the old copy after a power cut, which is a copy still; a new one
    // must reach the disk itself.
    if (::fsync(folderFd) != 0) {
        lock.lock();
        nameDurable = false;
    }
}

bool TRecoveryStore::OverwriteInPlace(const QString& name, const QByteArray& bytes)
{
    const int fd = ::openat(dir, Name(name).constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info { };
    // A copy overwritten half way is lost: the room it grows into is taken first, or nothing is done.
    bool ok = OwnPlainFile(fd, info)
        && (bytes.size() <= info.st_size || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(bytes.size())) == 0)
        && WriteAll(fd, bytes, true) == 0;
    ::close(fd);
    return ok;
}

void TRecoveryStore::Discard()
{
    std::lock_guard lock(mutex);
    if (!own.isEmpty() && dir >= 0)
        ::unlinkat(dir, Name(own + Suffix).constData(), 0);
    nameDurable = false;
    syncDue = false;
}

std::optional<TRecoverySnapshot> TRecoveryStore::ReadLeftOver(const QString& name) const
{
    // Neither a link nor a pipe nor a device is opened as a copy, nor read past what a copy can hold.
    const int fd = ::openat(dir, Name(name).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const qint64 limit = MaxRecoveryFileSize(maxTextLength);
    struct stat info { };
    QByteArray bytes;
    bool ok = OwnPlainFile(fd, info) && info.st_size <= limit;
    if (ok) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            done += ok ? n : 0;
        }
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return DecodeRecovery(bytes, maxTextLength);
}

// Temporary files of copies whose editor is gone, killed while it wrote them.
void TRecoveryStore::RemoveLeftOverTemporaries(const std::vector<QString>& names)
{
    for (const QString& name : names) {
        const QString id = IdOfTemporary(name);
        struct stat info { };
        if (id.isEmpty() || ::fstatat(dir, Name(name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() || !BeforeProcessStart(info.st_mtim))
            continue;
        const QString lockName = id + LockSuffix;
        const bool held = Held(lockName) != locks.end();
        if (!held && !Lock(lockName))
            continue; // its editor still runs
        ::unlinkat(dir, Name(name).constData(), 0);
        if (!held && !Exists(id + Suffix))
            Unlock(lockName);
    }
}

std::vector<TLeftRecovery> TRecoveryStore::FindLeftOver()
{
    std::lock_guard lock(mutex);
    std::vector<TLeftRecovery> found;
    if (!OpenFolder(false))
        return found;
    const std::vector<QString> names = Entries(dir);
    RemoveLeftOverTemporaries(names);

    // Locks of editors that ended before they wrote a copy, or after theirs was deleted.
    for (const QString& name : names) {
        if (name.endsWith(LockSuffix) && !Exists(name.chopped(LockSuffix.size()) + Suffix) && Lock(name))
            Unlock(name);
    }
    for (const QString& name : names) {
        if (!name.endsWith(Suffix) || name == own + Suffix || !Lock(LockOf(name)))
            continue; // not a copy, ours, or an editor that runs holds it
        found.push_back({ folder + QLatin1Char('/') + name, ReadLeftOver(name) });
    }
    std::stable_sort(found.begin(), found.end(), [](const TLeftRecovery& a, const TLeftRecovery& b) {
        if (a.snapshot.has_value() != b.snapshot.has_value())
            return a.snapshot.has_value();
        return a.snapshot && a.snapshot->time > b.snapshot->time;
    });
    return found;
}

void TRecoveryStore::Adopt(const QString& file)
{
    std::lock_guard lock(mutex);
    if (!own.isEmpty()) {
        if (dir >= 0)
            ::unlinkat(dir, Name(own + Suffix).constData(), 0);
        Unlock(own + LockSuffix);
    }
    own = QFileInfo(file).fileName().chopped(Suffix.size());
    // The copy's name is on the disk since the editor that wrote it.
    nameDurable = true;
    syncDue = false;
}

void TRecoveryStore::Remove(const QString& file)
{
    std::lock_guard lock(mutex);
    const QString name = QFileInfo(file).fileName();
    ::unlinkat(dir, Name(name).constData(), 0);
    Unlock(LockOf(name));
}

QString TRecoveryStore::SetAside(const QString& file)
{
    std::lock_guard lock(mutex);
    const QString name = QFileInfo(file).fileName();
    QString bad = name + BadSuffix;
    for (int n = 2; Exists(bad); ++n)
        bad = name + QStringLiteral(".%1").arg(n) + BadSuffix;
    ::renameat(dir, Name(name).constData(), dir, Name(bad).constData());
    Unlock(LockOf(name));
    return folder + QLatin1Char('/') + bad;
}
