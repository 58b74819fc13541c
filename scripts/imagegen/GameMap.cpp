// Tile layout and textures of the screenshot's map.
#include "GameMap.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

// # wall, s stone floor, w wooden floor, d beaten path, o open ground (grass
// and dirt).
const char* const Floor[GameMap::Rows] = {
    "oooooooooodddooooooo",
    "o#########dddooooooo",
    "o#sssssss#dddooooooo",
    "o#sssssss#dddddddddd",
    "o#ssssssssdddddddddd",
    "o#sssssss#dddooooooo",
    "o#sssssss#ddd#######",
    "o###ss####ddd#wwwwww",
    "ddddddddddddd#wwwwww",
    "dddddddddddddwwwwwww",
    "ooooooooooddd#wwwwww",
    "ooooooooooddd#wwwwww",
    "ooooooooooddd###ww##",
    "oooooooooodddoooddoo",
    "oooooooooodddoooddoo",
};

// C crate, B barrel, b bush, M medkit, R a dropped rifle.
const char* const Props[GameMap::Rows] = {
    "....b..............b",
    "..............CC....",
    "..CC....B......C....",
    "..C.................",
    "....................",
    "....M...............",
    "....................",
    "..................CC",
    "...................C",
    "....................",
    "B......b.......C....",
    "Bb..................",
    "....CC.....R........",
    "....................",
    "....................",
};

float smoothstep(float e0, float e1, float v)
{
    float t = std::clamp((v - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

Color scaled(Color c, float k)
{
    return { c.r * k, c.g * k, c.b * k, 1 };
}

} // namespace

void dropShadow(Canvas& c, const Shape& s, float dx, float dy, float strength)
{
    c.fill(translate(grow(s, 0.5f), dx, dy), rgb(10, 12, 14, strength), 4);
}

char GameMap::at(int column, int row) const
{
    column = std::clamp(column, 0, Columns - 1);
    row = std::clamp(row, 0, Rows - 1);
    return Floor[row][column];
}

bool GameMap::wallAtPixel(float x, float y) const
{
    if (x < 0 || y < 0)
        return false;
    return at(static_cast<int>(x) / Tile, static_cast<int>(y) / Tile) == '#';
}

Color GameMap::stone(int x, int y) const
{
    // Square flags of half a tile, each a little different, with grout lines
    // and a light edge on the top and left of every flag.
    int sx = x % 16, sy = y % 16;
    float k = 0.9f + 0.14f * hashNoise(x / 16, y / 16, 11);
    k *= 0.94f + 0.1f * valueNoise(x / 23.0f, y / 23.0f, 12);
    k *= 0.97f + 0.05f * hashNoise(x, y, 13);
    if (sx == 0 || sy == 0)
        k *= 0.68f;
    else if (sx == 1 || sy == 1)
        k *= 1.08f;
    else if (sx == 15 || sy == 15)
        k *= 0.88f;
    return scaled(rgb(158, 152, 140), k);
}

Color GameMap::planks(int x, int y) const
{
    int row = y / 8;
    int shift = static_cast<int>(hashNoise(row, 0, 21) * 48);
    int along = (x + shift) % 48, plank = (x + shift) / 48;
    float k = 0.84f + 0.24f * hashNoise(row, plank, 22);
    k *= 0.9f + 0.18f * valueNoise((x + shift) / 9.0f, y * 1.3f, 23);
    if (y % 8 == 0 || along == 0)
        k *= 0.5f;
    else if (y % 8 == 1)
        k *= 1.06f;
    if ((along == 3 || along == 44) && (y % 8 == 2 || y % 8 == 6))
        return rgb(70, 56, 44);
    return scaled(rgb(160, 112, 66), k);
}

Color GameMap::outdoor(int x, int y) const
{
    // A ragged edge where the beaten path meets the open ground.
    float jx = (valueNoise(x / 9.0f, y / 9.0f, 31) - 0.5f) * 22;
    float jy = (valueNoise(x / 9.0f, y / 9.0f, 32) - 0.5f) * 22;
    int tx = static_cast<int>((x + jx) / Tile), ty = static_cast<int>((y + jy) / Tile);
    char t = (x + jx < 0 || y + jy < 0) ? 'o' : at(tx, ty);
    bool path = t == 'd';
    float grassiness = 0.65f * valueNoise(x / 52.0f, y / 52.0f, 33) + 0.35f * valueNoise(x / 14.0f, y / 14.0f, 34);
    float g = path ? 0 : smoothstep(0.36f, 0.46f, grassiness);

    float d = 0.88f + 0.2f * valueNoise(x / 11.0f, y / 11.0f, 35);
    d *= 0.95f + 0.08f * hashNoise(x, y, 36);
    Color dirt = scaled(rgb(176, 146, 104), d);
    float pebble = hashNoise(x / 2, y / 2, 37);
    if (pebble > 0.994f)
        dirt = mix(dirt, rgb(206, 194, 176), 0.6f);
    else if (pebble < 0.006f)
        dirt = scaled(dirt, 0.8f);

    float gr = 0.82f + 0.25f * valueNoise(x / 7.0f, y / 7.0f, 39);
    Color grass = scaled(rgb(82, 128, 54), gr);
    float blade = hashNoise(x, y, 40);
    if (blade > 0.86f)
        grass = scaled(rgb(118, 166, 72), gr);
    else if (blade < 0.1f)
        grass = scaled(grass, 0.8f);
    return mix(dirt, grass, g);
}

Color GameMap::wall(int x, int y) const
{
    int tx = x / Tile, ty = y / Tile, lx = x % Tile, ly = y % Tile;
    float k = 0.92f + 0.1f * valueNoise(x / 6.0f, y / 6.0f, 51) + 0.05f * hashNoise(x, y, 52);
    k *= 0.95f + 0.08f * hashNoise(tx, ty, 53);
    // Seams between neighbouring blocks, bevels where the wall ends.
    const int bevel = 4;
    bool openLeft = at(tx - 1, ty) != '#', openTop = at(tx, ty - 1) != '#';
    bool openRight = at(tx + 1, ty) != '#', openBottom = at(tx, ty + 1) != '#';
    if ((lx == 0 && openLeft) || (ly == 0 && openTop) || (lx == Tile - 1 && openRight)
        || (ly == Tile - 1 && openBottom))
        k *= 0.5f;
    else if (lx < bevel && openLeft)
        k *= 1.28f;
    else if (ly < bevel && openTop)
        k *= 1.22f;
    else if (lx >= Tile - bevel && openRight)
        k *= 0.66f;
    else if (ly >= Tile - bevel && openBottom)
        k *= 0.7f;
    else if (lx == 0 || ly == 0)
        k *= 0.8f;
    return scaled(rgb(124, 122, 120), k);
}

void GameMap::paintGround(Canvas& c) const
{
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            char t = at(x / Tile, y / Tile);
            if (t == '#') {
                c.set(x, y, wall(x, y));
                continue;
            }
            Color col = t == 'w' ? planks(x, y) : t == 's' ? stone(x, y) : outdoor(x, y);
            // Walls throw a soft shadow down and to the right.
            float shadow = 0;
            for (int k : { 4, 6, 8, 10 })
                shadow += wallAtPixel(x - k, y - k * 1.2f) ? 0.25f : 0;
            float near = 0;
            for (int k : { 1, 2, 3 })
                near += (wallAtPixel(x - k, y) || wallAtPixel(x + k, y) || wallAtPixel(x, y - k)
                            || wallAtPixel(x, y + k))
                    ? 0.33f
                    : 0;
            c.set(x, y, scaled(col, (1 - 0.5f * shadow) * (1 - 0.12f * near)));
        }
    }
}

namespace {

void crate(Canvas& c, float x, float y, float tone)
{
    Color rim = rgb(74, 46, 22);
    Shape body = box(x + 1.5f, y + 1.5f, x + 30.5f, y + 30.5f, 1.5f);
    dropShadow(c, body);
    Color hi = scaled(rgb(214, 166, 100), tone), lo = scaled(rgb(168, 118, 62), tone);
    c.fillOutlined(body, linear(x, y, hi, x + 32, y + 32, lo), rim, 1.2f);
    Shape panel = box(x + 6.5f, y + 6.5f, x + 25.5f, y + 25.5f);
    c.fill(panel, linear(x, y, scaled(rgb(172, 120, 64), tone), x + 32, y + 32, scaled(rgb(136, 90, 44), tone)));
    for (float py = y + 11; py < y + 25; py += 5)
        c.fill(box(x + 6.5f, py - 0.5f, x + 25.5f, py + 0.5f), withAlpha(rim, 0.55f));
    c.fill(outline(panel, 1), rim);
    Shape brace = capsule(x + 8.5f, y + 23.5f, x + 23.5f, y + 8.5f, 2.6f);
    c.fillOutlined(intersect(brace, grow(panel, -0.5f)), linear(x, y, hi, x + 32, y + 32, lo), rim, 1);
    for (float nx : { x + 4, x + 28 })
        for (float ny : { y + 4, y + 28 })
            c.fill(circle(nx, ny, 1.1f), rgb(92, 90, 88));
}

void barrel(Canvas& c, float cx, float cy, Color paint)
{
    Shape body = circle(cx, cy, 13);
    dropShadow(c, body);
    c.fillOutlined(body, linear(cx - 13, cy - 13, shade(paint, 1.35f), cx + 13, cy + 13, shade(paint, 0.6f)),
        rgb(30, 32, 36), 1.2f);
    c.fill(outline(circle(cx, cy, 9.5f), 1.6f), withAlpha(shade(paint, 0.45f), 0.8f));
    c.fill(outline(circle(cx, cy, 9.5f), 0.6f), withAlpha(rgb(255, 255, 255), 0.18f));
    c.fill(circle(cx + 4, cy - 3, 2.2f), rgb(46, 48, 52));
    c.fill(circle(cx - 5, cy - 5, 3.5f), rgb(255, 255, 255, 0.18f));
}

void bush(Canvas& c, float cx, float cy, int seed)
{
    std::vector<Shape> parts;
    for (int i = 0; i < 6; ++i) {
        float a = i * 1.047f + hashNoise(i, seed, 61);
        float r = 6 + 4 * hashNoise(i, seed, 62);
        parts.push_back(circle(cx + std::cos(a) * 8, cy + std::sin(a) * 8, r));
    }
    parts.push_back(circle(cx, cy, 10));
    Shape leaves = unite(parts);
    dropShadow(c, leaves, 5, 6, 0.32f);
    c.fillOutlined(
        leaves, linear(cx - 16, cy - 16, rgb(92, 150, 60), cx + 16, cy + 16, rgb(40, 86, 34)), rgb(28, 58, 26), 1);
    for (int i = 0; i < 9; ++i) {
        float a = i * 0.7f + hashNoise(i, seed, 63) * 2;
        float r = 3 + 9 * hashNoise(i, seed, 64);
        c.fill(circle(cx + std::cos(a) * r - 2, cy + std::sin(a) * r - 2, 2.2f + hashNoise(i, seed, 65) * 1.5f),
            rgb(130, 190, 84, 0.55f));
    }
}

void medkit(Canvas& c, float cx, float cy)
{
    Shape kit = box(cx - 10, cy - 8, cx + 10, cy + 8, 2);
    dropShadow(c, kit, 3, 3, 0.35f);
    c.fillOutlined(
        kit, linear(cx - 10, cy - 8, rgb(252, 252, 250), cx + 10, cy + 8, rgb(200, 204, 210)), rgb(60, 62, 70), 1);
    c.fill(unite(box(cx - 2, cy - 6, cx + 2, cy + 6), box(cx - 6, cy - 2, cx + 6, cy + 2)), rgb(214, 40, 40));
}

void rifle(Canvas& c, float cx, float cy, float angle)
{
    Color metal = rgb(52, 54, 60), wood = rgb(120, 78, 40), ink = rgb(24, 24, 28);
    Shape stock = polygon({ { cx - 20, cy - 3 }, { cx - 10, cy - 2 }, { cx - 10, cy + 2 }, { cx - 20, cy + 4 } });
    Shape body = box(cx - 10, cy - 2.5f, cx + 6, cy + 2.5f, 1);
    Shape barrelShape = box(cx + 6, cy - 1, cx + 20, cy + 1);
    Shape mag = box(cx - 2, cy + 2, cx + 2, cy + 9, 1);
    Shape gun = rotate(unite({ stock, body, barrelShape, mag }), cx, cy, angle);
    dropShadow(c, gun, 2, 3, 0.35f);
    c.fill(grow(gun, 1), ink);
    c.fill(rotate(stock, cx, cy, angle), wood);
    c.fill(rotate(unite({ body, barrelShape, mag }), cx, cy, angle), metal);
    c.fill(rotate(box(cx - 8, cy - 1.8f, cx + 4, cy - 0.8f), cx, cy, angle), rgb(110, 114, 122));
}

} // namespace

void GameMap::paintProps(Canvas& c) const
{
    for (int row = 0; row < Rows; ++row) {
        for (int col = 0; col < Columns; ++col) {
            float x = static_cast<float>(col * Tile), y = static_cast<float>(row * Tile);
            switch (Props[row][col]) {
            case 'C':
                crate(c, x, y, 0.9f + 0.18f * hashNoise(col, row, 71));
                break;
            case 'B':
                barrel(c, x + 16, y + 16, (col + row) % 2 ? rgb(176, 64, 44) : rgb(70, 112, 150));
                break;
            case 'b':
                bush(c, x + 16, y + 16, col * 31 + row);
                break;
            case 'M':
                medkit(c, x + 16, y + 16);
                break;
            case 'R':
                rifle(c, x + 14, y + 18, 0.5f);
                break;
            default:
                break;
            }
        }
    }
}

} // namespace gen
