// A stream that owns another and hands every operation on to it; closing it closes the inner stream.
#pragma once

#include "resources/Stream.h"

class TStreamWrapper : public TStream {
public:
    explicit TStreamWrapper(std::unique_ptr<TStream> stream)
        : _stream(std::move(stream))
    {
    }

    qint64 Pos() override { return _stream->Pos(); }
    qint64 Size() override { return _stream->Size(); }
    qint64 Seek(qint64 pos) override { return _stream->Seek(pos); }
    qint64 Read(void* buffer, qint64 count) override { return _stream->Read(buffer, count); }
    qint64 Write(const void* buffer, qint64 count) override { return _stream->Write(buffer, count); }
    void Flush() override { _stream->Flush(); }
    void Close() override { _stream->Close(); }
    bool Eof() override { return _stream->Eof(); }
    QString ReadLine() override { return _stream->ReadLine(); }
    void WriteLine(const QString& text) override { _stream->WriteLine(text); }
    void WriteString(const QString& text) override { _stream->WriteString(text); }

    TStream& Inner() { return *_stream; }

protected:
    std::unique_ptr<TStream> _stream;
};
