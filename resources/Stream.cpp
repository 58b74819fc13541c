#include "resources/Stream.h"

#include <string>

namespace {
// Plain streams store one byte per character: the low eight bits of its code.
std::string LowBytes(const QString& text, bool lineEnd)
{
    std::string bytes;
    bytes.resize(size_t(text.size()) + (lineEnd ? 2 : 0));
    char* out = bytes.data();
    for (QChar c : text)
        *out++ = char(c.unicode() & 0xff);
    if (lineEnd) {
        *out++ = 13;
        *out++ = 10;
    }
    return bytes;
}
} // namespace

void TStream::ReadFully(void* buffer, qint64 count)
{
    if (Read(buffer, count) != count)
        throw TStreamReadException();
}

void TStream::WriteFully(const void* buffer, qint64 count)
{
    if (Write(buffer, count) != count)
        throw TStreamWriteException();
}

int TStream::ReadByte()
{
    unsigned char byte;
    ReadFully(&byte, 1);
    return byte;
}

void TStream::WriteByte(int value)
{
    const unsigned char byte = static_cast<unsigned char>(value);
    WriteFully(&byte, 1);
}

QString TStream::ReadLine()
{
    std::string bytes;
    unsigned char byte;
    while (Read(&byte, 1) == 1) {
        if (byte == 10 || byte == 0)
            break;
        if (byte != 13)
            bytes.push_back(char(byte));
    }
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

void TStream::WriteLine(const QString& text)
{
    const std::string bytes = LowBytes(text, true);
    WriteFully(bytes.data(), qint64(bytes.size()));
}

void TStream::WriteString(const QString& text)
{
    const std::string bytes = LowBytes(text, false);
    WriteFully(bytes.data(), qint64(bytes.size()));
}
