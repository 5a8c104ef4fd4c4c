// The barbarian, facing right: a horned iron cap, a red beard, a fur pelt
// over one shoulder, a fur kilt and a great double-bitted axe carried on the
// shoulder. 21 frames of 20 x 20: idle 0-3, walk 4-7, wind-up 8-16, charge
// 17, recovery 18-20.
//
// The game anchors a frame two columns left of the 10 x 13 body facing right
// (body at frame columns 2..11) and lands the mirrored frame with the body at
// frame columns -2..7, so the mirror axis lies between columns 4 and 5, two
// columns left of the body's middle. The figure is drawn from column 0 to 11:
// kilt and legs ten wide over 0..9 fill the legs in either facing, and the
// beard and forward arm reach 10..11 for the facing that needs them. Body
// columns 8..9 lie outside the mirrored frame and stay bare facing left.

#include <vector>

#include "art.h"
#include "kit.h"
#include "palette.h"

namespace {

constexpr int FRAME = 20;
constexpr int BODY_X = 0, BODY_Y = 6;
constexpr int AXE_LENGTH = 8;

// Keys: o s m l skin; r R beard; f F G fur; i I j iron cap; y horn; d D
// leather; e eye.
const Art UPPER = {{
    ".....y....y.",  // row 0
    ".....yooooy.",
    ".....oIjjjo.",
    ".oooooimmeo.",
    "oGFFFrRRRRlo",
    "oFfFlmRRRRRo",
    "ofsmlDmRRRro",
    ".osmmmDmmRso",  // row 7
}};
constexpr int UPPER_Y = 0;

// Kilt and legs from row 8, boots on row 12; the kilt flares over both
// facings' legs.
const Art LEGS_STAND = {{"dDDDDDDDDd", "fFGFFFFGFf", "osmmoommso", "osmmoommso", ".dddd.dddd"}};
const Art LEGS_STRIDE = {{"dDDDDDDDDd", "fFGFFFFGFf", "osmo..omso", "osmo..omso", "dddd..dddd"}};
const Art LEGS_PASS = {{"dDDDDDDDDd", "fFGFFFFGFf", ".osmmmmso.", ".osmmmmso.", "..dddddd.."}};
const Art LEGS_CROUCH = {{"dDDDDDDDDd", "ofFGFFFGfo", "osmo..omso", "dddd..dddd"}};
const Art LEGS_RUN = {{"dDDDDDDDDd", "fFGFFFFGFf", "osmo..omso", "oso....omo", "dd......dd"}};
constexpr int LEGS_Y = 8;

ColourKeys barbarian_keys() {
    ColourKeys k = make_keys({{'e', rgb(30, 18, 24)},
                              {'r', rgb(142, 52, 30)},
                              {'R', rgb(206, 92, 42)},
                              {'f', rgb(96, 66, 44)},
                              {'F', rgb(146, 108, 70)},
                              {'G', rgb(192, 154, 104)},
                              {'i', rgb(70, 70, 88)},
                              {'I', rgb(118, 120, 138)},
                              {'j', rgb(176, 180, 196)},
                              {'y', rgb(236, 226, 196)},
                              {'d', rgb(60, 34, 28)},
                              {'D', rgb(108, 64, 40)}});
    add_ramp_keys(k, "osml_",
                  {rgb(58, 28, 28), rgb(168, 100, 72), rgb(214, 146, 104), rgb(240, 186, 140), {}});
    return k;
}

struct BarbarianPose {
    int body_y = 0;
    const Art* legs = &LEGS_STAND;
    int legs_x = 0;
    Vec2 hand = {8.5f, 6.0f};  // body cells
    float axe = -140.0f;       // degrees
    bool axe_behind = true;    // on the shoulder, behind the head
};

void draw_axe(PixelImage& img, const ColourKeys& k, Vec2 hand, float degrees) {
    const Vec2 end = draw_haft(img, hand, degrees, AXE_LENGTH, k.colour['d'], k.colour['D'], 2);
    // Two crescent bits either side of the haft's end.
    const Vec2 d = polar({0, 0}, degrees, 1.0f), side = {-d.y, d.x};
    Mask head(img.width, img.height);
    const Vec2 c = end - d * 0.8f;
    add_polygon(head, {c + side * 0.9f - d * 1.4f, c + side * 3.6f - d * 2.6f, c + side * 4.2f + d * 0.2f,
                       c + side * 3.6f + d * 2.6f, c + side * 0.9f + d * 1.4f, c - side * 0.9f + d * 1.4f,
                       c - side * 3.6f + d * 2.6f, c - side * 4.2f + d * 0.2f, c - side * 3.6f - d * 2.6f,
                       c - side * 0.9f - d * 1.4f});
    paint_shape(img, head, pal::steel(), Finish::Shiny);
    img.set(px_of(end).x, px_of(end).y, k.colour['d']);  // the haft through the eye
}

PixelImage draw_barbarian(const BarbarianPose& p) {
    PixelImage img(FRAME, FRAME);
    const ColourKeys k = barbarian_keys();
    const int ux = BODY_X, uy = BODY_Y + p.body_y;
    const Vec2 hand = {static_cast<float>(ux) + p.hand.x, static_cast<float>(uy) + p.hand.y};
    const Vec2 shoulder = {static_cast<float>(ux) + 7.5f, static_cast<float>(uy) + 5.0f};
    const Ramp skin = ramp_from_keys(k, "osmll");
    auto arm = [&] {
        Mask m(img.width, img.height);
        add_capsule(m, shoulder, hand, 1.2f, 1.0f);
        paint_shape(img, m, skin);
    };
    if (p.axe_behind) draw_axe(img, k, hand, p.axe);
    {
        Mask m(img.width, img.height);
        const Vec2 back = {static_cast<float>(ux) + 1.8f, static_cast<float>(uy) + 3.5f};
        add_capsule(m, back, back + Vec2{-0.6f, 4.0f}, 1.3f, 1.1f);
        paint_shape(img, m, skin);
    }
    stamp(img, *p.legs, BODY_X + p.legs_x, BODY_Y + LEGS_Y + (p.legs == &LEGS_CROUCH ? 1 : 0), k);
    stamp(img, UPPER, ux, uy + UPPER_Y, k);
    arm();
    if (!p.axe_behind) draw_axe(img, k, hand, p.axe);
    return img;
}

BarbarianPose idle_pose(int i) {
    constexpr int BOB[4] = {0, 0, 1, 1};
    BarbarianPose p;
    p.body_y = BOB[i];
    p.hand.y += static_cast<float>(BOB[i]);
    return p;
}

BarbarianPose walk_pose(int i) {
    constexpr const Art* LEGS[4] = {&LEGS_STRIDE, &LEGS_PASS, &LEGS_STRIDE, &LEGS_PASS};
    constexpr int BOB[4] = {1, 0, 1, 0};
    BarbarianPose p;
    p.legs = LEGS[i];
    p.body_y = BOB[i];
    p.hand.y += static_cast<float>(BOB[i]);
    p.axe += i % 2 == 0 ? 4.0f : -4.0f;
    return p;
}

// Crouch, heave the axe overhead, lean back and paw the ground.
BarbarianPose windup_pose(int a) {
    struct Key {
        int body_y;
        float hand_x, hand_y, axe;
        bool behind;
        const Art* legs;
    };
    // The body stays at the frame's first column: leaning it back would cut
    // the back column that fills the body in either facing.
    static const Key KEYS[9] = {
        {1, 8.5f, 6.0f, -135.0f, true, &LEGS_CROUCH},  // 8
        {1, 8.5f, 4.0f, -115.0f, true, &LEGS_CROUCH},  // 9
        {0, 8.5f, 2.5f, -95.0f, false, &LEGS_STAND},   // 10 axe overhead
        {0, 7.5f, 2.5f, -118.0f, true, &LEGS_STRIDE},  // 11 swing it back
        {0, 7.5f, 3.0f, -128.0f, true, &LEGS_STRIDE},  // 12
        {1, 7.5f, 3.5f, -132.0f, true, &LEGS_CROUCH},  // 13 paw the ground
        {1, 7.5f, 3.5f, -127.0f, true, &LEGS_STRIDE},  // 14
        {1, 7.5f, 3.5f, -132.0f, true, &LEGS_CROUCH},  // 15
        {1, 8.5f, 3.5f, -118.0f, true, &LEGS_STRIDE},  // 16 about to run
    };
    const Key& key = KEYS[a];
    BarbarianPose p;
    p.body_y = key.body_y;
    p.hand = {key.hand_x, key.hand_y};
    p.axe = key.axe;
    p.axe_behind = key.behind;
    p.legs = key.legs;
    return p;
}

// Head down, axe levelled in front like a ram.
BarbarianPose charge_pose() {
    BarbarianPose p;
    p.body_y = 1;
    p.legs = &LEGS_RUN;
    p.hand = {10.5f, 6.0f};
    p.axe = -15.0f;
    p.axe_behind = false;
    return p;
}

BarbarianPose recovery_pose(int a) {
    BarbarianPose p;
    if (a == 0) {  // stumbles, axe hanging low in front
        p.body_y = 1;
        p.legs = &LEGS_STRIDE;
        p.hand = {10.5f, 6.5f};
        p.axe = 50.0f;
        p.axe_behind = false;
    } else if (a == 1) {  // straightens
        p.legs = &LEGS_STAND;
        p.hand = {9.5f, 5.5f};
        p.axe = -60.0f;
        p.axe_behind = false;
    } else {  // back on the shoulder
        p.legs = &LEGS_STAND;
    }
    return p;
}

}  // namespace

PixelImage barbarian_sheet() {
    std::vector<PixelImage> frames;
    for (int i = 0; i < 4; ++i) frames.push_back(draw_barbarian(idle_pose(i)));
    for (int i = 0; i < 4; ++i) frames.push_back(draw_barbarian(walk_pose(i)));
    for (int a = 0; a < 9; ++a) frames.push_back(draw_barbarian(windup_pose(a)));
    frames.push_back(draw_barbarian(charge_pose()));
    for (int a = 0; a < 3; ++a) frames.push_back(draw_barbarian(recovery_pose(a)));
    return strip(frames);
}
