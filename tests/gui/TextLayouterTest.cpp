// Line layout in the text area's fonts: tab stops, surrogate pairs, the conversions between positions
// and x, and when a kept layout has to be made again.
#include "gui/TextLayouter.h"

#include "gui/GuiFont.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
constexpr int TabWidth = 40;

struct TextLayouterTest : testing::Test {
    TTextBuffer buffer;
    TTextFonts fonts;
    TTextLayouter layouter { buffer, fonts };

    void SetUp() override { layouter.SetTabWidth(TabWidth); }
    void SetText(QStringView text) { ASSERT_TRUE(buffer.Replace(0, buffer.Length(), text)); }
};

TEST_F(TextLayouterTest, TabsAdvanceToTheNextStopEvenFromAStop)
{
    SetText(u"a\tb\t\tc");
    const TLineLayout& line = layouter.Line(0);
    const float tab = layouter.TabWidth();
    ASSERT_EQ(line.Size(), 6);
    EXPECT_GT(line.xs[1], 0.0f);
    EXPECT_EQ(line.xs[2], tab);
    EXPECT_GT(line.xs[3], line.xs[2]);
    EXPECT_EQ(line.xs[4], 2 * tab);
    EXPECT_EQ(line.xs[5], 3 * tab);
    EXPECT_EQ(line.Width(), line.xs[6]);
}

TEST_F(TextLayouterTest, TabsEndOnAColumnAndAreAtLeastOneColumnWhateverTheFontsAdvance)
{
    // The monospaced font at sizes whose advances fall on and between whole pixels.
    for (const double size : { 7.0, 9.0, 10.0, 11.0, 13.0 }) {
        SCOPED_TRACE(size);
        fonts.SetFont(QFontOf(*LibraryFont(FontKind::Monospaced, size, 0)));
        layouter.FontChanged();
        const float column = fonts.Glyph(0, U'x').advance;
        ASSERT_GT(column, 1.0f);
        // SetTabs(4) asks for stops every 40 pixels: the whole number of columns nearest to that.
        const int columns = static_cast<int>(std::round(layouter.TabWidth() / column));
        EXPECT_NEAR(layouter.TabWidth(), columns * column, 0.01f);
        EXPECT_LE(std::abs(columns * column - TabWidth), column / 2);
        if (size == 10.0) {
            EXPECT_EQ(columns, 5);
        }
        // A tab after every number of columns up to the second stop.
        for (int before = 0; before <= 2 * columns; ++before) {
            SetText(QString(before, QLatin1Char('x')) + QLatin1Char('\t'));
            const TLineLayout& line = layouter.Line(0);
            const float start = line.xs[before];
            const float end = line.xs[before + 1];
            const int stop = (before / columns + 1) * columns;
            EXPECT_NEAR(end, stop * column, 0.01f) << "after " << before << " columns";
            EXPECT_GE(end - start, column - 0.01f) << "after " << before << " columns";
            EXPECT_EQ(layouter.Width(0), line.Width());
        }
    }
}

TEST_F(TextLayouterTest, PositionsAndXRoundTripAndASurrogatePairStaysWhole)
{
    SetText(u"one\nx\U0001F600\ty");
    const int start = buffer.LineStart(1);
    const TLineLayout& line = layouter.Line(1);
    ASSERT_EQ(line.start, start);
    const int pair = start + 1;
    EXPECT_EQ(line.XOf(pair + 1), line.XOf(pair));
    for (int pos = start; pos <= buffer.Length(); ++pos) {
        const int expected = pos == pair + 1 ? pair : pos;
        EXPECT_EQ(line.PositionAtX(line.XOf(pos)), expected) << "position " << pos;
        EXPECT_EQ(layouter.XOfPosition(pos), line.XOf(pos)) << "position " << pos;
    }
    // Inside a cell the nearer gap wins; the pair's middle is never one.
    const float pairLeft = line.XOf(pair);
    const float pairRight = line.XOf(pair + 2);
    ASSERT_GT(pairRight, pairLeft + 1.0f);
    EXPECT_EQ(line.PositionAtX(pairLeft + (pairRight - pairLeft) * 0.4f), pair);
    EXPECT_EQ(line.PositionAtX(pairLeft + (pairRight - pairLeft) * 0.6f), pair + 2);
    EXPECT_EQ(line.PositionAtX(-50.0f), start);
    EXPECT_EQ(line.PositionAtX(line.Width() + 50.0f), buffer.Length());

    // A double click hits the character whose cell holds the point, and the last one past the end.
    const int hit = line.CharacterAtX(pairRight - 0.5f);
    EXPECT_TRUE(hit == pair || hit == pair + 1) << hit;
    EXPECT_EQ(line.CharacterAtX(pairLeft - 0.5f), start);
    EXPECT_EQ(line.CharacterAtX(pairRight + 0.5f), pair + 2);
    EXPECT_EQ(line.CharacterAtX(line.Width() + 50.0f), buffer.Length() - 1);
    EXPECT_EQ(line.CharacterAtX(-50.0f), start);
}

TEST_F(TextLayouterTest, AKeptLayoutIsMadeAgainWhenTextStyleTabsOrFontChange)
{
    SetText(u"\tab");
    TLineLayout kept;
    layouter.Layout(0, kept);
    const float tab = layouter.TabWidth();
    EXPECT_EQ(kept.xs[1], tab);

    layouter.SetTabWidth(3 * TabWidth);
    layouter.Layout(0, kept);
    EXPECT_GT(kept.xs[1], 2 * tab);
    EXPECT_EQ(kept.xs[1], layouter.TabWidth());

    const float plainWidth = kept.Width();
    buffer.SetStyle(0, 0, 0, TextStyleFlag::Bold, 1, 2, TextUnit::Chars);
    layouter.Layout(0, kept);
    EXPECT_EQ(kept.ids[1], buffer.StyleIdAt(1));

    QFont large = fonts.Font(0);
    large.setPointSizeF(large.pointSizeF() * 3);
    fonts.SetFont(large);
    layouter.FontChanged();
    layouter.Layout(0, kept);
    EXPECT_GT(kept.Width(), plainWidth);

    ASSERT_TRUE(buffer.Replace(0, 1, u""));
    layouter.Layout(0, kept);
    EXPECT_EQ(kept.Size(), 2);
    EXPECT_EQ(kept.xs[0], 0.0f);
    // A line past the end lays out empty.
    layouter.Layout(5, kept);
    EXPECT_EQ(kept.Size(), 0);
    EXPECT_EQ(kept.Width(), 0.0f);
}
} // namespace
