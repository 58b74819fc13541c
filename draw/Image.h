// Drawable images: a decoded pixmap per frame, with its colour key made transparent when asked.
#pragma once

#include "draw/Pixmap.h"

#include <memory>
#include <string>
#include <vector>

namespace ImageFlag {
inline constexpr int Masked = 1; // pixels of the mask colour become transparent (pictures without alpha)
inline constexpr int Filtered = 2; // smooth when drawn scaled
inline constexpr int MipMapped = 4;
inline constexpr int Default = Masked | Filtered;
} // namespace ImageFlag

class TImage {
public:
    int width = 0;
    int height = 0;
    int flags = 0;
    int mask_r = 0;
    int mask_g = 0;
    int mask_b = 0;
    int handle_x = 0; // the point of the image placed at the drawing position
    int handle_y = 0;
    std::vector<std::shared_ptr<TPixmap>> pixmaps; // one per frame, as drawn

    int Frames() const { return static_cast<int>(pixmaps.size()); }

    // A one-frame image over `pixmap`; flags -1 means ImageFlag::Default. Null for a null pixmap.
    static std::shared_ptr<TImage> FromPixmap(
        std::shared_ptr<TPixmap> pixmap, int flags, int maskRed = 0, int maskGreen = 0, int maskBlue = 0);

    static std::shared_ptr<TImage> Load(
        const std::string& url, int flags, int maskRed = 0, int maskGreen = 0, int maskBlue = 0);
};

// Makes every pixel of an alpha-less pixmap that equals the mask colour fully transparent, giving it the
// rounded average colour of its unmasked neighbours in the 3 x 3 square (kept as is when it has none), so
// that filtering does not pull the mask colour into the edges. Returns a new RGBA pixmap.
std::shared_ptr<TPixmap> MaskPixmap(const TPixmap& pixmap, int maskRed, int maskGreen, int maskBlue);

// Image flags -1 means ImageFlag::Default.
std::shared_ptr<TImage> LoadImageUrl(const std::string& url, int flags);
