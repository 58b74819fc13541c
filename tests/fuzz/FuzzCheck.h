// Shared by the fuzz harnesses: a failed property stops the run with the reason, and a byte stream in
// memory that can be written as well as read.
#pragma once

#include "resources/Stream.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);                      \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<unsigned char> bytes)
        : Bytes(std::move(bytes))
    {
    }

    qint64 Pos() override { return pos; }
    qint64 Size() override { return qint64(Bytes.size()); }
    qint64 Seek(qint64 to) override { return pos = std::clamp<qint64>(to, 0, Size()); }
    qint64 Read(void* buffer, qint64 count) override
    {
        const qint64 n = std::clamp<qint64>(Size() - pos, 0, std::max<qint64>(count, 0));
        if (n > 0)
            std::memcpy(buffer, Bytes.data() + pos, size_t(n));
        pos += n;
        return n;
    }
    qint64 Write(const void* buffer, qint64 count) override
    {
        if (count <= 0)
            return 0;
        if (size_t(pos + count) > Bytes.size())
            Bytes.resize(size_t(pos + count));
        std::memcpy(Bytes.data() + pos, buffer, size_t(count));
        pos += count;
        return count;
    }
    void Flush() override { }
    void Close() override { }

    std::vector<unsigned char> Bytes;

private:
    qint64 pos = 0;
};
