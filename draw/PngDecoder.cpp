// PNG decoding over libpng from memory. libpng reports errors by longjmp, so the function that owns the
// setjmp keeps only plain locals; everything with a destructor belongs to its caller.
#include "draw/PixmapDecoders.h"

#include <png.h>

#include <cstring>

namespace {
struct PngInput {
    const unsigned char* data;
    std::size_t size;
    std::size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > input->size - input->pos)
        png_error(png, "unexpected end of data");
    std::memcpy(out, input->data + input->pos, length);
    input->pos += length;
}

// Silent handlers: a damaged picture is an ordinary failure, not something to print or abort on.
void OnPngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) { }

bool ReadPng(
    png_structp png, png_infop info, PngInput* input, std::shared_ptr<TPixmap>& result, std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;

    png_set_read_fn(png, input, ReadFromMemory);
    png_set_user_limits(png, MaxPixmapSide, MaxPixmapSide);
    png_read_info(png, info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colorType, nullptr, nullptr, nullptr);
    if (!FitsPixmapLimits(width, height))
        png_error(png, "picture too large");

    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    int channels = png_get_channels(png, info);
    if (png_get_bit_depth(png, info) != 8 || (channels != 3 && channels != 4))
        png_error(png, "unexpected pixel layout");
    result = std::make_shared<TPixmap>(static_cast<int>(width), static_cast<int>(height),
        channels == 4 ? TPixelFormat::RGBA8888 : TPixelFormat::RGB888);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(result->pitch))
        png_error(png, "unexpected row size");
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = result->Row(static_cast<int>(y));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}
} // namespace

bool LooksLikePng(const std::vector<unsigned char>& bytes)
{
    return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

std::shared_ptr<TPixmap> DecodePng(const std::vector<unsigned char>& bytes)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!png)
        return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    PngInput input { bytes.data(), bytes.size(), 0 };
    std::shared_ptr<TPixmap> result;
    std::vector<png_bytep> rows;
    bool ok = ReadPng(png, info, &input, result, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return ok ? result : nullptr;
}
