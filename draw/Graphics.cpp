#include "draw/Graphics.h"

#include <algorithm>
#include <cmath>

namespace {
// Exact round(value / 255) for value in 0..255 * 255.
inline int Div255(int value)
{
    value += 128;
    return (value + (value >> 8)) >> 8;
}

inline int Mul255(int a, int b)
{
    return Div255(a * b);
}

inline int ClampByte(int value)
{
    return std::clamp(value, 0, 255);
}

inline std::uint32_t Opaque(int red, int green, int blue)
{
    return 0xFF000000u | (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(green) << 8)
        | static_cast<std::uint32_t>(blue);
}

template <int Mode> inline int BlendChannel(int source, int opacity, int destination)
{
    if constexpr (Mode == Blend::Alpha)
        return Div255(source * opacity + destination * (255 - opacity));
    else if constexpr (Mode == Blend::Light)
        return std::min(255, Mul255(source, opacity) + destination);
    else if constexpr (Mode == Blend::Shade)
        return Mul255(source, destination);
    else
        return source; // Mask and Solid; Mask has already dropped the faint pixels
}

struct TBlendTables {
    const int* red; // channel value x drawing colour
    const int* green;
    const int* blue;
    const int* opacity; // source alpha x drawing alpha
    int colourRed; // what the tables give for 255, the only channel value of a glyph
    int colourGreen;
    int colourBlue;
};

// One clipped row of a pixmap onto the surface, with the format and the mode fixed at compile time so that
// the pixel loop has no branch but the ones the maths needs.
template <TPixelFormat Format, int Mode>
void BlendRow(const unsigned char* in, std::uint32_t* out, long long count, const TBlendTables& tables)
{
    constexpr int step = Format == TPixelFormat::Alpha8 ? 1 : Format == TPixelFormat::RGB888 ? 3 : 4;
    for (long long i = 0; i < count; ++i, in += step, ++out) {
        int red = tables.colourRed, green = tables.colourGreen, blue = tables.colourBlue;
        if constexpr (Format != TPixelFormat::Alpha8) {
            red = tables.red[in[0]];
            green = tables.green[in[1]];
            blue = tables.blue[in[2]];
        }
        int opacity = tables.opacity[255];
        if constexpr (Format == TPixelFormat::Alpha8)
            opacity = tables.opacity[in[0]];
        else if constexpr (Format == TPixelFormat::RGBA8888)
            opacity = tables.opacity[in[3]];

        if constexpr (Mode == Blend::Mask) {
            if (opacity < 128)
                continue;
        } else if constexpr (Mode == Blend::Alpha || Mode == Blend::Light) {
            if (opacity == 0)
                continue; // both formulas give the destination back exactly
        }
        const std::uint32_t d = *out;
        *out = Opaque(BlendChannel<Mode>(red, opacity, (d >> 16) & 0xFF),
            BlendChannel<Mode>(green, opacity, (d >> 8) & 0xFF), BlendChannel<Mode>(blue, opacity, d & 0xFF));
    }
}

using TRowBlender = void (*)(const unsigned char*, std::uint32_t*, long long, const TBlendTables&);

template <TPixelFormat Format> TRowBlender RowBlenderFor(int mode)
{
    switch (mode) {
    case Blend::Solid:
        return BlendRow<Format, Blend::Solid>;
    case Blend::Alpha:
        return BlendRow<Format, Blend::Alpha>;
    case Blend::Light:
        return BlendRow<Format, Blend::Light>;
    case Blend::Shade:
        return BlendRow<Format, Blend::Shade>;
    default:
        return BlendRow<Format, Blend::Mask>;
    }
}

TRowBlender RowBlenderFor(TPixelFormat format, int mode)
{
    switch (format) {
    case TPixelFormat::Alpha8:
        return RowBlenderFor<TPixelFormat::Alpha8>(mode);
    case TPixelFormat::RGB888:
        return RowBlenderFor<TPixelFormat::RGB888>(mode);
    case TPixelFormat::RGBA8888:
        break;
    }
    return RowBlenderFor<TPixelFormat::RGBA8888>(mode);
}

std::weak_ptr<TGraphics>& Current()
{
    static std::weak_ptr<TGraphics> current;
    return current;
}
} // namespace

TGraphics::TGraphics(int width, int height)
{
    Resize(width, height);
}

std::uint32_t TGraphics::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= _width || y >= _height)
        return 0;
    return _pixels[static_cast<std::size_t>(y) * _width + x];
}

void TGraphics::Resize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height,
        Opaque(_state.clscolor_red, _state.clscolor_green, _state.clscolor_blue));
    const int keepWidth = std::min(width, _width);
    for (int y = 0; y < std::min(height, _height); ++y)
        std::copy_n(_pixels.begin() + static_cast<std::ptrdiff_t>(y) * _width, keepWidth,
            pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
    _pixels = std::move(pixels);
    _width = width;
    _height = height;
}

void TGraphics::SetColor(int red, int green, int blue)
{
    _state.color_red = ClampByte(red);
    _state.color_green = ClampByte(green);
    _state.color_blue = ClampByte(blue);
}

void TGraphics::SetAlpha(float alpha)
{
    _state.color_alpha = alpha > 0 ? std::min(alpha, 1.0f) : 0.0f; // NaN counts as 0
}

void TGraphics::SetBlend(int mode)
{
    if (mode >= Blend::Mask && mode <= Blend::Shade)
        _state.blend_mode = mode;
}

void TGraphics::SetClearColor(int red, int green, int blue)
{
    _state.clscolor_red = ClampByte(red);
    _state.clscolor_green = ClampByte(green);
    _state.clscolor_blue = ClampByte(blue);
}

void TGraphics::SetFont(std::shared_ptr<TImageFont> font)
{
    _state.image_font = std::move(font);
}

TImageFont* TGraphics::Font() const
{
    if (_state.image_font)
        return _state.image_font.get();
    return DefaultFont().get();
}

void TGraphics::Clear()
{
    std::fill(_pixels.begin(), _pixels.end(), Opaque(_state.clscolor_red, _state.clscolor_green, _state.clscolor_blue));
}

void TGraphics::DrawImage(const TImage& image, int x, int y, int frame)
{
    if (frame < 0 || frame >= image.Frames() || !image.pixmaps[static_cast<std::size_t>(frame)])
        return;
    Blit(*image.pixmaps[static_cast<std::size_t>(frame)], static_cast<long long>(x) - image.handle_x,
        static_cast<long long>(y) - image.handle_y);
}

void TGraphics::DrawPixmap(const TPixmap& pixmap, int x, int y)
{
    Blit(pixmap, x, y);
}

void TGraphics::UpdateColourTables()
{
    if (_tableRed == _state.color_red && _tableGreen == _state.color_green && _tableBlue == _state.color_blue)
        return;
    _tableRed = _state.color_red;
    _tableGreen = _state.color_green;
    _tableBlue = _state.color_blue;
    for (int v = 0; v < 256; ++v) {
        _redTable[v] = Mul255(v, _tableRed);
        _greenTable[v] = Mul255(v, _tableGreen);
        _blueTable[v] = Mul255(v, _tableBlue);
    }
}

void TGraphics::UpdateOpacityTable()
{
    if (_tableAlpha == _state.color_alpha)
        return;
    _tableAlpha = _state.color_alpha;
    for (int v = 0; v < 256; ++v)
        _opacityTable[v] = static_cast<int>(std::lround(static_cast<float>(v) * _tableAlpha));
}

void TGraphics::Blit(const TPixmap& pixmap, long long x, long long y)
{
    const long long left = std::max<long long>(0, x);
    const long long top = std::max<long long>(0, y);
    const long long right = std::min<long long>(_width, x + pixmap.width);
    const long long bottom = std::min<long long>(_height, y + pixmap.height);
    if (left >= right || top >= bottom)
        return;

    UpdateOpacityTable();
    const int mode = _state.blend_mode;
    const int fullOpacity = _opacityTable[255];

    // A picture without transparency, in white at full opacity, draws as it is: its surface-format copy
    // goes in a row at a time.
    const bool white = _state.color_red == 255 && _state.color_green == 255 && _state.color_blue == 255;
    const bool drawnAsItIs = mode == Blend::Solid || (mode == Blend::Mask && fullOpacity >= 128)
        || (mode == Blend::Alpha && fullOpacity == 255);
    if (white && drawnAsItIs && pixmap.format != TPixelFormat::Alpha8) {
        if (const std::uint32_t* rows = pixmap.OpaqueRows()) {
            for (long long row = top; row < bottom; ++row)
                std::copy_n(
                    rows + (row - y) * pixmap.width + (left - x), right - left, _pixels.data() + row * _width + left);
            return;
        }
    }

    // A glyph's channels are all 255, which the colour tables map to the drawing colour itself.
    TBlendTables tables { nullptr, nullptr, nullptr, _opacityTable.data(), _state.color_red, _state.color_green,
        _state.color_blue };
    if (pixmap.format != TPixelFormat::Alpha8) {
        UpdateColourTables();
        tables.red = _redTable.data();
        tables.green = _greenTable.data();
        tables.blue = _blueTable.data();
    }
    const TRowBlender blendRow = RowBlenderFor(pixmap.format, mode);
    const int step = BytesPerPixel(pixmap.format);
    for (long long row = top; row < bottom; ++row)
        blendRow(pixmap.Row(static_cast<int>(row - y)) + (left - x) * step, _pixels.data() + row * _width + left,
            right - left, tables);
}

void TGraphics::DrawText(const std::u16string& text, int x, int y)
{
    if (TImageFont* font = Font())
        font->Draw(
            text, x, y, [this](const TImage& glyph, int glyphX, int glyphY) { DrawImage(glyph, glyphX, glyphY); },
            _width);
}

int TGraphics::TextWidth(const std::u16string& text) const
{
    TImageFont* font = Font();
    return font ? font->TextWidth(text) : 0;
}

void TGraphics::Present() const
{
    if (_presenter)
        _presenter(*this);
}

std::shared_ptr<TGraphics> CreateGraphics(int width, int height)
{
    return std::make_shared<TGraphics>(width, height);
}

void SelectGraphics(const std::shared_ptr<TGraphics>& graphics)
{
    Current() = graphics;
}

std::shared_ptr<TGraphics> CurrentGraphics()
{
    return Current().lock();
}

void FlipGraphics(int sync)
{
    if (auto graphics = CurrentGraphics())
        graphics->Present();
}

void ClearGraphics()
{
    if (auto graphics = CurrentGraphics())
        graphics->Clear();
}

void SetDrawColor(int red, int green, int blue)
{
    if (auto graphics = CurrentGraphics())
        graphics->SetColor(red, green, blue);
}

void SetDrawAlpha(float alpha)
{
    if (auto graphics = CurrentGraphics())
        graphics->SetAlpha(alpha);
}

void SetDrawBlend(int mode)
{
    if (auto graphics = CurrentGraphics())
        graphics->SetBlend(mode);
}

void SetClearColor(int red, int green, int blue)
{
    if (auto graphics = CurrentGraphics())
        graphics->SetClearColor(red, green, blue);
}

void DrawImageAt(const std::shared_ptr<TImage>& image, int x, int y, int frame)
{
    auto graphics = CurrentGraphics();
    if (graphics && image)
        graphics->DrawImage(*image, x, y, frame);
}

void SelectFont(std::shared_ptr<TImageFont> font)
{
    if (auto graphics = CurrentGraphics())
        graphics->SetFont(std::move(font));
}

void DrawTextAt(const std::u16string& text, int x, int y)
{
    if (auto graphics = CurrentGraphics())
        graphics->DrawText(text, x, y);
}

int TextWidthOf(const std::u16string& text)
{
    auto graphics = CurrentGraphics();
    return graphics ? graphics->TextWidth(text) : 0;
}

std::shared_ptr<TImageFont> DefaultFont()
{
    // Tried once: without the font package there is simply no default text.
    static const std::shared_ptr<TImageFont> font = LoadFontUrl(DefaultFontPath, DefaultFontSize, 0);
    return font;
}
