#include "highlight/EditedLines.h"

#include <algorithm>
#include <utility>

namespace {
// Ranges kept apart at most; beyond that they are merged into one, which re-colours more lines but
// keeps the upkeep of each edit small when no change event comes to take them.
constexpr std::size_t MostRanges = 16;
} // namespace

void TEditedLines::Edit(int line, int breaksRemoved, int breaksInserted)
{
    // Lines after the removed breaks move by the difference; lines among them join the edited line.
    const int removedLast = line + breaksRemoved;
    const int shift = breaksInserted - breaksRemoved;
    TLineRange edited { line, line + breaksInserted };
    std::vector<TLineRange> kept;
    kept.reserve(ranges.size() + 1);
    for (TLineRange range : ranges) {
        range.first = range.first < line ? range.first : (range.first > removedLast ? range.first + shift : line);
        range.last = range.last < line ? range.last : (range.last > removedLast ? range.last + shift : edited.last);
        // A range that meets the edited lines becomes part of them.
        if (range.last + 1 >= edited.first && range.first <= edited.last + 1) {
            edited.first = std::min(edited.first, range.first);
            edited.last = std::max(edited.last, range.last);
        } else {
            kept.push_back(range);
        }
    }
    kept.push_back(edited);
    if (kept.size() > MostRanges) {
        TLineRange all = kept.front();
        for (const TLineRange& range : kept) {
            all.first = std::min(all.first, range.first);
            all.last = std::max(all.last, range.last);
        }
        kept.assign(1, all);
    }
    ranges = std::move(kept);
}

std::vector<TLineRange> TEditedLines::Take()
{
    return std::exchange(ranges, {});
}
