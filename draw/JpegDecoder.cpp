// JPEG decoding over libjpeg from memory. libjpeg's default error handler ends the process, so ours jumps
// back instead; the function that owns the setjmp keeps only plain locals.
#include "draw/PixmapDecoders.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {
struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Level -1 is a warning about corrupt data (a truncated file, a bad Huffman code): libjpeg would go on and
// fill the rest with grey, but a damaged picture must not pass for a good one.
void OnJpegMessage(j_common_ptr info, int level)
{
    if (level < 0)
        std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void OnJpegOutput(j_common_ptr) { }

bool ReadJpeg(jpeg_decompress_struct* decoder, JpegErrors* errors, const std::vector<unsigned char>& bytes,
    std::shared_ptr<TPixmap>& result)
{
    if (setjmp(errors->jump))
        return false;

    jpeg_create_decompress(decoder);
    jpeg_mem_src(decoder, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(decoder, TRUE);
    if (!FitsPixmapLimits(decoder->image_width, decoder->image_height))
        return false;
    decoder->out_color_space = JCS_RGB;
    jpeg_start_decompress(decoder);
    if (decoder->output_components != 3)
        return false;

    result = std::make_shared<TPixmap>(
        static_cast<int>(decoder->output_width), static_cast<int>(decoder->output_height), TPixelFormat::RGB888);
    while (decoder->output_scanline < decoder->output_height) {
        JSAMPROW row = result->Row(static_cast<int>(decoder->output_scanline));
        if (jpeg_read_scanlines(decoder, &row, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(decoder);
    return true;
}
} // namespace

bool LooksLikeJpeg(const std::vector<unsigned char>& bytes)
{
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

std::shared_ptr<TPixmap> DecodeJpeg(const std::vector<unsigned char>& bytes)
{
    jpeg_decompress_struct decoder {};
    JpegErrors errors {};
    decoder.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnJpegError;
    errors.base.emit_message = OnJpegMessage;
    errors.base.output_message = OnJpegOutput;

    std::shared_ptr<TPixmap> result;
    bool ok = ReadJpeg(&decoder, &errors, bytes, result);
    jpeg_destroy_decompress(&decoder);
    return ok ? result : nullptr;
}
