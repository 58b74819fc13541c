// The drawable font: a rasteriser font whose glyphs are turned into images on first use.
#pragma once

#include "draw/FreeTypeFont.h"
#include "draw/Image.h"

#include <array>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

class TImageGlyph {
public:
    std::shared_ptr<TImage> _image; // null for glyphs that draw nothing
    float _advance = 0;
    int _x = 0; // offset of the image from the pen position, the pen's y being the ascender line
    int _y = 0;
    int _w = 0;
    int _h = 0;
};

class TImageFont {
public:
    explicit TImageFont(std::shared_ptr<TFreeTypeFont> source);

    // Null when no rasteriser accepts the source.
    static std::shared_ptr<TImageFont> Load(const std::string& url, int size, int style);

    int Height() const { return _src_font->Height(); }
    int Ascend() const { return _src_font->Ascend(); }
    int ImageFlags() const { return _imageFlags; }
    TFreeTypeFont& SourceFont() const { return *_src_font; }

    int CharToGlyph(char32_t c) const { return c < _latinGlyphs.size() ? _latinGlyphs[c] : _src_font->CharToGlyph(c); }
    const TImageGlyph& Glyph(int index);

    // Sum of the advances of the characters the font has, truncated after each addition.
    int TextWidth(const std::u16string& text);

    // Walks the text from the pen at (x, y), the top of the line, handing each glyph image with its
    // top-left corner to `drawImage`. Characters the font lacks take no room. Pens only move right, so
    // the walk ends once the pen is far enough past `clipRight` that no later glyph could start left of
    // it; glyphs whose corner lies outside the int range are skipped, as no surface can show them.
    void Draw(const std::u16string& text, int x, int y, const std::function<void(const TImage&, int, int)>& drawImage,
        int clipRight = std::numeric_limits<int>::max());

private:
    std::shared_ptr<TFreeTypeFont> _src_font;
    std::vector<std::unique_ptr<TImageGlyph>> _glyphs;
    int _imageFlags = 0;
    // The slots of the first 256 code points, looked up once: nearly every character of a HUD text is
    // one of them, and a cmap lookup per character would cost more than skipping an unseen glyph.
    std::array<int, 256> _latinGlyphs {};
};

std::shared_ptr<TImageFont> LoadFontUrl(const std::string& url, int size, int style);

// The code point that starts at unit `i`, moving `i` past it; a surrogate pair is one code point, a lone
// surrogate stands for itself. `i` must be inside the text.
char32_t NextCodePoint(const std::u16string& text, std::size_t& i);

// Calls `visit` with each code point of UTF-16 text; a surrogate pair is one code point, a lone surrogate
// stands for itself.
void ForEachCodePoint(const std::u16string& text, const std::function<void(char32_t)>& visit);
