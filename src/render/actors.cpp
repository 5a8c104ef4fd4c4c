#include "render/actors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "combat/barrels.h"
#include "render/play_frame.h"
#include "render/world_render.h"

namespace {

constexpr Color HURT_TINT = {255, 84, 84, 255};
constexpr Color CRACK_COLOUR = {83, 36, 61, 255};
constexpr float DUST_ALPHA = 230.0f;

constexpr float POSE_W = 48.0f;  // spit and eat frames
constexpr float POSE_H = 32.0f;
constexpr float POSE_OFFSET_RIGHT = -13.0f;
constexpr float POSE_OFFSET_LEFT = -85.0f;
constexpr float POSE_OFFSET_Y = -24.0f;
constexpr float EAT_FRAME_TIME = 0.09f;
constexpr int64_t EAT_LAST_FRAME = 7;
constexpr float SPIT_STAGE_TIME = 0.07f;
constexpr int64_t SPIT_RUN_FRAMES_PER_STAGE = 7;

constexpr float BARREL_FRAME_W = 20.0f;
constexpr float BARREL_FRAME_H = 24.0f;
constexpr float BARREL_FRAME_TIME = 0.09f;
constexpr int64_t BARREL_LAST_FRAME = 5;
constexpr float ICON_PX = 16.0f;
// Barrels are drawn up to two columns past the view, whose left column stops
// at the last one that still fills the frame.
constexpr int64_t LAST_FULL_VIEW_COLUMN = 3038;

// How each enemy kind's sheet sits on its body and which frames it plays.
struct EnemySheet {
    int texture;
    float frame_w, frame_h;
    int64_t anchor_dx, anchor_dy;  // frame's top-left from the body's, in cells
    int64_t flip_shift;            // extra columns when drawn facing left
    int64_t walk_frames;
    int64_t attack_first, attack_last_offset;
};
// clang-format off
constexpr std::array<EnemySheet, ENEMY_KIND_COUNT> ENEMY_SHEETS = {{
    {TEX_KNIGHT,    20.0f, 20.0f,  -1,  -8, -10, 8, 12, 12},
    {TEX_OGRE,      22.0f, 20.0f,  -2,  -8, -10, 4,  8,  7},
    {TEX_BARBARIAN, 20.0f, 20.0f,  -2,  -6, -10, 4,  8,  8},
    {TEX_BOSS,     120.0f, 80.0f, -45, -43, -11, 0, 20,  3},
}};
// clang-format on
static_assert(ENEMY_SHEETS.size() == ENEMY_KIND_COUNT);
constexpr float ENEMY_ATTACK_FRAME = 0.065f;
constexpr float ENEMY_MOVING_SPEED = 8.0f;

struct HealthBar {
    int width;
    int64_t max_hp;
    int64_t centre_col;  // from the body's left column
    int above;           // pixels above the body's top
};
constexpr std::array<HealthBar, ENEMY_KIND_COUNT> HEALTH_BARS = {{
    {42, 100, 4, 33}, {42, 500, 5, 33}, {42, 250, 5, 33}, {160, 5000, 10, 51},
}};
static_assert(HEALTH_BARS.size() == ENEMY_KIND_COUNT);
constexpr Color BAR_FRAME = {17, 19, 28, 235};
constexpr Color BAR_LOW = {217, 72, 62, 255};
constexpr Color BAR_HIGH = {73, 190, 91, 255};

struct Glow {
    int size;
    Color colour;
};
constexpr Glow LARGE_FIRE_GLOW = {9, {255, 48, 10, 105}};
constexpr Glow FIRE_GLOW = {6, {255, 85, 20, 75}};

constexpr float SPRITE_PX = 24.0f;       // base and jump frames
constexpr float SPRITE_SCALE = 3.0f;     // one sprite pixel per cell
constexpr float SPRITE_OFFSET_X = -13.0f;  // the sheet's dragon stands inside a wider frame
constexpr float SPRITE_OFFSET_Y = -3.0f;

// The egg rests on the cave floor at cell (153, 224).
constexpr float EGG_PX_X = 459.0f;
constexpr float EGG_PX_Y = 672.0f;
constexpr float EGG_W = 16.0f;
constexpr float EGG_H = 18.0f;
constexpr float SHELL_SPLIT_START = 0.55f;
constexpr float SHELL_SPLIT_TIME = 0.35f;
constexpr float SHELL_SPREAD_X = 20.0f;
constexpr float SHELL_DROP_Y = 10.0f;
constexpr float SHELL_TILT_DEG = 18.0f;
constexpr float FIRST_CRACKS = 0.2f;
constexpr float SECOND_CRACKS = 0.4f;

bool valid(const Game& game, int id) { return IsTextureValid(game.textures[id]); }

// The empowered dragon wears its "mort" twin where one exists.
int dragon_sheet(const Game& game, int vita, int mort) {
    return game.player.empowered && valid(game, mort) ? mort : vita;
}

struct FramePos {
    int x;
    int y;
};

FramePos player_frame_pos(const Game& game, CamPx px) {
    const Vector2 drawn = drawn_player_position(game);
    return FramePos{static_cast<int>(std::trunc(drawn.x * 3.0f)) - px.x,
                    static_cast<int>(std::trunc(drawn.y * 3.0f)) - px.y};
}

void draw_small_frame(Texture2D sheet, int64_t frame, int64_t facing, FramePos at, Color tint) {
    const float w = facing < 0 ? -SPRITE_PX : SPRITE_PX;
    const Rectangle src{static_cast<float>(frame) * SPRITE_PX, 0.0f, w, SPRITE_PX};
    const Rectangle dst{static_cast<float>(at.x) + SPRITE_OFFSET_X, static_cast<float>(at.y) + SPRITE_OFFSET_Y,
                        SPRITE_PX * SPRITE_SCALE, SPRITE_PX * SPRITE_SCALE};
    DrawTexturePro(sheet, src, dst, Vector2{0, 0}, 0.0f, tint);
}

// The wide spit and eat frames hang the dragon's body at the same place in
// both facings.
void draw_pose_frame(Texture2D sheet, int64_t frame, int64_t facing, FramePos at, Color tint) {
    const float w = facing < 0 ? -POSE_W : POSE_W;
    const Rectangle src{static_cast<float>(frame) * POSE_W, 0.0f, w, POSE_H};
    const float dx = facing < 0 ? POSE_OFFSET_LEFT : POSE_OFFSET_RIGHT;
    const Rectangle dst{static_cast<float>(at.x) + dx, static_cast<float>(at.y) + POSE_OFFSET_Y,
                        POSE_W * SPRITE_SCALE, POSE_H * SPRITE_SCALE};
    DrawTexturePro(sheet, src, dst, Vector2{0, 0}, 0.0f, tint);
}

// The spit pose, when one shows: 1..3 by how long the dragon has spat.
bool draw_spit_pose(const Game& game, FramePos at, Color tint) {
    const float s = game.spit.spit_pose;
    const int spit = dragon_sheet(game, TEX_VITA_SPIT, TEX_MORT_SPIT);
    if (s <= 0.0f || !valid(game, spit)) return false;
    const int64_t stage = std::min<int64_t>(static_cast<int64_t>(std::trunc(s / SPIT_STAGE_TIME)), 2) + 1;
    const int run = dragon_sheet(game, TEX_VITA_SPIT_RUN, TEX_MORT_SPIT_RUN);
    const PlayerAnimation& anim = game.player_animation;
    if (anim.player_anim == Animation::Walk && valid(game, run)) {
        draw_pose_frame(game.textures[run], SPIT_RUN_FRAMES_PER_STAGE * stage + anim.anim_frame - 4,
                        game.player.facing, at, tint);
    } else {
        draw_pose_frame(game.textures[spit], stage, game.player.facing, at, tint);
    }
    return true;
}

bool draw_eating(const Game& game, FramePos at, Color tint) {
    const int64_t index = barrel_being_eaten(*game.level);
    const int eat = dragon_sheet(game, TEX_VITA_EAT, TEX_MORT_EAT);
    if (index == NO_BARREL || !valid(game, TEX_VITA_EAT)) return false;
    const Barrel& b = game.level->barrels[static_cast<size_t>(index)];
    const int64_t frame = std::min<int64_t>(static_cast<int64_t>(std::trunc(b.eat_time / EAT_FRAME_TIME)), EAT_LAST_FRAME);
    draw_pose_frame(game.textures[eat], frame, game.player.facing, at, tint);
    return true;
}

void draw_player(const Game& game, CamPx px) {
    const Player& p = game.player;
    const Color tint = p.flash_time > 0.0f ? HURT_TINT : WHITE;
    const FramePos at = player_frame_pos(game, px);
    if (draw_eating(game, at, tint)) return;
    const int base = dragon_sheet(game, TEX_VITA, TEX_MORT);
    if (!valid(game, base)) return;
    if (draw_spit_pose(game, at, tint)) return;
    const PlayerAnimation& anim = game.player_animation;
    const int jump = dragon_sheet(game, TEX_VITA_JUMP, TEX_MORT_JUMP);
    if (anim.player_anim == Animation::Air && valid(game, jump)) {
        draw_small_frame(game.textures[jump], p.vel_y >= 0.0f ? 1 : 0, p.facing, at, tint);
    } else {
        draw_small_frame(game.textures[base], anim.anim_frame, p.facing, at, tint);
    }
}

void draw_cracks(float ex, float ey, float t) {
    const auto line = [&](float x0, float y0, float x1, float y1) {
        DrawLine(static_cast<int>(ex + x0), static_cast<int>(ey + y0), static_cast<int>(ex + x1),
                 static_cast<int>(ey + y1), CRACK_COLOUR);
    };
    if (t > FIRST_CRACKS) {
        line(25, 15, 20, 22);
        line(20, 22, 27, 29);
    }
    if (t > SECOND_CRACKS) {
        line(27, 29, 17, 36);
        line(17, 36, 29, 43);
    }
}

void draw_egg(const Game& game, CamPx px) {
    const float t = game.egg_timer;
    const bool splitting = game.story_stage == 1 && t > SHELL_SPLIT_START;
    if (splitting && valid(game, TEX_VITA)) {
        draw_small_frame(game.textures[TEX_VITA], 0, 1, player_frame_pos(game, px), WHITE);
    }
    if (!valid(game, TEX_EGG)) return;
    const Texture2D egg = game.textures[TEX_EGG];
    const float ex = EGG_PX_X - static_cast<float>(px.x);
    const float ey = EGG_PX_Y - static_cast<float>(px.y);
    if (splitting) {
        const float u = std::min((t - SHELL_SPLIT_START) / SHELL_SPLIT_TIME, 1.0f);
        const float half_w = EGG_W / 2.0f;
        const float w = half_w * SPRITE_SCALE;
        const float h = EGG_H * SPRITE_SCALE;
        DrawTexturePro(egg, Rectangle{0, 0, half_w, EGG_H},
                       Rectangle{ex - SHELL_SPREAD_X * u, ey + SHELL_DROP_Y * u, w, h}, Vector2{0, 0},
                       -SHELL_TILT_DEG * u, WHITE);
        DrawTexturePro(egg, Rectangle{half_w, 0, half_w, EGG_H},
                       Rectangle{ex + w + SHELL_SPREAD_X * u, ey + SHELL_DROP_Y * u, w, h}, Vector2{0, 0},
                       SHELL_TILT_DEG * u, WHITE);
        return;
    }
    DrawTexturePro(egg, Rectangle{0, 0, EGG_W, EGG_H},
                   Rectangle{ex, ey, EGG_W * SPRITE_SCALE, EGG_H * SPRITE_SCALE}, Vector2{0, 0}, 0.0f, WHITE);
    if (game.story_stage == 1) draw_cracks(std::trunc(ex), std::trunc(ey), t);
}

void draw_dust(const MovementFx& fx, CamPx px) {
    for (const DustParticle& d : fx.dust) {
        if (d.life <= 0.0f) continue;
        const int x = static_cast<int>(std::trunc(d.x * 3.0f)) - px.x;
        const int y = static_cast<int>(std::trunc(d.y * 3.0f)) - px.y;
        const int side = 3 * static_cast<int>(d.size);
        const auto alpha = static_cast<unsigned char>(std::trunc(d.life * DUST_ALPHA / d.life_max));
        DrawRectangle(x, y, side, side, Color{d.color[0], d.color[1], d.color[2], alpha});
    }
}

void draw_barrels(const Game& game, CamPx px) {
    if (!valid(game, TEX_BARREL)) return;
    const Level& level = *game.level;
    const auto left = static_cast<int64_t>(game.camera.pos.x);
    const int64_t right = std::min<int64_t>(left, LAST_FULL_VIEW_COLUMN) + VIEW_COLS + 2;
    const bool icons = valid(game, TEX_MATERIAL_ICONS);
    for (int64_t i = 0; i < level.barrel_count; ++i) {
        const Barrel& b = level.barrels[static_cast<size_t>(i)];
        if (b.x + BARREL_W < left || b.x > right || b.removed) continue;
        const int64_t frame =
            b.broken ? std::min<int64_t>(static_cast<int64_t>(std::trunc(b.break_time / BARREL_FRAME_TIME)), BARREL_LAST_FRAME)
                     : 0;
        const float x = static_cast<float>(3 * b.x - px.x);
        const float y = static_cast<float>(3 * b.y - px.y);
        DrawTexturePro(game.textures[TEX_BARREL],
                       Rectangle{BARREL_FRAME_W * static_cast<float>(frame), 0, BARREL_FRAME_W, BARREL_FRAME_H},
                       Rectangle{x, y, BARREL_FRAME_W * 3.0f, BARREL_FRAME_H * 3.0f}, Vector2{0, 0}, 0.0f, WHITE);
        if (b.broken || b.material == Material::Empty || !icons) continue;
        DrawTexturePro(game.textures[TEX_MATERIAL_ICONS], material_icon_source(b.material),
                       Rectangle{x + 14.0f, y + 20.0f, 2.0f * ICON_PX, 2.0f * ICON_PX}, Vector2{0, 0}, 0.0f, WHITE);
    }
}

void draw_spit(const SpitState& spit, CamPx px) {
    for (const SpitParticle& q : spit.particles) {
        if (!q.active) continue;
        const int x = static_cast<int>(std::trunc(q.x * 3.0f)) - px.x;
        const int y = static_cast<int>(std::trunc(q.y * 3.0f)) - px.y;
        if (q.material == Material::Fire) {
            const Glow& g = q.large ? LARGE_FIRE_GLOW : FIRE_GLOW;
            const int off = (g.size - 3) / 2;
            DrawRectangle(x - off, y - off, g.size, g.size, g.colour);
        }
        DrawRectangle(x, y, 3, 3, MATERIAL_COLORS[static_cast<size_t>(q.material)][q.shade % 4u]);
    }
}

int64_t ticks(float t, float per) { return static_cast<int64_t>(std::trunc(t / per)); }

int64_t boss_frame(const Enemy& e) {
    const float t = e.anim_time;
    if (e.attacking) return 20 + std::min<int64_t>(ticks(e.attack_time, ENEMY_ATTACK_FRAME), 3);
    if (e.dash_time > 0.0f) return ticks(t, 0.06f) % 2 + 30;
    if (e.grounded) {
        if (std::fabs(e.vel_x) > ENEMY_MOVING_SPEED) return ticks(t, 0.07f) % 10 + 10;
        return ticks(t, 0.12f) % 10;
    }
    return ticks(t, 0.1f) % 3 + (e.vel_y >= 0.0f ? 27 : 24);
}

int64_t barbarian_attack_frame(const Enemy& e) {
    const int64_t a = ticks(e.attack_time, ENEMY_ATTACK_FRAME);
    switch (e.attack_phase) {
        case 0: return 8 + std::min<int64_t>(a, 8);  // wind-up
        case 1: return 17;                            // the charge
        default: return 18 + std::min<int64_t>(a, 2);
    }
}

int64_t enemy_frame(const Enemy& e) {
    const EnemySheet& sheet = ENEMY_SHEETS[static_cast<size_t>(e.kind)];
    if (enemy_kind(e) == EnemyKind::Boss) return boss_frame(e);
    if (e.attacking) {
        if (enemy_kind(e) == EnemyKind::Barbarian) return barbarian_attack_frame(e);
        return sheet.attack_first + std::min(ticks(e.attack_time, ENEMY_ATTACK_FRAME), sheet.attack_last_offset);
    }
    if (std::fabs(e.vel_x) > ENEMY_MOVING_SPEED) return ticks(e.anim_time, 0.09f) % sheet.walk_frames + 4;
    return ticks(e.anim_time, 0.16f) % 4;
}

void draw_enemy_sprite(const Game& game, const Enemy& e, CamPx px) {
    const EnemySheet& sheet = ENEMY_SHEETS[static_cast<size_t>(e.kind)];
    if (!valid(game, sheet.texture)) return;
    int64_t col = e.x + sheet.anchor_dx;
    float src_w = sheet.frame_w;
    if (e.facing < 0) {
        src_w = -src_w;
        col += sheet.flip_shift;
    }
    const int64_t row = e.y + sheet.anchor_dy;
    const Rectangle src{static_cast<float>(enemy_frame(e)) * sheet.frame_w, 0.0f, src_w, sheet.frame_h};
    const Rectangle dst{static_cast<float>(3 * col - px.x), static_cast<float>(3 * row - px.y),
                        3.0f * sheet.frame_w, 3.0f * sheet.frame_h};
    DrawTexturePro(game.textures[sheet.texture], src, dst, Vector2{0, 0}, 0.0f, WHITE);
}

void draw_health_bar(const Enemy& e, CamPx px) {
    const HealthBar& bar = HEALTH_BARS[static_cast<size_t>(e.kind)];
    const int left = static_cast<int>((e.x + bar.centre_col) * 3) - bar.width / 2 - px.x;
    const int top = static_cast<int>(3 * e.y) - px.y - bar.above;
    DrawRectangle(left, top, bar.width, 10, BAR_FRAME);
    const int64_t hp = std::max<int64_t>(e.hp, 0);
    const int64_t fill = hp * bar.width / bar.max_hp;
    DrawRectangle(left + 1, top + 1, fill >= 3 ? static_cast<int>(fill - 2) : 0, 8,
                  e.hp * 3 < bar.max_hp ? BAR_LOW : BAR_HIGH);
    char text[24];
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(hp));
    DrawText(text, left + (bar.width - MeasureText(text, 9)) / 2, top, 9, WHITE);
}

void draw_enemies(const Game& game, CamPx px) {
    const World& world = *game.world;
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        const Enemy& e = world.enemies[static_cast<size_t>(i)];
        if (!e.alive) continue;
        draw_enemy_sprite(game, e, px);
        draw_health_bar(e, px);
    }
}

}  // namespace

Rectangle material_icon_source(Material m) {
    return Rectangle{ICON_PX * static_cast<float>(static_cast<int>(m)) - ICON_PX, 0.0f, ICON_PX, ICON_PX};
}

void draw_actors(const Game& game) {
    const CamPx px = cam_px(game.camera);
    draw_barrels(game, px);
    draw_enemies(game, px);
    draw_dust(game.movement_fx, px);
    draw_spit(game.spit, px);
    if (game.story_stage < 2) {
        draw_egg(game, px);
    } else {
        draw_player(game, px);
    }
}
