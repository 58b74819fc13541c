// Signed-distance shapes: the vocabulary the image painter draws with.
#pragma once

#include <functional>
#include <vector>

namespace gen {

struct Point {
    float x;
    float y;
};

// Negative inside, positive outside; exact or close to the Euclidean distance
// near the edge, which is all that outlines and anti-aliasing need.
using Distance = std::function<float(float, float)>;

struct Shape {
    Distance d;
    float x0, y0, x1, y1; // a rectangle that holds every inside point
};

Shape circle(float cx, float cy, float r);
Shape ellipse(float cx, float cy, float rx, float ry);
Shape box(float x0, float y0, float x1, float y1, float radius = 0);
Shape polygon(std::vector<Point> points);
Shape capsule(float ax, float ay, float bx, float by, float r);
// A thick circular arc from angle a0 to a1 (radians, clockwise on screen
// because y grows downward) with round ends.
Shape arc(float cx, float cy, float r, float a0, float a1, float halfWidth);
// A polyline of round-capped segments.
Shape path(const std::vector<Point>& points, float halfWidth);

Shape unite(const Shape& a, const Shape& b);
Shape unite(const std::vector<Shape>& shapes);
Shape intersect(const Shape& a, const Shape& b);
Shape subtract(const Shape& a, const Shape& b);
Shape grow(const Shape& s, float by);
Shape outline(const Shape& s, float width);
Shape rotate(const Shape& s, float cx, float cy, float angle);
Shape translate(const Shape& s, float dx, float dy);

} // namespace gen
