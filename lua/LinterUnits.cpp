#include "lua/LinterUnits.h"

#include <QSet>

#include <algorithm>

namespace {
QStringView Word(QStringView text, const TLuaToken& token)
{
    return text.mid(token.start, token.end - token.start);
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\f' || c == u'\v';
}

// True when a statement may end at the token: after it, the keyword `function` cannot go on with the
// same expression, so it starts a statement.
bool MayEndStatement(QStringView text, const TLuaToken& token)
{
    const QStringView word = Word(text, token);
    switch (token.kind) {
    case TLuaTokenKind::Name:
    case TLuaTokenKind::Number:
    case TLuaTokenKind::String:
        return true;
    case TLuaTokenKind::Keyword:
        return word == u"end" || word == u"true" || word == u"false" || word == u"nil";
    case TLuaTokenKind::Symbol:
        return word == u")" || word == u"]" || word == u"}" || word == u"..." || word == u";";
    }
    return false;
}

// Blanks, then the end of the line or a comment that ends with it (not a long one, which may go on).
bool RestOfLineIsFree(QStringView text, int from)
{
    int i = from;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i == text.size() || text[i] == u'\n')
        return true;
    if (!text.mid(i).startsWith(u"--"))
        return false;
    i += 2;
    if (i < text.size() && text[i] == u'[') {
        int j = i + 1;
        while (j < text.size() && text[j] == u'=')
            ++j;
        if (j < text.size() && text[j] == u'[')
            return false;
    }
    return true;
}

class TLines {
public:
    explicit TLines(QStringView text)
        : size(int(text.size()))
    {
        starts.push_back(0);
        for (int i = 0; i < size; ++i) {
            if (text[i] == u'\n')
                starts.push_back(i + 1);
        }
    }
    int LineOf(int position) const
    {
        return int(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin()) - 1;
    }
    int StartOf(int line) const { return starts[std::size_t(line)]; }
    // Where the line after the position's line starts; the end of the text on the last line.
    int NextLineStart(int position) const
    {
        const int line = LineOf(position);
        return line + 1 < int(starts.size()) ? starts[std::size_t(line) + 1] : size;
    }

private:
    std::vector<int> starts;
    int size;
};

// A top-level function statement, by the indices of its `function` and its `end`.
struct TCandidate {
    std::size_t first = 0;
    std::size_t last = 0;
};

enum class TBlock { Plain, Function, Repeat };
} // namespace

std::vector<TLinterUnit> SplitForLinter(QStringView text, const std::vector<TLuaToken>& tokens)
{
    const int size = int(text.size());
    const std::vector<TLinterUnit> whole = { TLinterUnit { { { 0, size, 0 } } } };
    if (text.contains(u'\r') || text.contains(u"luacheck"))
        return whole;
    const TLines lines(text);

    std::vector<TCandidate> candidates;
    QSet<QStringView> topLocals;
    std::vector<TBlock> blocks;
    int functions = 0; // the Function entries of `blocks`
    int brackets = 0;
    constexpr std::size_t None = ~std::size_t(0);
    std::size_t open = None; // the `function` of the candidate whose `end` is still to come
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const TLuaToken& token = tokens[i];
        const QStringView word = Word(text, token);
        const bool topLevel = blocks.empty() && brackets == 0;
        if (token.kind == TLuaTokenKind::Symbol) {
            if (word == u"(" || word == u"[" || word == u"{")
                ++brackets;
            else if ((word == u")" || word == u"]" || word == u"}") && brackets > 0)
                --brackets;
            continue;
        }
        if (token.kind != TLuaTokenKind::Keyword)
            continue;
        if (word == u"function") {
            const int lineStart = lines.StartOf(lines.LineOf(token.start));
            const bool startsLine
                = std::all_of(text.begin() + lineStart, text.begin() + token.start, [](QChar c) { return IsBlank(c); });
            if (topLevel && startsLine && i + 1 < tokens.size() && tokens[i + 1].kind == TLuaTokenKind::Name
                && (i == 0 || MayEndStatement(text, tokens[i - 1])))
                open = i;
            blocks.push_back(TBlock::Function);
            ++functions;
        } else if (word == u"do" || word == u"if") {
            blocks.push_back(TBlock::Plain);
        } else if (word == u"repeat") {
            blocks.push_back(TBlock::Repeat);
        } else if (word == u"end" || word == u"until") {
            if (!blocks.empty()) {
                functions -= blocks.back() == TBlock::Function ? 1 : 0;
                blocks.pop_back();
            }
            if (blocks.empty() && open != None) {
                // A statement that starts with "(" would read as a call of what comes before this one.
                if (RestOfLineIsFree(text, token.end) && (i + 1 == tokens.size() || Word(text, tokens[i + 1]) != u"("))
                    candidates.push_back({ open, i });
                open = None;
            }
        } else if (word == u"local" && topLevel) {
            std::size_t j = i + 1;
            if (j < tokens.size() && Word(text, tokens[j]) == u"function")
                ++j;
            while (j < tokens.size() && tokens[j].kind == TLuaTokenKind::Name) {
                topLocals.insert(Word(text, tokens[j]));
                if (j + 1 < tokens.size() && Word(text, tokens[j + 1]) == u",")
                    j += 2;
                else
                    break;
            }
        } else if (word == u"return" && functions == 0) {
            return whole;
        }
    }

    // The rest of the script comes first, as one part.
    std::vector<TLinterUnit> units(1);
    int restFrom = 0;
    for (const TCandidate& candidate : candidates) {
        const bool usesALocal = std::any_of(tokens.begin() + std::ptrdiff_t(candidate.first),
            tokens.begin() + std::ptrdiff_t(candidate.last) + 1,
            [&](const TLuaToken& t) { return t.kind == TLuaTokenKind::Name && topLocals.contains(Word(text, t)); });
        if (usesALocal)
            continue;
        const int from = lines.StartOf(lines.LineOf(tokens[candidate.first].start));
        const int to = lines.NextLineStart(tokens[candidate.last].start);
        if (from > restFrom)
            units[0].segments.push_back({ restFrom, from, lines.LineOf(restFrom) });
        units.push_back({ { { from, to, lines.LineOf(from) } } });
        restFrom = to;
    }
    if (restFrom < size || units.size() == 1)
        units[0].segments.push_back({ restFrom, size, lines.LineOf(restFrom) });
    if (units[0].segments.empty())
        units.erase(units.begin());
    return units;
}
