// The toolbar's icon strip and the gradient tiled behind it.
#include "Palette.h"
#include "Pictures.h"

#include <cmath>

namespace gen {

using namespace palette;

namespace {

constexpr int Side = 24;
constexpr int Samples = 8;
constexpr float Pi = 3.14159265f;

void outlined(Canvas& c, const Shape& s, const Paint& p, float rim = 1)
{
    c.fillOutlined(s, p, ink, rim, Samples);
}
void paint(Canvas& c, const Shape& s, const Paint& p)
{
    c.fill(s, p, Samples);
}
void paint(Canvas& c, const Shape& s, Color col)
{
    c.fill(s, col, Samples);
}

// The green "start" triangle shared by the two launch icons.
void playBadge(Canvas& c)
{
    Shape tri = polygon({ { 13, 12.5f }, { 22.5f, 17.75f }, { 13, 23 } });
    outlined(c, tri, lit(tri, greenHi, greenLo));
    paint(c, polygon({ { 14.3f, 14.8f }, { 18.5f, 17.2f }, { 14.3f, 16.6f } }), rgb(255, 255, 255, 0.45f));
}

void newPage(Canvas& c)
{
    Shape page = polygon({ { 5, 2 }, { 14, 2 }, { 19, 7 }, { 19, 22 }, { 5, 22 } });
    outlined(c, page, lit(page, paperHi, paperLo));
    Shape corner = polygon({ { 14.5f, 2 }, { 14.5f, 7.5f }, { 19, 7.5f } });
    paint(c, corner, linear(14.5f, 7.5f, fold, 17, 4.5f, paperHi));
    paint(c, outline(corner, 1), ink);
}

void openFolder(Canvas& c)
{
    Shape back = polygon({ { 2, 4 }, { 8, 4 }, { 10, 6 }, { 18, 6 }, { 18, 20 }, { 2, 20 } });
    outlined(c, back, lit(back, rgb(236, 180, 64), rgb(196, 130, 26)));
    Shape sheet = box(5, 8, 16, 16);
    outlined(c, sheet, lit(sheet, paperHi, paperLo));
    for (float y : { 10.5f, 12.5f })
        paint(c, box(7, y - 0.5f, 14, y + 0.5f), rgb(160, 174, 196));
    Shape front = polygon({ { 6, 11 }, { 22, 11 }, { 18.5f, 20 }, { 2, 20 } });
    outlined(c, front, litVertical(front, yellowHi, yellowLo));
    paint(c, polygon({ { 7, 12 }, { 20.5f, 12 }, { 20.1f, 13 }, { 6.6f, 13 } }), rgb(255, 246, 200, 0.7f));
}

void floppy(Canvas& c)
{
    Shape body = polygon({ { 3, 3 }, { 18, 3 }, { 21, 6 }, { 21, 21 }, { 3, 21 } });
    outlined(c, body, lit(body, blueHi, blueLo));
    Shape shutter = box(7, 3, 16, 10);
    outlined(c, shutter, lit(shutter, steelHi, steelLo));
    paint(c, box(12.5f, 4.5f, 14.5f, 8.5f), rgb(60, 80, 120));
    Shape label = box(6, 13, 18, 21);
    outlined(c, label, lit(label, paperHi, paperLo));
    for (float y : { 15.5f, 17.5f })
        paint(c, box(8, y - 0.5f, 16, y + 0.5f), rgb(150, 170, 205));
    paint(c, box(6, 13, 18, 14), redHi);
}

void itemWithId(Canvas& c)
{
    Shape crate = box(2, 3, 15, 16);
    outlined(c, crate, lit(crate, woodHi, woodLo));
    Shape panel = box(4, 5, 13, 14);
    paint(c, panel, lit(panel, rgb(196, 140, 76), rgb(150, 96, 46)));
    paint(c, outline(panel, 0.8f), woodDark);
    Shape brace = capsule(4.6f, 13.2f, 12.4f, 5.8f, 1.1f);
    paint(c, grow(brace, 0.7f), woodDark);
    paint(c, brace, woodHi);
    // The id tag hangs over the crate's corner.
    Shape tag = polygon({ { 10, 16 }, { 14, 11 }, { 22, 11 }, { 22, 21 }, { 14, 21 } });
    outlined(c, tag, lit(tag, rgb(255, 246, 196), rgb(236, 206, 120)));
    paint(c, outline(circle(13.2f, 16, 1.1f), 0.9f), ink);
    Color sign = blueLo;
    paint(c, capsule(17, 12.8f, 16.2f, 19.2f, 0.65f), sign);
    paint(c, capsule(20, 12.8f, 19.2f, 19.2f, 0.65f), sign);
    paint(c, capsule(15.2f, 14.7f, 21.1f, 14.7f, 0.65f), sign);
    paint(c, capsule(14.9f, 17.4f, 20.8f, 17.4f, 0.65f), sign);
}

void hudText(Canvas& c)
{
    Shape base = box(7, 20, 17, 22, 0.8f);
    outlined(c, base, lit(base, steelHi, steelLo));
    Shape neck = box(10, 17, 14, 20);
    outlined(c, neck, lit(neck, steelHi, steelLo));
    Shape bezel = box(2, 3, 22, 18, 1.5f);
    outlined(c, bezel, lit(bezel, steelHi, steelLo));
    Shape glass = box(4, 5, 20, 16);
    paint(c, glass, linear(0, 5, rgb(44, 62, 98), 0, 16, rgb(22, 30, 50)));
    // A line of HUD text in three colours, and a shorter dim one under it.
    paint(c, box(5.5f, 7.5f, 9.5f, 10), rgb(255, 220, 0));
    paint(c, box(10.5f, 7.5f, 14.5f, 10), rgb(90, 230, 90));
    paint(c, box(15.5f, 7.5f, 18.5f, 10), rgb(255, 90, 80));
    paint(c, box(5.5f, 11.5f, 13.5f, 13), rgb(200, 214, 240));
    paint(c, polygon({ { 4, 5 }, { 12, 5 }, { 4, 11 } }), rgb(255, 255, 255, 0.12f));
}

void colourPalette(Canvas& c)
{
    Shape hole = circle(15, 16.5f, 1.9f);
    Shape board = subtract(subtract(ellipse(12, 12.5f, 10.5f, 8.5f), hole), circle(22.5f, 18.5f, 3.8f));
    board = rotate(board, 12, 12.5f, -0.2f);
    outlined(c, board, lit(board, rgb(250, 234, 200), rgb(204, 166, 110)));
    struct Blob {
        float x, y;
        Color hi, lo;
    };
    Blob blobs[] = {
        { 5.6f, 12.4f, redHi, redLo },
        { 8, 8, yellowHi, yellowLo },
        { 12.6f, 6.6f, greenHi, greenLo },
        { 17.4f, 7.6f, blueHi, blueLo },
        { 8.4f, 16.6f, rgb(236, 130, 236), rgb(160, 50, 170) },
    };
    for (const Blob& b : blobs) {
        Shape dot = circle(b.x, b.y, 2);
        c.fillOutlined(dot, lit(dot, b.hi, b.lo), withAlpha(ink, 0.7f), 0.6f, Samples);
        paint(c, circle(b.x - 0.6f, b.y - 0.6f, 0.6f), rgb(255, 255, 255, 0.6f));
    }
}

void stopwatch(Canvas& c)
{
    Shape crown = box(10.5f, 1, 13.5f, 4);
    outlined(c, crown, lit(crown, steelHi, steelLo));
    Shape button = rotate(box(10.8f, 1, 13.2f, 5), 12, 13.5f, 0.8f);
    outlined(c, button, lit(button, steelHi, steelLo));
    Shape rimShape = circle(12, 13.5f, 9);
    outlined(c, rimShape, lit(rimShape, redHi, redLo));
    Shape face = circle(12, 13.5f, 7);
    paint(c, face, lit(face, paperHi, paperLo));
    paint(c, outline(face, 0.6f), withAlpha(ink, 0.6f));
    for (int i = 0; i < 12; ++i) {
        float a = i * Pi / 6;
        float r0 = i % 3 == 0 ? 4.6f : 5.5f;
        paint(c,
            capsule(12 + r0 * std::cos(a), 13.5f + r0 * std::sin(a), 12 + 6 * std::cos(a), 13.5f + 6 * std::sin(a),
                i % 3 == 0 ? 0.5f : 0.3f),
            ink);
    }
    paint(c, capsule(12, 13.5f, 12, 8.6f, 0.6f), ink);
    paint(c, capsule(12, 13.5f, 15.6f, 11.2f, 0.55f), redLo);
    paint(c, circle(12, 13.5f, 1.2f), redLo);
}

void picture(Canvas& c)
{
    Shape frame = box(2, 4, 22, 20);
    outlined(c, frame, lit(frame, paperHi, paperLo));
    Shape view = box(4, 6, 20, 18);
    paint(c, view, linear(0, 6, rgb(120, 184, 248), 0, 18, rgb(214, 236, 255)));
    Shape sun = circle(15.5f, 9.5f, 2);
    paint(c, sun, lit(sun, rgb(255, 236, 120), rgb(250, 170, 30)));
    Shape far = intersect(polygon({ { 8, 18 }, { 14, 11 }, { 21, 18 } }), view);
    paint(c, far, litVertical(far, rgb(110, 170, 120), rgb(60, 120, 80)));
    Shape near = intersect(polygon({ { 3, 18 }, { 8.5f, 10 }, { 14, 18 } }), view);
    paint(c, near, litVertical(near, greenHi, greenLo));
    paint(c, polygon({ { 8.5f, 10 }, { 10.1f, 12.3f }, { 8.4f, 11.8f }, { 7, 12.2f } }), rgb(255, 255, 255, 0.85f));
    paint(c, outline(view, 1), rgb(150, 160, 178));
}

void hook(Canvas& c)
{
    // The end of the line it hangs from.
    paint(c, capsule(14.5f, 0, 14.5f, 2, 0.45f), rgb(60, 110, 200));
    Shape metal = unite({
        outline(circle(14.5f, 3.6f, 1.8f), 1.3f),
        capsule(14.5f, 5.4f, 14.5f, 15, 1),
        arc(9.5f, 15, 5, 0, Pi, 1),
        capsule(4.5f, 15, 4.5f, 11, 1),
        polygon({ { 3.5f, 13 }, { 3.5f, 11.5f }, { 4.5f, 7.6f }, { 8, 13.4f }, { 5.5f, 11.9f }, { 5.5f, 13 } }),
    });
    c.fillOutlined(metal, lit(metal, steelHi, rgb(100, 110, 128)), ink, 0.9f, Samples);
    paint(c, capsule(14.1f, 6.5f, 14.1f, 14.5f, 0.35f), rgb(255, 255, 255, 0.8f));
    paint(c, arc(9.5f, 15, 5.35f, 0.5f, 1.6f, 0.3f), rgb(255, 255, 255, 0.45f));
}

void gamepad(Canvas& c)
{
    Shape pad
        = unite({ box(1, 3, 20, 11.5f, 4), capsule(5, 9, 3.8f, 13.6f, 2.3f), capsule(16, 9, 17.2f, 13.6f, 2.3f) });
    outlined(c, pad, lit(pad, slateHi, slateLo));
    Color light = rgb(226, 232, 240);
    paint(c, unite(box(3.6f, 6.3f, 8.4f, 8.2f), box(5.05f, 4.85f, 6.95f, 9.65f)), light);
    paint(c, circle(15, 5.6f, 1.15f), redHi);
    paint(c, circle(17.2f, 7.6f, 1.15f), yellowHi);
    paint(c, circle(12.8f, 7.6f, 1.15f), blueHi);
    playBadge(c);
}

void serverTower(Canvas& c)
{
    Shape tower = box(3, 1, 14, 23, 1);
    outlined(c, tower, lit(tower, rgb(200, 208, 220), rgb(110, 120, 138)));
    for (float y : { 3.5f, 7.5f }) {
        Shape bay = box(5, y, 12, y + 2.5f);
        paint(c, bay, litVertical(bay, rgb(70, 78, 96), rgb(40, 46, 60)));
        paint(c, box(9.5f, y + 1, 11, y + 1.6f), rgb(230, 236, 244));
    }
    for (float y : { 12.5f, 14.5f, 16.5f })
        paint(c, box(5, y - 0.45f, 12, y + 0.45f), rgb(90, 100, 120));
    paint(c, circle(5.8f, 20, 0.9f), rgb(90, 240, 90));
    paint(c, circle(8.4f, 20, 0.9f), rgb(255, 190, 60));
    playBadge(c);
}

void terminal(Canvas& c)
{
    Shape window = box(2, 3, 22, 21, 1);
    outlined(c, window, solid(rgb(34, 38, 48)));
    Shape title = intersect(window, box(2, 3, 22, 7));
    paint(c, title, litVertical(title, blueHi, blueLo));
    paint(c, box(2, 7, 22, 8), ink);
    for (float x : { 19.5f, 16.5f })
        paint(c, circle(x, 5, 0.9f), rgb(230, 236, 250));
    Color prompt = rgb(120, 236, 120);
    paint(c, path({ { 5, 10.5f }, { 8.5f, 13 }, { 5, 15.5f } }, 0.8f), prompt);
    paint(c, box(10, 15, 15, 16.6f), prompt);
}

} // namespace

Canvas paintToolbar()
{
    using Painter = void (*)(Canvas&);
    Painter icons[14] = { newPage, openFolder, floppy, nullptr, itemWithId, hudText, colourPalette, stopwatch, picture,
        hook, nullptr, gamepad, serverTower, terminal };
    Canvas strip(Side * 14, Side);
    for (int i = 0; i < 14; ++i) {
        if (!icons[i])
            continue; // left fully transparent: the toolbar shows a separator
        Canvas icon(Side, Side);
        icons[i](icon);
        strip.draw(icon, i * Side, 0);
    }
    return strip;
}

Canvas paintToolbarBackground()
{
    // Every row is one colour, so the tiles meet without a seam.
    Canvas c(32, 32);
    for (int y = 0; y < 32; ++y) {
        float v = 247 - 27.0f * y / 31;
        for (int x = 0; x < 32; ++x)
            c.set(x, y, { v, v, v + 2, 1 });
    }
    return c;
}

} // namespace gen
