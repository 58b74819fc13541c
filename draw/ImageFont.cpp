#include "draw/ImageFont.h"

#include <algorithm>

TImageFont::TImageFont(std::shared_ptr<TFreeTypeFont> source)
    : _src_font(std::move(source))
    , _glyphs(static_cast<std::size_t>(_src_font->CountGlyphs()))
    , _imageFlags((_src_font->Style() & FontStyle::Smooth) ? ImageFlag::Filtered | ImageFlag::MipMapped : 0)
{
    for (char32_t c = 0; c < _latinGlyphs.size(); ++c)
        _latinGlyphs[c] = _src_font->CharToGlyph(c);
}

std::shared_ptr<TImageFont> TImageFont::Load(const std::string& url, int size, int style)
{
    std::shared_ptr<TFreeTypeFont> source = TFreeTypeFont::Load(url, size, style);
    if (!source)
        return nullptr;
    return std::make_shared<TImageFont>(std::move(source));
}

const TImageGlyph& TImageFont::Glyph(int index)
{
    static const TImageGlyph empty;
    if (index < 0 || index >= static_cast<int>(_glyphs.size()))
        return empty;
    std::unique_ptr<TImageGlyph>& slot = _glyphs[static_cast<std::size_t>(index)];
    if (!slot) {
        const TFreeTypeGlyph& source = _src_font->Glyph(index);
        slot = std::make_unique<TImageGlyph>();
        slot->_advance = source._advance;
        slot->_x = source._x;
        slot->_y = source._y;
        slot->_w = source._w;
        slot->_h = source._h;
        slot->_image = TImage::FromPixmap(source._pixmap, _imageFlags);
    }
    return *slot;
}

int TImageFont::TextWidth(const std::u16string& text)
{
    int width = 0;
    ForEachCodePoint(text, [&](char32_t c) {
        int index = CharToGlyph(c);
        if (index >= 0)
            width = static_cast<int>(static_cast<float>(width) + Glyph(index)._advance);
    });
    return width;
}

void TImageFont::Draw(const std::u16string& text, int x, int y,
    const std::function<void(const TImage&, int, int)>& drawImage, int clipRight)
{
    constexpr long long intMin = std::numeric_limits<int>::min();
    constexpr long long intMax = std::numeric_limits<int>::max();
    // Past this the pen can only run further off the right edge.
    const long long stopX = static_cast<long long>(clipRight) + _src_font->LeftReach();
    float penX = static_cast<float>(x);
    for (std::size_t i = 0; i < text.size();) {
        // A float pen beyond the long long range is far outside any surface, and casting it would be undefined.
        const long long pen = static_cast<long long>(std::clamp(penX, -9.0e18f, 9.0e18f));
        if (pen >= stopX)
            return;
        const int index = CharToGlyph(NextCodePoint(text, i));
        if (index < 0)
            continue;
        const TImageGlyph& glyph = Glyph(index);
        const long long glyphX = pen + glyph._x;
        const long long glyphY = static_cast<long long>(y) + glyph._y;
        if (glyph._image && glyphX >= intMin && glyphX <= intMax && glyphY >= intMin && glyphY <= intMax)
            drawImage(*glyph._image, static_cast<int>(glyphX), static_cast<int>(glyphY));
        penX += glyph._advance;
    }
}

std::shared_ptr<TImageFont> LoadFontUrl(const std::string& url, int size, int style)
{
    return TImageFont::Load(url, size, style);
}

char32_t NextCodePoint(const std::u16string& text, std::size_t& i)
{
    const char32_t unit = text[i++];
    if (unit >= 0xD800 && unit <= 0xDBFF && i < text.size()) {
        const char32_t low = text[i];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return unit;
}

void ForEachCodePoint(const std::u16string& text, const std::function<void(char32_t)>& visit)
{
    for (std::size_t i = 0; i < text.size();)
        visit(NextCodePoint(text, i));
}
