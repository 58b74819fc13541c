// Finding and replacing text in a text area's text, read in place from its two stored parts.
#pragma once

#include "gui/Gadget.h"

#include <QString>
#include <QStringView>

struct TSearchOptions {
    bool matchCase = false;
    // A match counts only when the characters beside it cannot continue a Lua identifier.
    bool wholeWord = false;
};

// Whether `c` may stand inside a Lua identifier: an ASCII letter, a digit or the underscore.
bool IsWordCharacter(QChar c);

// The first match of `needle` starting at or after `from`; -1 when there is none or the needle is empty.
int FindForward(const TTextParts& text, QStringView needle, int from, TSearchOptions options);
// The last match starting at or before `from`; -1 when there is none.
int FindBackward(const TTextParts& text, QStringView needle, int from, TSearchOptions options);
// Whether a match starts at `pos` and spans exactly `length` characters.
bool IsMatchAt(const TTextParts& text, QStringView needle, int pos, int length, TSearchOptions options);

// Every match, left to right and not overlapping, replaced in one pass. Only the stretch from the first
// match to the end of the last changes: `text` is what takes the place of [start, end).
struct TReplacement {
    int count = 0;
    int start = 0;
    int end = 0;
    QString text;
};
TReplacement ReplaceAllMatches(
    const TTextParts& text, QStringView needle, QStringView replacement, TSearchOptions options);
