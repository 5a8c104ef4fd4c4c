#include "combat/barrels.h"

#include <cstdlib>

#include "world/physics.h"

namespace {

constexpr float STEP = 1.0f / 60.0f;
constexpr float EAT_OPEN_TIME = 0.36f;
constexpr float EAT_END_TIME = 0.72f;
constexpr float BREAK_REMOVE_TIME = 0.54f;
constexpr int64_t EAT_REACH_X = 60;
constexpr int64_t EAT_REACH_Y = 48;
constexpr int64_t EAT_REACH_FROM_X = 27;  // measured from in front of the snout
constexpr int64_t EAT_REACH_FROM_Y = 22;
constexpr int64_t SPILL_RADIUS = 10;
constexpr int64_t SPILL_RADIUS_SQ = 99;
constexpr int64_t BARREL_CENTRE_X = 10;
constexpr int64_t BARREL_CENTRE_Y = 12;

bool in_reach(const Player& p, const Barrel& b) {
    const int64_t dx = p.x + EAT_REACH_FROM_X - b.x;
    const int64_t dy = p.y + EAT_REACH_FROM_Y - b.y;
    return dx >= 0 && dx <= EAT_REACH_X && dy >= 0 && dy <= EAT_REACH_Y;
}

int64_t centre_distance(const Player& p, const Barrel& b) {
    return std::abs(b.x + BARREL_CENTRE_X - (p.x + 7));
}

bool in_body_box(const Player& p, int64_t x, int64_t y) {
    return x >= p.x && x < p.x + PLAYER_W && y >= p.y && y < p.y + PLAYER_H;
}

// The content pours out in a disc around the barrel's middle, leaving the
// dragon's body free.
void spill(World& world, const Barrel& b, const Player& p) {
    for (int64_t dy = -SPILL_RADIUS; dy < SPILL_RADIUS; ++dy) {
        for (int64_t dx = -SPILL_RADIUS; dx < SPILL_RADIUS; ++dx) {
            if (dx * dx + dy * dy > SPILL_RADIUS_SQ) continue;
            const int64_t x = b.x + BARREL_CENTRE_X + dx;
            const int64_t y = b.y + BARREL_CENTRE_Y + dy;
            if (in_world(x, y) && !in_body_box(p, x, y)) set_cell(world, x, y, b.material);
        }
    }
}

}  // namespace

int64_t barrel_being_eaten(const Level& level) {
    for (int64_t i = 0; i < level.barrel_count; ++i) {
        if (level.barrels[static_cast<size_t>(i)].being_eaten) return i;
    }
    return NO_BARREL;
}

bool barrel_intact(const World& world, const Barrel& b) {
    for (int64_t r = 0; r < BARREL_H; ++r) {
        for (int64_t c = 0; c < BARREL_W; ++c) {
            if (!barrel_shape_covers(c, r)) continue;
            if (material_at(world, b.x + c, b.y + r, Material::Empty) != Material::Wood) return false;
        }
    }
    return true;
}

bool try_eat_barrel(Level& level, Player& p, const Inventory& inv) {
    if (barrel_being_eaten(level) != NO_BARREL) return false;
    int64_t best = NO_BARREL;
    for (int64_t i = 0; i < level.barrel_count; ++i) {
        const Barrel& b = level.barrels[static_cast<size_t>(i)];
        if (b.broken || !in_reach(p, b) || !can_take(inv, b.material)) continue;
        if (best == NO_BARREL || centre_distance(p, b) < centre_distance(p, level.barrels[static_cast<size_t>(best)])) {
            best = i;
        }
    }
    if (best == NO_BARREL) return false;
    Barrel& b = level.barrels[static_cast<size_t>(best)];
    b.being_eaten = true;
    b.eat_time = 0.0f;
    p.facing = p.x + 7 <= b.x + BARREL_CENTRE_X ? 1 : -1;
    p.vel_x = 0.0f;
    p.vel_y = 0.0f;
    p.frac_x = 0.0f;
    p.frac_y = 0.0f;
    return true;
}

void open_barrel(World& world, Barrel& b, const Player& p, Inventory& inv, bool eaten) {
    b.broken = true;
    b.eaten = eaten;
    b.break_time = 0.0f;
    for (int64_t r = 0; r < BARREL_H; ++r) {
        for (int64_t c = 0; c < BARREL_W; ++c) {
            const int64_t x = b.x + c;
            const int64_t y = b.y + r;
            if (barrel_shape_covers(c, r) && in_world(x, y) && cell_at(world, x, y).material == Material::Wood) {
                set_cell(world, x, y, Material::Empty);
            }
        }
    }
    if (eaten) {
        add_material(inv, b.material);
    } else {
        spill(world, b, p);
    }
}

BarrelBreaks update_barrels(World& world, Level& level, const Player& p, Inventory& inv) {
    BarrelBreaks breaks{};
    for (int64_t i = 0; i < level.barrel_count; ++i) {
        Barrel& b = level.barrels[static_cast<size_t>(i)];
        const bool was_broken = b.broken;
        if (b.being_eaten) {
            b.eat_time += STEP;
            if (!b.broken) {
                if (!barrel_intact(world, b)) {
                    b.being_eaten = false;  // burnt while being eaten: it bursts instead
                    open_barrel(world, b, p, inv, false);
                } else if (b.eat_time >= EAT_OPEN_TIME) {
                    open_barrel(world, b, p, inv, true);
                }
            }
            if (b.eat_time >= EAT_END_TIME) b.being_eaten = false;
        } else if (!b.broken && !barrel_intact(world, b)) {
            open_barrel(world, b, p, inv, false);
        }
        if (b.broken && !b.removed) {
            b.break_time += STEP;
            if (b.break_time >= BREAK_REMOVE_TIME) b.removed = true;
        }
        if (b.broken && !was_broken) {
            ++(b.eaten ? breaks.eaten : breaks.smashed);
            breaks.eaten_in_order[static_cast<size_t>(breaks.count++)] = b.eaten;
        }
    }
    return breaks;
}
