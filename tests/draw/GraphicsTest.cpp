#include "draw/Graphics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
std::uint32_t Rgb(int red, int green, int blue)
{
    return 0xFF000000u | static_cast<std::uint32_t>(red << 16 | green << 8 | blue);
}

int Round(double value)
{
    return static_cast<int>(std::floor(value + 0.5));
}

std::shared_ptr<TImage> RgbaImage(int width, int height, std::array<unsigned char, 4> pixel)
{
    auto pixmap = std::make_shared<TPixmap>(width, height, TPixelFormat::RGBA8888);
    for (std::size_t i = 0; i < pixmap->pixels.size(); i += 4)
        std::copy(pixel.begin(), pixel.end(), pixmap->pixels.begin() + static_cast<std::ptrdiff_t>(i));
    return TImage::FromPixmap(pixmap, 0);
}

// One source pixel drawn in `mode` over a surface cleared to (100, 150, 200).
std::uint32_t DrawOverBackground(int mode, std::array<unsigned char, 4> source)
{
    auto graphics = CreateGraphics(1, 1);
    graphics->SetClearColor(100, 150, 200);
    graphics->Clear();
    graphics->SetBlend(mode);
    graphics->DrawImage(*RgbaImage(1, 1, source), 0, 0);
    return graphics->Pixel(0, 0);
}
} // namespace

TEST(GraphicsTest, BlendModesCombineSourceAndDestinationAsDocumented)
{
    // Mask: opacity 128 (just over half) draws the colour as it is; 127 draws nothing.
    EXPECT_EQ(DrawOverBackground(Blend::Mask, { 200, 100, 50, 128 }), Rgb(200, 100, 50));
    EXPECT_EQ(DrawOverBackground(Blend::Mask, { 200, 100, 50, 127 }), Rgb(100, 150, 200));
    EXPECT_EQ(DrawOverBackground(Blend::Solid, { 200, 100, 50, 0 }), Rgb(200, 100, 50));

    auto alpha = [](int s, int d) { return Round((s * 128 + d * 127) / 255.0); };
    EXPECT_EQ(
        DrawOverBackground(Blend::Alpha, { 200, 100, 50, 128 }), Rgb(alpha(200, 100), alpha(100, 150), alpha(50, 200)));
    EXPECT_EQ(DrawOverBackground(Blend::Alpha, { 200, 100, 50, 0 }), Rgb(100, 150, 200));

    auto light = [](int s, int d) { return std::min(255, Round(s * 128 / 255.0) + d); };
    EXPECT_EQ(
        DrawOverBackground(Blend::Light, { 200, 100, 50, 128 }), Rgb(light(200, 100), light(100, 150), light(50, 200)));
    EXPECT_EQ(DrawOverBackground(Blend::Light, { 255, 255, 255, 255 }), Rgb(255, 255, 255));

    auto shade = [](int s, int d) { return Round(s * d / 255.0); };
    EXPECT_EQ(
        DrawOverBackground(Blend::Shade, { 200, 100, 50, 0 }), Rgb(shade(200, 100), shade(100, 150), shade(50, 200)));

    // Unknown modes leave the current one in place.
    auto graphics = CreateGraphics(1, 1);
    EXPECT_EQ(graphics->State().blend_mode, Blend::Mask);
    graphics->SetBlend(Blend::Alpha);
    graphics->SetBlend(0);
    graphics->SetBlend(6);
    EXPECT_EQ(graphics->State().blend_mode, Blend::Alpha);
}

TEST(GraphicsTest, ImagesAreMultipliedByTheDrawingColourAndAlpha)
{
    auto graphics = CreateGraphics(2, 1);
    graphics->SetBlend(Blend::Solid);
    graphics->SetColor(128, 255, 999); // clamped to 255
    graphics->DrawImage(*RgbaImage(1, 1, { 255, 128, 10, 255 }), 0, 0);
    EXPECT_EQ(graphics->Pixel(0, 0), Rgb(128, 128, 10));
    graphics->SetColor(128, 255, 64);
    graphics->DrawImage(*RgbaImage(1, 1, { 200, 100, 255, 255 }), 1, 0);
    EXPECT_EQ(graphics->Pixel(1, 0), Rgb(Round(200 * 128 / 255.0), 100, 64));

    // Opacity is the source alpha times the drawing alpha: 200 x 0.5 = 100 over black.
    graphics->SetColor(255, 255, 255);
    graphics->SetBlend(Blend::Alpha);
    graphics->SetAlpha(0.5f);
    graphics->Clear();
    graphics->DrawImage(*RgbaImage(1, 1, { 255, 255, 255, 200 }), 0, 0);
    EXPECT_EQ(graphics->Pixel(0, 0), Rgb(100, 100, 100));
    // In mask mode the same halved alpha falls below the threshold.
    graphics->SetBlend(Blend::Mask);
    graphics->DrawImage(*RgbaImage(1, 1, { 255, 255, 255, 200 }), 1, 0);
    EXPECT_EQ(graphics->Pixel(1, 0), Rgb(0, 0, 0));

    graphics->SetAlpha(std::nanf(""));
    EXPECT_EQ(graphics->State().color_alpha, 0.0f);
}

TEST(GraphicsTest, DrawingIsClippedAndClearingLeavesOnlyTheClearColour)
{
    auto graphics = CreateGraphics(4, 3);
    EXPECT_EQ(graphics->Pixels(), std::vector<std::uint32_t>(12, Rgb(0, 0, 0)));
    graphics->SetBlend(Blend::Solid);
    auto block = RgbaImage(3, 3, { 255, 255, 255, 255 });
    for (auto [x, y] : { std::pair { -2, -2 }, { 3, 2 }, { 4, 0 }, { 0, -3 }, { 2147483600, 2147483600 } })
        graphics->DrawImage(*block, x, y);
    const std::uint32_t W = Rgb(255, 255, 255), K = Rgb(0, 0, 0);
    EXPECT_EQ(graphics->Pixels(), (std::vector<std::uint32_t> { W, K, K, K, K, K, K, K, K, K, K, W }));

    // The image's handle is the point placed at the drawing position.
    block->handle_x = block->handle_y = 1;
    graphics->DrawImage(*block, 3, 1);
    EXPECT_EQ(graphics->Pixel(2, 0), W);
    EXPECT_EQ(graphics->Pixel(1, 0), K);

    graphics->Clear();
    EXPECT_EQ(graphics->Pixels(), std::vector<std::uint32_t>(12, K));
    graphics->SetClearColor(1, 2, 3);
    graphics->Resize(5, 1); // keeps what fits, the rest gets the clear colour
    EXPECT_EQ(graphics->Pixels(), (std::vector<std::uint32_t> { K, K, K, K, Rgb(1, 2, 3) }));
}

TEST(GraphicsTest, CurrentContextCallsReachTheSelectedContextAndFlipPresentsIt)
{
    auto first = CreateGraphics(2, 2);
    auto second = CreateGraphics(1, 1);
    std::vector<const TGraphics*> presented;
    first->SetPresenter([&](const TGraphics& graphics) { presented.push_back(&graphics); });

    SelectGraphics(first);
    SetClearColor(5, 6, 7);
    SetDrawBlend(Blend::Alpha);
    SetDrawColor(1, 2, 3);
    SetDrawAlpha(0.25f); // opacity 64
    ClearGraphics();
    DrawImageAt(RgbaImage(1, 1, { 255, 255, 255, 255 }), 1, 1);
    DrawImageAt(nullptr, 0, 0);
    EXPECT_EQ(first->Pixel(0, 0), Rgb(5, 6, 7));
    EXPECT_EQ(first->Pixel(1, 1),
        Rgb(Round((64 + 5 * 191) / 255.0), Round((2 * 64 + 6 * 191) / 255.0), Round((3 * 64 + 7 * 191) / 255.0)));
    EXPECT_EQ(second->State().blend_mode, Blend::Mask);
    FlipGraphics(-1);
    EXPECT_EQ(presented, std::vector<const TGraphics*> { first.get() });

    // A context that went away leaves nothing current rather than a dangling one.
    SelectGraphics(second);
    second.reset();
    EXPECT_FALSE(CurrentGraphics());
    ClearGraphics();
    FlipGraphics(-1);
    EXPECT_EQ(TextWidthOf(u"abc"), 0);
    EXPECT_EQ(presented.size(), 1u);
}
