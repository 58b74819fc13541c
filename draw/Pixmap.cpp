#include "draw/Pixmap.h"

#include "draw/PixmapDecoders.h"
#include "resources/StreamBytes.h"

int BytesPerPixel(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::Alpha8:
        return 1;
    case TPixelFormat::RGB888:
        return 3;
    case TPixelFormat::RGBA8888:
        return 4;
    }
    return 4;
}

TPixmap::TPixmap(int width, int height, TPixelFormat format)
    : width(width)
    , height(height)
    , pitch(width * BytesPerPixel(format))
    , format(format)
{
    pixels.assign(static_cast<std::size_t>(pitch) * height, 0);
}

std::shared_ptr<TPixmap> DecodePixmap(const std::vector<unsigned char>& bytes)
{
    if (LooksLikePng(bytes))
        return DecodePng(bytes);
    if (LooksLikeJpeg(bytes))
        return DecodeJpeg(bytes);
    return nullptr;
}

std::shared_ptr<TPixmap> LoadPixmapUrl(const std::string& url)
{
    std::vector<unsigned char> bytes;
    if (!ReadStreamBytes(url, bytes))
        return nullptr;
    return DecodePixmap(bytes);
}
