// Floating-point RGBA canvas that paints anti-aliased shapes and text and saves PNG or JPEG.
#pragma once

#include "Shapes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gen {

// Channels 0..255, alpha 0..1; colours are kept unpremultiplied.
struct Color {
    float r = 0, g = 0, b = 0, a = 0;
};

Color rgb(int r, int g, int b, float a = 1);
Color mix(Color c0, Color c1, float t);
Color shade(Color c, float factor); // factor < 1 darkens, > 1 lightens towards white
Color withAlpha(Color c, float a);

using Paint = std::function<Color(float, float)>;

Paint solid(Color c);
// Colour c0 at (x0, y0) running to c1 at (x1, y1); flat beyond both ends.
Paint linear(float x0, float y0, Color c0, float x1, float y1, Color c1);

// Deterministic hash noise: the same inputs give the same value on every run.
float hashNoise(int x, int y, int seed); // 0..1
float valueNoise(float x, float y, int seed); // smooth, 0..1

class Font;

class Canvas {
public:
    Canvas(int width, int height, Color background = {});

    int width() const { return m_width; }
    int height() const { return m_height; }
    Color at(int x, int y) const { return m_pixels[y * m_width + x]; }
    void set(int x, int y, Color c) { m_pixels[y * m_width + x] = c; }

    // Composites c over the pixel with the given coverage (0..1).
    void blend(int x, int y, Color c, float coverage);
    // Paints every pixel by the share of its subsamples that fall inside.
    void fill(const Shape& shape, const Paint& paint, int samples = 4);
    void fill(const Shape& shape, Color c, int samples = 4) { fill(shape, solid(c), samples); }
    // A dark rim of the given width around the shape, then the shape itself.
    void fillOutlined(const Shape& shape, const Paint& paint, Color rim, float rimWidth, int samples = 4);
    void fillOutlined(const Shape& shape, Color c, Color rim, float rimWidth, int samples = 4)
    {
        fillOutlined(shape, solid(c), rim, rimWidth, samples);
    }

    // Left end of the baseline at (x, baseline); returns the pen's advance.
    float text(Font& font, const std::string& s, float x, float baseline, Color c);

    void draw(const Canvas& other, int dx, int dy);
    // Rewrites every pixel through f (lighting, vignettes).
    void filter(const std::function<Color(int, int, Color)>& f);

    bool savePng(const std::string& path, bool withAlpha) const;
    bool saveJpeg(const std::string& path, int quality) const;

private:
    int m_width;
    int m_height;
    std::vector<Color> m_pixels;
};

} // namespace gen
