#include "resources/RamStream.h"

#include <algorithm>
#include <cstring>

TRamStream::TRamStream(const unsigned char* bytes, qint64 size)
    : _bytes(bytes)
    , _size(bytes ? std::max<qint64>(size, 0) : 0)
{
}

qint64 TRamStream::Seek(qint64 pos)
{
    _pos = std::clamp<qint64>(pos, 0, _size);
    return _pos;
}

qint64 TRamStream::Read(void* buffer, qint64 count)
{
    const qint64 n = std::clamp<qint64>(count, 0, _size - _pos);
    if (n > 0)
        std::memcpy(buffer, _bytes + _pos, size_t(n));
    _pos += n;
    return n;
}

qint64 TRamStream::Write(const void*, qint64 count)
{
    if (count <= 0)
        return 0;
    throw TStreamWriteException();
}

void TRamStream::Close()
{
    _bytes = nullptr;
    _size = 0;
    _pos = 0;
}

QString TRamStream::ReadLine()
{
    QString line;
    const unsigned char* p = _bytes + _pos;
    const unsigned char* end = _bytes + _size;
    const unsigned char* run = p;
    for (; p < end; ++p) {
        const unsigned char byte = *p;
        if (byte == 10 || byte == 0 || byte == 13) {
            line.append(QLatin1StringView(reinterpret_cast<const char*>(run), p - run));
            run = p + 1;
            if (byte != 13) {
                ++p;
                break;
            }
        }
    }
    if (run < p)
        line.append(QLatin1StringView(reinterpret_cast<const char*>(run), p - run));
    _pos = p - _bytes;
    return line;
}
