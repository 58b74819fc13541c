// The item id picker, the timer wizard and the launch arguments dialog inside the whole editor: what
// they insert or pass on, driven as the user drives them. The hook wizard has its own file.
#include "AppFixture.h"

#include "gui/WidgetGadget.h"
#include "settings/WSettings.h"
#include "support/WholeText.h"
#include "tools/WCommand.h"
#include "tools/WHook.h"
#include "tools/WHudtxt.h"
#include "tools/WItems.h"
#include "tools/WTimer.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace {
class ToolDialogsTest : public AppFixture {
protected:
    TWItems& Items() const { return *App->wItems; }
    TWTimer& Timer() const { return *App->wTimer; }
    TWCommand& Command() const { return *App->wCommand; }
    static bool Shown(const TToolDialog& tool) { return !IsHidden(tool.Window, false); }
    void Toolbar(int index) { Send(Event::GadgetAction, App->Toolbar, index); }

    static QLineEdit* Field(TGadget* field) { return static_cast<QLineEdit*>(TWidgetGadget::From(field)->Widget()); }
    // Replaces a field's text key by key, as typing over a selection does; an empty text empties it.
    void TypeInto(TGadget* field, const QString& text)
    {
        Field(field)->selectAll();
        if (text.isEmpty())
            QTest::keyClick(Field(field), Qt::Key_Backspace);
        else
            QTest::keyClicks(Field(field), text);
        Settle();
    }
    void PasteInto(TGadget* field, const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        Field(field)->selectAll();
        QTest::keyClick(Field(field), Qt::Key_V, Qt::ControlModifier);
        Settle();
    }
    QStringList Periods() const { return { Timer().tfMs->GetText(), Timer().tfS->GetText(), Timer().tfM->GetText() }; }
};

TEST_F(ToolDialogsTest, TheItemListHoldsTheGamesItemsAndOkInsertsTheIdOnly)
{
    TGadget* list = Items().cbItems;
    ASSERT_EQ(list->ItemCount(), 71);
    EXPECT_EQ(list->ItemText(0), "[1] USP");
    EXPECT_EQ(list->ItemText(38), "[58] Kevlar+Helm");
    EXPECT_EQ(list->ItemText(70), "[91] FN F2000");
    EXPECT_EQ(std::any_cast<QString>(list->ItemExtra(70)), "91");
    EXPECT_EQ(list->SelectedItem(), 0);

    Toolbar(TApplication::TB_ITEMID);
    ASSERT_TRUE(Shown(Items()));
    SetScript("give(SELECTED)", 5, 8);
    list->SelectItem(38, 1);
    Send(Event::GadgetAction, list);
    EXPECT_EQ(Script(), "give(SELECTED)") << "choosing an entry inserts nothing by itself";
    Send(Event::GadgetAction, Items().bOk);
    EXPECT_EQ(Script(), "give(58)");
    EXPECT_EQ(Selection(), (TSelection { 7, 0 }));
    EXPECT_FALSE(Shown(Items()));
    EXPECT_EQ(QApplication::focusWidget(), View());

    // Shown again, it offers the entry chosen last; leaving it any other way inserts nothing.
    Menu(TApplication::M_ITEMID);
    EXPECT_EQ(list->SelectedItem(), 38);
    Send(Event::GadgetAction, Items().bClose);
    Menu(TApplication::M_ITEMID);
    Send(Event::WindowClose, Items().Window);
    EXPECT_EQ(Script(), "give(58)");
    EXPECT_FALSE(Shown(Items()));
}

TEST_F(ToolDialogsTest, ThePeriodFieldsFollowTheOneTypedInto)
{
    struct TCase {
        QString typed;
        int field; // 0 milliseconds, 1 seconds, 2 minutes
        QStringList periods;
    };
    const TCase cases[] = {
        { "1500", 0, { "1500", "1.50000000", "0.0250000004" } },
        { "1000", 0, { "1000", "1.00000000", "0.0166666675" } },
        { "", 0, { "", "0.00000000", "0.00000000" } },
        { "1500.5", 0, { "1500.5", "1.50049996", "0.0250083338" } },
        { "1", 0, { "1", "0.00100000005", "1.66666669e-05" } },
        { "5", 1, { "5000", "5", "0.0833333358" } },
        { "2.5", 1, { "2500", "2.5", "0.0416666679" } },
        { "2.3", 1, { "2299", "2.3", "0.0383333340" } },
        { "0.1", 1, { "100", "0.1", "0.00166666671" } },
        { "", 1, { "0", "", "0.00000000" } },
        // Milliseconds past the 32-bit range stop at its end.
        { "9999999999", 1, { "2147483647", "9999999999", "166666672." } },
        { "1", 2, { "60000", "60.0000000", "1" } },
        { "0.5", 2, { "30000", "30.0000000", "0.5" } },
        { "2.3", 2, { "137999", "138.000000", "2.3" } },
        // Letters are refused at the keyboard.
        { "1x2", 2, { "720000", "720.000000", "12" } },
    };
    Toolbar(TApplication::TB_TIMER);
    ASSERT_TRUE(Shown(Timer()));
    TGadget* fields[] = { Timer().tfMs, Timer().tfS, Timer().tfM };
    for (const TCase& c : cases) {
        TypeInto(fields[c.field], c.typed);
        EXPECT_EQ(Periods(), c.periods) << c.typed.toStdString() << " into field " << c.field;
    }
    // Pasted text is not filtered: the fields read it as far as it is a number, and no number is 0.
    PasteInto(Timer().tfS, "12abc");
    EXPECT_EQ(Periods(), (QStringList { "12000", "12abc", "0.200000003" }));
    PasteInto(Timer().tfMs, "1e999");
    EXPECT_EQ(Periods(), (QStringList { "1e999", "0.00000000", "0.00000000" }));
    PasteInto(Timer().tfM, "nan");
    EXPECT_EQ(Periods(), (QStringList { "0", "0.00000000", "nan" }));
}

TEST_F(ToolDialogsTest, CreateTimerInsertsTheCallAsTheFieldsStand)
{
    Menu(TApplication::M_TIME);
    ASSERT_TRUE(Shown(Timer()));
    SetScript("a SELECTED b", 2, 8);
    Send(Event::GadgetAction, Timer().bCreate);
    const QString first = R"(timer(0, "myfunc", myvar .. "mystring", 1))";
    EXPECT_EQ(Script(), "a " + first + " b");
    EXPECT_EQ(Selection(), (TSelection { 2 + int(first.size()), 0 }));
    EXPECT_FALSE(Shown(Timer()));
    EXPECT_EQ(QApplication::focusWidget(), View());

    // The fields keep what they hold; empty ones leave empty places, and the call keeps four arguments.
    Menu(TApplication::M_TIME);
    TypeInto(Timer().tfS, "5");
    SetScript("", 0);
    Send(Event::GadgetAction, Timer().bCreate);
    EXPECT_EQ(Script(), R"(timer(5000, "myfunc", myvar .. "mystring", 1))");
    Menu(TApplication::M_TIME);
    for (TGadget* field : { Timer().tfFunc, Timer().tfParam, Timer().tfTimes })
        TypeInto(field, "");
    SetScript("", 0);
    Send(Event::GadgetAction, Timer().bCreate);
    EXPECT_EQ(Script(), R"(timer(5000, "", , ))");
}

// One character short of the text area's capacity no code goes in: the wizard stays open, nothing is
// recorded, and a notification says why; the colour button says so too.
TEST_F(ToolDialogsTest, AFullScriptTakesNoCodeAndTheToolSaysWhy)
{
    SetScript(QString(63, '-').append('\n').repeated(TextAreaCapacity / 64 - 1) + QString(63, '-'));
    App->History->Clear();
    Menu(TApplication::M_TIME);
    Send(Event::GadgetAction, Timer().bCreate);
    system->colourAnswers = { 0xFFFF0000u };
    Toolbar(TApplication::TB_COLOR);
    EXPECT_EQ(Text()->AreaLen(TextUnit::Chars), TextAreaCapacity - 1);
    EXPECT_EQ(Recorded(), 0);
    EXPECT_TRUE(Shown(Timer()));
    ASSERT_EQ(system->requests.size(), 3u); // the timer's notification, the colour requester, its notification
    for (int i : { 0, 2 })
        EXPECT_TRUE(system->requests[i].text.startsWith("The script is full: the code was not inserted.")) << i;
}

TEST_F(ToolDialogsTest, TheLaunchesPassTheArgumentsAsTyped)
{
    TConfigRecord settings = App->wSettings->Values();
    settings.gamePath = MakeProgram("my games/Tarvane");
    const QString server = MakeProgram("server/tarvane_dedicated");
    settings.dediPath = server;
    App->wSettings->SetValues(settings);
    Toolbar(TApplication::TB_ARGUMENTS);
    ASSERT_TRUE(Shown(Command()));
    TypeInto(Command().tfGame, R"(-connect 127.0.0.1 -name "Big Al")");
    // Typed text counts however the dialog is left: here by its close box, with no OK.
    Send(Event::WindowClose, Command().Window);
    EXPECT_FALSE(Shown(Command()));
    Toolbar(TApplication::TB_RUN_GAME);
    Toolbar(TApplication::TB_RUN_DEDICATED);
    ASSERT_EQ(system->launches.size(), 2u);
    EXPECT_EQ(system->launches[0].arguments, (QStringList { "-connect", "127.0.0.1", "-name", "Big Al" }));
    EXPECT_TRUE(system->launches[1].arguments.isEmpty());

    Toolbar(TApplication::TB_ARGUMENTS);
    TypeInto(Command().tfDedi, "-port 36963");
    Send(Event::GadgetAction, Command().bOk);
    EXPECT_FALSE(Shown(Command()));
    Toolbar(TApplication::TB_RUN_DEDICATED);
    ASSERT_EQ(system->launches.size(), 3u);
    EXPECT_EQ(system->launches[2].program, server);
    EXPECT_EQ(system->launches[2].arguments, (QStringList { "-port", "36963" }));
}

// Escape leaves any tool as its close box does, from whichever of its fields has the focus.
TEST_F(ToolDialogsTest, EscapeClosesEveryTool)
{
    const std::pair<int, TGadget*> tools[] = { { TApplication::TB_ITEMID, Items().cbItems },
        { TApplication::TB_TIMER, Timer().tfMs }, { TApplication::TB_ARGUMENTS, Command().tfGame },
        { TApplication::TB_HOOK, App->wHook->tvHook }, { TApplication::TB_HUD, App->wHudtxt->tfX } };
    for (const auto& [item, field] : tools) {
        Toolbar(item);
        QWidget* widget = TWidgetGadget::From(field)->Widget();
        ASSERT_FALSE(widget->isHidden()) << item;
        QTest::keyClick(widget, Qt::Key_Escape);
        Settle();
        EXPECT_TRUE(widget->window()->isHidden()) << item;
        EXPECT_EQ(QApplication::focusWidget(), View()) << item;
    }
}

TEST_F(ToolDialogsTest, EveryTextOfTheToolsShowsWhole)
{
    std::vector<TGadget*> gadgets;
    for (const TToolDialog* tool : { static_cast<TToolDialog*>(&Items()), static_cast<TToolDialog*>(&Timer()),
             static_cast<TToolDialog*>(&Command()), static_cast<TToolDialog*>(App->wHudtxt) }) {
        for (TGadget* kid : tool->Window->kids) {
            gadgets.push_back(kid);
            gadgets.insert(gadgets.end(), kid->kids.begin(), kid->kids.end());
        }
    }
    for (TGadget* gadget : gadgets) {
        if (gadget->Class() == GadgetClass::Label || gadget->Class() == GadgetClass::Button) {
            EXPECT_EQ(WholeTextProblem(gadget), "");
        }
    }
    // The longest entry of the item list shows whole in the closed box, beside its arrow.
    auto* box = static_cast<QComboBox*>(TWidgetGadget::From(Items().cbItems)->Widget());
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.rect = box->rect();
    option.frame = true;
    const int room
        = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box).width();
    for (int i = 0; i < box->count(); ++i)
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->itemText(i)), room) << box->itemText(i).toStdString();
}
} // namespace
