// The text area's text model without a window: position arithmetic, selection rules, styles that move
// with the text, line-break normalisation and the capacity limit.
#include "gui/TextBuffer.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cstring>

#include <random>
#include <vector>

namespace {
constexpr TextUnit Chars = TextUnit::Chars;
constexpr TextUnit Lines = TextUnit::Lines;

TTextStyle StyleAt(const TTextBuffer& buffer, int pos)
{
    return buffer.StyleOf(buffer.StyleIdAt(pos));
}

TEST(TextBuffer, FiveCharacterTextPositions)
{
    TTextBuffer buffer;
    ASSERT_TRUE(buffer.ReplaceText(0, -1, u"ab\ncd", Chars));
    EXPECT_EQ(buffer.AreaLen(Chars), 5);
    EXPECT_EQ(buffer.AreaLen(Lines), 1);
    EXPECT_EQ(buffer.AreaText(0, 1, Lines), "ab\n");
    EXPECT_EQ(buffer.AreaText(1, 1, Lines), "cd");
    EXPECT_EQ(buffer.CharAt(1), 3);
    EXPECT_EQ(buffer.LineAt(3), 1);
    EXPECT_EQ(buffer.LineAt(2), 0);
    EXPECT_EQ(buffer.CharAt(5), 5);
    EXPECT_EQ(buffer.LineAt(99), 1);
    EXPECT_EQ(buffer.CharAt(-1), 0);
    EXPECT_EQ(buffer.LineAt(-7), 0);
    EXPECT_EQ(buffer.AreaText(0, 2, Lines), "ab\ncd");
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), "ab\ncd");
}

TEST(TextBuffer, EmptyText)
{
    TTextBuffer buffer;
    EXPECT_EQ(buffer.AreaLen(Lines), 0);
    EXPECT_EQ(buffer.AreaLen(Chars), 0);
    EXPECT_EQ(buffer.AreaText(0, 1, Lines), "");
    EXPECT_EQ(buffer.CharAt(0), 0);
    EXPECT_EQ(buffer.LineAt(0), 0);
    EXPECT_EQ(buffer.SelectionLength(Lines), 1);
    EXPECT_EQ(buffer.CursorPos(Lines), 0);
}

TEST(TextBuffer, SelectionLengthInLines)
{
    TTextBuffer buffer;
    buffer.ReplaceText(0, -1, u"one\ntwo\nthree", Chars);
    buffer.SetSelection(0, 0, Chars);
    EXPECT_EQ(buffer.SelectionLength(Lines), 1);
    buffer.SetSelection(4, 0, Chars);
    EXPECT_EQ(buffer.SelectionLength(Lines), 0);
    buffer.SetSelection(9, 0, Chars);
    EXPECT_EQ(buffer.SelectionLength(Lines), 1);
    // A selection that ends at the start of a line leaves that line out.
    buffer.SetSelection(1, 7, Chars);
    EXPECT_EQ(buffer.SelectionLength(Lines), 2);
    buffer.SetSelection(1, 8, Chars);
    EXPECT_EQ(buffer.SelectionLength(Lines), 3);
    EXPECT_EQ(buffer.SelectionLength(Chars), 8);
}

TEST(TextBuffer, RightToLeftSelectionReportsLeftEnd)
{
    TTextBuffer buffer;
    buffer.ReplaceText(0, -1, u"abc\ndef", Chars);
    buffer.Select(6, 2);
    EXPECT_EQ(buffer.CursorPos(Chars), 2);
    EXPECT_EQ(buffer.CursorPos(Lines), 0);
    EXPECT_EQ(buffer.SelectionLength(Chars), 4);
    EXPECT_EQ(buffer.Caret(), 2);
}

TEST(TextBuffer, ReplaceTextPutsSelectionBackUnshifted)
{
    TTextBuffer buffer;
    buffer.ReplaceText(0, -1, u"abcdef", Chars);
    buffer.SetSelection(4, 0, Chars);
    ASSERT_TRUE(buffer.ReplaceText(2, 0, u"xyz", Chars));
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), "abxyzcdef");
    EXPECT_EQ(buffer.CursorPos(Chars), 4);
    EXPECT_EQ(buffer.SelectionLength(Chars), 0);

    // Start and length come back, limited to a text that shrank under them.
    buffer.SetSelection(5, 3, Chars);
    ASSERT_TRUE(buffer.ReplaceText(0, -1, u"short", Chars));
    EXPECT_EQ(buffer.CursorPos(Chars), 5);
    EXPECT_EQ(buffer.SelectionLength(Chars), 0);
    buffer.SetSelection(1, 3, Chars);
    ASSERT_TRUE(buffer.ReplaceText(0, 2, u"", Chars));
    EXPECT_EQ(buffer.CursorPos(Chars), 1);
    EXPECT_EQ(buffer.SelectionLength(Chars), 2);
}

TEST(TextBuffer, SetSelectionConvertsAndClamps)
{
    TTextBuffer buffer;
    buffer.ReplaceText(0, -1, u"ab\ncd\nef", Chars);
    buffer.SetSelection(3, -1, Chars);
    EXPECT_EQ(buffer.CursorPos(Chars), 3);
    EXPECT_EQ(buffer.SelectionLength(Chars), 5);
    EXPECT_EQ(buffer.Caret(), 8);
    buffer.SetSelection(1, 1, Lines);
    EXPECT_EQ(buffer.CursorPos(Chars), 3);
    EXPECT_EQ(buffer.SelectionLength(Chars), 3);
    buffer.SetSelection(2, 0, Lines);
    EXPECT_EQ(buffer.CursorPos(Chars), 6);
    EXPECT_EQ(buffer.SelectionLength(Chars), 0);
    buffer.SetSelection(0, -1, Chars);
    EXPECT_EQ(buffer.SelectionLength(Chars), 8);
    buffer.SetSelection(6, 50, Chars);
    EXPECT_EQ(buffer.SelectionLength(Chars), 2);
    buffer.SetSelection(-4, 0, Chars);
    EXPECT_EQ(buffer.CursorPos(Chars), 0);
}

TEST(TextBuffer, LineUnitConversions)
{
    TTextBuffer buffer;
    buffer.ReplaceText(0, -1, u"l0\nl1\nl2\nl3", Chars);
    EXPECT_EQ(buffer.AreaText(1, 2, Lines), "l1\nl2\n");
    EXPECT_EQ(buffer.AreaText(2, -1, Lines), "l2\nl3");
    EXPECT_EQ(buffer.AreaText(3, 5, Lines), "l3");
    EXPECT_EQ(buffer.AreaText(9, 1, Lines), "");
    // Line -1 and line 0 both start at 0, so one line from -1 is empty.
    EXPECT_EQ(buffer.AreaText(-1, 1, Lines), "");

    // Replacing a whole line with its break, in line units, as block indent does.
    ASSERT_TRUE(buffer.ReplaceText(1, 1, QString("\tl1\n"), Lines));
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), "l0\n\tl1\nl2\nl3");
    ASSERT_TRUE(buffer.ReplaceText(3, 1, QString("\tl3"), Lines));
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), "l0\n\tl1\nl2\n\tl3");
    EXPECT_EQ(buffer.CharAt(3), 10);
    EXPECT_EQ(buffer.LineAt(10), 3);
    EXPECT_EQ(buffer.LineAt(9), 2);
}

TEST(TextBuffer, OutOfRangePositionsAreClamped)
{
    TTextBuffer buffer;
    buffer.ReplaceText(0, -1, u"abcd", Chars);
    // One character before the start, as an undo of Backspace at position 0 reads it.
    EXPECT_EQ(buffer.AreaText(-1, 1, Chars), "");
    EXPECT_EQ(buffer.AreaText(3, 10, Chars), "d");
    EXPECT_EQ(buffer.AreaText(4, 1, Chars), "");
    EXPECT_EQ(buffer.AreaText(-5, -1, Chars), "abcd");
    ASSERT_TRUE(buffer.ReplaceText(-1, 0, u"", Chars));
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), "abcd");
    ASSERT_TRUE(buffer.ReplaceText(99, 0, u"x", Chars));
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), "abcdx");
    ASSERT_TRUE(buffer.ReplaceText(3, 1000, u"", Chars));
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), "abc");
    EXPECT_EQ(buffer.SetStyle(1, 2, 3, 0, 2, 99, Chars), (TTextRange { 2, 3 }));
    EXPECT_EQ(buffer.SetStyle(1, 2, 3, 0, -3, 2, Chars), (TTextRange { 0, 0 }));
}

TEST(TextBuffer, LineBreaksAreNormalisedOnInsertion)
{
    TTextBuffer buffer;
    ASSERT_TRUE(buffer.ReplaceText(0, -1, u"a\r\nb\rc\nd\r\n\r\n", Chars));
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), "a\nb\nc\nd\n\n");
    EXPECT_EQ(buffer.AreaLen(Lines), 5);
    EXPECT_EQ(TTextBuffer::NormalisedLength(u"a\r\nb\r\nc"), 5);
    EXPECT_EQ(TTextBuffer::NormalisedLength(u"\r\r\n\n"), 3);

    // The Unicode line and paragraph separators are ordinary characters.
    buffer.ReplaceText(0, -1, QString::fromUtf16(u"x\u2028y\u2029z"), Chars);
    EXPECT_EQ(buffer.AreaLen(Lines), 0);
    EXPECT_EQ(buffer.AreaLen(Chars), 5);
}

TEST(TextBuffer, StylesMoveWithTheText)
{
    TTextBuffer buffer;
    buffer.ReplaceText(0, -1, u"local x = 1", Chars);
    buffer.SetStyle(0, 0, 255, TextStyleFlag::Bold, 0, 5, Chars);
    const TTextStyle keyword { 0, 0, 255, TextStyleFlag::Bold };

    ASSERT_TRUE(buffer.ReplaceText(0, 0, u"\n\n", Chars));
    for (int pos = 2; pos < 7; ++pos)
        EXPECT_EQ(StyleAt(buffer, pos), keyword) << pos;
    EXPECT_EQ(StyleAt(buffer, 7), buffer.DefaultStyle());
    // At the very start the new text takes the style of what follows it.
    EXPECT_EQ(StyleAt(buffer, 0), keyword);

    ASSERT_TRUE(buffer.ReplaceText(0, 2, u"", Chars));
    EXPECT_EQ(StyleAt(buffer, 0), keyword);
    EXPECT_EQ(StyleAt(buffer, 4), keyword);
    EXPECT_EQ(StyleAt(buffer, 5), buffer.DefaultStyle());

    // Typing right after the keyword continues its style until the line is coloured again.
    ASSERT_TRUE(buffer.ReplaceText(5, 0, u"s", Chars));
    EXPECT_EQ(StyleAt(buffer, 5), keyword);
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), "locals x = 1");

    // Setting a style touches neither the text nor the selection.
    buffer.SetSelection(2, 3, Chars);
    buffer.SetStyle(200, 10, 10, TextStyleFlag::Italic | TextStyleFlag::Underline, 7, 3, Chars);
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), "locals x = 1");
    EXPECT_EQ(buffer.CursorPos(Chars), 2);
    EXPECT_EQ(buffer.SelectionLength(Chars), 3);
    EXPECT_EQ(StyleAt(buffer, 8), (TTextStyle { 200, 10, 10, TextStyleFlag::Italic | TextStyleFlag::Underline }));

    // Into an emptied text new text comes in the default style.
    buffer.ReplaceText(0, -1, u"", Chars);
    buffer.ReplaceText(0, 0, u"z", Chars);
    EXPECT_EQ(StyleAt(buffer, 0), buffer.DefaultStyle());
}

TEST(TextBuffer, TextColourResetsBoldAndItalicEverywhere)
{
    TTextBuffer buffer;
    buffer.ReplaceText(0, -1, u"abcd", Chars);
    buffer.SetStyle(9, 9, 9, TextStyleFlag::Bold | TextStyleFlag::Underline, 0, 2, Chars);
    buffer.SetStyle(7, 7, 7, TextStyleFlag::Italic, 2, 2, Chars);
    buffer.SetTextColor(10, 20, 30);
    EXPECT_EQ(StyleAt(buffer, 0), (TTextStyle { 10, 20, 30, TextStyleFlag::Underline }));
    EXPECT_EQ(StyleAt(buffer, 3), (TTextStyle { 10, 20, 30, 0 }));
    buffer.ReplaceText(0, -1, u"", Chars);
    buffer.ReplaceText(0, 0, u"new", Chars);
    EXPECT_EQ(StyleAt(buffer, 1), (TTextStyle { 10, 20, 30, 0 }));
}

// The batch's runs one by one, as SetStyle does each.
void StyleOneByOne(TTextBuffer& buffer, const std::vector<TRunColour>& palette, const std::vector<TColouredRun>& runs)
{
    for (const TColouredRun& run : runs) {
        if (run.colour >= 0 && run.colour < static_cast<int>(palette.size())) {
            const TRunColour& c = palette[run.colour];
            buffer.SetStyle(c.r, c.g, c.b, c.flags, run.pos, run.length, Chars);
        }
    }
}

TEST(TextBuffer, ABatchOfRunsStylesAsTheRunsOneByOne)
{
    // Runs across the gap, past either end, empty, of negative length and of no colour in the palette.
    const std::vector<TRunColour> palette { { 1, 2, 3, 0 }, { 9, 9, 9, TextStyleFlag::Bold }, { 5, 5, 5, 0 },
        { 7, 7, 7, TextStyleFlag::Italic }, { 8, 8, 8, 0 } };
    const std::vector<TColouredRun> runs { { 0, 3, 0 }, { 4, 4, 1 }, { 9, 2, 0 }, { -4, 6, 2 }, { 14, 50, 3 },
        { 11, 0, 4 }, { 12, -3, 4 }, { 2, 9, 5 }, { 2, 9, -1 } };
    for (const int gap : { 0, 6, 10, 18 }) {
        TTextBuffer batch, single;
        for (TTextBuffer* buffer : { &batch, &single }) {
            buffer->Replace(0, 0, u"0123456789abcdefgh");
            buffer->Replace(gap, 0, u""); // moves the gap there
        }
        const TTextRange touched = batch.SetStyles(palette, runs);
        StyleOneByOne(single, palette, runs);
        for (int pos = 0; pos < 18; ++pos)
            EXPECT_EQ(StyleAt(batch, pos), StyleAt(single, pos)) << "gap " << gap << " pos " << pos;
        EXPECT_EQ(touched, (TTextRange { 0, 18 })) << gap;
    }
    TTextBuffer buffer;
    buffer.Replace(0, 0, u"abc");
    EXPECT_EQ(buffer.SetStyles(palette, std::vector<TColouredRun> { { 3, 4, 1 } }), TTextRange {})
        << "nothing to style";

    // A palette met by a full style table: making room for one of its colours renumbers the ids, those
    // of the palette's colours before it included, and drops none of them.
    TTextBuffer full;
    full.Replace(0, 0, QString(255, QChar(u'x')));
    for (int i = 0; i < 255; ++i)
        full.SetStyle(i + 1, 9, 0, 0, i, 1, Chars);
    full.SetStyle(0, 0, 0, 0, 0, 40, Chars); // the first 40 colours are no longer in use
    const std::vector<TRunColour> fresh { { 200, 9, 0, 0 }, { 250, 250, 1, 0 }, { 250, 250, 2, 0 } };
    full.SetStyles(fresh, std::vector<TColouredRun> { { 0, 1, 0 }, { 1, 1, 1 }, { 2, 1, 2 } });
    for (const auto& [pos, style] :
        std::vector<std::pair<int, TTextStyle>> { { 0, { 200, 9, 0, 0 } }, { 1, { 250, 250, 1, 0 } },
            { 2, { 250, 250, 2, 0 } }, { 199, { 200, 9, 0, 0 } }, { 254, { 255, 9, 0, 0 } } })
        EXPECT_EQ(StyleAt(full, pos), style) << pos;
}

TEST(TextBuffer, RunsInOrderStyleFourBitIdsAsOneByOne)
{
    // As a colouring sends them: runs in order, touching or a few units apart, mostly short, some longer
    // than a 64-bit word of ids holds, some in the gap's way; now and then one out of order or overlapping.
    std::mt19937 random(7);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::vector<TRunColour> palette { { 1, 0, 0, 0 }, { 2, 0, 0, TextStyleFlag::Bold }, { 3, 0, 0, 0 },
        { 4, 0, 0, TextStyleFlag::Italic }, { 5, 0, 0, 0 } };
    for (int round = 0; round < 300; ++round) {
        const int length = 1 + below(200);
        TTextBuffer batch, single;
        const int gap = below(length + 1);
        for (TTextBuffer* buffer : { &batch, &single }) {
            buffer->Replace(0, 0, QString(length, QChar(u'x')));
            buffer->Replace(gap, 0, u"");
        }
        // Earlier colours, which the units between the runs keep.
        const std::vector<TColouredRun> before { { below(length), below(length), below(5) },
            { below(length), below(30), below(5) } };
        for (TTextBuffer* buffer : { &batch, &single })
            StyleOneByOne(*buffer, palette, before);
        std::vector<TColouredRun> runs;
        for (int pos = below(4); pos < length;) {
            const int runLength = below(8) == 0 ? 1 + below(40) : 1 + below(6);
            if (below(25) == 0)
                runs.push_back({ below(length), runLength, below(5) });
            else
                runs.push_back({ pos, runLength, below(5) });
            pos += runLength + (below(2) == 0 ? 0 : below(4));
        }
        batch.SetStyles(palette, runs);
        StyleOneByOne(single, palette, runs);
        ASSERT_TRUE(batch.StylesPacked());
        for (int pos = 0; pos < length; ++pos)
            ASSERT_EQ(StyleAt(batch, pos), StyleAt(single, pos)) << "round " << round << " pos " << pos;
    }
}

TEST(TextBuffer, ManyDistinctStylesOverTimeKeepTheLatest)
{
    // More colours than style ids, applied one after another to the same few characters: ids of
    // styles no longer in use must be reclaimed.
    TTextBuffer buffer;
    buffer.ReplaceText(0, -1, u"abc", Chars);
    for (int i = 0; i < 70000; ++i)
        buffer.SetStyle(i & 255, (i >> 8) & 255, 77, i & 3, i % 3, 1, Chars);
    const int last = 69999;
    EXPECT_EQ(StyleAt(buffer, last % 3), (TTextStyle { last & 255, (last >> 8) & 255, 77, last & 3 }));
    EXPECT_LT(buffer.StyleTableSize(), 65536);
}

TEST(TextBuffer, ALatinOneTextIsHeldAByteEachAndAFewStylesFourBitsEach)
{
    TTextBuffer buffer;
    buffer.Replace(0, 0, u"msg(\"\u00a9255000000hi\")\nend");
    buffer.SetStyle(1, 2, 3, TextStyleFlag::Bold, 4, 5, Chars);
    buffer.Select(2, 6);
    EXPECT_TRUE(buffer.Narrow());
    EXPECT_TRUE(buffer.StylesPacked());
    buffer.Replace(9, 0, u"\u20ac");
    EXPECT_FALSE(buffer.Narrow());
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), QStringView(u"msg(\"\u00a9255\u20ac000000hi\")\nend").toString());
    EXPECT_EQ(StyleAt(buffer, 4), (TTextStyle { 1, 2, 3, TextStyleFlag::Bold }));
    EXPECT_EQ(StyleAt(buffer, 9), StyleAt(buffer, 8)) << "the inserted character takes the style before it";
    EXPECT_EQ(buffer.CharAt(1), 21);
    EXPECT_EQ(buffer.Caret(), 6);
    buffer.Replace(3, 1, u"x");
    EXPECT_FALSE(buffer.Narrow()) << "a part replaced keeps the width";
    buffer.Replace(0, -1, u"\u00e9t\u00e9");
    EXPECT_FALSE(buffer.Narrow()) << "a negative length removes nothing";
    for (int r = 0; r < 20; ++r)
        buffer.SetStyle(r, 0, 0, 0, r % buffer.Length(), 1, Chars);
    EXPECT_FALSE(buffer.StylesPacked()) << "more than sixteen styles";
    EXPECT_EQ(StyleAt(buffer, 19 % buffer.Length()), (TTextStyle { 19, 0, 0, 0 }));
    buffer.Replace(0, buffer.Length(), u"\u00e9t\u00e9");
    EXPECT_TRUE(buffer.Narrow());
    EXPECT_TRUE(buffer.StylesPacked());
    EXPECT_EQ(buffer.StyleTableSize(), 1);
    EXPECT_EQ(buffer.AreaText(0, -1, Chars), QStringView(u"\u00e9t\u00e9").toString());
}

// Four-bit ids moved within their array as memmove moves bytes: every length, start and end of 24 ids,
// both parities and both directions, against a plain array.
TEST(TextBuffer, PackedStyleIdsMoveAsMemmoveDoes)
{
    constexpr int Size = 24;
    for (int count = 1; count <= 12; ++count) {
        for (int from = 0; from + count <= Size; ++from) {
            for (int to = 0; to + count <= Size; ++to) {
                TStyleIds ids;
                ids.Reallocate(Size, 0, Size, 0);
                std::vector<TStyleIds::Id> model(Size);
                for (int i = 0; i < Size; ++i) {
                    model[i] = static_cast<TStyleIds::Id>((i * 7 + 3) % 16);
                    ids.Set(i, model[i]);
                }
                ids.Move(to, from, count);
                std::memmove(model.data() + to, model.data() + from, count);
                std::vector<TStyleIds::Id> moved(Size);
                for (int i = 0; i < Size; ++i)
                    moved[i] = ids.Get(i);
                ASSERT_EQ(moved, model) << count << " ids from " << from << " to " << to;
            }
        }
    }
}

TEST(TextBuffer, ReplacementPastCapacityIsRefusedWhole)
{
    TTextBuffer buffer;
    const QString almostFull(TTextBuffer::Capacity - 2, QChar(u'x'));
    ASSERT_TRUE(buffer.ReplaceText(0, -1, almostFull, Chars));
    buffer.SetSelection(10, 0, Chars);
    EXPECT_FALSE(buffer.ReplaceText(10, 0, u"abc", Chars));
    EXPECT_EQ(buffer.Length(), TTextBuffer::Capacity - 2);
    EXPECT_EQ(buffer.AreaText(8, 4, Chars), "xxxx");
    EXPECT_FALSE(buffer.AddText(u"\n\n\n"));
    EXPECT_EQ(buffer.AreaLen(Lines), 0);
    // CR LF pairs count once, so this fits exactly.
    EXPECT_TRUE(buffer.ReplaceText(10, 1, u"a\r\nb", Chars));
    EXPECT_EQ(buffer.Length(), TTextBuffer::Capacity);
    EXPECT_EQ(buffer.AreaLen(Lines), 1);
    // A replacement that does not grow the text still works when full.
    EXPECT_TRUE(buffer.ReplaceText(0, 1, u"y", Chars));
    EXPECT_FALSE(buffer.ReplaceText(0, 0, u"y", Chars));
    EXPECT_EQ(buffer.CursorPos(Chars), 10);
}

// Random edits checked against a plain string and a per-character style array.
// Marks on "0123456789" at [2, 5) and a marker on the second of three lines, then one edit each.
TEST(TextBuffer, DecorationsShiftWithEditsAndGoWithTheirText)
{
    const struct {
        const char* what;
        int pos, removed;
        QString inserted;
        std::vector<std::pair<int, int>> ranges;
    } cases[] = {
        { "typing before", 0, 0, "ab", { { 4, 7 } } },
        { "typing at its start goes before it", 2, 0, "ab", { { 4, 7 } } },
        { "typing inside joins it", 3, 0, "ab", { { 2, 7 } } },
        { "typing at its end stays outside", 5, 0, "ab", { { 2, 5 } } },
        { "deleting its start", 1, 2, "", { { 1, 3 } } },
        { "deleting its end", 4, 3, "", { { 2, 4 } } },
        { "replacing its start", 0, 3, "xy", { { 2, 4 } } },
        { "deleting all of it", 2, 3, "", {} },
        { "replacing all of it", 1, 5, "abcdefg", {} },
    };
    for (const auto& c : cases) {
        TTextBuffer buffer;
        buffer.Replace(0, 0, u"0123456789");
        buffer.Decorations().SetIndicators(7, { { 2, 5, TIndicatorKind::Box, 0xFFFF0000, "tip" } });
        buffer.Replace(c.pos, c.removed, c.inserted);
        std::vector<std::pair<int, int>> ranges;
        for (const TIndicator& indicator : buffer.Decorations().Indicators(7))
            ranges.emplace_back(indicator.start, indicator.end);
        EXPECT_EQ(ranges, c.ranges) << c.what;
    }

    const struct {
        const char* what;
        int pos, removed;
        QString inserted;
        std::vector<int> lines;
    } lineCases[] = {
        { "a line put in before", 0, 0, "x\n", { 2 } },
        { "an edit on its line", 2, 1, "xyz", { 1 } },
        { "its line joined to the one before", 1, 1, "", {} },
        { "the line after joined to it", 3, 1, "", { 1 } },
        { "lines put in after", 3, 0, "\n\n", { 1 } },
    };
    for (const auto& c : lineCases) {
        TTextBuffer buffer;
        buffer.Replace(0, 0, u"a\nb\nc");
        buffer.Decorations().SetLineMarkers(2, { { 1, TMarkerKind::Warning, "careful" } });
        buffer.Replace(c.pos, c.removed, c.inserted);
        std::vector<int> lines;
        for (const TLineMarker& marker : buffer.Decorations().LineMarkers(2))
            lines.push_back(marker.line);
        EXPECT_EQ(lines, c.lines) << c.what;
    }
}

TEST(TextBuffer, RandomEditsMatchAReferenceModel)
{
    std::mt19937 random(20240521);
    auto below = [&](int n) { return n <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(n)); };
    // Mostly characters a byte holds; now and then one that widens the text, until a whole replacement.
    const char16_t alphabet[] = u"ab \t\n\r\u00e9\u20ac";
    auto character = [&] { return QChar(alphabet[below(50) == 0 ? 7 : below(7)]); };

    TTextBuffer buffer;
    QString model;
    std::vector<TTextStyle> modelStyles;
    // Which of up to eight indicators mark each character: a range keeps its surviving characters, and
    // text put in strictly inside it joins it.
    std::vector<uint8_t> modelMarks;
    for (int step = 0; step < 4000; ++step) {
        const int length = static_cast<int>(model.size());
        const int op = below(11);
        if (op == 10) {
            std::vector<TIndicator> indicators;
            std::fill(modelMarks.begin(), modelMarks.end(), 0);
            for (int k = 0; k < 8; ++k) {
                const int start = below(length + 1);
                const int end = start + below(std::min(30, length - start) + 1);
                indicators.push_back({ .start = start, .end = end, .tooltip = {} });
                for (int pos = start; pos < end; ++pos)
                    modelMarks[pos] |= uint8_t(1 << k);
            }
            buffer.Decorations().SetIndicators(1, indicators);
        } else if (op < 7) {
            const bool whole = below(40) == 0;
            const int pos = whole ? 0 : below(length + 1);
            const int removed = whole ? length : op < 3 ? 0 : below(std::min(40, length - pos) + 1);
            QString inserted;
            const int count = op == 6 ? 0 : below(op < 2 ? 60 : 12);
            for (int i = 0; i < count; ++i)
                inserted += character();
            ASSERT_TRUE(buffer.ReplaceText(pos, removed, inserted, Chars));

            QString normalised = inserted;
            normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar(u'\r'), QChar(u'\n'));
            TTextStyle fill {};
            if (pos > 0)
                fill = modelStyles[pos - 1];
            else if (length - removed > 0)
                fill = modelStyles[removed];
            const uint8_t joined
                = pos > 0 && pos + removed < length ? modelMarks[pos - 1] & modelMarks[pos + removed] : 0;
            model.replace(pos, removed, normalised);
            modelStyles.erase(modelStyles.begin() + pos, modelStyles.begin() + pos + removed);
            modelStyles.insert(modelStyles.begin() + pos, normalised.size(), fill);
            modelMarks.erase(modelMarks.begin() + pos, modelMarks.begin() + pos + removed);
            modelMarks.insert(modelMarks.begin() + pos, normalised.size(), joined);
        } else {
            const int pos = below(length + 1);
            const int count = below(length - pos + 1);
            // Mostly a dozen styles, which four-bit ids hold; now and then more, which widen them.
            const bool rare = below(30) == 0;
            const TTextStyle style { static_cast<uint8_t>(rare ? 3 : below(3)), 0, 0,
                static_cast<uint8_t>(rare ? below(16) : below(4)) };
            buffer.SetStyle(style.r, 0, 0, style.flags, pos, count, Chars);
            std::fill_n(modelStyles.begin() + pos, count, style);
        }

        ASSERT_EQ(buffer.AreaText(0, -1, Chars), model) << "step " << step;
        const TTextParts parts = buffer.Parts();
        const QString held = parts.narrow ? QString(parts.narrowFirst) + QString(parts.narrowSecond)
                                          : parts.first.toString() + parts.second.toString();
        ASSERT_EQ(held, model);
        ASSERT_TRUE(
            !buffer.Narrow() || std::all_of(model.begin(), model.end(), [](QChar c) { return c.unicode() < 256; }));
        const QStringList lines = model.split(u'\n');
        ASSERT_EQ(buffer.AreaLen(Lines), lines.size() - 1);
        int start = 0;
        for (int line = 0; line < lines.size(); ++line) {
            ASSERT_EQ(buffer.CharAt(line), start) << "step " << step << " line " << line;
            start += static_cast<int>(lines[line].size()) + 1;
        }
        for (int probe = 0; probe < 8; ++probe) {
            const int pos = below(static_cast<int>(model.size()) + 1);
            ASSERT_EQ(buffer.LineAt(pos), model.left(pos).count(u'\n'));
            if (pos < model.size()) {
                ASSERT_EQ(buffer.At(pos), model[pos].unicode());
            }
        }
        std::vector<TTextStyle> styles;
        for (int pos = 0; pos < model.size(); ++pos)
            styles.push_back(StyleAt(buffer, pos));
        ASSERT_TRUE(styles == modelStyles) << "step " << step;

        std::vector<std::pair<int, int>> expected;
        for (int k = 0; k < 8; ++k) {
            int first = -1, last = -1;
            for (int pos = 0; pos < int(modelMarks.size()); ++pos) {
                if (modelMarks[pos] & (1 << k)) {
                    first = first < 0 ? pos : first;
                    last = pos;
                }
            }
            if (first >= 0)
                expected.emplace_back(first, last + 1);
        }
        std::vector<std::pair<int, int>> marked;
        for (const TIndicator& indicator : buffer.Decorations().Indicators(1))
            marked.emplace_back(indicator.start, indicator.end);
        std::sort(expected.begin(), expected.end());
        std::sort(marked.begin(), marked.end());
        ASSERT_EQ(marked, expected) << "step " << step;
        // The painter's and the tooltip's lookup, which searches back no further than the longest mark.
        for (int probe = 0; probe < 8; ++probe) {
            const int pos = below(static_cast<int>(model.size()) + 1);
            const auto covering = std::count_if(expected.begin(), expected.end(),
                [pos](const auto& range) { return range.first <= pos && pos < range.second; });
            long found = 0;
            buffer.Decorations().ForEachIndicator(pos, pos + 1, [&found](const TIndicator&) { ++found; });
            ASSERT_EQ(found, covering) << "step " << step << " pos " << pos;
        }
    }
}
} // namespace
