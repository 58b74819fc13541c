#include "draw/Graphics.h"

#include <gtest/gtest.h>

#include <climits>
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

std::shared_ptr<TPixmap> PatternPixmap(int width, int height, TPixelFormat format, std::vector<int> alphas = { 255 })
{
    auto pixmap = std::make_shared<TPixmap>(width, height, format);
    const int step = BytesPerPixel(format);
    std::size_t next = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = pixmap->Row(y) + x * step;
            const int alpha = alphas[next++ % alphas.size()];
            if (format == TPixelFormat::Alpha8) {
                p[0] = static_cast<unsigned char>(alpha);
                continue;
            }
            p[0] = static_cast<unsigned char>(x * 37 + y * 5);
            p[1] = static_cast<unsigned char>(255 - y * 53);
            p[2] = static_cast<unsigned char>(x * y * 11 + 3);
            if (format == TPixelFormat::RGBA8888)
                p[3] = static_cast<unsigned char>(alpha);
        }
    }
    return pixmap;
}

// The documented pixel maths, one channel at a time in floating point.
int ExpectedChannel(int mode, int image, int colour, int sourceAlpha, float alpha, int destination)
{
    const int s = Round(image * colour / 255.0);
    const int a = Round(sourceAlpha * static_cast<double>(alpha));
    switch (mode) {
    case Blend::Mask:
        return a >= 128 ? s : destination;
    case Blend::Alpha:
        return Round((s * a + destination * (255 - a)) / 255.0);
    case Blend::Light:
        return std::min(255, Round(s * a / 255.0) + destination);
    case Blend::Shade:
        return Round(s * destination / 255.0);
    default:
        return s;
    }
}

std::vector<std::uint32_t> ExpectedDraw(std::vector<std::uint32_t> surface, int width, const TPixmap& source,
    long long left, long long top, const TDrawState& state)
{
    const int height = static_cast<int>(surface.size()) / width;
    const int step = BytesPerPixel(source.format);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const long long sx = x - left, sy = y - top;
            if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height)
                continue;
            const unsigned char* p = source.Row(static_cast<int>(sy)) + sx * step;
            const bool glyph = source.format == TPixelFormat::Alpha8;
            const int image[3] = { glyph ? 255 : p[0], glyph ? 255 : p[1], glyph ? 255 : p[2] };
            const int sourceAlpha = glyph ? p[0] : source.format == TPixelFormat::RGBA8888 ? p[3] : 255;
            const int colour[3] = { state.color_red, state.color_green, state.color_blue };
            std::uint32_t& d = surface[static_cast<std::size_t>(y) * width + x];
            int channels[3];
            for (int c = 0; c < 3; ++c)
                channels[c] = ExpectedChannel(state.blend_mode, image[c], colour[c], sourceAlpha, state.color_alpha,
                    static_cast<int>((d >> (16 - 8 * c)) & 0xFF));
            d = Rgb(channels[0], channels[1], channels[2]);
        }
    }
    return surface;
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

TEST(GraphicsTest, EveryFormatModeColourAndPositionFollowsThePixelMaths)
{
    struct Source {
        const char* name;
        std::shared_ptr<TPixmap> pixmap;
    };
    const std::vector<int> alphas { 0, 1, 127, 128, 200, 254, 255, 64 };
    const Source sources[] = {
        { "opaque RGB888", PatternPixmap(7, 5, TPixelFormat::RGB888) },
        { "opaque RGBA8888", PatternPixmap(7, 5, TPixelFormat::RGBA8888) },
        { "RGBA8888 with mixed alpha", PatternPixmap(7, 5, TPixelFormat::RGBA8888, alphas) },
        { "glyph coverage", PatternPixmap(7, 5, TPixelFormat::Alpha8, alphas) },
    };
    struct Colour {
        int red, green, blue;
        float alpha;
    };
    // White at alpha 1 draws opaque pictures as they are; 0.999 still gives full opacity for 255, 0.5
    // only just passes the mask's threshold and 0.4 falls below it.
    const Colour colours[] = { { 255, 255, 255, 1.0f }, { 255, 255, 255, 0.999f }, { 255, 255, 255, 0.5f },
        { 255, 255, 255, 0.4f }, { 200, 100, 50, 0.5f }, { 0, 0, 0, 1.0f }, { 255, 220, 0, 0.25f } };
    struct Placement {
        int x, y, handleX, handleY;
    };
    const Placement placements[] = {
        { 4, 3, 0, 0 },
        { -3, 2, 0, 0 },
        { 13, 4, 0, 0 },
        { 5, -2, 0, 0 },
        { 6, 10, 0, 0 },
        { -6, -4, 0, 0 },
        { 15, 11, 0, 0 },
        { 16, 0, 0, 0 },
        { -7, 0, 0, 0 },
        { 0, -5, 0, 0 },
        { 1000, 1000, 0, 0 },
        { INT_MIN, INT_MIN, 0, 0 },
        { INT_MAX, INT_MAX, 0, 0 },
        { INT_MAX - 3, 2, 0, 0 },
        // Positions less the handle overflow an int, or bring a far position back onto the surface.
        { INT_MAX, 1, -9, 0 },
        { 5, 2, INT_MIN, 0 },
        { INT_MAX, 1, INT_MIN, 0 },
        { INT_MIN + 3, INT_MIN + 2, INT_MIN, INT_MIN },
    };

    constexpr int width = 16, height = 12;
    const auto background = PatternPixmap(width, height, TPixelFormat::RGB888);
    for (const Source& source : sources) {
        auto image = TImage::FromPixmap(source.pixmap, 0);
        for (int mode = Blend::Mask; mode <= Blend::Shade; ++mode) {
            for (const Colour& colour : colours) {
                for (const Placement& at : placements) {
                    TGraphics graphics(width, height);
                    graphics.SetBlend(Blend::Solid);
                    graphics.DrawPixmap(*background, 0, 0);
                    graphics.SetBlend(mode);
                    graphics.SetColor(colour.red, colour.green, colour.blue);
                    graphics.SetAlpha(colour.alpha);
                    image->handle_x = at.handleX;
                    image->handle_y = at.handleY;
                    const std::vector<std::uint32_t> expected = ExpectedDraw(graphics.Pixels(), width, *source.pixmap,
                        static_cast<long long>(at.x) - at.handleX, static_cast<long long>(at.y) - at.handleY,
                        graphics.State());
                    graphics.DrawImage(*image, at.x, at.y);
                    ASSERT_EQ(graphics.Pixels(), expected)
                        << source.name << ", mode " << mode << ", colour " << colour.red << "," << colour.green << ","
                        << colour.blue << " alpha " << colour.alpha << ", at " << at.x << "," << at.y << " handle "
                        << at.handleX << "," << at.handleY;
                }
            }
        }
    }
}

TEST(GraphicsTest, TheOpaqueCopyOfAPixmapFollowsItsPixels)
{
    auto pixmap = PatternPixmap(3, 2, TPixelFormat::RGBA8888);
    TGraphics graphics(3, 2);
    graphics.SetBlend(Blend::Alpha);
    graphics.DrawPixmap(*pixmap, 0, 0);
    EXPECT_EQ(graphics.Pixel(1, 1), Rgb(42, 202, 14));

    // A pixel made transparent in place: the next draw must blend it, not copy the old opaque one.
    pixmap->Row(1)[1 * 4 + 3] = 0;
    pixmap->PixelsChanged();
    graphics.Clear();
    graphics.DrawPixmap(*pixmap, 0, 0);
    EXPECT_EQ(graphics.Pixel(1, 1), Rgb(0, 0, 0));
    EXPECT_EQ(graphics.Pixel(0, 1), Rgb(5, 202, 3));

    // A new buffer is noticed without being told.
    pixmap->pixels.assign(pixmap->pixels.size(), 255);
    graphics.DrawPixmap(*pixmap, 0, 0);
    EXPECT_EQ(graphics.Pixels(), std::vector<std::uint32_t>(6, Rgb(255, 255, 255)));
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
