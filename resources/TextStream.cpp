#include "resources/TextStream.h"

#include "resources/Utf8.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t BufferSize = 64 * 1024;

bool EndsLine(unsigned unit)
{
    return unit == 10 || unit == 0;
}

void AppendCode(std::u16string& line, char32_t code)
{
    if (code < 0x10000) {
        line.push_back(char16_t(code));
    } else {
        line.push_back(char16_t(0xD800 + ((code - 0x10000) >> 10)));
        line.push_back(char16_t(0xDC00 + ((code - 0x10000) & 0x3FF)));
    }
}
} // namespace

TTextStream::TTextStream(std::unique_ptr<TStream> stream, TTextEncoding encoding)
    : TStreamWrapper(std::move(stream))
    , _encoding(encoding)
    , _in(BufferSize)
    , _out(BufferSize)
{
}

TTextStream::~TTextStream()
{
    // Only Close reports a failed write; here the bytes are handed over as well as possible.
    try {
        FlushOut();
    } catch (const TStreamException&) {
    }
}

bool TTextStream::Ensure(size_t count)
{
    if (_inEnd - _inPos >= count)
        return true;
    FlushOut();
    if (_inPos > 0) {
        std::memmove(_in.data(), _in.data() + _inPos, _inEnd - _inPos);
        _inEnd -= _inPos;
        _inPos = 0;
    }
    while (_inEnd < count) {
        const qint64 got = _stream->Read(_in.data() + _inEnd, qint64(_in.size() - _inEnd));
        if (got <= 0)
            break;
        _inEnd += size_t(got);
    }
    return _inEnd >= count;
}

void TTextStream::DropReadAhead()
{
    if (Unread() > 0)
        _stream->Seek(_stream->Pos() - Unread());
    _inPos = _inEnd = 0;
}

void TTextStream::FlushOut()
{
    if (_outLen == 0)
        return;
    const qint64 count = qint64(_outLen);
    _outLen = 0;
    if (_stream->Write(_out.data(), count) != count)
        throw TStreamWriteException();
}

qint64 TTextStream::Pos()
{
    return _stream->Pos() - Unread() + qint64(_outLen);
}

qint64 TTextStream::Size()
{
    return std::max(_stream->Size(), Pos());
}

bool TTextStream::Eof()
{
    if (Unread() > 0)
        return false;
    if (_outLen > 0)
        return Pos() == Size();
    // The stream below knows its end, also when it has no size to compare with (a pipe).
    return _stream->Eof();
}

qint64 TTextStream::Seek(qint64 pos)
{
    FlushOut();
    _inPos = _inEnd = 0;
    return _stream->Seek(pos);
}

qint64 TTextStream::Read(void* buffer, qint64 count)
{
    if (count <= 0)
        return 0;
    FlushOut();
    const qint64 buffered = std::min(count, Unread());
    std::memcpy(buffer, _in.data() + _inPos, size_t(buffered));
    _inPos += size_t(buffered);
    if (buffered == count)
        return count;
    return buffered + _stream->Read(static_cast<unsigned char*>(buffer) + buffered, count - buffered);
}

qint64 TTextStream::Write(const void* buffer, qint64 count)
{
    if (count <= 0)
        return 0;
    DropReadAhead();
    if (size_t(count) > _out.size() - _outLen) {
        FlushOut();
        if (size_t(count) >= _out.size()) {
            if (_stream->Write(buffer, count) != count)
                throw TStreamWriteException();
            return count;
        }
    }
    std::memcpy(_out.data() + _outLen, buffer, size_t(count));
    _outLen += size_t(count);
    return count;
}

void TTextStream::Flush()
{
    FlushOut();
    _stream->Flush();
}

void TTextStream::Close()
{
    _inPos = _inEnd = 0;
    try {
        FlushOut();
    } catch (const TStreamException&) {
        // The inner stream is closed even when the last bytes could not be written.
        try {
            _stream->Close();
        } catch (const TStreamException&) {
        }
        throw;
    }
    _stream->Close();
}

QString TTextStream::ReadLine()
{
    FlushOut();
    _line.clear();
    switch (_encoding) {
    case TTextEncoding::Latin1:
        ReadLatin1Line();
        break;
    case TTextEncoding::Utf8:
        ReadUtf8Line();
        break;
    case TTextEncoding::Utf16BE:
    case TTextEncoding::Utf16LE:
        ReadUtf16Line();
        break;
    }
    return QString(reinterpret_cast<const QChar*>(_line.data()), qsizetype(_line.size()));
}

void TTextStream::ReadLatin1Line()
{
    while (_line.size() <= _lineLimit && Ensure(1)) {
        const unsigned char* p = _in.data() + _inPos;
        const unsigned char* end = _in.data() + _inEnd;
        while (p < end) {
            const unsigned byte = *p++;
            if (EndsLine(byte)) {
                _inPos = size_t(p - _in.data());
                return;
            }
            if (byte != 13)
                _line.push_back(char16_t(byte));
        }
        _inPos = _inEnd;
    }
}

void TTextStream::ReadUtf8Line()
{
    while (_line.size() <= _lineLimit && Ensure(1)) {
        const unsigned char* p = _in.data() + _inPos;
        const unsigned char* end = _in.data() + _inEnd;
        // Most of a script is ASCII; only the other characters need the decoder.
        while (p < end && *p < 0x80) {
            const unsigned byte = *p++;
            if (EndsLine(byte)) {
                _inPos = size_t(p - _in.data());
                return;
            }
            if (byte != 13)
                _line.push_back(char16_t(byte));
        }
        _inPos = size_t(p - _in.data());
        if (p == end)
            continue;
        // A sequence may straddle the buffer's end; Ensure moves it to the front in one piece.
        Ensure(4);
        char32_t code;
        _inPos += size_t(Utf8::Decode(_in.data() + _inPos, _in.data() + _inEnd, code));
        AppendCode(_line, code);
    }
}

void TTextStream::ReadUtf16Line()
{
    const bool bigEndian = _encoding == TTextEncoding::Utf16BE;
    while (_line.size() <= _lineLimit) {
        if (!Ensure(2)) {
            if (Unread() == 0)
                return;
            _inPos = _inEnd;
            throw TStreamReadException();
        }
        const unsigned char* p = _in.data() + _inPos;
        const unsigned char* end = _in.data() + _inEnd;
        while (end - p >= 2) {
            const unsigned unit = bigEndian ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]);
            p += 2;
            if (EndsLine(unit)) {
                _inPos = size_t(p - _in.data());
                return;
            }
            if (unit != 13)
                _line.push_back(char16_t(unit));
        }
        _inPos = size_t(p - _in.data());
    }
}

void TTextStream::Encode(const char16_t* units, size_t count)
{
    DropReadAhead();
    size_t i = 0;
    while (i < count) {
        if (_out.size() - _outLen < 4)
            FlushOut();
        unsigned char* out = _out.data() + _outLen;
        // Fill the buffer as far as it goes before looking at the room left again.
        unsigned char* const stop = _out.data() + _out.size() - 4;
        switch (_encoding) {
        case TTextEncoding::Latin1:
            while (i < count && out <= stop)
                *out++ = static_cast<unsigned char>(units[i++] & 0xff);
            break;
        case TTextEncoding::Utf8:
            while (i < count && out <= stop)
                out = Utf8::Encode(units, count, i, out);
            break;
        case TTextEncoding::Utf16BE:
            while (i < count && out <= stop) {
                *out++ = static_cast<unsigned char>(units[i] >> 8);
                *out++ = static_cast<unsigned char>(units[i++] & 0xff);
            }
            break;
        case TTextEncoding::Utf16LE:
            while (i < count && out <= stop) {
                *out++ = static_cast<unsigned char>(units[i] & 0xff);
                *out++ = static_cast<unsigned char>(units[i++] >> 8);
            }
            break;
        }
        _outLen = size_t(out - _out.data());
    }
}

void TTextStream::WriteString(const QString& text)
{
    Encode(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
}

void TTextStream::WriteLine(const QString& text)
{
    WriteString(text);
    static constexpr char16_t lineEnd[] = { 13, 10 };
    Encode(lineEnd, 2);
}
