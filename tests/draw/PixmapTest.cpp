#include "TestFiles.h"

#include "draw/Graphics.h"
#include "draw/Image.h"
#include "draw/Pixmap.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cmath>

namespace {
std::array<int, 4> PixelOf(const TPixmap& pixmap, int x, int y)
{
    const unsigned char* p = pixmap.Row(y) + x * BytesPerPixel(pixmap.format);
    if (pixmap.format == TPixelFormat::RGBA8888)
        return { p[0], p[1], p[2], p[3] };
    return { p[0], p[1], p[2], 255 };
}

std::shared_ptr<TPixmap> RgbPixmap(int width, int height, const std::vector<unsigned char>& rgb)
{
    auto pixmap = std::make_shared<TPixmap>(width, height, TPixelFormat::RGB888);
    pixmap->pixels = rgb;
    return pixmap;
}

// Checks the colour-key rule on `masked` against the alpha-less `original`, computing each expected colour
// from the original's neighbours.
void ExpectMaskRule(const TPixmap& original, const TPixmap& masked, int maskRed, int maskGreen, int maskBlue)
{
    ASSERT_EQ(masked.format, TPixelFormat::RGBA8888);
    auto isKey = [&](int x, int y) {
        auto p = PixelOf(original, x, y);
        return p[0] == maskRed && p[1] == maskGreen && p[2] == maskBlue;
    };
    for (int y = 0; y < original.height; ++y) {
        for (int x = 0; x < original.width; ++x) {
            auto source = PixelOf(original, x, y);
            auto result = PixelOf(masked, x, y);
            if (!isKey(x, y)) {
                EXPECT_EQ(result, (std::array<int, 4> { source[0], source[1], source[2], 255 })) << x << "," << y;
                continue;
            }
            double sum[3] = { 0, 0, 0 };
            int count = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny)
                for (int nx = x - 1; nx <= x + 1; ++nx)
                    if (nx >= 0 && ny >= 0 && nx < original.width && ny < original.height && !isKey(nx, ny)) {
                        auto n = PixelOf(original, nx, ny);
                        for (int c = 0; c < 3; ++c)
                            sum[c] += n[c];
                        ++count;
                    }
            std::array<int, 4> expected { maskRed, maskGreen, maskBlue, 0 };
            for (int c = 0; count && c < 3; ++c)
                expected[static_cast<std::size_t>(c)] = static_cast<int>(std::floor(sum[c] / count + 0.5));
            EXPECT_EQ(result, expected) << x << "," << y;
        }
    }
}
} // namespace

TEST(PixmapTest, PngColourTypesAreNormalisedToEightBitRgbOrRgba)
{
    struct Case {
        const char* name;
        TPngPicture png;
        TPixelFormat format;
        std::vector<unsigned char> pixels;
    };
    TPngPicture palette { 3, 1, PNG_COLOR_TYPE_PALETTE, 2, { 0x1C } }; // two-bit indices 0, 1, 3
    palette.palette = { 255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 8, 7 };
    TPngPicture paletteAlpha = palette;
    paletteAlpha.transparency = { 0, 128 }; // entries past the list stay opaque
    TPngPicture greyKey { 2, 1, PNG_COLOR_TYPE_GRAY, 8, { 7, 90 } };
    greyKey.transparency = { 0, 7 };
    const std::vector<Case> cases {
        { "rgb", { 2, 1, PNG_COLOR_TYPE_RGB, 8, { 10, 20, 30, 40, 50, 60 } }, TPixelFormat::RGB888,
            { 10, 20, 30, 40, 50, 60 } },
        { "rgba", { 1, 2, PNG_COLOR_TYPE_RGBA, 8, { 1, 2, 3, 0, 4, 5, 6, 200 } }, TPixelFormat::RGBA8888,
            { 1, 2, 3, 0, 4, 5, 6, 200 } },
        { "palette", palette, TPixelFormat::RGB888, { 255, 0, 0, 0, 255, 0, 9, 8, 7 } },
        { "palette-alpha", paletteAlpha, TPixelFormat::RGBA8888, { 255, 0, 0, 0, 0, 255, 0, 128, 9, 8, 7, 255 } },
        { "grey1", { 3, 1, PNG_COLOR_TYPE_GRAY, 1, { 0xA0 } }, TPixelFormat::RGB888,
            { 255, 255, 255, 0, 0, 0, 255, 255, 255 } },
        { "grey-key", greyKey, TPixelFormat::RGBA8888, { 7, 7, 7, 0, 90, 90, 90, 255 } },
        { "grey-alpha", { 1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, { 60, 30 } }, TPixelFormat::RGBA8888,
            { 60, 60, 60, 30 } },
        { "rgb16", { 1, 1, PNG_COLOR_TYPE_RGB, 16, { 0xFF, 0xFF, 0x80, 0x80, 0x00, 0x00 } }, TPixelFormat::RGB888,
            { 255, 128, 0 } },
    };
    TTestFolder folder;
    for (const Case& c : cases) {
        const std::string path = folder.File(std::string(c.name) + ".png");
        WritePng(path, c.png);
        auto pixmap = LoadPixmapUrl(path);
        ASSERT_TRUE(pixmap) << c.name;
        EXPECT_EQ(pixmap->format, c.format) << c.name;
        EXPECT_EQ(std::pair(pixmap->width, pixmap->height), std::pair(c.png.width, c.png.height)) << c.name;
        EXPECT_EQ(pixmap->pitch, c.png.width * BytesPerPixel(c.format)) << c.name;
        EXPECT_EQ(pixmap->pixels, c.pixels) << c.name;
    }
}

TEST(PixmapTest, DamagedOrForeignDataGivesNull)
{
    TTestFolder folder;
    std::vector<unsigned char> rgb(32 * 32 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<unsigned char>(i * 7);
    WritePng(folder.File("good.png"), { 32, 32, PNG_COLOR_TYPE_RGB, 8, rgb });
    WriteJpeg(folder.File("good.jpg"), 32, 32, rgb);
    const std::vector<unsigned char> png = ReadFile(folder.File("good.png"));
    const std::vector<unsigned char> jpeg = ReadFile(folder.File("good.jpg"));
    ASSERT_TRUE(DecodePixmap(png));
    ASSERT_TRUE(DecodePixmap(jpeg));

    EXPECT_FALSE(DecodePixmap({ png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2) }));
    EXPECT_FALSE(DecodePixmap({ jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() / 2) }));
    EXPECT_FALSE(DecodePixmap({ png.begin(), png.begin() + 8 })); // the signature alone
    EXPECT_FALSE(DecodePixmap({ 0xFF, 0xD8, 0xFF }));

    std::vector<unsigned char> flipped = png;
    for (std::size_t i = 60; i < 70; ++i)
        flipped[i] ^= 0x5A; // breaks the data and its checksum
    EXPECT_FALSE(DecodePixmap(flipped));

    // Pictures wider than the decoders accept are refused before their pixels are allocated.
    WritePng(folder.File("wide.png"),
        { MaxPixmapSide + 1, 1, PNG_COLOR_TYPE_GRAY, 8, std::vector<unsigned char>(MaxPixmapSide + 1) });
    EXPECT_FALSE(LoadPixmapUrl(folder.File("wide.png")));
    WritePng(folder.File("widest.png"),
        { MaxPixmapSide, 1, PNG_COLOR_TYPE_GRAY, 8, std::vector<unsigned char>(MaxPixmapSide) });
    EXPECT_TRUE(LoadPixmapUrl(folder.File("widest.png")));

    EXPECT_FALSE(DecodePixmap({}));
    EXPECT_FALSE(DecodePixmap({ 'G', 'I', 'F', '8', '9', 'a' }));
    WriteFile(folder.File("text.png"), { 'h', 'e', 'l', 'l', 'o' });
    EXPECT_FALSE(LoadPixmapUrl(folder.File("text.png")));
    EXPECT_FALSE(LoadPixmapUrl(folder.File("missing.png")));
    EXPECT_FALSE(LoadImageUrl(folder.File("missing.png"), -1));
}

TEST(PixmapTest, JpegDecodesToRgbAndDefaultFlagsMakeExactlyBlackPixelsTransparent)
{
    TTestFolder folder;
    // 16 x 16 in flat 8 x 8 blocks: black, orange, blue and a block of near-black that must stay opaque.
    const int size = 16;
    std::vector<unsigned char> rgb(size * size * 3);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            unsigned char* p = &rgb[static_cast<std::size_t>((y * size + x) * 3)];
            int block = (y / 8) * 2 + x / 8;
            const unsigned char colours[4][3] = { { 0, 0, 0 }, { 200, 120, 40 }, { 30, 60, 220 }, { 4, 4, 4 } };
            std::copy_n(colours[block], 3, p);
        }
    }
    const std::string path = folder.File("hud.jpg");
    WriteJpeg(path, size, size, rgb);

    auto decoded = LoadPixmapUrl(path);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->format, TPixelFormat::RGB888);
    EXPECT_EQ(decoded->width, size);
    EXPECT_EQ(decoded->height, size);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        ASSERT_NEAR(decoded->pixels[i], rgb[i], 3) << i;
    ASSERT_EQ(PixelOf(*decoded, 2, 2), (std::array<int, 4> { 0, 0, 0, 255 })) << "the black block must decode exactly";

    auto image = LoadImageUrl(path, -1);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->flags, ImageFlag::Masked | ImageFlag::Filtered);
    EXPECT_EQ(image->Frames(), 1);
    EXPECT_EQ(image->width, size);
    ExpectMaskRule(*decoded, *image->pixmaps[0], 0, 0, 0);
    EXPECT_EQ(PixelOf(*image->pixmaps[0], 12, 12)[3], 255); // near-black is not black

    // Drawn over the black clear colour, the transparent pixels show exactly what the picture had.
    auto graphics = CreateGraphics(size, size);
    graphics->SetBlend(Blend::Alpha);
    graphics->Clear();
    graphics->DrawImage(*image, 0, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            auto p = PixelOf(*decoded, x, y);
            ASSERT_EQ(graphics->Pixel(x, y), 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2]) << x << "," << y;
        }

    auto unmasked = LoadImageUrl(path, ImageFlag::Filtered);
    ASSERT_TRUE(unmasked);
    EXPECT_EQ(unmasked->pixmaps[0]->format, TPixelFormat::RGB888);
}

TEST(PixmapTest, MaskedPixelsTakeTheRoundedAverageOfTheirUnmaskedNeighbours)
{
    // clang-format off
    auto pixmap = RgbPixmap(3, 3, {
        10, 0, 0,   0, 0, 0,   20, 0, 0,
        0, 0, 0,    0, 0, 0,   0, 30, 0,
        0, 0, 1,    40, 0, 0,  0, 0, 0 });
    // clang-format on
    auto image = TImage::FromPixmap(pixmap, ImageFlag::Masked);
    ASSERT_TRUE(image);
    const TPixmap& masked = *image->pixmaps[0];
    // Centre: (10 + 20 + 0 + 0 + 40, 30, 1) / 5.
    EXPECT_EQ(PixelOf(masked, 1, 1), (std::array<int, 4> { 14, 6, 0, 0 }));
    ExpectMaskRule(*pixmap, masked, 0, 0, 0);

    // Without unmasked neighbours a key pixel keeps its colour.
    auto lone = TImage::FromPixmap(RgbPixmap(1, 1, { 0, 0, 0 }), ImageFlag::Masked);
    EXPECT_EQ(PixelOf(*lone->pixmaps[0], 0, 0), (std::array<int, 4> { 0, 0, 0, 0 }));

    // Any mask colour; black is then ordinary.
    auto magenta = RgbPixmap(2, 1, { 255, 0, 255, 0, 0, 0 });
    auto keyed = TImage::FromPixmap(magenta, -1, 255, 0, 255);
    ExpectMaskRule(*magenta, *keyed->pixmaps[0], 255, 0, 255);
    EXPECT_EQ(PixelOf(*keyed->pixmaps[0], 0, 0), (std::array<int, 4> { 0, 0, 0, 0 }));

    // Pictures with their own alpha are left alone.
    auto rgba = std::make_shared<TPixmap>(1, 1, TPixelFormat::RGBA8888);
    rgba->pixels = { 0, 0, 0, 255 };
    auto kept = TImage::FromPixmap(rgba, ImageFlag::Masked);
    EXPECT_EQ(kept->pixmaps[0], rgba);
}
