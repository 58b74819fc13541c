#include "resources/CStream.h"

#include <QFile>
#include <algorithm>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<TCStream> TCStream::Open(const QString& path, Mode mode)
{
    const int flags = mode == Mode::Read ? O_RDONLY : mode == Mode::Write ? O_WRONLY | O_CREAT | O_TRUNC : O_RDWR;
    // Opened without blocking, so that a named pipe nobody writes to cannot freeze the editor; the
    // reads and writes that follow block as usual.
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return FromDescriptor(fd, mode);
}

std::unique_ptr<TCStream> TCStream::FromDescriptor(int fd, Mode mode)
{
    if (fd < 0)
        return nullptr;
    // A directory opens for reading on Linux but fails on the first read; treat it as unopenable. Only
    // files and named pipes are read: a device (/dev/zero) or a socket is no script and no settings
    // file, however much it offers.
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)
        || (mode == Mode::Read && !(S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode)))) {
        ::close(fd);
        return nullptr;
    }
    const char* fmode = mode == Mode::Read ? "rb" : mode == Mode::Write ? "wb" : "r+b";
    FILE* file = ::fdopen(fd, fmode);
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<TCStream>(
        new TCStream(file, S_ISREG(info.st_mode) ? info.st_size : 0, S_ISREG(info.st_mode)));
}

TCStream::TCStream(FILE* file, qint64 size, bool regular)
    : _file(file)
    , _size(size)
    , _regular(regular)
{
}

bool TCStream::Eof()
{
    if (_regular)
        return TStream::Eof();
    // A pipe has no size: it ends when a read finds nothing more, which may mean waiting for its writer.
    FILE* file = OpenFile();
    Switch(LastOp::Read);
    const int c = getc_unlocked(file);
    if (c == EOF) {
        if (std::ferror(file)) {
            std::clearerr(file);
            throw TStreamReadException();
        }
        return true;
    }
    ungetc(c, file);
    return false;
}

TCStream::~TCStream()
{
    // Errors can only be reported by an explicit Close; a destructor must not throw.
    if (_file)
        std::fclose(_file);
}

FILE* TCStream::OpenFile()
{
    if (!_file)
        throw TStreamException("Stream is closed");
    return _file;
}

void TCStream::Switch(LastOp op)
{
    if (_last != op && _last != LastOp::None && fseeko(_file, _pos, SEEK_SET) != 0)
        FailPositioning();
    _last = op;
}

void TCStream::FailPositioning()
{
    std::clearerr(_file);
    // Positioning after a write first hands the buffered bytes over, so its failure is a lost write.
    if (_last == LastOp::Write)
        throw TStreamWriteException();
    throw TStreamReadException();
}

qint64 TCStream::Seek(qint64 pos)
{
    FILE* file = OpenFile();
    if (pos < 0)
        pos = 0;
    if (fseeko(file, pos, SEEK_SET) != 0)
        FailPositioning();
    _pos = pos;
    _last = LastOp::None;
    return _pos;
}

qint64 TCStream::Read(void* buffer, qint64 count)
{
    FILE* file = OpenFile();
    if (count <= 0)
        return 0;
    Switch(LastOp::Read);
    const size_t got = std::fread(buffer, 1, size_t(count), file);
    _pos += qint64(got);
    if (got < size_t(count) && std::ferror(file)) {
        std::clearerr(file);
        throw TStreamReadException();
    }
    return qint64(got);
}

qint64 TCStream::Write(const void* buffer, qint64 count)
{
    FILE* file = OpenFile();
    if (count <= 0)
        return 0;
    Switch(LastOp::Write);
    const size_t put = std::fwrite(buffer, 1, size_t(count), file);
    _pos += qint64(put);
    _size = std::max(_size, _pos);
    if (put != size_t(count) || std::ferror(file)) {
        std::clearerr(file);
        throw TStreamWriteException();
    }
    return count;
}

void TCStream::Flush()
{
    FILE* file = OpenFile();
    if (std::fflush(file) != 0) {
        std::clearerr(file);
        throw TStreamWriteException();
    }
}

void TCStream::Sync()
{
    Flush();
    if (fsync(fileno(_file)) != 0)
        throw TStreamWriteException();
}

void TCStream::Close()
{
    if (!_file)
        return;
    FILE* file = _file;
    _file = nullptr;
    // fclose releases the file even when handing over the buffered bytes fails.
    if (std::fclose(file) != 0)
        throw TStreamWriteException();
}

QString TCStream::ReadLine()
{
    FILE* file = OpenFile();
    Switch(LastOp::Read);
    std::string bytes;
    int c;
    while ((c = getc_unlocked(file)) != EOF) {
        ++_pos;
        if (c == 10 || c == 0)
            break;
        if (c != 13)
            bytes.push_back(char(c));
    }
    if (c == EOF && std::ferror(file)) {
        std::clearerr(file);
        throw TStreamReadException();
    }
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}
