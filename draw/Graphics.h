// The graphics context: a 32-bit software surface, the drawing state, and the current-context calls.
//
// Pixel maths, on integer channels 0..255: s = image channel x drawing colour / 255, a = source alpha x
// drawing alpha (clamped to 0..1); alpha gives (s*a + d*(255-a)) / 255, light min(255, s*a/255 + d), shade
// s*d/255; every product and quotient is rounded to nearest. Mask draws s where a >= 128, solid always.
#pragma once

#include "draw/Image.h"
#include "draw/ImageFont.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Blend {
inline constexpr int Mask = 1; // no blending; pixels with alpha below 0.5 are not drawn
inline constexpr int Solid = 2; // no blending, alpha ignored
inline constexpr int Alpha = 3; // source x alpha + destination x (1 - alpha)
inline constexpr int Light = 4; // source x alpha + destination
inline constexpr int Shade = 5; // source x destination
} // namespace Blend

struct TDrawState {
    int color_red = 255;
    int color_green = 255;
    int color_blue = 255;
    float color_alpha = 1;
    int clscolor_red = 0;
    int clscolor_green = 0;
    int clscolor_blue = 0;
    int blend_mode = Blend::Mask;
    std::shared_ptr<TImageFont> image_font; // null: the built-in default font
};

class TGraphics {
public:
    // Shows a finished frame; the canvas that owns the context sets it.
    using Presenter = std::function<void(const TGraphics&)>;

    TGraphics(int width, int height);

    int Width() const { return _width; }
    int Height() const { return _height; }
    // Row-major from the top-left corner, Width() pixels per row, each 0xFFRRGGBB.
    const std::vector<std::uint32_t>& Pixels() const { return _pixels; }
    std::uint32_t Pixel(int x, int y) const;
    // Keeps what fits of the old surface; new pixels get the clear colour.
    void Resize(int width, int height);

    const TDrawState& State() const { return _state; }
    void SetColor(int red, int green, int blue); // each clamped to 0..255
    void SetAlpha(float alpha); // clamped to 0..1
    void SetBlend(int mode); // modes other than 1..5 are ignored
    void SetClearColor(int red, int green, int blue);
    void SetFont(std::shared_ptr<TImageFont> font);
    // The selected font, or the built-in one; null only when neither could be loaded.
    TImageFont* Font() const;

    void Clear();
    void DrawImage(const TImage& image, int x, int y, int frame = 0);
    void DrawPixmap(const TPixmap& pixmap, int x, int y);
    void DrawText(const std::u16string& text, int x, int y);
    int TextWidth(const std::u16string& text) const;

    void SetPresenter(Presenter presenter) { _presenter = std::move(presenter); }
    void Present() const;

private:
    // Coordinates of a drawing position less an image handle need more than an int.
    void Blit(const TPixmap& pixmap, long long x, long long y);
    // Brings the per-value tables up to the drawing colour and alpha when they changed since.
    void UpdateColourTables();
    void UpdateOpacityTable();

    int _width = 0;
    int _height = 0;
    std::vector<std::uint32_t> _pixels;
    TDrawState _state;
    Presenter _presenter;

    // Channel value x drawing colour, and source alpha x drawing alpha, for every value 0..255. They are
    // kept between draws: a text of many glyphs in one colour builds them once.
    std::array<int, 256> _redTable {}, _greenTable {}, _blueTable {}, _opacityTable {};
    int _tableRed = -1, _tableGreen = -1, _tableBlue = -1;
    float _tableAlpha = -1;
};

std::shared_ptr<TGraphics> CreateGraphics(int width, int height);

// The current context receives every call below; with none (or once it is gone) they do nothing.
void SelectGraphics(const std::shared_ptr<TGraphics>& graphics);
std::shared_ptr<TGraphics> CurrentGraphics();

// Presents the current context through its presenter. `sync` -1 is the default synchronisation; the
// surface is handed over as it is, so there is nothing to wait for.
void FlipGraphics(int sync = -1);
void ClearGraphics();
void SetDrawColor(int red, int green, int blue);
void SetDrawAlpha(float alpha);
void SetDrawBlend(int mode);
void SetClearColor(int red, int green, int blue);
void DrawImageAt(const std::shared_ptr<TImage>& image, int x, int y, int frame = 0);

// Null selects the built-in default font.
void SelectFont(std::shared_ptr<TImageFont> font);
// (x, y) is the top-left of the text box, whose top is the font's ascender line.
void DrawTextAt(const std::u16string& text, int x, int y);
int TextWidthOf(const std::u16string& text);

// DejaVu Sans at 12 pixels from Debian's fonts-dejavu-core, loaded on first use; null when it is missing.
std::shared_ptr<TImageFont> DefaultFont();
inline constexpr const char* DefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr int DefaultFontSize = 12;
