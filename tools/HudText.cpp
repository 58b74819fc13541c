#include "tools/HudText.h"

#include "draw/Graphics.h"

#include <limits>

namespace {
constexpr char16_t CodeSign = u'\u00a9';
constexpr int CodeLength = 9;

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

int TWord::Width() const
{
    if (width < 0)
        width = TextWidthOf(Text.toStdU16String());
    return width;
}

void TWord::Draw(int x, int y, float alpha) const
{
    const std::u16string text = Text.toStdU16String();
    SetDrawAlpha(alpha);
    SetDrawColor(0, 0, 0);
    DrawTextAt(text, x + 1, y + 1);
    SetDrawAlpha(alpha);
    SetDrawColor(R, G, B);
    DrawTextAt(text, x, y);
}

TText TText::FromString(const QString& s)
{
    TText text;
    const qsizetype first = s.indexOf(QChar(CodeSign));
    TWord plain;
    plain.Text = first < 0 ? s : s.left(first);
    plain.R = 255;
    plain.G = 220;
    plain.B = 0;
    text.Words.push_back(std::move(plain));
    if (first < 0)
        return text;
    for (qsizetype i = first; i < s.size(); ++i) {
        if (s[i] != QChar(CodeSign))
            continue;
        const qsizetype next = s.indexOf(QChar(CodeSign), i + CodeLength);
        const qsizetype start = i + CodeLength + 1;
        const qsizetype end = next < 0 ? s.size() : next;
        TWord word;
        word.Text = start < end ? s.mid(start, end - start) : QString();
        word.R = Component(s, i + 1);
        word.G = Component(s, i + 4);
        word.B = Component(s, i + 7);
        text.Words.push_back(std::move(word));
    }
    return text;
}

int TText::Width() const
{
    int width = 0;
    for (const TWord& word : Words)
        width += word.Width();
    return width;
}

void TText::Draw(int x, int y, float alpha) const
{
    // Far to the right nothing more can show; the offset stays in range however long the text is.
    int64_t offset = 0;
    for (const TWord& word : Words) {
        const int64_t at = int64_t(x) + offset;
        if (at > std::numeric_limits<int32_t>::max() / 2)
            break;
        word.Draw(static_cast<int>(at), y, alpha);
        offset += word.Width();
    }
}
