#include "resources/ColourCodes.h"

#include <algorithm>
#include <limits>

namespace {
bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || (c >= QLatin1Char('\t') && c <= QLatin1Char('\r'));
}

int DigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return 99;
}

// Characters from..to of `s`, a blank for every place outside it.
QString Slice(const QString& s, qsizetype from, qsizetype to)
{
    QString slice;
    for (qsizetype i = from; i < to; ++i)
        slice += i >= 0 && i < s.size() ? s[i] : QLatin1Char(' ');
    return slice;
}

uint8_t Component(const QString& s, qsizetype from)
{
    return static_cast<uint8_t>(static_cast<uint32_t>(ReadWholeNumber(Slice(s, from, from + 3))) & 0xFF);
}
} // namespace

int32_t ReadWholeNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == QLatin1Char('%')) {
        base = 2;
        ++i;
    } else if (i < text.size() && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    }
    // Collected past the range, the value is held at its first step beyond it.
    constexpr int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit >= base)
            break;
        value = std::min(value * base + digit, limit);
    }
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

std::vector<TColourRun> SplitAtColourCodes(const QString& s)
{
    std::vector<TColourRun> runs;
    const qsizetype first = s.indexOf(QChar(ColourCodeSign));
    runs.push_back({ first < 0 ? s : s.left(first), 255, 220, 0 });
    if (first < 0)
        return runs;
    for (qsizetype i = first; i < s.size(); ++i) {
        if (s[i] != QChar(ColourCodeSign))
            continue;
        const qsizetype next = s.indexOf(QChar(ColourCodeSign), i + ColourCodeDigits);
        const qsizetype start = i + ColourCodeDigits + 1;
        const qsizetype end = next < 0 ? s.size() : next;
        runs.push_back({ start < end ? s.mid(start, end - start) : QString(), Component(s, i + 1), Component(s, i + 4),
            Component(s, i + 7) });
    }
    return runs;
}
