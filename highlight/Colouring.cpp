// The colouring is always exactly "lex the line, format each part that has a class": nothing is
// carried from one call to the next, so colouring a line twice gives the same result and a token
// that changed class is put right by the next call for its line. A full re-colouring reads the
// whole text once and walks it line by line; each line's start is the sum of the lengths of the
// lines before it, which agrees with the text area because a line break is one character.
#include "highlight/Colouring.h"

#include "gui/Gadget.h"
#include "resources/Stream.h"

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

const TPartColour* TSyntaxColouring::ColourOf(const TColourScheme& scheme, int partType, QStringView partText) const
{
    switch (partType) {
    case TLexer::PT_SIGN:
        return &scheme.Sign;
    case TLexer::PT_WORD:
        return IsKeyword(partText) ? &scheme.Keyword : &scheme.Text;
    case TLexer::PT_NUMBER:
        return &scheme.Number;
    case TLexer::PT_STRING:
        return &scheme.String;
    case TLexer::PT_COMMENT:
        return &scheme.Comment;
    case TLexer::PT_BRACKET:
        return &scheme.Bracket;
    default:
        return nullptr;
    }
}

void TSyntaxColouring::FormatLine(TGadget& textarea, QStringView line, int lineStart, const TColourScheme& scheme)
{
    TLexer::ScanLine(line, spans);
    // The parts cover the line end to end, so each part's start within the line is the sum of the
    // lengths before it.
    for (const TLexerSpan& span : spans) {
        const TPartColour* colour = ColourOf(scheme, span.Type, line.sliced(span.Start, span.Length));
        if (!colour)
            continue;
        textarea.SetStyle(colour->R, colour->G, colour->B, colour->Style, lineStart + static_cast<int>(span.Start),
            static_cast<int>(span.Length), TextUnit::Chars);
    }
}

void TSyntaxColouring::ColourLine(TGadget& textarea, int line, const TColourScheme& scheme)
{
    if (line < 0)
        line = textarea.GetCursorPos(TextUnit::Lines);
    const QString text = textarea.AreaText(line, 1, TextUnit::Lines);
    FormatLine(textarea, text, textarea.CharAt(line), scheme);
}

void TSyntaxColouring::ColourAll(TGadget& textarea, const TColourScheme& scheme)
{
    const int lastLine = textarea.AreaLen(TextUnit::Lines);
    const QString text = textarea.AreaText(0, -1, TextUnit::Chars);
    const QStringView all(text);
    qsizetype start = 0;
    for (int line = 0; line <= lastLine; ++line) {
        // Each line keeps its line break, as a line read in line units does; the last has none.
        const qsizetype lineBreak = all.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = lineBreak < 0 ? all.size() : lineBreak + 1;
        FormatLine(textarea, all.sliced(start, end - start), static_cast<int>(start), scheme);
        start = end;
    }
}
