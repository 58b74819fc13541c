// Pixel buffers decoded from PNG and JPEG streams, and the 8-bit coverage maps of glyphs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class TPixelFormat {
    Alpha8, // one byte of coverage per pixel (glyphs)
    RGB888, // red, green, blue
    RGBA8888, // red, green, blue, straight (not premultiplied) alpha
};

int BytesPerPixel(TPixelFormat format);

class TPixmap {
public:
    // A zero-filled buffer with tightly packed rows.
    TPixmap(int width, int height, TPixelFormat format);

    std::vector<unsigned char> pixels;
    int width = 0;
    int height = 0;
    int pitch = 0; // bytes per row
    TPixelFormat format = TPixelFormat::RGBA8888;

    bool HasAlpha() const { return format != TPixelFormat::RGB888; }
    unsigned char* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * pitch; }
    const unsigned char* Row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * pitch; }

    // The pixels as a drawing surface stores them (0xFFRRGGBB, `width` per row), so that drawing a
    // picture unchanged is one copy per row. Only pictures with nothing to blend have them: RGB888, or
    // RGBA8888 whose every alpha is 255; null for the others and for glyphs. Made on the first call and
    // kept for the pixmap's life, 4 bytes a pixel beside its own; the test for full alpha is made once
    // too. Whoever changes `pixels` in place after that calls PixelsChanged(). Not thread-safe: a pixmap
    // is drawn from one thread at a time.
    const std::uint32_t* OpaqueRows() const;
    void PixelsChanged();

private:
    // What the copy was made from: a replaced buffer or a changed shape makes it again.
    struct TShape {
        const unsigned char* data = nullptr;
        std::size_t size = 0;
        int width = 0;
        int height = 0;
        int pitch = 0;
        TPixelFormat format = TPixelFormat::Alpha8;
        bool operator==(const TShape&) const = default;
    };
    TShape Shape() const { return { pixels.data(), pixels.size(), width, height, pitch, format }; }

    enum class TOpaqueCopy { Unknown, Made, Impossible };
    mutable TOpaqueCopy _opaqueCopy = TOpaqueCopy::Unknown;
    mutable TShape _opaqueShape;
    mutable std::shared_ptr<const std::vector<std::uint32_t>> _opaqueRows;
};

// Decoders refuse pictures larger than this on either side, or with more pixels in all, so that a
// damaged or hostile header cannot make us allocate gigabytes.
inline constexpr int MaxPixmapSide = 16384;
inline constexpr long long MaxPixmapPixels = 1LL << 26;

// Decodes PNG (any colour type and depth, normalised to 8-bit RGB, or RGBA when the file has
// transparency) or JPEG (RGB). Null for anything else, or for damaged data.
std::shared_ptr<TPixmap> DecodePixmap(const std::vector<unsigned char>& bytes);

// Reads the stream at `url` ("incbin::name", a path, ...) and decodes it; null on any failure.
std::shared_ptr<TPixmap> LoadPixmapUrl(const std::string& url);
