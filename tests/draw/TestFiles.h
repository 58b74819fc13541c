// Helpers of the drawing tests: a private temporary folder and PNG and JPEG writers to fill it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class TTestFolder {
public:
    TTestFolder();
    ~TTestFolder();
    TTestFolder(const TTestFolder&) = delete;
    TTestFolder& operator=(const TTestFolder&) = delete;

    std::string File(const std::string& name) const { return (_path / name).string(); }

private:
    std::filesystem::path _path;
};

struct TPngPicture {
    TPngPicture(int width, int height, int colorType, int bitDepth, std::vector<unsigned char> rows)
        : width(width)
        , height(height)
        , colorType(colorType)
        , bitDepth(bitDepth)
        , rows(std::move(rows))
    {
    }

    int width = 0;
    int height = 0;
    int colorType = 0; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    std::vector<unsigned char> rows; // packed as libpng expects, row after row
    std::vector<unsigned char> palette; // r, g, b triples
    std::vector<unsigned char> transparency; // tRNS: palette alphas, or one grey value as two bytes
};

void WritePng(const std::string& path, const TPngPicture& png);
// An RGB JPEG at quality 100 without chroma subsampling, so that flat 8 x 8 blocks survive exactly.
void WriteJpeg(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb);

std::vector<unsigned char> ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);

inline constexpr const char* LiberationSans = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
