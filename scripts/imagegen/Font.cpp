// FreeType face loading and text measuring.
#include "Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace gen {

namespace {

FT_Library library()
{
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        FT_Init_FreeType(&l);
        return l;
    }();
    return lib;
}

} // namespace

Font::Font(const std::string& path, int pixelSize)
{
    FT_Face face = nullptr;
    if (library() && FT_New_Face(library(), path.c_str(), 0, &face) == 0) {
        FT_Set_Pixel_Sizes(face, 0, pixelSize);
        m_face = face;
    }
}

Font::~Font()
{
    if (m_face)
        FT_Done_Face(m_face);
}

float Font::width(const std::string& s)
{
    float w = 0;
    for (unsigned char ch : s) {
        if (FT_Load_Char(m_face, ch, FT_LOAD_DEFAULT) == 0)
            w += m_face->glyph->advance.x / 64.0f;
    }
    return w;
}

} // namespace gen
