#include "gui/TextMotion.h"

#include <QChar>

namespace {
enum class CharClass { Blank, Break, Word, Punctuation };

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
    if (pos + 1 < length && QChar::isHighSurrogate(buffer.At(pos)) && QChar::isLowSurrogate(buffer.At(pos + 1)))
        return pos + 2;
    return pos + 1;
}

int TTextMotion::Previous(int pos) const
{
    if (pos <= 0)
        return 0;
    if (pos >= 2 && QChar::isLowSurrogate(buffer.At(pos - 1)) && QChar::isHighSurrogate(buffer.At(pos - 2)))
        return pos - 2;
    return pos - 1;
}

int TTextMotion::NextWord(int pos) const
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

int TTextMotion::PreviousWord(int pos) const
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
    return { start, end };
}
