#include "combat/enemy.h"

#include <algorithm>
#include <cstdlib>

#include "world/level.h"
#include "player/player.h"
#include "world/physics.h"
#include "world/player_particles.h"
#include "world/world.h"

namespace {

// --- Placement tuning ---------------------------------------------------------

constexpr int64_t SPAWN_SEARCH_RADIUS = 84;   // columns tried on each side of the asked one
constexpr int64_t LOWEST_SPAWN_COLUMN = 120;  // the cave and its mouth stay free of enemies

constexpr int64_t BOSS_COLUMN = 3250;
constexpr int64_t FIRST_FORMATION_COLUMN = 1215;
constexpr uint32_t FIRST_FORMATION_SPREAD = 55;
constexpr int64_t LAST_FORMATION_COLUMN = 2969;
constexpr uint32_t FORMATION_GAP_SPREAD = 65;
constexpr int64_t FORMATION_GAP_MIN = 195;
constexpr int64_t FORMATION_STEP = 13;          // columns between knights of one formation
constexpr int64_t OGRE_OFFSET = 10;             // past the formation's end
constexpr int64_t BARBARIAN_OFFSET = 25;
constexpr int64_t FORMATION_ENEMY_LIMIT = 34;   // a new formation starts only up to this count

// --- Placement ------------------------------------------------------------------

bool spawn_column_allowed(EnemyKind kind, int64_t column) {
    return column >= LOWEST_SPAWN_COLUMN && column < kind_props(kind).highest_spawn_column;
}

constexpr int64_t NO_ROW = -1;

// Lets the body fall from the level's surface line until it stands on
// something; returns the standing top row, or NO_ROW when the column has no
// footing (or the surface line itself is buried).
int64_t standing_row(const World& world, const Level& level, EnemyKind kind, int64_t column) {
    const EnemyKindProps& props = kind_props(kind);
    int64_t top = level.surface[static_cast<size_t>(column)] - props.height;
    if (enemy_blocked(world, kind, column, top)) return NO_ROW;
    while (top < props.lowest_spawn_top && !enemy_blocked(world, kind, column, top + 1)) ++top;
    return enemy_blocked(world, kind, column, top + 1) ? top : NO_ROW;
}

bool too_close_to_others(const World& world, EnemyKind kind, int64_t column, int64_t top) {
    const EnemyKindProps& props = kind_props(kind);
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        const Enemy& other = world.enemies[static_cast<size_t>(i)];
        const int64_t tallest = std::max(props.height, kind_props(enemy_kind(other)).height);
        if (std::abs(column - other.x) < props.spawn_spacing && std::abs(top - other.y) < tallest) {
            return true;
        }
    }
    return false;
}

// Standing row of the column if an enemy may be placed there, else NO_ROW.
int64_t spawn_row_at(const World& world, const Level& level, EnemyKind kind, int64_t column) {
    if (!spawn_column_allowed(kind, column)) return NO_ROW;
    const int64_t top = standing_row(world, level, kind, column);
    if (top == NO_ROW || too_close_to_others(world, kind, column, top)) return NO_ROW;
    return top;
}

void add_enemy(World& world, EnemyKind kind, int64_t x, int64_t y, int64_t group, int64_t side,
               int64_t slot) {
    Enemy& e = world.enemies[static_cast<size_t>(world.enemy_count++)];
    e = Enemy{};
    e.kind = static_cast<int64_t>(kind);
    e.x = x;
    e.y = y;
    e.group = group;
    e.group_side = side;
    e.group_slot = slot;
    e.hp = kind_props(kind).hp;
    e.facing = -1;
    e.alive = true;
    e.grounded = true;
}

// Spawns one formation of knights starting at column g; returns the column
// just past its last member.
int64_t spawn_formation(World& world, const Level& level, int64_t g, int64_t knights, int64_t id) {
    for (int64_t i = 0; i < knights; ++i) {
        const int64_t side = (i % 2 == 1) ? 1 : -1;
        spawn_enemy(world, level, g + FORMATION_STEP * i, EnemyKind::Knight, id, side, i / 2);
    }
    return g + FORMATION_STEP * knights;
}

}  // namespace

bool enemy_blocked(const World& world, EnemyKind kind, int64_t ex, int64_t ey) {
    return !every_body_cell(kind, ex, ey, [&](int64_t x, int64_t y) {
        if (!in_world(x, y)) return false;
        const MaterialKind k = kind_of(cell_at(world, x, y).material);
        return k != MaterialKind::Solid && k != MaterialKind::Powder;
    });
}

bool enemy_can_move(World& world, int64_t index, int64_t ex, int64_t ey, int64_t dir) {
    const Enemy& self = world.enemies[static_cast<size_t>(index)];
    const EnemyKind kind = enemy_kind(self);
    // First the whole shape must fit, so a refused move pushes nothing.
    const bool fits = every_body_cell(kind, ex, ey, [&](int64_t x, int64_t y) {
        if (!in_world(x, y)) return false;
        if (world.player_present && player_mask_covers(x, y, world.player_x, world.player_y)) return false;
        const MaterialKind k = kind_of(cell_at(world, x, y).material);
        // Rock that formed inside the body where the enemy stands (lava
        // cooling around it, a stone between a knight's legs) must not hold it
        // for good: it may move out through it, as the dragon does.
        if (k == MaterialKind::Solid) return enemy_holds(kind, x, y, self.x, self.y);
        return !(k == MaterialKind::Powder && dir > 0);
    });
    if (!fits) return false;
    return every_body_cell(kind, ex, ey, [&](int64_t x, int64_t y) {
        const MaterialKind k = kind_of(cell_at(world, x, y).material);
        if (k != MaterialKind::Powder && k != MaterialKind::Liquid && k != MaterialKind::Gas) return true;
        return displace_cell(world, x, y, ex, ey, DisplaceMode::Enemy, index) || k != MaterialKind::Powder;
    });
}

bool spawn_enemy(World& world, const Level& level, int64_t column, EnemyKind kind, int64_t group,
                 int64_t side, int64_t slot) {
    if (world.enemy_count >= MAX_ENEMIES) return false;
    for (int64_t i = 0; i <= SPAWN_SEARCH_RADIUS; ++i) {
        for (const int64_t c : {column + i, column - i}) {
            const int64_t top = spawn_row_at(world, level, kind, c);
            if (top == NO_ROW) continue;
            add_enemy(world, kind, c, top, group, side, slot);
            return true;
        }
    }
    return false;
}

void populate_enemies(World& world, const Level& level, uint32_t seed_state) {
    spawn_enemy(world, level, BOSS_COLUMN, EnemyKind::Boss, 0, 0, 0);
    uint32_t r = lcg_next(seed_state);
    int64_t g = r % FIRST_FORMATION_SPREAD + FIRST_FORMATION_COLUMN;
    int64_t f = 1;
    while (world.enemy_count <= FORMATION_ENEMY_LIMIT) {
        r = lcg_next(r);
        const int64_t e = spawn_formation(world, level, g, r % 4 + 2, f);
        if (f % 3 == 0) spawn_enemy(world, level, e + OGRE_OFFSET, EnemyKind::Ogre, 0, 0, 0);
        if (f % 2 == 0) spawn_enemy(world, level, e + BARBARIAN_OFFSET, EnemyKind::Barbarian, 0, 0, 0);
        r = lcg_next(r);
        g += r % FORMATION_GAP_SPREAD + FORMATION_GAP_MIN;
        ++f;
        if (g > LAST_FORMATION_COLUMN) break;
    }
    // The boss waits, still and unhurt, until its encounter begins.
    world.boss_frozen = true;
}
