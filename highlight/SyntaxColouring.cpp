// The colouring is always exactly "lex the line, format each part that has a class": nothing is
// carried from one call to the next, so colouring a line twice gives the same result and a token
// that changed class is put right by the next call for its line. A full re-colouring reads the
// whole text once and walks it line by line; each line's start is the sum of the lengths of the
// lines before it, which agrees with the text area because a line break is one character.
#include "highlight/SyntaxColouring.h"

#include "resources/Stream.h"

#include <algorithm>

namespace {

std::u16string_view ToView(QStringView text)
{
    return { reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()) };
}

} // namespace

std::optional<QStringList> LoadKeywordList(const QString& url)
{
    std::unique_ptr<TStream> stream = OpenReadStream(url);
    if (!stream)
        return std::nullopt;
    QString all;
    try {
        while (true) {
            all += stream->ReadLine();
            if (StreamEof(*stream))
                break;
            all += QLatin1Char('\n');
        }
    } catch (const TStreamException&) {
        CloseStream(*stream);
        return std::nullopt;
    }
    CloseStream(*stream);
    return all.split(QLatin1Char('\n'));
}

TSyntaxColouring::TSyntaxColouring(const QStringList& keywords)
{
    SetKeywords(keywords);
}

void TSyntaxColouring::SetKeywords(const QStringList& keywords)
{
    keywordSet.clear();
    // The set holds views into our own copy, which nothing else can change.
    keywordStore = keywords;
    longestKeyword = 0;
    for (const QString& keyword : keywordStore) {
        keywordSet.insert(ToView(keyword));
        longestKeyword = std::max(longestKeyword, keyword.size());
    }
}

bool TSyntaxColouring::IsKeyword(QStringView word) const
{
    if (word.size() > longestKeyword)
        return false;
    return keywordSet.find(ToView(word)) != keywordSet.end();
}

bool TSyntaxColouring::ClassOf(int partType, QStringView partText, TTokenClass& tokenClass) const
{
    switch (partType) {
    case TLexer::PT_SIGN:
        tokenClass = TTokenClass::Sign;
        return true;
    case TLexer::PT_WORD:
        tokenClass = IsKeyword(partText) ? TTokenClass::Keyword : TTokenClass::Text;
        return true;
    case TLexer::PT_NUMBER:
        tokenClass = TTokenClass::Number;
        return true;
    case TLexer::PT_STRING:
        tokenClass = TTokenClass::String;
        return true;
    case TLexer::PT_COMMENT:
        tokenClass = TTokenClass::Comment;
        return true;
    case TLexer::PT_BRACKET:
        tokenClass = TTokenClass::Bracket;
        return true;
    default:
        return false;
    }
}

void TSyntaxColouring::FormatLine(TTextClient& textarea, QStringView line, int lineStart, const TColourScheme& scheme)
{
    TLexer::ScanLine(line, spans);
    // The parts cover the line end to end, so each part's start within the line is the sum of the
    // lengths before it.
    ranges.clear();
    for (const TLexerSpan& span : spans) {
        TTokenClass tokenClass;
        if (ClassOf(span.Type, line.sliced(span.Start, span.Length), tokenClass))
            ranges.push_back(
                { lineStart + static_cast<int>(span.Start), static_cast<int>(span.Length), &scheme[tokenClass] });
    }
    if (!ranges.empty())
        textarea.SetStyles(ranges);
}

void TSyntaxColouring::ColourLine(TTextClient& textarea, int line, const TColourScheme& scheme)
{
    if (line < 0)
        line = textarea.CursorLine();
    FormatLine(textarea, textarea.LineText(line), textarea.LineStart(line), scheme);
}

void TSyntaxColouring::ColourAll(TTextClient& textarea, const TColourScheme& scheme)
{
    ColourLines(textarea, 0, textarea.LastLine(), scheme);
}

void TSyntaxColouring::ColourLines(TTextClient& textarea, int first, int last, const TColourScheme& scheme)
{
    first = std::max(first, 0);
    last = std::min(last, textarea.LastLine());
    if (first > last)
        return;
    const int from = textarea.LineStart(first);
    const int to = last < textarea.LastLine() ? textarea.LineStart(last + 1) : textarea.Length();
    const QString text = textarea.Text(from, to - from);
    const QStringView all(text);
    qsizetype start = 0;
    for (int line = first; line <= last; ++line) {
        // Each line keeps its line break, as a line read in line units does; the last has none.
        const qsizetype lineBreak = all.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = lineBreak < 0 ? all.size() : lineBreak + 1;
        FormatLine(textarea, all.sliced(start, end - start), static_cast<int>(from + start), scheme);
        start = end;
    }
}
