#include "player/movement.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "app/input.h"
#include "combat/enemy.h"
#include "world/physics.h"
#include "world/player_particles.h"

namespace {

// --- Tuning -----------------------------------------------------------------------

constexpr float STEP = 1.0f / 60.0f;

constexpr float WALK_SPEED = 117.0f;
constexpr float ACCEL = 1300.0f;
constexpr float OVERSPEED_DECEL = 600.0f;
constexpr float STOP_DECEL = 1500.0f;
constexpr float AIR_CONTROL = 0.7f;
constexpr float JUMP_SPEED = -220.0f;
constexpr float JUMP_PUSH = 35.0f;
constexpr float GRAVITY = 1000.0f;
constexpr float APEX_GRAVITY = 500.0f;
constexpr float APEX_BAND = 60.0f;
constexpr float MAX_FALL = 360.0f;

constexpr float COYOTE_TIME = 0.1f;
constexpr float JUMP_BUFFER = 0.2f;
constexpr float JUMP_HOLD = 0.2f;
constexpr float CEILING_GRACE = 0.05f;
constexpr float WALL_GRACE = 0.06f;

constexpr int64_t STEP_UP_MAX = 4;
constexpr int64_t HEAD_NUDGE_MAX = 6;
constexpr int64_t GROUND_PROBE = 5;
constexpr int64_t FOOT_WATER_FIRST_COL = 3;  // the feet, not the tail or the snout
constexpr int64_t FOOT_WATER_LAST_COL = 10;

static_assert(WALK_SPEED * STEP < 2.0f, "a walking step moves at most one or two cells");

// --- Cells as the dragon sees them ------------------------------------------------

// Rows below the world are open, so the dragon can fall out of it; every
// other position off the grid is wall.
bool off_grid_wall(int64_t x, int64_t y) { return y < 0 || x < 0 || x >= WORLD_W; }

bool blocks(const World& world, int64_t x, int64_t y) {
    if (y >= WORLD_H) return false;
    if (off_grid_wall(x, y)) return true;
    const MaterialKind k = kind_of(cell_at(world, x, y).material);
    return k == MaterialKind::Solid || k == MaterialKind::Powder;
}

// Does the body box at (x, y) hold a cell for which `test` is true?
template <typename Test>
bool box_has(int64_t x, int64_t y, Test test) {
    for (int64_t cy = y; cy < y + PLAYER_H; ++cy) {
        for (int64_t cx = x; cx < x + PLAYER_W; ++cx) {
            if (test(cx, cy)) return true;
        }
    }
    return false;
}

bool box_blocked(const World& world, int64_t x, int64_t y) {
    return box_has(x, y, [&](int64_t cx, int64_t cy) { return blocks(world, cx, cy); });
}

// The step-up climbs through sand but never into rock or off the grid.
bool box_has_solid(const World& world, int64_t x, int64_t y) {
    return box_has(x, y, [&](int64_t cx, int64_t cy) {
        if (cy >= WORLD_H) return false;
        if (off_grid_wall(cx, cy)) return true;
        return kind_of(cell_at(world, cx, cy).material) == MaterialKind::Solid;
    });
}

// --- Contact with enemies ---------------------------------------------------------

// An enemy that would stop the dragon moving one row down holds it up, the
// same test can_player_move makes: a knight's head is ground to stand and jump
// on, not a floor it sinks through and bobs on.
bool enemy_underfoot(const World& world, int64_t x, int64_t y) {
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        const Enemy& e = world.enemies[static_cast<size_t>(i)];
        if (!e.alive) continue;
        const int64_t below = player_overlap(x, y + 1, e);
        if (below > 0 && below >= player_overlap(x, y, e)) return true;
    }
    return false;
}

bool standing(const World& world, const Player& p) {
    return box_blocked(world, p.x, p.y + 1) || enemy_underfoot(world, p.x, p.y);
}

// Moves a lifted enemy one row up and hands the cells it left to the world.
void lift_enemy(World& world, Enemy& e) {
    const int64_t old_y = e.y;
    e.y -= 1;
    e.grounded = false;
    e.vel_y = std::min(e.vel_y, 0.0f);
    e.frac_y = 0.0f;
    const EnemyMask& mask = enemy_mask(enemy_kind(e));
    for (int64_t r = 0; r < mask.height; ++r) {
        for (int64_t c = 0; c < mask.width; ++c) {
            const int64_t cx = e.x + c;
            const int64_t cy = old_y + r;
            if (!enemy_covers(enemy_kind(e), cx, cy, e.x, old_y)) continue;
            if (enemy_covers(enemy_kind(e), cx, cy, e.x, e.y) || !in_world(cx, cy)) continue;
            wake_neighbours(world, cx, cy);
        }
    }
}

// The enemy half of can_player_move: false when an enemy is in the way.
bool enemies_allow(World& world, int64_t x, int64_t y, int64_t dir) {
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        Enemy& e = world.enemies[static_cast<size_t>(i)];
        if (!e.alive) continue;
        const int64_t overlap = player_overlap(x, y, e);
        if (overlap == 0) continue;
        // Squeezed into an enemy, the dragon may always work its way out.
        if (world.player_present && overlap < player_overlap(world.player_x, world.player_y, e)) continue;
        if (dir >= 0) return false;
        if (!enemy_can_move(world, i, e.x, e.y - 1, -1)) return false;
        lift_enemy(world, e);
        if (player_overlap(x, y, e) > 0) return false;
    }
    return true;
}

// Pushes sand, liquids and gases out of the silhouette; only sand that cannot
// go anywhere stops the dragon.
bool push_loose_cells(World& world, int64_t x, int64_t y) {
    for (int64_t r = 0; r < PLAYER_H; ++r) {
        const uint16_t bits = PLAYER_MASK[static_cast<size_t>(r)];
        for (int64_t c = 0; c < PLAYER_W; ++c) {
            if (((bits >> c) & 1u) == 0) continue;
            const int64_t cx = x + c;
            const int64_t cy = y + r;
            if (!in_world(cx, cy)) continue;
            const MaterialKind k = kind_of(cell_at(world, cx, cy).material);
            if (k != MaterialKind::Powder && k != MaterialKind::Liquid && k != MaterialKind::Gas) continue;
            if (!displace_cell(world, cx, cy, x, y, DisplaceMode::Player, -1) && k == MaterialKind::Powder) {
                return false;
            }
        }
    }
    return true;
}

// --- The steps of player_step -----------------------------------------------------

bool keeps_coyote(const World& world, const Player& p) {
    return p.vel_y >= 0.0f && ground_below(world, p.x, p.y);
}

void test_ground(const World& world, Player& p) {
    p.grounded = standing(world, p);
    if (p.grounded || keeps_coyote(world, p)) p.coyote_time = COYOTE_TIME;
}

void take_off(Player& p, int64_t move) {
    p.vel_y = JUMP_SPEED;
    p.frac_y = 0.0f;
    p.ceiling_blocked = false;
    p.coyote_time = 0.0f;
    p.jump_buffer = 0.0f;
    p.jump_hold = JUMP_HOLD;
    p.ceiling_grace = CEILING_GRACE;
    p.grounded = false;
    if (move != 0) p.vel_x += static_cast<float>(move) * JUMP_PUSH;
}

float approach(float value, float target, float amount) {
    if (value < target) return std::min(value + amount, target);
    return std::max(value - amount, target);
}

void accelerate_horizontally(Player& p, int64_t move) {
    const float target = static_cast<float>(move) * WALK_SPEED;
    const float along = p.vel_x * static_cast<float>(move);
    float rate = STOP_DECEL;
    if (move != 0) rate = along > WALK_SPEED ? OVERSPEED_DECEL : ACCEL;
    if (!p.grounded) rate *= AIR_CONTROL;
    p.vel_x = approach(p.vel_x, target, rate * STEP);
}

void apply_vertical_velocity(const World& world, Player& p, bool jump_released) {
    if (p.grounded) {
        p.vel_y = 0.0f;
        p.frac_y = 0.0f;
        return;
    }
    if (jump_released) p.jump_hold = 0.0f;
    if (p.ceiling_blocked && p.ceiling_grace > 0.0f) {
        if (box_blocked(world, p.x, p.y - 1)) {
            p.vel_y = 0.0f;  // the head is still against the ceiling: hover and retry
            return;
        }
        p.ceiling_blocked = false;
    }
    if (jump_released) {
        p.vel_y += GRAVITY * STEP;
    } else if (p.jump_hold > 0.0f && p.vel_y <= 0.0f) {
        p.vel_y = JUMP_SPEED;
        return;
    } else {
        p.vel_y += (std::fabs(p.vel_y) < APEX_BAND ? APEX_GRAVITY : GRAVITY) * STEP;
    }
    p.vel_y = std::min(p.vel_y, MAX_FALL);
}

// Whole cells of this step's motion; the rest is carried to the next step.
int64_t whole_cells(float vel, float& frac) {
    const float m = vel * STEP + frac;
    const float n = std::trunc(m);
    frac = m - n;
    return static_cast<int64_t>(n);
}

bool try_step_up(World& world, Player& p, int64_t d) {
    if (p.vel_y < 0.0f || !ground_below(world, p.x, p.y)) return false;
    for (int64_t k = 1; k <= STEP_UP_MAX; ++k) {
        if (box_has_solid(world, p.x, p.y - k)) return false;
        if (can_player_move(world, p.x + d, p.y - k, 0)) {
            p.x += d;
            p.y -= k;
            p.vel_y = 0.0f;
            p.frac_y = 0.0f;
            return true;
        }
    }
    return false;
}

void move_horizontally(World& world, Player& p) {
    const int64_t n = whole_cells(p.vel_x, p.frac_x);
    const int64_t d = n < 0 ? -1 : 1;
    for (int64_t i = 0; i < std::abs(n); ++i) {
        if (can_player_move(world, p.x + d, p.y, 0)) {
            p.x += d;
            continue;
        }
        if (try_step_up(world, p, d)) continue;
        if (p.wall_grace <= 0.0f) {
            p.wall_grace = WALL_GRACE;
            p.wall_vel_x = p.vel_x;
        }
        p.vel_x = 0.0f;
        p.frac_x = 0.0f;
        return;
    }
}

// Slides a blocked head around a ceiling corner by the smallest free offset,
// left before right at each width.
bool nudge_around_corner(World& world, Player& p) {
    bool left_clear = true;
    bool right_clear = true;
    for (int64_t s = 1; s <= HEAD_NUDGE_MAX; ++s) {
        left_clear = left_clear && !box_blocked(world, p.x - s, p.y);
        if (left_clear && can_player_move(world, p.x - s, p.y - 1, -1)) {
            p.x -= s;
            p.y -= 1;
            p.ceiling_blocked = false;
            return true;
        }
        right_clear = right_clear && !box_blocked(world, p.x + s, p.y);
        if (right_clear && can_player_move(world, p.x + s, p.y - 1, -1)) {
            p.x += s;
            p.y -= 1;
            p.ceiling_blocked = false;
            return true;
        }
    }
    return false;
}

void move_vertically(World& world, Player& p) {
    const int64_t n = whole_cells(p.vel_y, p.frac_y);
    const int64_t d = n < 0 ? -1 : 1;
    for (int64_t i = 0; i < std::abs(n); ++i) {
        if (can_player_move(world, p.x, p.y + d, d)) {
            p.y += d;
            continue;
        }
        if (d < 0 && nudge_around_corner(world, p)) continue;
        if (d < 0) {
            if (p.ceiling_grace > 0.0f) {
                p.ceiling_blocked = true;
            } else {
                p.jump_hold = 0.0f;
            }
        }
        p.vel_y = 0.0f;
        p.frac_y = 0.0f;
        return;
    }
}

// A wall that was dug or burnt away within the grace time gives the run back.
void restore_wall_velocity(const World& world, Player& p) {
    if (p.wall_grace <= 0.0f || p.wall_vel_x == 0.0f) return;
    const int64_t shift = p.wall_vel_x > 0.0f ? 1 : -1;
    if (box_blocked(world, p.x + shift, p.y)) return;
    p.vel_x = p.wall_vel_x;
    p.wall_grace = 0.0f;
    p.wall_vel_x = 0.0f;
}

// Second ground test; a jump pressed shortly before landing fires now.
// Returns whether it refreshed the coyote time.
bool land_or_keep_coyote(const World& world, Player& p, bool grounded_at_start, int64_t move) {
    p.grounded = standing(world, p);
    if (p.grounded) {
        if (p.jump_buffer > 0.0f && !grounded_at_start) {
            take_off(p, move);
            return false;
        }
        p.coyote_time = COYOTE_TIME;
        return true;
    }
    if (keeps_coyote(world, p)) {
        p.coyote_time = COYOTE_TIME;
        return true;
    }
    return false;
}

void count_down(float& timer) {
    if (timer > 0.0f) timer -= STEP;
}

void count_down_timers(Player& p, bool coyote_refreshed) {
    if (!coyote_refreshed) count_down(p.coyote_time);
    count_down(p.jump_buffer);
    count_down(p.jump_hold);
    count_down(p.ceiling_grace);
    count_down(p.wall_grace);
    if (p.ceiling_grace <= 0.0f && p.ceiling_blocked) {
        p.jump_hold = 0.0f;
        p.ceiling_blocked = false;
    }
    if (p.wall_grace <= 0.0f) p.wall_vel_x = 0.0f;
}

// Writes the body into the world and hands the cells it left back to the
// simulation, so sand and water flow into the space behind the dragon.
void write_footprint(World& world, const Player& p) {
    const bool was_present = world.player_present;
    const int64_t old_x = world.player_x;
    const int64_t old_y = world.player_y;
    world.player_present = true;
    world.player_x = p.x;
    world.player_y = p.y;
    if (!was_present || (old_x == p.x && old_y == p.y)) return;
    for (int64_t cy = old_y; cy < old_y + PLAYER_H; ++cy) {
        for (int64_t cx = old_x; cx < old_x + PLAYER_W; ++cx) {
            if (!in_world(cx, cy)) continue;
            if (player_mask_covers(cx, cy, old_x, old_y) && !player_mask_covers(cx, cy, p.x, p.y)) {
                wake_neighbours(world, cx, cy);
            }
        }
    }
}

}  // namespace

PlayerInput read_player_input(const FrameInput& input, bool jump_allowed, bool request_latched) {
    PlayerInput in{};
    if (key_down(input, KEY_A) || key_down(input, KEY_LEFT)) in.move = -1;
    if (key_down(input, KEY_D) || key_down(input, KEY_RIGHT)) in.move += 1;
    const bool pressed = key_pressed(input, KEY_SPACE) || key_pressed(input, KEY_W) ||
                         key_pressed(input, KEY_UP);
    in.jump_request = request_latched || (jump_allowed && pressed);
    in.jump_released = !key_down(input, KEY_SPACE) && !key_down(input, KEY_W) && !key_down(input, KEY_UP);
    return in;
}

StepStart snapshot_step_start(const World& world, const Player& player) {
    return StepStart{player.x, player.y, player.vel_x, player.vel_y, player.hp, standing(world, player)};
}

void player_step(World& world, Player& p, const PlayerInput& input, bool held) {
    if (held) {
        p.vel_x = 0.0f;
        p.vel_y = 0.0f;
    } else {
        const bool grounded_at_start = standing(world, p);
        if (input.move != 0) p.facing = input.move;
        test_ground(world, p);
        if (input.jump_request) p.jump_buffer = JUMP_BUFFER;
        if (p.jump_buffer > 0.0f && p.coyote_time > 0.0f) take_off(p, input.move);
        accelerate_horizontally(p, input.move);
        apply_vertical_velocity(world, p, input.jump_released);
        move_horizontally(world, p);
        move_vertically(world, p);
        restore_wall_velocity(world, p);
        const bool coyote_refreshed = land_or_keep_coyote(world, p, grounded_at_start, input.move);
        count_down_timers(p, coyote_refreshed);
        write_footprint(world, p);
    }
    if (player_fell_out(p)) p.hp = 0;
}

namespace {

// Rock that formed inside the body where the dragon already stands (lava
// cooling in a pocket, a stone settling over its head) must not wall it in:
// it may always move out through what it already holds.
bool inside_current_box(const World& world, int64_t cx, int64_t cy) {
    return world.player_present && cx >= world.player_x && cx < world.player_x + PLAYER_W &&
           cy >= world.player_y && cy < world.player_y + PLAYER_H;
}

}  // namespace

bool can_player_move(World& world, int64_t x, int64_t y, int64_t dir) {
    // The dragon stands on sand but walks and jumps through it.
    const bool blocked = box_has(x, y, [&](int64_t cx, int64_t cy) {
        if (cy >= WORLD_H) return false;
        if (off_grid_wall(cx, cy)) return true;
        const MaterialKind k = kind_of(cell_at(world, cx, cy).material);
        if (k == MaterialKind::Solid) return !inside_current_box(world, cx, cy);
        return k == MaterialKind::Powder && dir > 0;
    });
    if (blocked) return false;
    if (!enemies_allow(world, x, y, dir)) return false;
    return push_loose_cells(world, x, y);
}

bool ground_below(const World& world, int64_t x, int64_t y) {
    for (int64_t cy = y + PLAYER_H; cy < y + PLAYER_H + GROUND_PROBE; ++cy) {
        for (int64_t cx = x; cx < x + PLAYER_W; ++cx) {
            if (in_world(cx, cy) && blocks(world, cx, cy)) return true;
        }
    }
    return false;
}

Material footing_material(const World& world, const Player& p) {
    const int64_t feet = p.y + PLAYER_H - 1;
    for (int64_t cx = p.x + FOOT_WATER_FIRST_COL; cx <= p.x + FOOT_WATER_LAST_COL; ++cx) {
        if (in_world(cx, feet) && cell_at(world, cx, feet).material == Material::Water) return Material::Water;
    }
    for (int64_t cy = p.y + PLAYER_H; cy < p.y + PLAYER_H + GROUND_PROBE; ++cy) {
        for (int64_t cx = p.x; cx < p.x + PLAYER_W; ++cx) {
            const Material m = material_at(world, cx, cy, Material::Stone);
            const MaterialKind k = kind_of(m);
            if (k == MaterialKind::Solid || k == MaterialKind::Powder) return m;
        }
    }
    return Material::Stone;
}

int64_t player_overlap(int64_t x, int64_t y, const Enemy& enemy) {
    const EnemyMask& mask = enemy_mask(enemy_kind(enemy));
    const int64_t shift = x - enemy.x;  // player column 0 is enemy column `shift`
    if (shift >= mask.width || shift <= -PLAYER_W) return 0;
    const int64_t top = std::max(y, enemy.y);
    const int64_t bottom = std::min(y + PLAYER_H, enemy.y + mask.height);
    int64_t count = 0;
    for (int64_t cy = top; cy < bottom; ++cy) {
        const uint64_t player_bits = PLAYER_MASK[static_cast<size_t>(cy - y)];
        const uint64_t enemy_bits = mask.rows[static_cast<size_t>(cy - enemy.y)];
        const uint64_t aligned = shift >= 0 ? enemy_bits >> shift : enemy_bits << -shift;
        count += std::popcount(player_bits & aligned);
    }
    return count;
}
