// Splits any text at its colour codes and reads it as a whole number.
#include "FuzzCheck.h"

#include "tools/HudText.h"

#include <cstdint>
#include <limits>

namespace {
constexpr QChar CodeSign(0x00A9);

bool AllDecimal(QStringView digits)
{
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

void CheckRuns(const QString& s)
{
    const TText text = TText::FromString(s);
    FUZZ_CHECK(qsizetype(text.Words.size()) == 1 + s.count(CodeSign));
    const qsizetype first = s.indexOf(CodeSign);
    FUZZ_CHECK(text.Words[0].Text == (first < 0 ? s : s.left(first)));
    // Each run after the first belongs to one sign, in order: its text is the input that follows the
    // sign's nine code characters, and never holds a sign itself. (A sign among another code's
    // characters starts its own run, so texts may overlap.)
    qsizetype sign = first;
    for (std::size_t k = 1; k < text.Words.size(); ++k) {
        const TWord& word = text.Words[k];
        const qsizetype next = s.indexOf(CodeSign, sign + 1);
        FUZZ_CHECK(!word.Text.contains(CodeSign));
        FUZZ_CHECK(word.Text.isEmpty() || QStringView(s).mid(sign + 10).startsWith(word.Text));
        if (sign + 9 < s.size() && AllDecimal(QStringView(s).mid(sign + 1, 9))) {
            FUZZ_CHECK(word.R == (s.mid(sign + 1, 3).toInt() & 0xFF));
            FUZZ_CHECK(word.G == (s.mid(sign + 4, 3).toInt() & 0xFF));
            FUZZ_CHECK(word.B == (s.mid(sign + 7, 3).toInt() & 0xFF));
        }
        sign = next;
    }
}

void CheckWholeNumber(const QString& s)
{
    const int32_t value = ReadWholeNumber(s);
    // A character that is a digit in no base ends the number wherever it is added.
    FUZZ_CHECK(ReadWholeNumber(s + QLatin1Char('g')) == value);
    if (s.isEmpty() || !(s[0].isDigit() || s[0] == QLatin1Char('%') || s[0] == QLatin1Char('$')))
        return;
    const int32_t negated = ReadWholeNumber(QLatin1Char('-') + s);
    constexpr int32_t max = std::numeric_limits<int32_t>::max();
    FUZZ_CHECK(negated == -value || (value == max && negated == std::numeric_limits<int32_t>::min()));
    if (s.size() <= 18 && AllDecimal(s)) {
        const long long exact = s.toLongLong();
        FUZZ_CHECK(value == (exact > max ? max : exact));
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString s = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckRuns(s);
    CheckWholeNumber(s);
    return 0;
}
