// A full re-colouring lexes every line of a script of millions of characters, so each character
// costs one table lookup, and the parts are ranges of the line, never strings of their own.
// Parts are contiguous and filled in line order, so "append the character to the current part"
// is simply growing the last range by one.
#include "highlight/Lexer.h"

#include <array>
#include <cstdint>

namespace {

enum class CharClass : std::uint8_t { Other, Letter, Bracket, Sign, Digit };

// Covers U+0000..U+00FF, which holds every member of the tables including the colour-code sign;
// anything above is of no class.
constexpr std::array<CharClass, 256> BuildClassTable()
{
    std::array<CharClass, 256> table {};
    for (char16_t c : TLexer::tNumbers)
        table[c] = CharClass::Digit;
    for (char16_t c : TLexer::tSigns)
        table[c] = CharClass::Sign;
    for (char16_t c : TLexer::tBrackets)
        table[c] = CharClass::Bracket;
    // The alphabet is looked up in lower case, and only ASCII letters have a lower-case form that
    // is in it, so "A" to "Z" count as letters and no accented letter does.
    for (char16_t c : TLexer::tAlphabet) {
        table[c] = CharClass::Letter;
        if (c >= u'a' && c <= u'z')
            table[c - u'a' + u'A'] = CharClass::Letter;
    }
    return table;
}

constexpr std::array<CharClass, 256> ClassTable = BuildClassTable();

inline CharClass ClassOf(char16_t c)
{
    return c < ClassTable.size() ? ClassTable[c] : CharClass::Other;
}

enum class StringMode { None, DoubleQuoted, SingleQuoted, LongBracket };

} // namespace

template <typename Unit> void TLexer::ScanUnits(const Unit* line, qsizetype length, std::vector<TLexerSpan>& out)
{
    out.clear();
    // The first part is always used, so an empty line still yields its one empty part.
    out.push_back({ 0, 0, PT_OTHER });

    // Beyond either end of the line there is no character; 0 never equals any character tested for.
    auto at = [&](qsizetype k) -> char16_t { return k >= 0 && k < length ? line[k] : 0; };

    // A character of the same class as the current part extends it; otherwise it starts a new one.
    auto open = [&](qsizetype i, int type) {
        if (i > 0 && out.back().Type != type)
            out.push_back({ i, 0, type });
        TLexerSpan& part = out.back();
        part.Length += 1;
        part.Type = type;
    };

    // A part that always stands alone, whatever came before it.
    auto startAlone = [&](qsizetype i, qsizetype partLength, int type) {
        if (i > 0)
            out.push_back({ i, partLength, type });
        else
            out.back() = { 0, partLength, type };
    };

    StringMode mode = StringMode::None;
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = line[i];

        if (mode == StringMode::None) {
            if (c == u'-' && at(i + 1) == u'-') {
                startAlone(i, length - i, PT_COMMENT);
                return;
            }
            if (c == u'"') {
                mode = StringMode::DoubleQuoted;
                open(i, PT_STRING);
                continue;
            }
            if (c == u'\'') {
                mode = StringMode::SingleQuoted;
                open(i, PT_STRING);
                continue;
            }
            if (c == u'[' && at(i + 1) == u'[') {
                // The second "[" is taken as a string character on the next round.
                mode = StringMode::LongBracket;
                open(i, PT_STRING);
                continue;
            }
        } else {
            out.back().Length += 1;
            // A quote after a single backslash is escaped; after two it closes the string.
            const bool unescaped = at(i - 1) != u'\\' || at(i - 2) == u'\\';
            switch (mode) {
            case StringMode::DoubleQuoted:
                if (c == u'"' && unescaped)
                    mode = StringMode::None;
                break;
            case StringMode::SingleQuoted:
                if (c == u'\'' && unescaped)
                    mode = StringMode::None;
                break;
            case StringMode::LongBracket:
                if (c == u']' && at(i - 1) == u']')
                    mode = StringMode::None;
                break;
            case StringMode::None:
                break;
            }
            continue;
        }

        switch (ClassOf(c)) {
        case CharClass::Letter:
            open(i, PT_WORD);
            break;
        case CharClass::Bracket:
            open(i, PT_BRACKET);
            break;
        case CharClass::Sign:
            open(i, PT_SIGN);
            break;
        case CharClass::Digit:
            // A digit continues a word (msg2) but never starts one.
            if (i > 0 && out.back().Type == PT_WORD)
                out.back().Length += 1;
            else
                open(i, PT_NUMBER);
            break;
        case CharClass::Other:
            startAlone(i, 1, PT_OTHER);
            break;
        }
    }
}

template void TLexer::ScanUnits(const char16_t*, qsizetype, std::vector<TLexerSpan>&);
template void TLexer::ScanUnits(const unsigned char*, qsizetype, std::vector<TLexerSpan>&);
