// TLineLayout: one line of the text area laid out, and the conversions between its positions and x.
#pragma once

#include "gui/TextBuffer.h"

#include <vector>

// The line's units, their style ids, and the x of every position from the line start (one more than
// units; the middle of a surrogate pair shares the x of the pair's start). Tabs and glyph advances are
// already resolved, so that hit testing and drawing read the same numbers.
struct TLineLayout {
    int line = -1;
    int start = 0;
    // What the layout was made from; a layout that still matches is not made again.
    unsigned textVersion = 0;
    unsigned styleVersion = 0;
    unsigned generation = 0;
    unsigned layoutVersion = 0;
    std::vector<char16_t> chars;
    std::vector<TTextBuffer::StyleId> ids;
    std::vector<float> xs;

    int Size() const { return static_cast<int>(chars.size()); }
    float Width() const { return xs.back(); }
    // The x of a position, for positions outside the line the nearer end.
    float XOf(int pos) const;
    // The position whose gap lies nearest to x; never the middle of a surrogate pair.
    int PositionAtX(float x) const;
    // The position of the character whose cell holds x: what a double click points at, rather than the
    // nearest gap. The last character for any x past the end. Inside a surrogate pair's cell it may be
    // the pair's middle, which is enough for finding the word it belongs to.
    int CharacterAtX(float x) const;
};
