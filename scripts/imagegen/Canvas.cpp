// Compositing, shape filling, text drawing and file output of the painter's canvas.
#include "Canvas.h"
#include "Font.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace gen {

Color rgb(int r, int g, int b, float a)
{
    return { static_cast<float>(r), static_cast<float>(g), static_cast<float>(b), a };
}

Color mix(Color c0, Color c1, float t)
{
    return { c0.r + (c1.r - c0.r) * t, c0.g + (c1.g - c0.g) * t, c0.b + (c1.b - c0.b) * t, c0.a + (c1.a - c0.a) * t };
}

Color shade(Color c, float factor)
{
    if (factor <= 1)
        return { c.r * factor, c.g * factor, c.b * factor, c.a };
    return mix(c, rgb(255, 255, 255, c.a), std::min(factor - 1, 1.0f));
}

Color withAlpha(Color c, float a)
{
    return { c.r, c.g, c.b, a };
}

Paint solid(Color c)
{
    return [c](float, float) { return c; };
}

Paint linear(float x0, float y0, Color c0, float x1, float y1, Color c1)
{
    float dx = x1 - x0, dy = y1 - y0;
    float len2 = dx * dx + dy * dy;
    return [=](float x, float y) {
        float t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
        return mix(c0, c1, std::clamp(t, 0.0f, 1.0f));
    };
}

float hashNoise(int x, int y, int seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u
        + static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / 16777215.0f;
}

float valueNoise(float x, float y, int seed)
{
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    float fx = x - ix, fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = hashNoise(ix, iy, seed), b = hashNoise(ix + 1, iy, seed);
    float c = hashNoise(ix, iy + 1, seed), d = hashNoise(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

Canvas::Canvas(int width, int height, Color background)
    : m_width(width)
    , m_height(height)
    , m_pixels(static_cast<size_t>(width) * height, background)
{
}

void Canvas::blend(int x, int y, Color c, float coverage)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    float sa = c.a * coverage;
    if (sa <= 0)
        return;
    Color& d = m_pixels[y * m_width + x];
    float oa = sa + d.a * (1 - sa);
    if (oa <= 0) {
        d = {};
        return;
    }
    float kd = d.a * (1 - sa) / oa, ks = sa / oa;
    d = { c.r * ks + d.r * kd, c.g * ks + d.g * kd, c.b * ks + d.b * kd, oa };
}

void Canvas::fill(const Shape& shape, const Paint& paint, int samples)
{
    int x0 = std::max(0, static_cast<int>(std::floor(shape.x0)) - 1);
    int y0 = std::max(0, static_cast<int>(std::floor(shape.y0)) - 1);
    int x1 = std::min(m_width - 1, static_cast<int>(std::ceil(shape.x1)) + 1);
    int y1 = std::min(m_height - 1, static_cast<int>(std::ceil(shape.y1)) + 1);
    float step = 1.0f / samples;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            float centre = shape.d(x + 0.5f, y + 0.5f);
            if (centre > 0.75f)
                continue;
            if (centre < -0.75f) {
                blend(x, y, paint(x + 0.5f, y + 0.5f), 1);
                continue;
            }
            // Average the paint over the covered subsamples so gradients stay
            // smooth right up to the edge.
            int inside = 0;
            Color sum;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    float px = x + (sx + 0.5f) * step, py = y + (sy + 0.5f) * step;
                    if (shape.d(px, py) < 0) {
                        Color c = paint(px, py);
                        sum.r += c.r * c.a;
                        sum.g += c.g * c.a;
                        sum.b += c.b * c.a;
                        sum.a += c.a;
                        ++inside;
                    }
                }
            }
            if (inside == 0 || sum.a <= 0)
                continue;
            Color c { sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / inside };
            blend(x, y, c, static_cast<float>(inside) / (samples * samples));
        }
    }
}

void Canvas::fillOutlined(const Shape& shape, const Paint& paint, Color rim, float rimWidth, int samples)
{
    fill(grow(shape, rimWidth), rim, samples);
    fill(shape, paint, samples);
}

float Canvas::text(Font& font, const std::string& s, float x, float baseline, Color c)
{
    FT_Face face = font.face();
    if (!face)
        return 0;
    float pen = x;
    for (unsigned char ch : s) {
        if (FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
            continue;
        FT_GlyphSlot g = face->glyph;
        int left = static_cast<int>(std::lround(pen)) + g->bitmap_left;
        int top = static_cast<int>(std::lround(baseline)) - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                unsigned char cov = g->bitmap.buffer[row * g->bitmap.pitch + col];
                if (cov)
                    blend(left + static_cast<int>(col), top + static_cast<int>(row), c, cov / 255.0f);
            }
        }
        pen += g->advance.x / 64.0f;
    }
    return pen - x;
}

void Canvas::draw(const Canvas& other, int dx, int dy)
{
    for (int y = 0; y < other.m_height; ++y) {
        for (int x = 0; x < other.m_width; ++x)
            blend(x + dx, y + dy, other.at(x, y), 1);
    }
}

void Canvas::filter(const std::function<Color(int, int, Color)>& f)
{
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x)
            m_pixels[y * m_width + x] = f(x, y, m_pixels[y * m_width + x]);
    }
}

namespace {

unsigned char toByte(float v)
{
    return static_cast<unsigned char>(std::clamp(std::lround(v), 0L, 255L));
}

} // namespace

bool Canvas::savePng(const std::string& path, bool withAlpha) const
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, m_width, m_height, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    int channels = withAlpha ? 4 : 3;
    std::vector<unsigned char> row(static_cast<size_t>(m_width) * channels);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            Color c = at(x, y);
            unsigned char* p = &row[static_cast<size_t>(x) * channels];
            unsigned char a = toByte(c.a * 255);
            if (withAlpha && a == 0) {
                // Fully see-through pixels are stored as 0,0,0,0 so that an
                // empty icon compares equal everywhere.
                p[0] = p[1] = p[2] = p[3] = 0;
                continue;
            }
            p[0] = toByte(c.r);
            p[1] = toByte(c.g);
            p[2] = toByte(c.b);
            if (withAlpha)
                p[3] = a;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

bool Canvas::saveJpeg(const std::string& path, int quality) const
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = m_width;
    cinfo.image_height = m_height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(m_width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < m_width; ++x) {
            Color c = at(x, y);
            row[x * 3] = toByte(c.r);
            row[x * 3 + 1] = toByte(c.g);
            row[x * 3 + 2] = toByte(c.b);
        }
        JSAMPROW rows[1] = { row.data() };
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(f) == 0;
}

} // namespace gen
