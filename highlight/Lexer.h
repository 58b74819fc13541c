// Cuts one line of Lua source into typed parts for the syntax colouring.
#pragma once

#include "resources/TextParts.h"

#include <QString>
#include <QStringView>

#include <string_view>
#include <vector>

// One part of a lexed line as a range of the line, so the colouring can walk a whole script
// without building a string per part.
struct TLexerSpan {
    qsizetype Start = 0;
    qsizetype Length = 0;
    int Type = 0;
};

// Every line is lexed alone from a clean state: a string or comment never carries over into the
// next line, and keywords are plain words here (the colouring tells them apart).
//
// The parts of a line, in order, cover the line end to end, and each holds at least one code unit,
// except the single empty part of an empty line. The colouring relies on that to place each part by
// adding up lengths.
class TLexer {
public:
    static constexpr int PT_OTHER = 0; // exactly one code unit of no other class
    static constexpr int PT_SIGN = 1; // a run of sign characters
    static constexpr int PT_WORD = 2; // a letter or "_", then letters, "_" and digits
    static constexpr int PT_NUMBER = 3; // a run of digits that does not continue a word
    static constexpr int PT_STRING = 4; // quoted or [[ ]] strings, adjacent ones merged
    static constexpr int PT_COMMENT = 5; // "--" to the end of the line
    static constexpr int PT_BRACKET = 6; // a run of bracket characters

    // Membership is all that matters; lookups go through a table built from these.
    static constexpr std::u16string_view tBrackets = u"<>()[]{}";
    static constexpr std::u16string_view tSigns = u"=+-*/:~!;.,\\|@#$%^&\u00A9";
    static constexpr std::u16string_view tAlphabet = u"abcdefghijklmnopqrstuvwxyz_";
    static constexpr std::u16string_view tNumbers = u"1234567890";

    // The lexer keeps no state between lines, so there is nothing to make an instance of.
    TLexer() = delete;

    // Replaces the contents of `out` with the parts of `line`. A full re-colouring calls this for
    // every line of a script; reusing `out` across lines avoids any allocation once it has grown.
    static void ScanLine(QStringView line, std::vector<TLexerSpan>& out) { ScanUnits(UnitsOf(line), line.size(), out); }
    // The same of a line held a byte per character.
    static void ScanLine(QLatin1StringView line, std::vector<TLexerSpan>& out)
    {
        ScanUnits(UnitsOf(line), line.size(), out);
    }
    // Of `length` units, char16_t or unsigned char.
    template <typename Unit> static void ScanUnits(const Unit* line, qsizetype length, std::vector<TLexerSpan>& out);
};
