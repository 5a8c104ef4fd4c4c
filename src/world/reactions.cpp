#include "world/reactions.h"

#include <algorithm>

#include "world/particles.h"
#include "world/physics.h"
#include "world/player_particles.h"

namespace {

// Neighbour order of every heat and reaction rule: up, right, down, left.
constexpr std::array<int64_t, 4> NEIGHBOUR_DX = {0, 1, 0, -1};
constexpr std::array<int64_t, 4> NEIGHBOUR_DY = {-1, 0, 1, 0};

constexpr int32_t FIRE_TEMP = 320;
constexpr int32_t PLASMA_TEMP = 1800;
constexpr int32_t LAVA_SOLID_TEMP = 399;
constexpr int32_t HEAT_DEAD_BAND = 7;        // differences up to this never flow
constexpr int32_t HEAT_DIVISOR = 8;
constexpr int32_t IRON_HEAT_DIVISOR = 4;     // iron conducts twice as fast
constexpr int32_t LAVA_HEAT_LIMIT = 3;       // lava gives or takes at most this per neighbour
constexpr int32_t COOLING_DIVISOR = 60;
constexpr int32_t BURNING_TEMP = 180;
constexpr int16_t BURN_STEP = 2;
constexpr int16_t BURNT_OUT = 100;
constexpr uint32_t FLAME_EVERY_TICKS = 5;
constexpr int32_t FIRE_WARMS_WOOD = 22;
constexpr int32_t LAVA_BOIL_COST = 3;
constexpr uint32_t LAVA_COOL_EVERY_TICKS = 4;
constexpr int16_t ACID_BITE_COST = 4;
constexpr int16_t STEAM_MIN_AGE = 121;
constexpr int32_t STEAM_CONDENSE_TEMP = 85;
constexpr uint32_t STEAM_CONDENSE_CHANCE = 3;  // r % 100 <= 2
constexpr uint32_t FIRE_LEAVES_SMOKE_CHANCE = 65;

constexpr int64_t BLAST_RADIUS_SQ = BLAST_RADIUS * BLAST_RADIUS;
constexpr int64_t BLAST_FIRE_RADIUS_SQ = 296;  // fire is lit only this far out
constexpr int64_t WOOD_SHATTER_RADIUS_SQ = 82;  // wood closer than this always goes
static_assert(BLAST_RADIUS_SQ == 400);
static_assert(BURST_DIRECTIONS.size() * PARTICLES_PER_DIRECTION == 48);

bool is_wood_or_grass(Material m) { return m == Material::Wood || m == Material::Grass; }

int64_t sign_of(int64_t v) { return (v > 0) - (v < 0); }

// (a) Fire and plasma hold their heat; lava that has cooled enough sets.
void set_temperature(World& world, int64_t x, int64_t y, Material m0) {
    Cell& c = cell_at(world, x, y);
    switch (m0) {
        case Material::Fire: c.temperature = FIRE_TEMP; break;
        case Material::Plasma: c.temperature = PLASMA_TEMP; break;
        case Material::Lava:
            if (c.temperature <= LAVA_SOLID_TEMP) {
                set_cell(world, x, y, c.origin == Material::Iron ? Material::Iron : Material::Stone);
            }
            break;
        default: break;
    }
}

// Trades heat between c and its neighbour n, which sits at (nx, ny).
[[gnu::always_inline]] inline void exchange_with(World& world, Cell& c, Cell& n, int64_t nx, int64_t ny) {
    if (n.material == Material::Empty) return;
    const int32_t dt = c.temperature - n.temperature;
    if (dt >= -HEAT_DEAD_BAND && dt <= HEAT_DEAD_BAND) return;
    const bool iron = c.material == Material::Iron || n.material == Material::Iron;
    int32_t q = dt / (iron ? IRON_HEAT_DIVISOR : HEAT_DIVISOR);
    if (c.material == Material::Lava || n.material == Material::Lava) {
        q = std::clamp(q, -LAVA_HEAT_LIMIT, LAVA_HEAT_LIMIT);
    }
    n.temperature += q;
    c.temperature -= q;
    enqueue_cell(world, nx, ny);
}

// (b) Each solid, liquid or gas neighbour trades an eighth of the difference.
void exchange_heat(World& world, int64_t x, int64_t y) {
    // Every listed cell comes through here, so the neighbours are plain
    // offsets from its own cell, and away from the rim one test covers all four.
    Cell* const c = &cell_at(world, x, y);
    if (x >= 1 && x < WORLD_W - 1 && y >= 1 && y < WORLD_H - 1) {
        exchange_with(world, *c, c[-WORLD_W], x, y - 1);
        exchange_with(world, *c, c[1], x + 1, y);
        exchange_with(world, *c, c[WORLD_W], x, y + 1);
        exchange_with(world, *c, c[-1], x - 1, y);
        return;
    }
    // Up, right, down, left; on the rim only the neighbours on the grid.
    if (y > 0) exchange_with(world, *c, c[-WORLD_W], x, y - 1);
    if (x < WORLD_W - 1) exchange_with(world, *c, c[1], x + 1, y);
    if (y < WORLD_H - 1) exchange_with(world, *c, c[WORLD_W], x, y + 1);
    if (x > 0) exchange_with(world, *c, c[-1], x - 1, y);
}

// (c) Warm cells lose heat to the air; nothing warms back up on its own.
void cool(World& world, int64_t x, int64_t y, Material m0) {
    if (m0 == Material::Fire || m0 == Material::Plasma || m0 == Material::Lava) return;
    Cell& c = cell_at(world, x, y);
    if (c.temperature < AMBIENT_TEMP + 1) return;
    c.temperature -= std::max(1, (c.temperature - AMBIENT_TEMP) / COOLING_DIVISOR);
}

// (d) A cell bitten down to nothing disappears.
void wear(World& world, int64_t x, int64_t y) {
    if (cell_at(world, x, y).integrity <= 0) set_cell(world, x, y, Material::Empty);
}

// (e) Remains, blood and potion soak away over time.
void decay(World& world, int64_t x, int64_t y) {
    Cell& c = cell_at(world, x, y);
    c.life = static_cast<int16_t>(c.life - 1);
    if (c.life <= 0) set_cell(world, x, y, Material::Empty);
}

// (f) Plasma burns through one neighbour per update and spends itself doing so.
void plasma_eat(World& world, int64_t x, int64_t y) {
    for (size_t k = 0; k < NEIGHBOUR_DX.size(); ++k) {
        const int64_t nx = x + NEIGHBOUR_DX[k];
        const int64_t ny = y + NEIGHBOUR_DY[k];
        if (!in_world(nx, ny)) continue;
        const Material n = cell_at(world, nx, ny).material;
        if (n == Material::Empty || n == Material::Plasma) continue;
        set_cell(world, nx, ny, Material::Empty);
        Cell& c = cell_at(world, x, y);
        c.integrity = static_cast<int16_t>(c.integrity - 1);
        if (c.integrity <= 0) set_cell(world, x, y, Material::Empty);
        return;
    }
}

// (g) Acid ages only once it has found something to eat, and bites every other tick.
void acid_bite(World& world, int64_t x, int64_t y) {
    Cell& c = cell_at(world, x, y);
    if (acid_touches_food(world, x, y)) c.progress = 1;
    if (c.progress == 1) {
        c.life = static_cast<int16_t>(c.life - 1);
        if (c.life <= 0) {
            set_cell(world, x, y, Material::Empty);
            return;
        }
    }
    if (world.tick % 2 != 0) return;
    constexpr std::array<int64_t, 3> BITE_DX = {0, -1, 1};
    constexpr std::array<int64_t, 3> BITE_DY = {1, 0, 0};
    for (size_t k = 0; k < BITE_DX.size(); ++k) {
        const int64_t nx = x + BITE_DX[k];
        const int64_t ny = y + BITE_DY[k];
        if (!in_world(nx, ny)) continue;
        Cell& food = cell_at(world, nx, ny);
        if (!is_acid_food(food.material)) continue;
        food.integrity = static_cast<int16_t>(food.integrity - 1);
        c.life = static_cast<int16_t>(c.life - ACID_BITE_COST);
        enqueue_cell(world, nx, ny);
        return;
    }
}

// Turns the liquid at (x, y) into steam. Steam boiled from acid remembers it,
// whatever boiled it, so that it rains back down as acid.
void boil(World& world, int64_t x, int64_t y) {
    const Material liquid = cell_at(world, x, y).material;
    set_cell(world, x, y, Material::Steam);
    Cell& c = cell_at(world, x, y);
    if (liquid == Material::Acid && c.material == Material::Steam) c.origin = Material::Acid;
}

// (h) Lava sets wood alight and boils every other liquid it touches.
void lava_heat(World& world, int64_t x, int64_t y) {
    for (size_t k = 0; k < NEIGHBOUR_DX.size(); ++k) {
        const int64_t nx = x + NEIGHBOUR_DX[k];
        const int64_t ny = y + NEIGHBOUR_DY[k];
        if (!in_world(nx, ny)) continue;
        Cell& n = cell_at(world, nx, ny);
        if (is_wood_or_grass(n.material)) {
            n.temperature = std::max(n.temperature, BURNING_TEMP);
            n.burning = true;
            enqueue_cell(world, nx, ny);
        } else if (n.material == Material::Petrol) {
            set_cell(world, nx, ny, Material::Boom);
            cell_at(world, x, y).temperature -= LAVA_BOIL_COST;
        } else if (n.material != Material::Lava && kind_of(n.material) == MaterialKind::Liquid) {
            boil(world, nx, ny);
            cell_at(world, x, y).temperature -= LAVA_BOIL_COST;
        }
    }
    if (world.tick % LAVA_COOL_EVERY_TICKS == 0) cell_at(world, x, y).temperature -= 1;
}

// Fire warms wood, sets off powder and petrol, and is put out by water.
// Returns false when the fire met water: its turn ends there.
bool spread_fire(World& world, int64_t x, int64_t y) {
    for (size_t k = 0; k < NEIGHBOUR_DX.size(); ++k) {
        const int64_t nx = x + NEIGHBOUR_DX[k];
        const int64_t ny = y + NEIGHBOUR_DY[k];
        if (!in_world(nx, ny)) continue;
        Cell& n = cell_at(world, nx, ny);
        switch (n.material) {
            case Material::Water:
                set_cell(world, x, y, Material::Smoke);
                set_cell(world, nx, ny, Material::Steam);
                return false;
            case Material::Wood:
            case Material::Grass:
                n.temperature += FIRE_WARMS_WOOD;
                enqueue_cell(world, nx, ny);
                break;
            case Material::Powder:
            case Material::Petrol: set_cell(world, nx, ny, Material::Boom); break;
            default: break;
        }
    }
    return true;
}

// Wood and grass catch at their ignition point, burn for fifty updates while
// throwing flames upward, and leave smoke or bare ground.
void burn(World& world, int64_t x, int64_t y, Material m0) {
    Cell& c = cell_at(world, x, y);
    if (c.temperature >= props_of(m0).ignite_temp) c.burning = true;
    if (!c.burning) return;
    c.temperature = std::max(c.temperature, BURNING_TEMP);
    c.progress = static_cast<int16_t>(c.progress + BURN_STEP);
    if (world.tick % FLAME_EVERY_TICKS == 0 && in_world(x, y - 1) &&
        cell_at(world, x, y - 1).material == Material::Empty) {
        set_cell(world, x, y - 1, Material::Fire);
    }
    if (cell_at(world, x, y).progress >= BURNT_OUT) {
        set_cell(world, x, y, m0 == Material::Grass ? Material::Ground : Material::Smoke);
    }
}

// Old, cooled steam rains back down as whatever it was boiled from.
void condense(World& world, int64_t x, int64_t y) {
    const Cell& c = cell_at(world, x, y);
    const Material liquid = c.origin == Material::Acid ? Material::Acid : Material::Water;
    if (c.life <= 0) {
        set_cell(world, x, y, liquid);
        return;
    }
    const int16_t age = static_cast<int16_t>(c.life_max - c.life);
    if (age < STEAM_MIN_AGE || c.temperature > STEAM_CONDENSE_TEMP) return;
    if (world_rand(world) % 100 < STEAM_CONDENSE_CHANCE) set_cell(world, x, y, liquid);
}

// Replaces the cell by `to` once it is at least `threshold` degrees; `origin`
// remembers what the new cell was made of (steam from acid, lava from iron).
void change_phase_at(World& world, int64_t x, int64_t y, int32_t threshold, Material to,
                     Material origin = Material::Empty) {
    if (cell_at(world, x, y).temperature < threshold) return;
    set_cell(world, x, y, to);
    Cell& c = cell_at(world, x, y);
    if (origin != Material::Empty && c.material == to) c.origin = origin;
}

// (i) The rule of the cell's own material. Returns false if a rule ended the turn.
bool material_rule(World& world, int64_t x, int64_t y, Material m0) {
    const MaterialProps& p = props_of(m0);
    switch (m0) {
        case Material::Water: change_phase_at(world, x, y, p.boil_temp, Material::Steam); break;
        case Material::Stone: change_phase_at(world, x, y, p.melt_temp, Material::Lava); break;
        case Material::Smoke: change_phase_at(world, x, y, p.ignite_temp, Material::Fire); break;
        case Material::Powder:
        case Material::Petrol: change_phase_at(world, x, y, p.ignite_temp, Material::Boom); break;
        case Material::Acid:
            if (cell_at(world, x, y).temperature >= p.boil_temp) boil(world, x, y);
            break;
        case Material::Iron:
            change_phase_at(world, x, y, p.melt_temp, Material::Lava, Material::Iron);
            break;
        case Material::Snow: change_phase_at(world, x, y, p.melt_temp, Material::Water); break;
        case Material::Fire: return spread_fire(world, x, y);
        case Material::Wood:
        case Material::Grass: burn(world, x, y, m0); break;
        case Material::Steam: condense(world, x, y); break;
        case Material::Boom:
            if (cell_at(world, x, y).progress == 0) detonate(world, x, y);
            break;
        default: break;
    }
    return true;
}

// (j) Gases burn out; a dying flame leaves smoke two times in three.
void age_gas(World& world, int64_t x, int64_t y, Material m0) {
    Cell& c = cell_at(world, x, y);
    c.life = static_cast<int16_t>(c.life - 1);
    if (c.life > 0) return;
    switch (m0) {
        case Material::Fire: {
            const bool smoke = world_rand(world) % 100 < FIRE_LEAVES_SMOKE_CHANCE;
            set_cell(world, x, y, smoke ? Material::Smoke : Material::Empty);
            break;
        }
        case Material::Steam: break;  // condenses at its next update
        default: set_cell(world, x, y, Material::Empty); break;
    }
}

// Percent chance that the blast removes a cell of material q; -1 is certain
// removal without a roll.
int64_t destruction_chance(Material q, int64_t d2, int64_t p) {
    switch (q) {
        case Material::Stone: return (BLAST_RADIUS_SQ - d2) / 8 + 3;
        case Material::Wood: return d2 < WOOD_SHATTER_RADIUS_SQ ? -1 : p * 75 / 100 + 20;
        case Material::Iron: return p * 22 / 100 + 1;
        case Material::Ground: return p * 58 / 100 + 5;
        case Material::Grass: return p * 70 / 100 + 18;
        case Material::Glass: return p * 70 / 100 + 25;
        default: return p * 70 / 100 + 12;
    }
}

void burst(World& world, int64_t x, int64_t y) {
    const float px = static_cast<float>(x) + 0.5f;
    const float py = static_cast<float>(y) + 0.5f;
    for (const BurstDirection dir : BURST_DIRECTIONS) {
        for (int64_t k = 0; k < PARTICLES_PER_DIRECTION; ++k) {
            if (world.particle_count >= MAX_PARTICLES) return;
            const uint32_t r1 = world_rand(world);
            const uint32_t r2 = world_rand(world);
            const uint32_t r3 = world_rand(world);
            const uint32_t r4 = world_rand(world);
            const float speed = static_cast<float>(r1 % 38 + 25) / 10.0f;
            const float jitter = static_cast<float>(static_cast<int32_t>(r2 % 11) - 5) / 10.0f;
            const uint8_t life = static_cast<uint8_t>((r3 & 15) + 10);
            Particle spark{};
            spark.x = px;
            spark.y = py;
            spark.vel_x = static_cast<float>(dir.dx) * speed + jitter;
            spark.vel_y = static_cast<float>(dir.dy) * speed - jitter;
            spark.life = life;
            spark.life_max = life;
            spark.shade = static_cast<uint8_t>(r4 & 3);
            emit_particle(world, spark);
        }
    }
}

// Loose material that survived the blast is shoved one cell further out.
void push_outward(World& world, int64_t cx, int64_t cy, int64_t dx, int64_t dy) {
    const int64_t tx = cx + sign_of(dx);
    const int64_t ty = cy + sign_of(dy);
    if (!in_world(tx, ty) || cell_at(world, tx, ty).material != Material::Empty) return;
    if (cell_in_actor(world, tx, ty)) return;
    swap_cells(world, cx, cy, tx, ty);
    enqueue_cell(world, tx, ty);
}

void blast_cell(World& world, int64_t x, int64_t y, int64_t dx, int64_t dy, int64_t d2) {
    const int64_t cx = x + dx;
    const int64_t cy = y + dy;
    const int64_t p = (BLAST_RADIUS_SQ - d2) * 100 / BLAST_RADIUS_SQ;
    const Material q = cell_at(world, cx, cy).material;
    switch (q) {
        case Material::Petrol:
        case Material::Powder: set_cell(world, cx, cy, Material::Boom); return;
        case Material::Boom:
            // Never destroyed, but an older cloud is shoved like any gas.
            if (dx != 0 || dy != 0) push_outward(world, cx, cy, dx, dy);
            return;
        case Material::Fire:
        case Material::Plasma: return;
        case Material::Empty:
            if (d2 <= BLAST_FIRE_RADIUS_SQ &&
                static_cast<int64_t>(world_rand(world) % 100) < p / 9 + 5) {
                set_cell(world, cx, cy, Material::Fire);
            }
            return;
        default: break;
    }
    const int64_t chance = destruction_chance(q, d2, p);
    if (chance < 0 || static_cast<int64_t>(world_rand(world) % 100) < chance) {
        set_cell(world, cx, cy, Material::Empty);
        return;
    }
    if (is_moving(q) && (dx != 0 || dy != 0)) push_outward(world, cx, cy, dx, dy);
}

void blast(World& world, int64_t x, int64_t y) {
    for (int64_t dy = -BLAST_RADIUS; dy <= BLAST_RADIUS; ++dy) {
        for (int64_t dx = -BLAST_RADIUS; dx <= BLAST_RADIUS; ++dx) {
            const int64_t d2 = dx * dx + dy * dy;
            if (d2 > BLAST_RADIUS_SQ || !in_world(x + dx, y + dy)) continue;
            blast_cell(world, x, y, dx, dy, d2);
        }
    }
}

}  // namespace

void detonate(World& world, int64_t x, int64_t y) {
    const size_t block = static_cast<size_t>((y / EXPLOSION_BLOCK) * EXPLOSION_BLOCKS_X + x / EXPLOSION_BLOCK);
    const uint32_t last = static_cast<uint32_t>(world.explosion_mark[block]);
    // One burst per block in any five ticks keeps a powder field's chain affordable.
    const bool recent = last != 0 && world.tick - last < EXPLOSION_COOLDOWN_TICKS;
    if (!recent) {
        world.explosion_mark[block] = static_cast<int32_t>(world.tick);
        world.explosion_count += 1;
        burst(world, x, y);
        blast(world, x, y);
    }
    cell_at(world, x, y).progress = 1;
}

bool react_cell(World& world, int64_t x, int64_t y, Material m0) {
    const auto replaced = [&] { return cell_at(world, x, y).material != m0; };
    set_temperature(world, x, y, m0);
    if (replaced()) return false;
    exchange_heat(world, x, y);
    cool(world, x, y, m0);
    wear(world, x, y);
    if (replaced()) return false;
    // Decay, plasma, acid and hot lava each belong to one material only.
    switch (m0) {
        case Material::KnightDebris:
        case Material::OgreDebris:
        case Material::Blood:
        case Material::Potion: decay(world, x, y); break;
        case Material::Plasma: plasma_eat(world, x, y); break;
        case Material::Acid: acid_bite(world, x, y); break;
        case Material::Lava: lava_heat(world, x, y); break;
        default: break;
    }
    if (replaced()) return false;
    if (!material_rule(world, x, y, m0) || replaced()) return false;
    if (kind_of(m0) == MaterialKind::Gas) {
        age_gas(world, x, y, m0);
        if (replaced()) return false;
    }
    return true;
}
