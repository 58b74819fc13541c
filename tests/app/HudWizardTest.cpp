// The HUD text wizard inside the whole editor: the command it inserts, the variable of hudtxt2, and the
// preview, which follows the settings and the mouse and draws only what changed.
#include "AppFixture.h"

#include "draw/Graphics.h"
#include "gui/WidgetGadget.h"
#include "tools/WHudtxt.h"

#include <QApplication>
#include <QMouseEvent>

namespace {
class HudWizardTest : public AppFixture {
protected:
    TWHudtxt& Hud() const { return *App->wHudtxt; }
    bool Shown() const { return !IsHidden(Hud().Window, false); }
    void Open() { Send(Event::GadgetAction, App->Toolbar, TApplication::TB_HUD); }
    // A choice in a list, as the user makes it: the list says which item it is.
    void Choose(TGadget* box, int index)
    {
        box->SelectItem(index, 1);
        Send(Event::GadgetAction, box, index);
    }
    std::vector<std::uint32_t> Frame() const { return Hud().Canvas->CanvasGraphics()->Pixels(); }
    static bool Enabled(TGadget* gadget) { return TWidgetGadget::From(gadget)->Widget()->isEnabled(); }
    QWidget* CanvasWidget() const { return TWidgetGadget::From(Hud().Canvas)->Widget(); }
    // The pointer moved over the preview with no button held (the test library moves it only with one).
    void Hover(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, CanvasWidget()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(CanvasWidget(), &move);
        Settle();
    }
};

TEST_F(HudWizardTest, CreateHudtxtInsertsTheParseCallOfTheSettings)
{
    struct TCase {
        const char* name;
        std::function<void()> settings;
        QString call;
    };
    const QString sign = QStringLiteral("\u00a9");
    const auto set = [this](const QString& text, const QString& x, const QString& y, int id, int align) {
        Hud().tfText->SetText(text);
        Hud().tfX->SetText(x);
        Hud().tfY->SetText(y);
        Hud().cbID->SelectItem(id, 1);
        Hud().cbAlign->SelectItem(align, 1);
    };
    const TCase cases[] = {
        { "first use", [] {}, R"(parse("hudtxt 0 \"Example\" 0 0 0"))" },
        { "left", [&] { set("Example", "100", "200", 3, 0); }, R"(parse("hudtxt 3 \"Example\" 100 200 0"))" },
        { "right gives -1", [&] { set("Example", "100", "200", 3, 2); },
            R"(parse("hudtxt 3 \"Example\" 100 200 -1"))" },
        { "hudtxt2 concatenates the variable",
            [&] {
                set("Example", "100", "200", 3, 1);
                Choose(Hud().cbType, 1);
                Hud().tfVar->SetText("id");
            },
            R"(parse("hudtxt2 " .. id .. " 3 \"Example\" 100 200 1"))" },
        // Back on hudtxt the variable is not used, though the field keeps it.
        { "hudtxt ignores the variable", [&] { Choose(Hud().cbType, 0); },
            R"(parse("hudtxt 3 \"Example\" 100 200 1"))" },
        { "codes and fields go in as typed", [&] { set(sign + "255000000Hi \"x\"", "12abc", "", 49, 0); },
            "parse(\"hudtxt 49 \\\"" + sign + "255000000Hi \"x\"\\\" 12abc  0\")" },
    };
    Open();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        c.settings();
        SetScript("a SELECTED b", 2, 8);
        Send(Event::GadgetAction, Hud().bCreate);
        EXPECT_EQ(Script(), "a " + c.call + " b");
        EXPECT_EQ(Selection(), (TSelection { 2 + int(c.call.size()), 0 }));
        EXPECT_FALSE(Shown());
    }
    EXPECT_EQ(QApplication::focusWidget(), View());
}

TEST_F(HudWizardTest, TheVariableIsEnabledForHudtxt2OnlyAndKeepsItsText)
{
    Menu(TApplication::M_HUD);
    ASSERT_TRUE(Shown());
    EXPECT_FALSE(Enabled(Hud().tfVar));
    EXPECT_FALSE(Enabled(Hud().lVar));
    Choose(Hud().cbType, 1);
    EXPECT_TRUE(Enabled(Hud().tfVar));
    EXPECT_TRUE(Enabled(Hud().lVar));
    Hud().tfVar->SetText("player(id, \"name\")");
    Choose(Hud().cbType, 0);
    EXPECT_FALSE(Enabled(Hud().tfVar));
    EXPECT_FALSE(Enabled(Hud().lVar));
    EXPECT_EQ(Hud().tfVar->GetText(), "player(id, \"name\")");
}

// The preview draws while shown and only when what it shows changed; any change shows in the next pass.
TEST_F(HudWizardTest, ThePreviewDrawsOnlyWhatChanged)
{
    const int64_t before = Hud().FramesDrawn();
    Settle();
    EXPECT_EQ(Hud().FramesDrawn(), before) << "a hidden preview draws nothing";
    Open();
    const int64_t first = Hud().FramesDrawn();
    EXPECT_EQ(first, before + 1);
    const std::vector<std::uint32_t> example = Frame();
    for (int i = 0; i < 5; ++i)
        App->RunPass();
    EXPECT_EQ(Hud().FramesDrawn(), first) << "an unchanged preview is not drawn again";

    // Centring moves the text left by half its width, and right alignment by the whole.
    Hud().tfText->SetText("Hello");
    Hud().tfX->SetText("300");
    Hud().tfY->SetText("200");
    App->RunPass();
    EXPECT_EQ(Hud().FramesDrawn(), first + 1);
    const std::vector<std::uint32_t> left = Frame();
    EXPECT_NE(left, example);
    const int width = TextWidthOf(u"Hello");
    ASSERT_GT(width, 10);
    Hud().cbAlign->SelectItem(1, 1);
    Hud().tfX->SetText(QString::number(300 + width / 2));
    App->RunPass();
    EXPECT_EQ(Frame(), left);
    Hud().cbAlign->SelectItem(2, 1);
    Hud().tfX->SetText(QString::number(300 + width));
    App->RunPass();
    EXPECT_EQ(Frame(), left);
    EXPECT_EQ(Hud().FramesDrawn(), first + 3);

    // Far outside the screen, or past the 32-bit range, the text leaves the background alone.
    Hud().tfText->SetText("");
    Hud().cbAlign->SelectItem(0, 1);
    App->RunPass();
    const std::vector<std::uint32_t> background = Frame();
    Hud().tfText->SetText(QString(20000, QLatin1Char('W')));
    for (const char* x : { "99999999999", "-99999999999", "700", "2147483647" }) {
        Hud().tfX->SetText(x);
        App->RunPass();
        EXPECT_EQ(Frame(), background) << x;
    }
}

// Held on the preview, the left button moves the text with the pointer, past the preview's edges too.
TEST_F(HudWizardTest, DraggingOnThePreviewMovesTheText)
{
    Open();
    QWidget* canvas = CanvasWidget();
    Hover(QPoint(120, 80));
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(120, 80));
    Settle();
    EXPECT_EQ(Hud().tfX->GetText(), "120");
    EXPECT_EQ(Hud().tfY->GetText(), "80");
    const std::vector<std::uint32_t> pressed = Frame();
    QTest::mouseMove(canvas, QPoint(700, -20));
    Settle();
    EXPECT_EQ(Hud().tfX->GetText(), "700");
    EXPECT_EQ(Hud().tfY->GetText(), "-20");
    QTest::mouseMove(canvas, QPoint(200, 300));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(200, 300));
    Settle();
    Hover(QPoint(10, 10));
    EXPECT_EQ(Hud().tfX->GetText(), "200");
    EXPECT_EQ(Hud().tfY->GetText(), "300");
    EXPECT_NE(Frame(), pressed);
    // Setting the fields raised no event: nothing was inserted and the script is untouched.
    EXPECT_EQ(Script(), "");
}
} // namespace
