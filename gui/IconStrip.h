// Icon strips: a row of square icons in one image, as the toolbar takes them.
#pragma once

#include <QString>

#include <memory>
#include <vector>

class TPixmap;

struct TIconStrip {
    std::shared_ptr<TPixmap> pixmap;
    int count = 0;
    std::vector<bool> blank; // every pixel equals the icon's top-left pixel

    // Icon i is the square of side `pixmap->height` starting at x = i * height.
    int IconSize() const;
};

// A strip made from a pixmap; null without one.
std::shared_ptr<TIconStrip> LoadIconStrip(const std::shared_ptr<TPixmap>& pixmap);
// A strip made from an image path or resource URL; null when the image cannot be loaded.
std::shared_ptr<TIconStrip> LoadIconStrip(const QString& url);
