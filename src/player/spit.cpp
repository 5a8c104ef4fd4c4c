#include "player/spit.h"

#include <algorithm>
#include <cmath>

#include "world/physics.h"
#include "world/player_particles.h"

namespace {

constexpr float STEP = 1.0f / 60.0f;

constexpr int64_t SPIT_PER_STEP = 10;
constexpr int64_t BREATH_PER_STEP = 20;
constexpr float SPIT_POSE_MAX = 0.21f;
constexpr int64_t MOUTH_ROW = 8;
constexpr int64_t MOUTH_LEFT_START = -2;
constexpr int64_t MOUTH_LEFT_LIMIT = -16;
constexpr int64_t MOUTH_RIGHT_START = 15;
constexpr int64_t MOUTH_RIGHT_LIMIT = 30;
constexpr float STEEP_AIM_LEAD = 4.0f;  // steep aims start further in front of the snout

struct StreamTuning {
    float speed_base, speed_range;
    float jitter;
    uint16_t life_base;
};
constexpr StreamTuning SPIT_STREAM = {1.9f, 1.2f, 0.28f, 36};
constexpr StreamTuning PLASMA_STREAM = {5.5f, 2.0f, 0.025f, 28};
constexpr uint32_t LIFE_SPREAD = 7;
constexpr int PLASMA_DISCARDED_DRAWS = 3;
constexpr uint8_t PLASMA_PIERCE = 10;

constexpr float TIRED_GRAVITY = 0.25f;
constexpr float TIRED_MAX_FALL = 4.0f;
constexpr int64_t SETTLE_BACKOFF = 7;

struct HitDamage {
    Material material;
    int64_t damage;
};
// Spit damage per particle that reaches an enemy; the empowered fire is
// handled apart. Anything not listed does no harm.
constexpr std::array<HitDamage, 5> HIT_DAMAGE = {{
    {Material::Fire, 2}, {Material::Plasma, 5}, {Material::Lava, 6}, {Material::Boom, 40}, {Material::Acid, 4},
}};
static_assert(HIT_DAMAGE.size() == 5);
constexpr int64_t LARGE_FIRE_DAMAGE = 8;
constexpr float HIT_ALERT = 4.0f;

float unit(uint32_t r) { return static_cast<float>(r % 1000u) / 1000.0f; }
int64_t nint(float v) { return static_cast<int64_t>(std::round(v)); }
bool is_solid(Material m) { return kind_of(m) == MaterialKind::Solid; }

bool open_cell(const World& world, int64_t x, int64_t y) {
    return in_world(x, y) && cell_at(world, x, y).material == Material::Empty && !cell_in_actor(world, x, y);
}

// The snout: from just in front of the body, as far out as the air reaches,
// so that particles never start inside a wall.
int64_t mouth_column(const World& world, const Player& p, int64_t row) {
    const int64_t dir = p.facing;
    const int64_t start = p.x + (dir < 0 ? MOUTH_LEFT_START : MOUTH_RIGHT_START);
    const int64_t limit = p.x + (dir < 0 ? MOUTH_LEFT_LIMIT : MOUTH_RIGHT_LIMIT);
    int64_t col = start;
    while (col != limit && open_cell(world, col + dir, row)) col += dir;
    return col;
}

int64_t free_slot(const SpitState& spit) {
    for (int64_t i = 0; i < MAX_SPIT_PARTICLES; ++i) {
        const int64_t slot = (spit.spit_next + i) % MAX_SPIT_PARTICLES;
        if (!spit.particles[static_cast<size_t>(slot)].active) return slot;
    }
    return -1;
}

enum class CellOutcome { Continue, Died, Settle };
CellOutcome meet_cell(World& world, SpitParticle& q, int64_t cx, int64_t cy, bool in_body);
bool settle_into_cell(World& world, SpitParticle& q, int64_t sx, int64_t sy);

// A particle born inside a cell (the snout pressed against a wall) meets that
// cell at once, as its flight would: fire lights it or sets it off, plasma
// bores, anything else settles back toward the snout. Returns false when the
// particle found no room in front of the snout; it is then not charged.
bool meet_spawn_cell(World& world, SpitParticle& q, int64_t cx, int64_t cy) {
    switch (meet_cell(world, q, cx, cy, false)) {
        case CellOutcome::Continue: return true;
        case CellOutcome::Died: q.active = false; return true;
        case CellOutcome::Settle: break;
    }
    if (settle_into_cell(world, q, cx, cy)) return true;
    q.active = false;
    return false;
}

// One attempt of the stream; returns whether a particle was created.
bool emit_one(World& world, Player& p, Inventory& inv, SpitState& spit, SpitAim aim, bool empowered_fire) {
    const Material m = active_material(inv);
    uint32_t r = world_rand(world);
    int64_t s = 0;
    if (m == Material::Plasma) {
        r = world_rand(world);
        s = static_cast<int64_t>(r % 3u) - 1;
    } else {
        s = static_cast<int64_t>(r % 9u) - 4;
    }
    if (m == Material::Empty) return false;  // the last unit went earlier this step

    p.facing = static_cast<float>(p.x + 7) > aim.x ? -1 : 1;
    const int64_t row = p.y + MOUTH_ROW;
    const int64_t mouth = mouth_column(world, p, row);
    float ux = aim.x - static_cast<float>(mouth);
    float uy = aim.y - static_cast<float>(row);
    const float len = std::sqrt(ux * ux + uy * uy);
    if (len < 0.01f) {
        ux = static_cast<float>(p.facing);
        uy = 0.0f;
    } else {
        ux /= len;
        uy /= len;
    }
    const auto k = static_cast<float>(world_rand(world) % 3u);
    const auto fs = static_cast<float>(s);
    const int64_t cx = mouth + p.facing * nint(STEEP_AIM_LEAD * std::fabs(uy)) + nint(-uy * fs) + nint(ux * k);
    const int64_t cy = row + nint(ux * fs) + nint(uy * k);
    if (!in_world(cx, cy) || cell_in_actor(world, cx, cy)) return false;
    const bool born_in_cell = cell_at(world, cx, cy).material != Material::Empty;
    const int64_t slot = free_slot(spit);
    if (slot < 0) return false;

    const bool plasma = m == Material::Plasma;
    const StreamTuning& tune = plasma ? PLASMA_STREAM : SPIT_STREAM;
    if (plasma) {
        for (int i = 0; i < PLASMA_DISCARDED_DRAWS; ++i) world_rand(world);
    }
    const float t1 = unit(world_rand(world));
    const float t2 = unit(world_rand(world));
    const uint32_t r3 = world_rand(world);
    const uint32_t r4 = world_rand(world);
    const float j = (t1 - 0.5f) * tune.jitter;
    const float v = tune.speed_base + tune.speed_range * t2;

    SpitParticle& q = spit.particles[static_cast<size_t>(slot)];
    q = SpitParticle{};
    q.x = static_cast<float>(cx);
    q.y = static_cast<float>(cy);
    q.vel_x = v * (ux - uy * j);
    q.vel_y = v * (uy + ux * j);
    q.material = m;
    q.shade = static_cast<uint8_t>(r4 % 4u);
    q.life = static_cast<uint16_t>(tune.life_base + r3 % LIFE_SPREAD);
    q.active = true;
    q.pierce = plasma ? PLASMA_PIERCE : 0;
    q.large = m == Material::Fire && empowered_fire;
    spit.spit_next = (slot + 1) % MAX_SPIT_PARTICLES;
    if (born_in_cell && !meet_spawn_cell(world, q, cx, cy)) return false;
    spend_unit(inv);  // once per particle created, never for a dropped one
    return true;
}

// --- Flight -------------------------------------------------------------------------

int64_t hit_damage(const SpitParticle& q) {
    if (q.material == Material::Fire && q.large) return LARGE_FIRE_DAMAGE;
    for (const HitDamage& h : HIT_DAMAGE) {
        if (h.material == q.material) return h.damage;
    }
    return 0;
}

// Hands the particle's damage to every enemy covering the cell (in table
// order); a frozen boss swallows it harmlessly. Returns whether any enemy was
// there.
bool hit_enemies(World& world, const SpitParticle& q, int64_t cx, int64_t cy) {
    bool hit = false;
    const ActorBands& bands = world.actor_bands;
    const auto band = static_cast<size_t>(cx / ACTOR_BAND_COLUMNS);
    for (int8_t k = 0; k < bands.count[band]; ++k) {
        Enemy& e = world.enemies[static_cast<size_t>(bands.index[band][static_cast<size_t>(k)])];
        if (!enemy_covers(enemy_kind(e), cx, cy, e.x, e.y)) continue;
        hit = true;
        if (enemy_kind(e) == EnemyKind::Boss && world.boss_frozen) continue;
        e.pending_damage += hit_damage(q);
        e.alert_time = HIT_ALERT;
    }
    return hit;
}

bool place_into(World& world, SpitParticle& q, int64_t x, int64_t y) {
    set_cell(world, x, y, q.material);
    Cell& c = cell_at(world, x, y);
    if (c.material != q.material) return false;
    c.shade = q.shade;
    q.active = false;
    return true;
}

// Turns the particle into a cell at the stop or up to six cells back along
// its flight; returns whether one took it.
bool settle_into_cell(World& world, SpitParticle& q, int64_t sx, int64_t sy) {
    const float speed = std::sqrt(q.vel_x * q.vel_x + q.vel_y * q.vel_y);
    const float wx = speed > 0.0f ? q.vel_x / speed : 0.0f;
    const float wy = speed > 0.0f ? q.vel_y / speed : 0.0f;
    const bool solid = is_solid(q.material);
    for (int64_t f = 0; f < SETTLE_BACKOFF; ++f) {
        const int64_t x = sx - nint(wx * static_cast<float>(f));
        const int64_t y = sy - nint(wy * static_cast<float>(f));
        if (!in_world(x, y) || cell_in_actor(world, x, y)) continue;
        const Material here = cell_at(world, x, y).material;
        if (here == Material::Empty) {
            if (place_into(world, q, x, y)) return true;
            continue;
        }
        if (solid && is_moving(here) && displace_cell(world, x, y, x, y, DisplaceMode::SingleCell, -1) &&
            cell_at(world, x, y).material == Material::Empty && place_into(world, q, x, y)) {
            return true;
        }
    }
    return false;
}

// A stone that finds no room falls on from the stop; anything else is lost.
void settle(World& world, SpitParticle& q, int64_t sx, int64_t sy) {
    if (settle_into_cell(world, q, sx, sy)) return;
    if (!is_solid(q.material)) {
        q.active = false;
        return;
    }
    q.falling = true;
    q.vel_x = 0.0f;
    q.vel_y = 0.0f;
    q.x = static_cast<float>(sx);
    q.y = static_cast<float>(sy);
}

// What a flying particle does on meeting the cell (cx, cy), on the grid;
// `in_body` is whether an actor's body covers it.
CellOutcome meet_cell(World& world, SpitParticle& q, int64_t cx, int64_t cy, bool in_body) {
    const Material here = cell_at(world, cx, cy).material;
    if (q.material == Material::Plasma) {
        if (in_body) return CellOutcome::Died;
        if (here == Material::Empty) return CellOutcome::Continue;
        set_cell(world, cx, cy, Material::Empty);  // plasma bores
        if (q.pierce == 0) q.pierce = PLASMA_PIERCE;
        --q.pierce;
        return q.pierce == 0 ? CellOutcome::Died : CellOutcome::Continue;
    }
    if (q.material == Material::Fire && (here == Material::Petrol || here == Material::Powder)) {
        set_cell(world, cx, cy, Material::Boom);  // fire sets petrol and powder off
        return CellOutcome::Died;
    }
    if (in_body) return CellOutcome::Settle;
    if (here == Material::Empty) return CellOutcome::Continue;
    // A stone flies on through sand, water and smoke; anything else stops.
    if (is_solid(q.material) && !is_solid(here)) return CellOutcome::Continue;
    return CellOutcome::Settle;
}

CellOutcome enter_cell(World& world, SpitParticle& q, int64_t cx, int64_t cy) {
    if (!in_world(cx, cy)) return CellOutcome::Died;
    if (hit_enemies(world, q, cx, cy)) return CellOutcome::Died;
    return meet_cell(world, q, cx, cy, cell_in_banded_bodies(world, cx, cy));
}

void fly(World& world, SpitParticle& q) {
    const float tx = q.x + q.vel_x;
    const float ty = q.y + q.vel_y;
    auto x = static_cast<int64_t>(std::trunc(q.x));
    auto y = static_cast<int64_t>(std::trunc(q.y));
    const auto x1 = static_cast<int64_t>(std::trunc(tx));
    const auto y1 = static_cast<int64_t>(std::trunc(ty));
    if (x == x1 && y == y1) {
        q.x = tx;
        q.y = ty;
        return;
    }
    // Bresenham from the current cell (not entered again) to the target's.
    const int64_t dx = std::abs(x1 - x);
    const int64_t dy = -std::abs(y1 - y);
    const int64_t sx = x < x1 ? 1 : -1;
    const int64_t sy = y < y1 ? 1 : -1;
    int64_t err = dx + dy;
    while (x != x1 || y != y1) {
        const int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
        switch (enter_cell(world, q, x, y)) {
            case CellOutcome::Died: q.active = false; return;
            case CellOutcome::Settle: settle(world, q, x, y); return;
            case CellOutcome::Continue: break;
        }
    }
    q.x = tx;
    q.y = ty;
}

void age(SpitParticle& q) {
    ++q.age;
    if (q.age >= q.life && !q.falling) {
        if (q.material == Material::Plasma || q.material == Material::Fire) {
            q.active = false;  // breath and beams vanish when spent
            return;
        }
        q.falling = true;
    }
    if (q.falling) q.vel_y = std::min(q.vel_y + TIRED_GRAVITY, TIRED_MAX_FALL);
}

}  // namespace

Material spit_step(World& world, Player& p, Inventory& inv, SpitState& spit, SpitAim aim) {
    const Material m = active_material(inv);
    if (!aim.on || m == Material::Empty) {
        spit.spit_pose = std::max(spit.spit_pose - STEP, 0.0f);
        spit.spit_idle = true;
        return Material::Empty;
    }
    const bool empowered_fire = m == Material::Fire && p.empowered;
    const int64_t attempts = empowered_fire ? BREATH_PER_STEP : SPIT_PER_STEP;
    bool created = false;
    for (int64_t i = 0; i < attempts; ++i) created |= emit_one(world, p, inv, spit, aim, empowered_fire);
    spit.spit_pose = std::min(spit.spit_pose + STEP, SPIT_POSE_MAX);
    spit.spit_idle = !created;
    return created ? m : Material::Empty;
}

void update_spit_particles(World& world, SpitState& spit) {
    index_actor_bands(world);  // no enemy moves during the pass
    for (SpitParticle& q : spit.particles) {
        if (!q.active) continue;
        age(q);
        if (q.active) fly(world, q);
    }
}
