// The menu and toolbar commands, driven through the main loop with scripted requesters: colour codes,
// block indent and outdent, selections and the status labels, cut and paste with their undo records,
// launching the game, the About box, and the text area's change events.
#include "AppFixture.h"

#include "app/CodeAssist.h"
#include "app/ColourSwatches.h"
#include "app/RunExecutable.h"
#include "gui/ScriptArea.h"
#include "gui/TextArea.h"
#include "gui/WidgetGadget.h"
#include "settings/WSettings.h"
#include "tools/WCommand.h"
#include "tools/WOutline.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <random>

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
        const TPartColour keyword = App->wSettings->Values().Scheme()[TTokenClass::Keyword];
        const TTextStyle& style = StyleAt(pos);
        return style.r == keyword.R && style.g == keyword.G && style.b == keyword.B && style.flags == keyword.Style;
    }
    bool Uncoloured(int pos) const { return StyleAt(pos) == Area()->Buffer().DefaultStyle(); }

    static void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
};

TEST_F(CommandsTest, EveryEditingCommandLeavesUndoStepsThatTakeItBack)
{
    const auto choosing = [this](unsigned colour, std::function<void()> command) {
        return [=, this] {
            system->colourAnswers = { colour };
            command();
        };
    };
    const auto menu = [this](int tag) { return [=, this] { Menu(tag); }; };
    const auto toolbar = [this](int index) { return [=, this] { Toolbar(index); }; };
    const QString code = QChar(0xA9);
    const TEditCase edits[] = {
        // name, text, selection, action, edited text and selection, the last undo step, the text after one Undo
        { "a colour code in nine digits at the caret", "ab", { 1, 0 }, choosing(0xFFFF0000u, toolbar(Editor::TB_COLOR)),
            "a" + code + "255000000b", { 11, 0 }, { 1, 10, "", 1, 0 }, "ab" },
        { "a colour code with leading zeros over a selection", "xSELy", { 1, 3 },
            choosing(0xFF072AFFu, toolbar(Editor::TB_COLOR)), "x" + code + "007042255y", { 11, 0 },
            { 1, 10, "SEL", 1, 3 }, "xSELy" },
        { "Insert Color from the menu", "", { 0, 0 }, choosing(0xFF010203u, menu(Editor::M_COLOR)), code + "001002003",
            { 10, 0 }, { 0, 10, "", 0, 0 }, "" },
        { "Insert Color from its key", "", { 0, 0 }, choosing(0xFF0A0B0Cu, Press(Qt::Key_3, Qt::ControlModifier)),
            code + "010011012", { 10, 0 }, { 0, 10, "", 0, 0 }, "" },
        // Block indent takes every line the selection touches and selects them whole.
        { "indent with the caret inside a line", "abc\ndef\nghi", { 5, 0 }, menu(Editor::M_BIN), "abc\n\tdef\nghi",
            { 4, 5 }, { 4, 1, "", 4, 0 }, "abc\ndef\nghi" },
        { "indent from the middle of the first line to the middle of the last", "abc\ndef\nghi", { 1, 8 },
            menu(Editor::M_BIN), "\tabc\n\tdef\n\tghi", { 0, 14 }, { 10, 1, "", 10, 0 }, "\tabc\n\tdef\nghi", 3 },
        { "indent of a selection ending at the start of a line", "abc\ndef\nghi", { 0, 8 }, menu(Editor::M_BIN),
            "\tabc\n\tdef\nghi", { 0, 10 }, { 5, 1, "", 5, 0 }, "\tabc\ndef\nghi", 2 },
        { "indent with the caret at the very start", "abc\ndef", { 0, 0 }, menu(Editor::M_BIN), "\tabc\ndef", { 0, 5 },
            { 0, 1, "", 0, 0 }, "abc\ndef" },
        { "outdent removes one leading tab a line", "\tone\ntwo\n\t\tthree\n \tfour", { 0, -1 }, menu(Editor::M_BOUT),
            "one\ntwo\n\tthree\n \tfour", { 0, 21 }, { 8, 0, "\t", 8, 0 }, "one\ntwo\n\t\tthree\n \tfour", 2 },
        { "cut", "hello world", { 0, 6 }, menu(Editor::M_CUT), "world", { 0, 0 }, { 0, 0, "hello ", 0, 6 },
            "hello world" },
        // The undo step counts what the paste put in, whatever the clipboard's line ends.
        { "paste of CR LF lines", "XQY", { 1, 1 }, Pasting("a\r\nb\r\nc", menu(Editor::M_PASTE)), "Xa\nb\ncY", { 6, 0 },
            { 1, 5, "Q", 1, 1 }, "XQY" },
        { "paste of LF lines", "XQY", { 1, 1 }, Pasting("a\nb\nc", menu(Editor::M_PASTE)), "Xa\nb\ncY", { 6, 0 },
            { 1, 5, "Q", 1, 1 }, "XQY" },
    };
    for (const TEditCase& edit : edits)
        CheckEdit(edit);
}

TEST_F(CommandsTest, TheColourRequesterStartsAtWhiteAndCancellingInsertsNothing)
{
    SetScript("ab", 1);
    system->colourAnswers = { 0u };
    Toolbar(Editor::TB_COLOR);
    ASSERT_EQ(system->requests.size(), 1u);
    EXPECT_EQ(system->requests[0].kind, "RequestColor");
    EXPECT_EQ(system->requests[0].red, 255);
    EXPECT_EQ(system->requests[0].green, 255);
    EXPECT_EQ(system->requests[0].blue, 255);
    EXPECT_EQ(Script(), "ab");
    EXPECT_EQ(Cursor(), 1);
    EXPECT_EQ(Recorded(), 0);
}

// Valid codes of both forms get a swatch a moment after the text rests; a Ctrl+click on one asks for a
// colour starting at its own and rewrites its digits as one undo step. Insert Color writes the escape
// when asked to, and that choice is kept.
TEST_F(CommandsTest, SwatchesStandBeforeBothFormsOfCodeAndACtrlClickRewritesTheDigits)
{
    const QString script = QString::fromUtf16(u"msg(\"\\169255000000red\") -- \u00A9000000255\n"
                                              u"x = \"\u00A9300000000\" .. '\\1690001' .. [[\\169000255000]]");
    SetScript(script);
    EXPECT_TRUE(App->Swatches->Pending());
    App->Swatches->Refresh();
    const std::vector<TIndicator>& swatches = Area()->Indicators(DecorationLayer::Swatches);
    ASSERT_EQ(swatches.size(), 2u) << "no swatch for a component above 255, too few digits, or a long string";
    EXPECT_EQ(swatches[0].start, 5);
    EXPECT_EQ(swatches[0].end, 5 + 13);
    EXPECT_EQ(swatches[0].colour, 0xFFFF0000u);
    EXPECT_EQ(swatches[1].colour, 0xFF0000FFu);
    EXPECT_TRUE(swatches[0].tooltip.contains("#ff0000") && swatches[0].tooltip.contains("255, 0, 0"));

    system->colourAnswers = { 0xFF0A141Eu };
    QTest::mouseClick(Area()->View()->viewport(), Qt::LeftButton, Qt::ControlModifier,
        Area()->View()->PointOfPosition(8) + QPoint(2, Area()->View()->LineHeight() / 2));
    Settle();
    ASSERT_EQ(system->requests.size(), 1u);
    EXPECT_EQ(system->requests[0].red, 255);
    EXPECT_EQ(system->requests[0].blue, 0);
    EXPECT_EQ(Script().mid(5, 13), "\\169010020030");
    EXPECT_EQ(Area()->Indicators(DecorationLayer::Swatches)[0].colour, 0xFF0A141Eu);
    EXPECT_EQ(App->Modified, 1);
    Undo();
    EXPECT_EQ(Script(), script);

    SetScript("");
    Menu(Editor::M_COLOR_ESCAPE);
    system->colourAnswers = { 0xFF010203u };
    Menu(Editor::M_COLOR);
    EXPECT_EQ(Script(), "\\169001002003");
    Restart();
    EXPECT_TRUE(App->ColourEscapes) << "the choice is kept";
}

// Completion on request and on its own, the handler's parameters after its head, the calltip and the
// hover text of a hook name, driven as the user drives them.
TEST_F(CommandsTest, CompletionCalltipsAndHoverKnowTheGameAndTheScript)
{
    SetScript("addhook(\"jo", 11);
    Menu(Editor::M_COMPLETE);
    ASSERT_FALSE(App->Assist->Offered().empty());
    EXPECT_EQ(App->Assist->Offered()[0].text, "join");
    Key(Qt::Key_Return); // a list asked for takes Enter
    EXPECT_EQ(Script(), "addhook(\"join");
    EXPECT_EQ(Cursor(), 13);
    Undo();
    EXPECT_EQ(Script(), "addhook(\"jo") << "one undo step";

    // Two letters of a member open the list by themselves; Enter then stays a line break.
    SetScript("function zm.onhit(id)\nend\nzm.o", 30);
    Type("n");
    ASSERT_FALSE(App->Assist->Offered().empty());
    EXPECT_EQ(App->Assist->Offered()[0].text, "onhit");
    EXPECT_TRUE(Area()->CompletionsShown());
    Key(Qt::Key_Return);
    EXPECT_EQ(Script(), "function zm.onhit(id)\nend\nzm.on\n");
    EXPECT_FALSE(Area()->CompletionsShown());

    SetScript("addhook(\"kill\", \"zm.onkill\")\nfunction zm.onkill", 47);
    Type("(");
    ASSERT_EQ(App->Assist->Offered().size(), 1u);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Script(), "addhook(\"kill\", \"zm.onkill\")\nfunction zm.onkill(killer, victim, wpn, x, y)");
    EXPECT_TRUE(App->Assist->HoverAt(10).contains("killer, victim, wpn, x, y")) << "the hook name in addhook";
    EXPECT_TRUE(App->Assist->HoverAt(20).isEmpty()) << "the handler's name";

    SetScript("x = string.find(s, ", 19);
    EXPECT_TRUE(Area()->CalltipShown());
    EXPECT_EQ(App->Assist->CalltipAtCaret(), "string.find(s, <b>pattern</b>, [init], [plain])");
    SetScript("addhook(\"die\", ", 15);
    EXPECT_TRUE(App->Assist->CalltipAtCaret().endsWith("handler: die(victim, killer, wpn, x, y)"));
    SetScript("x = string.find(s, p)", 21);
    EXPECT_FALSE(Area()->CalltipShown()) << "gone once the call is closed";

    SetScript("-- pri", 6);
    Menu(Editor::M_COMPLETE);
    EXPECT_TRUE(App->Assist->Offered().empty()) << "nothing in a comment";

    // The outline lists functions, registrations and timers; typing narrows it, Enter goes there.
    SetScript("function zm.onhit(id)\nend\naddhook(\"hit\", \"zm.onhit\")\ntimer(delay * 2, \"tick\")\n", 0);
    Menu(Editor::M_OUTLINE);
    std::vector<QString> rows;
    for (const TOutlineEntry& entry : App->wOutline->Shown())
        rows.push_back(QString::number(entry.line) + " " + entry.text);
    EXPECT_EQ(rows,
        (std::vector<QString> {
            "0 function zm.onhit(id)", "2 hook \"hit\" \u2192 zm.onhit", "3 timer \u2192 tick every delay * 2 ms" }));
    QWidget* filter = TWidgetGadget::From(App->wOutline->tfFilter)->Widget();
    QTest::keyClicks(filter, "tk");
    Settle();
    ASSERT_EQ(App->wOutline->Shown().size(), 1u);
    QTest::keyClick(filter, Qt::Key_Return);
    Settle();
    EXPECT_EQ(Text()->GetCursorPos(TextUnit::Lines), 3);
}

// The names completion keeps line by line stay those of the whole text, whatever edits come: random
// replacements with and without line breaks, compared with a reading of the whole script.
TEST_F(CommandsTest, TheNamesKeptLineByLineStayThoseOfTheWholeScript)
{
    const QStringList pieces { "function f%1(a)\n", "local v%1 = 1\n", "t.k%1 = 2\n", "g%1 = function(p) end\n",
        "addhook(\"hit\", \"h%1\")\n", "\n", "x", " = ", "end\n" };
    std::mt19937 random(7);
    SetScript("");
    // As text, so that a difference reads plainly. A name defined twice says what one of its definitions
    // says: its detail depends on which was read last.
    const auto sorted = [](const std::vector<TCompletionItem>& items) {
        QStringList out;
        for (const TCompletionItem& item : items)
            out << item.text + QLatin1Char(' ') + CompletionKindName(item.kind);
        out.sort();
        return out.join(QLatin1Char('\n')).toStdString();
    };
    for (int step = 0; step < 300; ++step) {
        const int length = static_cast<int>(Script().size());
        const int pos = static_cast<int>(random() % static_cast<unsigned>(length + 1));
        const int removed = std::min(length - pos, static_cast<int>(random() % 12));
        QString piece = pieces[static_cast<int>(random() % pieces.size())];
        if (piece.contains("%1"))
            piece = piece.arg(step % 5);
        Text()->ReplaceText(pos, removed, piece, TextUnit::Chars);
        TScriptNames whole;
        whole.Reset(Script());
        ASSERT_EQ(App->Assist->Names().Lines(), whole.Lines()) << "step " << step;
        ASSERT_EQ(sorted(App->Assist->Names().Names({})), sorted(whole.Names({}))) << "step " << step;
        const auto outline = [](const std::vector<TOutlineEntry>& entries) {
            QStringList out;
            for (const TOutlineEntry& entry : entries)
                out << QString::number(entry.line) + QLatin1Char(' ') + entry.text;
            return out.join(QLatin1Char('\n')).toStdString();
        };
        ASSERT_EQ(outline(App->Assist->Names().Outline()), outline(whole.Outline()))
            << "step " << step << " at " << pos << " -" << removed << " +" << piece.toStdString() << "\n"
            << Script().toStdString();
    }
}

// An inserted code is the user's work: a saved script shows it changed, so Save and the exit question
// know of it.
TEST_F(CommandsTest, ColourCodeInASavedDocumentMarksItModified)
{
    SaveFirst();
    system->colourAnswers = { 0xFF000000u };
    Toolbar(Editor::TB_COLOR);
    EXPECT_EQ(Script(), QString(QChar(0xA9)) + "000000000");
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua*");
    EXPECT_FALSE(App->mFileSave->State() & GadgetState::Disabled);
    EXPECT_FALSE(App->Toolbar->ItemState(Editor::TB_SAVE) & ItemState::Disabled);
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

TEST_F(CommandsTest, OutdentRecoloursTheLinesItChangedAndMarksTheDocument)
{
    SetScript("\tlocal x\nlocal y");
    SaveFirst();
    Select(0, 9);
    Menu(Editor::M_BOUT);
    EXPECT_EQ(Script(), "local x\nlocal y");
    EXPECT_TRUE(KeywordColoured(0));
    EXPECT_TRUE(Uncoloured(8)); // outside the selection
    EXPECT_EQ(App->Modified, 1);
}

TEST_F(CommandsTest, SelectLineAndSelectAllSelect)
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
}

// Whatever moves the caret, the user or a command, the status line shows where it is now.
TEST_F(CommandsTest, TheStatusLabelsAreRightAfterEveryCommandThatMovesTheCaret)
{
    const auto expectCaretShown = [this](const char* after) {
        const int line = Text()->GetCursorPos(TextUnit::Lines);
        EXPECT_EQ(App->lLines->GetText(),
            QStringLiteral("Line: %1 / %2").arg(line + 1).arg(Text()->AreaLen(TextUnit::Lines) + 1))
            << after;
        EXPECT_EQ(App->lChar->GetText(), QStringLiteral("Char: %1").arg(Cursor() - Text()->CharAt(line))) << after;
        EXPECT_EQ(App->TextLast, line) << after;
    };
    SetScript("ab\ncdef\ng", 6);
    expectCaretShown("a program's change");
    Type("xyz");
    Menu(Editor::M_UNDO);
    expectCaretShown("Undo");
    Menu(Editor::M_REDO);
    expectCaretShown("Redo");
    Menu(Editor::M_ALL);
    expectCaretShown("Select All");
    Select(4);
    Menu(Editor::M_LINE);
    expectCaretShown("Select Line");
    Select(9);
    Menu(Editor::M_BIN);
    expectCaretShown("Block Indent");
    SetScript("x = 1\nif then\n", 0);
    Menu(Editor::M_SYNTAX);
    ASSERT_EQ(Text()->GetCursorPos(TextUnit::Lines), 1) << "the syntax error's line is selected";
    expectCaretShown("Check Syntax");
    system->colourAnswers = { 0xFF102030u };
    Menu(Editor::M_COLOR);
    expectCaretShown("Insert Color");
}

TEST_F(CommandsTest, StatusLabelsFollowTheTextAreasSelectionEvents)
{
    SetScript("ab\ncdef\ng", 6);
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
    App->wSettings->Textarea->SetSelection(0, 0, TextUnit::Chars);
    Send(Event::GadgetSelect, App->wSettings->Textarea);
    EXPECT_EQ(App->lLines->GetText(), "Line: 2 / 3");
}

TEST_F(CommandsTest, CutFillsTheClipboardAndMarksASavedDocument)
{
    SetScript("hello world");
    SaveFirst();
    Select(0, 6);
    SetClipboard("old");
    Menu(Editor::M_CUT);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "hello ");
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua*");
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
    TConfigRecord settings = App->wSettings->Values();
    for (const char* tooShort : { "", "T" }) {
        settings.gamePath = tooShort;
        App->wSettings->SetValues(settings);
        Toolbar(Editor::TB_RUN_GAME);
    }
    EXPECT_TRUE(system->launches.empty());
    EXPECT_TRUE(system->requests.empty());

    const QString game = MakeProgram("my games/Tarvane");
    const QString server = MakeProgram("server/tarvane_dedicated");
    settings.gamePath = game;
    settings.dediPath = server;
    App->wSettings->SetValues(settings);
    Toolbar(Editor::TB_RUN_GAME);
    Toolbar(Editor::TB_RUN_DEDICATED);
    ASSERT_EQ(system->launches.size(), 2u);
    EXPECT_EQ(system->launches[0].program, game);
    EXPECT_EQ(system->launches[1].program, server);
    EXPECT_TRUE(system->launches[1].arguments.isEmpty());
    EXPECT_TRUE(system->requests.empty());
}

TEST_F(CommandsTest, LaunchSplitsTheArgumentsAsTheGamesPlatformWould)
{
    const QString game = MakeProgram("my games/Tarvane");
    ASSERT_TRUE(RunExecutable(game, "-port 36963  \"My Server\" -name \"a \"\"b\"\"\""));
    ASSERT_EQ(system->launches.size(), 1u);
    EXPECT_EQ(system->launches[0].program, game);
    EXPECT_EQ(system->launches[0].arguments, QStringList({ "-port", "36963", "My Server", "-name", "a \"b\"" }));

    EXPECT_EQ(LaunchCommandLine("C:\\Games\\Tarvane.exe", ""), "\"C:\\Games\\Tarvane.exe\" ");
    EXPECT_EQ(SplitCommandLine("\"C:\\Games\\Tarvane.exe\" "), QStringList({ "C:\\Games\\Tarvane.exe" }));
    // Backslashes are literal unless a quote follows them.
    EXPECT_EQ(SplitCommandLine("p a\\b \\\"q\\\" \"c:\\dir\\\\\""), QStringList({ "p", "a\\b", "\"q\"", "c:\\dir\\" }));
}

// The game starts in its own folder, a Windows build through Wine; a start that cannot happen says why.
TEST_F(CommandsTest, TheGameStartsInItsFolderOrTheEditorSaysWhyNot)
{
    const QString wineFolder = QFileInfo(MakeProgram("bin/wine")).path();
    const QString linuxGame = MakeProgram("games/Tarvane/tarvane");
    const QString windowsGame = MakeProgram("games/win/Tarvane.exe", QByteArray("MZ\x90\0\3\0", 6), false);
    const struct {
        QString path;
        bool wineOnPath, launchSucceeds;
        QString notice; // after "Cannot start <path>: ", "" for none
    } cases[] = {
        { linuxGame, false, true, "" },
        { windowsGame, true, true, "" },
        { folder.filePath("games/none"), false, true, "the file does not exist." },
        { folder.filePath("games"), false, true, "it is a folder, not a program." },
        { MakeProgram("games/x/tarvane", "#!/bin/sh\n", false), false, true,
            "the file may not be run (it lacks the execute permission)." },
        { windowsGame, false, true, "it is a Windows program, and there is no \"wine\" on the PATH to run it." },
        { linuxGame, false, false, "the system could not start it (it may be built for another system)." },
    };
    App->wCommand->tfGame->SetText("-name \"Big Al\"");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString() + (c.wineOnPath ? " with wine" : ""));
        TScopedEnvironment searchPath;
        searchPath.Set("PATH", QFile::encodeName(c.wineOnPath ? wineFolder : folder.filePath("nowhere")));
        system->launches.clear();
        system->requests.clear();
        system->launchSucceeds = c.launchSucceeds;
        TConfigRecord settings = App->wSettings->Values();
        settings.gamePath = c.path;
        App->wSettings->SetValues(settings);
        Toolbar(Editor::TB_RUN_GAME);
        const bool started = c.notice.isEmpty() || !c.launchSucceeds;
        ASSERT_EQ(system->launches.size(), started ? 1u : 0u);
        if (started) {
            const TRecordedLaunch& launch = system->launches[0];
            EXPECT_EQ(launch.program, c.wineOnPath ? wineFolder + "/wine" : c.path);
            const QStringList arguments { "-name", "Big Al" };
            EXPECT_EQ(launch.arguments, c.wineOnPath ? QStringList { c.path } + arguments : arguments);
            EXPECT_EQ(launch.workingDirectory, QFileInfo(c.path).path());
        }
        ASSERT_EQ(system->requests.size(), c.notice.isEmpty() ? 0u : 1u);
        if (!c.notice.isEmpty()) {
            EXPECT_EQ(system->requests[0].text, "Cannot start " + c.path + ": " + c.notice);
        }
    }
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

namespace {
// Redo puts back what Undo took; it marks a saved script, and New forgets it.
TEST_F(CommandsTest, RedoAppliesTheUndoneEditAgainUntilANewEdit)
{
    SetScript("local a", 7);
    App->History->Clear();
    Type("!");
    Select(0, 5);
    Type("g");
    Undo();
    Undo();
    EXPECT_EQ(Script(), "local a");
    SaveFirst();
    Menu(Editor::M_REDO);
    EXPECT_EQ(Script(), "local a!");
    // Each redo brings back the text and the selection as they were when it was undone: here the
    // selection made before typing "g".
    EXPECT_EQ(Selection(), (TSelection { 0, 5 }));
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua*");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Script(), "g a!");
    EXPECT_EQ(Selection(), (TSelection { 1, 0 }));
    Undo();
    Type("x");
    EXPECT_EQ(App->History->RedoCount(), 0) << "a new edit forgets what was undone";
    Undo();
    system->proceedAnswers.push_back(1);
    Menu(Editor::M_NEW);
    EXPECT_EQ(App->History->RedoCount(), 0);
    EXPECT_EQ(Recorded(), 0);
}
} // namespace

namespace {
// F7 compiles the script as it would be saved: a broken one takes the caret to the line Lua names.
TEST_F(CommandsTest, CheckSyntaxTakesTheCaretToTheBrokenLine)
{
    SetScript("function f()\n\tlocal x = = 1\nend\n", 3);
    Key(Qt::Key_F7);
    ASSERT_EQ(system->requests.size(), 1u);
    EXPECT_EQ(system->requests[0].kind, "Notify");
    EXPECT_EQ(system->requests[0].text, "Line 2: unexpected symbol near '='");
    EXPECT_TRUE(system->requests[0].serious);
    EXPECT_EQ(Selected(), "\tlocal x = = 1\n");
    EXPECT_EQ(App->lLines->GetText(), "Line: 2 / 4");

    system->requests.clear();
    SetScript("print(\"ok \u00e9\")", 0);
    Menu(Editor::M_SYNTAX);
    ASSERT_EQ(system->requests.size(), 1u);
    EXPECT_EQ(system->requests[0].text, "No syntax errors found.");
    EXPECT_EQ(Selection(), (TSelection { 0, 0 }));
}
} // namespace
