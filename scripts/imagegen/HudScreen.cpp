// The HUD preview's background: a moment of a match seen from above, with the game's HUD over it.
#include "Font.h"
#include "GameMap.h"
#include "Pictures.h"

#include <cmath>

namespace gen {

namespace {

struct Team {
    Color hi, lo;
};

const Team Red { rgb(222, 84, 62), rgb(150, 40, 30) };
const Team Blue { rgb(84, 132, 222), rgb(34, 66, 150) };
const Color Ink = rgb(22, 24, 28);
const Color HudYellow = rgb(255, 214, 84);

// A soldier seen from straight above, facing `angle` (radians, 0 = right).
// Returns the muzzle position so tracers can start there.
Point soldier(Canvas& c, float x, float y, float angle, const Team& team)
{
    auto place = [&](const Shape& s) { return rotate(translate(s, x, y), x, y, angle); };
    Shape gun = place(unite(box(2, 3, 31, 7, 1), box(9, 6, 13, 12, 1)));
    Shape body = place(ellipse(-1, 0, 9, 14));
    Shape hands = place(unite(circle(9, 6.6f, 3.3f), circle(20, 5.2f, 3)));
    Shape head = place(circle(1, 0, 7.5f));
    dropShadow(c, unite({ gun, body, head }), 5, 6, 0.36f);
    c.fillOutlined(gun, rgb(58, 60, 66), Ink, 1.1f);
    c.fill(place(box(15, 4.2f, 30, 5.4f)), rgb(120, 124, 132));
    c.fillOutlined(body, linear(x - 14, y - 14, team.hi, x + 14, y + 14, team.lo), Ink, 1.2f);
    c.fillOutlined(hands, rgb(226, 178, 140), Ink, 1);
    c.fillOutlined(head, linear(x - 8, y - 8, shade(team.lo, 1.25f), x + 8, y + 8, shade(team.lo, 0.6f)), Ink, 1.1f);
    c.fill(place(circle(-1.5f, -2.5f, 2.6f)), rgb(255, 255, 255, 0.28f));
    float ca = std::cos(angle), sa = std::sin(angle);
    return { x + 32 * ca - 5 * sa, y + 32 * sa + 5 * ca };
}

void tracer(Canvas& c, Point from, Point to)
{
    float dx = to.x - from.x, dy = to.y - from.y;
    c.fill(capsule(from.x, from.y, to.x, to.y, 1.1f),
        linear(from.x, from.y, rgb(255, 240, 170, 0.9f), to.x, to.y, rgb(255, 220, 120, 0.05f)));
    // Muzzle flash: a small star pointing along the shot.
    float a = std::atan2(dy, dx);
    std::vector<Point> star;
    for (int i = 0; i < 10; ++i) {
        float r = i % 2 ? 2.5f : (i == 0 ? 9.0f : 5.0f);
        float t = a + i * 3.14159265f / 5;
        star.push_back({ from.x + 3 * std::cos(a) + r * std::cos(t), from.y + 3 * std::sin(a) + r * std::sin(t) });
    }
    c.fill(polygon(star), rgb(255, 200, 60, 0.85f));
    c.fill(circle(from.x + 2 * std::cos(a), from.y + 2 * std::sin(a), 2.4f), rgb(255, 250, 220));
    // Shells thrown out to the right of the shooter.
    for (int i = 0; i < 3; ++i) {
        float sx = from.x - 18 * std::cos(a) - (10 + 6 * i) * std::sin(a) + 3 * i;
        float sy = from.y - 18 * std::sin(a) + (10 + 6 * i) * std::cos(a) - 2 * i;
        c.fill(rotate(box(sx - 2, sy - 0.9f, sx + 2, sy + 0.9f, 0.8f), sx, sy, 0.7f * i), rgb(222, 176, 70));
    }
}

void aimCursor(Canvas& c, float x, float y)
{
    Color col = rgb(120, 255, 120);
    for (int i = 0; i < 4; ++i) {
        float a = i * 3.14159265f / 2;
        Shape tick = capsule(x + 4 * std::cos(a), y + 4 * std::sin(a), x + 10 * std::cos(a), y + 10 * std::sin(a), 1);
        c.fill(grow(tick, 0.9f), rgb(14, 40, 14, 0.7f));
        c.fill(tick, col);
    }
}

float shadowedText(Canvas& c, Font& font, const std::string& s, float x, float baseline, Color col, float offset = 1)
{
    c.text(font, s, x + offset, baseline + offset, rgb(12, 12, 12, 0.75f));
    return c.text(font, s, x, baseline, col);
}

// HUD symbols have the HUD's colour with a dark rim, like its numbers' shadow.
void hudSymbol(Canvas& c, const Shape& s)
{
    c.fill(translate(s, 2, 2), rgb(12, 12, 12, 0.6f));
    c.fillOutlined(
        s, linear(0, s.y0, shade(HudYellow, 1.15f), 0, s.y1, shade(HudYellow, 0.85f)), rgb(60, 40, 10, 0.9f), 1);
}

void hud(Canvas& c, const std::string& fontDir)
{
    Font big(fontDir + "/LiberationSans-Bold.ttf", 30);
    Font small(fontDir + "/LiberationSans-Bold.ttf", 14);
    Font chat(fontDir + "/LiberationSans-Regular.ttf", 15);
    const float base = 466;

    // Health and armour, bottom left.
    hudSymbol(c, unite(box(14, 445, 36, 453, 1.5f), box(21, 438, 29, 460, 1.5f)));
    shadowedText(c, big, "100", 44, base, HudYellow, 2);
    Shape shield
        = polygon({ { 118, 441 }, { 129, 437 }, { 140, 441 }, { 139.5f, 451 }, { 129, 461 }, { 118.5f, 451 } });
    hudSymbol(c, shield);
    c.fill(polygon({ { 129, 441 }, { 136.5f, 443.5f }, { 136, 450.5f }, { 129, 457.5f } }), rgb(200, 150, 40, 0.8f));
    shadowedText(c, big, "75", 148, base, HudYellow, 2);

    // Round time, bottom centre.
    Shape clock = outline(circle(282, 449, 9), 3);
    hudSymbol(c, unite({ clock, capsule(282, 449, 282, 443, 1.3f), capsule(282, 449, 287, 449, 1.3f) }));
    shadowedText(c, big, "1:42", 298, base, HudYellow, 2);

    // Money and ammunition, bottom right.
    std::string money = "$ 16000";
    shadowedText(c, big, money, 628 - big.width(money), base, HudYellow, 2);
    std::string ammo = "30 | 90";
    float ammoX = 628 - big.width(ammo);
    shadowedText(c, big, ammo, ammoX, base - 38, HudYellow, 2);
    for (int i = 0; i < 3; ++i) {
        float bx = ammoX - 30 + i * 7;
        hudSymbol(c, unite(box(bx, 412, bx + 4.5f, 427, 0.8f), ellipse(bx + 2.25f, 412, 2.25f, 5)));
    }

    // Chat, above the health.
    float y = 404;
    float w = shadowedText(c, chat, "Alpha:", 10, y, shade(Blue.hi, 1.45f));
    shadowedText(c, chat, " nice shot", 10 + w, y, rgb(255, 240, 180));
    y += 19;
    w = shadowedText(c, chat, "Player:", 10, y, rgb(255, 128, 104));
    shadowedText(c, chat, " gg", 10 + w, y, rgb(255, 240, 180));

    // Kill notice, top right.
    std::string killer = "Alpha", victim = "Bravo";
    float kw = small.width(killer), vw = small.width(victim);
    float right = 630, left = right - (kw + vw + 56);
    c.fill(box(left, 8, right, 30, 4), rgb(14, 16, 20, 0.55f));
    shadowedText(c, small, killer, left + 8, 24, shade(Blue.hi, 1.25f));
    float gx = left + 14 + kw;
    c.fill(unite({ box(gx, 16, gx + 26, 20, 1), box(gx + 2, 17, gx + 8, 24, 1), box(gx + 12, 19, gx + 15, 24, 0.8f) }),
        rgb(236, 236, 236));
    shadowedText(c, small, victim, right - 8 - vw, 24, shade(Red.hi, 1.2f));
}

} // namespace

Canvas paintHudScreen(const std::string& fontDir)
{
    Canvas c(640, 480, rgb(90, 90, 90));
    GameMap map;
    map.paintGround(c);
    map.paintProps(c);

    Font names(fontDir + "/LiberationSans-Bold.ttf", 12);
    // The player the camera follows stands in the middle and fires at an
    // enemy up the road to the east; a team-mate covers the house.
    Point muzzle = soldier(c, 330, 250, -0.72f, Blue);
    soldier(c, 522, 112, 2.45f, Red);
    tracer(c, muzzle, { 506, 124 });
    soldier(c, 548, 322, 3.5f, Red);
    soldier(c, 168, 150, 0.3f, Blue);
    soldier(c, 108, 290, 3.3f, Blue);
    shadowedText(c, names, "Alpha", 168 - names.width("Alpha") / 2, 128, shade(Blue.hi, 1.4f));
    shadowedText(c, names, "Charlie", 108 - names.width("Charlie") / 2, 268, shade(Blue.hi, 1.4f));
    aimCursor(c, 514, 120);

    // Darken the edges a little, as the game's light falls off around the player.
    c.filter([](int x, int y, Color col) {
        float dx = (x - 320) / 420.0f, dy = (y - 240) / 340.0f;
        float k = 1 - 0.28f * std::min(1.0f, dx * dx + dy * dy);
        return Color { col.r * k, col.g * k, col.b * k, 1 };
    });
    hud(c, fontDir);
    // Nothing may be pure black: the editor loads this picture with black as
    // its see-through colour.
    c.filter([](int, int, Color col) {
        const float floor = 10;
        auto lift = [&](float v) { return floor + v * (255 - floor) / 255; };
        return Color { lift(col.r), lift(col.g), lift(col.b), 1 };
    });
    return c;
}

} // namespace gen
