// TEditedLines: the lines that the text area's offered edits touched since the loop last re-coloured.
//
// An edit of the mouse (a drop, a middle-click paste) can span many lines, and the change event that
// follows it names none; a move is two edits before the loop sees one merged event. Each edit is noted
// when it is offered, and the ranges noted before it are shifted by the line breaks it removes and
// inserts, so that they still name the same text when the loop re-colours them.
#pragma once

#include <vector>

struct TLineRange {
    int first = 0;
    int last = 0;
    bool operator==(const TLineRange&) const = default;
};

class TEditedLines {
public:
    // An edit starting on `line` is about to remove `breaksRemoved` line breaks and insert
    // `breaksInserted`; afterwards it covers lines line to line + breaksInserted.
    void Edit(int line, int breaksRemoved, int breaksInserted);
    // The ranges noted since the last call, in lines of the text as it is now, and forgets them.
    std::vector<TLineRange> Take();

private:
    std::vector<TLineRange> ranges;
};
