// TrueType rasterising over FreeType: one face at one pixel size, glyph coverage maps made on first use.
#pragma once

#include "draw/Pixmap.h"

#include <memory>
#include <string>
#include <vector>

struct FT_FaceRec_;
class FreeTypeLibrary;

namespace FontStyle {
// Glyph images get a one-pixel transparent border, so that filtering them has clear pixels to blend into.
inline constexpr int Smooth = 4;
} // namespace FontStyle

class TFreeTypeGlyph {
public:
    std::shared_ptr<TPixmap> _pixmap; // 8-bit coverage; null for glyphs that draw nothing (the space)
    float _advance = 0; // whole pixels
    int _x = 0; // offset of the pixmap from the pen position, the pen's y being the ascender line
    int _y = 0;
    int _w = 0;
    int _h = 0;
};

class TFreeTypeFont {
public:
    // Reads the font's bytes through the stream layer and opens face 0 at `size` pixels, or at the nearest
    // smaller size the face accepts. Null when the data is no font or no size down to 1 works.
    static std::shared_ptr<TFreeTypeFont> Load(const std::string& url, int size, int style);
    static std::shared_ptr<TFreeTypeFont> FromBytes(std::vector<unsigned char> bytes, int size, int style);

    ~TFreeTypeFont();
    TFreeTypeFont(const TFreeTypeFont&) = delete;
    TFreeTypeFont& operator=(const TFreeTypeFont&) = delete;

    // The glyph slot of a Unicode code point, or -1 when the font lacks it.
    int CharToGlyph(char32_t c) const;
    int CountGlyphs() const { return static_cast<int>(_glyphs.size()); }
    // Rasterised on first use; a slot out of range or that FreeType cannot render is an empty glyph.
    const TFreeTypeGlyph& Glyph(int index);

    int Style() const { return _style; }
    int PixelSize() const { return _size; }
    int Height() const { return _height; }
    int Ascend() const { return _ascend; }
    int Descend() const { return _descend; }
    // How far left of its pen position any glyph image may start, in pixels, with room to spare for
    // hinting and for fonts whose bounding box is a little off: text past a right edge by more than
    // this can be skipped unseen.
    int LeftReach() const { return _leftReach; }

private:
    TFreeTypeFont() = default;
    TFreeTypeGlyph Rasterise(int index) const;

    std::shared_ptr<FreeTypeLibrary> _library; // outlives the face
    FT_FaceRec_* _ft_face = nullptr;
    std::vector<unsigned char> _buf; // the face reads from these bytes for as long as it lives
    int _style = 0;
    int _size = 0;
    int _height = 0;
    int _ascend = 0;
    int _descend = 0;
    int _leftReach = 0;
    std::vector<std::unique_ptr<TFreeTypeGlyph>> _glyphs;
};
