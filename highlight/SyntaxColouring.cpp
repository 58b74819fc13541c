// The colouring is always exactly "lex the line, format each part that has a class": nothing is
// carried from one call to the next, so colouring a line twice gives the same result and a token
// that changed class is put right by the next call for its line. A full re-colouring reads the
// whole text once and walks it line by line; each line's start is the sum of the lengths of the
// lines before it, which agrees with the text area because a line break is one character.
#include "highlight/SyntaxColouring.h"

#include "resources/Stream.h"

#include <algorithm>
#include <array>

namespace {

template <typename Unit> unsigned WordHash(const Unit* word, qsizetype n)
{
    unsigned hash = static_cast<unsigned>(n) * 0x9E3779B1u;
    if (n > 0) {
        hash ^= word[0] * 0x85EBCA77u;
        hash ^= word[n - 1] * 0xC2B2AE3Du;
        hash ^= word[n / 2] * 0x27D4EB2Fu;
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
        if (FindKeyword(UnitsOf(keyword), keyword.size()))
            continue;
        unsigned slot = WordHash(UnitsOf(keyword), keyword.size()) & keywordMask;
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

template <typename Unit> bool TSyntaxColouring::FindKeyword(const Unit* chars, qsizetype size) const
{
    if (keywordSlots.empty())
        return false;
    for (unsigned slot = WordHash(chars, size) & keywordMask;; slot = (slot + 1) & keywordMask) {
        const TKeywordSlot& entry = keywordSlots[slot];
        if (entry.length < 0)
            return false;
        if (entry.length != size)
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

template <typename Unit> void TSyntaxColouring::AddLineRanges(const Unit* line, qsizetype size, int lineStart)
{
    TLexer::ScanUnits(line, size, spans);
    // ClassOf's choice, spelt out here: this runs for every part of a script.
    if (ranges.size() < rangeCount + spans.size())
        ranges.resize(std::max(2 * ranges.size(), rangeCount + spans.size()));
    std::size_t count = rangeCount;
    for (const TLexerSpan& span : spans) {
        TTokenClass tokenClass;
        switch (span.Type) {
        case TLexer::PT_WORD:
            tokenClass = IsKeyword(line + span.Start, span.Length) ? TTokenClass::Keyword : TTokenClass::Text;
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
            = { lineStart + static_cast<int>(span.Start), static_cast<int>(span.Length), static_cast<int>(tokenClass) };
    }
    rangeCount = count;
}

void TSyntaxColouring::FlushRanges(TTextClient& textarea, const TColourScheme& scheme)
{
    if (rangeCount > 0) {
        // A run's colour is its class.
        std::array<TRunColour, TokenClassCount> palette;
        for (int k = 0; k < TokenClassCount; ++k) {
            const TPartColour& colour = scheme.Classes[k];
            palette[k] = { colour.R, colour.G, colour.B, colour.Style };
        }
        textarea.SetStyles(palette, std::span<const TColouredRun>(ranges.data(), rangeCount));
    }
    rangeCount = 0;
}

void TSyntaxColouring::ColourLine(TTextClient& textarea, int line, const TColourScheme& scheme)
{
    if (line < 0)
        line = textarea.CursorLine();
    const QString text = textarea.LineText(line);
    AddLineRanges(UnitsOf(text), text.size(), textarea.LineStart(line));
    FlushRanges(textarea, scheme);
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
    // The text is read where it lies, in the form it is held in, when the text area lends it; else one
    // copy of the lines.
    if (const auto inPlace = textarea.TextInPlace(); inPlace && inPlace->Length() >= to) {
        inPlace->Visit([&](auto head, auto tail) { ColourViews(textarea, head, tail, 0, first, last, to, scheme); });
    } else {
        const QString copy = textarea.Text(from, to - from);
        ColourViews(textarea, QStringView(copy), QStringView(), from, first, last, to, scheme);
    }
}

template <typename View>
void TSyntaxColouring::ColourViews(TTextClient& textarea, View head, View tail, qsizetype base, int firstLine,
    int lastLine, int to, const TColourScheme& scheme)
{
    const qsizetype split = base + head.size(); // where the second view starts
    QString joined; // the one line that runs from the first view into the second
    qsizetype start = textarea.LineStart(firstLine);
    for (int line = firstLine; line <= lastLine; ++line) {
        // Each line keeps its line break, as a line read in line units does; the last has none.
        const qsizetype end = line < lastLine ? textarea.LineStart(line + 1) : to;
        if (start >= split) {
            AddLineRanges(UnitsOf(tail) + (start - split), end - start, static_cast<int>(start));
        } else if (end <= split) {
            AddLineRanges(UnitsOf(head) + (start - base), end - start, static_cast<int>(start));
        } else {
            joined = head.sliced(start - base).toString();
            joined += tail.first(end - split);
            AddLineRanges(UnitsOf(joined), joined.size(), static_cast<int>(start));
        }
        // The runs of many lines go to the text area at once: a call per line cost more than styling it.
        if (rangeCount >= BatchedRanges)
            FlushRanges(textarea, scheme);
        start = end;
    }
    FlushRanges(textarea, scheme);
}

template bool TSyntaxColouring::FindKeyword(const char16_t*, qsizetype) const;
template bool TSyntaxColouring::FindKeyword(const unsigned char*, qsizetype) const;
