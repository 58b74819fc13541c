#include "gui/TextMotion.h"

#include <QChar>
#include <QTextBoundaryFinder>
#include <QVarLengthArray>

#include <algorithm>

namespace {
enum class CharClass { Blank, Break, Word, Punctuation };

// Units on either side of a position that the boundary finder reads; a cluster longer than that makes
// the window grow.
constexpr int ClusterWindow = 32;

// Below U+0300 no character joins its neighbour into a cluster (the text holds no carriage returns,
// which would join a line feed).
bool StandsAlone(char16_t c)
{
    return c < 0x0300;
}

// Regional indicators pair up into flags; they lie beyond U+FFFF, at U+1F1E6 to U+1F1FF.
bool IsRegionalIndicatorAt(const TTextBuffer& buffer, int pos, int lineEnd)
{
    return pos + 1 < lineEnd && buffer.At(pos) == 0xD83C && buffer.At(pos + 1) >= 0xDDE6
        && buffer.At(pos + 1) <= 0xDDFF;
}

CharClass ClassOf(char16_t c)
{
    if (c == u'\n')
        return CharClass::Break;
    if (c == u' ' || c == u'\t')
        return CharClass::Blank;
    if (c == u'_' || QChar::isSurrogate(c))
        return CharClass::Word;
    const QChar qc(c);
    if (qc.isLetterOrNumber() || qc.isMark())
        return CharClass::Word;
    if (qc.isSpace())
        return CharClass::Blank;
    return CharClass::Punctuation;
}
} // namespace

int TTextMotion::Next(int pos) const
{
    const int length = buffer.Length();
    if (pos >= length)
        return length;
    pos = std::max(pos, 0);
    const char16_t c = buffer.At(pos);
    if (c == u'\n' || pos + 1 == length)
        return pos + 1;
    const char16_t after = buffer.At(pos + 1);
    if (after == u'\n' || (StandsAlone(c) && StandsAlone(after)))
        return pos + 1;
    return FindClusterBoundary(pos, true);
}

int TTextMotion::Previous(int pos) const
{
    if (pos <= 0)
        return 0;
    pos = std::min(pos, buffer.Length());
    const char16_t c = buffer.At(pos - 1);
    if (c == u'\n' || pos == 1)
        return pos - 1;
    const char16_t before = buffer.At(pos - 2);
    if (before == u'\n' || (StandsAlone(before) && StandsAlone(c)))
        return pos - 1;
    return FindClusterBoundary(pos, false);
}

int TTextMotion::PreviousCodePoint(int pos) const
{
    if (pos <= 0)
        return 0;
    if (pos >= 2 && QChar::isLowSurrogate(buffer.At(pos - 1)) && QChar::isHighSurrogate(buffer.At(pos - 2)))
        return pos - 2;
    return pos - 1;
}

bool TTextMotion::IsClusterBoundary(int pos) const
{
    if (pos <= 0 || pos >= buffer.Length())
        return true;
    const char16_t before = buffer.At(pos - 1);
    const char16_t after = buffer.At(pos);
    if (before == u'\n' || after == u'\n' || (StandsAlone(before) && StandsAlone(after)))
        return true;
    // From a boundary, one cluster on and back returns to it; from inside one, to the cluster's start.
    return Previous(Next(pos)) == pos;
}

int TTextMotion::WindowStart(int from, int lineStart, int lineEnd) const
{
    if (from > lineStart && QChar::isLowSurrogate(buffer.At(from)) && QChar::isHighSurrogate(buffer.At(from - 1)))
        --from;
    // The finder pairs regional indicators from the window's start: an odd number of them before it
    // would pair them wrongly.
    if (!IsRegionalIndicatorAt(buffer, from, lineEnd))
        return from;
    int before = from;
    while (before - 2 >= lineStart && IsRegionalIndicatorAt(buffer, before - 2, lineEnd))
        before -= 2;
    return (from - before) % 4 == 0 ? from : from - 2;
}

int TTextMotion::FindClusterBoundary(int pos, bool forward) const
{
    const int line = buffer.LineAt(pos);
    const int lineStart = buffer.LineStart(line);
    const int lineEnd = buffer.LineEnd(line);
    int reach = ClusterWindow;
    for (;;) {
        const int from = WindowStart(std::max(lineStart, pos - reach), lineStart, lineEnd);
        const int to = std::min(lineEnd, pos + reach);
        const int count = to - from;
        QVarLengthArray<char16_t, 2 * ClusterWindow + 2> units(count);
        QVarLengthArray<unsigned char, 2 * ClusterWindow + 3> attributes(count + 1);
        buffer.Copy(from, count, units.data(), nullptr);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, reinterpret_cast<const QChar*>(units.data()), count,
            attributes.data(), attributes.size());
        finder.setPosition(pos - from);
        const int found = from + static_cast<int>(forward ? finder.toNextBoundary() : finder.toPreviousBoundary());
        // A window's edge counts as a boundary: one that is not the line's may cut a long cluster.
        const bool atCutEdge = forward ? found == to && to < lineEnd : found == from && from > lineStart;
        if (!atCutEdge)
            return found;
        reach *= 4;
    }
}

int TTextMotion::NextWord(int pos) const
{
    const int end = NextWordEdge(pos);
    return IsClusterBoundary(end) ? end : Next(end);
}

int TTextMotion::PreviousWord(int pos) const
{
    const int start = PreviousWordEdge(pos);
    return IsClusterBoundary(start) ? start : Previous(start);
}

int TTextMotion::NextWordEdge(int pos) const
{
    const int length = buffer.Length();
    if (pos >= length)
        return length;
    const CharClass kind = ClassOf(buffer.At(pos));
    if (kind == CharClass::Break)
        ++pos;
    else if (kind != CharClass::Blank) {
        while (pos < length && ClassOf(buffer.At(pos)) == kind)
            ++pos;
    }
    while (pos < length && ClassOf(buffer.At(pos)) == CharClass::Blank)
        ++pos;
    return pos;
}

int TTextMotion::PreviousWordEdge(int pos) const
{
    while (pos > 0 && ClassOf(buffer.At(pos - 1)) == CharClass::Blank)
        --pos;
    if (pos == 0)
        return 0;
    const CharClass kind = ClassOf(buffer.At(pos - 1));
    if (kind == CharClass::Break)
        return pos - 1;
    while (pos > 0 && ClassOf(buffer.At(pos - 1)) == kind)
        --pos;
    return pos;
}

TTextRange TTextMotion::WordAt(int pos) const
{
    const int length = buffer.Length();
    if (pos < 0 || pos >= length || buffer.At(pos) == u'\n')
        return { pos, pos };
    const CharClass kind = ClassOf(buffer.At(pos));
    int start = pos;
    int end = pos + 1;
    while (start > 0 && ClassOf(buffer.At(start - 1)) == kind)
        --start;
    while (end < length && ClassOf(buffer.At(end)) == kind)
        ++end;
    return { IsClusterBoundary(start) ? start : Previous(start), IsClusterBoundary(end) ? end : Next(end) };
}
