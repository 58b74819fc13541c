#include "lua/LuaTokens.h"

#include <algorithm>
#include <array>

namespace {
bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool IsNameStart(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool IsNamePart(char16_t c)
{
    return IsNameStart(c) || IsDigit(c);
}

bool IsLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r';
}

class TTokenReader {
public:
    explicit TTokenReader(QStringView text)
        : s(text)
        , n(int(text.size()))
    {
    }

    std::vector<TLuaToken> Run()
    {
        std::vector<TLuaToken> tokens;
        tokens.reserve(std::size_t(n / 4));
        int i = 0;
        while (i < n) {
            const char16_t c = s[i].unicode();
            if (c == u' ' || c == u'\t' || IsLineBreak(c) || c == u'\f' || c == u'\v') {
                ++i;
                continue;
            }
            const int start = i;
            TLuaTokenKind kind = TLuaTokenKind::Symbol;
            if (c == u'-' && At(i + 1) == u'-') {
                i += 2;
                const int level = LongBracketLevel(i);
                i = level < 0 ? LineEnd(i) : LongBracketEnd(i + level + 2, level);
                continue;
            }
            if (IsNameStart(c)) {
                while (i < n && IsNamePart(s[i].unicode()))
                    ++i;
                kind = IsLuaKeyword(s.mid(start, i - start)) ? TLuaTokenKind::Keyword : TLuaTokenKind::Name;
            } else if (IsDigit(c) || (c == u'.' && IsDigit(At(i + 1)))) {
                i = NumberEnd(i);
                kind = TLuaTokenKind::Number;
            } else if (c == u'"' || c == u'\'') {
                i = QuotedEnd(i + 1, c);
                kind = TLuaTokenKind::String;
            } else if (const int level = LongBracketLevel(i); level >= 0) {
                i = LongBracketEnd(i + level + 2, level);
                kind = TLuaTokenKind::String;
            } else {
                i = SymbolEnd(i);
            }
            tokens.push_back({ kind, start, i });
        }
        return tokens;
    }

private:
    char16_t At(int i) const { return i < n ? s[i].unicode() : u'\0'; }

    // The level of a long bracket opening at `at` ("[[" 0, "[==[" 2), or -1 when none opens there.
    int LongBracketLevel(int at) const
    {
        if (At(at) != u'[')
            return -1;
        int i = at + 1;
        while (At(i) == u'=')
            ++i;
        return At(i) == u'[' ? i - at - 1 : -1;
    }

    // Past the closing bracket of the level, or the end of the text when it never closes.
    int LongBracketEnd(int i, int level) const
    {
        while (i < n) {
            const qsizetype close = s.indexOf(u']', i);
            if (close < 0)
                return n;
            int j = int(close) + 1;
            while (At(j) == u'=')
                ++j;
            if (j - int(close) - 1 == level && At(j) == u']')
                return j + 1;
            i = int(close) + 1;
        }
        return n;
    }

    int LineEnd(int i) const
    {
        while (i < n && !IsLineBreak(s[i].unicode()))
            ++i;
        return i;
    }

    // A string left open ends before its line break, where Lua gives up on it.
    int QuotedEnd(int i, char16_t quote) const
    {
        while (i < n) {
            const char16_t c = s[i].unicode();
            if (c == quote)
                return i + 1;
            if (IsLineBreak(c))
                return i;
            if (c == u'\\') {
                ++i;
                if (i < n && IsLineBreak(s[i].unicode())) {
                    const char16_t first = s[i].unicode();
                    ++i;
                    if (i < n && IsLineBreak(s[i].unicode()) && s[i].unicode() != first)
                        ++i;
                    continue;
                }
            }
            ++i;
        }
        return n;
    }

    // As Lua 5.1 reads a numeral: digits, points, letters and "_", and a sign right after an exponent.
    int NumberEnd(int i) const
    {
        while (i < n) {
            const char16_t c = s[i].unicode();
            if ((c == u'+' || c == u'-') && (At(i - 1) == u'e' || At(i - 1) == u'E')) {
                ++i;
                continue;
            }
            if (!IsNamePart(c) && c != u'.')
                break;
            ++i;
        }
        return i;
    }

    int SymbolEnd(int i) const
    {
        const char16_t c = s[i].unicode();
        const char16_t next = At(i + 1);
        if (c == u'.' && next == u'.')
            return At(i + 2) == u'.' ? i + 3 : i + 2;
        if ((c == u'=' || c == u'<' || c == u'>' || c == u'~') && next == u'=')
            return i + 2;
        // A surrogate pair is one character, and one symbol.
        if (s[i].isHighSurrogate() && i + 1 < n && s[i + 1].isLowSurrogate())
            return i + 2;
        return i + 1;
    }

    QStringView s;
    int n;
};
} // namespace

std::vector<TLuaToken> ReadLuaTokens(QStringView text)
{
    return TTokenReader(text).Run();
}

QString LuaStringValue(QStringView text, const TLuaToken& token)
{
    const QStringView t = text.mid(token.start, token.end - token.start);
    if (t.isEmpty())
        return {};
    if (t[0] == u'[') {
        int level = 0;
        while (1 + level < t.size() && t[1 + level] == u'=')
            ++level;
        int from = level + 2;
        // Lua skips a line break right after the opening bracket.
        if (from < t.size() && IsLineBreak(t[from].unicode())) {
            const char16_t first = t[from].unicode();
            ++from;
            if (from < t.size() && IsLineBreak(t[from].unicode()) && t[from].unicode() != first)
                ++from;
        }
        const bool closed = t.size() >= from + level + 2 && t.endsWith(u']');
        const int to = closed ? int(t.size()) - level - 2 : int(t.size());
        return t.mid(from, std::max(0, to - from)).toString();
    }
    const char16_t quote = t[0].unicode();
    const int to = t.size() >= 2 && t.back() == quote ? int(t.size()) - 1 : int(t.size());
    QString value;
    value.reserve(to);
    for (int i = 1; i < to; ++i) {
        const char16_t c = t[i].unicode();
        if (c != u'\\' || i + 1 >= to) {
            value += QChar(c);
            continue;
        }
        const char16_t e = t[++i].unicode();
        static constexpr std::array<std::pair<char16_t, char16_t>, 7> Simple { { { u'a', u'\a' }, { u'b', u'\b' },
            { u'f', u'\f' }, { u'n', u'\n' }, { u'r', u'\r' }, { u't', u'\t' }, { u'v', u'\v' } } };
        const auto simple = std::find_if(Simple.begin(), Simple.end(), [e](const auto& p) { return p.first == e; });
        if (simple != Simple.end()) {
            value += QChar(simple->second);
        } else if (IsDigit(e)) {
            int code = 0;
            int digits = 0;
            for (; digits < 3 && i < to && IsDigit(t[i].unicode()); ++digits, ++i)
                code = code * 10 + (t[i].unicode() - u'0');
            --i;
            value += QChar(char16_t(code));
        } else {
            value += QChar(e); // "\\", "\"", "\'", a line break, or any other character as itself
        }
    }
    return value;
}

bool IsLuaKeyword(QStringView word)
{
    static const char16_t* const Keywords[]
        = { u"and", u"break", u"do", u"else", u"elseif", u"end", u"false", u"for", u"function", u"if", u"in", u"local",
              u"nil", u"not", u"or", u"repeat", u"return", u"then", u"true", u"until", u"while" };
    if (word.size() < 2 || word.size() > 8)
        return false;
    return std::any_of(std::begin(Keywords), std::end(Keywords), [word](const char16_t* k) { return word == k; });
}

bool IsLuaName(QStringView word)
{
    if (word.isEmpty() || !IsNameStart(word[0].unicode()))
        return false;
    return std::all_of(word.begin(), word.end(), [](QChar c) { return IsNamePart(c.unicode()); })
        && !IsLuaKeyword(word);
}
