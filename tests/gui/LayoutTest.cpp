// The layout arithmetic of gadgets in a resized parent, on plain gadgets without a window.
#include "gui/Gadget.h"

#include <gtest/gtest.h>

namespace {
class PlainGadget : public TGadget {
public:
    PlainGadget(TGadget* parent, int x, int y, int w, int h)
        : TGadget(GadgetClass::Panel, parent, 0)
    {
        if (parent)
            parent->kids.push_back(this);
        SetShape(x, y, w, h);
    }
};

TLayoutRect ShapeOf(const TGadget* gadget)
{
    return { gadget->GetXPos(), gadget->GetYPos(), gadget->GetWidth(), gadget->GetHeight() };
}

// The main window's client area and the gadgets laid out in it.
struct MainWindowShapes : testing::Test {
    PlainGadget window { nullptr, 0, 0, 640, 512 };
    PlainGadget* strip = new PlainGadget(&window, 0, 0, 640, 32);
    PlainGadget* topLine = new PlainGadget(&window, 0, 32, 640, 1);
    PlainGadget* leftLine = new PlainGadget(&window, 0, 32, 1, 460);
    PlainGadget* rightLine = new PlainGadget(&window, 638, 32, 1, 459);
    PlainGadget* bottomLine = new PlainGadget(&window, 1, 490, 638, 1);
    PlainGadget* textArea = new PlainGadget(&window, 0, 32, 640, 460);
    PlainGadget* lines = new PlainGadget(&window, 5, 494, 315, 15);
    PlainGadget* chars = new PlainGadget(&window, 320, 494, 315, 15);

    MainWindowShapes()
    {
        strip->SetLayout(1, 1, 1, 0);
        topLine->SetLayout(1, 1, 1, 0);
        leftLine->SetLayout(1, 0, 1, 1);
        rightLine->SetLayout(0, 1, 1, 1);
        bottomLine->SetLayout(1, 1, 0, 1);
        textArea->SetLayout(1, 1, 1, 1);
        lines->SetLayout(1, 2, 0, 1);
        chars->SetLayout(2, 1, 0, 1);
    }

    void Resize(int w, int h)
    {
        window.SetShape(0, 0, w, h);
        window.LayoutKids();
    }
};

TEST_F(MainWindowShapes, TheTextAreaFollowsAllFourEdgesAndTheLabelsStayOnTheBottom)
{
    Resize(800, 600);
    EXPECT_EQ(ShapeOf(strip), (TLayoutRect { 0, 0, 800, 32 }));
    EXPECT_EQ(ShapeOf(topLine), (TLayoutRect { 0, 32, 800, 1 }));
    EXPECT_EQ(ShapeOf(leftLine), (TLayoutRect { 0, 32, 1, 548 }));
    EXPECT_EQ(ShapeOf(rightLine), (TLayoutRect { 798, 32, 1, 547 }));
    EXPECT_EQ(ShapeOf(bottomLine), (TLayoutRect { 1, 578, 798, 1 }));
    EXPECT_EQ(ShapeOf(textArea), (TLayoutRect { 0, 32, 800, 548 }));
    // lLines keeps its left edge, its right edge moves in proportion: 800 * 320 / 640 = 400.
    EXPECT_EQ(ShapeOf(lines), (TLayoutRect { 5, 582, 395, 15 }));
    // lChar's left edge moves in proportion and its right edge keeps its distance of 5.
    EXPECT_EQ(ShapeOf(chars), (TLayoutRect { 400, 582, 395, 15 }));
}

TEST_F(MainWindowShapes, ShrinkingAndGrowingBackRestoresTheOriginalShapes)
{
    Resize(389, 240);
    EXPECT_EQ(ShapeOf(textArea), (TLayoutRect { 0, 32, 389, 188 }));
    // 389 * 320 / 640 truncates to 194.
    EXPECT_EQ(ShapeOf(chars), (TLayoutRect { 194, 222, 190, 15 }));
    Resize(640, 512);
    EXPECT_EQ(ShapeOf(textArea), (TLayoutRect { 0, 32, 640, 460 }));
    EXPECT_EQ(ShapeOf(chars), (TLayoutRect { 320, 494, 315, 15 }));
    EXPECT_EQ(ShapeOf(lines), (TLayoutRect { 5, 494, 315, 15 }));
}

TEST(LayoutArithmetic, CentredEdgesKeepTheCentreInProportion)
{
    PlainGadget parent(nullptr, 0, 0, 100, 100);
    auto* kid = new PlainGadget(&parent, 40, 10, 20, 30);
    kid->SetLayout(0, 0, 0, 0);
    // left = 300 * (40 + 10) / 100 - 10 = 140; top = 50 * (10 + 15) / 100 - 15 = -3 (truncated 12.5 -> 12).
    EXPECT_EQ(kid->LayoutFor(300, 50), (TLayoutRect { 140, -3, 20, 30 }));
}

TEST(LayoutArithmetic, RelativeEdgesScaleWithTheParent)
{
    PlainGadget parent(nullptr, 0, 0, 200, 100);
    auto* kid = new PlainGadget(&parent, 50, 20, 100, 40);
    kid->SetLayout(2, 2, 2, 2);
    EXPECT_EQ(kid->LayoutFor(400, 300), (TLayoutRect { 100, 60, 200, 120 }));
    // Truncation toward zero, in the order written: 333 * 50 / 200 = 83, 333 * 150 / 200 = 249.
    EXPECT_EQ(kid->LayoutFor(333, 100), (TLayoutRect { 83, 20, 166, 40 }));
}

TEST(LayoutArithmetic, AZeroSizedParentCountsAsOnePixel)
{
    PlainGadget parent(nullptr, 0, 0, 100, 100);
    auto* kid = new PlainGadget(&parent, 10, 10, 80, 80);
    kid->SetLayout(1, 1, 1, 1);
    // right = 1 + (10 + 80 - 100) = -9.
    EXPECT_EQ(kid->LayoutFor(0, 0), (TLayoutRect { 10, 10, -19, -19 }));
}
} // namespace
