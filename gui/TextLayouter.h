// TTextLayouter: lays out lines of a TTextBuffer in the text area's fonts and tab stops.
//
// A layout remembers the text and style versions and the font generation it was made from, so asking
// again for an unchanged line costs a comparison: several steps of one key press (placing the caret,
// scrolling to it, measuring the line) ask for the caret's line, and a long line is laid out once.
#pragma once

#include "gui/LineLayout.h"
#include "gui/TextBuffer.h"
#include "gui/TextFonts.h"

#include <climits>
#include <cmath>
#include <vector>

class TTextLayouter {
public:
    TTextLayouter(const TTextBuffer& buffer, TTextFonts& fonts)
        : buffer(buffer)
        , fonts(fonts)
    {
        MeasureAsciiCells();
        PlaceTabStops();
        PlaceSwatchRoom();
    }

    // Every layout depends on the font and the tab width; a change of either makes them all stale.
    void FontChanged();
    // Tab stops lie a whole number of columns (blanks) apart, as many as come nearest to `pixels`: the
    // program asks for its stops in pixels of a font whose columns divided them evenly, and a stop
    // between two columns would leave a tab just before it a pixel wide.
    void SetTabWidth(int pixels);
    float TabWidth() const { return tabWidth; }

    // Lays the line out into `layout` unless it already holds the line as it is now. Inline, so that
    // the common case of an unchanged line costs no call on the paint path.
    void Layout(int line, TLineLayout& layout)
    {
        if (layout.line != line || layout.textVersion != buffer.Version()
            || layout.styleVersion != buffer.StyleVersion() || layout.generation != generation
            || layout.layoutVersion != buffer.Decorations().LayoutVersion())
            Relayout(line, layout);
    }

    // The layouter's own layout of a line, valid until the next call that lays out another one.
    const TLineLayout& Line(int line)
    {
        Layout(line, work);
        return work;
    }
    const TLineLayout& LineOf(int pos) { return Line(buffer.LineAt(pos)); }
    float XOfPosition(int pos) { return LineOf(pos).XOf(pos); }
    // The width a layout of the line would have, without making one: what measuring many lines costs.
    float Width(int line);
    // The caret stop on a line nearest to x: a clicked or aimed-at position is never inside a cluster.
    int PositionAtX(int line, float x);
    // The room a colour swatch takes before its code: a square of about the text's height and a margin.
    float SwatchRoom() const { return swatchRoom; }

private:
    void Relayout(int line, TLineLayout& layout);
    float Advance(const TTextFonts::TGlyph& glyph, bool hasBase);
    void PlaceTabStops();
    void PlaceSwatchRoom() { swatchRoom = std::round(static_cast<float>(fonts.LineHeight()) * 0.75f) + 4; }
    void MeasureAsciiCells();
    // Walks `count` units from x = 0 and returns the x after them; `place(i, x)` hears the x of
    // every position. Layouts and widths go through this one walk, so that they agree to the bit.
    // A swatch's room opens before each unit the line's `swatches` (offsets, in order) name.
    template <typename Place>
    float Walk(const char16_t* chars, const TTextBuffer::StyleId* ids, int count, Place place);
    // The offsets in the line starting at `start` with `count` units before which a swatch stands.
    void FindSwatches(int start, int count);
    // The first tab stop at least one column ahead of x; a sum of advances that falls a hair short
    // of a column still counts as on it.
    float NextTabStop(float x) const { return std::ceil((x + tabReach) / tabWidth) * tabWidth; }

    const TTextBuffer& buffer;
    TTextFonts& fonts;
    int askedTabWidth = 48;
    float tabWidth = 48;
    float tabReach = 0;
    // The advance every printable ASCII character has in a variant, or 0 when they differ.
    float asciiCell[TTextFonts::Variants] = {};
    unsigned generation = 1;
    TLineLayout work;
    // Scratch of Width, grown to the longest line it measured.
    std::vector<char16_t> measuredChars;
    std::vector<TTextBuffer::StyleId> measuredIds;
    float swatchRoom = 14;
    std::vector<int> swatches { INT_MAX }; // the offsets FindSwatches found, ending with INT_MAX
};
