// TStyleIds: the style id beside every unit of the text area's gap buffer, indexed as the text's
// storage is, gap included.
//
// While the style table holds at most 16 styles, as it does for a coloured script, the ids take four bits
// each, two to a byte (the lower four bits hold the even index). The table's seventeenth style widens
// them to a byte each for good, or until the text is replaced whole.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

class TStyleIds {
public:
    using Id = uint8_t;
    static constexpr int PackedStyles = 16;

    bool Packed() const { return packed; }
    Id Get(int i) const { return packed ? (data[i >> 1] >> ((i & 1) << 2)) & 15 : data[i]; }
    // [from, to) takes `id`.
    void Fill(int from, int to, Id id)
    {
        if (!packed) {
            // Most runs are a few units long, too short for a vectorised fill to pay.
            if (to - from <= 8) {
                for (Id* out = data.get() + from; from < to; ++from)
                    *out++ = id;
            } else {
                std::fill(data.get() + from, data.get() + to, id);
            }
            return;
        }
        FillPacked(data.get(), from, to, id);
    }
    void Set(int i, Id id) { Fill(i, i + 1, id); }

    // Four-bit fills in ascending order within [from, to) of the ids, as a line's runs come when a script
    // is coloured. A fill of at most 15 ids is one 64-bit load and store, without a branch: the ids after
    // it in the stored word are taken from a copy made at the start, which later fills put right, and an
    // odd start takes its byte's other half from the fill before when the two touch. (Reading the ids
    // themselves would wait on the store of the fill before, and the masked bytes and short loop of a
    // plain fill mispredict.) A fill out of order, or in a range too long to copy, goes the plain way, and
    // so does every fill after it. Nothing else may change the ids while it is in use.
    class TOrderedFill {
    public:
        TOrderedFill(TStyleIds& ids, int from, int to);
        void Fill(int from, int to, Id id)
        {
            if (!ordered || from < lastEnd || to > end) [[unlikely]] {
                ordered = false;
                FillPacked(bytes, from, to, id);
                return;
            }
            const uint8_t* old = ids.copy.data() + ((from >> 1) - copyBase);
            const uint64_t pattern = id * 0x1111111111111111ull;
            // The unit before an odd start: the fill before's if it ends there, else as it was.
            const uint8_t before = lastEnd == from ? lastId : old[0] & 15;
            if (to - from <= 15) {
                uint64_t word;
                std::memcpy(&word, old, 8);
                const uint64_t mask = ((1ull << (4 * (to - from))) - 1) << (4 * (from & 1));
                const uint64_t low = -static_cast<uint64_t>(from & 1) & 15; // the unit before an odd start
                word = (word & ~mask & ~low) | (pattern & mask) | (before & low);
                std::memcpy(bytes + (from >> 1), &word, 8);
            } else {
                if (from & 1)
                    bytes[from >> 1] = static_cast<uint8_t>(before | id << 4);
                std::memset(bytes + ((from + 1) >> 1), static_cast<int>(pattern & 255), (to >> 1) - ((from + 1) >> 1));
                if (to & 1)
                    bytes[to >> 1] = static_cast<uint8_t>((old[(to >> 1) - (from >> 1)] & 0xF0) | id);
            }
            lastEnd = to;
            lastId = id;
        }

    private:
        TStyleIds& ids;
        uint8_t* bytes;
        int copyBase = 0; // the byte of the ids that copy[0] holds
        int end = 0;
        int lastEnd = 0;
        Id lastId = 0;
        bool ordered = false;
    };
    // Moves `count` ids from index `from` to index `to`, the two ranges possibly overlapping.
    void Move(int to, int from, int count);
    // New storage of `capacity` ids: the first `before` ids stay where they are, and the `after` ids from
    // `afterFrom` go to the end.
    void Reallocate(int capacity, int before, int afterFrom, int after);
    // A byte per id from now on; the ids outside [gapStart, gapEnd) are kept.
    void Unpack(int capacity, int gapStart, int gapEnd);
    // Four bits per id again, none of them kept.
    void ResetPacked(int capacity);

private:
    // Inline, as Fill is: colouring a script fills a run per token, most of them a few units long. Whether
    // a run starts or ends inside a byte is as good as random, so both ends are written through masks
    // rather than branches; the byte past the last id is there for the end's write, which then changes
    // nothing.
    static void FillPacked(uint8_t* bytes, int from, int to, Id id)
    {
        if (from >= to)
            return;
        const uint8_t pair = static_cast<uint8_t>(id * 0x11);
        const uint8_t head = static_cast<uint8_t>(-(from & 1) & 0xF0); // the high nibble of an odd start
        const uint8_t tail = static_cast<uint8_t>(-(to & 1) & 0x0F); // the low nibble before an odd end
        uint8_t& first = bytes[from >> 1];
        first = static_cast<uint8_t>((first & ~head) | (pair & head));
        uint8_t& last = bytes[to >> 1];
        last = static_cast<uint8_t>((last & ~tail) | (pair & tail));
        const int begin = (from + 1) >> 1;
        const int end = to >> 1;
        if (end - begin <= 8) {
            for (int b = begin; b < end; ++b)
                bytes[b] = pair;
        } else {
            std::fill(bytes + begin, bytes + end, pair);
        }
    }

    std::unique_ptr<uint8_t[]> data;
    bool packed = true;
    std::vector<uint8_t> copy; // for TOrderedFill, kept for the next
};
