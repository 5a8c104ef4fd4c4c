#pragma once
// A small player for whole games without a person: it reads what a player
// would see (the story's stage, the open line, where the dragon and the
// enemies stand) and answers each frame with keys and clicks. It uses only
// what a player can use, the sandbox code included.

#include <algorithm>
#include <cstdlib>

#include "app/game.h"
#include "story/intro.h"

namespace game_bot {

inline constexpr float DT = 1.0f / 60.0f;
// The whole game the bot plays from raylib's generator at this seed ends in
// this play-state hash on every build and every machine, native or wasm.
inline constexpr unsigned WHOLE_GAME_SEED = 20261208u;
inline constexpr uint64_t WHOLE_GAME_FINAL_HASH = 0x23905cf6286ebe14ull;
inline constexpr int SANDBOX_CODE[] = {KEY_K, KEY_I, KEY_L, KEY_N, KEY_S};
inline constexpr int EXPLOSION_ROW = 10;
inline constexpr int64_t PAINT_REACH = 150;  // columns ahead worth a blast

// What one frame of the bot does.
struct Intent {
    int64_t walk = 0;
    bool jump = false;
    int press = 0;
    bool click = false;
    bool hold = false;
    Vector2 mouse{700.0f, 300.0f};
};

struct Bot {
    Game& g;
    int frame_no = 0;
    int64_t best_x = 0;
    int stuck_frames = 0;
    int code_typed = 0;
    bool chose_explosion = false;
    int64_t last_hp = 100;
    int quiet_frames = 0;

    // The virtual pixel of a world cell, or nothing when it is off the picture.
    bool pixel_of(float cx, float cy, Vector2& out) const {
        const CamPx px = cam_px(g.camera);
        out = Vector2{cx * 3.0f - static_cast<float>(px.x), cy * 3.0f - static_cast<float>(px.y)};
        return out.x > 210.0f && out.x < 1070.0f && out.y > 120.0f && out.y < 600.0f;
    }

    const Enemy* nearest_enemy(int64_t reach, bool skip_boss) const {
        const Enemy* best = nullptr;
        for (int64_t i = 0; i < g.world->enemy_count; ++i) {
            const Enemy& e = g.world->enemies[static_cast<size_t>(i)];
            if (!e.alive || (skip_boss && enemy_kind(e) == EnemyKind::Boss)) continue;
            const int64_t d = std::abs(e.x - g.player.x);
            if (d > reach) continue;
            if (best == nullptr || d < std::abs(best->x - g.player.x)) best = &e;
        }
        return best;
    }

    // Walk right; jump when no progress; blast an obstacle that will not yield.
    void travel(Intent& in) {
        in.walk = 1;
        if (g.player.x > best_x) {
            best_x = g.player.x;
            stuck_frames = 0;
        } else {
            ++stuck_frames;
        }
        if (stuck_frames > 20 && frame_no % 40 == 0) in.jump = true;
    }

    void spit_at(Intent& in, float cx, float cy) {
        Vector2 m;
        if (!pixel_of(cx, cy, m)) return;
        in.mouse = m;
        in.hold = true;
    }

    Intent decide() {
        Intent in;
        ++frame_no;
        if (g.screen == GameScreen::Title || g.screen == GameScreen::Ending || g.screen == GameScreen::GameOver) {
            if (frame_no % 30 == 0) in.press = KEY_ENTER;
            return in;
        }
        if (g.dialogue_line != 0) {
            if (g.dialogue_chars >= static_cast<float>(dialogue_total(g.dialogue_line))) in.press = KEY_ENTER;
            return in;
        }
        switch (g.story_stage) {
            case 0: in.press = KEY_ENTER; return in;
            case 1: return in;
            case 3:
            case 6: travel(in); return in;
            case 4:
            case 5: intro_fire(in); return in;
            case 11:
                if (frame_no % 20 == 0) {
                    in.click = true;
                    in.hold = true;
                }
                return in;
            default: break;
        }
        if (g.story_stage == 12 && knight_alive()) {
            const Enemy& k = g.world->enemies[static_cast<size_t>(g.knight_index)];
            spit_at(in, static_cast<float>(k.x + 4), static_cast<float>(k.y + 5));
            return in;
        }
        if (!g.sandbox.sandbox_unlocked) {
            in.press = SANDBOX_CODE[code_typed++ % 5];
            return in;
        }
        if (!chose_explosion) {
            chose_explosion = true;
            in.click = true;
            in.mouse = Vector2{100.0f, static_cast<float>(128 + 29 * EXPLOSION_ROW + 2)};
            return in;
        }
        return fight_on(in);
    }

    bool knight_alive() const {
        return g.knight_spawned && g.world->enemies[static_cast<size_t>(g.knight_index)].alive;
    }

    // Breathe at the pillar that bars the cave until the dragon walks through.
    void intro_fire(Intent& in) {
        if (g.story_stage == 4) {
            in.click = true;
            in.hold = true;
            spit_at(in, static_cast<float>(g.player.x + 40), static_cast<float>(g.player.y + 8));
            return;
        }
        const int64_t x = g.player.x;
        if (x < 505 || x > 533) {
            travel(in);
            return;
        }
        if (x > 508 && frame_no % 120 < 20) {
            in.walk = -1;  // a step back: breath cannot start inside the wood
            return;
        }
        if (frame_no % 120 < 90) {
            spit_at(in, 527.0f, static_cast<float>(g.player.y + (frame_no % 24)));
        } else {
            in.walk = 1;
        }
    }

    // Past the intro: blast the enemies ahead with painted explosions, let the
    // boss win the first fight, and blast it once the dragon is empowered.
    Intent fight_on(Intent& in) {
        const BossEncounter phase = g.boss_encounter;
        const Enemy* boss = nullptr;
        for (int64_t i = 0; i < g.world->enemy_count && boss == nullptr; ++i) {
            if (enemy_kind(g.world->enemies[static_cast<size_t>(i)]) == EnemyKind::Boss) boss = &g.world->enemies[static_cast<size_t>(i)];
        }
        if (phase == BossEncounter::Fighting) {
            // Into its blows; when none land for a while, step back and
            // come again (a boss wedged beside the dragon cannot swing).
            if (g.player.hp != last_hp) {
                last_hp = g.player.hp;
                quiet_frames = 0;
            }
            ++quiet_frames;
            const int64_t toward = boss != nullptr && boss->x + 10 > g.player.x + 7 ? 1 : -1;
            in.walk = quiet_frames % 240 > 180 ? -toward : toward;
            if (quiet_frames % 240 == 200) in.jump = true;
            return in;
        }
        const Enemy* target = phase == BossEncounter::Empowered ? boss : nearest_enemy(PAINT_REACH, true);
        Vector2 m;
        if (target != nullptr && frame_no % 3 == 0 &&
            pixel_of(static_cast<float>(target->x + kind_props(enemy_kind(*target)).half_w),
                     static_cast<float>(target->y + kind_props(enemy_kind(*target)).height / 2), m)) {
            in.click = true;
            in.mouse = m;
        }
        if (phase == BossEncounter::Empowered) {
            in.walk = boss != nullptr && boss->x > g.player.x + 60 ? 1 : 0;
            return in;
        }
        travel(in);
        if (stuck_frames > 240 && frame_no % 30 == 0 &&
            pixel_of(static_cast<float>(g.player.x + 24), static_cast<float>(g.player.y + 10), m) && !in.click) {
            in.click = true;  // blast the obstacle ahead
            in.mouse = m;
        }
        return in;
    }
};

inline FrameInput to_input(const Intent& in) {
    FrameInput f = idle_input(DT);
    if (in.walk < 0) f.key_down[KEY_A] = true;
    if (in.walk > 0) f.key_down[KEY_D] = true;
    if (in.jump) press_key(f, KEY_SPACE);
    if (in.press != 0) press_key(f, in.press);
    f.mouse = in.mouse;
    f.mouse_pressed[0] = in.click;
    f.mouse_down[0] = in.click || in.hold;
    return f;
}

}  // namespace game_bot
