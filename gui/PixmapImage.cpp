#include "gui/PixmapImage.h"

#include "draw/Pixmap.h"

QImage ImageOfPixmap(const TPixmap& pixmap)
{
    QImage::Format format = QImage::Format_RGBA8888;
    switch (pixmap.format) {
    case TPixelFormat::Alpha8:
        format = QImage::Format_Alpha8;
        break;
    case TPixelFormat::RGB888:
        format = QImage::Format_RGB888;
        break;
    case TPixelFormat::RGBA8888:
        format = QImage::Format_RGBA8888;
        break;
    }
    // Copy, so the image does not depend on the pixmap's lifetime.
    return QImage(pixmap.pixels.data(), pixmap.width, pixmap.height, pixmap.pitch, format).copy();
}
