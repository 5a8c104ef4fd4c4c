#include "combat/player_damage.h"

#include <algorithm>

#include "world/physics.h"
#include "world/player_particles.h"

namespace {

constexpr float STEP = 1.0f / 60.0f;
constexpr float HURT_FLASH = 1.0f;
constexpr float POTION_TICK = 0.18f;

constexpr int64_t BLOOD_DROPS = 8;
constexpr int64_t BLOOD_LEFT_COL = -1;  // just outside the body on each side
constexpr int64_t BLOOD_RIGHT_COL = 14;
constexpr int64_t BLOOD_TOP_ROW = 5;
constexpr uint32_t BLOOD_ROW_SPREAD = 10;

// Rows and columns of the body that a pool heals through: the lower half and
// one column either side.
constexpr int64_t POTION_TOP_ROW = 13;
constexpr int64_t POTION_BOTTOM_ROW = 21;

void spray_blood(World& world, const Player& p) {
    for (int64_t i = 0; i < BLOOD_DROPS; ++i) {
        const bool left = i % 2 == 0;
        const int64_t x = p.x + (left ? BLOOD_LEFT_COL : BLOOD_RIGHT_COL);
        const int64_t y = p.y + BLOOD_TOP_ROW + static_cast<int64_t>(world_rand(world) % BLOOD_ROW_SPREAD);
        if (!in_world(x, y) || cell_at(world, x, y).material != Material::Empty || cell_in_actor(world, x, y)) {
            continue;
        }
        set_cell(world, x, y, Material::Blood);
        const float away = static_cast<float>(world_rand(world) % 130u) / 100.0f + 0.5f;
        const float up = -0.5f - static_cast<float>(world_rand(world) % 100u) / 100.0f;
        const auto frames = static_cast<uint8_t>(world_rand(world) % 7u + 7u);
        Cell& c = cell_at(world, x, y);
        c.vel_x = left ? -away : away;
        c.vel_y = up;
        c.fling_frames = frames;
    }
}

bool touches_potion(const World& world, const Player& p) {
    for (int64_t y = p.y + POTION_TOP_ROW; y <= p.y + POTION_BOTTOM_ROW; ++y) {
        for (int64_t x = p.x - 1; x <= p.x + PLAYER_W; ++x) {
            if (in_world(x, y) && cell_at(world, x, y).material == Material::Potion) return true;
        }
    }
    return false;
}

}  // namespace

void hurt_player(World& world, Player& p, int64_t damage) {
    if (p.hp <= 0) return;
    p.hp = std::max<int64_t>(p.hp - damage, 0);
    p.flash_time = HURT_FLASH;
    spray_blood(world, p);
}

void potion_heal(const World& world, Player& p) {
    if (p.hp >= MAX_HP || !touches_potion(world, p)) {
        p.potion_time = 0.0f;
        return;
    }
    p.potion_time += STEP;
    if (p.potion_time >= POTION_TICK) {
        p.potion_time -= POTION_TICK;
        p.hp = std::min<int64_t>(p.hp + 1, MAX_HP);
    }
}
