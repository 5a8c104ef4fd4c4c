#include "combat/enemy.h"

#include "world/level.h"
#include "world/world.h"

bool enemy_blocked(const World& world, EnemyKind kind, int64_t ex, int64_t ey) {
    (void)world;
    (void)kind;
    (void)ex;
    (void)ey;
    return false;
}

bool spawn_enemy(World& world, const Level& level, int64_t column, EnemyKind kind, int64_t group,
                 int64_t side, int64_t slot) {
    (void)world;
    (void)level;
    (void)column;
    (void)kind;
    (void)group;
    (void)side;
    (void)slot;
    return false;
}

void populate_enemies(World& world, const Level& level, uint32_t seed_state) {
    (void)world;
    (void)level;
    (void)seed_state;
}
