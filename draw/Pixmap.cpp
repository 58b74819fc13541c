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

const std::uint32_t* TPixmap::OpaqueRows() const
{
    if (_opaqueShape != Shape())
        _opaqueCopy = TOpaqueCopy::Unknown;
    if (_opaqueCopy == TOpaqueCopy::Made)
        return _opaqueRows->data();
    if (_opaqueCopy == TOpaqueCopy::Impossible)
        return nullptr;

    _opaqueRows.reset();
    _opaqueShape = Shape();
    _opaqueCopy = TOpaqueCopy::Impossible;
    const int step = BytesPerPixel(format);
    if (format == TPixelFormat::Alpha8 || width <= 0 || height <= 0 || pitch < static_cast<long long>(width) * step
        || static_cast<long long>(pixels.size()) < static_cast<long long>(pitch) * height)
        return nullptr;
    if (format == TPixelFormat::RGBA8888) {
        for (int y = 0; y < height; ++y) {
            const unsigned char* in = Row(y);
            for (int x = 0; x < width; ++x)
                if (in[x * 4 + 3] != 255)
                    return nullptr;
        }
    }

    auto rows = std::make_shared<std::vector<std::uint32_t>>(static_cast<std::size_t>(width) * height);
    std::uint32_t* out = rows->data();
    for (int y = 0; y < height; ++y) {
        const unsigned char* in = Row(y);
        for (int x = 0; x < width; ++x, in += step)
            *out++ = 0xFF000000u | static_cast<std::uint32_t>(in[0]) << 16 | static_cast<std::uint32_t>(in[1]) << 8
                | static_cast<std::uint32_t>(in[2]);
    }
    _opaqueRows = std::move(rows);
    _opaqueCopy = TOpaqueCopy::Made;
    return _opaqueRows->data();
}

void TPixmap::PixelsChanged()
{
    _opaqueCopy = TOpaqueCopy::Unknown;
    _opaqueRows.reset();
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
