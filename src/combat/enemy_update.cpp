#include "combat/enemy_update.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "combat/player_damage.h"
#include "world/physics.h"
#include "world/player_particles.h"

namespace {

// --- Tuning -------------------------------------------------------------------------

constexpr float STEP = 1.0f / 60.0f;
constexpr float ALERT_TIME = 4.0f;
constexpr float GRAVITY_PER_STEP = 1000.0f / 60.0f;
constexpr float MAX_FALL = 360.0f;
constexpr float WALK_ACCEL_PER_STEP = 800.0f / 60.0f;
constexpr float ATTACK_BRAKE_PER_STEP = 25.0f;
constexpr float ATTACK_FRAME = 0.065f;
constexpr int64_t STEP_UP_MAX = 4;
constexpr int64_t MAX_PENDING_PER_STEP = 8;
constexpr int64_t BOSS_FLOOR_HP = 2500;  // until the dragon is empowered

constexpr float STUCK_GIVE_UP = 0.35f;
constexpr float WANDER_TIME = 0.28f;
constexpr int64_t WANDER_MIN_PROGRESS = 4;
constexpr float WANDER_JUMP = -390.0f;
constexpr int64_t STUCK_MIN_PROGRESS = 2;

constexpr int64_t FORMATION_MIN_GAP = 6;  // formation knights attack from their own side
constexpr int64_t FORMATION_OFFSET_BASE = 15;
constexpr int64_t FORMATION_OFFSET_STEP = 11;
constexpr int64_t HOLD_DISTANCE = 6;
constexpr int64_t JUMP_PROBE_COLUMNS = 9;
constexpr int64_t JUMP_PROBE_SKIP_ROWS = 4;  // the feet: a step-up handles those
constexpr int64_t HIGH_PLAYER_DY = -16;
constexpr int64_t HIGH_PLAYER_ADX = 30;
constexpr int64_t FORMATION_JUMP_ADX = 38;

constexpr int64_t SIGHT_HEIGHT = 56;
constexpr int64_t EYE_ROW = 3;
constexpr int64_t PLAYER_SIGHT_ROW = 4;

constexpr float CROWD_SPEEDUP = 0.12f;
constexpr int64_t CROWD_MAX_PUSH = 3;

// Barbarian charge.
constexpr float WINDUP_TIME = 0.585f;
constexpr float CHARGE_SPEED = 520.0f;
constexpr float CHARGE_HOP = -100.0f;
constexpr float CHARGE_TIME = 0.3f;
constexpr float RECOVERY_TIME = 0.195f;
constexpr int64_t CHARGE_HIT_ADX = 19;
constexpr int64_t CHARGE_HIT_ADY = 18;
constexpr float CHARGE_STEER = 18.0f;
constexpr float CHARGE_MIN_VY = -200.0f;
constexpr float CHARGE_MAX_VY = 210.0f;
constexpr int64_t BARBARIAN_WAIT_ADX = 63;  // close enough: it waits to charge

// Boss.
constexpr float BOSS_JUMP_COOLDOWN = 1.8f;
constexpr int64_t BOSS_CHASE_JUMP_MIN = 63;
constexpr int64_t BOSS_CHASE_JUMP_MAX = 165;
constexpr float DASH_COOLDOWN = 1.9f;
constexpr float DASH_TIME = 0.17f;
constexpr float DASH_SPEED = 440.0f;
constexpr int64_t DASH_REACH = 174;
constexpr int64_t STALL_ADX = 35;
constexpr int64_t STALL_ADY = 38;
constexpr float STALL_TIME = 0.35f;
constexpr float STALL_LEAP_TURN = 0.35f;
constexpr float STALL_LEAP_SPEED = 190.0f;
constexpr float STALL_LEAP_VY = -480.0f;
constexpr float STALL_DASH_COOLDOWN = 0.5f;
constexpr int64_t EMPOWERED_BOSS_DAMAGE = 2;

struct AttackProps {
    int64_t start_adx_below, start_ady_below;
    int64_t hit_adx, hit_ady;  // inclusive
    int64_t hit_frame, end_frame;
    int64_t damage;
    float cooldown;
    int64_t progress_adx;  // farther than this the enemy checks it is getting anywhere
};
// clang-format off
constexpr std::array<AttackProps, ENEMY_KIND_COUNT> ATTACKS = {{
    //  start    hit   frames  dmg  cool  progress
    {17, 17,  19, 17,  6, 13,  10, 0.35f, 25},  // Knight
    {17, 17,  19, 17,  4,  8,  30, 0.35f, 25},  // Ogre
    {71, 17,  19, 18,  0,  0,  30, 0.55f, 70},  // Barbarian: a charge, see below
    {63, 31,  62, 30,  2,  4,  20, 0.65f, 25},  // Boss
}};
// clang-format on
static_assert(ATTACKS.size() == ENEMY_KIND_COUNT);

struct CellHarm {
    Material material;
    int64_t damage;
};
// Per step standing in or next to these; the worst one counts.
constexpr std::array<CellHarm, 5> CELL_HARM = {{
    {Material::Fire, 2}, {Material::Acid, 4}, {Material::Plasma, 5}, {Material::Lava, 6}, {Material::Boom, 35},
}};
static_assert(CELL_HARM.size() == 5);

constexpr int64_t MAX_BODY_CELLS = 740;
constexpr int64_t DEBRIS_MAX_RADIUS = 24;

const AttackProps& attack_of(const Enemy& e) { return ATTACKS[static_cast<size_t>(e.kind)]; }
const EnemyKindProps& props(const Enemy& e) { return kind_props(enemy_kind(e)); }
const EnemyMask& mask(const Enemy& e) { return enemy_mask(enemy_kind(e)); }
bool is_boss(const Enemy& e) { return enemy_kind(e) == EnemyKind::Boss; }
int64_t sign_of(int64_t v) { return v < 0 ? -1 : 1; }

float toward(float v, float target, float amount) {
    if (v < target) return std::min(v + amount, target);
    return std::max(v - amount, target);
}

// Offsets to the dragon, taken once per enemy before it moves.
struct Aim {
    int64_t dx, dy, adx, ady;
};

Aim aim_at(const Enemy& e, const Player& p) {
    const int64_t dx = p.x - props(e).half_w - e.x + 7;
    const int64_t dy = p.y + props(e).aim_dy - e.y;
    return Aim{dx, dy, std::abs(dx), std::abs(dy)};
}

// --- Damage and death ---------------------------------------------------------------

struct BodyCells {
    std::array<int16_t, MAX_BODY_CELLS> col;
    std::array<int16_t, MAX_BODY_CELLS> row;
    int64_t count;
};

BodyCells body_cells(const Enemy& e) {
    BodyCells b{};
    every_body_cell(enemy_kind(e), e.x, e.y, [&](int64_t x, int64_t y) {
        b.col[static_cast<size_t>(b.count)] = static_cast<int16_t>(x);
        b.row[static_cast<size_t>(b.count)] = static_cast<int16_t>(y);
        return ++b.count < MAX_BODY_CELLS;
    });
    return b;
}

bool free_for_debris(const World& world, int64_t x, int64_t y) {
    return in_world(x, y) && cell_at(world, x, y).material == Material::Empty && !cell_in_actor(world, x, y);
}

// The first free cell on the square rings of radius r0..24 around (x, y),
// each ring scanned row by row in the drawn orders; false when none.
bool find_debris_cell(const World& world, int64_t x, int64_t y, int64_t r0, bool rows_reversed, bool cols_reversed,
                      int64_t& out_x, int64_t& out_y) {
    for (int64_t r = r0; r <= DEBRIS_MAX_RADIUS; ++r) {
        for (int64_t i = 0; i <= 2 * r; ++i) {
            const int64_t dy = rows_reversed ? r - i : i - r;
            // Rows inside the ring meet it only at its two side columns.
            const int64_t step = std::abs(dy) == r ? 1 : 2 * r;
            for (int64_t j = 0; j <= 2 * r; j += step) {
                const int64_t dx = cols_reversed ? r - j : j - r;
                if (free_for_debris(world, x + dx, y + dy)) {
                    out_x = x + dx;
                    out_y = y + dy;
                    return true;
                }
            }
        }
    }
    return false;
}

void throw_piece(World& world, const Enemy& e, int64_t i, const BodyCells& body) {
    const size_t from = static_cast<size_t>(i % body.count);
    const Material m = i % 2 == 1 ? Material::Blood : props(e).debris;
    const uint32_t shade = world_rand(world) % 4u;
    const bool cols_reversed = world_rand(world) % 2u == 1u;
    const bool rows_reversed = world_rand(world) % 2u == 1u;
    const int64_t r0 = 3 + static_cast<int64_t>(world_rand(world) % 6u);
    int64_t x = 0;
    int64_t y = 0;
    if (!find_debris_cell(world, body.col[from], body.row[from], r0, rows_reversed, cols_reversed, x, y)) return;
    set_cell(world, x, y, m);
    Cell& c = cell_at(world, x, y);
    c.shade = static_cast<uint8_t>(shade);
    const float away = static_cast<float>(world_rand(world) % 190u) / 100.0f + 1.4f;
    const float up = -1.8f - static_cast<float>(world_rand(world) % 220u) / 100.0f;
    const auto frames = static_cast<uint8_t>(world_rand(world) % 9u + 10u);
    c.vel_x = x < e.x + props(e).half_w ? -away : away;
    c.vel_y = up;
    c.fling_frames = frames;
}

// --- Walking and climbing -----------------------------------------------------------

bool solid_or_off_grid(const World& world, int64_t x, int64_t y) {
    return !in_world(x, y) || kind_of(cell_at(world, x, y).material) == MaterialKind::Solid;
}

// A wall in the next nine columns at body height makes an enemy want to jump.
bool wall_ahead(const World& world, const Enemy& e, int64_t dir) {
    const EnemyMask& m = mask(e);
    int64_t col = dir < 0 ? e.x - 1 : e.x + m.width;
    for (int64_t k = 0; k < JUMP_PROBE_COLUMNS && col >= 0 && col < WORLD_W; ++k, col += dir) {
        for (int64_t y = e.y; y <= e.y + m.height - 1 - JUMP_PROBE_SKIP_ROWS; ++y) {
            if (solid_or_off_grid(world, col, y)) return true;
        }
    }
    return false;
}

void jump(Enemy& e, float velocity) {
    e.vel_y = velocity;
    e.grounded = false;
}

bool try_step_up(World& world, int64_t index, Enemy& e, int64_t d) {
    for (int64_t k = 1; k <= STEP_UP_MAX; ++k) {
        if (enemy_blocked(world, enemy_kind(e), e.x, e.y - k)) return false;
        if (enemy_can_move(world, index, e.x + d, e.y - k, 0)) {
            e.x += d;
            e.y -= k;
            e.vel_y = 0.0f;
            e.frac_y = 0.0f;
            return true;
        }
    }
    return false;
}

int64_t whole_cells(float vel, float& frac) {
    const float m = vel / 60.0f + frac;
    const float n = std::trunc(m);
    frac = m - n;
    return static_cast<int64_t>(n);
}

void move_horizontally(World& world, int64_t index, Enemy& e, bool alert) {
    const int64_t n = whole_cells(e.vel_x, e.frac_x);
    const int64_t d = n < 0 ? -1 : 1;
    for (int64_t i = 0; i < std::abs(n); ++i) {
        if (enemy_can_move(world, index, e.x + d, e.y, 0)) {
            e.x += d;
            continue;
        }
        if (e.grounded && try_step_up(world, index, e, d)) continue;
        if (e.grounded && !e.attacking && alert && e.turn_time <= 0.0f) jump(e, props(e).jump_velocity);
        e.vel_x = 0.0f;
        e.frac_x = 0.0f;
        return;
    }
}

void fall(World& world, int64_t index, Enemy& e) {
    if (!e.grounded) e.vel_y = std::min(e.vel_y + GRAVITY_PER_STEP, MAX_FALL);
    const int64_t n = whole_cells(e.vel_y, e.frac_y);
    const int64_t d = n < 0 ? -1 : 1;
    for (int64_t i = 0; i < std::abs(n); ++i) {
        if (!enemy_can_move(world, index, e.x, e.y + d, d)) {
            e.vel_y = 0.0f;
            e.frac_y = 0.0f;
            break;
        }
        e.y += d;
    }
    // The bottom of the grid is a floor like any other.
    e.grounded = enemy_blocked(world, enemy_kind(e), e.x, e.y + 1);
    if (e.grounded && e.vel_y > 0.0f) e.vel_y = 0.0f;
}

// --- The parts of one enemy's step --------------------------------------------------

// Returns whether the enemy died.
bool take_damage(World& world, Enemy& e, const Player& p) {
    const int64_t d = cell_damage(world, e) + std::min(e.pending_damage, MAX_PENDING_PER_STEP);
    e.pending_damage = 0;
    if (d <= 0) return false;
    e.hp -= d;
    e.alert_time = ALERT_TIME;
    if (is_boss(e) && !p.empowered) {
        e.hp = std::max(e.hp, BOSS_FLOOR_HP);  // the first fight cannot be won
        return false;
    }
    if (e.hp >= 1) return false;
    kill_enemy(world, e);
    return true;
}

void run_clocks(Enemy& e) {
    if (e.attack_cooldown > 0.0f) e.attack_cooldown -= STEP;
    e.anim_time += STEP;
    if (e.jump_cooldown > 0.0f) e.jump_cooldown -= STEP;
    if (e.dash_cooldown > 0.0f) e.dash_cooldown -= STEP;
}

// Far from the dragon and getting nowhere for a while: turn and wander.
void check_progress(Enemy& e, const Aim& a, bool alert) {
    if (alert && !e.attacking && e.turn_time <= 0.0f && a.adx > attack_of(e).progress_adx) {
        if (std::abs(e.x - e.stuck_x) >= STUCK_MIN_PROGRESS) {
            e.stuck_time = 0.0f;
            e.stuck_x = e.x;
            return;
        }
        e.stuck_time += STEP;
        if (e.stuck_time >= STUCK_GIVE_UP) {
            e.wander_dir = a.dx > 0 ? -1 : 1;
            e.turn_x = e.x;
            e.stuck_time = 0.0f;
            e.turn_time = WANDER_TIME;
        }
    } else if (e.turn_time <= 0.0f) {
        e.stuck_time = 0.0f;
        e.stuck_x = e.x;
    }
}

bool in_start_range(const Enemy& e, const Aim& a) {
    return a.adx < attack_of(e).start_adx_below && a.ady < attack_of(e).start_ady_below;
}

void start_attack(Enemy& e, const Aim& a) {
    e.attacking = true;
    e.hit_done = false;
    e.attack_time = 0.0f;
    e.anim_time = 0.0f;
    e.attack_phase = 0;
    e.facing = a.dx < 0 ? -1 : 1;
    e.vel_x = 0.0f;
}

// Where the enemy wants to walk: -1, 0 or +1.
int64_t walk_direction(const Enemy& e, const Aim& a, bool alert) {
    if (e.turn_time > 0.0f) return e.wander_dir;
    if (!alert) return 0;
    if (enemy_kind(e) == EnemyKind::Barbarian && a.adx < BARBARIAN_WAIT_ADX) return 0;
    int64_t t = a.dx;
    if (enemy_kind(e) == EnemyKind::Knight && e.group > 0) {
        t += (FORMATION_OFFSET_STEP * e.group_slot + FORMATION_OFFSET_BASE) * e.group_side;
    }
    if (std::abs(t) < HOLD_DISTANCE) return 0;
    return sign_of(t);
}

void walk_and_jump(World& world, Enemy& e, const Player& p, const Aim& a, bool alert) {
    const int64_t dir = walk_direction(e, a, alert);
    if (dir != 0) e.facing = dir;
    e.vel_x = toward(e.vel_x, static_cast<float>(dir) * props(e).walk_speed, WALK_ACCEL_PER_STEP);

    bool want_jump = a.dy < HIGH_PLAYER_DY && a.adx < HIGH_PLAYER_ADX;
    if (enemy_kind(e) == EnemyKind::Knight && e.group > 0 && (e.x - p.x - 3) * e.group_side < 0 &&
        a.adx < FORMATION_JUMP_ADX) {
        want_jump = true;
    }
    if (dir != 0 && wall_ahead(world, e, dir)) want_jump = true;
    if (!e.grounded || !alert) return;
    if (is_boss(e)) {
        const bool chase = e.jump_cooldown <= 0.0f && a.adx >= BOSS_CHASE_JUMP_MIN && a.adx < BOSS_CHASE_JUMP_MAX;
        if (want_jump || chase) {
            jump(e, props(e).jump_velocity);
            e.jump_cooldown = BOSS_JUMP_COOLDOWN;
        }
    } else if (want_jump) {
        jump(e, props(e).jump_velocity);
    }
}

void end_attack(Enemy& e, float cooldown) {
    e.attacking = false;
    e.attack_time = 0.0f;
    e.attack_cooldown = cooldown;
}

// Wind-up, a charge that carries the barbarian at the dragon, and recovery.
// A blow as the damage assist lets it through; none at all when it lets
// nothing through, so no flash and no blood either.
void strike_player(World& world, Player& p, int64_t damage, int64_t damage_taken_pct) {
    const int64_t taken = damage_taken_pct == 100 ? damage : damage * damage_taken_pct / 100;
    if (taken > 0) hurt_player(world, p, taken);
}

void barbarian_attack(World& world, Enemy& e, Player& p, const Aim& a, int64_t damage_taken_pct) {
    switch (e.attack_phase) {
        case 0:
            e.vel_x = toward(e.vel_x, 0.0f, ATTACK_BRAKE_PER_STEP);
            if (e.attack_time >= WINDUP_TIME) {
                e.attack_phase = 1;
                e.attack_time = 0.0f;
                e.vel_x = static_cast<float>(e.facing) * CHARGE_SPEED;
                jump(e, CHARGE_HOP);
            }
            break;
        case 1:
            e.vel_x = static_cast<float>(e.facing) * CHARGE_SPEED;
            e.vel_y = std::clamp(CHARGE_STEER * static_cast<float>(a.dy), CHARGE_MIN_VY, CHARGE_MAX_VY);
            if (a.adx <= CHARGE_HIT_ADX && a.ady <= CHARGE_HIT_ADY) {
                e.attack_phase = 2;
                e.attack_time = 0.0f;
                e.vel_x = 0.0f;
                if (!e.hit_done) {
                    strike_player(world, p, attack_of(e).damage, damage_taken_pct);
                    e.hit_done = true;
                }
            } else if (e.attack_time >= CHARGE_TIME) {
                e.attack_phase = 2;
                e.attack_time = 0.0f;
                e.vel_x = 0.0f;
            }
            break;
        default:
            e.vel_x = toward(e.vel_x, 0.0f, ATTACK_BRAKE_PER_STEP);
            if (e.attack_time >= RECOVERY_TIME) end_attack(e, attack_of(e).cooldown);
            break;
    }
}

// A swing: the blow lands at its hit frame if the dragon is in range and
// not behind.
void swing(World& world, Enemy& e, Player& p, const Aim& a, int64_t damage_taken_pct) {
    const AttackProps& at = attack_of(e);
    e.vel_x = toward(e.vel_x, 0.0f, ATTACK_BRAKE_PER_STEP);
    if (!e.hit_done && e.attack_time >= static_cast<float>(at.hit_frame) * ATTACK_FRAME) {
        e.hit_done = true;
        if (a.adx <= at.hit_adx && a.ady <= at.hit_ady && a.dx * e.facing >= -2) {
            const int64_t damage = is_boss(e) && p.empowered ? EMPOWERED_BOSS_DAMAGE : at.damage;
            strike_player(world, p, damage, damage_taken_pct);
        }
    }
    if (e.attack_time >= static_cast<float>(at.end_frame) * ATTACK_FRAME) end_attack(e, at.cooldown);
}

void continue_attack(World& world, Enemy& e, Player& p, const Aim& a, int64_t damage_taken_pct) {
    e.attack_time += STEP;
    if (enemy_kind(e) == EnemyKind::Barbarian) {
        barbarian_attack(world, e, p, a, damage_taken_pct);
    } else {
        swing(world, e, p, a, damage_taken_pct);
    }
}

void boss_air_dash(Enemy& e, const Aim& a, bool alert) {
    if (!e.attacking && alert && !e.grounded && e.dash_time <= 0.0f && e.dash_cooldown <= 0.0f &&
        a.adx <= DASH_REACH) {
        e.dash_cooldown = DASH_COOLDOWN;
        e.dash_time = DASH_TIME;
        e.facing = a.dx < 0 ? -1 : 1;
    }
    if (e.dash_time > 0.0f) {
        e.vel_x = static_cast<float>(e.facing) * DASH_SPEED;
        e.dash_time -= STEP;
    }
}

// A boss and a dragon standing pressed together: the boss leaps away. A
// blow under way is no stall: cancelling it as it starts would leave a boss
// wedged beside the dragon leaping and wandering without ever striking.
void break_boss_stall(Enemy& e, const Player& p, const Aim& a, bool alert) {
    const bool still = std::abs(e.x - e.stall_x) <= 1 && std::abs(e.y - e.stall_y) <= 1 &&
                       std::abs(p.x - e.stall_player_x) <= 1 && std::abs(p.y - e.stall_player_y) <= 1;
    if (still && a.adx < STALL_ADX && a.ady < STALL_ADY && alert && !e.attacking) {
        e.stall_time += STEP;
        if (e.stall_time >= STALL_TIME) {
            e.turn_time = STALL_LEAP_TURN;
            e.wander_dir = e.x + 10 < p.x + 7 ? -1 : 1;
            e.facing = e.wander_dir;
            e.turn_x = e.x;
            e.vel_x = STALL_LEAP_SPEED * static_cast<float>(e.wander_dir);
            jump(e, STALL_LEAP_VY);
            e.attacking = false;
            e.attack_time = 0.0f;
            e.dash_cooldown = STALL_DASH_COOLDOWN;
            e.dash_time = 0.0f;
            e.stall_time = 0.0f;
        }
    } else {
        e.stall_time = 0.0f;
    }
    e.stall_x = e.x;
    e.stall_y = e.y;
    e.stall_player_x = p.x;
    e.stall_player_y = p.y;
}

void run_wander_timer(Enemy& e, const Aim& a) {
    if (e.turn_time <= 0.0f) return;
    e.turn_time -= STEP;
    if (e.turn_time > 0.0f) return;
    const bool nowhere = std::abs(e.x - e.turn_x) < WANDER_MIN_PROGRESS;
    if (nowhere && in_start_range(e, a)) {
        // Wedged within reach of the dragon (a boss between it and a wall
        // under a low roof): flipping again would hold the wander forever
        // and the blow never starts. It stops wandering and strikes.
        e.stuck_x = e.x;
        return;
    }
    if (nowhere) {
        e.wander_dir = -e.wander_dir;  // it got nowhere: try the other way
        e.turn_x = e.x;
        e.turn_time = WANDER_TIME;
    } else {
        jump(e, WANDER_JUMP);
    }
    e.stuck_x = e.x;
}

void step_enemy(World& world, int64_t index, Player& p, int64_t damage_taken_pct) {
    Enemy& e = world.enemies[static_cast<size_t>(index)];
    if (is_boss(e) && world.boss_frozen) {
        e.pending_damage = 0;
        e.vel_x = 0.0f;
        e.vel_y = 0.0f;
        return;
    }
    const Aim a = aim_at(e, p);
    if (take_damage(world, e, p)) return;
    run_clocks(e);
    const bool sees = can_see_player(world, e, p);
    if (sees) {
        e.alert_time = ALERT_TIME - STEP;
    } else if (e.alert_time > 0.0f) {
        e.alert_time -= STEP;
    }
    const bool alert = e.alert_time > 0.0f;
    const bool engage = e.group == 0 || -a.dx * e.group_side >= FORMATION_MIN_GAP;
    check_progress(e, a, alert);

    if (e.attacking) {
        continue_attack(world, e, p, a, damage_taken_pct);
    } else if (alert && engage && e.attack_cooldown <= 0.0f && e.turn_time <= 0.0f && in_start_range(e, a) &&
               sees) {
        start_attack(e, a);
    } else {
        walk_and_jump(world, e, p, a, alert);
    }
    if (is_boss(e)) boss_air_dash(e, a, alert);
    move_horizontally(world, index, e, alert);
    fall(world, index, e);
    if (is_boss(e)) break_boss_stall(e, p, a, alert);
    run_wander_timer(e, a);
    if (e.y > WORLD_H - 1) e.alive = false;
}

// --- Crowding -----------------------------------------------------------------------

bool boxes_overlap(const Enemy& a, const Enemy& b) {
    const EnemyMask& ma = mask(a);
    const EnemyMask& mb = mask(b);
    return a.x < b.x + mb.width && b.x < a.x + ma.width && a.y < b.y + mb.height && b.y < a.y + ma.height;
}

void shoulder_apart(World& world) {
    std::array<bool, MAX_ENEMIES> marked{};
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        for (int64_t j = i + 1; j < world.enemy_count; ++j) {
            Enemy& a = world.enemies[static_cast<size_t>(i)];
            Enemy& b = world.enemies[static_cast<size_t>(j)];
            if (!a.alive || !b.alive || !boxes_overlap(a, b)) continue;
            marked[static_cast<size_t>(i)] = true;
            marked[static_cast<size_t>(j)] = true;
            // The longer they have overlapped, the harder they push.
            const auto k = static_cast<int64_t>(std::trunc(std::max(a.crowd_time, b.crowd_time) / CROWD_SPEEDUP));
            const int64_t away = b.x + props(b).half_w < a.x + props(a).half_w ? 1 : -1;
            for (int64_t n = 0; n < std::min(k + 1, CROWD_MAX_PUSH); ++n) {
                if (enemy_can_move(world, i, a.x + away, a.y, 0)) a.x += away;
                if (enemy_can_move(world, j, b.x - away, b.y, 0)) b.x -= away;
            }
        }
    }
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        Enemy& e = world.enemies[static_cast<size_t>(i)];
        e.crowd_time = marked[static_cast<size_t>(i)] ? e.crowd_time + STEP : 0.0f;
    }
}

void raise_group_alarms(World& world, const Player& p) {
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        const Enemy& seer = world.enemies[static_cast<size_t>(i)];
        if (!seer.alive || seer.group <= 0 || !can_see_player(world, seer, p)) continue;
        for (int64_t j = 0; j < world.enemy_count; ++j) {
            Enemy& e = world.enemies[static_cast<size_t>(j)];
            if (e.alive && e.group == seer.group) e.alert_time = ALERT_TIME;
        }
    }
}

}  // namespace

bool can_see_player(const World& world, const Enemy& e, const Player& p) {
    const int64_t ex = e.x + props(e).half_w;
    const int64_t ey = e.y;
    const int64_t sx = p.x + 7 - ex;
    const int64_t sy = p.y + PLAYER_SIGHT_ROW - ey;
    if (std::abs(sx) > props(e).sight_range || std::abs(sy) >= SIGHT_HEIGHT) return false;
    const int64_t n = std::max(std::abs(sx), std::abs(sy));
    for (int64_t k = 1; 2 * k < n - 2; ++k) {
        if (solid_or_off_grid(world, ex + 2 * k * sx / n, ey + EYE_ROW + 2 * k * sy / n)) return false;
    }
    return true;
}

int64_t cell_damage(const World& world, const Enemy& e) {
    const EnemyMask& m = mask(e);
    int64_t worst = 0;
    for (int64_t y = std::max<int64_t>(e.y - 1, 0); y <= std::min(e.y + m.height, WORLD_H - 1); ++y) {
        for (int64_t x = std::max<int64_t>(e.x - 1, 0); x <= std::min(e.x + m.width, WORLD_W - 1); ++x) {
            const Material here = cell_at(world, x, y).material;
            for (const CellHarm& h : CELL_HARM) {
                if (h.material == here) worst = std::max(worst, h.damage);
            }
        }
    }
    return worst;
}

void kill_enemy(World& world, Enemy& e) {
    e.alive = false;
    const BodyCells body = body_cells(e);
    const int64_t pieces = props(e).debris_pieces > 0 ? props(e).debris_pieces : body.count;
    for (int64_t i = 0; i < pieces && body.count > 0; ++i) throw_piece(world, e, i, body);
    const EnemyMask& m = mask(e);
    for (int64_t y = e.y; y < e.y + m.height; ++y) {
        for (int64_t x = e.x; x < e.x + m.width; ++x) {
            if (in_world(x, y)) wake_neighbours(world, x, y);
        }
    }
}

EnemyStepReport update_enemies(World& world, Player& player, int64_t damage_taken_pct) {
    std::array<int64_t, MAX_ENEMIES> hp_before{};
    std::array<bool, MAX_ENEMIES> attacking_before{};
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        hp_before[static_cast<size_t>(i)] = world.enemies[static_cast<size_t>(i)].hp;
        attacking_before[static_cast<size_t>(i)] = world.enemies[static_cast<size_t>(i)].attacking;
    }
    raise_group_alarms(world, player);
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        if (world.enemies[static_cast<size_t>(i)].alive) step_enemy(world, i, player, damage_taken_pct);
    }
    shoulder_apart(world);

    EnemyStepReport report{};
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        const Enemy& e = world.enemies[static_cast<size_t>(i)];
        if (e.hp < hp_before[static_cast<size_t>(i)]) report.enemy_hurt = true;
        if (e.attacking && !attacking_before[static_cast<size_t>(i)]) ++report.attacks_started;
    }
    return report;
}
