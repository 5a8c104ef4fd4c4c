// The blue knight, facing right: a great helm with a red plume, a kite shield
// on the back arm, a blue tabard over plate, and an arming sword in the
// front hand. 25 frames of 20 x 20: idle 0-3, walk 4-11, attack 12-24 (the
// blow lands on frame 18).
//
// Part positions are body cells of the 8 x 11 body box; the game anchors a
// frame one column left of and eight rows above the body, and mirrors it in
// place, so the box sits at frame pixels (1, 8) in both facings.

#include <vector>

#include "art.h"
#include "kit.h"
#include "palette.h"

namespace {

constexpr int FRAME = 20;
constexpr int BODY_X = 1, BODY_Y = 8;
constexpr int SWORD_LENGTH = 7;

// Keys: o s m l h steel; O a A q blue cloth and shield (outline, shadow, mid,
// light); y Y gold; r R plume; k visor.
const Art UPPER = {{
    "rR......",  // row -2
    ".rR.....",
    ".roooo..",  // row 0
    ".olhlmo.",
    ".olmkko.",
    "OOsmmso.",
    "OqOlmmso",
    "OYOqAAao",
    "OqOqAAao",
    "OaOyYyyo",
    ".OOqAAao",  // row 8
}};
constexpr int UPPER_Y = -2;

// Legs from row 9.
const Art LEGS_STAND = {{"..omoomo", "..oo.oo."}};
const Art LEGS_STRIDE = {{".omo.omo", ".oo...oo"}};
const Art LEGS_PASS = {{"..omom..", "..oooo.."}};
const Art LEGS_LUNGE = {{".omo..omo", "oo.....oo"}};
constexpr int LEGS_Y = 9;

ColourKeys knight_keys() {
    ColourKeys k = make_keys({{'k', rgb(16, 12, 24)},
                              {'y', rgb(184, 128, 40)},
                              {'Y', rgb(244, 200, 84)},
                              {'r', rgb(160, 28, 44)},
                              {'R', rgb(232, 72, 62)}});
    add_ramp_keys(k, "osmlh", pal::steel());
    add_ramp_keys(k, "Oa_Aq", {rgb(20, 24, 66), rgb(32, 56, 128), {}, rgb(50, 92, 186), rgb(104, 150, 236)});
    return k;
}

BladeLook knight_blade() {
    const Ramp s = pal::steel();
    return {s.outline, s.shadow, s.light, s.highlight, rgb(244, 200, 84), rgb(92, 56, 40)};
}

struct KnightPose {
    int body_x = 0;  // upper body lean
    int body_y = 0;  // bob
    const Art* legs = &LEGS_STAND;
    int legs_x = 0;
    Vec2 hand = {8.0f, 6.0f};  // body cells
    float sword = -60.0f;      // degrees, -90 = straight up
    bool sword_behind = false;  // raised behind the head
};

PixelImage draw_knight(const KnightPose& p) {
    PixelImage img(FRAME, FRAME);
    const ColourKeys k = knight_keys();
    const int ux = BODY_X + p.body_x, uy = BODY_Y + p.body_y;
    const Vec2 hand = {static_cast<float>(ux) + p.hand.x + 0.5f, static_cast<float>(uy) + p.hand.y + 0.5f};
    const Vec2 shoulder = {static_cast<float>(ux) + 5.5f, static_cast<float>(uy) + 4.5f};
    // A sword cocked over the head is held by an arm behind the helm.
    if (p.sword_behind) {
        draw_blade(img, hand, p.sword, SWORD_LENGTH, knight_blade());
        draw_limb(img, shoulder, hand, k.colour['o'], k.colour['m'], k.colour['l']);
        img.set(px_of(hand).x, px_of(hand).y, k.colour['s']);
    }
    stamp(img, *p.legs, BODY_X + p.legs_x, BODY_Y + LEGS_Y, k);
    stamp(img, UPPER, ux, uy + UPPER_Y, k);
    if (!p.sword_behind) {
        draw_limb(img, shoulder, hand, k.colour['o'], k.colour['m'], k.colour['l']);
        draw_blade(img, hand, p.sword, SWORD_LENGTH, knight_blade());
        img.set(px_of(hand).x, px_of(hand).y, k.colour['s']);  // gauntlet
    }
    return img;
}

KnightPose idle_pose(int i) {
    KnightPose p;
    constexpr int BOB[4] = {0, 0, 1, 1};
    p.body_y = BOB[i];
    p.sword = -58.0f - static_cast<float>(BOB[i]) * 4.0f;
    return p;
}

KnightPose walk_pose(int i) {
    constexpr const Art* LEGS[8] = {&LEGS_STRIDE, &LEGS_STRIDE, &LEGS_PASS, &LEGS_STAND,
                                    &LEGS_STRIDE, &LEGS_STRIDE, &LEGS_PASS, &LEGS_STAND};
    constexpr int BOB[8] = {1, 0, 0, 0, 1, 0, 0, 0};
    KnightPose p;
    p.legs = LEGS[i];
    p.body_y = BOB[i];
    p.sword = -50.0f + static_cast<float>(BOB[i]) * 6.0f;
    p.hand.x += (i % 4 < 2) ? 0.0f : -1.0f;
    return p;
}

// Guard, raise behind the head, hold, swing over, strike, follow through,
// recover.
KnightPose attack_pose(int a) {
    struct Key {
        int body_x;
        float hand_x, hand_y, sword;
        bool behind;
        const Art* legs;
    };
    static const Key KEYS[13] = {
        {0, 8.0f, 6.0f, -60.0f, false, &LEGS_STAND},    // 12 guard
        {0, 7.0f, 4.0f, -95.0f, false, &LEGS_STAND},    // 13 raise
        {-1, 6.0f, 0.0f, -120.0f, true, &LEGS_STRIDE},  // 14
        {-1, 5.0f, -1.0f, -145.0f, true, &LEGS_STRIDE},  // 15 cocked over the head
        {-1, 5.0f, -1.0f, -150.0f, true, &LEGS_STRIDE},  // 16 hold
        {0, 7.0f, 1.0f, -80.0f, false, &LEGS_STRIDE},   // 17 swing over
        {1, 9.0f, 4.0f, 8.0f, false, &LEGS_LUNGE},      // 18 strike
        {1, 9.0f, 6.0f, 40.0f, false, &LEGS_LUNGE},     // 19 follow through
        {1, 8.0f, 7.0f, 60.0f, false, &LEGS_LUNGE},     // 20
        {0, 8.0f, 7.0f, 30.0f, false, &LEGS_STRIDE},    // 21 recover
        {0, 8.0f, 6.0f, -10.0f, false, &LEGS_STRIDE},   // 22
        {0, 8.0f, 6.0f, -40.0f, false, &LEGS_STAND},    // 23
        {0, 8.0f, 6.0f, -55.0f, false, &LEGS_STAND},    // 24
    };
    const Key& key = KEYS[a];
    KnightPose p;
    p.body_x = key.body_x;
    p.hand = {key.hand_x, key.hand_y};
    p.sword = key.sword;
    p.sword_behind = key.behind;
    p.legs = key.legs;
    return p;
}

}  // namespace

PixelImage knight_sheet() {
    std::vector<PixelImage> frames;
    for (int i = 0; i < 4; ++i) frames.push_back(draw_knight(idle_pose(i)));
    for (int i = 0; i < 8; ++i) frames.push_back(draw_knight(walk_pose(i)));
    for (int a = 0; a < 13; ++a) frames.push_back(draw_knight(attack_pose(a)));
    return strip(frames);
}
