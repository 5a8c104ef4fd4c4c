// The boss: a tall knight in black iron with a crimson plume and a tattered
// crimson cape, a glowing visor slit and a long blade. 32 frames of
// 120 x 80: idle 0-9, run 10-19, attack 20-23 (the blade lands on frame 22),
// rising 24-26, falling 27-29, dash 30-31.
//
// Drawn from shapes rather than pixel by pixel: at this size the shared
// shading pass gives the plates their volume. Positions are body cells of the
// 20 x 37 body box, which sits at frame pixels (45, 43) facing right and at
// (44, 43) mirrored: the game mirrors about frame column 54, half a column
// left of the body's middle. The helm sits forward of that axis, so the plume
// falls behind it to cover the head's columns in the other facing.

#include <algorithm>
#include <cmath>
#include <vector>

#include "art.h"
#include "kit.h"
#include "palette.h"

namespace {

constexpr int FRAME_W = 120, FRAME_H = 80;
constexpr float BODY_X = 45.0f, BODY_Y = 43.0f;
constexpr float BLADE_LENGTH = 36.0f;
constexpr float PI = 3.14159265f;

constexpr int GROUP_LEGS = 1, GROUP_BODY = 2, GROUP_ARM = 3, GROUP_BLADE = 4;

struct BossLook {
    Ramp iron, far_iron, trim, cape, plume, steel, leather;
    Rgba glow, glow_core, fuller;
};

BossLook boss_look() {
    BossLook l;
    l.iron = {rgb(14, 12, 22), rgb(40, 40, 56), rgb(66, 68, 88), rgb(104, 108, 132), rgb(158, 164, 190)};
    l.far_iron = {rgb(10, 8, 16), rgb(28, 28, 40), rgb(46, 46, 62), rgb(70, 72, 92), rgb(100, 104, 126)};
    l.trim = {rgb(40, 24, 16), rgb(110, 76, 34), rgb(156, 112, 50), rgb(204, 160, 76), rgb(240, 206, 120)};
    l.cape = {rgb(36, 6, 16), rgb(84, 14, 30), rgb(124, 24, 40), rgb(162, 40, 52), rgb(196, 70, 70)};
    l.plume = {rgb(48, 8, 18), rgb(120, 20, 34), rgb(172, 34, 44), rgb(218, 62, 58), rgb(246, 110, 90)};
    l.steel = {rgb(20, 20, 32), rgb(92, 98, 120), rgb(150, 158, 180), rgb(204, 210, 224), rgb(248, 250, 255)};
    l.leather = {rgb(24, 14, 14), rgb(58, 36, 30), rgb(84, 54, 42), rgb(110, 74, 56), rgb(140, 100, 76)};
    l.glow = rgb(255, 64, 44);
    l.glow_core = rgb(255, 196, 140);
    l.fuller = rgb(150, 26, 40);
    return l;
}

struct Foot {
    Vec2 ankle;     // body cells
    float bend;     // knee pushed forward
};

struct BossPose {
    float bob = 0.0f;
    float lean = 0.0f;   // top of the body forward, cells
    Foot back_foot = {{5.5f, 34.3f}, 0.6f};
    Foot front_foot = {{14.0f, 34.3f}, 0.6f};
    Vec2 hand = {18.5f, 21.0f};
    float blade = 25.0f;    // degrees, 90 = straight down
    Vec2 back_hand = {1.6f, 22.0f};
    float cape_sway = 0.0f;  // bottom of the cape back (+) or forward
    float cape_lift = 0.0f;  // bottom of the cape raised by wind
    bool blade_behind = false;
    int smear = 0;           // dash streaks behind the body
};

struct Builder {
    Figure& f;
    const BossPose& p;
    Vec2 at(float u, float v) const {
        // The lean grows toward the top of the body.
        const float k = std::clamp((28.0f - v) / 28.0f, 0.0f, 1.0f);
        return {BODY_X + u + p.lean * k, BODY_Y + v + p.bob};
    }
    Vec2 fixed(float u, float v) const { return {BODY_X + u, BODY_Y + v}; }
};

void add_leg(Mask& m, const Builder& b, Vec2 hip, const Foot& foot) {
    const Vec2 h = b.at(hip.x, hip.y);
    const Vec2 a = b.fixed(foot.ankle.x, foot.ankle.y);
    Vec2 knee = lerp(h, a, 0.5f);
    knee.x += foot.bend * 3.0f;
    add_capsule(m, h, knee, 2.7f, 2.3f);
    add_capsule(m, knee, a, 2.3f, 2.0f);
    add_ellipse(m, knee, 2.4f, 2.0f);
    // Sabaton: heel behind the ankle, toe forward.
    add_polygon(m, {a + Vec2{-2.6f, -1.0f}, a + Vec2{1.6f, -1.4f}, a + Vec2{4.0f, 0.6f}, a + Vec2{4.2f, 2.7f},
                    a + Vec2{-2.8f, 2.7f}});
}

void add_blade(Figure& f, const BossLook& l, Vec2 hand, float degrees) {
    const Vec2 d = polar({0, 0}, degrees, 1.0f), side = {-d.y, d.x};
    Mask grip = f.blank();
    add_capsule(grip, hand - d * 3.5f, hand + d * 0.5f, 0.9f, 0.9f);
    add_ellipse(grip, hand - d * 4.2f, 1.3f, 1.3f);
    f.add(grip, l.leather, Finish::Matte, Edge::Line, GROUP_BLADE);

    Mask blade = f.blank();
    const Vec2 base = hand + d * 1.8f, tip = hand + d * BLADE_LENGTH;
    add_polygon(blade, {base + side * 2.4f, base + d * (BLADE_LENGTH - 8.0f) + side * 2.0f, tip,
                        base + d * (BLADE_LENGTH - 8.0f) - side * 2.0f, base - side * 2.4f});
    f.add(blade, l.steel, Finish::Shiny, Edge::Line, GROUP_BLADE + 1);

    Mask guard = f.blank();
    add_capsule(guard, hand + d * 1.3f + side * 4.0f, hand + d * 1.3f - side * 4.0f, 1.1f, 1.1f);
    f.add(guard, l.trim, Finish::Shiny, Edge::Line, GROUP_BLADE + 2);

    // A blood-red fuller down the middle of the blade.
    const Px a = px_of(base + d * 2.5f + side * 0.3f), b = px_of(base + d * (BLADE_LENGTH - 12.0f) + side * 0.3f);
    Mask line = f.blank();
    add_line(line, a.x, a.y, b.x, b.y);
    for (int y = 0; y < line.h; ++y) {
        for (int x = 0; x < line.w; ++x) {
            if (line.get(x, y)) f.dot(x, y, l.fuller);
        }
    }
}

PixelImage draw_boss(const BossPose& p) {
    const BossLook l = boss_look();
    Figure f(FRAME_W, FRAME_H);
    f.rim = 3;
    const Builder b{f, p};

    // Dash streaks, furthest back.
    for (int i = 0; i < p.smear; ++i) {
        const float v = 6.0f + 8.0f * static_cast<float>(i);
        Mask m = f.blank();
        add_capsule(m, b.at(-18.0f - 3.0f * static_cast<float>(i % 2), v), b.at(-3.0f, v), 0.4f, 0.8f);
        f.add(m, l.far_iron, Finish::Flat).outline = false;
    }

    // Cape, hanging from the shoulders behind everything else.
    {
        Mask m = f.blank();
        const float s = p.cape_sway, u = p.cape_lift;
        add_polygon(m, {b.at(12.0f, 7.5f), b.at(5.0f, 8.5f), b.at(1.0f - s * 0.4f, 16.0f - u * 0.3f),
                        b.at(-1.5f - s * 0.8f, 25.0f - u * 0.7f), b.at(-2.5f - s, 31.0f - u),
                        b.at(-0.5f - s, 29.0f - u), b.at(1.0f - s * 0.9f, 32.0f - u), b.at(2.8f - s * 0.8f, 29.5f - u),
                        b.at(4.5f - s * 0.6f, 31.0f - u * 0.8f), b.at(6.5f - s * 0.4f, 27.0f - u * 0.6f),
                        b.at(8.5f, 18.0f), b.at(11.0f, 11.0f)});
        f.add(m, l.cape, Finish::Matte, Edge::None, 0);
    }

    if (p.blade_behind) add_blade(f, l, b.at(p.hand.x, p.hand.y), p.blade);

    // Far arm, far leg.
    {
        Mask m = f.blank();
        const Vec2 sh = b.at(4.5f, 12.5f), hand = b.at(p.back_hand.x, p.back_hand.y);
        add_capsule(m, sh, lerp(sh, hand, 0.5f) + Vec2{-0.6f, 0.0f}, 2.0f, 1.8f);
        add_capsule(m, lerp(sh, hand, 0.5f) + Vec2{-0.6f, 0.0f}, hand, 1.8f, 1.6f);
        add_ellipse(m, hand, 1.9f, 2.0f);
        f.add(m, l.far_iron, Finish::Matte, Edge::Line, GROUP_ARM + 10);
    }
    {
        Mask m = f.blank();
        add_leg(m, b, {7.0f, 24.5f}, p.back_foot);
        f.add(m, l.far_iron, Finish::Shiny, Edge::Line, GROUP_LEGS);
    }

    // Plume, streaming back from the crest and falling as a tail behind the
    // helm: mirrored, the tail is what fills the body's head columns.
    {
        Mask m = f.blank();
        const float sway = p.cape_sway, lift = p.cape_lift;
        add_capsule(m, b.at(11.0f, 0.2f), b.at(7.0f - sway * 0.3f, -0.8f + lift * 0.1f), 1.6f, 1.4f);
        add_capsule(m, b.at(7.0f - sway * 0.3f, -0.8f + lift * 0.1f), b.at(6.0f - sway * 0.6f, 7.5f - lift * 0.4f),
                    1.6f, 1.0f);
        f.add(m, l.plume, Finish::Matte, Edge::None, 0);
    }

    // Body: breastplate with a waist and the tassets below it.
    {
        Mask m = f.blank();
        add_polygon(m, {b.at(8.0f, 7.0f), b.at(14.5f, 7.0f), b.at(16.8f, 10.0f), b.at(16.6f, 16.5f),
                        b.at(15.2f, 21.5f), b.at(5.2f, 21.5f), b.at(4.2f, 15.0f), b.at(3.0f, 10.5f), b.at(5.0f, 8.5f)});
        f.add(m, l.iron, Finish::Shiny, Edge::None, GROUP_BODY);
        Mask t = f.blank();
        add_polygon(t, {b.at(4.6f, 20.5f), b.at(15.6f, 20.5f), b.at(16.2f, 25.8f), b.at(10.5f, 26.5f),
                        b.at(10.0f, 24.5f), b.at(9.5f, 26.5f), b.at(4.0f, 25.8f)});
        f.add(t, l.iron, Finish::Shiny, Edge::Line, GROUP_BODY + 10);
        Mask belt = f.blank();
        add_polygon(belt, {b.at(4.8f, 19.8f), b.at(15.6f, 19.8f), b.at(15.5f, 21.6f), b.at(4.8f, 21.6f)});
        f.add(belt, l.trim, Finish::Shiny, Edge::None, GROUP_BODY + 11);
    }

    // Near leg.
    {
        Mask m = f.blank();
        add_leg(m, b, {13.5f, 24.5f}, p.front_foot);
        f.add(m, l.iron, Finish::Shiny, Edge::Line, GROUP_LEGS + 10);
    }

    // Helm with a crest ridge and the visor slit.
    {
        Mask m = f.blank();
        add_ellipse(m, b.at(11.4f, 4.3f), 3.5f, 4.1f);
        add_polygon(m, {b.at(9.0f, 2.0f), b.at(14.8f, 3.0f), b.at(14.8f, 7.8f), b.at(8.6f, 7.8f)});
        f.add(m, l.iron, Finish::Shiny, Edge::Line, GROUP_BODY + 20);
        Mask crest = f.blank();
        add_polygon(crest, {b.at(9.2f, 0.9f), b.at(12.6f, -0.4f), b.at(13.0f, 1.2f), b.at(9.6f, 2.2f)});
        f.add(crest, l.trim, Finish::Shiny, Edge::Line, GROUP_BODY + 21);
    }

    // Pauldrons.
    {
        Mask m = f.blank();
        add_ellipse(m, b.at(14.6f, 10.4f), 3.6f, 2.9f);
        f.add(m, l.iron, Finish::Shiny, Edge::Line, GROUP_ARM);
    }

    // Near arm to the sword hand.
    {
        const Vec2 sh = b.at(15.5f, 12.0f), hand = b.at(p.hand.x, p.hand.y);
        Vec2 elbow = lerp(sh, hand, 0.5f);
        elbow = elbow + Vec2{1.2f, 1.0f};
        Mask m = f.blank();
        add_capsule(m, sh, elbow, 2.0f, 1.8f);
        add_capsule(m, elbow, hand, 1.8f, 1.6f);
        f.add(m, l.iron, Finish::Shiny, Edge::Line, GROUP_ARM + 1);
        Mask g = f.blank();
        add_ellipse(g, hand, 2.0f, 2.0f);
        f.add(g, l.iron, Finish::Matte, Edge::Line, GROUP_ARM + 2);
    }

    if (!p.blade_behind) add_blade(f, l, b.at(p.hand.x, p.hand.y), p.blade);

    // Visor glow, painted last so nothing covers the eyes.
    for (int i = 0; i < 4; ++i) {
        const Vec2 e = b.at(11.6f + static_cast<float>(i), 4.6f);
        f.dot(e, i == 2 ? l.glow_core : l.glow);
    }
    // The breastplate's ridge.
    for (float v = 9.0f; v <= 18.0f; v += 1.0f) f.dot(b.at(11.0f + (v - 9.0f) * 0.05f, v), l.iron.shadow);
    return render(f);
}

// --- poses ------------------------------------------------------------------

BossPose idle_pose(int i) {
    constexpr float BOB[10] = {0, 0, 0, 1, 1, 1, 1, 0, 0, 0};
    BossPose p;
    p.bob = BOB[i];
    p.cape_sway = std::sin(static_cast<float>(i) * 2.0f * PI / 10.0f) * 1.2f;
    p.hand.y += BOB[i];
    p.back_hand.y += BOB[i];
    return p;
}

// Ten frames per stride: feet swap twice, the body rides up over each step.
BossPose run_pose(int i) {
    const float phi = 2.0f * PI * static_cast<float>(i) / 10.0f;
    const float c = std::cos(phi), s = std::sin(phi);
    BossPose p;
    p.lean = 2.5f;
    p.bob = -std::fabs(s) * 1.5f;
    p.front_foot = {{10.0f + 6.0f * c, 34.3f - std::max(0.0f, -s) * 4.0f}, 0.8f + std::max(0.0f, -s) * 0.8f};
    p.back_foot = {{9.0f - 6.0f * c, 34.3f - std::max(0.0f, s) * 4.0f}, 0.8f + std::max(0.0f, s) * 0.8f};
    p.hand = {17.5f - 1.5f * c, 20.0f};
    p.back_hand = {2.5f + 2.5f * c, 20.5f};
    p.blade = 160.0f;
    p.blade_behind = true;
    p.cape_sway = 5.0f;
    p.cape_lift = 3.0f + s;
    return p;
}

BossPose attack_pose(int a) {
    BossPose p;
    switch (a) {
        case 0:  // wind-up: blade raised high behind
            p.lean = -1.5f;
            p.hand = {12.5f, 5.0f};
            p.blade = -140.0f;
            p.blade_behind = true;
            p.front_foot = {{16.0f, 34.3f}, 0.8f};
            p.cape_sway = 1.0f;
            break;
        case 1:  // over the top
            p.lean = 0.5f;
            p.hand = {16.5f, 4.0f};
            p.blade = -60.0f;
            p.front_foot = {{17.0f, 34.3f}, 1.0f};
            p.cape_sway = 2.0f;
            break;
        case 2:  // the blow: a long level sweep
            p.lean = 3.0f;
            p.bob = 1.0f;
            p.hand = {21.5f, 14.0f};
            p.blade = 8.0f;
            p.front_foot = {{19.0f, 34.3f}, 1.4f};
            p.back_foot = {{3.0f, 34.3f}, 0.2f};
            p.cape_sway = 4.0f;
            p.cape_lift = 2.0f;
            break;
        default:  // follow-through
            p.lean = 2.0f;
            p.bob = 1.0f;
            p.hand = {20.0f, 19.0f};
            p.blade = 40.0f;
            p.front_foot = {{18.0f, 34.3f}, 1.2f};
            p.back_foot = {{3.5f, 34.3f}, 0.3f};
            p.cape_sway = 3.0f;
            p.cape_lift = 1.0f;
            break;
    }
    return p;
}

BossPose air_pose(int i, bool falling) {
    BossPose p;
    const float t = static_cast<float>(i);
    if (!falling) {
        p.front_foot = {{15.0f, 31.0f - t * 0.5f}, 1.6f};
        p.back_foot = {{6.0f, 32.0f}, 1.2f};
        p.hand = {18.0f, 12.0f - t};
        p.blade = -55.0f;
        p.cape_sway = 1.0f;
        p.cape_lift = -1.0f;
    } else {
        p.front_foot = {{14.5f, 34.3f}, 0.3f};
        p.back_foot = {{5.0f, 34.0f}, 0.4f};
        p.hand = {18.5f, 18.0f};
        p.blade = 85.0f;
        p.cape_sway = 2.0f;
        p.cape_lift = 5.0f + t * 1.5f;
    }
    p.back_hand = {1.0f, 18.0f - t};
    return p;
}

BossPose dash_pose(int i) {
    BossPose p;
    p.lean = 5.0f;
    p.bob = 1.0f;
    p.front_foot = {{17.0f, 33.0f}, 1.5f};
    p.back_foot = {{1.0f, 33.5f}, 0.2f};
    p.hand = {15.0f, 19.0f};
    p.blade = 172.0f;
    p.blade_behind = true;
    p.back_hand = {2.0f, 18.0f};
    p.cape_sway = 8.0f;
    p.cape_lift = 9.0f + static_cast<float>(i);
    p.smear = 3 + i;
    return p;
}

}  // namespace

PixelImage boss_sheet() {
    std::vector<PixelImage> frames;
    for (int i = 0; i < 10; ++i) frames.push_back(draw_boss(idle_pose(i)));
    for (int i = 0; i < 10; ++i) frames.push_back(draw_boss(run_pose(i)));
    for (int a = 0; a < 4; ++a) frames.push_back(draw_boss(attack_pose(a)));
    for (int i = 0; i < 3; ++i) frames.push_back(draw_boss(air_pose(i, false)));
    for (int i = 0; i < 3; ++i) frames.push_back(draw_boss(air_pose(i, true)));
    for (int i = 0; i < 2; ++i) frames.push_back(draw_boss(dash_pose(i)));
    return strip(frames);
}
