#include "draw/FreeTypeFont.h"

#include "resources/StreamBytes.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>

// FreeType is initialised on first use; every font holds the library, so it goes only after the last face.
class FreeTypeLibrary {
public:
    FT_Library handle = nullptr;
    ~FreeTypeLibrary()
    {
        if (handle)
            FT_Done_FreeType(handle);
    }

    static std::shared_ptr<FreeTypeLibrary> Shared()
    {
        static std::shared_ptr<FreeTypeLibrary> library = [] {
            auto created = std::make_shared<FreeTypeLibrary>();
            if (FT_Init_FreeType(&created->handle) != 0)
                created->handle = nullptr;
            return created;
        }();
        return library;
    }
};

std::shared_ptr<TFreeTypeFont> TFreeTypeFont::Load(const std::string& url, int size, int style)
{
    std::vector<unsigned char> bytes;
    if (!ReadStreamBytes(url, bytes))
        return nullptr;
    return FromBytes(std::move(bytes), size, style);
}

std::shared_ptr<TFreeTypeFont> TFreeTypeFont::FromBytes(std::vector<unsigned char> bytes, int size, int style)
{
    std::shared_ptr<FreeTypeLibrary> library = FreeTypeLibrary::Shared();
    if (!library->handle || bytes.empty())
        return nullptr;

    std::shared_ptr<TFreeTypeFont> font(new TFreeTypeFont);
    font->_library = library;
    font->_buf = std::move(bytes);
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library->handle, font->_buf.data(), static_cast<FT_Long>(font->_buf.size()), 0, &face) != 0)
        return nullptr;
    font->_ft_face = face;

    int accepted = size;
    while (accepted >= 1 && FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(accepted)) != 0)
        --accepted;
    if (accepted < 1)
        return nullptr; // the destructor releases the face

    const FT_Size_Metrics& metrics = face->size->metrics;
    font->_style = style;
    font->_size = accepted;
    font->_height = static_cast<int>(metrics.height >> 6);
    font->_ascend = static_cast<int>(metrics.ascender >> 6);
    font->_descend = static_cast<int>(metrics.descender >> 6);
    // The face's box holds every outline; a glyph bitmap may lie a pixel beyond it, plus its border.
    const long long boxLeft = FT_IS_SCALABLE(face) ? FT_MulFix(face->bbox.xMin, metrics.x_scale) >> 6 : 0;
    font->_leftReach = static_cast<int>(std::min<long long>(std::max<long long>(0, -boxLeft), 1 << 20)) + accepted
        + ((style & FontStyle::Smooth) ? 1 : 0);
    font->_glyphs.resize(static_cast<std::size_t>(face->num_glyphs));
    return font;
}

TFreeTypeFont::~TFreeTypeFont()
{
    if (_ft_face)
        FT_Done_Face(_ft_face);
}

int TFreeTypeFont::CharToGlyph(char32_t c) const
{
    return static_cast<int>(FT_Get_Char_Index(_ft_face, static_cast<FT_ULong>(c))) - 1;
}

const TFreeTypeGlyph& TFreeTypeFont::Glyph(int index)
{
    static const TFreeTypeGlyph empty;
    if (index < 0 || index >= CountGlyphs())
        return empty;
    std::unique_ptr<TFreeTypeGlyph>& slot = _glyphs[static_cast<std::size_t>(index)];
    if (!slot)
        slot = std::make_unique<TFreeTypeGlyph>(Rasterise(index));
    return *slot;
}

TFreeTypeGlyph TFreeTypeFont::Rasterise(int index) const
{
    TFreeTypeGlyph glyph;
    if (FT_Load_Glyph(_ft_face, static_cast<FT_UInt>(index + 1), FT_LOAD_RENDER) != 0)
        return glyph;

    const FT_GlyphSlot slot = _ft_face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph._advance = static_cast<float>(slot->advance.x >> 6);
    glyph._x = slot->bitmap_left;
    glyph._y = _ascend - slot->bitmap_top;
    glyph._w = static_cast<int>(bitmap.width);
    glyph._h = static_cast<int>(bitmap.rows);
    const bool grey = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if (glyph._w <= 0 || glyph._h <= 0 || !bitmap.buffer || !(grey || mono))
        return glyph;

    const int border = (_style & FontStyle::Smooth) ? 1 : 0;
    auto pixmap = std::make_shared<TPixmap>(glyph._w + 2 * border, glyph._h + 2 * border, TPixelFormat::Alpha8);
    const int rows = glyph._h;
    for (int y = 0; y < rows; ++y) {
        // A negative pitch means the rows are stored bottom-up.
        const unsigned char* in = bitmap.pitch >= 0
            ? bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch
            : bitmap.buffer - static_cast<std::ptrdiff_t>(rows - 1 - y) * bitmap.pitch;
        unsigned char* out = pixmap->Row(y + border) + border;
        if (grey) {
            const int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
            for (int x = 0; x < glyph._w; ++x)
                out[x] = levels == 255 ? in[x] : static_cast<unsigned char>((in[x] * 255 + levels / 2) / levels);
        } else {
            for (int x = 0; x < glyph._w; ++x)
                out[x] = (in[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        }
    }
    if (border) {
        glyph._x -= 1;
        glyph._y -= 1;
        glyph._w += 2;
        glyph._h += 2;
    }
    glyph._pixmap = std::move(pixmap);
    return glyph;
}
