// Colour-coded HUD texts: how a text splits into runs, and how whole numbers are read.
#include "tools/HudText.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

namespace {
using TRun = std::tuple<QString, int, int, int>;

std::vector<TRun> Runs(const QString& s)
{
    std::vector<TRun> runs;
    for (const TWord& word : TText::FromString(s).Words)
        runs.emplace_back(word.Text, word.R, word.G, word.B);
    return runs;
}

TEST(HudTextTest, ColourCodesSplitTheTextIntoRuns)
{
    const QString sign = QStringLiteral("\u00a9");
    const std::pair<QString, std::vector<TRun>> cases[] = {
        { "Hello", { { "Hello", 255, 220, 0 } } },
        { "", { { "", 255, 220, 0 } } },
        { sign + "255000000Hello", { { "", 255, 220, 0 }, { "Hello", 255, 0, 0 } } },
        { "Hi " + sign + "000255000there", { { "Hi ", 255, 220, 0 }, { "there", 0, 255, 0 } } },
        { sign + "300000000X", { { "", 255, 220, 0 }, { "X", 44, 0, 0 } } },
        { sign + "$FF000000X", { { "", 255, 220, 0 }, { "X", 255, 0, 0 } } },
        { sign + "%11-01 12X", { { "", 255, 220, 0 }, { "X", 3, 255, 12 } } },
        // A sign among the code's digits starts a run of its own; both are made.
        { sign + "12" + sign + "255000000X", { { "", 255, 220, 0 }, { "000X", 12, 255, 0 }, { "X", 255, 0, 0 } } },
        // A sign standing last among the digits leaves its predecessor's text empty.
        { sign + "00000000" + sign + "000000255Y", { { "", 255, 220, 0 }, { "", 0, 0, 0 }, { "Y", 0, 0, 255 } } },
        // A code cut short reads blanks; empty runs stay.
        { "a" + sign + "25", { { "a", 255, 220, 0 }, { "", 25, 0, 0 } } },
        { "a" + sign, { { "a", 255, 220, 0 }, { "", 0, 0, 0 } } },
        { sign + "255255255" + sign + "000000000", { { "", 255, 220, 0 }, { "", 255, 255, 255 }, { "", 0, 0, 0 } } },
    };
    for (const auto& [text, runs] : cases)
        EXPECT_EQ(Runs(text), runs) << text.toStdString();
}

TEST(HudTextTest, WholeNumbersReadAsFarAsTheyGo)
{
    constexpr int32_t high = std::numeric_limits<int32_t>::max();
    constexpr int32_t low = std::numeric_limits<int32_t>::min();
    const std::pair<const char*, int32_t> cases[] = {
        { "255", 255 },
        { "12x", 12 },
        { "abc", 0 },
        { "   ", 0 },
        { "", 0 },
        { "-01", -1 },
        { " \t+7", 7 },
        { "$ff", 255 },
        { "$1G", 1 },
        { "%101", 5 },
        { "%2", 0 },
        { "-$10", -16 },
        { "1 2", 1 },
        { "+-3", 0 },
        { "2147483647", high },
        { "2147483648", high },
        { "99999999999999999999", high },
        { "-2147483648", low },
        { "-99999999999999999999", low },
        { "$FFFFFFFFFF", high },
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ReadWholeNumber(QString::fromLatin1(text)), value) << text;
}
} // namespace
