// Finding the partner of the bracket or the block keyword at the caret, by the lexer's parts: brackets
// in strings and comments do not count.
#pragma once

#include <QString>

#include <functional>
#include <optional>

struct TMatchPart {
    int line = 0;
    int column = 0;
    int length = 0;
    bool operator==(const TMatchPart&) const = default;
};

struct TBracketMatch {
    TMatchPart at; // the bracket or keyword beside the caret
    std::optional<TMatchPart> partner; // none: it has no partner in the text
    bool operator==(const TBracketMatch&) const = default;
};

// The lines of the text, by number.
using TLineSource = std::function<QString(int line)>;

// The bracket "(", ")", "[", "]", "{" or "}" just before the caret, else just after it; else the block
// keyword (function, if, for, while, do, repeat, end, until) the caret is in or beside. Nothing when
// there is none, or when the partner lies further than `reach` lines away (then the search gives up
// rather than call it unmatched).
std::optional<TBracketMatch> MatchAtCaret(
    const TLineSource& lines, int lineCount, int caretLine, int caretColumn, int reach = 2000);
