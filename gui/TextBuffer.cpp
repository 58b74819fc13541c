#include "gui/TextBuffer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {
constexpr int MinGap = 1024;

TTextStyle StyleOfKey(uint32_t key)
{
    return { static_cast<uint8_t>(key), static_cast<uint8_t>(key >> 8), static_cast<uint8_t>(key >> 16),
        static_cast<uint8_t>(key >> 24) };
}

uint32_t KeyOfStyle(const TTextStyle& style)
{
    return style.r | static_cast<uint32_t>(style.g) << 8 | static_cast<uint32_t>(style.b) << 16
        | static_cast<uint32_t>(style.flags) << 24;
}

int ClampInt(long long value, int low, int high)
{
    return static_cast<int>(std::clamp<long long>(value, low, high));
}

// Room to grow beyond what is needed now: a sixteenth of the text keeps reallocations rare while
// typing without holding much unused memory for a large script.
int GrowthFor(int length)
{
    return std::max(MinGap, length / 16);
}
} // namespace

TTextBuffer::TTextBuffer()
{
    styleTable.push_back(TTextStyle {});
    ResetStyleLookup();
}

TTextBuffer::~TTextBuffer() = default;

template <typename Unit> void TTextBuffer::StoredUnits(int from, int count, Unit* out) const
{
    // A buffer never filled has no storage at all, and memcpy takes no null source even for no units.
    if (count <= 0)
        return;
    if (wide) {
        if constexpr (sizeof(Unit) == sizeof(char16_t))
            std::memcpy(out, wide.get() + from, sizeof(char16_t) * count);
        else
            std::copy_n(wide.get() + from, count, out); // only ever units below 256
    } else {
        if constexpr (sizeof(Unit) == 1)
            std::memcpy(out, narrow.get() + from, count);
        else
            std::copy_n(reinterpret_cast<const unsigned char*>(narrow.get()) + from, count, out);
    }
}

void TTextBuffer::Copy(int pos, int length, char16_t* chars, StyleId* ids) const
{
    if (length <= 0)
        return;
    const int beforeGap = std::clamp(gapStart - pos, 0, length);
    if (chars) {
        StoredUnits(pos, beforeGap, chars);
        StoredUnits(pos + beforeGap + gapLength, length - beforeGap, chars + beforeGap);
    }
    if (ids) {
        for (int k = 0; k < beforeGap; ++k)
            ids[k] = styles.Get(pos + k);
        for (int k = beforeGap, at = pos + beforeGap + gapLength; k < length; ++k)
            ids[k] = styles.Get(at++);
    }
}

void TTextBuffer::MoveGap(int pos)
{
    if (pos < gapStart) {
        const int count = gapStart - pos;
        MoveUnits(pos + gapLength, pos, count);
        styles.Move(pos + gapLength, pos, count);
    } else if (pos > gapStart) {
        const int count = pos - gapStart;
        MoveUnits(gapStart, gapStart + gapLength, count);
        styles.Move(gapStart, gapStart + gapLength, count);
    }
    gapStart = pos;
}

void TTextBuffer::MoveUnits(int to, int from, int count)
{
    if (wide)
        std::memmove(wide.get() + to, wide.get() + from, sizeof(char16_t) * count);
    else
        std::memmove(narrow.get() + to, narrow.get() + from, count);
}

void TTextBuffer::Reallocate(int newCapacity, bool toWide)
{
    const int length = Length();
    const int afterGap = length - gapStart;
    styles.Reallocate(newCapacity, gapStart, gapStart + gapLength, afterGap);
    // Left uninitialised on purpose: the pages of the gap are never touched until text goes there.
    auto moveText = [&](auto* newText) {
        StoredUnits(0, gapStart, newText);
        StoredUnits(gapStart + gapLength, afterGap, newText + newCapacity - afterGap);
    };
    if (toWide) {
        std::unique_ptr<char16_t[]> newText(new char16_t[newCapacity]);
        moveText(newText.get());
        wide = std::move(newText);
        narrow.reset();
    } else {
        std::unique_ptr<char[]> newText(new char[newCapacity]);
        moveText(newText.get());
        narrow = std::move(newText);
        wide.reset();
    }
    capacity = newCapacity;
    gapLength = newCapacity - length;
}

void TTextBuffer::EnsureGap(int units, bool toWide)
{
    if (gapLength >= units && toWide == static_cast<bool>(wide))
        return;
    const int needed = Length() + units;
    Reallocate(needed + GrowthFor(needed), toWide);
}

int TTextBuffer::NormalisedLength(QStringView input)
{
    const char16_t* data = input.utf16();
    const qsizetype size = input.size();
    qsizetype length = size;
    for (qsizetype i = 0; i + 1 < size; ++i) {
        if (data[i] == u'\r' && data[i + 1] == u'\n')
            --length;
    }
    return static_cast<int>(std::min<qsizetype>(length, Capacity + 1LL));
}

bool TTextBuffer::HasWideUnit(QStringView input)
{
    // An OR of all units: one pass without a branch per unit.
    char16_t all = 0;
    for (const char16_t unit : std::u16string_view(input.utf16(), static_cast<size_t>(input.size())))
        all |= unit;
    return all > 255;
}

template <typename Unit> void TTextBuffer::WriteInserted(Unit* out, QStringView input, int pos, int* newStart)
{
    const char16_t* in = input.utf16();
    const qsizetype inSize = input.size();
    int written = 0;
    for (qsizetype i = 0; i < inSize; ++i) {
        char16_t c = in[i];
        if (c == u'\r') {
            if (i + 1 < inSize && in[i + 1] == u'\n')
                ++i;
            c = u'\n';
        }
        out[written++] = static_cast<Unit>(c);
        if (c == u'\n')
            *newStart++ = pos + written;
    }
}

bool TTextBuffer::Replace(int pos, int length, QStringView input, TTextChange* change)
{
    const int total = Length();
    pos = std::clamp(pos, 0, total);
    const int end = ClampInt(static_cast<long long>(pos) + std::max(length, 0), pos, total);
    const int removed = end - pos;
    const int inserted = NormalisedLength(input);
    if (static_cast<long long>(total) - removed + inserted > Capacity)
        return false;

    const int firstLine = LineAt(pos);
    // The line starts that the removed breaks produced lie in (pos, end].
    const auto removedBegin = std::upper_bound(lineStarts.begin(), lineStarts.end(), pos);
    const auto removedEnd = std::upper_bound(removedBegin, lineStarts.end(), end);
    const int firstIndex = static_cast<int>(removedBegin - lineStarts.begin());
    const int breaksRemoved = static_cast<int>(removedEnd - removedBegin);

    // Widen the gap over the removed range, moving only text that stays.
    if (gapStart <= pos)
        MoveGap(pos);
    else if (gapStart >= end)
        MoveGap(end);
    gapStart = pos;
    gapLength += removed;
    if (removed == total) {
        // Nothing keeps a style: the table starts afresh, with room for four-bit ids.
        styleTable.resize(1);
        ResetStyleLookup();
        ++styleVersion;
        if (!styles.Packed())
            styles.ResetPacked(capacity);
    }
    // A unit above 255 widens the storage; a text replaced whole is held a byte per unit when it can be.
    const bool toWide = HasWideUnit(input) || (wide && removed < total);
    EnsureGap(inserted, toWide);

    // The inserted text takes its neighbour's style, as a rich-text control does.
    StyleId insertStyle = 0;
    if (pos > 0)
        insertStyle = StyleIdAt(pos - 1);
    else if (Length() > 0)
        insertStyle = StyleIdAt(pos);

    // The line starts of the removed breaks make room for those of the inserted ones, which the copy
    // below writes in place: a script loaded whole needs no second array of its line starts.
    int breaksInserted = 0;
    const char16_t* in = input.utf16();
    const qsizetype inSize = input.size();
    for (qsizetype i = 0; i < inSize; ++i) {
        if (in[i] == u'\n' || (in[i] == u'\r' && (i + 1 == inSize || in[i + 1] != u'\n')))
            ++breaksInserted;
    }
    if (breaksRemoved > breaksInserted)
        lineStarts.erase(
            lineStarts.begin() + firstIndex + breaksInserted, lineStarts.begin() + firstIndex + breaksRemoved);
    else if (breaksInserted > breaksRemoved)
        lineStarts.insert(lineStarts.begin() + firstIndex + breaksRemoved, breaksInserted - breaksRemoved, 0);
    int* newStart = lineStarts.data() + firstIndex;
    if (wide)
        WriteInserted(wide.get() + gapStart, input, pos, newStart);
    else
        WriteInserted(narrow.get() + gapStart, input, pos, newStart);
    styles.Fill(gapStart, gapStart + inserted, insertStyle);
    gapStart += inserted;
    gapLength -= inserted;

    // Every later start moves by the difference.
    const int delta = inserted - removed;
    if (delta != 0) {
        for (auto it = lineStarts.begin() + firstIndex + breaksInserted; it != lineStarts.end(); ++it)
            *it += delta;
    }

    // Give memory back after a large text was replaced by a much smaller one.
    const int newLength = Length();
    if (capacity > 2 * (newLength + GrowthFor(newLength)) && capacity > 16 * MinGap) {
        MoveGap(newLength);
        Reallocate(newLength + GrowthFor(newLength), static_cast<bool>(wide));
    }

    anchor = std::min(anchor, newLength);
    caret = std::min(caret, newLength);
    ++version;
    if (change)
        *change = { pos, removed, inserted, firstLine, breaksRemoved, breaksInserted };
    decorations.TextReplaced(pos, removed, inserted, firstLine, breaksRemoved, breaksInserted);
    // Joined to what changed before: its end, in the text between the two, is the later of both ends.
    const TChangedSpan now { pos, pos + removed, pos + inserted };
    if (!changedSpan) {
        changedSpan = now;
    } else {
        const TChangedSpan before = *changedSpan;
        changedSpan
            = TChangedSpan { std::min(before.start, now.start), before.oldEnd + std::max(0, now.oldEnd - before.newEnd),
                  now.newEnd + std::max(0, before.newEnd - now.oldEnd) };
    }
    return true;
}

void TTextBuffer::Select(int newAnchor, int newCaret)
{
    anchor = std::clamp(newAnchor, 0, Length());
    caret = std::clamp(newCaret, 0, Length());
}

TTextRange TTextBuffer::Convert(int pos, int length, TextUnit units) const
{
    long long start = pos;
    long long count = length;
    if (units == TextUnit::Lines) {
        start = CharAt(pos);
        if (length >= 0)
            count = CharAt(ClampInt(static_cast<long long>(pos) + length, INT32_MIN, INT32_MAX)) - start;
    }
    const int total = Length();
    if (count < 0)
        count = total - start;
    const int first = ClampInt(start, 0, total);
    const int last = ClampInt(start + count, first, total);
    return { first, last };
}

int TTextBuffer::CharAt(int line) const
{
    if (line < 0)
        return 0;
    if (line >= LineCount())
        return Length();
    return lineStarts[line];
}

int TTextBuffer::LineAt(int pos) const
{
    if (pos <= 0)
        return 0;
    if (pos >= Length())
        return LineCount() - 1;
    return static_cast<int>(std::upper_bound(lineStarts.begin(), lineStarts.end(), pos) - lineStarts.begin()) - 1;
}

int TTextBuffer::AreaLen(TextUnit units) const
{
    return units == TextUnit::Lines ? LineCount() - 1 : Length();
}

QString TTextBuffer::AreaText(int pos, int length, TextUnit units) const
{
    const TTextRange range = Convert(pos, length, units);
    QString result(range.Length(), Qt::Uninitialized);
    Copy(range.start, range.Length(), reinterpret_cast<char16_t*>(result.data()), nullptr);
    return result;
}

bool TTextBuffer::ReplaceText(int pos, int length, QStringView input, TextUnit units, TTextChange* change)
{
    const TTextRange range = Convert(pos, length, units);
    const int oldAnchor = anchor;
    const int oldCaret = caret;
    if (!Replace(range.start, range.Length(), input, change))
        return false;
    Select(oldAnchor, oldCaret);
    return true;
}

bool TTextBuffer::AddText(QStringView input, TTextChange* change)
{
    if (!Replace(Length(), 0, input, change))
        return false;
    Select(Length(), Length());
    return true;
}

int TTextBuffer::CursorPos(TextUnit units) const
{
    return units == TextUnit::Lines ? LineAt(SelStart()) : SelStart();
}

int TTextBuffer::SelectionLength(TextUnit units) const
{
    if (units == TextUnit::Lines)
        return LineAt(SelEnd() - 1) - LineAt(SelStart()) + 1;
    return SelEnd() - SelStart();
}

void TTextBuffer::SetSelection(int pos, int length, TextUnit units)
{
    const TTextRange range = Convert(pos, length, units);
    Select(range.start, range.end);
}

TTextRange TTextBuffer::SetStyles(std::span<const TRunColour> palette, std::span<const TColouredRun> runs)
{
    // The palette's ids first, before any run is filled: looking one up may renumber the table's ids,
    // those of the palette's colours before it included, or widen them.
    paletteIds.resize(palette.size());
    for (std::size_t k = 0; k < palette.size(); ++k) {
        const TRunColour& colour = palette[k];
        paletteIds[k] = StyleIdFor(
            StyleKey(colour.r, colour.g, colour.b, colour.flags), std::span<StyleId>(paletteIds.data(), k));
    }
    TTextRange touched { Length(), 0 };
    if (styles.Packed() && !runs.empty()) {
        // The runs of a colouring come in order, so they lie between the first's start and the last's end.
        const TTextRange first = ConvertChars(runs.front().pos, runs.front().length);
        const TTextRange last = ConvertChars(runs.back().pos, runs.back().length);
        TStyleIds::TOrderedFill ordered(styles, first.start < gapStart ? first.start : first.start + gapLength,
            last.end <= gapStart ? last.end : last.end + gapLength);
        FillRuns(runs, paletteIds, touched, [&](int from, int to, StyleId id) { ordered.Fill(from, to, id); });
    } else {
        FillRuns(runs, paletteIds, touched, [&](int from, int to, StyleId id) { styles.Fill(from, to, id); });
    }
    if (touched.start < touched.end)
        ++styleVersion;
    return touched.start < touched.end ? touched : TTextRange {};
}

template <typename Fill>
void TTextBuffer::FillRuns(
    std::span<const TColouredRun> runs, std::span<const StyleId> ids, TTextRange& touched, Fill fill)
{
    for (const TColouredRun& run : runs) {
        const TTextRange range = ConvertChars(run.pos, run.length);
        if (range.start >= range.end || static_cast<std::size_t>(run.colour) >= ids.size())
            continue;
        const StyleId id = ids[run.colour];
        ForStorage(range.start, range.end, [&](int from, int to) { fill(from, to, id); });
        touched.start = std::min(touched.start, range.start);
        touched.end = std::max(touched.end, range.end);
    }
}

void TTextBuffer::ResetStyleLookup()
{
    styleIndex.clear();
    for (size_t id = 0; id < styleTable.size(); ++id)
        styleIndex.emplace(KeyOfStyle(styleTable[id]), static_cast<StyleId>(id));
    styleCache.fill(CacheSlot {});
}

TTextBuffer::StyleId TTextBuffer::LookUpStyle(uint32_t key, std::span<StyleId> keep)
{
    CacheSlot& slot = styleCache[(key * 2654435761u) >> 26];
    auto found = styleIndex.find(key);
    if (found == styleIndex.end()) {
        if (styleTable.size() >= MaxStyles)
            CompactStyles(keep);
        // With every id still in use the new style cannot get one of its own; the default stands in.
        if (styleTable.size() >= MaxStyles)
            return 0;
        if (styleTable.size() >= TStyleIds::PackedStyles)
            styles.Unpack(capacity, gapStart, gapStart + gapLength);
        styleTable.push_back(StyleOfKey(key));
        found = styleIndex.emplace(key, static_cast<StyleId>(styleTable.size() - 1)).first;
    }
    slot = { key, found->second };
    return found->second;
}

void TTextBuffer::CompactStyles(std::span<StyleId> keep)
{
    std::vector<bool> used(styleTable.size(), false);
    used[0] = true;
    for (const StyleId id : keep)
        used[id] = true;
    const int length = Length();
    for (int pos = 0; pos < length; ++pos)
        used[StyleIdAt(pos)] = true;
    std::vector<StyleId> remap(styleTable.size(), 0);
    std::vector<TTextStyle> kept;
    for (size_t id = 0; id < styleTable.size(); ++id) {
        if (used[id]) {
            remap[id] = static_cast<StyleId>(kept.size());
            kept.push_back(styleTable[id]);
        }
    }
    for (int i = 0; i < capacity; ++i) {
        if (i < gapStart || i >= gapStart + gapLength)
            styles.Set(i, remap[styles.Get(i)]);
    }
    for (StyleId& id : keep)
        id = remap[id];
    styleTable = std::move(kept);
    ResetStyleLookup();
    ++styleVersion;
}

void TTextBuffer::SetTextColor(int r, int g, int b)
{
    // Only underline and strike-through survive, so four styles cover the whole text afterwards.
    std::vector<StyleId> remap(styleTable.size());
    for (size_t id = 0; id < styleTable.size(); ++id)
        remap[id]
            = static_cast<StyleId>((styleTable[id].flags & (TextStyleFlag::Underline | TextStyleFlag::StrikeOut)) >> 2);
    styleTable.clear();
    for (int flags = 0; flags <= (TextStyleFlag::Underline | TextStyleFlag::StrikeOut);
         flags += TextStyleFlag::Underline)
        styleTable.push_back(StyleOfKey(StyleKey(r, g, b, flags)));
    for (int i = 0; i < capacity; ++i) {
        if (i < gapStart || i >= gapStart + gapLength)
            styles.Set(i, remap[styles.Get(i)]);
    }
    ResetStyleLookup();
    ++styleVersion;
}
