// The editing key filter, driven by keys pressed on the script's text area: auto-indent, block indent
// with Tab, the undo records of typing and deleting, and a long random session that Undo must take
// back to where it started.
#include "AppFixture.h"

#include "settings/WSettings.h"

#include <QClipboard>
#include <QGuiApplication>

#include <random>
#include <vector>

namespace {
const QString Emoji = QString::fromUtf16(u"\U0001F600"); // two UTF-16 units

class KeyFilterTest : public AppFixture {
protected:
    void SetAutoIndent(bool on) { App->wSettings->bIndent->SetSelected(on ? 1 : 0); }
};

TEST_F(KeyFilterTest, EveryEditingKeyLeavesAnUndoStepThatTakesItBack)
{
    ASSERT_NE(ButtonValue(App->wSettings->bIndent), 0); // auto-indent is on by default
    const auto withoutAutoIndent = [this](Qt::Key key) {
        return [=, this] {
            SetAutoIndent(false);
            Key(key);
            SetAutoIndent(true);
        };
    };
    const QString emoji = "a" + Emoji + "b";
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const TEditCase edits[] = {
        // name, text, selection, action, edited text and selection, the last undo step, the text after one Undo
        { "Enter keeps the leading tabs", "\t\tif x then", { 11, 0 }, Press(Qt::Key_Return), "\t\tif x then\n\t\t",
            { 14, 0 }, { 11, 3, "", 11, 0 }, "\t\tif x then" },
        { "a blank ends the tabs Enter keeps", " \tx", { 3, 0 }, Press(Qt::Key_Return), " \tx\n", { 4, 0 },
            { 3, 1, "", 3, 0 }, " \tx" },
        { "Enter between two leading tabs", "\t\tab", { 1, 0 }, Press(Qt::Key_Return), "\t\n\t\t\tab", { 4, 0 },
            { 1, 3, "", 1, 0 }, "\t\tab" },
        { "Enter over a selection", "\tabcdef", { 3, 2 }, Press(Qt::Key_Return), "\tab\n\tef", { 5, 0 },
            { 3, 2, "cd", 3, 2 }, "\tabcdef" },
        { "Enter without auto-indent", "\tab", { 3, 0 }, withoutAutoIndent(Qt::Key_Return), "\tab\n", { 4, 0 },
            { 3, 1, "", 3, 0 }, "\tab" },
        { "keypad Enter without auto-indent over a selection", "abcd", { 1, 2 }, withoutAutoIndent(Qt::Key_Enter),
            "a\nd", { 2, 0 }, { 1, 1, "bc", 1, 2 }, "abcd" },
        { "Tab over one character types a tab", "abc", { 1, 1 }, Press(Qt::Key_Tab), "a\tc", { 2, 0 },
            { 1, 1, "b", 1, 1 }, "abc" },
        { "Tab at the caret types a tab", "a\tc", { 2, 0 }, Press(Qt::Key_Tab), "a\t\tc", { 3, 0 }, { 2, 1, "", 2, 0 },
            "a\tc" },
        { "Tab over two characters indents their line", "x\nabcd\ny", { 3, 2 }, Press(Qt::Key_Tab), "x\n\tabcd\ny",
            { 2, 6 }, { 2, 1, "", 2, 0 }, "x\nabcd\ny" },
        { "Tab over three lines indents each, one step a line", "a\nb\nc", { 0, 5 }, Press(Qt::Key_Tab),
            "\ta\n\tb\n\tc", { 0, 8 }, { 6, 1, "", 6, 0 }, "\ta\n\tb\nc", 3 },
        { "Shift+Tab over two lines indents like Tab", "a\nb", { 0, 3 }, Press(Qt::Key_Backtab, Qt::ShiftModifier),
            "\ta\n\tb", { 0, 5 }, { 3, 1, "", 3, 0 }, "\ta\nb", 2 },
        { "Shift+Tab at the caret types a tab", "ab", { 1, 0 }, Press(Qt::Key_Backtab, Qt::ShiftModifier), "a\tb",
            { 2, 0 }, { 1, 1, "", 1, 0 }, "ab" },
        { "each typed character is a step of its own", "", { 0, 0 }, Typing("xyz"), "xyz", { 3, 0 }, { 2, 1, "", 2, 0 },
            "xy", 3 },
        { "typing over a selection", "-xyz-", { 1, 3 }, Typing("a"), "-a-", { 2, 0 }, { 1, 1, "xyz", 1, 3 }, "-xyz-" },
        { "Backspace over a selection", "hello", { 1, 3 }, Press(Qt::Key_Backspace), "ho", { 1, 0 },
            { 1, 0, "ell", 1, 3 }, "hello" },
        { "Delete over a selection", "hello", { 1, 3 }, Press(Qt::Key_Delete), "ho", { 1, 0 }, { 1, 0, "ell", 1, 3 },
            "hello" },
        { "Backspace over a line break", "ab\ncd", { 3, 0 }, Press(Qt::Key_Backspace), "abcd", { 2, 0 },
            { 2, 0, "\n", 3, 0 }, "ab\ncd" },
        { "Delete at the caret", "ab\ncd", { 3, 0 }, Press(Qt::Key_Delete), "ab\nd", { 3, 0 }, { 3, 0, "c", 3, 0 },
            "ab\ncd" },
        // Past either end nothing is deleted; the step only puts the caret back.
        { "Backspace at the start", "ab", { 0, 0 }, Press(Qt::Key_Backspace), "ab", { 0, 0 }, { -1, 0, "", 0, 0 },
            "ab" },
        { "Delete at the end", "ab", { 2, 0 }, Press(Qt::Key_Delete), "ab", { 2, 0 }, { 2, 0, "", 2, 0 }, "ab" },
        { "Backspace after a character beyond the basic plane", emoji, { 3, 0 }, Press(Qt::Key_Backspace), "ab",
            { 1, 0 }, { 1, 0, Emoji, 3, 0 }, emoji },
        { "Delete before a character beyond the basic plane", emoji, { 1, 0 }, Press(Qt::Key_Delete), "ab", { 1, 0 },
            { 1, 0, Emoji, 1, 0 }, emoji },
        // With Shift as well, the keys of Paste and Cut run the commands.
        { "Ctrl+Shift+V", "abc", { 1, 1 }, Pasting("one\r\ntwo", Press(Qt::Key_V, ctrlShift)), "aone\ntwoc", { 8, 0 },
            { 1, 7, "b", 1, 1 }, "abc" },
        { "Ctrl+Shift+X", "abc", { 1, 1 }, Press(Qt::Key_X, ctrlShift), "ac", { 1, 0 }, { 1, 0, "b", 1, 1 }, "abc" },
    };
    for (const TEditCase& edit : edits)
        CheckEdit(edit);
}

TEST_F(KeyFilterTest, EnterMovesTheStatusLabelsToTheNewLine)
{
    SetScript("\t\tif x then", 11);
    Key(Qt::Key_Return);
    EXPECT_EQ(App->lLines->GetText(), "Line: 2 / 2");
    EXPECT_EQ(App->lChar->GetText(), "Char: 2");
}

TEST_F(KeyFilterTest, CtrlUpAndDownScrollByLinesAndLeaveTheCaretTextAndHistoryAlone)
{
    QStringList lines;
    for (int line = 0; line < 200; ++line)
        lines << QStringLiteral("print(%1)").arg(line);
    SetScript(lines.join(QLatin1Char('\n')));
    Select(Text()->CharAt(100) + 3, 2);
    SaveAs("scrolled.lua");
    App->History->Clear();
    const TSelection selection = Selection();

    struct Step {
        const char* name;
        Qt::Key key;
        int presses;
        int scrolled;
    };
    const Step steps[] = {
        { "Ctrl+Down", Qt::Key_Down, 1, 1 },
        { "Ctrl+Down until the caret's line is off the top", Qt::Key_Down, 40, 40 },
        { "Ctrl+Up", Qt::Key_Up, 3, -3 },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int top = Area()->View()->TopLine();
        EventQueue.Clear();
        for (int i = 0; i < step.presses; ++i)
            QTest::keyClick(View(), step.key, Qt::ControlModifier);
        EXPECT_EQ(EventQueue.Count(), 0);
        Settle();
        EXPECT_EQ(Area()->View()->TopLine(), top + step.scrolled);
        EXPECT_EQ(Selection(), selection);
        EXPECT_EQ(Recorded(), 0);
        EXPECT_EQ(App->Modified, 0);
    }
    // The first line stays at the top.
    Select(0);
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Area()->View()->TopLine(), 0);
    EXPECT_EQ(Selection(), (TSelection { 0, 0 }));
}

TEST_F(KeyFilterTest, CtrlShiftXPutsTheSelectionOnTheClipboard)
{
    QGuiApplication::clipboard()->setText("old");
    SetScript("abc", 1, 1);
    Key(Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "b");
}

TEST_F(KeyFilterTest, TypingAndBlockIndentMarkASavedDocument)
{
    for (const auto& [what, action] :
        { std::pair { "typing", Typing("x") }, std::pair { "Tab", Press(Qt::Key_Tab) } }) {
        SCOPED_TRACE(what);
        SetScript("x\nabcd\ny", 3, 2);
        SaveAs("marked.lua");
        ASSERT_EQ(App->Window->GetText(), "Tarvane:LE - marked.lua");
        action();
        EXPECT_EQ(App->Modified, 1);
        EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - marked.lua*");
        EXPECT_FALSE(App->mFileSave->State() & GadgetState::Disabled);
    }
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
