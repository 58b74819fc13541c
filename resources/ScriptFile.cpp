#include "resources/ScriptFile.h"

#include <QCryptographicHash>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
TFileStamp StampFrom(const struct stat& info)
{
    return TFileStamp { true, quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
        qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec };
}

// Every character of the text starts at a byte that is not a UTF-8 continuation byte, in UTF-8 and in
// Latin-1 alike; a carriage return before a line feed, a byte-order mark and a final line break may be
// no character. So this many such bytes mean a text of at least that many characters less those.
struct TLengthBound {
    qsizetype starts = 0;
    qsizetype returns = 0;

    void Count(const char* p, qsizetype n)
    {
        for (const char* end = p + n; p < end; ++p) {
            const auto b = static_cast<unsigned char>(*p);
            starts += (b & 0xC0) != 0x80;
            returns += b == '\r';
        }
    }
    qsizetype AtLeast() const { return starts - returns - 2; }
};
} // namespace

TFileStamp StampOf(const QString& path)
{
    struct stat info { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return StampFrom(info);
}

QByteArray Fingerprint(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

std::optional<TScriptFile> ReadScriptFile(const QString& path, qsizetype capacity)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info { };
    QByteArray bytes;
    bool whole = false;
    if (::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode)) {
        if (S_ISREG(info.st_mode) && info.st_size < 4 * qint64(capacity))
            bytes.reserve(qsizetype(info.st_size) + 1);
        TLengthBound bound;
        constexpr qsizetype Block = 65536;
        for (;;) {
            const qsizetype at = bytes.size();
            bytes.resize(at + Block);
            const ssize_t n = ::read(fd, bytes.data() + at, Block);
            if (n < 0 && errno == EINTR) {
                bytes.resize(at);
                continue;
            }
            if (n < 0)
                break;
            bytes.resize(at + n);
            if (n == 0) {
                whole = true;
                break;
            }
            bound.Count(bytes.constData() + at, n);
            if (bound.AtLeast() > capacity)
                break;
        }
    }
    ::close(fd);
    if (!whole)
        return std::nullopt;
    TScriptFile file { DecodeScript(bytes), StampFrom(info), Fingerprint(bytes) };
    if (file.script.text.size() > capacity)
        return std::nullopt;
    // A file written while it was read has another stamp by now: the next look at the disk reads it again.
    struct stat after { };
    if (::stat(QFile::encodeName(path).constData(), &after) == 0 && StampFrom(after) != file.stamp)
        file.stamp.modifiedNs = -1;
    return file;
}
