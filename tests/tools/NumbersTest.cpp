// The timer's number conversions beyond what its fields show: the inputs that are no number, the
// ranges, and a German locale that must not turn the point into a comma.
#include "tools/Numbers.h"

#include "support/QStringPrinter.h"
#include "support/ScopedEnvironment.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>
#include <string>

namespace {
TEST(NumbersTest, ParseRealReadsWhatAtofReadsAndNothingPastSinglePrecision)
{
    const std::pair<const char*, float> cases[] = {
        { "1500", 1500.0f },
        { "2.3", 2.3f },
        { "  +2.5", 2.5f },
        { "\t-0.5x", -0.5f },
        { "12abc", 12.0f },
        { ".5", 0.5f },
        { "5.", 5.0f },
        { "1e3", 1000.0f },
        { "1E-2", 0.01f },
        { "2e", 2.0f },
        { "2e+", 2.0f },
        { "1.5.5", 1.5f },
        { "", 0.0f },
        { "abc", 0.0f },
        { ".", 0.0f },
        { "-", 0.0f },
        { "0x10", 0.0f },
        { "1,5", 1.0f },
        // Infinity and NaN are no period: they read as 0, whether written out or reached by range.
        { "inf", 0.0f },
        { "-infinity", 0.0f },
        { "nan", 0.0f },
        { "1e999", 0.0f },
        { "1e39", 0.0f },
        { "-1e39", 0.0f },
        { "1e-999", 0.0f },
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseReal(QString::fromLatin1(text)), value) << text;
    // A character past Latin-1 is one byte as the C library sees it, and it ends the number.
    EXPECT_EQ(ParseReal(QStringLiteral("3\u20ac")), 3.0f);
}

TEST(NumbersTest, TruncationCutsTowardsZeroAndClampsToTheRange)
{
    constexpr int32_t low = std::numeric_limits<int32_t>::min();
    constexpr int32_t high = std::numeric_limits<int32_t>::max();
    const std::pair<double, int32_t> cases[] = {
        { 2299.9999, 2299 },
        { -2.7, -2 },
        { 2147483647.9, high },
        { 3e12, high },
        { -2147483648.5, low },
        { -3e12, low },
        { std::numeric_limits<double>::infinity(), high },
        { std::numeric_limits<double>::quiet_NaN(), 0 },
    };
    for (const auto& [value, whole] : cases)
        EXPECT_EQ(TruncateToInt32(value), whole) << value;
}

// A machine that lacks the German locale gets it built into a temporary folder.
bool UseGermanLocale(const QString& folder, TScopedEnvironment& environment)
{
    if (std::setlocale(LC_ALL, "de_DE.UTF-8"))
        return true;
    const int built = QProcess::execute(QStringLiteral("localedef"),
        { QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
            folder + QStringLiteral("/de_DE.UTF-8") });
    // localedef warns with exit code 1 and still writes the locale.
    if (built < 0 || built > 1)
        return false;
    environment.Set("LOCPATH", QFile::encodeName(folder));
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

TEST(NumbersTest, AGermanLocaleLeavesThePointAPoint)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    TScopedEnvironment environment;
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_TRUE(UseGermanLocale(folder.path(), environment))
        << "no de_DE.UTF-8 locale and localedef could not build one";

    // The C library itself now writes and reads commas...
    char written[32];
    std::snprintf(written, sizeof written, "%.1f", 2.5);
    const double read = std::atof("2.5");
    const float parsed = ParseReal(QStringLiteral("2.5"));
    const QString formatted = FormatReal(2.5f);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_STREQ(written, "2,5");
    EXPECT_EQ(read, 2.0);
    // ...and the tools still use the point.
    EXPECT_EQ(parsed, 2.5f);
    EXPECT_EQ(formatted, "2.50000000");
}
} // namespace
