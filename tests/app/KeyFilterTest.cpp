// The editing key filter, driven by keys pressed on the script's text area: auto-indent, block indent
// with Tab, the undo records of typing and deleting, and a long random session that Undo must take
// back to where it started.
#include "AppFixture.h"

#include "gui/MenuGadget.h"
#include "gui/WidgetGadget.h"
#include "settings/WSettings.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethodEvent>

#include <chrono>
#include <functional>
#include <optional>
#include <random>
#include <vector>

namespace {
const QString Emoji = QString::fromUtf16(u"\U0001F600"); // two UTF-16 units
const QString Flag = QString::fromUtf16(u"\U0001F1E9\U0001F1EA"); // two regional indicators, one cluster
const QString AccentedE = QString::fromUtf16(u"e\u0301"); // a letter and its combining accent

struct SessionKey;

class KeyFilterTest : public AppFixture {
protected:
    // As the user sets it: a click on the settings dialog's box, whose action the main loop takes.
    void SetAutoIndent(bool on)
    {
        if (App->wSettings->Values().AutoIndent() == on)
            return;
        static_cast<QAbstractButton*>(TWidgetGadget::From(App->wSettings->bIndent)->Widget())->click();
        Settle();
    }

    // A key whose text is `text`, as the platform delivers a character beyond U+FFFF: both halves in one
    // key event; and an input method's commit.
    std::function<void()> TypingKey(const QString& text)
    {
        return [=, this] {
            QTest::sendKeyEvent(QTest::Click, View(), Qt::Key_unknown, text, Qt::NoModifier);
            Settle();
        };
    }
    std::function<void()> Committing(const QString& text)
    {
        return [=, this] {
            QInputMethodEvent event;
            event.setCommitString(text);
            QCoreApplication::sendEvent(View(), &event);
            Settle();
        };
    }
    // Presses one key of a random session and lets the editor settle.
    void PressSessionKey(const SessionKey& key);
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
        { "Shift+Tab over two lines outdents them", "\ta\n\tb", { 0, 5 }, Press(Qt::Key_Backtab, Qt::ShiftModifier),
            "a\nb", { 0, 3 }, { 2, 0, "\t", 2, 0 }, "a\n\tb", 2 },
        { "Shift+Tab at the caret outdents its line", "\tab", { 2, 0 }, Press(Qt::Key_Backtab, Qt::ShiftModifier), "ab",
            { 1, 0 }, { 0, 0, "\t", 2, 0 }, "\tab" },
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
        // Shift+Delete and Shift+Insert are Cut and Paste too.
        { "Shift+Delete", "abc", { 1, 1 }, Press(Qt::Key_Delete, Qt::ShiftModifier), "ac", { 1, 0 },
            { 1, 0, "b", 1, 1 }, "abc" },
        { "Shift+Insert", "abc", { 1, 1 }, Pasting("one\r\ntwo", Press(Qt::Key_Insert, Qt::ShiftModifier)),
            "aone\ntwoc", { 8, 0 }, { 1, 7, "b", 1, 1 }, "abc" },
        // Ctrl+Backspace and Ctrl+Delete take a word, recorded as exactly what went.
        { "Ctrl+Backspace after a word", "local value = 1", { 11, 0 }, Press(Qt::Key_Backspace, Qt::ControlModifier),
            "local  = 1", { 6, 0 }, { 6, 0, "value", 11, 0 }, "local value = 1" },
        { "Ctrl+Delete before a word", "local value = 1", { 6, 0 }, Press(Qt::Key_Delete, Qt::ControlModifier),
            "local = 1", { 6, 0 }, { 6, 0, "value ", 6, 0 }, "local value = 1" },
        { "Ctrl+Delete over a selection", "hello", { 1, 3 }, Press(Qt::Key_Delete, Qt::ControlModifier), "ho", { 1, 0 },
            { 1, 0, "ell", 1, 3 }, "hello" },
        // Delete takes a whole cluster; Backspace one code point of it.
        { "Delete before a letter with its accent", AccentedE + "x", { 0, 0 }, Press(Qt::Key_Delete), "x", { 0, 0 },
            { 0, 0, AccentedE, 0, 0 }, AccentedE + "x" },
        { "Delete before a flag", "a" + Flag + "b", { 1, 0 }, Press(Qt::Key_Delete), "ab", { 1, 0 },
            { 1, 0, Flag, 1, 0 }, "a" + Flag + "b" },
        { "Backspace after an accent", AccentedE + "x", { 2, 0 }, Press(Qt::Key_Backspace), "ex", { 1, 0 },
            { 1, 0, QString(QChar(0x0301)), 2, 0 }, AccentedE + "x" },
        // A character beyond U+FFFF is one step, typed or committed by an input method.
        { "a key typing a character beyond the basic plane", "ab", { 1, 0 }, TypingKey(Emoji), "a" + Emoji + "b",
            { 3, 0 }, { 1, 2, "", 1, 0 }, "ab" },
        { "an input method's commit over a selection", "-xyz-", { 1, 3 }, Committing(AccentedE + Emoji),
            "-" + AccentedE + Emoji + "-", { 5, 0 }, { 3, 2, "", 3, 0 }, "-" + AccentedE + "-", 3 },
    };
    for (const TEditCase& edit : edits)
        CheckEdit(edit);
}

// Off at first, kept for the next run; a caret moved by hand ends a run even when it comes back.
TEST_F(KeyFilterTest, GroupedTypingIsKeptForTheNextRunAndEndedByACaretMovedBack)
{
    ASSERT_TRUE(static_cast<TMenuGadget*>(App->mGroupTyping)->Choose());
    Settle();
    Restart();
    ASSERT_TRUE(App->mGroupTyping->State() & GadgetState::Selected);
    App->History->SetClock([] { return std::chrono::milliseconds(0); }); // no pause, however slow the keys
    Type("ab");
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    Type("cd");
    Key(Qt::Key_Home);
    Key(Qt::Key_Delete);
    Key(Qt::Key_Delete);
    for (const char* undone : { "abcd", "ab", "" }) {
        Undo();
        EXPECT_EQ(Script(), QString(undone));
    }
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

TEST_F(KeyFilterTest, CtrlShiftXAndShiftDeletePutTheSelectionOnTheClipboard)
{
    for (const auto& [key, modifiers] : { std::pair { Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier },
             std::pair { Qt::Key_Delete, Qt::KeyboardModifiers(Qt::ShiftModifier) } }) {
        QGuiApplication::clipboard()->setText("old");
        SetScript("abc", 1, 1);
        Key(key, modifiers);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "b") << key;
    }
}

TEST_F(KeyFilterTest, CtrlLettersTypingTheCodesOfEditingKeysNeitherEditNorRecord)
{
    // Ctrl+H types Backspace's 8, Ctrl+I Tab's 9 and Ctrl+M Enter's 13; none of them is that key. Over
    // two lines Tab would indent them.
    for (const Qt::Key key : { Qt::Key_H, Qt::Key_I, Qt::Key_M }) {
        for (const auto& [modifiers, selection] :
            { std::pair { Qt::KeyboardModifiers(Qt::ControlModifier), TSelection { 2, 0 } },
                std::pair { Qt::ControlModifier | Qt::ShiftModifier, TSelection { 1, 5 } } }) {
            SCOPED_TRACE(testing::Message() << "key " << key << " with Shift " << bool(modifiers & Qt::ShiftModifier));
            SetScript("abcd\nefgh", selection.pos, selection.length);
            App->History->Clear();
            Key(key, modifiers);
            EXPECT_EQ(Script(), "abcd\nefgh");
            EXPECT_EQ(Selection(), selection);
            EXPECT_EQ(Recorded(), 0);
        }
    }
}

TEST_F(KeyFilterTest, UndoingATypedEmojiTakesItWholeSoThatTheScriptSavesAsUtf8)
{
    SetScript("x", 1);
    App->History->Clear();
    TypingKey(Emoji)();
    TypingKey(Emoji)();
    ASSERT_EQ(Script(), "x" + Emoji + Emoji);
    Undo();
    EXPECT_EQ(Script(), "x" + Emoji);
    QFile saved(SaveAs("emoji.lua"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("x\xF0\x9F\x98\x80\n"));
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

// One key of the random session: a character typed, a key with its modifiers, or text that one key or
// an input method delivers whole.
struct SessionKey {
    char typed = 0;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    QString name;
    QString text = {};
    bool committed = false;
};

void KeyFilterTest::PressSessionKey(const SessionKey& key)
{
    if (!key.text.isEmpty())
        (key.committed ? Committing(key.text) : TypingKey(key.text))();
    else if (key.typed)
        QTest::keyClick(View(), key.typed);
    else
        QTest::keyClick(View(), key.key, key.modifiers);
    Settle();
}

// Ctrl and Ctrl+Shift with a letter. Ctrl with N, O, S, E or Z is left out: those are the menu's New,
// Load, Save, Settings and Undo, which would end the session's history.
SessionKey RandomCtrlLetter(std::mt19937& random)
{
    static const char letters[] = "ABCDFGHIJKLMPQRTUVWXY";
    const bool shift = std::uniform_int_distribution<int>(0, 1)(random) == 1;
    const char letter = shift ? char('A' + std::uniform_int_distribution<int>(0, 25)(random))
                              : letters[std::uniform_int_distribution<int>(0, int(sizeof letters) - 2)(random)];
    const Qt::KeyboardModifiers modifiers = shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
    return { 0, Qt::Key(Qt::Key_A + (letter - 'A')), modifiers,
        QStringLiteral("Ctrl+%1%2").arg(shift ? "Shift+" : "").arg(QLatin1Char(letter)) };
}

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
    // Keys that come less often: they cut, paste, or type beyond U+FFFF and clusters.
    static const std::vector<SessionKey> rarer = {
        { 0, Qt::Key_Delete, Qt::ShiftModifier, "Shift+Delete" },
        { 0, Qt::Key_Insert, Qt::ShiftModifier, "Shift+Insert" },
        { 0, Qt::Key_unknown, Qt::NoModifier, "key typing an emoji", Emoji },
        { 0, Qt::Key_unknown, Qt::NoModifier, "input method committing an accent and a flag", AccentedE + Flag, true },
    };
    static const char printable[] = "abcxyz019 ()[]{}=.,;:\"'-+*/#~";
    const int kind = std::uniform_int_distribution<int>(0, 11)(random);
    if (kind < 4) {
        const char c = printable[std::uniform_int_distribution<int>(0, int(sizeof printable) - 2)(random)];
        return { c, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("'%1'").arg(QLatin1Char(c)) };
    }
    if (kind == 4)
        return RandomCtrlLetter(random);
    const std::vector<SessionKey>& from = kind == 5 ? rarer : keys;
    return from[std::uniform_int_distribution<int>(0, int(from.size()) - 1)(random)];
}

// A long random session: every key that changes the text leaves an undo step, so undoing the whole
// history returns each text a key left behind, down to the starting text.
TEST_F(KeyFilterTest, UndoingARandomSessionReturnsEveryTextOnTheWay)
{
    constexpr int Keys = 3000;
    std::mt19937 random(20240611);
    const QString start = "function f(a)" + Emoji + "\n\tif a then\n\t\treturn \"x" + Emoji + Emoji + AccentedE
        + "\"\n\tend\nend\n  -- " + Flag + Emoji + "tail";
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
        const bool blockIndent
            = (key.name == "Tab" && SelectionLength() >= 2) || (key.name == "Shift+Tab" && SelectionLength() >= 1);
        const QString before = Script();
        const int recordedBefore = Recorded();
        PressSessionKey(key);
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

namespace {
// Undo and Redo pressed at random among the keys: after every key the text is the one the model says,
// where the model keeps the text after each recorded step and forgets the undone ones at a new edit.
TEST_F(KeyFilterTest, RandomUndoAndRedoFollowTheTextsTheEditsMade)
{
    constexpr int Keys = 1500;
    std::mt19937 random(20261208);
    const QString start = "function f(a)\n\tif a then\n\t\treturn \"x" + Emoji + AccentedE + "\"\n\tend\nend\n";
    SetScript(start, 14);
    App->History->Clear();
    QGuiApplication::clipboard()->setText("x = {\r\n\t1,\r\n}");

    std::vector<std::optional<QString>> texts { start }; // the text with as many steps recorded as its index
    for (int step = 1; step <= Keys; ++step) {
        const int recorded = Recorded();
        const int choice = std::uniform_int_distribution<int>(0, 9)(random);
        if (choice < 3) {
            const bool undo = choice < 2;
            Key(undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
            const int expected = undo ? std::max(recorded - 1, 0) : std::min(recorded + 1, int(texts.size()) - 1);
            ASSERT_EQ(Recorded(), expected) << "step " << step << (undo ? " Undo" : " Redo");
            if (texts[size_t(expected)]) {
                ASSERT_EQ(Script(), *texts[size_t(expected)]) << "step " << step << (undo ? " Undo" : " Redo");
            }
        } else {
            const SessionKey key = RandomKey(random);
            const QString before = Script();
            PressSessionKey(key);
            if (Recorded() != recorded || Script() != before) {
                // A new edit: what was undone is gone; steps between are texts nobody saw whole.
                texts.resize(size_t(recorded) + 1);
                texts.resize(size_t(Recorded()) + 1);
                texts.back() = Script();
            }
        }
        ASSERT_EQ(App->History->RedoCount(), int(texts.size()) - 1 - Recorded()) << "step " << step;
    }
    // Everything undone leads back to the start, and everything redone to the last text.
    while (Recorded() > 0)
        Undo();
    EXPECT_EQ(Script(), start);
    while (App->History->RedoCount() > 0)
        Menu(TApplication::M_REDO);
    ASSERT_TRUE(texts.back().has_value());
    EXPECT_EQ(Script(), *texts.back());
}
} // namespace
