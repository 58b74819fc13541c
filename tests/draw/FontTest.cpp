#include "TestFiles.h"

#include "draw/Graphics.h"
#include "draw/ImageFont.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace {
// The same face opened straight through FreeType, as the reference the font layer must agree with.
class ReferenceFace {
public:
    explicit ReferenceFace(int size)
    {
        FT_Init_FreeType(&_library);
        FT_New_Face(_library, LiberationSans, 0, &_face);
        FT_Set_Pixel_Sizes(_face, 0, static_cast<FT_UInt>(size));
    }
    ~ReferenceFace()
    {
        FT_Done_Face(_face);
        FT_Done_FreeType(_library);
    }
    FT_GlyphSlot Render(char32_t c)
    {
        EXPECT_EQ(FT_Load_Char(_face, c, FT_LOAD_RENDER), 0);
        return _face->glyph;
    }
    int Ascender() const { return static_cast<int>(_face->size->metrics.ascender >> 6); }
    int Height() const { return static_cast<int>(_face->size->metrics.height >> 6); }
    bool Has(char32_t c) const { return FT_Get_Char_Index(_face, c) != 0; }

private:
    FT_Library _library = nullptr;
    FT_Face _face = nullptr;
};

int Coverage(const TPixmap& pixmap, int x, int y)
{
    if (x < 0 || y < 0 || x >= pixmap.width || y >= pixmap.height)
        return 0;
    return pixmap.Row(y)[x];
}
} // namespace

TEST(FontTest, GlyphsMatchFreeTypeAndTheSmoothStyleAddsATransparentBorder)
{
    ReferenceFace reference(13);
    auto plain = TFreeTypeFont::Load(LiberationSans, 13, 0);
    auto smooth = TFreeTypeFont::Load(LiberationSans, 13, FontStyle::Smooth);
    ASSERT_TRUE(plain);
    ASSERT_TRUE(smooth);
    EXPECT_EQ(plain->Height(), reference.Height());
    EXPECT_EQ(plain->Ascend(), reference.Ascender());
    EXPECT_LT(plain->Descend(), 0);

    for (char32_t c : std::u32string(U"AgW|.,j")) {
        FT_GlyphSlot slot = reference.Render(c);
        const int width = static_cast<int>(slot->bitmap.width);
        const int rows = static_cast<int>(slot->bitmap.rows);
        const TFreeTypeGlyph& p = plain->Glyph(plain->CharToGlyph(c));
        EXPECT_EQ(std::tie(p._x, p._y, p._w, p._h),
            std::make_tuple(slot->bitmap_left, reference.Ascender() - slot->bitmap_top, width, rows));
        EXPECT_EQ(p._advance, static_cast<float>(slot->advance.x >> 6));

        const TFreeTypeGlyph& s = smooth->Glyph(smooth->CharToGlyph(c));
        ASSERT_TRUE(p._pixmap && s._pixmap);
        EXPECT_EQ(std::tie(s._x, s._y, s._w, s._h), std::make_tuple(p._x - 1, p._y - 1, p._w + 2, p._h + 2));
        EXPECT_EQ(s._pixmap->width, width + 2);
        EXPECT_EQ(s._pixmap->height, rows + 2);
        EXPECT_EQ(s._pixmap->format, TPixelFormat::Alpha8);
        for (int y = -1; y <= rows; ++y)
            for (int x = -1; x <= width; ++x) {
                int expected
                    = (x >= 0 && y >= 0 && x < width && y < rows) ? slot->bitmap.buffer[y * slot->bitmap.pitch + x] : 0;
                ASSERT_EQ(Coverage(*s._pixmap, x + 1, y + 1), expected) << char(c) << " " << x << "," << y;
                ASSERT_EQ(Coverage(*p._pixmap, x, y), expected);
            }
    }

    // The drawable font made the way the program loads its HUD font.
    auto font = LoadFontUrl(LiberationSans, 13, FontStyle::Smooth);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->ImageFlags(), ImageFlag::Filtered | ImageFlag::MipMapped);
    EXPECT_EQ(font->Height(), reference.Height());
    const TImageGlyph& a = font->Glyph(font->CharToGlyph(U'A'));
    ASSERT_TRUE(a._image);
    EXPECT_EQ(a._image->width, static_cast<int>(reference.Render(U'A')->bitmap.width) + 2);
    EXPECT_EQ(a._image->height, static_cast<int>(reference.Render(U'A')->bitmap.rows) + 2);
    EXPECT_EQ(LoadFontUrl(LiberationSans, 13, 0)->ImageFlags(), 0);

    EXPECT_EQ(font->Glyph(-1)._image, nullptr);
    EXPECT_EQ(font->Glyph(1 << 30)._advance, 0.0f);

    TTestFolder folder;
    WriteFile(folder.File("not-a-font.ttf"), { 'n', 'o', 'p', 'e' });
    EXPECT_FALSE(LoadFontUrl(folder.File("not-a-font.ttf"), 13, 4));
    EXPECT_FALSE(LoadFontUrl(folder.File("missing.ttf"), 13, 4));
    EXPECT_FALSE(LoadFontUrl(LiberationSans, 0, 4));
}

TEST(FontTest, TextWidthSumsAdvancesOfTheCharactersTheFontHas)
{
    ReferenceFace reference(13);
    auto font = LoadFontUrl(LiberationSans, 13, FontStyle::Smooth);
    ASSERT_TRUE(font);
    auto advance = [&](char32_t c) { return static_cast<int>(reference.Render(c)->advance.x >> 6); };

    EXPECT_EQ(font->TextWidth(u""), 0);
    ASSERT_FALSE(reference.Has(U'\u4E2D'));
    ASSERT_FALSE(reference.Has(U'\U0001F600'));
    EXPECT_EQ(font->TextWidth(u"\u4E2D\u6587"), 0);
    EXPECT_EQ(font->TextWidth(u"\U0001F600"), 0);
    EXPECT_EQ(font->TextWidth(u"A\U0001F600V"), advance(U'A') + advance(U'V'));
    EXPECT_GT(font->TextWidth(u" "), 0);
    EXPECT_EQ(font->TextWidth(u"Hello, \u00A9 world"), [&] {
        int sum = 0;
        for (char32_t c : std::u32string(U"Hello, \u00A9 world"))
            sum += advance(c);
        return sum;
    }());

    // A space moves the pen without drawing; a missing character neither draws nor moves it.
    const int space = advance(U' ');
    auto graphics = CreateGraphics(40, 20);
    graphics->SetFont(font);
    graphics->SetBlend(Blend::Alpha);
    graphics->DrawText(u"   ", 2, 2);
    EXPECT_EQ(graphics->Pixels(), std::vector<std::uint32_t>(40 * 20, 0xFF000000u));
    graphics->DrawText(u"I", 10 + space, 2);
    const std::vector<std::uint32_t> expected = graphics->Pixels();
    EXPECT_NE(expected, std::vector<std::uint32_t>(40 * 20, 0xFF000000u));
    for (const char16_t* text : { u" I", u"\u4E2D I", u"\U0001F600 I" }) {
        graphics->Clear();
        graphics->DrawText(text, 10, 2);
        EXPECT_EQ(graphics->Pixels(), expected);
    }
}

TEST(FontTest, BlackTextPaintsCoverageTimesAlphaOverWhite)
{
    ReferenceFace reference(13);
    auto font = LoadFontUrl(LiberationSans, 13, FontStyle::Smooth);
    ASSERT_TRUE(font);
    FT_GlyphSlot slot = reference.Render(U'H');
    const int width = static_cast<int>(slot->bitmap.width);
    const int rows = static_cast<int>(slot->bitmap.rows);
    const int penX = 5;
    const int penY = 3;
    const int left = penX + slot->bitmap_left;
    const int top = penY + reference.Ascender() - slot->bitmap_top;

    for (float alpha : { 1.0f, 0.5f }) {
        auto graphics = CreateGraphics(30, 30);
        SelectGraphics(graphics);
        SelectFont(font);
        SetDrawBlend(Blend::Alpha);
        SetClearColor(255, 255, 255);
        ClearGraphics();
        SetDrawColor(0, 0, 0);
        SetDrawAlpha(alpha);
        DrawTextAt(u"H", penX, penY);

        int fullyCovered = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                const int gx = x - left;
                const int gy = y - top;
                const int coverage = (gx >= 0 && gy >= 0 && gx < width && gy < rows)
                    ? slot->bitmap.buffer[gy * slot->bitmap.pitch + gx]
                    : 0;
                const int opacity = static_cast<int>(std::lround(coverage * alpha));
                const int channel = static_cast<int>(std::floor(255.0 * (255 - opacity) / 255.0 + 0.5));
                ASSERT_EQ(graphics->Pixel(x, y), 0xFF000000u | channel << 16 | channel << 8 | channel)
                    << "alpha " << alpha << " at " << x << "," << y;
                // Where the glyph is solid: black at alpha 1, half-grey (255 - 128) at alpha 0.5.
                if (coverage == 255) {
                    ++fullyCovered;
                    EXPECT_EQ(graphics->Pixel(x, y), alpha == 1.0f ? 0xFF000000u : 0xFF7F7F7Fu);
                }
            }
        }
        EXPECT_GT(fullyCovered, 0);
    }
    SelectGraphics(nullptr);
}

TEST(FontTest, TextCutByTheSurfaceEdgesShowsWhatTheWholeTextShowsThere)
{
    auto font = LoadFontUrl(LiberationSans, 13, FontStyle::Smooth);
    ASSERT_TRUE(font);
    // 'j' and 'f' reach left of their pens; the copyright sign and umlauts lie beyond ASCII.
    std::u16string text;
    for (int i = 0; i < 40; ++i)
        text += u"jagged Wj fij, 0123 \u00A9\u00C4\u00D6 ";
    constexpr int margin = 20, top = 10;
    const int wideWidth = font->TextWidth(text) + 2 * margin;
    constexpr int wideHeight = 40, width = 50, height = 20;
    auto draw = [&](int surfaceWidth, int surfaceHeight, int x, int y) {
        TGraphics graphics(surfaceWidth, surfaceHeight);
        graphics.SetClearColor(30, 60, 90);
        graphics.Clear();
        graphics.SetFont(font);
        graphics.SetBlend(Blend::Alpha);
        graphics.SetColor(250, 200, 0);
        graphics.DrawText(text, x, y);
        return graphics;
    };
    const TGraphics whole = draw(wideWidth, wideHeight, margin, top);
    const std::uint32_t clear = 0xFF1E3C5Au;

    // The small surface shows the window of the whole drawing whose top-left corner is (left, above). Its
    // right edge sweeps across the first words, so that it cuts every glyph, those reaching left of their
    // pen too; the last windows hold the end of the text.
    std::vector<std::pair<int, int>> windows;
    for (int left = -30; left < 120; ++left)
        windows.emplace_back(left, left % 4 == 0 ? 0 : left % 4 == 1 ? 5 : left % 4 == 2 ? -8 : 28);
    windows.emplace_back(wideWidth / 2, 3);
    windows.emplace_back(wideWidth - width, 12);
    windows.emplace_back(wideWidth - 10, 0);
    for (auto [left, above] : windows) {
        const TGraphics part = draw(width, height, margin - left, top - above);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int wx = x + left, wy = y + above;
                const bool inside = wx >= 0 && wy >= 0 && wx < wideWidth && wy < wideHeight;
                ASSERT_EQ(part.Pixel(x, y), inside ? whole.Pixel(wx, wy) : clear)
                    << "window " << left << "," << above << " at " << x << "," << y;
            }
    }

    // Pens that leave the int range touch nothing.
    for (auto [x, y] : { std::pair { INT_MIN, 0 }, { INT_MAX, 0 }, { INT_MAX - 5, 0 }, { 0, INT_MIN }, { 0, INT_MAX },
             { INT_MIN + 1, INT_MAX - 1 } }) {
        const TGraphics far = draw(width, height, x, y);
        EXPECT_EQ(far.Pixels(), std::vector<std::uint32_t>(width * height, clear)) << x << "," << y;
    }
}

TEST(FontTest, TheWalkEndsOncePensArePastTheRightEdge)
{
    auto font = LoadFontUrl(LiberationSans, 13, FontStyle::Smooth);
    ASSERT_TRUE(font);
    const std::u16string text(10000, u'a');
    const float advance = font->Glyph(font->CharToGlyph(U'a'))._advance;
    ASSERT_GT(advance, 0);
    for (int start : { -50, 0, 90, 100, 5000 }) {
        int handed = 0;
        font->Draw(
            text, start, 0, [&](const TImage&, int, int) { ++handed; }, 100);
        const int past = 100 + font->SourceFont().LeftReach() - start;
        const int expected = past <= 0 ? 0 : static_cast<int>(std::ceil(past / advance));
        EXPECT_EQ(handed, expected) << "from " << start;
    }
    int handed = 0;
    font->Draw(text, 0, 0, [&](const TImage&, int, int) { ++handed; });
    EXPECT_EQ(handed, 10000);
}

TEST(FontTest, NullFontSelectsTheBuiltInDefault)
{
    auto font = LoadFontUrl(LiberationSans, 13, FontStyle::Smooth);
    auto graphics = CreateGraphics(60, 20);
    graphics->SetFont(font);
    EXPECT_EQ(graphics->Font(), font.get());
    graphics->SetFont(nullptr);
    ASSERT_TRUE(DefaultFont()) << "the default font comes from fonts-dejavu-core";
    EXPECT_EQ(graphics->Font(), DefaultFont().get());
    EXPECT_EQ(DefaultFont()->SourceFont().PixelSize(), DefaultFontSize);
    EXPECT_GT(graphics->TextWidth(u"Hello"), 0);
    graphics->SetBlend(Blend::Alpha);
    graphics->DrawText(u"Hello", 0, 0);
    EXPECT_NE(graphics->Pixels(), std::vector<std::uint32_t>(60 * 20, 0xFF000000u));
}

TEST(FontTest, Utf16TextIsWalkedByCodePoint)
{
    std::u32string seen;
    auto collect = [&](char32_t c) { seen.push_back(c); };
    ForEachCodePoint(u"a\U0001F600b", collect);
    EXPECT_EQ(seen, U"a\U0001F600b");

    // Unpaired halves stand for themselves.
    seen.clear();
    const std::u16string broken { u'x', char16_t(0xD83D), u'y', char16_t(0xDE00), char16_t(0xD83D) };
    ForEachCodePoint(broken, collect);
    EXPECT_EQ(seen, (std::u32string { U'x', 0xD83D, U'y', 0xDE00, 0xD83D }));
}
