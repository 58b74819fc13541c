// Distance functions and combinators of the painter's shapes.
#include "Shapes.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

float length(float x, float y)
{
    return std::sqrt(x * x + y * y);
}

float segmentDistance(float px, float py, float ax, float ay, float bx, float by)
{
    float dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return length(px - ax - dx * t, py - ay - dy * t);
}

} // namespace

Shape circle(float cx, float cy, float r)
{
    return { [=](float x, float y) { return length(x - cx, y - cy) - r; }, cx - r, cy - r, cx + r, cy + r };
}

Shape ellipse(float cx, float cy, float rx, float ry)
{
    // Scaled circle distance divided by its gradient: close enough to exact
    // for the mild ellipses drawn here.
    return { [=](float x, float y) {
                float ux = (x - cx) / rx, uy = (y - cy) / ry;
                float k = length(ux, uy);
                float g = length(ux / rx, uy / ry);
                if (g < 1e-6f)
                    return -std::min(rx, ry);
                return k * (k - 1) / g;
            },
        cx - rx, cy - ry, cx + rx, cy + ry };
}

Shape box(float x0, float y0, float x1, float y1, float radius)
{
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    return { [=](float x, float y) {
                float qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
                return length(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
            },
        x0, y0, x1, y1 };
}

Shape polygon(std::vector<Point> v)
{
    float x0 = v[0].x, y0 = v[0].y, x1 = x0, y1 = y0;
    for (auto& p : v) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    return { [v](float x, float y) {
                float d = 1e30f;
                bool inside = false;
                size_t n = v.size();
                for (size_t i = 0, j = n - 1; i < n; j = i++) {
                    d = std::min(d, segmentDistance(x, y, v[j].x, v[j].y, v[i].x, v[i].y));
                    if ((v[i].y > y) != (v[j].y > y)
                        && x < (v[j].x - v[i].x) * (y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
                        inside = !inside;
                }
                return inside ? -d : d;
            },
        x0, y0, x1, y1 };
}

Shape capsule(float ax, float ay, float bx, float by, float r)
{
    return { [=](float x, float y) { return segmentDistance(x, y, ax, ay, bx, by) - r; }, std::min(ax, bx) - r,
        std::min(ay, by) - r, std::max(ax, bx) + r, std::max(ay, by) + r };
}

Shape arc(float cx, float cy, float r, float a0, float a1, float halfWidth)
{
    float ex0 = cx + r * std::cos(a0), ey0 = cy + r * std::sin(a0);
    float ex1 = cx + r * std::cos(a1), ey1 = cy + r * std::sin(a1);
    float span = a1 - a0;
    return { [=](float x, float y) {
                float a = std::atan2(y - cy, x - cx) - a0;
                const float turn = 2 * static_cast<float>(M_PI);
                a = std::fmod(std::fmod(a, turn) + turn, turn);
                float d;
                if (a <= span)
                    d = std::abs(length(x - cx, y - cy) - r);
                else
                    d = std::min(length(x - ex0, y - ey0), length(x - ex1, y - ey1));
                return d - halfWidth;
            },
        cx - r - halfWidth, cy - r - halfWidth, cx + r + halfWidth, cy + r + halfWidth };
}

Shape path(const std::vector<Point>& points, float halfWidth)
{
    std::vector<Shape> parts;
    for (size_t i = 1; i < points.size(); ++i)
        parts.push_back(capsule(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, halfWidth));
    return unite(parts);
}

Shape unite(const Shape& a, const Shape& b)
{
    return { [a, b](float x, float y) { return std::min(a.d(x, y), b.d(x, y)); }, std::min(a.x0, b.x0),
        std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1) };
}

Shape unite(const std::vector<Shape>& shapes)
{
    Shape s = shapes[0];
    for (size_t i = 1; i < shapes.size(); ++i)
        s = unite(s, shapes[i]);
    return s;
}

Shape intersect(const Shape& a, const Shape& b)
{
    return { [a, b](float x, float y) { return std::max(a.d(x, y), b.d(x, y)); }, std::max(a.x0, b.x0),
        std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1) };
}

Shape subtract(const Shape& a, const Shape& b)
{
    return { [a, b](float x, float y) { return std::max(a.d(x, y), -b.d(x, y)); }, a.x0, a.y0, a.x1, a.y1 };
}

Shape grow(const Shape& s, float by)
{
    return { [s, by](float x, float y) { return s.d(x, y) - by; }, s.x0 - by, s.y0 - by, s.x1 + by, s.y1 + by };
}

Shape outline(const Shape& s, float width)
{
    float h = width / 2;
    return { [s, h](float x, float y) { return std::abs(s.d(x, y)) - h; }, s.x0 - h, s.y0 - h, s.x1 + h, s.y1 + h };
}

Shape rotate(const Shape& s, float cx, float cy, float angle)
{
    float c = std::cos(angle), sn = std::sin(angle);
    // Bounds: rotate the corners of the old bounds.
    float xs[4] = { s.x0, s.x1, s.x1, s.x0 }, ys[4] = { s.y0, s.y0, s.y1, s.y1 };
    float x0 = 1e30f, y0 = 1e30f, x1 = -1e30f, y1 = -1e30f;
    for (int i = 0; i < 4; ++i) {
        float rx = cx + (xs[i] - cx) * c - (ys[i] - cy) * sn;
        float ry = cy + (xs[i] - cx) * sn + (ys[i] - cy) * c;
        x0 = std::min(x0, rx);
        y0 = std::min(y0, ry);
        x1 = std::max(x1, rx);
        y1 = std::max(y1, ry);
    }
    return { [s, cx, cy, c, sn](float x, float y) {
                float dx = x - cx, dy = y - cy;
                return s.d(cx + dx * c + dy * sn, cy - dx * sn + dy * c);
            },
        x0, y0, x1, y1 };
}

Shape translate(const Shape& s, float dx, float dy)
{
    return { [s, dx, dy](float x, float y) { return s.d(x - dx, y - dy); }, s.x0 + dx, s.y0 + dy, s.x1 + dx,
        s.y1 + dy };
}

} // namespace gen
