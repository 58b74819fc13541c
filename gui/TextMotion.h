// TTextMotion: where the caret goes by character and by word, and which word a double click selects.
//
// The caret stops only between grapheme clusters, what a reader takes for one character: a letter
// with its combining accents, a flag, an emoji with its skin tone or a sequence joined by zero-width
// joiners. Qt's boundary finder knows the rules; it reads a short window of the line copied around the
// position, so that a step costs the same on a line of any length, and is not asked at all between two
// characters below U+0300, each a cluster of its own. Words are runs of one class of character: word
// characters (letters, digits, marks, the underscore), punctuation, or blanks; a line break is a
// class of its own, so motions by word stop at line ends. Word motions too end between clusters.
#pragma once

#include "gui/TextBuffer.h"

class TTextMotion {
public:
    explicit TTextMotion(const TTextBuffer& buffer)
        : buffer(buffer)
    {
    }

    // The next and previous cluster boundaries; from inside a cluster, its end and its start.
    int Next(int pos) const;
    int Previous(int pos) const;
    // One code point back: what Backspace takes, never half a surrogate pair.
    int PreviousCodePoint(int pos) const;
    bool IsClusterBoundary(int pos) const;
    // Past the rest of this word and the blanks after it; a line break is passed alone.
    int NextWord(int pos) const;
    // Back over blanks, then to the start of the word before them; from a line start, to the end of the
    // line before.
    int PreviousWord(int pos) const;
    // The run of one class that holds the character at pos; empty at a line break or the end.
    TTextRange WordAt(int pos) const;

private:
    // Word edges by character classes alone, before they are moved out of a cluster.
    int NextWordEdge(int pos) const;
    int PreviousWordEdge(int pos) const;
    // The boundary after (forward) or before pos found by the boundary finder; pos lies inside its line,
    // short of the line's end going forward and past its start going back.
    int FindClusterBoundary(int pos, bool forward) const;
    // Where a window that is to start at `from` may start: not inside a surrogate pair, and not between
    // the two halves of a flag.
    int WindowStart(int from, int lineStart, int lineEnd) const;

    const TTextBuffer& buffer;
};
