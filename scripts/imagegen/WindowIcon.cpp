// The main window's icon: a page of script under a crosshair.
#include "Palette.h"
#include "Pictures.h"

#include <cmath>

namespace gen {

using namespace palette;

Canvas paintWindowIcon()
{
    constexpr int Samples = 8;
    Canvas c(48, 48);
    Shape page = polygon({ { 7, 3 }, { 30, 3 }, { 39, 12 }, { 39, 45 }, { 7, 45 } });
    c.fillOutlined(page, lit(page, paperHi, paperLo), ink, 1.5f, Samples);
    Shape corner = polygon({ { 30, 3 }, { 30, 12 }, { 39, 12 } });
    c.fill(corner, linear(30, 12, fold, 34.5f, 7.5f, paperHi), Samples);
    c.fill(outline(corner, 1.4f), ink, Samples);

    // Lines of code: indentation and a few syntax colours.
    struct Token {
        float x0, x1;
        Color col;
    };
    const Color keyword = rgb(40, 90, 200), name = rgb(70, 76, 92), text = rgb(30, 150, 60), number = rgb(210, 110, 20);
    const std::vector<std::vector<Token>> lines = {
        { { 11, 19, keyword }, { 21, 31, name } },
        { { 14, 20, name }, { 22, 34, text } },
        { { 14, 19, keyword }, { 21, 26, number } },
        { { 17, 29, name } },
        { { 14, 20, keyword } },
        { { 11, 17, keyword } },
    };
    float y = 13;
    for (const auto& line : lines) {
        for (const Token& t : line)
            c.fill(box(t.x0, y, t.x1, y + 2.6f, 1.3f), t.col, Samples);
        y += 5.2f;
    }

    // The crosshair of a shooter, over the page's lower right corner.
    const float cx = 33, cy = 36;
    c.fill(circle(cx, cy, 8.6f), rgb(255, 255, 255, 0.7f), Samples);
    Shape ring = outline(circle(cx, cy, 6.6f), 2);
    std::vector<Shape> ticks;
    for (int i = 0; i < 4; ++i) {
        float a = i * 3.14159265f / 2;
        ticks.push_back(capsule(cx + 3.6f * std::cos(a), cy + 3.6f * std::sin(a), cx + 10.4f * std::cos(a),
            cy + 10.4f * std::sin(a), 0.9f));
    }
    Shape sight = unite(ring, unite(ticks));
    c.fillOutlined(sight, lit(sight, redHi, redLo), ink, 1, Samples);
    c.fill(circle(cx, cy, 1.2f), redLo, Samples);
    return c;
}

} // namespace gen
