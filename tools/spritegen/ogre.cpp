// The ogre, facing right: a small tusked head sunk between huge shoulders,
// a round green belly crossed by a leather strap, a hide loincloth, and a
// spiked club. 16 frames of 22 x 22 of which the game shows the top 20 rows:
// idle 0-3, walk 4-7, attack 8-15 (the club lands on frame 12).
//
// The game anchors a frame two columns left of the 10 x 13 body facing right
// (body at frame columns 2..11) and lands the mirrored frame with the body at
// frame columns 0..9, so the mirror axis lies between columns 5 and 6 while
// the body's middle does not. The belly and legs are drawn twelve columns
// wide, 0..11, to fill the body in both facings; the head sits on the axis.
// The body's bottom row falls on frame row 20, which the game never shows,
// so the feet are drawn on row 19.

#include <vector>

#include "art.h"
#include "kit.h"
#include "palette.h"

namespace {

constexpr int FRAME = 22;
constexpr int BODY_X = 0, BODY_Y = 8;
constexpr int CLUB_LENGTH = 6;

// Keys: o s m l h skin; d D E hide and leather; t tusk; e eye; w W wood;
// x spike.
const Art UPPER = {{
    "...oooooo...",  // row 0
    "..ollmmmso..",
    ".olmmmmemso.",
    "oslmmmsttmmo",
    ".oslmmoooomo",
    ".oslmmDllmo.",
    "osmmmmmDllmo",
    "osmmmmmlDlmo",
    "osDDDEEDDDmo",
    ".oDDEEEEDDo.",  // row 9
}};
constexpr int UPPER_Y = 0;

// Legs from row 10, feet on row 11 (frame row 19); stumps five wide so each
// covers the body's leg in either facing.
const Art LEGS_STAND = {{".omsmoomsmo.", ".oooo..oooo."}};
const Art LEGS_STRIDE = {{"omsmo..omsmo", "oooo....oooo"}};
const Art LEGS_PASS = {{"..omsmmsmo..", "..oooooooo.."}};
const Art LEGS_BRACE = {{"omsmo..omsmo", "ooooo..ooooo"}};
constexpr int LEGS_Y = 10;

ColourKeys ogre_keys() {
    ColourKeys k = make_keys({{'t', rgb(240, 232, 200)},
                              {'e', rgb(255, 214, 72)},
                              {'d', rgb(62, 38, 28)},
                              {'D', rgb(112, 70, 44)},
                              {'E', rgb(160, 110, 66)},
                              {'x', pal::iron().highlight}});
    add_ramp_keys(k, "osmlh",
                  {rgb(30, 40, 28), rgb(78, 112, 56), rgb(114, 152, 72), rgb(154, 188, 94), rgb(198, 222, 132)});
    add_ramp_keys(k, "_wW__", pal::wood());
    return k;
}

struct OgrePose {
    int body_x = 0;
    int body_y = 0;
    const Art* legs = &LEGS_STAND;
    Vec2 hand = {10.5f, 6.5f};  // body cells
    float club = -55.0f;       // degrees, -90 = straight up
    bool club_behind = false;
    float back_swing = 0.0f;  // back arm, + forward
};

void draw_club(PixelImage& img, const ColourKeys& k, Vec2 hand, float degrees) {
    const Vec2 end = draw_haft(img, hand, degrees, CLUB_LENGTH, k.colour['o'], k.colour['W'], 1);
    Mask head(img.width, img.height);
    add_ellipse(head, end, 2.2f, 2.2f);
    paint_shape(img, head, {k.colour['o'], k.colour['w'], k.colour['W'], k.colour['E'], k.colour['E']});
    // Two iron studs on the striking face.
    const Vec2 d = polar({0, 0}, degrees, 1.0f);
    img.set(px_of(end + Vec2{-d.y, d.x}).x, px_of(end + Vec2{-d.y, d.x}).y, k.colour['x']);
    img.set(px_of(end + d).x, px_of(end + d).y, k.colour['x']);
}

void draw_arm(PixelImage& img, const ColourKeys& k, Vec2 shoulder, Vec2 hand) {
    Mask arm(img.width, img.height);
    add_capsule(arm, shoulder, hand, 1.3f, 1.1f);
    paint_shape(img, arm, ramp_from_keys(k, "osmlh"));
}

PixelImage draw_ogre(const OgrePose& p) {
    PixelImage img(FRAME, FRAME);
    const ColourKeys k = ogre_keys();
    const int ux = BODY_X + p.body_x, uy = BODY_Y + p.body_y;
    const Vec2 hand = {static_cast<float>(ux) + p.hand.x, static_cast<float>(uy) + p.hand.y};
    const Vec2 shoulder = {static_cast<float>(ux) + 10.0f, static_cast<float>(uy) + 4.5f};
    if (p.club_behind) {
        draw_club(img, k, hand, p.club);
        draw_arm(img, k, shoulder, hand);
    }
    const Vec2 back_shoulder = {static_cast<float>(ux) + 1.5f, static_cast<float>(uy) + 4.0f};
    draw_arm(img, k, back_shoulder, back_shoulder + Vec2{-0.8f + p.back_swing, 5.0f});
    stamp(img, *p.legs, BODY_X, BODY_Y + LEGS_Y, k);
    stamp(img, UPPER, ux, uy + UPPER_Y, k);
    if (!p.club_behind) {
        draw_arm(img, k, shoulder, hand);
        draw_club(img, k, hand, p.club);
    }
    return img;
}

OgrePose idle_pose(int i) {
    constexpr int BOB[4] = {0, 0, 1, 1};
    OgrePose p;
    p.body_y = BOB[i];
    p.hand.y += static_cast<float>(BOB[i]);
    p.club = -55.0f - 4.0f * static_cast<float>(BOB[i]);
    return p;
}

OgrePose walk_pose(int i) {
    constexpr const Art* LEGS[4] = {&LEGS_STRIDE, &LEGS_PASS, &LEGS_STRIDE, &LEGS_PASS};
    constexpr int BOB[4] = {1, 0, 1, 0};
    OgrePose p;
    p.legs = LEGS[i];
    p.body_y = BOB[i];
    p.hand = {10.5f + (i == 1 ? 0.5f : -0.5f), 6.5f + static_cast<float>(BOB[i])};
    p.back_swing = i == 1 ? -0.8f : (i == 3 ? 0.8f : 0.0f);
    p.club = -55.0f + (i % 2 == 0 ? 6.0f : -4.0f);
    return p;
}

// Heave the club up and back, bring it over, smash it down in front, drag
// it back up.
OgrePose attack_pose(int a) {
    struct Key {
        int body_x, body_y;
        float hand_x, hand_y, club;
        bool behind;
        const Art* legs;
    };
    // The body leans no further back than the frame's first column, where it
    // still fills the body's back edge in either facing.
    static const Key KEYS[8] = {
        {0, 0, 9.0f, 2.5f, -130.0f, true, &LEGS_STAND},    // 8 heave
        {0, 0, 7.5f, 0.5f, -145.0f, true, &LEGS_STRIDE},   // 9 up and back
        {0, 0, 7.0f, 0.5f, -155.0f, true, &LEGS_STRIDE},   // 10 wound up
        {0, 0, 10.0f, 0.5f, -60.0f, false, &LEGS_STRIDE},  // 11 over the top
        {1, 1, 11.0f, 5.5f, 50.0f, false, &LEGS_BRACE},    // 12 smash
        {1, 1, 11.0f, 6.0f, 55.0f, false, &LEGS_BRACE},    // 13 hold
        {0, 0, 11.0f, 6.0f, 0.0f, false, &LEGS_STRIDE},    // 14 drag up
        {0, 0, 10.0f, 6.0f, -70.0f, false, &LEGS_STAND},   // 15 back to rest
    };
    const Key& key = KEYS[a];
    OgrePose p;
    p.body_x = key.body_x;
    p.body_y = key.body_y;
    p.hand = {key.hand_x, key.hand_y};
    p.club = key.club;
    p.club_behind = key.behind;
    p.legs = key.legs;
    return p;
}

}  // namespace

PixelImage ogre_sheet() {
    std::vector<PixelImage> frames;
    for (int i = 0; i < 4; ++i) frames.push_back(draw_ogre(idle_pose(i)));
    for (int i = 0; i < 4; ++i) frames.push_back(draw_ogre(walk_pose(i)));
    for (int a = 0; a < 8; ++a) frames.push_back(draw_ogre(attack_pose(a)));
    return strip(frames);
}
