// A stream wrapper that reads and writes lines and strings as characters of a text encoding.
//
// Both directions are buffered here, so that a whole script is decoded and encoded in tight loops over
// blocks of bytes and the wrapped stream only sees large reads and writes. The wrapped stream therefore
// runs ahead of this one while reading and behind it while writing; every byte-level operation first
// brings the two back in step.
#pragma once

#include "resources/StreamWrapper.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TTextEncoding { Latin1 = 1, Utf8 = 2, Utf16BE = 3, Utf16LE = 4 };

class TTextStream : public TStreamWrapper {
public:
    TTextStream(std::unique_ptr<TStream> stream, TTextEncoding encoding);
    ~TTextStream() override;

    TTextEncoding Encoding() const { return _encoding; }

    qint64 Pos() override;
    qint64 Size() override;
    qint64 Seek(qint64 pos) override;
    qint64 Read(void* buffer, qint64 count) override;
    qint64 Write(const void* buffer, qint64 count) override;
    void Flush() override;
    void Close() override;
    bool Eof() override;

    // Lines end at a line feed or a character 0, which are consumed but not returned; carriage returns are
    // dropped. In UTF-16 a single byte left at the end throws TStreamReadException.
    QString ReadLine() override;
    // A line longer than `units` code units is handed out in pieces of about that length (a piece may
    // run past it by one read block), so a reader can refuse an endless line without holding it all.
    void SetLineLimit(size_t units) { _lineLimit = units; }
    // Writes the text and then CR LF, both in the encoding.
    void WriteLine(const QString& text) override;
    void WriteString(const QString& text) override;

private:
    qint64 Unread() const { return qint64(_inEnd - _inPos); }
    // Makes at least `count` unread bytes available unless the stream ends first; false then.
    bool Ensure(size_t count);
    void DropReadAhead();
    void FlushOut();
    void Encode(const char16_t* units, size_t count);

    void ReadLatin1Line();
    void ReadUtf8Line();
    void ReadUtf16Line();

    TTextEncoding _encoding;
    std::vector<unsigned char> _in;
    size_t _inPos = 0;
    size_t _inEnd = 0;
    std::vector<unsigned char> _out;
    size_t _outLen = 0;
    std::u16string _line;
    size_t _lineLimit = SIZE_MAX;
};
