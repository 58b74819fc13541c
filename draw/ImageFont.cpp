#include "draw/ImageFont.h"

TImageFont::TImageFont(std::shared_ptr<TFreeTypeFont> source)
    : _src_font(std::move(source))
    , _glyphs(static_cast<std::size_t>(_src_font->CountGlyphs()))
    , _imageFlags((_src_font->Style() & FontStyle::Smooth) ? ImageFlag::Filtered | ImageFlag::MipMapped : 0)
{
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

void TImageFont::Draw(
    const std::u16string& text, int x, int y, const std::function<void(const TImage&, int, int)>& drawImage)
{
    float penX = static_cast<float>(x);
    ForEachCodePoint(text, [&](char32_t c) {
        int index = CharToGlyph(c);
        if (index < 0)
            return;
        const TImageGlyph& glyph = Glyph(index);
        if (glyph._image)
            drawImage(*glyph._image, static_cast<int>(penX) + glyph._x, y + glyph._y);
        penX += glyph._advance;
    });
}

std::shared_ptr<TImageFont> LoadFontUrl(const std::string& url, int size, int style)
{
    return TImageFont::Load(url, size, style);
}

void ForEachCodePoint(const std::u16string& text, const std::function<void(char32_t)>& visit)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
            char32_t low = text[i + 1];
            if (low >= 0xDC00 && low <= 0xDFFF) {
                visit(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        visit(unit);
    }
}
