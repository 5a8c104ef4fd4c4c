// Props: the barrel and its bursting frames, the material icons and the egg.

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "art.h"
#include "kit.h"
#include "palette.h"
#include "world/level.h"
#include "world/materials.h"

namespace {

constexpr float PI = 3.14159265f;

// --- barrel -----------------------------------------------------------------

constexpr int BARREL_FRAMES = 6;
constexpr int STAVE_WIDTH = 4;
constexpr int HOOP_ROWS[2][2] = {{3, 4}, {19, 20}};

Ramp barrel_wood() { return pal::wood(); }
Ramp barrel_iron() { return pal::iron(); }

bool in_barrel(int x, int y) { return barrel_shape_covers(x, y); }

// Row span of the barrel's silhouette.
std::pair<int, int> barrel_span(int row) {
    int lo = BARREL_W, hi = -1;
    for (int x = 0; x < BARREL_W; ++x) {
        if (in_barrel(x, row)) {
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
    }
    return {lo, hi};
}

// The intact barrel, coloured pixel by pixel: round shading across the
// staves, seams that follow the bulge, two iron hoops and a lit rim on top.
PixelImage intact_barrel() {
    PixelImage img(static_cast<int>(BARREL_W), static_cast<int>(BARREL_H));
    const Ramp wood = barrel_wood(), iron = barrel_iron();
    constexpr float CENTRE = 9.5f;
    for (int y = 0; y < BARREL_H; ++y) {
        const auto [lo, hi] = barrel_span(y);
        const float half = static_cast<float>(hi - lo + 1) * 0.5f;
        for (int x = lo; x <= hi; ++x) {
            // Position across the curved face, -1 left edge .. +1 right edge.
            const float t = (static_cast<float>(x) + 0.5f - CENTRE - 0.5f) / half;
            const bool hoop = (y >= HOOP_ROWS[0][0] && y <= HOOP_ROWS[0][1]) ||
                              (y >= HOOP_ROWS[1][0] && y <= HOOP_ROWS[1][1]);
            const Ramp& r = hoop ? iron : wood;
            Rgba c = t < -0.55f ? r.light : t < 0.25f ? r.mid : r.shadow;
            if (hoop && t > -0.75f && t < -0.45f && (y == HOOP_ROWS[0][0] || y == HOOP_ROWS[1][0])) c = r.highlight;
            // Stave seams: evenly spaced on the flattened face.
            const float u = t * 10.0f / STAVE_WIDTH;
            if (!hoop && std::fabs(u - std::round(u)) < 0.13f && std::fabs(t) < 0.9f) c = wood.shadow;
            if (!hoop && y >= 1 && y <= 2 && t < -0.2f) c = wood.highlight;  // rim catching the light
            img.at(x, y) = c;
        }
    }
    // Outline on the silhouette.
    PixelImage out = img;
    for (int y = 0; y < BARREL_H; ++y) {
        for (int x = 0; x < BARREL_W; ++x) {
            if (!in_barrel(x, y)) continue;
            if (!in_barrel(x - 1, y) || !in_barrel(x + 1, y) || !in_barrel(x, y - 1) || !in_barrel(x, y + 1)) {
                out.at(x, y) = (y <= HOOP_ROWS[0][1] && y >= HOOP_ROWS[0][0]) ||
                                       (y <= HOOP_ROWS[1][1] && y >= HOOP_ROWS[1][0])
                                   ? iron.outline
                                   : wood.outline;
            }
        }
    }
    return out;
}

// A stave of the bursting barrel: a plank from a to b.
void add_plank(Figure& f, const Ramp& wood, Vec2 a, Vec2 b) {
    Mask m = f.blank();
    add_capsule(m, a, b, 1.9f, 1.9f);
    f.add(m, wood, Finish::Matte, Edge::Line, 0);
}

void add_hoop(Figure& f, const Ramp& iron, Vec2 c, float rx, float ry) {
    Mask outer = f.blank(), inner = f.blank();
    add_ellipse(outer, c, rx, ry);
    add_ellipse(inner, c, rx - 1.6f, std::max(0.0f, ry - 1.6f));
    cut_mask(outer, inner);
    f.add(outer, iron, Finish::Shiny, Edge::Line, 0);
}

// Frames 1..5: split, staves flying out, then lying on the ground.
PixelImage bursting_barrel(int k) {
    const Ramp wood = barrel_wood(), iron = barrel_iron();
    if (k == 1) {
        // Bulging and cracked: the intact barrel with split seams and a
        // sprung top hoop.
        PixelImage img = intact_barrel();
        const Rgba crack = wood.outline;
        for (const auto& [x, y0, y1] : std::vector<std::tuple<int, int, int>>{{6, 6, 17}, {13, 8, 15}, {10, 1, 5}}) {
            for (int y = y0; y <= y1; ++y) img.set(x + ((y / 3) % 2), y, crack);
        }
        for (int x = 4; x <= 15; ++x) img.set(x, 2, iron.mid);
        return img;
    }
    Figure f(static_cast<int>(BARREL_W), static_cast<int>(BARREL_H));
    constexpr int STAVES = 5;
    const float spread = static_cast<float>(k - 1);
    if (k < 5) {
        for (int i = 0; i < STAVES; ++i) {
            const float side = (static_cast<float>(i) - 2.0f) / 2.0f;  // -1 .. 1
            const float cx = 10.0f + side * (5.5f + spread * 1.6f);
            const float rise = spread * (k >= 4 ? -0.5f : 1.2f) - std::fabs(side) * 0.5f;
            const float tilt = side * (0.25f + spread * 0.22f) + (i % 2 == 0 ? 0.08f : -0.08f);
            const float half = 9.5f - spread * 1.1f;
            const float cy = 12.5f - rise + (k >= 4 ? spread * 1.5f : 0.0f);
            const Vec2 d = {std::sin(tilt) * half, std::cos(tilt) * half};
            add_plank(f, wood, {cx - d.x, cy - d.y}, {cx + d.x, cy + d.y});
        }
        add_hoop(f, iron, {10.0f, 21.0f - spread * 0.3f + (k >= 4 ? 1.0f : 0.0f)}, 9.0f - spread * 0.2f, 2.6f);
        add_hoop(f, iron, {10.0f + spread * 0.8f, 4.5f - spread * 1.2f + (k >= 4 ? 6.0f : 0.0f)}, 8.5f, 2.6f);
    } else {
        // Settled: planks and hoops in a heap on the ground.
        add_plank(f, wood, {2.0f, 22.0f}, {11.0f, 21.0f});
        add_plank(f, wood, {9.0f, 22.5f}, {18.0f, 22.0f});
        add_plank(f, wood, {4.0f, 19.5f}, {10.0f, 17.0f});
        add_plank(f, wood, {12.0f, 18.0f}, {17.0f, 20.5f});
        add_hoop(f, iron, {10.0f, 21.5f}, 9.0f, 2.4f);
    }
    return render(f);
}

// --- material icons ---------------------------------------------------------

constexpr int ICON = 16;
constexpr int ICON_COUNT = 22;

Vec2 v(float x, float y) { return {x, y}; }

Ramp ramp_around(int r, int g, int b, float contrast = 1.0f) { return make_ramp(rgb(r, g, b), contrast); }

Mask drop_shape(const Figure& f, Vec2 c, float r) {
    Mask m = f.blank();
    add_ellipse(m, c, r, r);
    add_polygon(m, {c + v(-r * 0.92f, -r * 0.3f), c + v(0.0f, -r * 2.3f), c + v(r * 0.92f, -r * 0.3f)});
    return m;
}

void glint(Figure& f, int x, int y) {
    f.dot(x, y, rgb(255, 255, 255));
}

PixelImage icon(Material m) {
    Figure f(ICON, ICON);
    switch (m) {
        case Material::Sand: {
            Mask pile = f.blank();
            add_ellipse(pile, v(8, 14), 7.5f, 7.0f);
            add_rect(pile, 0, 14, 0, 0);
            Mask cut = f.blank();
            add_rect(cut, 0, 15, 16, 1);
            cut_mask(pile, cut);
            f.add(pile, ramp_around(240, 214, 70));
            for (const auto& [x, y] : std::vector<std::pair<int, int>>{{5, 10}, {9, 9}, {11, 12}, {6, 13}, {8, 11}}) {
                f.dot(x, y, rgb(210, 180, 40));
            }
            glint(f, 6, 8);
            break;
        }
        case Material::Water: {
            f.add(drop_shape(f, v(8, 10), 4.8f), ramp_around(30, 120, 240), Finish::Shiny);
            glint(f, 6, 8);
            f.dot(6, 9, rgb(190, 230, 255));
            break;
        }
        case Material::Stone: {
            Mask rock = f.blank();
            add_polygon(rock, {v(2, 13), v(1.5f, 8), v(5, 3.5f), v(10, 3), v(14, 6.5f), v(14.5f, 12), v(11, 14.5f),
                               v(4, 14.5f)});
            f.add(rock, ramp_around(128, 128, 132));
            f.dot(8, 8, rgb(96, 96, 100));
            f.dot(9, 9, rgb(96, 96, 100));
            f.dot(10, 10, rgb(96, 96, 100));
            break;
        }
        case Material::Smoke: {
            Mask puff = f.blank();
            add_ellipse(puff, v(5.5f, 10), 4.0f, 3.5f);
            add_ellipse(puff, v(10.5f, 9.5f), 4.5f, 4.0f);
            add_ellipse(puff, v(8, 6), 4.0f, 3.5f);
            f.add(puff, ramp_around(150, 150, 156));
            break;
        }
        case Material::Wood: {
            Mask log = f.blank();
            add_capsule(log, v(3, 11), v(11, 6), 3.2f, 3.2f);
            f.add(log, ramp_around(139, 69, 19));
            Mask end = f.blank();
            add_ellipse(end, v(11.5f, 6), 3.3f, 3.6f);
            f.add(end, ramp_around(190, 140, 90), Finish::Matte, Edge::Line);
            f.dot(11, 5, rgb(150, 100, 60));
            f.dot(12, 6, rgb(150, 100, 60));
            break;
        }
        case Material::Fire: {
            Mask outer = f.blank();
            add_ellipse(outer, v(8, 10.5f), 5.0f, 4.5f);
            add_polygon(outer, {v(3.2f, 9), v(4.5f, 3.5f), v(6.5f, 7), v(8.5f, 1), v(11, 6), v(12, 3.5f), v(12.8f, 9)});
            f.add(outer, {rgb(110, 16, 10), rgb(214, 30, 10), rgb(255, 69, 0), rgb(255, 120, 20), rgb(255, 170, 40)});
            Mask mid = f.blank();
            add_ellipse(mid, v(8, 11.5f), 3.2f, 3.0f);
            add_polygon(mid, {v(5, 11), v(7, 6), v(8.5f, 8.5f), v(10, 5.5f), v(11, 11)});
            Part& p = f.add(mid, {rgb(255, 140, 0), rgb(255, 140, 0), rgb(255, 170, 20), rgb(255, 200, 60),
                                  rgb(255, 230, 120)});
            p.outline = false;
            Mask core = f.blank();
            add_ellipse(core, v(8, 12.5f), 1.6f, 1.8f);
            f.add(core, {rgb(255, 215, 0), rgb(255, 215, 0), rgb(255, 236, 120), rgb(255, 248, 200),
                         rgb(255, 255, 240)}).outline = false;
            break;
        }
        case Material::Steam: {
            Mask puff = f.blank();
            add_ellipse(puff, v(6, 11), 3.5f, 3.0f);
            add_ellipse(puff, v(10.5f, 10), 3.5f, 3.2f);
            add_ellipse(puff, v(8.5f, 6.5f), 3.0f, 2.8f);
            add_ellipse(puff, v(6, 4), 1.6f, 1.6f);
            f.add(puff, {rgb(120, 130, 150), rgb(200, 206, 216), rgb(232, 236, 240), rgb(248, 250, 252),
                         rgb(255, 255, 255)});
            break;
        }
        case Material::Plasma: {
            Mask halo = f.blank();
            add_ellipse(halo, v(8, 8), 6.0f, 6.0f);
            f.add(halo, {rgb(90, 0, 90), rgb(150, 0, 150), rgb(180, 0, 180), rgb(200, 0, 200), rgb(220, 60, 220)});
            Mask orb = f.blank();
            add_ellipse(orb, v(8, 8), 3.5f, 3.5f);
            f.add(orb, {rgb(200, 0, 200), rgb(255, 0, 255), rgb(255, 100, 255), rgb(255, 180, 255),
                        rgb(255, 240, 255)}, Finish::Shiny).outline = false;
            for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1, 8}, {14, 7}, {8, 1}, {7, 14}}) {
                f.dot(x, y, rgb(255, 150, 255));
            }
            glint(f, 7, 6);
            break;
        }
        case Material::Lava: {
            Mask blob = f.blank();
            add_ellipse(blob, v(8, 10), 6.5f, 4.8f);
            add_ellipse(blob, v(6, 6.5f), 3.0f, 2.5f);
            f.add(blob, {rgb(50, 0, 6), rgb(110, 0, 0), rgb(139, 0, 0), rgb(178, 34, 34), rgb(205, 92, 92)});
            for (const auto& [x, y] :
                 std::vector<std::pair<int, int>>{{4, 9}, {5, 10}, {6, 10}, {7, 11}, {8, 11}, {9, 10}, {10, 9},
                                                  {11, 9}, {9, 12}, {10, 13}, {6, 7}, {7, 7}}) {
                f.dot(x, y, rgb(255, 140, 40));
            }
            f.dot(8, 11, rgb(255, 220, 100));
            break;
        }
        case Material::Powder: {
            Mask pile = f.blank();
            add_ellipse(pile, v(8, 15), 7.0f, 7.5f);
            Mask cut = f.blank();
            add_rect(cut, 0, 15, 16, 1);
            cut_mask(pile, cut);
            f.add(pile, {rgb(20, 20, 24), rgb(62, 62, 66), rgb(84, 84, 88), rgb(110, 110, 114), rgb(140, 140, 144)});
            for (const auto& [x, y] : std::vector<std::pair<int, int>>{{6, 11}, {9, 10}, {11, 13}, {4, 13}}) {
                f.dot(x, y, rgb(40, 40, 44));
            }
            f.dot(10, 6, rgb(255, 200, 60));  // a stray spark
            f.dot(11, 5, rgb(255, 120, 30));
            break;
        }
        case Material::Boom: {
            Mask star = f.blank();
            std::vector<Vec2> pts;
            for (int i = 0; i < 16; ++i) {
                const float a = static_cast<float>(i) * PI / 8.0f;
                const float r = i % 2 == 0 ? 7.6f : 3.8f;
                pts.push_back(v(8.0f + std::cos(a) * r, 8.0f + std::sin(a) * r));
            }
            add_polygon(star, pts);
            f.add(star, {rgb(120, 0, 0), rgb(220, 0, 0), rgb(254, 0, 0), rgb(255, 60, 50), rgb(255, 120, 100)});
            Mask core = f.blank();
            add_ellipse(core, v(8, 8), 3.0f, 3.0f);
            f.add(core, {rgb(255, 160, 40), rgb(255, 180, 40), rgb(255, 210, 80), rgb(255, 240, 160),
                         rgb(255, 255, 220)}).outline = false;
            break;
        }
        case Material::Petrol: {
            f.add(drop_shape(f, v(8, 10), 4.8f), {rgb(24, 26, 14), rgb(65, 70, 40), rgb(85, 90, 50), rgb(110, 116, 66),
                                                   rgb(160, 170, 110)}, Finish::Shiny);
            f.dot(6, 8, rgb(170, 120, 200));  // oily sheen
            f.dot(7, 8, rgb(110, 180, 170));
            break;
        }
        case Material::Acid: {
            f.add(drop_shape(f, v(8, 10), 4.8f),
                  {rgb(0, 70, 0), rgb(0, 180, 0), rgb(40, 230, 40), rgb(100, 255, 100), rgb(200, 255, 200)},
                  Finish::Shiny);
            f.dot(9, 11, rgb(200, 255, 200));
            f.dot(7, 12, rgb(200, 255, 200));
            f.dot(12, 4, rgb(100, 255, 100));  // fizz
            f.dot(13, 2, rgb(100, 255, 100));
            break;
        }
        case Material::Iron: {
            Mask ingot = f.blank();
            add_polygon(ingot, {v(1.5f, 13.5f), v(4, 6.5f), v(12, 6.5f), v(14.5f, 13.5f)});
            f.add(ingot, {rgb(30, 30, 22), rgb(70, 70, 55), rgb(90, 90, 65), rgb(120, 120, 92), rgb(170, 170, 140)},
                  Finish::Shiny);
            for (int x = 5; x <= 11; ++x) f.dot(x, 7, rgb(150, 150, 120));
            break;
        }
        case Material::Snow: {
            Mask flake = f.blank();
            for (int i = 0; i < 3; ++i) {
                const float a = static_cast<float>(i) * PI / 3.0f + PI / 2.0f;
                const Vec2 d = v(std::cos(a) * 6.5f, std::sin(a) * 6.5f);
                add_capsule(flake, v(8, 8) - d, v(8, 8) + d, 0.9f, 0.9f);
                for (const float s : {-1.0f, 1.0f}) {
                    const Vec2 tip = v(8, 8) + d * (0.62f * s);
                    add_capsule(flake, tip, tip + rotate(d * 0.3f * s, 0.9f), 0.6f, 0.6f);
                    add_capsule(flake, tip, tip + rotate(d * 0.3f * s, -0.9f), 0.6f, 0.6f);
                }
            }
            f.add(flake, {rgb(90, 120, 170), rgb(200, 220, 245), rgb(240, 248, 255), rgb(255, 255, 255),
                          rgb(255, 255, 255)});
            break;
        }
        case Material::KnightDebris: {
            Mask chunk = f.blank();
            add_polygon(chunk, {v(2, 12), v(4, 7), v(9, 6), v(13, 9), v(14, 13.5f), v(8, 14.5f)});
            f.add(chunk, {rgb(60, 6, 14), rgb(115, 12, 24), rgb(152, 22, 35), rgb(188, 39, 49), rgb(220, 69, 69)});
            Mask plate = f.blank();
            add_polygon(plate, {v(5, 8), v(9, 2.5f), v(13, 4.5f), v(10.5f, 9.5f)});
            f.add(plate, pal::steel(), Finish::Shiny, Edge::Line);
            break;
        }
        case Material::OgreDebris: {
            Mask chunk = f.blank();
            add_ellipse(chunk, v(8, 10), 6.0f, 4.5f);
            f.add(chunk, {rgb(56, 4, 14), rgb(109, 8, 27), rgb(145, 18, 39), rgb(183, 34, 54), rgb(216, 63, 74)});
            Mask bone = f.blank();
            add_capsule(bone, v(4, 5), v(12, 8), 1.0f, 1.0f);
            add_ellipse(bone, v(3.5f, 4.5f), 1.6f, 1.6f);
            add_ellipse(bone, v(12.5f, 8.5f), 1.6f, 1.6f);
            f.add(bone, {rgb(90, 80, 60), rgb(200, 190, 160), rgb(236, 228, 200), rgb(250, 246, 230),
                         rgb(255, 255, 250)}, Finish::Matte, Edge::Line);
            break;
        }
        case Material::Ground: {
            Mask clod = f.blank();
            add_ellipse(clod, v(8, 10), 6.8f, 5.0f);
            add_ellipse(clod, v(10, 6.5f), 3.5f, 2.5f);
            f.add(clod, {rgb(60, 36, 16), rgb(139, 90, 43), rgb(160, 120, 80), rgb(188, 143, 86), rgb(205, 170, 125)});
            f.dot(6, 11, rgb(205, 170, 125));
            f.dot(10, 12, rgb(110, 70, 34));
            f.dot(11, 9, rgb(205, 170, 125));
            break;
        }
        case Material::Grass: {
            Mask clod = f.blank();
            add_ellipse(clod, v(8, 12), 6.8f, 3.6f);
            f.add(clod, {rgb(60, 36, 16), rgb(139, 90, 43), rgb(160, 120, 80), rgb(188, 143, 86), rgb(205, 170, 125)});
            Mask blades = f.blank();
            add_polygon(blades, {v(2, 11), v(3, 4), v(5, 9), v(7, 2), v(9, 9), v(11, 3.5f), v(12, 9), v(14, 5),
                                 v(14.5f, 11)});
            f.add(blades, {rgb(12, 50, 4), rgb(25, 89, 5), rgb(55, 120, 15), rgb(85, 160, 45), rgb(115, 185, 70)},
                  Finish::Matte, Edge::Line);
            break;
        }
        case Material::Glass: {
            Mask pane = f.blank();
            add_polygon(pane, {v(3, 14.5f), v(2.5f, 4), v(8, 1.5f), v(13.5f, 3), v(13, 14.5f)});
            f.add(pane, {rgb(40, 90, 110, 230), rgb(75, 137, 158, 210), rgb(118, 184, 196, 190),
                         rgb(158, 217, 224, 180), rgb(205, 238, 239, 200)}, Finish::Shiny);
            for (int i = 0; i < 4; ++i) f.dot(5 + i, 9 - i * 2 + 1, rgb(245, 252, 252, 230));
            for (int i = 0; i < 2; ++i) f.dot(9 + i, 11 - i * 2, rgb(245, 252, 252, 230));
            break;
        }
        case Material::Blood: {
            f.add(drop_shape(f, v(8, 10), 4.8f),
                  {rgb(50, 2, 12), rgb(107, 8, 25), rgb(143, 14, 32), rgb(181, 31, 48), rgb(211, 54, 65)},
                  Finish::Shiny);
            glint(f, 6, 8);
            break;
        }
        case Material::Potion: {
            Mask flask = f.blank();
            add_ellipse(flask, v(8, 10.5f), 5.0f, 4.8f);
            add_rect(flask, 6, 3, 4, 4);
            f.add(flask, {rgb(60, 40, 70), rgb(179, 38, 122), rgb(205, 54, 146), rgb(230, 86, 170),
                          rgb(246, 133, 195)}, Finish::Shiny);
            Mask cork = f.blank();
            add_rect(cork, 6, 1, 4, 2);
            f.add(cork, pal::wood(), Finish::Matte, Edge::Line);
            Mask glass = f.blank();
            add_rect(glass, 6, 3, 4, 3);
            f.add(glass, {rgb(60, 40, 70), rgb(170, 170, 200), rgb(210, 214, 230), rgb(236, 240, 250),
                          rgb(255, 255, 255)}, Finish::Shiny, Edge::Line);
            glint(f, 6, 9);
            f.dot(7, 8, rgb(255, 220, 240));
            break;
        }
        default:
            break;
    }
    return render(f);
}

// --- egg --------------------------------------------------------------------

constexpr int EGG_W = 16, EGG_H = 18;
constexpr int EGG_SPLIT = 8;  // the game pulls the halves apart at this column

}  // namespace

PixelImage barrel_sheet() {
    std::vector<PixelImage> frames;
    frames.push_back(intact_barrel());
    for (int k = 1; k < BARREL_FRAMES; ++k) frames.push_back(bursting_barrel(k));
    return strip(frames);
}

PixelImage material_icon_sheet() {
    PixelImage sheet(ICON * ICON_COUNT, ICON);
    for (int m = 1; m <= ICON_COUNT; ++m) blit(sheet, icon(static_cast<Material>(m)), ICON * m - ICON, 0);
    return sheet;
}

// A speckled ember egg, narrower at the top, split down the middle by a
// zigzag seam whose teeth alternate between the two halves.
PixelImage egg_sprite() {
    Figure f(EGG_W, EGG_H);
    Mask shell = f.blank();
    for (int y = 0; y < EGG_H; ++y) {
        for (int x = 0; x < EGG_W; ++x) {
            const float ny = (static_cast<float>(y) + 0.5f - 10.0f) / 8.6f;
            const float widen = ny < 0.0f ? 1.0f + ny * 0.22f : 1.0f;  // narrower towards the top
            const float nx = (static_cast<float>(x) + 0.5f - 8.0f) / (7.6f * widen);
            if (nx * nx + ny * ny <= 1.0f) shell.set(x, y);
        }
    }
    const Ramp shell_ramp = {rgb(83, 36, 61), rgb(214, 170, 140), rgb(240, 214, 178), rgb(252, 238, 212),
                             rgb(255, 252, 240)};
    f.add(shell, shell_ramp, Finish::Shiny);
    const Rgba spot = rgb(220, 96, 52), spot_dark = rgb(170, 60, 48);
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {4, 5}, {5, 5}, {11, 4}, {3, 10}, {12, 9}, {13, 10}, {5, 14}, {10, 14}, {11, 14}, {9, 7}}) {
        f.dot(x, y, (x + y) % 3 == 0 ? spot_dark : spot);
    }
    // The seam: teeth alternate two rows at a time.
    for (int y = 2; y < EGG_H - 1; ++y) {
        const int x = ((y / 2) % 2 == 0) ? EGG_SPLIT - 1 : EGG_SPLIT;
        f.dot(x, y, shell_ramp.outline);
    }
    return render(f);
}
