// A disk file as a stream. Every write is checked: a short count or a device error throws.
#pragma once

#include "resources/Stream.h"

#include <cstdio>

class TCStream : public TStream {
public:
    enum class Mode { Read, Write, ReadWrite };

    // Null when the file cannot be opened, is a directory, or is opened for reading and is neither a file
    // nor a named pipe. Write creates or truncates.
    static std::unique_ptr<TCStream> Open(const QString& path, Mode mode);
    // A stream over a descriptor already open, which it owns from now on (closed even when this fails);
    // null for a directory, and for reading anything but a file or a named pipe.
    static std::unique_ptr<TCStream> FromDescriptor(int fd, Mode mode);
    ~TCStream() override;

    // A file ends at its size; a named pipe when a read returns nothing.
    bool Eof() override;
    qint64 Pos() override { return _pos; }
    qint64 Size() override { return _size; }
    qint64 Seek(qint64 pos) override;
    qint64 Read(void* buffer, qint64 count) override;
    qint64 Write(const void* buffer, qint64 count) override;
    void Flush() override;
    void Close() override;
    QString ReadLine() override;

    // Flushes and then waits until the device holds the bytes, so that a file can safely replace another.
    void Sync();

private:
    TCStream(FILE* file, qint64 size, bool regular);
    // C streams need a positioning call between a read and a following write, and the other way round.
    enum class LastOp { None, Read, Write };
    void Switch(LastOp op);
    [[noreturn]] void FailPositioning();
    FILE* OpenFile();

    FILE* _file;
    qint64 _pos = 0;
    qint64 _size;
    LastOp _last = LastOp::None;
    bool _regular;
};
