// The text area's key and clipboard commands against a recording host, without a view: one report per
// command, which character codes act, and paging.
#include "gui/TextCommands.h"

#include "event/Event.h"
#include "gui/KeyMap.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {
struct RecordingHost : TTextCommandsHost {
    TTextCommands* commands = nullptr;
    std::vector<bool> reports; // textChanged of each user change, in order
    std::vector<std::pair<int, int>> offered; // position and removed count of each offered edit
    bool acceptEdits = true;
    int scrolled = 0;

    // As the view does: any selection change makes Up and Down forget their column.
    void SelectionMoved(int, int) override { commands->ForgetColumn(); }
    void TextEdited(const TTextChange&) override { }
    int PageLines() const override { return 3; }
    void ScrollLines(int lines) override { scrolled += lines; }
    void UserChanged(bool textChanged) override { reports.push_back(textChanged); }
    bool OfferEdit(int pos, int removed, const QString&) override
    {
        offered.emplace_back(pos, removed);
        return acceptEdits;
    }
};

struct TextCommandsTest : testing::Test {
    TTextBuffer buffer;
    TTextFonts fonts;
    TTextLayouter layouter { buffer, fonts };
    RecordingHost host;
    TTextCommands commands { buffer, layouter, host };

    void SetUp() override { host.commands = &commands; }

    void SetText(QStringView text, int anchor, int caret)
    {
        ASSERT_TRUE(buffer.Replace(0, buffer.Length(), text));
        buffer.Select(anchor, caret);
    }
    QString Text() const { return buffer.AreaText(0, buffer.Length(), TextUnit::Chars); }
    // The reports since the last call.
    std::vector<bool> Reports() { return std::exchange(host.reports, {}); }
};

const std::vector<bool> TextReport { true };
const std::vector<bool> SelectionReport { false };
const std::vector<bool> NoReport {};

TEST_F(TextCommandsTest, ACommandOfManyStepsReportsOnceAndAnIdleOneNotAtAll)
{
    SetText(u"alpha beta", 0, 6);
    commands.KeyDownAction('X', Modifier::Ctrl);
    EXPECT_EQ(Text(), "beta");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "alpha ");
    EXPECT_EQ(Reports(), TextReport);

    commands.KeyDownAction('A', Modifier::Ctrl);
    EXPECT_EQ(buffer.SelEnd() - buffer.SelStart(), 4);
    EXPECT_EQ(Reports(), SelectionReport);
    // Letters without Ctrl, or with Alt as well, are no commands.
    commands.KeyDownAction('X', 0);
    commands.KeyDownAction('X', Modifier::Ctrl | Modifier::Alt);
    EXPECT_EQ(Text(), "beta");
    EXPECT_EQ(Reports(), NoReport);

    buffer.Select(4, 4);
    commands.KeyDownAction(VirtualKey::Delete, 0);
    commands.KeyDownAction(VirtualKey::Right, 0);
    EXPECT_EQ(Reports(), NoReport);
    // Backspace acts on its character, Alt+Backspace on its key-down.
    commands.KeyDownAction(VirtualKey::Back, 0);
    EXPECT_EQ(Text(), "beta");
    commands.KeyDownAction(VirtualKey::Back, Modifier::Alt);
    EXPECT_EQ(Text(), "bet");
    EXPECT_EQ(Reports(), TextReport);

    EXPECT_FALSE(commands.Cut());
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(commands.Paste());
    EXPECT_EQ(Reports(), NoReport);
    QGuiApplication::clipboard()->setText("s");
    EXPECT_TRUE(commands.Paste());
    EXPECT_EQ(Text(), "bets");
    EXPECT_EQ(Reports(), TextReport);
}

TEST_F(TextCommandsTest, OnlyPrintablesTabAndTheBackspaceCodesAct)
{
    SetText(u"abc", 3, 3);
    for (char16_t code : { CharCode::CtrlA, CharCode::CtrlC, CharCode::Return, CharCode::CtrlV, CharCode::CtrlX })
        commands.CharAction(code, 0);
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(Reports(), NoReport);

    commands.CharAction(CharCode::Tab, 0);
    commands.CharAction(CharCode::FirstPrintable, 0);
    commands.CharAction(u'\u00e9', 0);
    EXPECT_EQ(Text(), QString::fromUtf16(u"abc\t \u00e9"));
    commands.CharAction(CharCode::Backspace, 0);
    EXPECT_EQ(Text(), "abc\t ");
    // Ctrl+Backspace takes the word and the blanks before the caret.
    commands.CharAction(CharCode::CtrlBackspace, Modifier::Ctrl);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Reports(), std::vector<bool>(5, true));
}

// Strings and the caret stops Right finds in them from the start; Left finds the same ones from the end.
TEST_F(TextCommandsTest, ArrowsStopOnlyBetweenClusters)
{
    QString flags = "x";
    std::vector<int> flagStops { 0, 1 };
    for (int i = 0; i < 41; ++i) {
        flags += QString::fromUtf16(u"\U0001F1E9");
        if (i % 2 == 1 || i == 40)
            flagStops.push_back(int(flags.size()));
    }
    const struct {
        const char* name;
        QString text;
        std::vector<int> stops;
    } cases[] = {
        { "a letter with two accents", QString::fromUtf16(u"ae\u0301\u0323x"), { 0, 1, 4, 5 } },
        { "two flags", QString::fromUtf16(u"a\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7b"), { 0, 1, 5, 9, 10 } },
        { "a skin tone", QString::fromUtf16(u"\U0001F44D\U0001F3FD!"), { 0, 4, 5 } },
        { "a zero-width joiner", QString::fromUtf16(u"\U0001F469\u200D\U0001F4BB!"), { 0, 5, 6 } },
        { "a variation selector", QString::fromUtf16(u"\u00A9\uFE0F!"), { 0, 2, 3 } },
        { "Hangul jamo", QString::fromUtf16(u"\u1100\u1161\u11A8!"), { 0, 3, 4 } },
        { "an accent after a line break stands alone", QString::fromUtf16(u"e\n\u0301x"), { 0, 1, 2, 3, 4 } },
        { "a cluster longer than what is read around the caret", "a" + QString(100, QChar(0x0301)) + "b",
            { 0, 101, 102 } },
        { "a run of flags longer than what is read around the caret", flags, flagStops },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        SetText(test.text, 0, 0);
        std::vector<int> right { 0 };
        for (int keys = 0; keys < buffer.Length() && buffer.Caret() < buffer.Length(); ++keys) {
            commands.KeyDownAction(VirtualKey::Right, 0);
            right.push_back(buffer.Caret());
        }
        EXPECT_EQ(right, test.stops);
        std::vector<int> left { buffer.Caret() };
        for (int keys = 0; keys < buffer.Length() && buffer.Caret() > 0; ++keys) {
            commands.KeyDownAction(VirtualKey::Left, 0);
            left.push_back(buffer.Caret());
        }
        std::reverse(left.begin(), left.end());
        EXPECT_EQ(left, test.stops);
    }

    // Word motions end between clusters too, though a joiner is no word character.
    SetText(u"\U0001F469\u200D\U0001F4BB x", 0, 0);
    commands.KeyDownAction(VirtualKey::Right, Modifier::Ctrl);
    EXPECT_EQ(buffer.Caret(), 5);
    buffer.Select(6, 6);
    commands.KeyDownAction(VirtualKey::Left, Modifier::Ctrl);
    EXPECT_EQ(buffer.Caret(), 0);
}

TEST_F(TextCommandsTest, PageKeysScrollAPageAndKeepTheColumnAcrossAShortLine)
{
    SetText(u"0123\n0123\n0123\n0\n0123\n0123\n0123", 3, 3);
    commands.KeyDownAction(VirtualKey::Next, 0);
    EXPECT_EQ(host.scrolled, 3);
    EXPECT_EQ(buffer.Caret(), buffer.LineEnd(3));
    commands.KeyDownAction(VirtualKey::Next, Modifier::Shift);
    EXPECT_EQ(host.scrolled, 6);
    EXPECT_EQ(buffer.Caret(), buffer.LineStart(6) + 3);
    EXPECT_EQ(buffer.Anchor(), buffer.LineEnd(3));
    commands.KeyDownAction(VirtualKey::Prior, 0);
    commands.KeyDownAction(VirtualKey::Prior, 0);
    EXPECT_EQ(host.scrolled, 0);
    EXPECT_EQ(buffer.Caret(), 3);
    EXPECT_EQ(buffer.Anchor(), 3);
    EXPECT_EQ(Reports(), std::vector<bool>(4, false));

    // A move along the line takes the caret's column from then on.
    commands.KeyDownAction(VirtualKey::Left, 0);
    commands.KeyDownAction(VirtualKey::Next, 0);
    commands.KeyDownAction(VirtualKey::Next, 0);
    EXPECT_EQ(buffer.Caret(), buffer.LineStart(6) + 2);
}
// A drop offers the copy before the removal of the source, so that a refused step never loses text.
TEST_F(TextCommandsTest, ADropOntoItsOwnEdgeOrARefusedOneChangesNoMoreThanItShould)
{
    using Offers = std::vector<std::pair<int, int>>;
    struct Case {
        const char* name;
        TTextRange range;
        int target;
        bool copy;
        bool accept;
        QString text;
        Offers offers;
        TTextRange selection;
    };
    const Case cases[] = {
        { "copy onto its own edge", { 1, 3 }, 3, true, true, "abcbcdef", { { 3, 0 } }, { 3, 5 } },
        { "move onto its own edge", { 1, 3 }, 3, false, true, "abcdef", {}, { 1, 3 } },
        { "refused", { 1, 3 }, 5, false, false, "abcdef", { { 5, 0 } }, { 1, 3 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetText(u"abcdef", c.range.start, c.range.end);
        host.offered.clear();
        host.acceptEdits = c.accept;
        commands.UserDrop(c.range, c.target, c.copy);
        EXPECT_EQ(Text(), c.text);
        EXPECT_EQ(host.offered, c.offers);
        EXPECT_EQ((TTextRange { buffer.SelStart(), buffer.SelEnd() }), c.selection);
        EXPECT_EQ(Reports(), c.text == "abcdef" ? NoReport : TextReport);
    }
}
} // namespace
