// Lines cut into rows at a wrap width, without a view: where rows break, and the row counts that
// turn rows into lines and back while lines are laid out, edited and re-wrapped.
#include "gui/TextRows.h"

#include "gui/GuiFont.h"
#include "gui/TextMotion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct TextRowsTest : testing::Test {
    TTextBuffer buffer;
    TTextFonts fonts;
    TTextLayouter layouter { buffer, fonts };
    TLineWidths widths;
    TTextRows rows { buffer, layouter, widths };
    float column = 0;

    void SetUp() override
    {
        fonts.SetFont(QFontOf(*LibraryFont(FontKind::Monospaced, 10, 0)));
        layouter.FontChanged();
        column = fonts.Glyph(0, U'x').advance;
        ASSERT_GT(column, 1.0f);
    }
    void SetText(QStringView text)
    {
        ASSERT_TRUE(buffer.Replace(0, buffer.Length(), text));
        widths.Reset(buffer.LineCount(), [this](int line) { return layouter.Width(line); });
        rows.Reset();
    }
    std::vector<int> Breaks(int line) { return rows.Breaks(layouter.Line(line)); }
};

TEST_F(TextRowsTest, RowsBreakAfterABlankElseBetweenClusters)
{
    struct Case {
        const char16_t* text;
        float columns;
        std::vector<int> starts;
    };
    const Case cases[] = {
        { u"aaaa bbbb cccc", 7, { 0, 5, 10 } },
        { u"aaaa bbbb", 9, { 0 } },
        // Blanks past the edge stay at the end of their row.
        { u"aaaa   bb", 5, { 0, 7 } },
        { u"abcdefghij", 4, { 0, 4, 8 } },
        // A character wider than the row takes a row of its own.
        { u"abc", 0.5f, { 0, 1, 2 } },
        { u"", 3, { 0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        rows.SetWidth(c.columns * column);
        SetText(c.text);
        EXPECT_EQ(Breaks(0), c.starts);
        EXPECT_EQ(rows.Count(), static_cast<int>(c.starts.size()));
    }

    // Without blanks a row never ends inside a cluster: a surrogate pair, a letter with its marks, an
    // emoji sequence.
    rows.SetWidth(5 * column);
    const TTextMotion motion(buffer);
    for (const char16_t* unit : { u"x\U0001F600", u"xe\u0301", u"\U0001F469\u200D\U0001F4BB" }) {
        QString text;
        for (int i = 0; i < 20; ++i)
            text += QString::fromUtf16(unit);
        SetText(text);
        const std::vector<int> starts = Breaks(0);
        EXPECT_GT(starts.size(), 2u);
        for (const int start : starts)
            EXPECT_TRUE(motion.IsClusterBoundary(start)) << "row at " << start;
    }
}

TEST_F(TextRowsTest, RowsAndLinesConvertBothWaysThroughEditsAndNewWidths)
{
    rows.SetWidth(10 * column);
    SetText(u"short\naaaa bbbb cccc dddd eeee\n\nffffffffffffffffffffff");
    auto expectConsistent = [this] {
        int row = 0;
        for (int line = 0; line < buffer.LineCount(); ++line) {
            EXPECT_EQ(rows.FirstRow(line), row) << "line " << line;
            const int count = rows.RowsOf(line);
            for (int index = 0; index < count; ++index) {
                const TRowPlace place = rows.LineOfRow(row + index);
                EXPECT_EQ(place.line, line);
                EXPECT_EQ(place.index, index);
            }
            row += count;
        }
        EXPECT_EQ(rows.Count(), row);
    };
    expectConsistent();
    EXPECT_EQ(rows.RowsOf(1), 3);

    // Two lines more in the middle, then one line fewer.
    TTextChange change;
    ASSERT_TRUE(buffer.Replace(buffer.LineStart(1) + 5, 0, u"x\ny\n", &change));
    widths.Replace(change.firstLine, 1, 3, [this](int line) { return layouter.Width(line); });
    rows.LinesReplaced(change.firstLine, 1, 3);
    expectConsistent();
    ASSERT_TRUE(buffer.Replace(buffer.LineEnd(0), 1, u"", &change));
    widths.Replace(change.firstLine, 2, 1, [this](int line) { return layouter.Width(line); });
    rows.LinesReplaced(change.firstLine, 2, 1);
    expectConsistent();

    // A narrower width makes more rows of the same lines.
    const int before = rows.Count();
    rows.SetWidth(5 * column);
    expectConsistent();
    EXPECT_GT(rows.Count(), before);
    rows.SetWidth(0);
    EXPECT_EQ(rows.Count(), buffer.LineCount());
}
} // namespace
