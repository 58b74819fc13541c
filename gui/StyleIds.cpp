#include "gui/StyleIds.h"

#include <bit>
#include <cstring>

namespace {
using Id = TStyleIds::Id;

// Zeroed when allocated, because setting one id reads the byte it shares with its neighbour; at least 8
// bytes more than the ids need, for the 64-bit stores of TOrderedFill.
int PackedBytes(int capacity)
{
    return capacity / 2 + 9;
}

// Longer ranges than this are filled the plain way rather than copied first.
constexpr int LongestOrderedFill = 1 << 17;

Id NibbleAt(const uint8_t* data, int i)
{
    return (data[i >> 1] >> ((i & 1) << 2)) & 15;
}

void SetNibble(uint8_t* data, int i, Id id)
{
    uint8_t& byte = data[i >> 1];
    byte = (i & 1) ? static_cast<uint8_t>((byte & 0x0F) | id << 4) : static_cast<uint8_t>((byte & 0xF0) | id);
}

// Copies `count` four-bit ids from index `from` of `source` to index `to` of `target`; within one array
// the ranges may overlap. A nibble alone in its byte at either end goes on its own, the bytes between
// whole: copied as they are when both indices have the same parity, else each from the two source bytes
// it straddles. Within one array the copy runs from the end that cannot overwrite ids still to be read.
void MoveNibbles(uint8_t* target, int to, const uint8_t* source, int from, int count)
{
    if (count <= 0 || (target == source && to == from))
        return;
    const int end = to + count;
    const int bulkStart = (to + 1) & ~1;
    const int bulkEnd = end & ~1;
    const bool downwards = target == source && to > from;
    auto edge = [&](int i) { SetNibble(target, i, NibbleAt(source, i - to + from)); };
    auto bulk = [&] {
        if (bulkStart >= bulkEnd)
            return;
        const int bytes = (bulkEnd - bulkStart) / 2;
        uint8_t* out = target + bulkStart / 2;
        const int sourceStart = bulkStart - to + from;
        if ((sourceStart & 1) == 0) {
            std::memmove(out, source + sourceStart / 2, bytes);
            return;
        }
        // Each target byte takes the high nibble of one source byte and the low nibble of the next.
        const uint8_t* in = source + sourceStart / 2;
        if (downwards) {
            for (int k = bytes - 1; k >= 0; --k)
                out[k] = static_cast<uint8_t>(in[k] >> 4 | in[k + 1] << 4);
        } else {
            for (int k = 0; k < bytes; ++k)
                out[k] = static_cast<uint8_t>(in[k] >> 4 | in[k + 1] << 4);
        }
    };
    // A low edge is an odd index and a high edge an even one, so they are never the same nibble.
    const bool lowEdge = to & 1;
    const bool highEdge = end & 1;
    if (downwards) {
        if (highEdge)
            edge(end - 1);
        bulk();
        if (lowEdge)
            edge(to);
    } else {
        if (lowEdge)
            edge(to);
        bulk();
        if (highEdge)
            edge(end - 1);
    }
}
} // namespace

TStyleIds::TOrderedFill::TOrderedFill(TStyleIds& ids, int from, int to)
    : ids(ids)
    , bytes(ids.data.get())
    , end(to)
    , lastEnd(from)
{
    // On a big-endian machine the 64-bit words would hold the ids in another order.
    if (!ids.packed || from >= to || to - from > LongestOrderedFill || std::endian::native != std::endian::little)
        return;
    // The unit before an odd first start is as it was.
    lastId = from & 1 ? bytes[from >> 1] & 15 : 0;
    copyBase = from >> 1;
    const std::size_t bytesCopied = (to >> 1) - copyBase + 8;
    if (ids.copy.size() < bytesCopied)
        ids.copy.resize(std::max(bytesCopied, 2 * ids.copy.size()));
    std::memcpy(ids.copy.data(), bytes + copyBase, bytesCopied);
    ordered = true;
}

void TStyleIds::Move(int to, int from, int count)
{
    if (packed)
        MoveNibbles(data.get(), to, data.get(), from, count);
    else if (count > 0)
        std::memmove(data.get() + to, data.get() + from, count);
}

void TStyleIds::Reallocate(int capacity, int before, int afterFrom, int after)
{
    std::unique_ptr<uint8_t[]> ids;
    if (packed) {
        ids.reset(new uint8_t[PackedBytes(capacity)]());
        if (data) {
            MoveNibbles(ids.get(), 0, data.get(), 0, before);
            MoveNibbles(ids.get(), capacity - after, data.get(), afterFrom, after);
        }
    } else {
        // Left uninitialised on purpose: the pages of the gap are never touched until text goes there.
        ids.reset(new uint8_t[capacity]);
        if (data) {
            std::memcpy(ids.get(), data.get(), before);
            std::memcpy(ids.get() + capacity - after, data.get() + afterFrom, after);
        }
    }
    data = std::move(ids);
}

void TStyleIds::Unpack(int capacity, int gapStart, int gapEnd)
{
    if (!packed)
        return;
    std::unique_ptr<uint8_t[]> ids(new uint8_t[capacity]);
    for (int i = 0; i < gapStart; ++i)
        ids[i] = NibbleAt(data.get(), i);
    for (int i = gapEnd; i < capacity; ++i)
        ids[i] = NibbleAt(data.get(), i);
    data = std::move(ids);
    packed = false;
}

void TStyleIds::ResetPacked(int capacity)
{
    data.reset(new uint8_t[PackedBytes(capacity)]());
    packed = true;
}
