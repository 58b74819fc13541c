// The editing key filter, driven by keys pressed on the script's text area: auto-indent, block indent
// with Tab, the undo records of typing and deleting, and a long random session that Undo must take
// back to where it started.
#include "AppFixture.h"

#include "settings/WSettings.h"

#include <QClipboard>
#include <QGuiApplication>

#include <random>
#include <sstream>
#include <vector>

namespace {
const QString Emoji = QString::fromUtf16(u"\U0001F600"); // two UTF-16 units

class KeyFilterTest : public AppFixture {
protected:
    void SetAutoIndent(bool on) { App->wSettings->bIndent->SetSelected(on ? 1 : 0); }
    const TAction& LastAction() const { return *App->History->Last(); }
};

TEST_F(KeyFilterTest, EnterKeepsLeadingTabsOnly)
{
    ASSERT_NE(ButtonValue(App->wSettings->bIndent), 0); // auto-indent is on by default
    SetScript("\t\tif x then", 11);
    Key(Qt::Key_Return);
    EXPECT_EQ(Script(), "\t\tif x then\n\t\t");
    EXPECT_EQ(Cursor(), 14);
    ASSERT_EQ(Recorded(), 1);
    EXPECT_EQ(LastAction().Sel, 3);
    // The filter's selection event reaches the labels.
    EXPECT_EQ(App->lLines->GetText(), "Line: 2 / 2");
    EXPECT_EQ(App->lChar->GetText(), "Char: 2");
    Undo();
    EXPECT_EQ(Script(), "\t\tif x then");
    EXPECT_EQ(Cursor(), 11);

    // A blank ends the count.
    SetScript(" \tx", 3);
    Key(Qt::Key_Return);
    EXPECT_EQ(Script(), " \tx\n");

    // Between the two leading tabs: one stays above, three go before the rest.
    SetScript("\t\tab", 1);
    Key(Qt::Key_Return);
    EXPECT_EQ(Script(), "\t\n\t\t\tab");
    EXPECT_EQ(Cursor(), 4);
}

TEST_F(KeyFilterTest, EnterOverASelectionIsUndoneWithTheSelection)
{
    SetScript("\tabcdef", 3, 2);
    Key(Qt::Key_Return);
    EXPECT_EQ(Script(), "\tab\n\tef");
    Undo();
    EXPECT_EQ(Script(), "\tabcdef");
    EXPECT_EQ(Cursor(), 3);
    EXPECT_EQ(Selected(), "cd");
}

TEST_F(KeyFilterTest, WithoutAutoIndentTheTextAreaBreaksTheLine)
{
    SetAutoIndent(false);
    SetScript("\tab", 3);
    Key(Qt::Key_Return);
    EXPECT_EQ(Script(), "\tab\n");
    EXPECT_EQ(Cursor(), 4);
    ASSERT_EQ(Recorded(), 1);
    EXPECT_EQ(LastAction().Sel, 1);
    Undo();
    EXPECT_EQ(Script(), "\tab");
    EXPECT_EQ(Cursor(), 3);

    SetScript("abcd", 1, 2);
    Key(Qt::Key_Enter);
    EXPECT_EQ(Script(), "a\nd");
    Undo();
    EXPECT_EQ(Script(), "abcd");
    EXPECT_EQ(Selected(), "bc");
}

TEST_F(KeyFilterTest, TabOverOneCharacterReplacesItAndIsUndoneLikeTyping)
{
    SetScript("abc", 1, 1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Script(), "a\tc");
    EXPECT_EQ(Recorded(), 1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Script(), "a\t\tc");
    EXPECT_EQ(Recorded(), 2);
    Undo();
    EXPECT_EQ(Script(), "a\tc");
    Undo();
    EXPECT_EQ(Script(), "abc");
    EXPECT_EQ(Selected(), "b");
}

TEST_F(KeyFilterTest, TabOverTwoCharactersIndentsTheirLinesOneUndoEach)
{
    SetScript("x\nabcd\ny", 3, 2);
    SaveAs("indent.lua");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Script(), "x\n\tabcd\ny");
    EXPECT_EQ(Cursor(), 2);
    EXPECT_EQ(Selected(), "\tabcd\n");
    EXPECT_EQ(Recorded(), 1);
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - indent.lua*");
    Undo();
    EXPECT_EQ(Script(), "x\nabcd\ny");

    SetScript("a\nb\nc", 0, 5);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Script(), "\ta\n\tb\n\tc");
    EXPECT_EQ(SelectionLength(), 8);
    ASSERT_EQ(Recorded(), 3);
    Undo();
    EXPECT_EQ(Script(), "\ta\n\tb\nc");
    Undo();
    EXPECT_EQ(Script(), "\ta\nb\nc");
    Undo();
    EXPECT_EQ(Script(), "a\nb\nc");
}

TEST_F(KeyFilterTest, ShiftTabBehavesLikeTab)
{
    SetScript("a\nb", 0, 3);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Script(), "\ta\n\tb");
    EXPECT_EQ(Recorded(), 2);

    SetScript("ab", 1);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Script(), "a\tb");
    EXPECT_EQ(Recorded(), 3);
}

TEST_F(KeyFilterTest, EachTypedCharacterIsItsOwnUndoStep)
{
    Type("xyz");
    ASSERT_EQ(Script(), "xyz");
    Undo();
    EXPECT_EQ(Script(), "xy");
    Undo();
    EXPECT_EQ(Script(), "x");
    Undo();
    EXPECT_EQ(Script(), "");
    EXPECT_EQ(Recorded(), 0);

    // Typing over a selection is undone with the selection.
    SetScript("-xyz-", 1, 3);
    Type("ab");
    EXPECT_EQ(Script(), "-ab-");
    Undo();
    Undo();
    EXPECT_EQ(Script(), "-xyz-");
    EXPECT_EQ(Selected(), "xyz");
}

TEST_F(KeyFilterTest, DeletingASelectionRecordsItSoUndoBringsItBackSelected)
{
    for (Qt::Key key : { Qt::Key_Backspace, Qt::Key_Delete }) {
        SetScript("hello", 1, 3);
        Key(key);
        EXPECT_EQ(Script(), "ho");
        ASSERT_EQ(Recorded(), 1);
        EXPECT_EQ(LastAction().Pos, 1);
        EXPECT_EQ(LastAction().Sel, 0);
        EXPECT_EQ(LastAction().Text, "ell");
        Undo();
        EXPECT_EQ(Script(), "hello");
        EXPECT_EQ(Cursor(), 1);
        EXPECT_EQ(Selected(), "ell");
    }

    // Single characters, a line break among them.
    SetScript("ab\ncd", 3);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Script(), "abd");
    Undo();
    Undo();
    EXPECT_EQ(Script(), "ab\ncd");
    EXPECT_EQ(Cursor(), 3);
}

TEST_F(KeyFilterTest, DeletingPastEitherEndOfTheTextUndoesToTheCaretOnly)
{
    SetScript("ab", 0);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Script(), "ab");
    Select(2);
    Undo();
    EXPECT_EQ(Script(), "ab");
    EXPECT_EQ(Cursor(), 0);

    Key(Qt::Key_End);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Script(), "ab");
    Select(0);
    Undo();
    EXPECT_EQ(Script(), "ab");
    EXPECT_EQ(Cursor(), 2);
    EXPECT_EQ(Recorded(), 0);
}

TEST_F(KeyFilterTest, ACharacterBeyondTheBasicPlaneIsDeletedAndRestoredWhole)
{
    const QString text = "a" + Emoji + "b";
    SetScript(text, 3);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Script(), "ab");
    EXPECT_EQ(LastAction().Text, Emoji);
    Undo();
    EXPECT_EQ(Script(), text);
    EXPECT_EQ(Cursor(), 3);

    Select(1);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Script(), "ab");
    EXPECT_EQ(LastAction().Text, Emoji);
    Undo();
    EXPECT_EQ(Script(), text);
    EXPECT_EQ(Cursor(), 1);
}

TEST_F(KeyFilterTest, ShiftedCutAndPasteKeysAreUndoneLikeTheCommands)
{
    QGuiApplication::clipboard()->setText("one\r\ntwo");
    SetScript("abc", 1, 1);
    Key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Script(), "aone\ntwoc");
    ASSERT_EQ(Recorded(), 1);
    EXPECT_EQ(LastAction().Sel, 7);
    Undo();
    EXPECT_EQ(Script(), "abc");
    EXPECT_EQ(Selected(), "b");

    Key(Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Script(), "ac");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "b");
    Undo();
    EXPECT_EQ(Script(), "abc");
    EXPECT_EQ(Selected(), "b");
    EXPECT_EQ(Recorded(), 0);
}

TEST_F(KeyFilterTest, TypingIntoASavedDocumentMarksTheTitle)
{
    SaveAs("typed.lua");
    ASSERT_EQ(App->Window->GetText(), "Tarvane:LE - typed.lua");
    Type("x");
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - typed.lua*");
    EXPECT_FALSE(App->mFileSave->State() & GadgetState::Disabled);
}

TEST_F(KeyFilterTest, EditsTheTextAreaRefusesAtItsCapacityRecordNothing)
{
    const QString line = QString(1023, QLatin1Char('x')) + QLatin1Char('\n');
    const QString full = line.repeated(TextAreaCapacity / line.size());
    SetScript(full, 5);
    Type("a");
    Key(Qt::Key_Return);
    SetAutoIndent(false);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text()->AreaLen(TextUnit::Chars), TextAreaCapacity);
    EXPECT_EQ(Recorded(), 0);

    // Typing over a selection still fits, and is recorded.
    Select(5, 1);
    Type("a");
    EXPECT_EQ(Recorded(), 1);
    Undo();
    EXPECT_EQ(Script(), full);
}

// One key of the random session: a character typed, or a key with its modifiers.
struct SessionKey {
    char typed = 0;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    QString name;
};

// Keys that edit with and without a selection, move and select, some with modifiers the filter does
// not look at; Tab and Enter come often enough to indent over selections of several lines.
SessionKey RandomKey(std::mt19937& random)
{
    static const std::vector<SessionKey> keys = {
        { 0, Qt::Key_Return, Qt::NoModifier, "Enter" },
        { 0, Qt::Key_Tab, Qt::NoModifier, "Tab" },
        { 0, Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab" },
        { 0, Qt::Key_Backspace, Qt::NoModifier, "Backspace" },
        { 0, Qt::Key_Delete, Qt::NoModifier, "Delete" },
        { 0, Qt::Key_Left, Qt::NoModifier, "Left" },
        { 0, Qt::Key_Right, Qt::NoModifier, "Right" },
        { 0, Qt::Key_Up, Qt::NoModifier, "Up" },
        { 0, Qt::Key_Down, Qt::NoModifier, "Down" },
        { 0, Qt::Key_Left, Qt::ShiftModifier, "Shift+Left" },
        { 0, Qt::Key_Right, Qt::ShiftModifier, "Shift+Right" },
        { 0, Qt::Key_Up, Qt::ShiftModifier, "Shift+Up" },
        { 0, Qt::Key_Down, Qt::ShiftModifier, "Shift+Down" },
        { 0, Qt::Key_Home, Qt::NoModifier, "Home" },
        { 0, Qt::Key_End, Qt::NoModifier, "End" },
        { 0, Qt::Key_Home, Qt::ShiftModifier, "Shift+Home" },
        { 0, Qt::Key_End, Qt::ShiftModifier, "Shift+End" },
        { 0, Qt::Key_PageUp, Qt::ShiftModifier, "Shift+PageUp" },
        { 0, Qt::Key_Left, Qt::ControlModifier, "Ctrl+Left" },
        { 0, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Right" },
        { 0, Qt::Key_Return, Qt::ShiftModifier, "Shift+Enter" },
        { 0, Qt::Key_Backspace, Qt::ControlModifier, "Ctrl+Backspace" },
        { 0, Qt::Key_Backspace, Qt::AltModifier, "Alt+Backspace" },
        { 0, Qt::Key_Delete, Qt::ControlModifier, "Ctrl+Delete" },
        { 0, Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+X" },
        { 0, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+V" },
    };
    static const char printable[] = "abcxyz019 ()[]{}=.,;:\"'-+*/#~";
    if (std::uniform_int_distribution<int>(0, 2)(random) == 0) {
        const char c = printable[std::uniform_int_distribution<int>(0, int(sizeof printable) - 2)(random)];
        return { c, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("'%1'").arg(QLatin1Char(c)) };
    }
    return keys[std::uniform_int_distribution<int>(0, int(keys.size()) - 1)(random)];
}

// A long random session: every key that changes the text leaves an undo step, so undoing the whole
// history returns each text a key left behind, down to the starting text.
TEST_F(KeyFilterTest, UndoingARandomSessionReturnsEveryTextOnTheWay)
{
    constexpr int Keys = 3000;
    std::mt19937 random(20240611);
    const QString start = "function f(a)" + Emoji + "\n\tif a then\n\t\treturn \"x" + Emoji + Emoji
        + "\"\n\tend\nend\n  -- " + Emoji + "tail";
    SetScript(start, 20);
    App->History->Clear();
    QGuiApplication::clipboard()->setText("x = {\r\n\t1,\r\n}");

    struct Step {
        int number;
        QString key;
        int recorded; // history length after the key
        QString text; // text after the key
    };
    std::vector<Step> steps;
    int indentedBlocks = 0;
    for (int step = 1; step <= Keys; ++step) {
        const SessionKey key = RandomKey(random);
        // Auto-indent is read at every Enter.
        if (key.key == Qt::Key_Return)
            SetAutoIndent(std::uniform_int_distribution<int>(0, 1)(random) == 1);
        const bool blockIndent = (key.name == "Tab" || key.name == "Shift+Tab") && SelectionLength() >= 2;
        const QString before = Script();
        const int recordedBefore = Recorded();
        if (key.typed)
            QTest::keyClick(View(), key.typed);
        else
            QTest::keyClick(View(), key.key, key.modifiers);
        Settle();
        if (blockIndent)
            ++indentedBlocks;
        if (Script() != before) {
            ASSERT_GT(Recorded(), recordedBefore)
                << "step " << step << " (" << key.name.toStdString() << ") changed the text without an undo step";
        }
        steps.push_back({ step, key.name, Recorded(), Script() });
    }

    auto next = steps.rbegin();
    while (Recorded() > 0) {
        Undo();
        while (next != steps.rend() && next->recorded > Recorded())
            ++next;
        if (next != steps.rend() && next->recorded == Recorded()) {
            ASSERT_EQ(Script(), next->text)
                << "undoing back to the text after step " << next->number << " (" << next->key.toStdString() << ")";
        }
    }
    EXPECT_EQ(Script(), start);
    // The session did what it was meant to: block indents among its keys.
    EXPECT_GT(indentedBlocks, 5);
}
} // namespace
