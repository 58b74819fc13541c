// Finds the colour codes of any text as a script: every code is where its marker stands, its digits
// are its components, and the codes follow each other without overlapping.
#include "FuzzCheck.h"

#include "resources/ColourCodeScanner.h"

#include <QString>

#include <cstdint>

namespace {
bool AllDecimal(QStringView digits)
{
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString s = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    qsizetype after = 0;
    for (const TColourCode& code : FindColourCodes(s)) {
        FUZZ_CHECK(code.start >= after && code.start + code.length <= s.size());
        const bool escape = code.form == TColourCodeForm::Escape;
        const qsizetype marker = escape ? 4 : 1;
        FUZZ_CHECK(QStringView(s).mid(code.start, marker) == QStringView(escape ? u"\\169" : u"\u00a9"));
        FUZZ_CHECK(!escape || code.place == TColourCodePlace::String);
        const QStringView digits = QStringView(s).mid(code.start + marker, code.length - marker);
        FUZZ_CHECK(digits.size() <= 9 && AllDecimal(digits));
        // The digits go as far as they can: a tenth, or a digit after fewer than nine, would be taken.
        const qsizetype end = code.start + code.length;
        FUZZ_CHECK(digits.size() == 9 || end == s.size() || !AllDecimal(QStringView(s).mid(end, 1)));
        FUZZ_CHECK(code.Complete() == (digits.size() == 9));
        const int components[] = { code.r, code.g, code.b };
        for (qsizetype k = 0; k < 3; ++k)
            FUZZ_CHECK(components[k] == (digits.size() >= 3 * (k + 1) ? digits.mid(3 * k, 3).toInt() : -1));
        after = end;
    }
    return 0;
}
