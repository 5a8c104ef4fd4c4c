// The dragon hatchling, facing right: a big round head with two horn nubs,
// a wing raised behind the head, a stout body with a cream belly on two hind
// legs, little arms and a short upturned tail. Its parts are drawn pixel by
// pixel and moved as a paper doll, so the vita and mort sheets share exact
// silhouettes and only differ in colour.
//
// Part positions are body cells: (0, 0) is the top-left cell of the dragon's
// 14 x 20 body box and one sprite pixel covers one cell.

#include <cmath>
#include <vector>

#include "art.h"
#include "kit.h"
#include "palette.h"

namespace {

constexpr int SMALL_W = 24, SMALL_H = 24;
constexpr int LARGE_W = 48, LARGE_H = 32;

// Where the body box sits inside a frame. The game draws small and large
// frames with the same left edge in both facings but mirrors them, and its
// mirrored placement lands 4 screen pixels right of the unmirrored one;
// putting the box at x = 5 instead of 4.33 splits that gap evenly, so in
// either facing the art is 2 screen pixels (two thirds of a cell) right of
// the body.
constexpr int SMALL_X = 5, SMALL_Y = 1;
constexpr int LARGE_X = 5, LARGE_Y = 8;

constexpr int WALK_FRAMES = 7;
constexpr int SPIT_STAGES = 3;

// --- parts ------------------------------------------------------------------
// Keys: o s m l h scales (outline, shadow, mid, light, highlight); O D F G the
// far-side limbs; b B c belly; w W v wing membrane; x X y horn; e g eye and
// glint; k mouth; u tongue; t tooth; r throat glow; z claw; n vein (mort only).

const Art HEAD = {{
    "...o..o...",  // row 1
    "..oyooyo..",
    "..oXooXoo.",
    ".ollllllo.",
    "ollmmmsslo",
    "olmmmmgelo",
    "ommmmmeemo",
    "osmmmskkkk",  // row 8: the mouth
}};
constexpr int HEAD_X = 4, HEAD_Y = 1;

// Lower jaws from row 9, closed and three openings.
const Art JAWS[4] = {
    {{".osmmmsmto", "..ooooooo."}},
    {{".osmmmktkk", "..osmssmmo", "...ooooo.."}},
    {{".osmmmktk.", "..osmkkkkk", "...osmmmmo", "....ooooo."}},
    {{".osmmmkt..", "..osmkukk.", "..osmuuukk", "...osmmmmo", "....ooooo."}},
};
const Art JAWS_GLOW[4] = {
    {{".osmmmsmto", "..ooooooo."}},
    {{".osmmmrtrk", "..osmssmmo", "...ooooo.."}},
    {{".osmmmrtr.", "..osmrrrkk", "...osmmmmo", "....ooooo."}},
    {{".osmmmrt..", "..osmrrrr.", "..osmrrrrk", "...osmmmmo", "....ooooo."}},
};
constexpr int JAW_Y = 9;

// Eyes over the head at (10, 5): brow row and the two eye rows.
enum class Eye { Open, Blink, Happy, Wince };
const Art EYES[4] = {
    {{"ss", "ge", "ee"}},
    {{"ss", "mm", "oo"}},
    {{"mm", "oo", "mm"}},
    {{"so", "os", "mm"}},
};
constexpr int EYE_X = 10, EYE_Y = 5;

enum class Wing { Rest, Raised, Spread };
const Art WINGS[3] = {
    {{"..oo..", ".ohlo.", "ovvlo.", "ovWlmo", "owWWlo", ".oWwmo", "ovWwmo", "owWWmo", ".owoo.", "..o..."}},
    {{".oo...", "ohlo..", "ovvlo.", "ovWlmo", "owWWlo", ".oWwmo", "ovWwmo", "owWWmo", "owWwmo", ".owoo.",
      "..o..."}},
    {{"oo....", "ohlo..", "ovvlo.", "ovWlmo", "ovWWlo", "owWWmo", ".oWwWo", "ovWwmo", "owWWwo", "owWwmo",
      ".owoo.", "..o..."}},
};
// Top rows of the three wings (column 0).
constexpr int WING_Y[3] = {2, 1, 0};

enum class Tail { Down, Mid, Up };
// Tails reach one column behind the body box; the tip is the only part of
// the dragon that sticks out of it.
const Art TAILS[3] = {
    {{"oo....", "olmo..", "osmmo.", ".oossooo"}},
    {{"oo....", "olo...", "olmoo.", ".ommmo", "..ossoo"}},
    {{"o.....", "oo....", "olo...", "olo...", ".omoo.", ".ommmo", "..ossoo"}},
};
constexpr int TAIL_X = -1;
constexpr int TAIL_Y[3] = {13, 12, 10};

const Art BODY = {{
    "..omm.....",  // row 10, behind the chin
    ".olmmsbBco",
    "..olmsbBco",
    ".olmmsbBco",
    ".ommmsbBBo",
    ".osmnsbBbo",
    "..osmsbbbo",
    "...ossooo.",  // row 17
}};
const Art BODY_FULL = {{
    "..omm.....",
    ".olmmsbBBco",
    "..olmsbBBco",
    ".olmmsbBBco",
    ".ommmsbBBBo",
    ".osmnsbBBbo",
    "..osmsbbbbo",
    "...ossoooo.",
}};
constexpr int BODY_X = 2, BODY_Y = 10;

// Hind legs, foot centre at column 1 of the art, bottom row on the ground
// (row 19) when planted.
const Art LEG_PLANTED = {{".m..", "oso.", "olmo", "oooz"}};
const Art LEG_LIFTED = {{".m..", "omo.", "olmz", "ooo."}};
const Art FAR_LEG_PLANTED = {{".F..", "ODO.", "OGFO", "OOOO"}};
const Art FAR_LEG_LIFTED = {{".F..", "OFO.", "OGFO", "OOO."}};

enum class Arm { Down, Forward, Up };
const Art ARMS[3] = {
    {{"om.", "olo", ".oz"}},
    {{"omo.", ".olz"}},
    {{"..z", "olo", "om."}},
};
constexpr int ARM_X = 9, ARM_Y = 12;

struct DragonLook {
    ColourKeys keys;
};

Ramp tones(Rgba outline, Rgba shadow, Rgba mid, Rgba light, Rgba highlight) {
    return {outline, shadow, mid, light, highlight};
}

DragonLook vita_look() {
    ColourKeys k = make_keys({{'e', rgb(40, 22, 40)},
                              {'g', rgb(255, 255, 240)},
                              {'k', rgb(92, 24, 40)},
                              {'t', rgb(255, 250, 236)},
                              {'r', VITA_THROAT_GLOW},
                              {'u', rgb(214, 74, 92)},
                              {'z', rgb(255, 246, 220)}});
    const Ramp scales = tones(rgb(82, 24, 40), rgb(178, 58, 50), rgb(226, 98, 52), rgb(250, 148, 72),
                              rgb(255, 200, 120));
    add_ramp_keys(k, "osmlh", scales);
    add_ramp_keys(k, "__n__", scales);  // no veins: plain scales
    add_ramp_keys(k, "ODFG_",
                  tones(rgb(70, 20, 38), rgb(138, 42, 48), rgb(182, 70, 50), rgb(212, 104, 60), {}));
    add_ramp_keys(k, "_bBc_",
                  tones({}, rgb(224, 160, 92), rgb(246, 204, 128), rgb(255, 234, 172), {}));
    add_ramp_keys(k, "_wWv_",
                  tones({}, rgb(214, 128, 70), rgb(248, 184, 86), rgb(255, 222, 132), {}));
    add_ramp_keys(k, "_xXy_",
                  tones({}, rgb(196, 168, 138), rgb(234, 218, 186), rgb(252, 246, 224), {}));
    return {k};
}

// The empowered twin: soot-black scales, ember belly and wings, a glowing eye
// and magma veins.
DragonLook mort_look() {
    ColourKeys k = make_keys({{'e', rgb(255, 84, 40)},
                              {'g', rgb(255, 236, 140)},
                              {'k', rgb(50, 8, 20)},
                              {'t', rgb(236, 232, 244)},
                              {'r', rgb(255, 220, 90)},
                              {'u', rgb(150, 30, 60)},
                              {'z', rgb(226, 220, 236)},
                              {'n', rgb(255, 122, 40)}});
    add_ramp_keys(k, "osmlh",
                  tones(rgb(22, 14, 30), rgb(46, 36, 62), rgb(72, 60, 94), rgb(106, 92, 130), rgb(150, 140, 172)));
    add_ramp_keys(k, "ODFG_",
                  tones(rgb(16, 10, 24), rgb(32, 26, 46), rgb(52, 44, 70), rgb(76, 66, 98), {}));
    add_ramp_keys(k, "_bBc_",
                  tones({}, rgb(172, 52, 36), rgb(226, 92, 44), rgb(252, 150, 60), {}));
    add_ramp_keys(k, "_wWv_",
                  tones({}, rgb(102, 20, 40), rgb(152, 34, 52), rgb(198, 62, 66), {}));
    add_ramp_keys(k, "_xXy_",
                  tones({}, rgb(150, 146, 166), rgb(200, 196, 214), rgb(236, 234, 244), {}));
    return {k};
}

// --- poses ------------------------------------------------------------------

struct Foot {
    int x = 0;  // columns from the foot's resting place
    int lift = 0;
};

struct DragonPose {
    int bob = 0;        // whole dragon, rows down
    int head_x = 0;     // head and jaw
    int head_y = 0;
    int jaw = 0;        // 0 closed .. 3 wide open
    bool glow = false;  // fire rising in the open mouth
    Eye eye = Eye::Open;
    Wing wing = Wing::Rest;
    int wing_y = 0;
    Tail tail = Tail::Mid;
    bool full_belly = false;
    Foot near_foot;
    Foot far_foot;
    Arm arm = Arm::Down;
    int lean = 0;  // head, arm and wing forward
};

// Resting foot places: far foot under the back, near foot under the belly.
constexpr int FAR_FOOT_X = 4, NEAR_FOOT_X = 8;

void draw_leg(PixelImage& img, const ColourKeys& keys, int ox, int oy, int rest_x, Foot foot, bool far) {
    const Art& art = far ? (foot.lift > 0 ? FAR_LEG_LIFTED : FAR_LEG_PLANTED)
                         : (foot.lift > 0 ? LEG_LIFTED : LEG_PLANTED);
    const int lift_rows = foot.lift > 0 ? foot.lift : 0;
    stamp(img, art, ox + rest_x + foot.x, oy + 16 - lift_rows, keys);
}

PixelImage draw_dragon(const DragonPose& p, const DragonLook& look, int fw, int fh, int ox, int oy) {
    PixelImage img(fw, fh);
    const ColourKeys& k = look.keys;
    const int by = oy + p.bob;
    const int ux = ox + p.lean;  // upper body
    const int hx = ux + p.head_x, hy = by + p.head_y;

    const int wi = static_cast<int>(p.wing);
    stamp(img, WINGS[wi], ux, by + WING_Y[wi] + p.wing_y, k);
    const int ti = static_cast<int>(p.tail);
    stamp(img, TAILS[ti], ox + TAIL_X, by + TAIL_Y[ti], k);
    draw_leg(img, k, ox, oy, FAR_FOOT_X, p.far_foot, true);
    stamp(img, p.full_belly ? BODY_FULL : BODY, ox + BODY_X, by + BODY_Y, k);
    draw_leg(img, k, ox, oy, NEAR_FOOT_X, p.near_foot, false);
    stamp(img, ARMS[static_cast<int>(p.arm)], ux + ARM_X, by + ARM_Y, k);
    if (p.head_x > 0 || p.head_y > 0 || p.lean > 0) {
        // A head thrust forward or down stretches the neck behind it.
        Mask neck(fw, fh);
        const float nx = static_cast<float>(ox + 4), ny = static_cast<float>(by);
        const float dx = static_cast<float>(hx - ox), dy = static_cast<float>(hy - by);
        add_polygon(neck, {{nx, ny + 11.0f}, {nx, ny + 8.0f}, {nx + dx + 1.0f, ny + dy + 6.0f},
                           {nx + dx + 5.0f, ny + dy + 6.0f}, {nx + dx + 5.0f, ny + dy + 10.0f},
                           {nx + 5.0f, ny + 12.0f}});
        paint_shape(img, neck, ramp_from_keys(k, "osmlh"));
    }
    stamp(img, HEAD, hx + HEAD_X, hy + HEAD_Y, k);
    stamp(img, (p.glow ? JAWS_GLOW : JAWS)[p.jaw], hx + HEAD_X, hy + JAW_Y, k);
    stamp(img, EYES[static_cast<int>(p.eye)], hx + EYE_X, hy + EYE_Y, k);
    return img;
}

DragonPose idle_pose(int i) {
    DragonPose p;
    constexpr int HEAD_DIP[4] = {0, 0, 1, 1};
    constexpr Tail TAIL[4] = {Tail::Mid, Tail::Up, Tail::Up, Tail::Mid};
    p.head_y = HEAD_DIP[i];
    p.wing_y = HEAD_DIP[i];
    p.tail = TAIL[i];
    return p;
}

// Seven frames per stride: contact, push, passing, reach for each foot.
DragonPose walk_pose(int i) {
    struct Step {
        int near_x, near_lift, far_x, far_lift, bob;
        Tail tail;
    };
    constexpr Step STEPS[WALK_FRAMES] = {
        {2, 0, -1, 0, 0, Tail::Mid},  // near foot forward, both down
        {1, 0, 0, 1, -1, Tail::Up},   // far foot swings
        {0, 0, 1, 2, -1, Tail::Up},
        {-1, 0, 2, 0, 0, Tail::Mid},  // far foot forward, both down
        {-1, 1, 1, 0, -1, Tail::Down},
        {0, 2, 0, 0, -1, Tail::Down},
        {1, 1, -1, 0, 0, Tail::Mid},
    };
    const Step& s = STEPS[i];
    DragonPose p;
    p.near_foot = {s.near_x, s.near_lift};
    p.far_foot = {s.far_x, s.far_lift};
    p.bob = s.bob;
    p.tail = s.tail;
    p.arm = s.near_x > 0 ? Arm::Down : Arm::Forward;
    p.wing = s.bob < 0 ? Wing::Raised : Wing::Rest;
    p.wing_y = s.bob < 0 ? 1 : 0;
    return p;
}

DragonPose run_pose(int i) {
    DragonPose p = walk_pose(i);
    p.lean = 1;
    p.wing = Wing::Raised;
    p.arm = Arm::Forward;
    return p;
}

DragonPose hurt_pose(int i) {
    DragonPose p;
    p.head_x = -1;
    p.head_y = i == 1 ? -1 : 0;
    p.jaw = i == 2 ? 1 : 2;
    p.eye = Eye::Wince;
    p.wing = Wing::Spread;
    p.tail = Tail::Up;
    p.arm = Arm::Up;
    return p;
}

DragonPose blink_pose(int i) {
    DragonPose p = idle_pose(i);
    p.eye = (i == 1 || i == 2) ? Eye::Blink : Eye::Open;
    return p;
}

DragonPose jump_pose(bool falling) {
    DragonPose p;
    p.wing = Wing::Spread;
    if (!falling) {
        p.near_foot = {0, 2};
        p.far_foot = {1, 1};
        p.tail = Tail::Down;
        p.arm = Arm::Up;
    } else {
        p.near_foot = {1, 0};
        p.far_foot = {-1, 1};
        p.tail = Tail::Up;
        p.jaw = 1;
        p.arm = Arm::Up;
        p.head_y = -1;
    }
    return p;
}

// Spit stages 1..3 layered onto a pose; stage 0 leaves it alone.
DragonPose with_spit(DragonPose p, int stage) {
    if (stage == 0) return p;
    constexpr int SPIT_HEAD_X[4] = {0, 0, 1, 1};
    p.head_x = SPIT_HEAD_X[stage];
    p.head_y = std::min(p.head_y, 0);
    p.jaw = stage;
    p.glow = true;
    p.full_belly = stage == 1;
    p.arm = Arm::Forward;
    p.eye = stage == 3 ? Eye::Wince : Eye::Open;
    return p;
}

DragonPose eat_pose(int i) {
    struct Step {
        int head_x, head_y, jaw, lean;
        bool full;
        Eye eye;
    };
    constexpr Step STEPS[8] = {
        {1, 1, 0, 0, false, Eye::Open},   // eyes on the barrel
        {2, 1, 2, 1, false, Eye::Open},   // lunge
        {3, 2, 3, 1, false, Eye::Open},   // wide open
        {3, 1, 0, 1, false, Eye::Wince},  // chomp
        {1, 0, 1, 0, false, Eye::Open},   // chew
        {1, 1, 0, 0, true, Eye::Blink},   // chew
        {0, -1, 0, 0, true, Eye::Open},   // swallow
        {0, 0, 0, 0, true, Eye::Happy},   // content
    };
    const Step& s = STEPS[i];
    DragonPose p;
    p.head_x = s.head_x;
    p.head_y = s.head_y;
    p.jaw = s.jaw;
    p.lean = s.lean;
    p.full_belly = s.full;
    p.eye = s.eye;
    p.arm = s.lean > 0 ? Arm::Forward : Arm::Down;
    p.tail = s.lean > 0 ? Tail::Up : Tail::Mid;
    return p;
}

// The 24 base frames: idle 0-3, walk 4-10, run 11-17, hurt 18-20, blink 21-23.
DragonPose base_pose(int frame) {
    if (frame < 4) return idle_pose(frame);
    if (frame < 11) return walk_pose(frame - 4);
    if (frame < 18) return run_pose(frame - 11);
    if (frame < 21) return hurt_pose(frame - 18);
    return blink_pose(frame - 21);
}

}  // namespace

PixelImage dragon_sheet(DragonSheet which, bool empowered) {
    const DragonLook look = empowered ? mort_look() : vita_look();
    std::vector<PixelImage> frames;
    auto small = [&](const DragonPose& p) {
        frames.push_back(draw_dragon(p, look, SMALL_W, SMALL_H, SMALL_X, SMALL_Y));
    };
    auto large = [&](const DragonPose& p) {
        frames.push_back(draw_dragon(p, look, LARGE_W, LARGE_H, LARGE_X, LARGE_Y));
    };
    switch (which) {
        case DragonSheet::Base:
            for (int i = 0; i < 24; ++i) small(base_pose(i));
            break;
        case DragonSheet::Jump:
            small(jump_pose(false));
            small(jump_pose(true));
            break;
        case DragonSheet::Spit:
            for (int k = 0; k <= SPIT_STAGES; ++k) large(with_spit(idle_pose(0), k));
            break;
        case DragonSheet::SpitRun:
            for (int k = 0; k <= SPIT_STAGES; ++k) {
                for (int w = 0; w < WALK_FRAMES; ++w) large(with_spit(walk_pose(w), k));
            }
            break;
        case DragonSheet::Eat:
            for (int i = 0; i < 8; ++i) large(eat_pose(i));
            break;
    }
    return strip(frames);
}
