// The menu and toolbar commands, driven through the main loop with scripted requesters: colour codes,
// block indent and outdent, selections and the status labels, cut and paste with their undo records,
// launching the game, the About box, and the text area's change events.
#include "AppFixture.h"

#include "app/RunExecutable.h"
#include "settings/WSettings.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {
using Editor = TApplication;

class CommandsTest : public AppFixture {
protected:
    void Toolbar(int index) { Send(Event::GadgetAction, App->Toolbar, index); }

    // The document saved once, so that it is unmodified.
    void SaveFirst()
    {
        SaveAs("saved.lua");
        ASSERT_EQ(App->Modified, 0);
        ASSERT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua");
        system->requests.clear();
    }

    bool KeywordColoured(int pos) const
    {
        const TPartColour& keyword = App->wSettings->Colours[TTokenClass::Keyword];
        const TTextStyle& style = StyleAt(pos);
        return style.r == keyword.R && style.g == keyword.G && style.b == keyword.B && style.flags == keyword.Style;
    }
    bool Uncoloured(int pos) const { return StyleAt(pos) == Area()->Buffer().DefaultStyle(); }

    static void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

    const TAction& LastAction() const { return *App->History->Last(); }
};

TEST_F(CommandsTest, ColourCodeIsTheChosenColourInNineDigits)
{
    SetScript("ab", 1);
    system->colourAnswers = { 0xFFFF0000u };
    Toolbar(Editor::TB_COLOR);
    ASSERT_EQ(system->requests.size(), 1u);
    EXPECT_EQ(system->requests[0].kind, "RequestColor");
    EXPECT_EQ(system->requests[0].red, 255);
    EXPECT_EQ(system->requests[0].green, 255);
    EXPECT_EQ(system->requests[0].blue, 255);
    EXPECT_EQ(Script(), QString("a") + QChar(0xA9) + "255000000b");
    EXPECT_EQ(Cursor(), 11);
    EXPECT_EQ(SelectionLength(), 0);

    // It replaces a selection, and small components get their leading zeros.
    SetScript("xSELy", 1, 3);
    system->colourAnswers = { 0xFF072AFFu };
    Toolbar(Editor::TB_COLOR);
    EXPECT_EQ(Script(), QString("x") + QChar(0xA9) + "007042255y");
    EXPECT_EQ(Cursor(), 11);

    // Cancelled: nothing changes.
    system->colourAnswers = { 0u };
    Toolbar(Editor::TB_COLOR);
    EXPECT_EQ(Script(), QString("x") + QChar(0xA9) + "007042255y");
    EXPECT_EQ(system->requests.size(), 3u);

    // Each insertion is one undo step, so later steps still find their characters.
    ASSERT_EQ(Recorded(), 2);
    Undo();
    EXPECT_EQ(Script(), "xSELy");
    EXPECT_EQ(Selected(), "SEL");
}

TEST_F(CommandsTest, ColourCodeInASavedDocumentLeavesItUnmodified)
{
    SaveFirst();
    system->colourAnswers = { 0xFF000000u };
    Toolbar(Editor::TB_COLOR);
    EXPECT_EQ(Script(), QString(QChar(0xA9)) + "000000000");
    EXPECT_EQ(App->Modified, 0);
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua");
    EXPECT_TRUE(App->mFileSave->State() & GadgetState::Disabled);
    EXPECT_TRUE(App->Toolbar->ItemState(Editor::TB_SAVE) & ItemState::Disabled);
}

TEST_F(CommandsTest, InsertColorFromTheMenuAndItsKeyWorksLikeTheToolbar)
{
    system->colourAnswers = { 0xFF010203u };
    Menu(Editor::M_COLOR);
    EXPECT_EQ(Script(), QString(QChar(0xA9)) + "001002003");

    system->colourAnswers = { 0xFF0A0B0Cu };
    Key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Script(), QString(QChar(0xA9)) + "001002003" + QChar(0xA9) + "010011012");
    EXPECT_EQ(system->requests.size(), 2u);
}

TEST_F(CommandsTest, CreateImageDoesNothing)
{
    SetScript("x", 1);
    Menu(Editor::M_IMG);
    Toolbar(Editor::TB_IMAGE);
    Key(Qt::Key_5, Qt::ControlModifier);
    EXPECT_EQ(Script(), "x");
    EXPECT_TRUE(system->requests.empty());
    EXPECT_TRUE(system->launches.empty());
    EXPECT_TRUE(IsHidden(App->wSettings->Window, false));
}

TEST_F(CommandsTest, BlockIndentTakesTheLinesOfTheSelection)
{
    // No selection, caret inside a line: that line.
    SetScript("abc\ndef\nghi", 5);
    Menu(Editor::M_BIN);
    EXPECT_EQ(Script(), "abc\n\tdef\nghi");
    EXPECT_EQ(Cursor(), 4);
    EXPECT_EQ(SelectionLength(), 5);

    // From the middle of the first line to the middle of the last: all three, selected whole.
    SetScript("abc\ndef\nghi", 1, 8);
    Menu(Editor::M_BIN);
    EXPECT_EQ(Script(), "\tabc\n\tdef\n\tghi");
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(SelectionLength(), 14);

    // A selection that ends at the start of a line leaves that line alone.
    SetScript("abc\ndef\nghi", 0, 8);
    Menu(Editor::M_BIN);
    EXPECT_EQ(Script(), "\tabc\n\tdef\nghi");

    // The caret at the very start of the text still counts as one line.
    SetScript("abc\ndef", 0);
    Menu(Editor::M_BIN);
    EXPECT_EQ(Script(), "\tabc\ndef");

    // One undo step per indented line.
    EXPECT_EQ(Recorded(), 7);
    Undo();
    EXPECT_EQ(Script(), "abc\ndef");
}

TEST_F(CommandsTest, BlockIndentAtTheStartOfALaterLineChangesNothingButMarksModified)
{
    SetScript("abc\ndef\nghi");
    SaveFirst();
    Select(8);
    Menu(Editor::M_BIN);
    EXPECT_EQ(Script(), "abc\ndef\nghi");
    EXPECT_EQ(Cursor(), 8);

    Select(4);
    Menu(Editor::M_BIN);
    EXPECT_EQ(Script(), "abc\ndef\nghi");
    EXPECT_EQ(Cursor(), 4);
    EXPECT_EQ(SelectionLength(), 0);
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua*");
}

TEST_F(CommandsTest, BlockOutdentRemovesOneLeadingTabPerLine)
{
    SetScript("\tone\ntwo\n\t\tthree\n \tfour", 0, -1);
    Menu(Editor::M_BOUT);
    EXPECT_EQ(Script(), "one\ntwo\n\tthree\n \tfour");
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(SelectionLength(), Text()->AreaLen(TextUnit::Chars));
    EXPECT_EQ(App->Modified, 1);
    // One undo step per changed line, the last line first.
    ASSERT_EQ(Recorded(), 2);
    Undo();
    EXPECT_EQ(Script(), "one\ntwo\n\t\tthree\n \tfour");
    Undo();
    EXPECT_EQ(Script(), "\tone\ntwo\n\t\tthree\n \tfour");

    // Outdent recolours the lines it changed.
    SetScript("\tlocal x\nlocal y", 0, 9);
    Menu(Editor::M_BOUT);
    EXPECT_EQ(Script(), "local x\nlocal y");
    EXPECT_TRUE(KeywordColoured(0));
    EXPECT_TRUE(Uncoloured(8)); // outside the selection
}

TEST_F(CommandsTest, SelectLineAndSelectAllChangeNoLabels)
{
    SetScript("ab\ncdef\ng", 5);
    Menu(Editor::M_LINE);
    EXPECT_EQ(Cursor(), 3);
    EXPECT_EQ(SelectionLength(), 5);
    EXPECT_EQ(Selected(), "cdef\n");

    Select(8);
    Menu(Editor::M_LINE);
    EXPECT_EQ(Selected(), "g");

    Menu(Editor::M_ALL);
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(SelectionLength(), 9);

    // Selections made by commands raise no selection event: the labels keep their values.
    EXPECT_EQ(App->lLines->GetText(), "Line: 1 / 1");
    EXPECT_EQ(App->lChar->GetText(), "Char: 0");
    EXPECT_EQ(App->TextLast, 0);
}

TEST_F(CommandsTest, StatusLabelsFollowTheTextAreasSelectionEvents)
{
    SetScript("ab\ncdef\ng", 6);
    EXPECT_EQ(App->lLines->GetText(), "Line: 1 / 1");
    Send(Event::GadgetSelect, Text());
    EXPECT_EQ(App->lLines->GetText(), "Line: 2 / 3");
    EXPECT_EQ(App->lChar->GetText(), "Char: 3");
    EXPECT_EQ(App->TextLast, 1);

    // The user moving the caret raises the event.
    Key(Qt::Key_Down);
    EXPECT_EQ(App->lLines->GetText(), "Line: 3 / 3");
    EXPECT_EQ(App->lChar->GetText(), "Char: 1");
    EXPECT_EQ(App->TextLast, 2);

    Key(Qt::Key_Up);
    EXPECT_EQ(App->lLines->GetText(), "Line: 2 / 3");
    EXPECT_EQ(App->lChar->GetText(), "Char: 3");

    // A selection made downwards counts from its start, not from the caret's line.
    Key(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(SelectionLength(), 3);
    EXPECT_EQ(App->lLines->GetText(), "Line: 2 / 3");
    EXPECT_EQ(App->lChar->GetText(), "Char: 3");
    EXPECT_EQ(App->TextLast, 1);

    // Selection events of other gadgets are not the text area's.
    Select(0);
    Send(Event::GadgetSelect, App->wSettings->Textarea);
    EXPECT_EQ(App->lLines->GetText(), "Line: 2 / 3");
}

TEST_F(CommandsTest, CutRecordsTheSelectionAndUndoPutsItBackSelected)
{
    SetScript("hello world");
    SaveFirst();
    Select(0, 6);
    Menu(Editor::M_CUT);
    EXPECT_EQ(Script(), "world");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "hello ");
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua*");
    ASSERT_EQ(Recorded(), 1);
    EXPECT_EQ(LastAction().Pos, 0);
    EXPECT_EQ(LastAction().Sel, 0);
    EXPECT_EQ(LastAction().Text, "hello ");

    Undo();
    EXPECT_EQ(Script(), "hello world");
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(SelectionLength(), 6);
    EXPECT_EQ(Recorded(), 0);
}

TEST_F(CommandsTest, PasteRecordsWhatItInsertedWhateverTheLineEnds)
{
    for (const QString& clip : { QString("a\r\nb\r\nc"), QString("a\nb\nc") }) {
        SCOPED_TRACE(clip.toStdString());
        SetClipboard(clip);
        SetScript("XQY", 1, 1);
        Menu(Editor::M_PASTE);
        EXPECT_EQ(Script(), "Xa\nb\ncY");
        EXPECT_EQ(Cursor(), 6);
        ASSERT_EQ(Recorded(), 1);
        EXPECT_EQ(LastAction().Sel, 5);
        EXPECT_EQ(LastAction().Text, "Q");

        Undo();
        EXPECT_EQ(Script(), "XQY");
        EXPECT_EQ(Cursor(), 1);
        EXPECT_EQ(Selected(), "Q");
    }
}

TEST_F(CommandsTest, PasteRecoloursFromTheLastSelectedLineThroughTheCaretsLine)
{
    SetScript("local a\nx\n", 10);
    Send(Event::GadgetSelect, Text()); // TextLast = 2
    SetClipboard("local b\r\nlocal c");
    SaveFirst();
    Menu(Editor::M_PASTE);
    ASSERT_EQ(Script(), "local a\nx\nlocal b\nlocal c");
    EXPECT_TRUE(KeywordColoured(10));
    EXPECT_TRUE(KeywordColoured(18));
    EXPECT_TRUE(Uncoloured(0)); // above TextLast
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua*");
}

TEST_F(CommandsTest, APasteTheTextAreaRefusesRecordsNothing)
{
    // A text at the text area's capacity takes no more characters.
    const QString line = QString(1023, QLatin1Char('x')) + QLatin1Char('\n');
    SetScript(line.repeated(TextAreaCapacity / line.size()));
    ASSERT_EQ(Text()->AreaLen(TextUnit::Chars), TextAreaCapacity);
    SaveFirst();
    SetClipboard("abc");
    Menu(Editor::M_PASTE);
    EXPECT_EQ(Text()->AreaLen(TextUnit::Chars), TextAreaCapacity);
    EXPECT_EQ(Recorded(), 0);
    EXPECT_EQ(App->Modified, 0);
}

TEST_F(CommandsTest, UndoWithAnEmptyHistoryChangesNothing)
{
    SetScript("abc", 1, 2);
    Undo();
    EXPECT_EQ(Script(), "abc");
    EXPECT_EQ(Cursor(), 1);
    EXPECT_EQ(SelectionLength(), 2);
}

TEST_F(CommandsTest, UndoAfterASaveMarksTheDocumentModified)
{
    SetScript("abc", 3);
    Type("d");
    SaveFirst();
    Undo();
    EXPECT_EQ(Script(), "abc");
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua*");
    EXPECT_FALSE(App->mFileSave->State() & GadgetState::Disabled);

    // An undo step that only puts the caret back leaves a saved document unmarked.
    App->History->Clear();
    Select(0);
    Key(Qt::Key_Backspace); // at the very start: recorded, changes nothing
    Menu(Editor::M_SAVE);
    ASSERT_EQ(App->Modified, 0);
    Undo();
    EXPECT_EQ(Script(), "abc");
    EXPECT_EQ(App->Modified, 0);
}

TEST_F(CommandsTest, RunGameNeedsAPathOfTwoCharactersOrMore)
{
    TWSettings& settings = *App->wSettings;
    settings.pathGame->SetText("");
    Toolbar(Editor::TB_RUN_GAME);
    settings.pathGame->SetText("T");
    Toolbar(Editor::TB_RUN_GAME);
    EXPECT_TRUE(system->launches.empty());
    EXPECT_TRUE(system->requests.empty());

    settings.pathGame->SetText("/opt/my games/Tarvane.exe");
    settings.pathDedi->SetText("/opt/server/tarvane_dedicated.exe");
    Toolbar(Editor::TB_RUN_GAME);
    Toolbar(Editor::TB_RUN_DEDICATED);
    ASSERT_EQ(system->launches.size(), 2u);
    EXPECT_EQ(system->launches[0].program, "/opt/my games/Tarvane.exe");
    EXPECT_EQ(system->launches[0].workingDirectory, QDir::currentPath());
    EXPECT_EQ(system->launches[1].program, "/opt/server/tarvane_dedicated.exe");
    EXPECT_TRUE(system->launches[1].arguments.isEmpty());
}

TEST_F(CommandsTest, LaunchSplitsTheArgumentsAsTheGamesPlatformWould)
{
    ASSERT_TRUE(RunExecutable("/opt/my games/Tarvane.exe", "-port 36963  \"My Server\" -name \"a \"\"b\"\"\""));
    ASSERT_EQ(system->launches.size(), 1u);
    EXPECT_EQ(system->launches[0].program, "/opt/my games/Tarvane.exe");
    EXPECT_EQ(system->launches[0].arguments, QStringList({ "-port", "36963", "My Server", "-name", "a \"b\"" }));
    EXPECT_EQ(system->launches[0].workingDirectory, folder.path());

    EXPECT_EQ(LaunchCommandLine("C:\\Games\\Tarvane.exe", ""), "\"C:\\Games\\Tarvane.exe\" ");
    EXPECT_EQ(SplitCommandLine("\"C:\\Games\\Tarvane.exe\" "), QStringList({ "C:\\Games\\Tarvane.exe" }));
    // Backslashes are literal unless a quote follows them.
    EXPECT_EQ(SplitCommandLine("p a\\b \\\"q\\\" \"c:\\dir\\\\\""), QStringList({ "p", "a\\b", "\"q\"", "c:\\dir\\" }));
}

TEST_F(CommandsTest, AboutShowsTheVersionUnderTheEditorsName)
{
    Menu(Editor::M_ABOUT);
    ASSERT_EQ(system->requests.size(), 1u);
    const TRecordedRequest& about = system->requests[0];
    EXPECT_EQ(about.kind, "Notify");
    EXPECT_EQ(about.caption, "Tarvane Lua Editor");
    EXPECT_TRUE(about.text.startsWith("Tarvane Lua Editor\nVersion: 1.1")) << about.text.toStdString();
    EXPECT_FALSE(about.serious);
    EXPECT_EQ(ApplicationTitle, "Tarvane:LE - New Script.lua*");
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - New Script.lua*");
}

TEST_F(CommandsTest, AChangeByTheUserRecoloursTheCaretsLineAndMarksTheDocument)
{
    SetScript("local a\nlocal b");
    SaveFirst();
    Select(10);
    Send(Event::GadgetAction, Text());
    EXPECT_TRUE(KeywordColoured(8));
    EXPECT_TRUE(Uncoloured(0));
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua*");
    EXPECT_FALSE(App->mFileSave->State() & GadgetState::Disabled);
}

TEST_F(CommandsTest, ClosingSettingsRecoloursEverythingOnlyAfterAChange)
{
    TWSettings& settings = *App->wSettings;
    SetScript("local a\nlocal b");
    Menu(Editor::M_SETTINGS);
    EXPECT_FALSE(IsHidden(settings.Window, false));
    EXPECT_EQ(settings.Changed, 0);
    Send(Event::WindowClose, settings.Window);
    EXPECT_TRUE(IsHidden(settings.Window, false));
    EXPECT_EQ(ActiveGadget(), Text());
    EXPECT_TRUE(Uncoloured(0));
    EXPECT_TRUE(Uncoloured(8));

    // A new keyword colour chosen on its swatch reaches the whole text when the dialog closes.
    Menu(Editor::M_SETTINGS);
    system->colourAnswers = { 0xFFC80000u };
    Send(Event::MouseDown, settings.colkeyword, 1);
    EXPECT_EQ(settings.Changed, 1);
    // Choosing Settings again while it is open keeps the change.
    Menu(Editor::M_SETTINGS);
    EXPECT_EQ(settings.Changed, 1);
    EXPECT_TRUE(Uncoloured(0));
    Send(Event::WindowClose, settings.Window);
    EXPECT_TRUE(IsHidden(settings.Window, false));
    EXPECT_EQ(StyleAt(0).r, 200);
    EXPECT_TRUE(KeywordColoured(0));
    EXPECT_TRUE(KeywordColoured(8));
}
} // namespace
