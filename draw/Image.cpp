#include "draw/Image.h"

#include <algorithm>

std::shared_ptr<TPixmap> MaskPixmap(const TPixmap& pixmap, int maskRed, int maskGreen, int maskBlue)
{
    const int width = pixmap.width;
    const int height = pixmap.height;
    const int step = BytesPerPixel(pixmap.format);
    auto result = std::make_shared<TPixmap>(width, height, TPixelFormat::RGBA8888);
    auto isMasked = [&](const unsigned char* p) { return p[0] == maskRed && p[1] == maskGreen && p[2] == maskBlue; };

    for (int y = 0; y < height; ++y) {
        const unsigned char* in = pixmap.Row(y);
        unsigned char* out = result->Row(y);
        for (int x = 0; x < width; ++x, in += step, out += 4) {
            if (!isMasked(in)) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
                out[3] = 255;
                continue;
            }
            int sum[3] = { 0, 0, 0 };
            int count = 0;
            for (int ny = std::max(0, y - 1); ny <= std::min(height - 1, y + 1); ++ny) {
                for (int nx = std::max(0, x - 1); nx <= std::min(width - 1, x + 1); ++nx) {
                    const unsigned char* n = pixmap.Row(ny) + nx * step;
                    if (isMasked(n))
                        continue;
                    sum[0] += n[0];
                    sum[1] += n[1];
                    sum[2] += n[2];
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<unsigned char>(count ? (sum[c] + count / 2) / count : in[c]);
            out[3] = 0;
        }
    }
    return result;
}

std::shared_ptr<TImage> TImage::FromPixmap(
    std::shared_ptr<TPixmap> pixmap, int flags, int maskRed, int maskGreen, int maskBlue)
{
    if (!pixmap)
        return nullptr;
    if (flags == -1)
        flags = ImageFlag::Default;
    auto image = std::make_shared<TImage>();
    image->width = pixmap->width;
    image->height = pixmap->height;
    image->flags = flags;
    image->mask_r = maskRed;
    image->mask_g = maskGreen;
    image->mask_b = maskBlue;
    if ((flags & ImageFlag::Masked) && !pixmap->HasAlpha())
        pixmap = MaskPixmap(*pixmap, maskRed, maskGreen, maskBlue);
    image->pixmaps.push_back(std::move(pixmap));
    return image;
}

std::shared_ptr<TImage> TImage::Load(const std::string& url, int flags, int maskRed, int maskGreen, int maskBlue)
{
    return FromPixmap(LoadPixmapUrl(url), flags, maskRed, maskGreen, maskBlue);
}

std::shared_ptr<TImage> LoadImageUrl(const std::string& url, int flags)
{
    return TImage::Load(url, flags);
}
