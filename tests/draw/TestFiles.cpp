#include "TestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>

TTestFolder::TTestFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tle-draw-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    _path = pattern;
}

TTestFolder::~TTestFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(_path, ignored);
}

void WritePng(const std::string& path, const TPngPicture& picture)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        throw std::runtime_error("libpng failed writing " + path);
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < picture.palette.size(); i += 3)
        palette.push_back({ picture.palette[i], picture.palette[i + 1], picture.palette[i + 2] });
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_color_16 grey {};
    if (!picture.transparency.empty()) {
        if (picture.colorType == PNG_COLOR_TYPE_PALETTE) {
            png_set_tRNS(
                png, info, picture.transparency.data(), static_cast<int>(picture.transparency.size()), nullptr);
        } else {
            grey.gray = static_cast<png_uint_16>(picture.transparency[0] << 8 | picture.transparency[1]);
            png_set_tRNS(png, info, nullptr, 0, &grey);
        }
    }
    png_write_info(png, info);
    const std::size_t rowBytes = picture.rows.size() / static_cast<std::size_t>(picture.height);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, picture.rows.data() + rowBytes * static_cast<std::size_t>(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void WriteJpeg(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    jpeg_compress_struct encoder {};
    jpeg_error_mgr errors {};
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    jpeg_stdio_dest(&encoder, file);
    encoder.image_width = static_cast<JDIMENSION>(width);
    encoder.image_height = static_cast<JDIMENSION>(height);
    encoder.input_components = 3;
    encoder.in_color_space = JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, 100, TRUE);
    for (int c = 0; c < 3; ++c) {
        encoder.comp_info[c].h_samp_factor = 1;
        encoder.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row
            = const_cast<unsigned char*>(rgb.data()) + static_cast<std::size_t>(encoder.next_scanline) * width * 3;
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    std::fclose(file);
}

std::vector<unsigned char> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
