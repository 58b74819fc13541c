#include "resources/RecoveryFile.h"

#include "resources/ReplaceFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace {
const QByteArray Magic = "tarvane-le recovery 1\n";
const QString Suffix = QStringLiteral(".recovery");
const QString LockSuffix = QStringLiteral(".lock");
const QString BadSuffix = QStringLiteral(".bad");
// Detects damage, not tampering: the file is the user's own.
constexpr auto DigestKind = QCryptographicHash::Md5;

QByteArray Utf16Bytes(const QString& text)
{
    QByteArray bytes;
    bytes.resize(text.size() * 2);
    char* out = bytes.data();
    for (const QChar c : text) {
        *out++ = static_cast<char>(c.unicode() & 0xFF);
        *out++ = static_cast<char>(c.unicode() >> 8);
    }
    return bytes;
}

QString FromUtf16Bytes(QByteArrayView bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        *out++ = QChar(static_cast<char16_t>(
            static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return text;
}

// Reads "<name> <decimal>\n" at `at`; advances past it.
std::optional<qint64> Field(QByteArrayView bytes, qsizetype& at, QByteArrayView name)
{
    const qsizetype end = bytes.indexOf('\n', at);
    if (end < 0)
        return std::nullopt;
    const QByteArrayView line = bytes.sliced(at, end - at);
    if (!line.startsWith(name) || line.size() <= name.size() || line[name.size()] != ' ')
        return std::nullopt;
    bool ok = false;
    const qint64 value = line.sliced(name.size() + 1).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    at = end + 1;
    return value;
}

void WriteWhole(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("open");
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            throw std::runtime_error("write");
        }
        done += n;
    }
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced)
        throw std::runtime_error("sync");
}

QString LockOf(const QString& file)
{
    return file.chopped(Suffix.size()) + LockSuffix;
}
} // namespace

QByteArray EncodeRecovery(const TRecoverySnapshot& snapshot)
{
    const QByteArray path = Utf16Bytes(snapshot.path);
    const QByteArray text = Utf16Bytes(snapshot.text);
    QByteArray bytes = Magic;
    bytes += "time " + QByteArray::number(snapshot.time.toMSecsSinceEpoch()) + '\n';
    bytes += "path " + QByteArray::number(snapshot.path.size()) + '\n';
    bytes += "text " + QByteArray::number(snapshot.text.size()) + '\n';
    bytes += path;
    bytes += text;
    bytes += QCryptographicHash::hash(bytes, DigestKind);
    return bytes;
}

std::optional<TRecoverySnapshot> DecodeRecovery(QByteArrayView bytes, qsizetype maxTextLength)
{
    const qsizetype digestSize = QCryptographicHash::hashLength(DigestKind);
    if (!bytes.startsWith(Magic) || bytes.size() < Magic.size() + digestSize)
        return std::nullopt;
    qsizetype at = Magic.size();
    const auto time = Field(bytes, at, "time");
    const auto pathLength = Field(bytes, at, "path");
    const auto textLength = Field(bytes, at, "text");
    if (!time || !pathLength || !textLength || *pathLength < 0 || *textLength < 0 || *textLength > maxTextLength
        || *pathLength > 1 << 20)
        return std::nullopt;
    const qsizetype body = at + 2 * (*pathLength + *textLength);
    if (body + digestSize != bytes.size())
        return std::nullopt;
    if (QCryptographicHash::hash(bytes.first(body), DigestKind) != bytes.sliced(body))
        return std::nullopt;
    TRecoverySnapshot snapshot;
    snapshot.time = QDateTime::fromMSecsSinceEpoch(*time);
    snapshot.path = FromUtf16Bytes(bytes.sliced(at, 2 * *pathLength));
    snapshot.text = FromUtf16Bytes(bytes.sliced(at + 2 * *pathLength, 2 * *textLength));
    return snapshot;
}

QString DefaultRecoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative folder is no folder, the convention says; the default takes its place.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/tarvane-le/recovery");
}

TRecoveryStore::TRecoveryStore(QString recoveryFolder, qsizetype maxLength)
    : folder(std::move(recoveryFolder))
    , maxTextLength(maxLength)
{
}

TRecoveryStore::~TRecoveryStore()
{
    Close();
}

void TRecoveryStore::Close()
{
    // A lock that guards no file is only clutter; the files left keep theirs for the next editor.
    for (const auto& [lockFile, fd] : locks) {
        if (!QFile::exists(lockFile.chopped(LockSuffix.size()) + Suffix))
            QFile::remove(lockFile);
        ::close(fd);
    }
    locks.clear();
    own.clear();
}

QString TRecoveryStore::File() const
{
    return own.isEmpty() ? QString() : folder + QLatin1Char('/') + own + Suffix;
}

bool TRecoveryStore::Lock(const QString& lockFile)
{
    if (std::any_of(locks.begin(), locks.end(), [&](const auto& lock) { return lock.first == lockFile; }))
        return true;
    const int fd = ::open(QFile::encodeName(lockFile).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    locks.emplace_back(lockFile, fd);
    return true;
}

void TRecoveryStore::Unlock(const QString& lockFile)
{
    const auto it = std::find_if(locks.begin(), locks.end(), [&](const auto& lock) { return lock.first == lockFile; });
    if (it == locks.end())
        return;
    // Removed while still held, so that no other editor can take the name in between.
    QFile::remove(lockFile);
    ::close(it->second);
    locks.erase(it);
}

bool TRecoveryStore::Write(const TRecoverySnapshot& snapshot)
{
    if (own.isEmpty()) {
        if (!QDir().mkpath(folder))
            return false;
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        if (!Lock(folder + QLatin1Char('/') + id + LockSuffix))
            return false;
        own = id;
    }
    const QByteArray bytes = EncodeRecovery(snapshot);
    return ReplaceFileSafely(File(), [&bytes](const QString& temporary) { WriteWhole(temporary, bytes); });
}

void TRecoveryStore::Discard()
{
    if (!own.isEmpty())
        QFile::remove(File());
}

std::vector<TLeftRecovery> TRecoveryStore::FindLeftOver()
{
    std::vector<TLeftRecovery> found;
    const QDir dir(folder);
    // Locks of editors that ended before they wrote a copy, or after theirs was deleted.
    for (const QString& name : dir.entryList({ QStringLiteral("*") + LockSuffix }, QDir::Files | QDir::Hidden)) {
        const QString lockFile = dir.filePath(name);
        if (!QFile::exists(lockFile.chopped(LockSuffix.size()) + Suffix) && Lock(lockFile))
            Unlock(lockFile);
    }
    for (const QString& name : dir.entryList({ QStringLiteral("*") + Suffix }, QDir::Files | QDir::Hidden)) {
        const QString file = dir.filePath(name);
        if (file == File() || !Lock(LockOf(file)))
            continue; // ours, or an editor that runs holds it
        TLeftRecovery left { file, std::nullopt };
        QFile in(file);
        // A file far past any script's size is damaged; it is not read into memory.
        const qint64 limit = 4096 + 2 * (qint64(maxTextLength) + (1 << 20));
        if (in.size() <= limit && in.open(QIODevice::ReadOnly))
            left.snapshot = DecodeRecovery(in.readAll(), maxTextLength);
        found.push_back(std::move(left));
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
    const QString previous = own.isEmpty() ? QString() : folder + QLatin1Char('/') + own + LockSuffix;
    if (!previous.isEmpty()) {
        Discard();
        Unlock(previous);
    }
    own = QFileInfo(file).fileName().chopped(Suffix.size());
}

void TRecoveryStore::Remove(const QString& file)
{
    QFile::remove(file);
    Unlock(LockOf(file));
}

QString TRecoveryStore::SetAside(const QString& file)
{
    QString bad = file + BadSuffix;
    for (int n = 2; QFile::exists(bad); ++n)
        bad = file + QStringLiteral(".%1").arg(n) + BadSuffix;
    QFile::rename(file, bad);
    Unlock(LockOf(file));
    return bad;
}
