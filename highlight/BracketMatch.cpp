#include "highlight/BracketMatch.h"

#include "highlight/Lexer.h"

#include <algorithm>
#include <vector>

namespace {
// A part of a line that may pair: a bracket character, or a word.
struct TToken {
    int column = 0;
    int length = 0;
    QStringView text;
};

// The brackets (one token each) and words of a line, outside strings and comments, into `tokens`: a
// walk over many lines reuses one list.
void PairingTokens(QStringView line, std::vector<TToken>& tokens)
{
    static thread_local std::vector<TLexerSpan> spans;
    TLexer::ScanLine(line, spans);
    tokens.clear();
    for (const TLexerSpan& span : spans) {
        if (span.Type == TLexer::PT_BRACKET) {
            for (qsizetype i = 0; i < span.Length; ++i)
                tokens.push_back({ int(span.Start + i), 1, line.mid(span.Start + i, 1) });
        } else if (span.Type == TLexer::PT_WORD) {
            tokens.push_back({ int(span.Start), int(span.Length), line.mid(span.Start, span.Length) });
        }
    }
}

std::vector<TToken> PairingTokens(QStringView line)
{
    std::vector<TToken> tokens;
    PairingTokens(line, tokens);
    return tokens;
}

int BracketDirection(QStringView token)
{
    if (token.size() != 1)
        return 0;
    switch (token[0].unicode()) {
    case '(':
    case '[':
    case '{':
        return 1;
    case ')':
    case ']':
    case '}':
        return -1;
    default:
        return 0;
    }
}

QChar PartnerOf(QChar c)
{
    switch (c.unicode()) {
    case '(':
        return u')';
    case ')':
        return u'(';
    case '[':
        return u']';
    case ']':
        return u'[';
    case '{':
        return u'}';
    default:
        return u'{';
    }
}

bool IsOpener(QStringView word)
{
    return word == u"function" || word == u"if" || word == u"for" || word == u"while" || word == u"do"
        || word == u"repeat";
}

bool IsCloser(QStringView word)
{
    return word == u"end" || word == u"until";
}

// Walks the pairing tokens from a token of a line onwards (`direction` 1) or backwards (-1), the token
// itself left out; `visit(line, token)` returns true to stop. False when `reach` lines were passed.
// With `needles`, a line that holds none of its characters has nothing to visit and is not lexed.
template <typename Visit>
bool Walk(const TLineSource& lines, int lineCount, int line, int column, int direction, int reach, Visit visit,
    QStringView needles = {})
{
    std::vector<TToken> tokens;
    for (int at = line, walked = 0; at >= 0 && at < lineCount; at += direction, ++walked) {
        if (walked > reach)
            return false;
        const QString text = lines(at);
        if (!needles.isEmpty()
            && std::none_of(needles.begin(), needles.end(), [&text](QChar c) { return text.contains(c); }))
            continue;
        PairingTokens(text, tokens);
        const int count = int(tokens.size());
        for (int k = direction > 0 ? 0 : count - 1; k >= 0 && k < count; k += direction) {
            const TToken& token = tokens[std::size_t(k)];
            if (at == line && (direction > 0 ? token.column <= column : token.column >= column))
                continue;
            if (visit(at, token))
                return true;
        }
    }
    return true;
}

std::optional<TBracketMatch> MatchBracket(
    const TLineSource& lines, int lineCount, int line, const TToken& bracket, int reach)
{
    const int direction = BracketDirection(bracket.text);
    const QChar self = bracket.text[0];
    const QChar partner = PartnerOf(self);
    TBracketMatch match { { line, bracket.column, 1 }, std::nullopt };
    int depth = 1;
    const QChar pair[] = { self, partner };
    const bool finished = Walk(
        lines, lineCount, line, bracket.column, direction, reach,
        [&](int at, const TToken& token) {
            if (token.length != 1 || BracketDirection(token.text) == 0)
                return false;
            if (token.text[0] == self)
                ++depth;
            else if (token.text[0] == partner && --depth == 0)
                match.partner = TMatchPart { at, token.column, 1 };
            return match.partner.has_value();
        },
        QStringView(pair, 2));
    if (!finished)
        return std::nullopt;
    return match;
}

std::optional<TBracketMatch> MatchKeyword(
    const TLineSource& lines, int lineCount, int line, const TToken& keyword, int reach)
{
    TBracketMatch match { { line, keyword.column, keyword.length }, std::nullopt };
    int depth = 1;
    bool finished = true;
    if (IsOpener(keyword.text)) {
        // A loop's "do" belongs to its "for" or "while" and opens nothing more.
        int loopsAwaitingDo = keyword.text == u"for" || keyword.text == u"while" ? 1 : 0;
        finished = Walk(lines, lineCount, line, keyword.column, 1, reach, [&](int at, const TToken& token) {
            if (token.text == u"for" || token.text == u"while") {
                ++depth;
                ++loopsAwaitingDo;
            } else if (token.text == u"do") {
                if (loopsAwaitingDo > 0)
                    --loopsAwaitingDo;
                else
                    ++depth;
            } else if (IsOpener(token.text)) {
                ++depth;
            } else if (IsCloser(token.text) && --depth == 0) {
                match.partner = TMatchPart { at, token.column, token.length };
            }
            return match.partner.has_value();
        });
    } else {
        // Backwards a "do" opens the block; the "for" or "while" before it on its line is what shows.
        finished = Walk(lines, lineCount, line, keyword.column, -1, reach, [&](int at, const TToken& token) {
            if (IsCloser(token.text))
                ++depth;
            else if (IsOpener(token.text) && token.text != u"for" && token.text != u"while" && --depth == 0)
                match.partner = TMatchPart { at, token.column, token.length };
            return match.partner.has_value();
        });
        if (match.partner && match.partner->length == 2) {
            const QString text = lines(match.partner->line);
            if (text.mid(match.partner->column, 2) == QStringLiteral("do")) {
                std::optional<TMatchPart> loop;
                for (const TToken& token : PairingTokens(text)) {
                    if (token.column >= match.partner->column)
                        break;
                    if (token.text == u"for" || token.text == u"while")
                        loop = TMatchPart { match.partner->line, token.column, token.length };
                    else if (token.text == u"do")
                        loop.reset();
                }
                if (loop)
                    match.partner = loop;
            }
        }
    }
    if (!finished)
        return std::nullopt;
    return match;
}
} // namespace

std::optional<TBracketMatch> MatchAtCaret(
    const TLineSource& lines, int lineCount, int caretLine, int caretColumn, int reach)
{
    if (caretLine < 0 || caretLine >= lineCount)
        return std::nullopt;
    const QString text = lines(caretLine);
    const std::vector<TToken> tokens = PairingTokens(text);
    // A bracket just before the caret, then just after it.
    for (int column : { caretColumn - 1, caretColumn }) {
        for (const TToken& token : tokens) {
            if (token.column == column && token.length == 1 && BracketDirection(token.text) != 0)
                return MatchBracket(lines, lineCount, caretLine, token, reach);
        }
    }
    for (const TToken& token : tokens) {
        if (caretColumn >= token.column && caretColumn <= token.column + token.length
            && (IsOpener(token.text) || IsCloser(token.text)))
            return MatchKeyword(lines, lineCount, caretLine, token, reach);
    }
    return std::nullopt;
}
