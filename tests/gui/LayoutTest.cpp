// The layout arithmetic of gadgets in a resized parent, on plain gadgets without a window. The main
// window's own shapes are checked on the real window in tests/app/MainWindowTest.cpp.
#include "gui/Gadget.h"
#include "gui/ScreenFit.h"

#include <gtest/gtest.h>

#include <utility>

namespace {
class PlainGadget : public TGadget {
public:
    PlainGadget(TGadget* parent, int x, int y, int w, int h, GadgetClass kind = GadgetClass::Panel)
        : TGadget(kind, parent, 0)
    {
        if (parent)
            parent->kids.push_back(this);
        SetShape(x, y, w, h);
    }
};

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

TEST(LayoutArithmetic, OnlyKidsWithACapturedLayoutFollowTheirParentAndNeverWindowsOrTheToolbar)
{
    struct Case {
        const char* name;
        GadgetClass kind;
        bool captured;
        TLayoutRect after;
    };
    const TLayoutRect kept { 10, 10, 30, 20 };
    const Case cases[] = {
        { "a panel with a captured layout", GadgetClass::Panel, true, { 10, 10, 130, 70 } },
        { "a panel without one", GadgetClass::Panel, false, kept },
        { "a dialog window", GadgetClass::Window, true, kept },
        { "a dialog window without a layout", GadgetClass::Window, false, kept },
        { "the toolbar", GadgetClass::Toolbar, true, kept },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlainGadget parent(nullptr, 0, 0, 100, 100);
        auto* kid = new PlainGadget(&parent, kept.x, kept.y, kept.width, kept.height, c.kind);
        if (c.captured)
            kid->SetLayout(1, 1, 1, 1);
        parent.SetShape(0, 0, 200, 150);
        parent.LayoutKids();
        EXPECT_EQ((TLayoutRect { kid->GetXPos(), kid->GetYPos(), kid->GetWidth(), kid->GetHeight() }), c.after);
    }
}
// A work area of 640 x 480 below a panel 24 high; the frame adds 4 at the sides and bottom, 30 on top.
TEST(LayoutArithmetic, AWindowFitsOnTheWorkAreaWithItsFrame)
{
    const std::pair<QRect, QRect> cases[] = {
        { { 100, 100, 300, 200 }, { 100, 100, 300, 200 } }, // fits: unchanged
        { { 0, 0, 640, 530 }, { 0, 24, 632, 446 } }, // too large: smaller by the frame, on the area
        { { 500, 400, 300, 200 }, { 332, 270, 300, 200 } }, // past the right and bottom: moved back
        { { -50, -10, 300, 200 }, { 0, 24, 300, 200 } }, // past the left and top
    };
    for (const auto& [window, fitted] : cases)
        EXPECT_EQ(FitOnScreen(window, QMargins(4, 30, 4, 4), QRect(0, 24, 640, 480)), fitted) << window.x();
}
} // namespace
