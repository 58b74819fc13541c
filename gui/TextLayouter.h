// TTextLayouter: lays out lines of a TTextBuffer in the text area's fonts and tab stops.
//
// A layout remembers the text and style versions and the font generation it was made from, so asking
// again for an unchanged line costs a comparison: several steps of one key press (placing the caret,
// scrolling to it, measuring the line) ask for the caret's line, and a long line is laid out once.
#pragma once

#include "gui/LineLayout.h"
#include "gui/TextBuffer.h"
#include "gui/TextFonts.h"

class TTextLayouter {
public:
    TTextLayouter(const TTextBuffer& buffer, TTextFonts& fonts)
        : buffer(buffer)
        , fonts(fonts)
    {
    }

    // Every layout depends on the font and the tab width; a change of either makes them all stale.
    void FontChanged() { ++generation; }
    void SetTabWidth(int pixels);

    // Lays the line out into `layout` unless it already holds the line as it is now. Inline, so that
    // the common case of an unchanged line costs no call on the paint path.
    void Layout(int line, TLineLayout& layout)
    {
        if (layout.line != line || layout.textVersion != buffer.Version()
            || layout.styleVersion != buffer.StyleVersion() || layout.generation != generation)
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
    // The caret stop on a line nearest to x: a clicked or aimed-at position is never inside a cluster.
    int PositionAtX(int line, float x);

private:
    void Relayout(int line, TLineLayout& layout);
    float Advance(const TTextFonts::TGlyph& glyph, bool hasBase);

    const TTextBuffer& buffer;
    TTextFonts& fonts;
    int tabWidth = 48;
    unsigned generation = 1;
    TLineLayout work;
};
