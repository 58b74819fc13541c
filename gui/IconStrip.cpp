#include "gui/IconStrip.h"

#include "draw/Pixmap.h"

#include <cstring>

namespace {
bool IconIsBlank(const TPixmap& pixmap, int index)
{
    const int side = pixmap.height;
    const int bytes = BytesPerPixel(pixmap.format);
    const unsigned char* first = pixmap.Row(0) + static_cast<std::size_t>(index) * side * bytes;
    for (int y = 0; y < side; ++y) {
        const unsigned char* row = pixmap.Row(y) + static_cast<std::size_t>(index) * side * bytes;
        for (int x = 0; x < side; ++x) {
            if (std::memcmp(row + x * bytes, first, bytes) != 0)
                return false;
        }
    }
    return true;
}
} // namespace

int TIconStrip::IconSize() const
{
    return pixmap ? pixmap->height : 0;
}

std::shared_ptr<TIconStrip> LoadIconStrip(const std::shared_ptr<TPixmap>& pixmap)
{
    if (!pixmap || pixmap->height <= 0)
        return nullptr;
    auto strip = std::make_shared<TIconStrip>();
    strip->pixmap = pixmap;
    strip->count = pixmap->width / pixmap->height;
    for (int i = 0; i < strip->count; ++i)
        strip->blank.push_back(IconIsBlank(*pixmap, i));
    return strip;
}

std::shared_ptr<TIconStrip> LoadIconStrip(const QString& url)
{
    return LoadIconStrip(LoadPixmapUrl(url.toStdString()));
}
