// Conversion of the drawing layer's pixel buffers into Qt images (only the widget layer uses it).
#pragma once

#include <QImage>

class TPixmap;

QImage ImageOfPixmap(const TPixmap& pixmap);
