// Edit in Wizard inside the whole editor: a call of the script goes back into its wizard, and the
// wizard's button replaces it.
#include "AppFixture.h"

#include "gui/WidgetGadget.h"
#include "support/WholeText.h"
#include "tools/WHook.h"
#include "tools/WHudtxt.h"
#include "tools/WTimer.h"

#include <QLineEdit>

namespace {
class WizardEditTest : public AppFixture {
protected:
    TWTimer& Timer() const { return *App->wTimer; }
    static bool Shown(const TToolDialog& tool) { return !IsHidden(tool.Window, false); }
    void EditInWizard() { Menu(TApplication::M_EDIT_IN_WIZARD); }
    void TypeInto(TGadget* field, const QString& text)
    {
        auto* edit = static_cast<QLineEdit*>(TWidgetGadget::From(field)->Widget());
        edit->selectAll();
        QTest::keyClicks(edit, text);
        Settle();
    }
};

TEST_F(WizardEditTest, ATimerCallEditedInItsWizardIsReplacedAsOneUndoStep)
{
    const QString script = "if a then\n\ttimer(2000, \"tick\", id, 3)\nend";
    SetScript(script, int(script.indexOf("tick")));
    App->History->Clear();
    Key(Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(Shown(Timer()));
    EXPECT_EQ((QStringList { Timer().tfMs->GetText(), Timer().tfS->GetText(), Timer().tfFunc->GetText(),
                  Timer().tfParam->GetText(), Timer().tfTimes->GetText() }),
        (QStringList { "2000", "2.00000000", "tick", "id", "3" }));
    EXPECT_EQ(Timer().bCreate->GetText(), "Replace timer");
    EXPECT_EQ(WholeTextProblem(Timer().bCreate), "");

    TypeInto(Timer().tfS, "5");
    Send(Event::GadgetAction, Timer().bCreate);
    const QString replaced = "if a then\n\ttimer(5000, \"tick\", id, 3)\nend";
    EXPECT_EQ(Script(), replaced);
    EXPECT_EQ(Selection(), (TSelection { int(replaced.indexOf(")")) + 1, 0 }));
    EXPECT_FALSE(Shown(Timer()));
    EXPECT_EQ(Recorded(), 1);
    Undo();
    EXPECT_EQ(Script(), script);

    // Opened plainly, even while it replaces, the wizard inserts again.
    EditInWizard();
    Menu(TApplication::M_TIME);
    EXPECT_EQ(Timer().bCreate->GetText(), "Create timer");
    Select(0);
    Send(Event::GadgetAction, Timer().bCreate);
    EXPECT_EQ(Script(), "timer(2000, \"tick\", id, 3)" + script);
}

TEST_F(WizardEditTest, EachWizardWritesBackTheCallItWasOpenedOn)
{
    const std::pair<QString, QString> cases[] = {
        { "addhook(\"die\", \"onDie\")", "addhook(\"die\", \"onDie\")" },
        { "timer(1500.5, \"f\", \"\", 0)", "timer(1500.5, \"f\", \"\", 0)" },
        { "parse(\"hudtxt 49 \\\"\\169255000000Hi\\\" -20 300 -1\")",
            "parse(\"hudtxt 49 \\\"\\169255000000Hi\\\" -20 300 -1\")" },
        { "parse(\"hudtxt2 \" .. id .. \" 7 \\\"a b\\\" 1 2 1\")",
            "parse(\"hudtxt2 \" .. id .. \" 7 \\\"a b\\\" 1 2 1\")" },
        { "parse('hudtxt2 '..id..' 45 \"x\" 2 255')", "parse(\"hudtxt2 \" .. id .. \" 45 \\\"x\\\" 2 255 0\")" },
    };
    const std::pair<TToolDialog*, TGadget*> wizards[] = { { App->wHook, App->wHook->bAdd },
        { App->wTimer, App->wTimer->bCreate }, { App->wHudtxt, App->wHudtxt->bCreate } };
    // A registration being replaced has its handler already: no second head is written.
    App->wHook->cbGenFunc->SetSelected(1);
    for (const auto& [call, written] : cases) {
        SCOPED_TRACE(call.toStdString());
        SetScript("x = 1\n" + call + "\n", 8);
        EditInWizard();
        const auto* wizard
            = std::find_if(std::begin(wizards), std::end(wizards), [](const auto& w) { return Shown(*w.first); });
        ASSERT_NE(wizard, std::end(wizards));
        EXPECT_TRUE(wizard->second->GetText().startsWith("Replace"));
        Send(Event::GadgetAction, wizard->second);
        EXPECT_EQ(Script(), "x = 1\n" + written + "\n");
        EXPECT_FALSE(Shown(*wizard->first));
    }
}

TEST_F(WizardEditTest, WhatTheWizardsCannotEditIsSaidAndLeftAlone)
{
    SetScript("print(1)", 3);
    EditInWizard();
    EXPECT_EQ(App->lRecovery->GetText(), "The caret is in no addhook, timer or hudtxt call a wizard could edit.");
    EXPECT_FALSE(Shown(Timer()) || Shown(*App->wHook) || Shown(*App->wHudtxt));

    SetScript("timer(delay * 2, \"f\", 0, 1)", 3);
    EditInWizard();
    ASSERT_TRUE(Shown(Timer()));
    EXPECT_EQ(Timer().bCreate->GetText(), "Create timer");
    EXPECT_EQ(Timer().lInfo->GetText(),
        "The period is an expression (delay * 2), not a number. The wizard opens as for new code.");
    EXPECT_EQ(WholeTextProblem(Timer().lInfo), "");
    // The hook wizard's label is the narrowest, and this reason among the longest.
    SetScript("addhook(\"hit\", \"handler\", 5)", 3);
    EditInWizard();
    ASSERT_TRUE(Shown(*App->wHook));
    EXPECT_TRUE(App->wHook->lInfo->GetText().startsWith("addhook has 3 arguments"));
    EXPECT_EQ(WholeTextProblem(App->wHook->lInfo), "");

    // The script changed under the open wizard: the call is not where it was any more.
    SetScript("timer(100, \"f\", 0, 1)", 3);
    EditInWizard();
    Text()->ReplaceText(0, 0, "--", TextUnit::Chars);
    Send(Event::GadgetAction, Timer().bCreate);
    EXPECT_EQ(Script(), "--timer(100, \"f\", 0, 1)");
    EXPECT_TRUE(Shown(Timer()));
    EXPECT_EQ(Timer().bCreate->GetText(), "Create timer");
    EXPECT_TRUE(Timer().lInfo->GetText().startsWith("The call changed in the script meanwhile"));
    Menu(TApplication::M_TIME);
    EXPECT_EQ(Timer().lInfo->GetText(), "");
}
} // namespace
