// The hook wizard inside the whole editor: its catalogue, the code it inserts, and its use with the
// mouse and the keyboard.
#include "AppFixture.h"

#include "gui/TreeViewGadget.h"
#include "settings/WSettings.h"
#include "support/WholeText.h"
#include "tools/WHook.h"

#include <QApplication>
#include <QTreeWidget>

namespace {
class HookWizardTest : public AppFixture {
protected:
    TWHook& Hook() const { return *App->wHook; }

    TGadget* Node(const QString& name) const
    {
        for (TGadget* category : Hook().tvRoot->kids) {
            if (category->GetText() == name)
                return category;
            for (TGadget* hook : category->kids) {
                if (hook->GetText() == name)
                    return hook;
            }
        }
        ADD_FAILURE() << "no node " << name.toStdString();
        return nullptr;
    }
    QTreeWidget* Tree() const { return static_cast<TTreeViewGadget*>(Hook().tvHook)->Tree(); }
    void DoubleClick(TGadget* node)
    {
        QTreeWidgetItem* item = static_cast<TNodeGadget*>(node)->Item();
        Tree()->scrollToItem(item);
        const QPoint row = Tree()->visualItemRect(item).center();
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, {}, row);
        Settle();
    }

    // Fills the dialog as the user left it, without raising events, and presses "Add hook".
    void Add(const QString& hook, const QString& variable, bool generateFunction)
    {
        Node(hook)->Activate(ActivateCommand::Select);
        Hook().tfVariable->SetText(variable);
        Hook().cbGenFunc->SetSelected(generateFunction ? 1 : 0);
        Send(Event::GadgetAction, Hook().bAdd);
    }
    bool Shown() const { return !IsHidden(Hook().Window, false); }
};

TEST_F(HookWizardTest, TheCatalogueHoldsFiftyEightHooksInFourCollapsedCategories)
{
    const TWHook& hook = Hook();
    EXPECT_EQ(hook.tvRoot->kids, (std::vector { hook.subBasic, hook.subTime, hook.subPlayer, hook.subObject }));
    const std::pair<const char*, size_t> categories[]
        = { { "Basic", 11 }, { "Time", 4 }, { "Player", 39 }, { "Object", 4 } };
    for (size_t k = 0; k < std::size(categories); ++k) {
        const TGadget* category = hook.tvRoot->kids[k];
        EXPECT_EQ(category->GetText(), categories[k].first);
        EXPECT_EQ(category->kids.size(), categories[k].second) << categories[k].first;
        EXPECT_FALSE(category->extra.has_value()) << categories[k].first;
        EXPECT_FALSE(static_cast<const TNodeGadget*>(category)->Item()->isExpanded()) << categories[k].first;
    }
    EXPECT_EQ(hook.subBasic->kids.front()->GetText(), "break");
    EXPECT_EQ(hook.subObject->kids.back()->GetText(), "objectupgrade");
    const std::pair<const char*, const char*> parameters[] = { { "break", "tx, ty, id" }, { "ms100", "" },
        { "die", "victim, killer, wpn, x, y" }, { "kill", "killer, victim, wpn, x, y" },
        { "drop", "id, iid, type, ain, a, mode, tx, ty" }, { "objectupgrade", "objid, id, progress, total" } };
    for (const auto& [name, list] : parameters)
        EXPECT_EQ(std::any_cast<QString>(Node(name)->extra), list) << name;
}

TEST_F(HookWizardTest, AddHookInsertsTheRegistrationAndOnRequestTheHandlersHead)
{
    struct TCase {
        const char* hook;
        QString variable;
        bool generateFunction;
        QString script;
        int caret;
        QString result;
    };
    const TCase cases[] = {
        { "hit", "onHit", false, "", 0, R"(addhook("hit", "onHit"))" },
        { "hit", "onHit", true, "\t\t", 2,
            "\t\taddhook(\"hit\", \"onHit\")\n\t\tfunction onHit(id, src, wpn, hpdmg, apdmg, rawdmg)" },
        { "second", "onHit", true, "\t", 1, "\taddhook(\"second\", \"onHit\")\n\tfunction onHit()" },
        { "join", "", true, "", 0, "addhook(\"join\", \"\")\nfunction (id)" },
        // The name goes in as typed, a quote included: a modder may write an expression on purpose.
        { "say", "x\"..y", false, "", 0, R"(addhook("say", "x"..y"))" },
        // Only the tabs that begin the caret's line are copied.
        { "die", "f", true, " \t\tx", 4, " \t\txaddhook(\"die\", \"f\")\nfunction f(victim, killer, wpn, x, y)" },
        { "kill", "f", true, "\t\t x", 4, "\t\t xaddhook(\"kill\", \"f\")\n\t\tfunction f(killer, victim, wpn, x, y)" },
        { "log", "f", true, "a\n\tb\nc", 4, "a\n\tbaddhook(\"log\", \"f\")\n\tfunction f(text)\nc" },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.hook);
        Menu(TApplication::M_HOOK);
        SetScript(c.script, c.caret);
        Add(c.hook, c.variable, c.generateFunction);
        EXPECT_EQ(Script(), c.result);
        EXPECT_FALSE(Shown());
    }
}

// Once for every tool: an inserted code replaces the selection, is an undo step of its own and marks
// the script modified. Both lines it touches take their colours.
TEST_F(HookWizardTest, AnInsertionReplacesTheSelectionAndIsOneUndoStep)
{
    SaveAs("saved.lua");
    SetScript("local a\n\tSELECTED b", 9, 8);
    App->History->Clear();
    Menu(TApplication::M_HOOK);
    Add("spawn", "onSpawn", true);

    const QString code = "addhook(\"spawn\", \"onSpawn\")\n\tfunction onSpawn(id)";
    EXPECT_EQ(Script(), "local a\n\t" + code + " b");
    EXPECT_EQ(Selection(), (TSelection { 9 + int(code.size()), 0 }));
    const TPartColour keyword = App->wSettings->Values().Scheme()[TTokenClass::Keyword];
    const TTextStyle& style = StyleAt(int(Script().indexOf("function")));
    EXPECT_EQ(std::tuple(int(style.r), int(style.g), int(style.b), int(style.flags)),
        std::tuple(int(keyword.R), int(keyword.G), int(keyword.B), int(keyword.Style)));
    EXPECT_EQ(QApplication::focusWidget(), View());
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - saved.lua*");
    ASSERT_EQ(Recorded(), 1);
    Undo();
    EXPECT_EQ(Script(), "local a\n\tSELECTED b");
    EXPECT_EQ(Selection(), (TSelection { 9, 8 }));
}

TEST_F(HookWizardTest, AddHookWithoutAHookSelectedDoesNothing)
{
    Menu(TApplication::M_HOOK);
    SetScript("x", 1);
    Send(Event::GadgetAction, Hook().bAdd);
    Add("Object", "f", true);
    EXPECT_EQ(Script(), "x");
    EXPECT_EQ(Recorded(), 0);
    EXPECT_TRUE(Shown());
}

// The label follows what the user picks, not what the selection passes over.
TEST_F(HookWizardTest, TheInfoLabelChangesOnADoubleClickOrEnterOnly)
{
    Menu(TApplication::M_HOOK);
    TGadget* info = Hook().lInfo;
    Hook().subPlayer->Activate(ActivateCommand::Expand);
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, Tree()->visualItemRect(Tree()->topLevelItem(0)).center());
    Settle();
    ASSERT_EQ(Hook().tvHook->SelectedNode(), Hook().subBasic);
    EXPECT_EQ(info->GetText(), "break(tx, ty, id)");
    DoubleClick(Node("die"));
    EXPECT_EQ(info->GetText(), "die(victim, killer, wpn, x, y)");

    QTest::keyClick(Tree(), Qt::Key_Down);
    Settle();
    ASSERT_EQ(Hook().tvHook->SelectedNode(), Node("dominate"));
    EXPECT_EQ(info->GetText(), "die(victim, killer, wpn, x, y)");
    QTest::keyClick(Tree(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(info->GetText(), "dominate(id, team, tx, ty)");
    DoubleClick(Hook().subTime);
    EXPECT_EQ(info->GetText(), "Time()");
}

// Ctrl+6 in the text area opens the wizard as it was left, and again only raises it; Tab walks its fields.
TEST_F(HookWizardTest, TheKeyOpensTheWizardAsItWasLeftAndTabWalksItsFields)
{
    Text()->Activate(ActivateCommand::Focus);
    Key(Qt::Key_6, Qt::ControlModifier);
    ASSERT_TRUE(Shown());
    Add("buy", "onBuy", true);
    ASSERT_FALSE(Shown());
    Key(Qt::Key_6, Qt::ControlModifier);
    Key(Qt::Key_6, Qt::ControlModifier);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Hook().tvHook->SelectedNode(), Node("buy"));
    EXPECT_EQ(Hook().tfVariable->GetText(), "onBuy");
    EXPECT_EQ(ButtonValue(Hook().cbGenFunc), 1);

    QWidget* window = TWidgetGadget::From(Hook().Window)->Widget();
    Tree()->setFocus();
    for (TGadget* next : { Hook().cbGenFunc, Hook().tfVariable, Hook().bAdd, Hook().bClose, Hook().tvHook }) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(window->focusWidget(), TWidgetGadget::From(next)->Widget()) << next->GetText().toStdString();
    }
}

TEST_F(HookWizardTest, EveryTextOfTheWizardShowsWhole)
{
    for (TGadget* kid : Hook().Window->kids) {
        if (kid->Class() == GadgetClass::Label || kid->Class() == GadgetClass::Button) {
            EXPECT_EQ(WholeTextProblem(kid), "");
        }
    }
    for (TGadget* category : Hook().tvRoot->kids) {
        for (TGadget* node : category->kids) {
            const QString signature = node->GetText() + "(" + std::any_cast<QString>(node->extra) + ")";
            EXPECT_EQ(WholeTextProblem(Hook().lInfo, signature), "");
        }
    }
}
} // namespace
