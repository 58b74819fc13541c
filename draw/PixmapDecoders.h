// The format decoders behind DecodePixmap; each returns null instead of letting its library abort.
#pragma once

#include "draw/Pixmap.h"

bool LooksLikePng(const std::vector<unsigned char>& bytes);
bool LooksLikeJpeg(const std::vector<unsigned char>& bytes);

std::shared_ptr<TPixmap> DecodePng(const std::vector<unsigned char>& bytes);
std::shared_ptr<TPixmap> DecodeJpeg(const std::vector<unsigned char>& bytes);

inline bool FitsPixmapLimits(long long width, long long height)
{
    return width > 0 && height > 0 && width <= MaxPixmapSide && height <= MaxPixmapSide
        && width * height <= MaxPixmapPixels;
}
