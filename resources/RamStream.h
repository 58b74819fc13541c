// A read-only stream over bytes in memory, such as an embedded file. It never frees the bytes.
#pragma once

#include "resources/Stream.h"

class TRamStream : public TStream {
public:
    TRamStream(const unsigned char* bytes, qint64 size);

    qint64 Pos() override { return _pos; }
    qint64 Size() override { return _size; }
    qint64 Seek(qint64 pos) override;
    qint64 Read(void* buffer, qint64 count) override;
    // The bytes are read-only: every write throws TStreamWriteException.
    qint64 Write(const void* buffer, qint64 count) override;
    void Flush() override { }
    void Close() override;
    QString ReadLine() override;

private:
    const unsigned char* _bytes;
    qint64 _size;
    qint64 _pos = 0;
};
