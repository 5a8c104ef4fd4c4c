#include "render/actors.h"

#include <algorithm>
#include <cmath>

#include "render/play_frame.h"

namespace {

constexpr Color HURT_TINT = {255, 84, 84, 255};
constexpr Color CRACK_COLOUR = {83, 36, 61, 255};
constexpr float DUST_ALPHA = 230.0f;

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

void draw_player(const Game& game, CamPx px) {
    const int base = dragon_sheet(game, TEX_VITA, TEX_MORT);
    if (!valid(game, base)) return;
    const Player& p = game.player;
    const Color tint = p.flash_time > 0.0f ? HURT_TINT : WHITE;
    const FramePos at = player_frame_pos(game, px);
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

}  // namespace

void draw_actors(const Game& game) {
    const CamPx px = cam_px(game.camera);
    draw_dust(game.movement_fx, px);
    if (game.story_stage < 2) {
        draw_egg(game, px);
    } else {
        draw_player(game, px);
    }
}
