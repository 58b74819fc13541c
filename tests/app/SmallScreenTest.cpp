// A screen smaller than the editor's windows, as high-DPI scaling makes one: windows start on it
// whole, the main window's contents follow its smaller size, and a fixed-size tool scrolls.
#include "AppFixture.h"

#include "gui/WidgetGadget.h"
#include "tools/WHudtxt.h"

#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace {
// Before the platform starts: at scale 2 the offscreen screen is half its size to the windows, too small
// for the main window and the HUD wizard.
const bool scaled = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    return true;
}();

using SmallScreenTest = AppFixture;

TEST_F(SmallScreenTest, WindowsStartWholeOnTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_TRUE(scaled && area.height() < 512);
    EXPECT_TRUE(area.contains(TWidgetGadget::From(App->Window)->Widget()->frameGeometry()));
    // The status line stays in the window, and the text area spans it.
    EXPECT_LE(App->lLines->GetYPos() + App->lLines->GetHeight(), App->Window->ClientHeight());
    EXPECT_EQ(App->Textarea->GetWidth(), App->Window->ClientWidth());

    Menu(TApplication::M_HUD);
    const QWidget* hud = TWidgetGadget::From(App->wHudtxt->Window)->Widget();
    ASSERT_TRUE(hud->isVisible());
    EXPECT_TRUE(area.contains(hud->frameGeometry()));
    // Its fixed layout is kept whole, and scroll bars reach what the window cannot show.
    const auto* scroller = hud->findChild<QScrollArea*>();
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(scroller->widget()->size(), QSize(795, 480));
    EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);
}
} // namespace
