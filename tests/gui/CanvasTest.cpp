// The canvas gadget: drawing lands in its widget when a frame is presented, and the mouse reaches the
// event queue and the polled input.
#include "draw/Graphics.h"
#include "draw/PolledInput.h"
#include "event/EventQueue.h"
#include "gui/GadgetFactory.h"
#include "gui/WidgetGadget.h"
#include "support/WindowFixture.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {
class CanvasTest : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        canvas = MakeCanvas(10, 5, 64, 48, window, 0);
    }

    void TearDown() override
    {
        WindowFixture::TearDown();
        ResetPolledInput();
    }

    QWidget* Widget() const { return WidgetOf<QWidget>(canvas); }

    TGadget* canvas = nullptr;
};

TEST_F(CanvasTest, APresentedFrameShowsInTheWidget)
{
    auto graphics = canvas->CanvasGraphics();
    ASSERT_TRUE(graphics);
    EXPECT_EQ(graphics->Width(), 64);
    EXPECT_EQ(graphics->Height(), 48);

    SelectGraphics(graphics);
    SetClearColor(10, 20, 30);
    ClearGraphics();
    FlipGraphics(-1);
    const QImage shown = Widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(10, 20, 30));
    EXPECT_EQ(shown.pixelColor(63, 47), QColor(10, 20, 30));
}

TEST_F(CanvasTest, TheSurfaceFollowsTheCanvasSize)
{
    canvas->SetShape(0, 0, 32, 16);
    EXPECT_EQ(canvas->CanvasGraphics()->Width(), 32);
    EXPECT_EQ(canvas->CanvasGraphics()->Height(), 16);
}

TEST_F(CanvasTest, TheMouseIsReportedInClientPixelsAndPolled)
{
    EnablePolledInput(nullptr);
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(12, 7));
    QTest::mouseMove(Widget(), QPoint(20, 30));
    EXPECT_EQ(PolledMouseDown(1), 1);
    EXPECT_EQ(PolledMouseX(), 20);
    EXPECT_EQ(PolledMouseY(), 30);
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(PolledMouseDown(1), 0);

    ASSERT_EQ(EventQueue.Poll(), Event::MouseDown);
    EXPECT_EQ(EventQueue.Current().source, canvas);
    EXPECT_EQ(EventQueue.Current().data, 1);
    EXPECT_EQ(EventQueue.Current().x, 12);
    EXPECT_EQ(EventQueue.Current().y, 7);
}

TEST_F(CanvasTest, ARedrawRequestRaisesGadgetPaintButPresentingDoesNot)
{
    SelectGraphics(canvas->CanvasGraphics());
    FlipGraphics(-1);
    Widget()->repaint();
    EXPECT_EQ(EventQueue.Count(), 0);

    canvas->Activate(ActivateCommand::Redraw);
    Widget()->repaint();
    ASSERT_EQ(EventQueue.Poll(), Event::GadgetPaint);
    EXPECT_EQ(EventQueue.Current().source, canvas);
}
} // namespace
