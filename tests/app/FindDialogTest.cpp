// The find and replace dialog and Go to Line inside the whole editor, driven as the user drives them.
#include "AppFixture.h"

#include "gui/WidgetGadget.h"
#include "tools/WFind.h"
#include "tools/WGoto.h"

#include <QApplication>
#include <QLineEdit>

namespace {
class FindDialogTest : public AppFixture {
protected:
    TWFind& Find() const { return *App->wFind; }
    TWGoto& Goto() const { return *App->wGoto; }
    static bool Shown(const TToolDialog& tool) { return !IsHidden(tool.Window, false); }
    static QWidget* Widget(TGadget* gadget) { return TWidgetGadget::From(gadget)->Widget(); }
    void Click(TGadget* button) { Send(Event::GadgetAction, button); }
    void Search(const QString& needle, bool matchCase = true, bool wholeWord = false)
    {
        Find().tfFind->SetText(needle);
        Find().cbMatchCase->SetSelected(matchCase ? 1 : 0);
        Find().cbWholeWord->SetSelected(wholeWord ? 1 : 0);
    }
};

TEST_F(FindDialogTest, FindWrapsRoundBothWaysSayingSoAndMovesNothingWhenThereIsNoMatch)
{
    SetScript("one two\none two", 0);
    Search("two");
    struct TStep {
        TGadget* button;
        TSelection selection;
        const char* status;
    };
    const TStep steps[] = {
        { Find().bFindNext, { 4, 3 }, "" },
        { Find().bFindNext, { 12, 3 }, "" },
        { Find().bFindNext, { 4, 3 }, "Passed the end of the script" },
        { Find().bFindPrevious, { 12, 3 }, "Passed the start of the script" },
        { Find().bFindPrevious, { 4, 3 }, "" },
    };
    for (const TStep& step : steps) {
        Click(step.button);
        EXPECT_EQ(Selection(), step.selection);
        EXPECT_EQ(Find().Status(), step.status);
    }
    EXPECT_EQ(App->lLines->GetText(), "Line: 1 / 2") << "the status line follows the match";

    Search("TWO");
    Click(Find().bFindNext);
    EXPECT_EQ(Find().Status(), "Cannot find \"TWO\"");
    EXPECT_EQ(Selection(), (TSelection { 4, 3 }));
}

TEST_F(FindDialogTest, HotKeysOpenTheDialogFromTheTextAreaAndEnterFindsTheNext)
{
    SetScript("local x = 1\nx = x + 1", 0, 5);
    Area()->Activate(ActivateCommand::Focus);
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Shown(Find()));
    EXPECT_EQ(Find().tfFind->GetText(), "local") << "a selection on one line is what to find";
    EXPECT_EQ(QApplication::focusWidget(), Widget(Find().tfFind));

    Find().tfFind->SetText("x");
    Find().cbWholeWord->SetSelected(1);
    QTest::keyClick(Widget(Find().tfFind), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Selection(), (TSelection { 6, 1 }));

    // Ctrl+H in the text area opens the same dialog and never reaches the text as a Backspace.
    Select(4, 9);
    Area()->Activate(ActivateCommand::Focus);
    Key(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(Script(), "local x = 1\nx = x + 1");
    EXPECT_EQ(Find().tfFind->GetText(), "x") << "a selection over a line break is not taken";
    EXPECT_EQ(QApplication::focusWidget(), Widget(Find().tfReplace));

    // F3 searches with the dialog's settings while it is hidden.
    Click(Find().bClose);
    ASSERT_FALSE(Shown(Find()));
    Select(0);
    Key(Qt::Key_F3);
    EXPECT_EQ(Selection(), (TSelection { 6, 1 }));
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Selection(), (TSelection { 16, 1 }));
    EXPECT_FALSE(Shown(Find()));
}

TEST_F(FindDialogTest, ReplaceReplacesOnlyAMatchingSelectionThenFindsTheNext)
{
    SetScript("a = b + a", 0, 1);
    App->Modified = 0;
    Search("b");
    Find().tfReplace->SetText("c");
    Click(Find().bReplace);
    EXPECT_EQ(Script(), "a = b + a") << "the selection was no match";
    EXPECT_EQ(Selection(), (TSelection { 4, 1 }));
    EXPECT_EQ(Recorded(), 0);
    EXPECT_EQ(App->Modified, 0);

    Click(Find().bReplace);
    EXPECT_EQ(Script(), "a = c + a");
    EXPECT_EQ(Find().Status(), "Cannot find \"b\"");
    EXPECT_EQ(Selection(), (TSelection { 5, 0 }));
    EXPECT_EQ(App->Modified, 1);
    Undo();
    EXPECT_EQ(Script(), "a = b + a");
}

TEST_F(FindDialogTest, ReplaceAllIsOneUndoStepAndRefusesWholeWhatWouldPassTheCapacity)
{
    SetScript("if hp < 0 then\n\thp = 0 -- hp_max\nend\nprint(hp)", 3);
    App->Modified = 0;
    Search("hp", true, true);
    Find().tfReplace->SetText("health");
    Click(Find().bReplaceAll);
    EXPECT_EQ(Script(), "if health < 0 then\n\thealth = 0 -- hp_max\nend\nprint(health)");
    EXPECT_EQ(Find().Status(), "Replaced 3");
    EXPECT_EQ(Recorded(), 1);
    EXPECT_EQ(App->Modified, 1);
    Undo();
    EXPECT_EQ(Script(), "if hp < 0 then\n\thp = 0 -- hp_max\nend\nprint(hp)");
    EXPECT_EQ(Recorded(), 0);

    // Twenty letters that would each grow by one, in a script ten short of the capacity.
    QString big(TextAreaCapacity - 10, QLatin1Char('-'));
    for (int i = 0; i < 20; ++i)
        big[i * 1000] = QLatin1Char('q');
    SetScript(big);
    Search("q");
    Find().tfReplace->SetText("qq");
    Click(Find().bReplaceAll);
    EXPECT_EQ(Script(), big);
    EXPECT_EQ(Recorded(), 0);
    EXPECT_TRUE(Find().Status().startsWith("Nothing replaced")) << Find().Status().toStdString();
}

TEST_F(FindDialogTest, GoToLineClampsToTheScriptsLines)
{
    SetScript("one\ntwo\nthree\nfour", 6);
    struct TCase {
        const char* typed;
        int caret;
    };
    const TCase cases[] = { { "0", 0 }, { "1", 0 }, { "3", 8 }, { "4", 14 }, { "99", 14 },
        { "99999999999999999999999", 14 }, { "", 0 } };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.typed);
        Select(6);
        Menu(TApplication::M_GOTO);
        ASSERT_TRUE(Shown(Goto()));
        EXPECT_EQ(Goto().lRange->GetText(), "Line number (1 - 4):");
        EXPECT_EQ(Goto().tfLine->GetText(), "2");
        Goto().tfLine->SetText(c.typed);
        Click(Goto().bOk);
        EXPECT_EQ(Selection(), (TSelection { c.caret, 0 }));
        EXPECT_FALSE(Shown(Goto()));
        EXPECT_EQ(QApplication::focusWidget(), View());
    }
    // Letters never reach the field; Enter goes.
    Menu(TApplication::M_GOTO);
    QTest::keyClicks(Widget(Goto().tfLine), "x3");
    QTest::keyClick(Widget(Goto().tfLine), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Selection(), (TSelection { 8, 0 }));
}
} // namespace
