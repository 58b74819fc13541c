// The raw byte interface every stream implements: position, size, block transfers, flushing and closing.
#pragma once

#include <QtGlobal>

class TIO {
public:
    TIO() = default;
    TIO(const TIO&) = delete;
    TIO& operator=(const TIO&) = delete;
    virtual ~TIO() = default;

    virtual qint64 Pos() = 0;
    virtual qint64 Size() = 0;
    // Moves to `pos` and returns the position reached.
    virtual qint64 Seek(qint64 pos) = 0;
    // Returns the number of bytes read; fewer than `count` only at the end of the data. Throws
    // TStreamReadException when the device fails.
    virtual qint64 Read(void* buffer, qint64 count) = 0;
    // Takes all `count` bytes or throws TStreamWriteException.
    virtual qint64 Write(const void* buffer, qint64 count) = 0;
    virtual void Flush() = 0;
    // Releases the device; a failure to hand over pending bytes throws TStreamWriteException.
    virtual void Close() = 0;
};
