// TTextRows: the rows the text area shows its lines in when long lines wrap at the window's edge.
//
// A line is cut into rows at the last blank that fits, else at the last cluster boundary that fits, so
// that a row never ends inside a surrogate pair or before a combining mark; blanks that would overflow
// the edge stay at the end of their row. The scroll range counts rows, so the count of every line is
// kept: exact for the lines that were laid out (painted, or passed by the caret), and for the others
// estimated from the width the line widths keep of every line anyway. Sums over the counts in a
// Fenwick tree turn a row into its line and back in logarithmic time; an edit changes the counts of
// the lines it made, and one that adds or removes lines rebuilds the sums once, when next asked. A new
// wrap width makes every count an estimate again: a resize costs a pass over numbers, never a layout of
// the whole script. With wrapping off every line is one row and nothing is kept.
#pragma once

#include "gui/LineLayout.h"
#include "gui/LineWidths.h"
#include "gui/TextBuffer.h"
#include "gui/TextLayouter.h"

#include <cstdint>
#include <vector>

// One row of a line: the units [start, end) of the text, end being the next row's start or the
// line's end. A position at a wrap point belongs to the row it starts.
struct TRowPlace {
    int line = 0;
    int index = 0; // the row's index in its line
};

struct TTextRow {
    int line = 0;
    int index = 0; // 0 for the line's first row
    int start = 0;
    int end = 0;
    bool last = true; // the line's last row, which also holds the line's end
};

class TTextRows {
public:
    TTextRows(const TTextBuffer& buffer, TTextLayouter& layouter, const TLineWidths& widths)
        : buffer(buffer)
        , layouter(layouter)
        , widths(widths)
    {
    }

    bool On() const { return wrapWidth > 0; }
    float Width() const { return wrapWidth; }
    // Lines wrap at `width` pixels from their start; 0 turns wrapping off.
    void SetWidth(float width);

    // Every count an estimate again, after the widths of all lines were measured anew.
    void Reset();
    // Lines [first, first + removed) were replaced by `inserted` lines, already measured in the widths.
    void LinesReplaced(int first, int removed, int inserted);
    // The lines' counts may have changed (their styles did); they are taken again when laid out next.
    void Forget(int first, int last);

    // Rows of the whole text, and the row a line starts on; with wrapping off, lines.
    int Count() const;
    int FirstRow(int line) const;
    // The line that holds a row, and the row's index in it; rows past the end are the last line's.
    TRowPlace LineOfRow(int row) const;
    // The count kept for a line, exact or estimated, without laying it out.
    int StoredCount(int line) const { return On() && line >= 0 && line < Lines() ? counts[line] : 1; }
    // Changes whenever a count does, so the view can tell that rows moved while it painted.
    unsigned Version() const { return version; }

    // Where the rows of a laid-out line start, in units from its start (the first is 0); notes the count.
    const std::vector<int>& Breaks(const TLineLayout& layout);
    // The line's count, laying it out when only an estimate is known.
    int RowsOf(int line);
    // Makes the counts exact from `line` on until they hold more than `rows` rows: the lines a view
    // shows from there. Whether the text fills the view then no longer depends on estimates, so that
    // a vertical scroll bar, which narrows the rows, does not come and go as they are laid out.
    void Settle(int line, int rows);
    TTextRow RowAt(int line, int index);
    TTextRow RowOf(int pos);
    // The row `count` rows below (negative: above), clamped to the text.
    TTextRow Step(const TTextRow& row, int count);
    // The caret stop on the row nearest to x pixels from the row's start; on a row that is not its
    // line's last, the row's end is the next row's, so the stop before it is the furthest.
    int PositionAtX(const TTextRow& row, float x);
    // The last caret stop that shows on the row.
    int LastStop(const TTextRow& row);
    // The x, from its line's start, at which the row begins.
    float StartX(const TTextRow& row) { return layouter.LineOf(row.start).XOf(row.start); }

private:
    int Lines() const { return static_cast<int>(counts.size()); }
    int Estimate(int line) const;
    TTextRow Fill(const TLineLayout& layout, int index);
    int Prefix(int line) const;
    void SetCount(int line, int count);
    void Rebuild() const;
    void Add(int line, int delta) const;

    const TTextBuffer& buffer;
    TTextLayouter& layouter;
    const TLineWidths& widths;
    float wrapWidth = 0;
    std::vector<int> counts;
    std::vector<uint8_t> exact;
    // Fenwick tree over the counts, 1-based; rebuilt when lines come or go.
    mutable std::vector<int> tree;
    mutable bool treeStale = true;
    int total = 0;
    unsigned version = 0;

    // The breaks of the line last asked for, and what they were made from.
    std::vector<int> breaks;
    int breaksLine = -1;
    unsigned breaksText = 0;
    unsigned breaksStyle = 0;
    unsigned breaksGeneration = 0;
    float breaksWidth = 0;
};
