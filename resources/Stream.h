// Byte streams and the URL forms that open them: paths, "incbin::name" and "<encoding>::<location>".
#pragma once

#include "resources/IO.h"
#include "resources/StreamException.h"

#include <QString>
#include <memory>

// On a plain stream the line and string operations work on bytes: each byte read is the Latin-1
// character of its value, and each character written is its low eight bits. Text streams override
// them to work in characters of their encoding.
class TStream : public TIO {
public:
    virtual bool Eof() { return Pos() == Size(); }

    int ReadByte();
    void WriteByte(int value);

    // Reads up to a line feed or a 0, consuming but not returning it; carriage returns are dropped
    // wherever they occur. At the end of the stream it returns what is left ("" when nothing is).
    virtual QString ReadLine();
    // Writes the text followed by CR LF.
    virtual void WriteLine(const QString& text);
    virtual void WriteString(const QString& text);

protected:
    // Reads or writes exactly `count` bytes, throwing on a shortfall.
    void ReadFully(void* buffer, qint64 count);
    void WriteFully(const void* buffer, qint64 count);
};

// Opens `url` with the given access; null when it cannot be opened or nothing serves its protocol.
std::unique_ptr<TStream> OpenStream(const QString& url, bool readable, bool writeable);
inline std::unique_ptr<TStream> OpenReadStream(const QString& url)
{
    return OpenStream(url, true, false);
}
inline std::unique_ptr<TStream> OpenWriteStream(const QString& url)
{
    return OpenStream(url, false, true);
}

inline bool StreamEof(TStream& stream)
{
    return stream.Eof();
}
inline void CloseStream(TStream& stream)
{
    stream.Close();
}
