#include "soak.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "app/game_menu.h"
#include "story/intro.h"

namespace {

enum Intent : int64_t {
    WALK_RIGHT = 0,
    WALK_LEFT = 1,
    STAND = 2,
    FIGHT = 3,
    MASH = 4,
    INTENT_COUNT = 5,
};

// The keys the game reads, drawn far more often than the rest.
constexpr std::array<int, 21> GAME_KEYS = {
    KEY_A,     KEY_D,    KEY_LEFT,  KEY_RIGHT, KEY_SPACE, KEY_W,      KEY_UP,
    KEY_E,     KEY_ONE,  KEY_TWO,   KEY_THREE, KEY_FOUR,  KEY_FIVE,   KEY_TAB,
    KEY_ENTER, KEY_ESCAPE, KEY_S,   KEY_DOWN,  KEY_Q,     KEY_BACKSPACE, KEY_F11,
};

struct WindowSize {
    int w, h;
};
constexpr std::array<WindowSize, 12> WINDOW_SIZES = {{
    {1080, 609}, {1080, 609}, {1280, 720}, {1920, 1080}, {0, 0}, {1, 1},
    {0, 609},    {1080, 0},   {7, 3},      {3001, 17},   {641, 479}, {333, 2001},
}};

uint64_t below(RandomInput& src, uint64_t n) { return n == 0 ? 0 : soak_random(src) % n; }
bool chance(RandomInput& src, uint64_t one_in) { return below(src, one_in) == 0; }
float unit(RandomInput& src) { return static_cast<float>(soak_random(src) >> 40) / static_cast<float>(1ull << 24); }
float between(RandomInput& src, float lo, float hi) { return lo + (hi - lo) * unit(src); }

float random_frame_time(RandomInput& src) {
    const uint64_t r = below(src, 1000);
    if (r < 700) return 1.0f / 60.0f;
    if (r < 800) return between(src, 0.0f, MAX_FRAME_TIME);
    if (r < 850) return 0.0f;
    if (r < 880) return between(src, 0.0f, 0.001f);
    if (r < 960) return between(src, MAX_FRAME_TIME, 0.5f);
    if (r < 975) return between(src, 0.5f, 5.0f);
    if (r < 990) return 1.0f / 144.0f;
    return 1.0f / 30.0f;
}

void set_held(RandomInput& src, int key, bool down) {
    if (key > 0 && key < INPUT_KEY_SLOTS) src.held[static_cast<size_t>(key)] = down;
}

// Which keys the current intent holds down this frame.
void hold_intent_keys(RandomInput& src, const Game& game) {
    switch (src.intent) {
        case WALK_RIGHT:
            set_held(src, chance(src, 2) ? KEY_D : KEY_RIGHT, true);
            set_held(src, KEY_A, false);
            set_held(src, KEY_LEFT, false);
            break;
        case WALK_LEFT:
            set_held(src, chance(src, 2) ? KEY_A : KEY_LEFT, true);
            set_held(src, KEY_D, false);
            set_held(src, KEY_RIGHT, false);
            break;
        case STAND:
            for (int k : {KEY_A, KEY_D, KEY_LEFT, KEY_RIGHT}) set_held(src, k, false);
            break;
        default: break;
    }
    // Jumps: a key goes down now and then and is let go a little later.
    for (int k : {KEY_SPACE, KEY_W, KEY_UP}) {
        const bool down = src.held[static_cast<size_t>(k)];
        if (!down && chance(src, src.intent == MASH ? 8 : 40)) set_held(src, k, true);
        if (down && chance(src, 6)) set_held(src, k, false);
    }
    if (src.intent == MASH) {
        for (int k : GAME_KEYS) {
            if (chance(src, 30)) set_held(src, k, !src.held[static_cast<size_t>(k)]);
        }
        if (chance(src, 20)) set_held(src, static_cast<int>(1 + below(src, INPUT_KEY_SLOTS - 1)), true);
        if (chance(src, 10)) {
            for (int k = 1; k < INPUT_KEY_SLOTS; ++k) {
                const bool game_key = std::find(GAME_KEYS.begin(), GAME_KEYS.end(), k) != GAME_KEYS.end();
                if (!game_key) set_held(src, k, false);
            }
        }
    } else {
        // Slot keys, eating and the sandbox's TAB are taps.
        for (int k : {KEY_ONE, KEY_TWO, KEY_THREE, KEY_FOUR, KEY_FIVE, KEY_E, KEY_TAB}) {
            set_held(src, k, chance(src, 90));
        }
        for (int k : {KEY_ENTER, KEY_ESCAPE, KEY_S}) set_held(src, k, chance(src, 400));
    }
    // Lines wait for a key: let the story move on.
    if (game.dialogue_line != 0 && chance(src, 25)) set_held(src, KEY_ENTER, true);
    if (game.story_stage == 0 && chance(src, 30)) set_held(src, KEY_SPACE, true);
}

void move_mouse(RandomInput& src) {
    const float w = static_cast<float>(src.width);
    const float h = static_cast<float>(src.height);
    if (chance(src, 50)) {
        // Anywhere, the window's outside included.
        src.mouse = Vector2{between(src, -0.5f * w - 200.0f, 1.5f * w + 200.0f),
                            between(src, -0.5f * h - 200.0f, 1.5f * h + 200.0f)};
    } else if (src.intent == FIGHT && chance(src, 10)) {
        src.mouse = Vector2{between(src, 0.0f, w), between(src, 0.0f, h)};
    } else {
        src.mouse.x += between(src, -12.0f, 12.0f);
        src.mouse.y += between(src, -12.0f, 12.0f);
    }
}

void press_buttons(RandomInput& src, FrameInput& in) {
    const std::array<bool, 3> before = src.buttons_held;
    const uint64_t hold_one_in = src.intent == FIGHT ? 20 : 120;
    if (!src.buttons_held[0] && chance(src, hold_one_in)) src.buttons_held[0] = true;
    if (src.buttons_held[0] && chance(src, src.intent == FIGHT ? 90 : 15)) src.buttons_held[0] = false;
    src.buttons_held[1] = chance(src, src.intent == MASH ? 10 : 200);
    src.buttons_held[2] = src.intent == MASH && chance(src, 40);
    for (size_t b = 0; b < 3; ++b) {
        in.mouse_down[b] = src.buttons_held[b];
        in.mouse_pressed[b] = src.buttons_held[b] && !before[b];
    }
    // A click shorter than a frame: pressed, never seen down.
    if (chance(src, 150)) in.mouse_pressed[below(src, 2)] = true;
}

}  // namespace

uint64_t soak_random(RandomInput& src) {
    uint64_t z = (src.rng += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

RandomInput make_random_input(uint64_t seed) {
    RandomInput src{};
    src.rng = seed;
    src.width = VIRTUAL_W;
    src.height = VIRTUAL_H;
    src.mouse = Vector2{700.0f, 300.0f};
    return src;
}

FrameInput next_random_input(RandomInput& src, const Game& game) {
    if (src.intent_frames <= 0) {
        // Walking right is what carries a game through its story.
        const uint64_t r = below(src, 10);
        src.intent = r < 4 ? WALK_RIGHT : r < 5 ? WALK_LEFT : r < 6 ? STAND : r < 9 ? FIGHT : MASH;
        src.intent_frames = static_cast<int64_t>(10 + below(src, 300));
    }
    --src.intent_frames;
    if (chance(src, 400)) {
        const WindowSize size = chance(src, 4)
                                    ? WindowSize{static_cast<int>(below(src, 4000)), static_cast<int>(below(src, 3000))}
                                    : WINDOW_SIZES[below(src, WINDOW_SIZES.size())];
        src.width = size.w;
        src.height = size.h;
    }
    const std::array<bool, INPUT_KEY_SLOTS> before = src.held;
    hold_intent_keys(src, game);
    const bool on_menu = game.screen == GameScreen::Title || game.screen == GameScreen::Settings;
    if (on_menu && chance(src, 30)) set_held(src, KEY_ENTER, true);
    // Settings opened from a pause lead back to the game only by Escape or Back.
    if (game.screen == GameScreen::Settings && chance(src, 30)) set_held(src, KEY_ESCAPE, true);

    FrameInput in = idle_input(random_frame_time(src), src.width, src.height);
    move_mouse(src);
    in.mouse = src.mouse;
    for (int k = 1; k < INPUT_KEY_SLOTS; ++k) {
        const size_t i = static_cast<size_t>(k);
        if (!src.held[i]) continue;
        in.key_down[i] = true;
        if (!before[i]) press_key(in, k);  // only the frame it went down
    }
    // A tap shorter than a frame: pressed and queued, never seen down.
    if (chance(src, 60)) {
        const int k = chance(src, 4) ? static_cast<int>(1 + below(src, INPUT_KEY_SLOTS - 1))
                                     : GAME_KEYS[below(src, GAME_KEYS.size())];
        press_key(in, k);
        in.key_down[static_cast<size_t>(k)] = src.held[static_cast<size_t>(k)];
    }
    press_buttons(src, in);
    if (chance(src, 40)) {
        constexpr std::array<float, 8> WHEELS = {1.0f, -1.0f, 3.0f, -3.0f, 0.5f, -0.25f, 120.0f, -7.0f};
        in.wheel = WHEELS[below(src, WHEELS.size())];
    }
    return in;
}

// --- The checks ---------------------------------------------------------------

namespace {

struct Checker {
    PlayCheck result{true, {}};
    bool fail(const char* fmt, ...) __attribute__((format(printf, 2, 3))) {
        if (!result.ok) return false;
        result.ok = false;
        va_list args;
        va_start(args, fmt);
        std::vsnprintf(result.what, sizeof(result.what), fmt, args);
        va_end(args);
        return false;
    }
    bool in_range(const char* name, int64_t v, int64_t lo, int64_t hi) {
        if (v >= lo && v <= hi) return true;
        return fail("%s = %lld outside %lld..%lld", name, static_cast<long long>(v), static_cast<long long>(lo),
                    static_cast<long long>(hi));
    }
    bool finite(const char* name, float v, int64_t index = -1) {
        if (std::isfinite(v)) return true;
        return fail("%s[%lld] is not finite", name, static_cast<long long>(index));
    }
};

bool in_play(const Game& g) { return g.screen == GameScreen::Playing || g.screen == GameScreen::GameOver; }
bool dragon_in_play(const Game& g) { return in_play(g) && g.player.hp > 0; }

void check_capacities(Checker& c, const Game& g) {
    const World& w = *g.world;
    const Level& l = *g.level;
    c.in_range("screen", static_cast<int64_t>(g.screen), 0, 4);
    c.in_range("enemy_count", w.enemy_count, 0, MAX_ENEMIES);
    c.in_range("particle_count", w.particle_count, 0, MAX_PARTICLES);
    c.in_range("active_count", w.active_count, 0, CELL_COUNT);
    c.in_range("next_count", w.next_count, 0, 0);
    c.in_range("active_sel", w.active_sel, 0, 1);
    c.in_range("updating", w.updating ? 1 : 0, 0, 0);
    c.in_range("barrel_count", l.barrel_count, 0, MAX_BARRELS);
    c.in_range("house_count", l.house_count, 0, MAX_HOUSES);
    c.in_range("tank_count", l.tank_count, 0, MAX_TANKS);
    c.in_range("inventory.selected", g.inventory.selected, 0, SLOT_COUNT - 1);
    for (const InventorySlot& slot : g.inventory.slots) c.in_range("slot count", slot.count, UNLIMITED, BARREL_UNITS * MAX_BARRELS);
    c.in_range("spit_next", g.spit.spit_next, 0, MAX_SPIT_PARTICLES - 1);
    c.in_range("dust_next", g.movement_fx.dust_next, 0, DUST_CAPACITY - 1);
    c.in_range("story_stage", g.story_stage, 0, LAST_STORY_STAGE);
    c.in_range("dialogue_line", g.dialogue_line, 0, DIALOGUE_LINE_COUNT);
    c.in_range("boss_encounter", static_cast<int64_t>(g.boss_encounter), 0, 5);
    c.in_range("player.hp", g.player.hp, 0, 100);
    c.in_range("player.facing", g.player.facing, -1, 1);
    if (g.dialogue_line != 0) {
        c.in_range("dialogue_chars", static_cast<int64_t>(g.dialogue_chars), 0, dialogue_total(g.dialogue_line));
    }
}

void check_finite(Checker& c, const Game& g) {
    const Player& p = g.player;
    for (float v : {p.vel_x, p.vel_y, p.frac_x, p.frac_y, p.coyote_time, p.jump_buffer, p.jump_hold,
                    p.ceiling_grace, p.wall_grace, p.wall_vel_x, p.potion_time, p.flash_time}) {
        c.finite("player", v);
    }
    for (float v : {g.camera.pos.x, g.camera.pos.y, g.camera.vel.x, g.camera.vel.y, g.camera.pan_time}) {
        c.finite("camera", v);
    }
    for (float v : {g.frame_time, g.step_accumulator, g.dialogue_chars, g.egg_timer, g.player_animation.anim_time,
                    g.spit.spit_pose, g.movement_fx.dust_cooldown}) {
        c.finite("frame loop", v);
    }
    if (g.frame_time < 0.0f || g.frame_time > MAX_FRAME_TIME) c.fail("frame_time %g outside 0..0.05", g.frame_time);
    if (g.step_accumulator < 0.0f || g.step_accumulator >= FIXED_STEP) {
        c.fail("step_accumulator %g outside [0, 1/60)", g.step_accumulator);
    }
    const World& w = *g.world;
    for (int64_t i = 0; i < w.enemy_count && i < MAX_ENEMIES; ++i) {
        const Enemy& e = w.enemies[static_cast<size_t>(i)];
        if (!e.alive) continue;
        for (float v : {e.vel_x, e.vel_y, e.frac_x, e.frac_y, e.stuck_time, e.turn_time, e.crowd_time,
                        e.stall_time, e.jump_cooldown, e.dash_cooldown, e.dash_time, e.alert_time,
                        e.attack_time, e.attack_cooldown, e.anim_time}) {
            c.finite("enemy", v, i);
        }
    }
    for (int64_t i = 0; i < w.particle_count && i < MAX_PARTICLES; ++i) {
        const Particle& q = w.particles[static_cast<size_t>(i)];
        for (float v : {q.x, q.y, q.vel_x, q.vel_y}) c.finite("world particle", v, i);
    }
    for (int64_t i = 0; i < MAX_SPIT_PARTICLES; ++i) {
        const SpitParticle& q = g.spit.particles[static_cast<size_t>(i)];
        if (!q.active) continue;
        for (float v : {q.x, q.y, q.vel_x, q.vel_y}) c.finite("spit particle", v, i);
    }
    for (int64_t i = 0; i < DUST_CAPACITY; ++i) {
        const DustParticle& d = g.movement_fx.dust[static_cast<size_t>(i)];
        if (d.life <= 0.0f) continue;
        for (float v : {d.x, d.y, d.vel_x, d.vel_y, d.life}) c.finite("dust", v, i);
    }
}

void check_inside_grid(Checker& c, const Game& g) {
    if (dragon_in_play(g)) {
        const Player& p = g.player;
        if (p.x < 0 || p.x > WORLD_W - PLAYER_W || p.y < 0 || p.y >= WORLD_H) {
            c.fail("living dragon at (%lld, %lld) outside the grid", static_cast<long long>(p.x),
                   static_cast<long long>(p.y));
        }
    }
    const World& w = *g.world;
    for (int64_t i = 0; i < w.enemy_count && i < MAX_ENEMIES; ++i) {
        const Enemy& e = w.enemies[static_cast<size_t>(i)];
        if (!e.alive) continue;
        if (e.kind < 0 || e.kind >= ENEMY_KIND_COUNT) {
            c.fail("enemy %lld has kind %lld", static_cast<long long>(i), static_cast<long long>(e.kind));
            continue;
        }
        const EnemyMask& m = enemy_mask(enemy_kind(e));
        if (e.x < 0 || e.y < 0 || e.x + m.width > WORLD_W || e.y + m.height > WORLD_H) {
            c.fail("enemy %lld at (%lld, %lld) outside the grid", static_cast<long long>(i),
                   static_cast<long long>(e.x), static_cast<long long>(e.y));
        }
    }
}

bool solid_at(const World& w, int64_t x, int64_t y) {
    return in_world(x, y) && kind_of(cell_at(w, x, y).material) == MaterialKind::Solid;
}

// A body may stand on Solid only where that Solid formed after the last frame
// (rock cooling inside it, a settling cell), or where its own rule lets it
// move through rock it already held: the dragon anything in its box as it
// stood, an enemy what `enemy_holds` gives it. Over several steps in one
// frame those regions chain, but only through cells that were held or not
// Solid.
template <class Covers, class Held, class Window>
void check_body(Checker& c, const World& w, const char* who, int64_t index, const ActorWatch& prev, Covers covers,
                Held held_before, Window was_solid, int64_t x0, int64_t y0, int64_t bw, int64_t bh,
                int64_t& unjudged) {
    for (int64_t cy = y0; cy < y0 + bh; ++cy) {
        for (int64_t cx = x0; cx < x0 + bw; ++cx) {
            if (!covers(cx, cy) || !solid_at(w, cx, cy)) continue;
            if (!prev.valid || held_before(cx, cy)) continue;
            const int64_t wx = cx - prev.window_x;
            const int64_t wy = cy - prev.window_y;
            int known = was_solid(wx, wy);
            if (known < 0) {
                ++unjudged;
                continue;
            }
            if (known == 1) {
                c.fail("%s %lld at (%lld, %lld) moved from (%lld, %lld) into Solid %d at (%lld, %lld)", who,
                       static_cast<long long>(index), static_cast<long long>(x0), static_cast<long long>(y0),
                       static_cast<long long>(prev.x), static_cast<long long>(prev.y),
                       static_cast<int>(cell_at(w, cx, cy).material), static_cast<long long>(cx),
                       static_cast<long long>(cy));
                return;
            }
        }
    }
}

void check_bodies(Checker& c, const Game& g, PlayWatch& watch) {
    const World& w = *g.world;
    if (dragon_in_play(g)) {
        const ActorWatch& prev = watch.player;
        check_body(
            c, w, "dragon", 0, prev, [&](int64_t x, int64_t y) { return player_mask_covers(x, y, g.player.x, g.player.y); },
            [&](int64_t x, int64_t y) {
                return x >= prev.x && x < prev.x + PLAYER_W && y >= prev.y && y < prev.y + PLAYER_H;
            },
            [&](int64_t wx, int64_t wy) {
                if (wx < 0 || wy < 0 || wx >= WATCH_PLAYER_W || wy >= WATCH_PLAYER_H) return -1;
                return watch.player_solid[static_cast<size_t>(wy)][static_cast<size_t>(wx)] ? 1 : 0;
            },
            g.player.x, g.player.y, PLAYER_W, PLAYER_H, watch.unjudged_cells);
    }
    for (int64_t i = 0; i < w.enemy_count && i < MAX_ENEMIES; ++i) {
        const Enemy& e = w.enemies[static_cast<size_t>(i)];
        if (!e.alive || e.kind < 0 || e.kind >= ENEMY_KIND_COUNT) continue;
        const ActorWatch& prev = watch.enemies[static_cast<size_t>(i)];
        if (prev.valid && prev.kind != e.kind) continue;
        const EnemyKind kind = enemy_kind(e);
        const EnemyMask& m = enemy_mask(kind);
        const auto& solid = watch.enemy_solid[static_cast<size_t>(i)];
        check_body(
            c, w, "enemy", i, prev, [&](int64_t x, int64_t y) { return enemy_covers(kind, x, y, e.x, e.y); },
            [&](int64_t x, int64_t y) { return enemy_holds(kind, x, y, prev.x, prev.y); },
            [&](int64_t wx, int64_t wy) {
                if (wx < 0 || wy < 0 || wx >= m.width + 2 * WATCH_ENEMY_MARGIN ||
                    wy >= m.height + 2 * WATCH_ENEMY_MARGIN) {
                    return -1;
                }
                return solid[static_cast<size_t>(wy)][static_cast<size_t>(wx)] ? 1 : 0;
            },
            e.x, e.y, m.width, m.height, watch.unjudged_cells);
    }
}

template <size_t W, size_t H>
void snapshot_solid(const World& w, std::array<std::array<bool, W>, H>& out, int64_t x0, int64_t y0, int64_t width,
                    int64_t height) {
    for (int64_t r = 0; r < height; ++r) {
        for (int64_t col = 0; col < width; ++col) {
            out[static_cast<size_t>(r)][static_cast<size_t>(col)] = solid_at(w, x0 + col, y0 + r);
        }
    }
}

void remember_actors(const Game& g, PlayWatch& watch) {
    const World& w = *g.world;
    ActorWatch& pw = watch.player;
    pw.valid = dragon_in_play(g);
    if (pw.valid) {
        pw.x = g.player.x;
        pw.y = g.player.y;
        pw.window_x = pw.x - WATCH_PLAYER_MARGIN;
        pw.window_y = pw.y - WATCH_PLAYER_MARGIN;
        snapshot_solid(w, watch.player_solid, pw.window_x, pw.window_y, WATCH_PLAYER_W, WATCH_PLAYER_H);
    }
    for (int64_t i = 0; i < MAX_ENEMIES; ++i) {
        ActorWatch& ew = watch.enemies[static_cast<size_t>(i)];
        const Enemy& e = w.enemies[static_cast<size_t>(i)];
        ew.valid = i < w.enemy_count && e.alive && e.kind >= 0 && e.kind < ENEMY_KIND_COUNT;
        if (!ew.valid) continue;
        const EnemyMask& m = enemy_mask(enemy_kind(e));
        ew.kind = e.kind;
        ew.x = e.x;
        ew.y = e.y;
        ew.window_x = e.x - WATCH_ENEMY_MARGIN;
        ew.window_y = e.y - WATCH_ENEMY_MARGIN;
        snapshot_solid(w, watch.enemy_solid[static_cast<size_t>(i)], ew.window_x, ew.window_y,
                       m.width + 2 * WATCH_ENEMY_MARGIN, m.height + 2 * WATCH_ENEMY_MARGIN);
    }
}

bool any_queued_press(const FrameInput& in) {
    for (int i = 0; i < in.key_queue_count && i < INPUT_KEY_QUEUE; ++i) {
        if (in.key_queue[static_cast<size_t>(i)] != 0) return true;
    }
    return in.mouse_pressed[0] || in.mouse_pressed[1];
}

// The way forward: a finished game leaves on any key or click, and Enter on
// the title starts a fresh game.
void check_progress(Checker& c, const Game& g, const FrameInput& in, GameScreen before, float shown_before) {
    if (before == GameScreen::GameOver || before == GameScreen::Ending) {
        // A press counts once the screen has been seen for the leave delay.
        const float shown = shown_before + std::min(in.raw_frame_time, MAX_FRAME_TIME);
        const bool leaves = any_queued_press(in) && shown >= SCREEN_LEAVE_DELAY;
        if (leaves && g.screen != GameScreen::Title) {
            c.fail("a key on screen %d led to screen %d, not the title", static_cast<int>(before),
                   static_cast<int>(g.screen));
        }
        if (!leaves && g.screen == GameScreen::Title) {
            c.fail("screen %d left after %.3f s", static_cast<int>(before), static_cast<double>(shown));
        }
    }
    if (before == GameScreen::Title && key_pressed(in, KEY_ENTER)) {
        if (g.screen != GameScreen::Playing || g.story_stage != 0 || g.game_over) {
            c.fail("Enter on the title gave screen %d, stage %lld, game over %d", static_cast<int>(g.screen),
                   static_cast<long long>(g.story_stage), g.game_over ? 1 : 0);
        }
    }
    if (g.game_over && g.screen == GameScreen::Playing) c.fail("game over while the screen says Playing");
}

}  // namespace

void reset_play_watch(PlayWatch& watch) {
    watch.valid = false;
    watch.player.valid = false;
    for (ActorWatch& e : watch.enemies) e.valid = false;
}

PlayCheck check_play_frame(const Game& game, const FrameInput& input, GameScreen screen_before, PlayWatch& watch) {
    Checker c;
    const World& w = *game.world;
    const bool menu_before = screen_before == GameScreen::Title || screen_before == GameScreen::Settings;
    const bool new_game = menu_before && game.screen == GameScreen::Playing;
    if (new_game || (watch.valid && w.tick < watch.tick)) reset_play_watch(watch);
    check_capacities(c, game);
    check_finite(c, game);
    check_inside_grid(c, game);
    if (c.result.ok) check_bodies(c, game, watch);
    check_progress(c, game, input, screen_before, watch.screen_time);
    remember_actors(game, watch);
    watch.valid = true;
    watch.screen = game.screen;
    watch.screen_time = game.screen_time;
    watch.tick = w.tick;
    return c.result;
}
