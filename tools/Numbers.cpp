#include "tools/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include <clocale>
#include <locale.h>

namespace {
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The longest start of `s` (from `i`) that is a number of the accepted form, sign excluded.
size_t NumberEnd(const std::string& s, size_t i)
{
    size_t digits = 0;
    size_t end = i;
    while (end < s.size() && IsDigit(s[end])) {
        ++end;
        ++digits;
    }
    if (end < s.size() && s[end] == '.') {
        ++end;
        while (end < s.size() && IsDigit(s[end])) {
            ++end;
            ++digits;
        }
    }
    if (digits == 0)
        return i;
    // An exponent counts only with at least one digit after its sign.
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        size_t e = end + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-'))
            ++e;
        if (e < s.size() && IsDigit(s[e])) {
            while (e < s.size() && IsDigit(s[e]))
                ++e;
            end = e;
        }
    }
    return end;
}
} // namespace

float ParseReal(const QString& text)
{
    // Each character becomes one byte, as the field's text reaches the C library.
    const std::string s = text.toLatin1().toStdString();
    size_t i = 0;
    while (i < s.size() && IsCSpace(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const size_t end = NumberEnd(s, i);
    if (end == i)
        return 0;
    double value = 0;
    const auto [ptr, error] = std::from_chars(s.data() + i, s.data() + end, value, std::chars_format::general);
    (void)ptr;
    if (error != std::errc())
        return 0; // too large or too small for a double: infinity gives 0, a vanishing value is 0 anyway
    const float single = static_cast<float>(negative ? -value : value);
    return std::isfinite(single) ? single : 0.0f;
}

QString FormatReal(float value)
{
    // printf of the C locale, whatever locale the process took from its environment.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const locale_t previous = cLocale ? uselocale(cLocale) : locale_t(0);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%#.9g", static_cast<double>(value));
    if (cLocale)
        uselocale(previous);
    return QString::fromLatin1(buffer);
}

int32_t TruncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    if (value <= low)
        return std::numeric_limits<int32_t>::min();
    if (value >= high)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}
