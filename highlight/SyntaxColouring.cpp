// The colouring is always exactly "lex the line, format each part that has a class": nothing is
// carried from one call to the next, so colouring a line twice gives the same result and a token
// that changed class is put right by the next call for its line. A full re-colouring reads the
// whole text once and walks it line by line; each line's start is the sum of the lengths of the
// lines before it, which agrees with the text area because a line break is one character.
#include "highlight/SyntaxColouring.h"

#include "resources/Stream.h"

#include <algorithm>

namespace {

unsigned WordHash(QStringView word)
{
    const qsizetype n = word.size();
    unsigned hash = static_cast<unsigned>(n) * 0x9E3779B1u;
    if (n > 0) {
        hash ^= word[0].unicode() * 0x85EBCA77u;
        hash ^= word[n - 1].unicode() * 0xC2B2AE3Du;
        hash ^= word[n / 2].unicode() * 0x27D4EB2Fu;
    }
    return hash ^ (hash >> 15);
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
    keywordChars.clear();
    longestKeyword = -1;
    keywordStarts.clear();
    // At most a quarter full, so that a probe ends soon at an empty slot.
    std::size_t size = 16;
    while (size < 4 * static_cast<std::size_t>(keywords.size()))
        size *= 2;
    keywordSlots.assign(size, TKeywordSlot {});
    keywordMask = static_cast<unsigned>(size - 1);
    for (const QString& keyword : keywords) {
        if (FindKeyword(keyword))
            continue;
        unsigned slot = WordHash(keyword) & keywordMask;
        while (keywordSlots[slot].length >= 0)
            slot = (slot + 1) & keywordMask;
        keywordSlots[slot] = { static_cast<int>(keyword.size()), static_cast<int>(keywordChars.size()) };
        keywordChars.append(reinterpret_cast<const char16_t*>(keyword.utf16()), keyword.size());
        longestKeyword = std::max(longestKeyword, keyword.size());
        if (keywordStarts.size() <= static_cast<std::size_t>(keyword.size()))
            keywordStarts.resize(keyword.size() + 1, 0);
        if (!keyword.isEmpty())
            keywordStarts[keyword.size()] |= 1u << (keyword[0].unicode() & 31);
    }
}

bool TSyntaxColouring::FindKeyword(QStringView word) const
{
    if (keywordSlots.empty())
        return false;
    const char16_t* chars = reinterpret_cast<const char16_t*>(word.utf16());
    for (unsigned slot = WordHash(word) & keywordMask;; slot = (slot + 1) & keywordMask) {
        const TKeywordSlot& entry = keywordSlots[slot];
        if (entry.length < 0)
            return false;
        if (entry.length != word.size())
            continue;
        // Words are short: a plain loop, where std::equal would call memcmp.
        const char16_t* keyword = keywordChars.data() + entry.offset;
        int k = 0;
        while (k < entry.length && chars[k] == keyword[k])
            ++k;
        if (k == entry.length)
            return true;
    }
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
    // lengths before it. ClassOf's choice, spelt out here: this runs for every part of a script.
    if (ranges.size() < spans.size())
        ranges.resize(spans.size());
    std::size_t count = 0;
    for (const TLexerSpan& span : spans) {
        TTokenClass tokenClass;
        switch (span.Type) {
        case TLexer::PT_WORD:
            tokenClass = IsKeyword(line.sliced(span.Start, span.Length)) ? TTokenClass::Keyword : TTokenClass::Text;
            break;
        case TLexer::PT_SIGN:
            tokenClass = TTokenClass::Sign;
            break;
        case TLexer::PT_NUMBER:
            tokenClass = TTokenClass::Number;
            break;
        case TLexer::PT_STRING:
            tokenClass = TTokenClass::String;
            break;
        case TLexer::PT_COMMENT:
            tokenClass = TTokenClass::Comment;
            break;
        case TLexer::PT_BRACKET:
            tokenClass = TTokenClass::Bracket;
            break;
        default:
            continue;
        }
        ranges[count++]
            = { lineStart + static_cast<int>(span.Start), static_cast<int>(span.Length), &scheme[tokenClass] };
    }
    if (count > 0)
        textarea.SetStyles(std::span<const TStyledRange>(ranges.data(), count));
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
    // The text is read where it lies when the text area lends it; else one copy of the lines.
    QString copy;
    std::pair<QStringView, QStringView> pieces;
    qsizetype base = 0; // the position of pieces.first[0]
    if (const auto inPlace = textarea.TextInPlace(); inPlace && inPlace->first.size() + inPlace->second.size() >= to) {
        pieces = *inPlace;
    } else {
        copy = textarea.Text(from, to - from);
        pieces = { QStringView(copy), QStringView() };
        base = from;
    }
    const qsizetype split = base + pieces.first.size(); // where the second piece starts
    QString joined; // the one line that runs from the first piece into the second
    qsizetype start = from;
    for (int line = first; line <= last; ++line) {
        // Each line keeps its line break, as a line read in line units does; the last has none.
        const qsizetype end = line < last ? textarea.LineStart(line + 1) : to;
        QStringView text;
        if (start >= split) {
            text = pieces.second.sliced(start - split, end - start);
        } else if (end <= split) {
            text = pieces.first.sliced(start - base, end - start);
        } else {
            joined = pieces.first.sliced(start - base).toString();
            joined += pieces.second.first(end - split);
            text = joined;
        }
        FormatLine(textarea, text, static_cast<int>(start), scheme);
        start = end;
    }
}
