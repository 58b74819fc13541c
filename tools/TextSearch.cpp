#include "tools/TextSearch.h"

#include <algorithm>

// A match may straddle the two parts. Each part is searched as it stands, and the few start positions
// whose match would cross from one into the other are searched in a short copy of the seam.
namespace {
Qt::CaseSensitivity Sensitivity(TSearchOptions options)
{
    return options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

// The characters around the seam in which a match starting at `from` or later crosses it.
template <typename View> QString Seam(View head, View tail, qsizetype from, qsizetype needleSize)
{
    QString seam = head.sliced(from).toString();
    seam.append(tail.first(std::min(needleSize - 1, tail.size())));
    return seam;
}

// The two views are those of the text as it is held: in UTF-16, or a byte per character.
template <typename View> int IndexOf(View head, View tail, QStringView needle, int from, Qt::CaseSensitivity cs)
{
    const qsizetype headSize = head.size();
    const qsizetype n = needle.size();
    if (from < headSize) {
        const qsizetype found = head.indexOf(needle, from, cs);
        if (found >= 0)
            return static_cast<int>(found);
        const qsizetype seamStart = std::max<qsizetype>(from, headSize - n + 1);
        if (n > 1 && !tail.isEmpty() && seamStart < headSize) {
            const qsizetype inSeam = Seam(head, tail, seamStart, n).indexOf(needle, 0, cs);
            if (inSeam >= 0)
                return static_cast<int>(seamStart + inSeam);
        }
    }
    const qsizetype found = tail.indexOf(needle, std::max<qsizetype>(from - headSize, 0), cs);
    return found < 0 ? -1 : static_cast<int>(headSize + found);
}

int IndexOf(const TTextParts& text, QStringView needle, int from, Qt::CaseSensitivity cs)
{
    return text.Visit([&](auto head, auto tail) { return IndexOf(head, tail, needle, from, cs); });
}

template <typename View> int LastIndexOf(View head, View tail, QStringView needle, int from, Qt::CaseSensitivity cs)
{
    if (from < 0)
        return -1;
    const qsizetype headSize = head.size();
    const qsizetype n = needle.size();
    if (from >= headSize && !tail.isEmpty()) {
        const qsizetype found = tail.lastIndexOf(needle, std::min<qsizetype>(from - headSize, tail.size()), cs);
        if (found >= 0)
            return static_cast<int>(headSize + found);
    }
    const qsizetype seamStart = std::max<qsizetype>(0, headSize - n + 1);
    const qsizetype seamLast = std::min<qsizetype>(from, headSize - 1);
    if (n > 1 && !tail.isEmpty() && seamStart <= seamLast) {
        const QString seam = Seam(head, tail, seamStart, n);
        const qsizetype inSeam = QStringView(seam).lastIndexOf(needle, seamLast - seamStart, cs);
        if (inSeam >= 0)
            return static_cast<int>(seamStart + inSeam);
    }
    if (headSize == 0)
        return -1;
    const qsizetype found = head.lastIndexOf(needle, std::min<qsizetype>(from, headSize), cs);
    return static_cast<int>(found);
}

int LastIndexOf(const TTextParts& text, QStringView needle, int from, Qt::CaseSensitivity cs)
{
    return text.Visit([&](auto head, auto tail) { return LastIndexOf(head, tail, needle, from, cs); });
}

bool IsWholeWordAt(const TTextParts& text, int pos, int length)
{
    return (pos == 0 || !IsWordCharacter(text.At(pos - 1)))
        && (pos + length >= text.Length() || !IsWordCharacter(text.At(pos + length)));
}
} // namespace

bool IsWordCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_';
}

int FindForward(const TTextParts& text, QStringView needle, int from, TSearchOptions options)
{
    if (needle.isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = Sensitivity(options);
    int found = IndexOf(text, needle, std::max(from, 0), cs);
    while (options.wholeWord && found >= 0 && !IsWholeWordAt(text, found, static_cast<int>(needle.size())))
        found = IndexOf(text, needle, found + 1, cs);
    return found;
}

int FindBackward(const TTextParts& text, QStringView needle, int from, TSearchOptions options)
{
    if (needle.isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = Sensitivity(options);
    int found = LastIndexOf(text, needle, std::min(from, text.Length()), cs);
    while (options.wholeWord && found >= 0 && !IsWholeWordAt(text, found, static_cast<int>(needle.size())))
        found = LastIndexOf(text, needle, found - 1, cs);
    return found;
}

bool IsMatchAt(const TTextParts& text, QStringView needle, int pos, int length, TSearchOptions options)
{
    if (needle.isEmpty() || length != needle.size() || pos < 0 || pos + length > text.Length())
        return false;
    QString candidate(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        candidate[i] = text.At(pos + i);
    return needle.compare(candidate, Sensitivity(options)) == 0
        && (!options.wholeWord || IsWholeWordAt(text, pos, length));
}

TReplacement ReplaceAllMatches(
    const TTextParts& text, QStringView needle, QStringView replacement, TSearchOptions options)
{
    TReplacement result;
    const int n = static_cast<int>(needle.size());
    int found = FindForward(text, needle, 0, options);
    if (found < 0)
        return result;
    result.start = found;
    const int head = static_cast<int>(text.FirstSize());
    // Appends [from, to) of the text, which may cross the seam.
    auto appendRange = [&](int from, int to) {
        text.Visit([&](auto first, auto second) {
            if (from < head)
                result.text.append(first.sliced(from, std::min(to, head) - from));
            if (to > head)
                result.text.append(second.sliced(std::max(from, head) - head, to - std::max(from, head)));
        });
    };
    int copied = found;
    while (found >= 0) {
        appendRange(copied, found);
        result.text.append(replacement);
        ++result.count;
        copied = found + n;
        found = FindForward(text, needle, copied, options);
    }
    result.end = copied;
    return result;
}
