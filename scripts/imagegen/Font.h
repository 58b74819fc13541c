// A FreeType face at one pixel size, for the text in the generated images.
#pragma once

#include <string>

struct FT_FaceRec_;

namespace gen {

class Font {
public:
    Font(const std::string& path, int pixelSize);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool ok() const { return m_face != nullptr; }
    FT_FaceRec_* face() const { return m_face; }
    float width(const std::string& s);

private:
    FT_FaceRec_* m_face = nullptr;
};

} // namespace gen
