// TTextMotion: where the caret goes by character and by word, and which word a double click selects.
//
// A surrogate pair counts as one character. Words are runs of one class of character: word
// characters (letters, digits, marks, the underscore), punctuation, or blanks; a line break is a
// class of its own, so motions by word stop at line ends.
#pragma once

#include "gui/TextBuffer.h"

class TTextMotion {
public:
    explicit TTextMotion(const TTextBuffer& buffer)
        : buffer(buffer)
    {
    }

    int Next(int pos) const;
    int Previous(int pos) const;
    // Past the rest of this word and the blanks after it; a line break is passed alone.
    int NextWord(int pos) const;
    // Back over blanks, then to the start of the word before them; from a line start, to the end of the
    // line before.
    int PreviousWord(int pos) const;
    // The run of one class that holds the character at pos; empty at a line break or the end.
    TTextRange WordAt(int pos) const;

private:
    const TTextBuffer& buffer;
};
