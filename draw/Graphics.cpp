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

inline int BlendChannel(int mode, int source, int opacity, int destination)
{
    switch (mode) {
    case Blend::Alpha:
        return Div255(source * opacity + destination * (255 - opacity));
    case Blend::Light:
        return std::min(255, Mul255(source, opacity) + destination);
    case Blend::Shade:
        return Mul255(source, destination);
    default:
        return source; // Mask and Solid; Mask has already dropped the faint pixels
    }
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
    DrawPixmap(*image.pixmaps[static_cast<std::size_t>(frame)], x - image.handle_x, y - image.handle_y);
}

void TGraphics::DrawPixmap(const TPixmap& pixmap, int x, int y)
{
    const long long left = std::max<long long>(0, x);
    const long long top = std::max<long long>(0, y);
    const long long right = std::min<long long>(_width, static_cast<long long>(x) + pixmap.width);
    const long long bottom = std::min<long long>(_height, static_cast<long long>(y) + pixmap.height);
    if (left >= right || top >= bottom)
        return;

    // Every source value maps through a table, so the per-pixel work is lookups and one blend.
    int red[256], green[256], blue[256], opacity[256];
    const float alpha = _state.color_alpha;
    for (int v = 0; v < 256; ++v) {
        red[v] = Mul255(v, _state.color_red);
        green[v] = Mul255(v, _state.color_green);
        blue[v] = Mul255(v, _state.color_blue);
        opacity[v] = static_cast<int>(std::lround(static_cast<float>(v) * alpha));
    }

    const int mode = _state.blend_mode;
    const int step = BytesPerPixel(pixmap.format);
    for (long long row = top; row < bottom; ++row) {
        const unsigned char* in = pixmap.Row(static_cast<int>(row - y)) + (left - x) * step;
        std::uint32_t* out = _pixels.data() + row * _width + left;
        for (long long column = left; column < right; ++column, in += step, ++out) {
            int sourceRed = 255, sourceGreen = 255, sourceBlue = 255, sourceAlpha = 255;
            switch (pixmap.format) {
            case TPixelFormat::Alpha8:
                sourceAlpha = in[0];
                break;
            case TPixelFormat::RGB888:
                sourceRed = in[0];
                sourceGreen = in[1];
                sourceBlue = in[2];
                break;
            case TPixelFormat::RGBA8888:
                sourceRed = in[0];
                sourceGreen = in[1];
                sourceBlue = in[2];
                sourceAlpha = in[3];
                break;
            }
            const int a = opacity[sourceAlpha];
            if (mode == Blend::Mask && a < 128)
                continue;
            const std::uint32_t d = *out;
            *out = Opaque(BlendChannel(mode, red[sourceRed], a, (d >> 16) & 0xFF),
                BlendChannel(mode, green[sourceGreen], a, (d >> 8) & 0xFF),
                BlendChannel(mode, blue[sourceBlue], a, d & 0xFF));
        }
    }
}

void TGraphics::DrawText(const std::u16string& text, int x, int y)
{
    if (TImageFont* font = Font())
        font->Draw(
            text, x, y, [this](const TImage& glyph, int glyphX, int glyphY) { DrawImage(glyph, glyphX, glyphY); });
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
