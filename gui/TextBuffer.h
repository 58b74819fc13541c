// TTextBuffer: the text area's text, per-character formatting and selection, and all its position arithmetic.
//
// The text is UTF-16 units in a gap buffer; a line break is one unit, stored as '\n'. While every unit
// is below 256, as in an ASCII or Latin-1 script, the gap buffer holds a byte per unit; the first unit
// above that widens it to UTF-16, and a text replaced whole is held narrow again if it can be. Beside every unit
// sits a style id (a parallel gap buffer sharing the same gap, four bits an id while the table is small)
// that indexes a small table of distinct (colour, flags) pairs, so formatting a range is a fill of ids
// and never an edit of the text; a text replaced whole starts the table afresh. The start
// of every line is kept in a sorted array, which makes line and character conversions a lookup or a
// binary search. Positions handed in from outside are clamped, never rejected.
#pragma once

#include "gui/Gadget.h"
#include "gui/StyleIds.h"
#include "gui/TextDecorations.h"
#include "resources/StyleRuns.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

// Style flags of a range: the bits SetStyle takes.
namespace TextStyleFlag {
inline constexpr int Bold = 1;
inline constexpr int Italic = 2;
inline constexpr int Underline = 4;
inline constexpr int StrikeOut = 8;
inline constexpr int All = 15;
} // namespace TextStyleFlag

struct TTextStyle {
    uint8_t r = 0, g = 0, b = 0;
    uint8_t flags = 0;
    bool operator==(const TTextStyle&) const = default;
};

// A clamped character range [start, end).
struct TTextRange {
    int start = 0;
    int end = 0;
    int Length() const { return end - start; }
    bool operator==(const TTextRange&) const = default;
};

// Where the text changed since someone last asked: [start, oldEnd) of the text as it was then became
// [start, newEnd) of the text now.
struct TChangedSpan {
    int start = 0;
    int oldEnd = 0;
    int newEnd = 0;
    bool operator==(const TChangedSpan&) const = default;
};

// What one replacement did, for the view to repaint: the units removed and inserted at pos, and the
// line breaks they held.
struct TTextChange {
    int pos = 0;
    int removed = 0;
    int inserted = 0;
    int firstLine = 0;
    int breaksRemoved = 0;
    int breaksInserted = 0;
};

class TTextBuffer {
public:
    using StyleId = uint8_t;
    static constexpr int Capacity = TextAreaCapacity;

    TTextBuffer();
    ~TTextBuffer();
    TTextBuffer(const TTextBuffer&) = delete;
    TTextBuffer& operator=(const TTextBuffer&) = delete;

    // Raw access for the view; positions must lie inside the text.
    int Length() const { return capacity - gapLength; }
    int LineCount() const { return static_cast<int>(lineStarts.size()); }
    char16_t At(int pos) const
    {
        const int at = pos < gapStart ? pos : pos + gapLength;
        return wide ? wide[at] : static_cast<unsigned char>(narrow[at]);
    }
    StyleId StyleIdAt(int pos) const { return styles.Get(pos < gapStart ? pos : pos + gapLength); }
    const TTextStyle& StyleOf(StyleId id) const { return styleTable[id]; }
    int LineStart(int line) const { return lineStarts[line]; }
    // Position of the line's break, or the end of the text on the last line.
    int LineEnd(int line) const { return line + 1 < LineCount() ? lineStarts[line + 1] - 1 : Length(); }
    // Copies [pos, pos + length) into either array; both ranges must lie inside the text.
    void Copy(int pos, int length, char16_t* chars, StyleId* ids) const;
    // The text before the gap and after it, without a copy; valid until the next replacement.
    TTextParts Parts() const
    {
        if (!wide)
            return TTextParts::Narrow(QLatin1StringView(narrow.get(), gapStart),
                QLatin1StringView(narrow.get() + gapStart + gapLength, Length() - gapStart));
        return TTextParts::Wide(
            QStringView(wide.get(), gapStart), QStringView(wide.get() + gapStart + gapLength, Length() - gapStart));
    }
    // Whether the text is held a byte per unit, and the style ids four bits each (for tests of the storage).
    bool Narrow() const { return !wide; }
    bool StylesPacked() const { return styles.Packed(); }
    // Changes with every replacement, so the view can tell whether an action edited the text.
    unsigned Version() const { return version; }
    // What every replacement since the last call changed, as one span; nothing when none did.
    std::optional<TChangedSpan> TakeChangedSpan()
    {
        std::optional<TChangedSpan> span = changedSpan;
        changedSpan.reset();
        return span;
    }

    // Indicators and line markers, shifted by every replacement.
    TTextDecorations& Decorations() { return decorations; }
    const TTextDecorations& Decorations() const { return decorations; }
    // Changes whenever any formatting may have changed.
    unsigned StyleVersion() const { return styleVersion; }

    // Replaces [pos, pos + length) (clamped) by `text`, each "\r\n", "\r" and "\n" becoming one line
    // break. Inserted text takes the style of the unit before it, at the start the style of the unit
    // after it, in an empty text the default. False, with nothing changed, when the result would hold
    // more than Capacity units. The selection is only clamped.
    bool Replace(int pos, int length, QStringView text, TTextChange* change = nullptr);
    // The units `text` takes once its line breaks are normalised.
    static int NormalisedLength(QStringView text);

    // The selection: the anchor stays where it began, the caret moves.
    int Anchor() const { return anchor; }
    int Caret() const { return caret; }
    int SelStart() const { return std::min(anchor, caret); }
    int SelEnd() const { return std::max(anchor, caret); }
    void Select(int newAnchor, int newCaret);

    // The gadget's operations. In lines a position is a line number and a length a count of whole
    // lines; a negative length runs to the end of the text.
    TTextRange Convert(int pos, int length, TextUnit units) const;
    int CharAt(int line) const;
    int LineAt(int pos) const;
    int AreaLen(TextUnit units) const;
    QString AreaText(int pos, int length, TextUnit units) const;
    // Replaces and then puts the selection's start and length back, clamped to the new text.
    bool ReplaceText(int pos, int length, QStringView text, TextUnit units, TTextChange* change = nullptr);
    // Appends and puts the caret at the new end.
    bool AddText(QStringView text, TTextChange* change = nullptr);
    int CursorPos(TextUnit units) const;
    int SelectionLength(TextUnit units) const;
    void SetSelection(int pos, int length, TextUnit units);
    // Gives the range one colour and style; returns the range touched. Text and selection stay.
    // Inline because colouring a script calls it once per token.
    TTextRange SetStyle(int r, int g, int b, int flags, int pos, int length, TextUnit units)
    {
        const TTextRange range = units == TextUnit::Chars ? ConvertChars(pos, length) : Convert(pos, length, units);
        if (range.start < range.end) {
            FillStyle(range.start, range.end, StyleIdFor(StyleKey(r, g, b, flags)));
            ++styleVersion;
        }
        return range;
    }
    // SetStyle of every run in turn in its colour from `palette`; returns the range from the first
    // character touched to the last.
    TTextRange SetStyles(std::span<const TRunColour> palette, std::span<const TColouredRun> runs);
    // The default colour: the whole text takes it and loses bold and italic, and so does text typed later.
    void SetTextColor(int r, int g, int b);
    const TTextStyle& DefaultStyle() const { return styleTable[0]; }
    // Number of distinct styles in the table (for tests of its upkeep).
    int StyleTableSize() const { return static_cast<int>(styleTable.size()); }

private:
    static constexpr int MaxStyles = 256;

    static uint32_t StyleKey(int r, int g, int b, int flags)
    {
        return static_cast<uint32_t>(r & 255) | static_cast<uint32_t>(g & 255) << 8
            | static_cast<uint32_t>(b & 255) << 16 | static_cast<uint32_t>(flags & TextStyleFlag::All) << 24;
    }
    // Convert for character units.
    TTextRange ConvertChars(int pos, int length) const
    {
        const int total = Length();
        const int start = pos < 0 ? 0 : (pos > total ? total : pos);
        const long long end = length < 0 ? total : static_cast<long long>(pos) + length;
        return { start, end < start ? start : (end > total ? total : static_cast<int>(end)) };
    }
    // Calls fill(from, to) with the storage indices of the text's [start, end): twice when it spans the gap.
    template <typename Fill> void ForStorage(int start, int end, Fill fill) const
    {
        const int gap = gapStart;
        const int shift = gapLength;
        if (end <= gap) {
            fill(start, end);
        } else if (start >= gap) {
            fill(start + shift, end + shift);
        } else {
            fill(start, gap);
            fill(gap + shift, end + shift);
        }
    }
    void FillStyle(int start, int end, StyleId id)
    {
        ForStorage(start, end, [&](int from, int to) { styles.Fill(from, to, id); });
    }
    // `keep`: ids in use beyond the text's, which a renumbering of the table keeps and renumbers.
    StyleId StyleIdFor(uint32_t key, std::span<StyleId> keep = {})
    {
        const CacheSlot& slot = styleCache[(key * 2654435761u) >> 26];
        return slot.key == key ? slot.id : LookUpStyle(key, keep);
    }

    static bool HasWideUnit(QStringView input);
    void MoveGap(int pos);
    // Room for `units` more in storage of the given width.
    void EnsureGap(int units, bool toWide);
    // Moves the text into storage of newCapacity units, a byte each unless `toWide`.
    void Reallocate(int newCapacity, bool toWide);
    void MoveUnits(int to, int from, int count);
    // Copies `count` stored units from storage index `from` (gap included) into `out`.
    template <typename Unit> void StoredUnits(int from, int count, Unit* out) const;
    // Writes `input` with its line breaks normalised, and the starts of the lines they begin.
    template <typename Unit> void WriteInserted(Unit* out, QStringView input, int pos, int* newStart);
    // Fills each run with the id of its colour through `fill`, with storage indices.
    template <typename Fill>
    void FillRuns(std::span<const TColouredRun> runs, std::span<const StyleId> ids, TTextRange& touched, Fill fill);
    StyleId LookUpStyle(uint32_t key, std::span<StyleId> keep);
    void CompactStyles(std::span<StyleId> keep);
    void ResetStyleLookup();

    // One of the two holds the text: `wide` once it holds a unit above 255, else `narrow`.
    std::unique_ptr<char[]> narrow;
    std::unique_ptr<char16_t[]> wide;
    TStyleIds styles;
    int capacity = 0;
    int gapStart = 0;
    int gapLength = 0;
    std::vector<int> lineStarts { 0 };
    int anchor = 0;
    int caret = 0;
    unsigned version = 0;
    unsigned styleVersion = 0;
    std::optional<TChangedSpan> changedSpan;
    TTextDecorations decorations;

    // Style id 0 is the default style. The lookup of a (colour, flags) key goes through a small
    // direct-mapped cache first: colouring alternates between a handful of styles.
    std::vector<TTextStyle> styleTable;
    std::unordered_map<uint32_t, StyleId> styleIndex;
    struct CacheSlot {
        uint32_t key = ~0u;
        StyleId id = 0;
    };
    std::array<CacheSlot, 64> styleCache;
    std::vector<StyleId> paletteIds; // SetStyles's, kept for the next
};
