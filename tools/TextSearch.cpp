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
QString Seam(const TTextParts& text, qsizetype from, qsizetype needleSize)
{
    QString seam = text.first.sliced(from).toString();
    seam.append(text.second.first(std::min(needleSize - 1, text.second.size())));
    return seam;
}

int IndexOf(const TTextParts& text, QStringView needle, int from, Qt::CaseSensitivity cs)
{
    const qsizetype head = text.first.size();
    const qsizetype n = needle.size();
    if (from < head) {
        const qsizetype found = text.first.indexOf(needle, from, cs);
        if (found >= 0)
            return static_cast<int>(found);
        const qsizetype seamStart = std::max<qsizetype>(from, head - n + 1);
        if (n > 1 && !text.second.isEmpty() && seamStart < head) {
            const qsizetype inSeam = Seam(text, seamStart, n).indexOf(needle, 0, cs);
            if (inSeam >= 0)
                return static_cast<int>(seamStart + inSeam);
        }
    }
    const qsizetype found = text.second.indexOf(needle, std::max<qsizetype>(from - head, 0), cs);
    return found < 0 ? -1 : static_cast<int>(head + found);
}

int LastIndexOf(const TTextParts& text, QStringView needle, int from, Qt::CaseSensitivity cs)
{
    if (from < 0)
        return -1;
    const qsizetype head = text.first.size();
    const qsizetype n = needle.size();
    if (from >= head && !text.second.isEmpty()) {
        const qsizetype found
            = text.second.lastIndexOf(needle, std::min<qsizetype>(from - head, text.second.size()), cs);
        if (found >= 0)
            return static_cast<int>(head + found);
    }
    const qsizetype seamStart = std::max<qsizetype>(0, head - n + 1);
    const qsizetype seamLast = std::min<qsizetype>(from, head - 1);
    if (n > 1 && !text.second.isEmpty() && seamStart <= seamLast) {
        const QString seam = Seam(text, seamStart, n);
        const qsizetype inSeam = QStringView(seam).lastIndexOf(needle, seamLast - seamStart, cs);
        if (inSeam >= 0)
            return static_cast<int>(seamStart + inSeam);
    }
    if (head == 0)
        return -1;
    const qsizetype found = text.first.lastIndexOf(needle, std::min<qsizetype>(from, head), cs);
    return static_cast<int>(found);
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
    const int head = static_cast<int>(text.first.size());
    // Appends [from, to) of the text, which may cross the seam.
    auto appendRange = [&](int from, int to) {
        if (from < head)
            result.text.append(text.first.sliced(from, std::min(to, head) - from));
        if (to > head)
            result.text.append(text.second.sliced(std::max(from, head) - head, to - std::max(from, head)));
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
