// A simple split of Lua text into tokens for the benchmarks: words, keywords, numbers, strings,
// comments, brackets and signs. Blanks are not tokens. The editor's real lexer is elsewhere.
#pragma once

#include <array>
#include <string_view>

enum class BenchTokenKind : int { Word = 1, Keyword, Number, String, Comment, Bracket, Sign };

struct TBenchToken {
    int start;
    int length;
    BenchTokenKind kind;
};

inline bool IsBenchKeyword(const char16_t* word, int length)
{
    static constexpr std::array<std::u16string_view, 21> keywords { u"and", u"break", u"do", u"else", u"elseif", u"end",
        u"false", u"for", u"function", u"if", u"in", u"local", u"nil", u"not", u"or", u"return", u"then", u"true",
        u"while", u"addhook", u"parse" };
    const std::u16string_view candidate(word, static_cast<size_t>(length));
    for (std::u16string_view keyword : keywords) {
        if (keyword == candidate)
            return true;
    }
    return false;
}

// Calls onToken(start, length, kind) for every token of text[0, length), positions offset by `base`.
template <typename Emit> void SplitTokens(const char16_t* text, int length, int base, Emit&& onToken)
{
    auto isWordChar = [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'
            || c >= 128;
    };
    int i = 0;
    while (i < length) {
        const char16_t c = text[i];
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            ++i;
            continue;
        }
        const int start = i;
        BenchTokenKind kind = BenchTokenKind::Sign;
        if (c == u'-' && i + 1 < length && text[i + 1] == u'-') {
            while (i < length && text[i] != u'\n')
                ++i;
            kind = BenchTokenKind::Comment;
        } else if (c == u'"' || c == u'\'') {
            ++i;
            while (i < length && text[i] != c && text[i] != u'\n')
                i += text[i] == u'\\' && i + 1 < length ? 2 : 1;
            if (i < length && text[i] == c)
                ++i;
            kind = BenchTokenKind::String;
        } else if (c >= u'0' && c <= u'9') {
            while (i < length && (isWordChar(text[i]) || text[i] == u'.'))
                ++i;
            kind = BenchTokenKind::Number;
        } else if (isWordChar(c)) {
            while (i < length && isWordChar(text[i]))
                ++i;
            kind = IsBenchKeyword(text + start, i - start) ? BenchTokenKind::Keyword : BenchTokenKind::Word;
        } else {
            ++i;
            if (c == u'(' || c == u')' || c == u'[' || c == u']' || c == u'{' || c == u'}')
                kind = BenchTokenKind::Bracket;
        }
        onToken(base + start, i - start, kind);
    }
}
