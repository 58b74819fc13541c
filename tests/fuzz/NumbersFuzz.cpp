// Reads any text as a real number, writes it back, and cuts any double to a 32-bit whole number.
#include "FuzzCheck.h"

#include "tools/Numbers.h"

#include <cmath>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const float value = ParseReal(text);
    FUZZ_CHECK(std::isfinite(value));
    // Nine significant digits hold every float exactly.
    const QString written = FormatReal(value);
    FUZZ_CHECK(ParseReal(written) == value);
    FUZZ_CHECK(written.contains(QLatin1Char('.')));

    if (size >= sizeof(double)) {
        double real;
        std::memcpy(&real, data, sizeof real);
        const int32_t whole = TruncateToInt32(real);
        if (std::isnan(real))
            FUZZ_CHECK(whole == 0);
        else if (real >= 2147483648.0)
            FUZZ_CHECK(whole == std::numeric_limits<int32_t>::max());
        else if (real <= -2147483649.0)
            FUZZ_CHECK(whole == std::numeric_limits<int32_t>::min());
        else
            FUZZ_CHECK(whole == static_cast<int32_t>(std::trunc(real)));
    }
    return 0;
}
