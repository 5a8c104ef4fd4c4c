// The world update: walks the active list once, giving every listed cell one
// turn of heat and reactions, then movement, then the decision whether it
// needs another look next update.

#include <array>

#include "world/particles.h"
#include "world/physics.h"
#include "world/player_particles.h"
#include "world/reactions.h"

namespace {

constexpr float FLING_GRAVITY = 0.26f;
constexpr float FLING_MAX_FALL = 3.5f;
constexpr float FLING_DRAG = 0.97f;
// A blocked powder or liquid gets this many more looks before it sleeps.
constexpr uint8_t RESTLESS_UPDATES = 7;
constexpr uint8_t REST_FRAMES_MAX = 255;
// How many list entries ahead the walk asks for a cell's memory.
constexpr int64_t PREFETCH_AHEAD = 12;

constexpr bool decays(Material m) {
    return m == Material::KnightDebris || m == Material::OgreDebris || m == Material::Blood ||
           m == Material::Potion;
}

constexpr std::array<bool, MATERIAL_COUNT> make_restless_table() {
    std::array<bool, MATERIAL_COUNT> table{};
    for (int i = 0; i < MATERIAL_COUNT; ++i) {
        const Material m = static_cast<Material>(i);
        table[static_cast<size_t>(i)] = kind_of(m) == MaterialKind::Gas || decays(m);
    }
    return table;
}
// Gases and rotting remains: never at rest, whatever their state. Asked once
// per cell per update, so it is one byte lookup.
constexpr std::array<bool, MATERIAL_COUNT> RESTLESS = make_restless_table();

int64_t sign_of(int64_t v) { return (v > 0) - (v < 0); }

// Sideways preference of powders and gases: the sign of vel_x, or a coin.
int64_t preferred_direction(World& world, float vel_x) {
    if (vel_x > 0.0f) return 1;
    if (vel_x < 0.0f) return -1;
    return (world_rand(world) & 1u) ? 1 : -1;
}

// How a move follows on what went before in the cell's turn.
enum class Lead : uint8_t {
    Fresh,   // anything in the grid may have changed since this cell last moved
    Onward,  // the cell's own previous move was the last change to the grid
};

// try_move_cell, with the swap told whether it follows the cell's own move.
[[gnu::always_inline]] inline bool try_step(World& world, int64_t& x, int64_t& y, int64_t dx, int64_t dy,
                                            Lead lead = Lead::Fresh) {
    const int64_t tx = x + dx;
    const int64_t ty = y + dy;
    if (!material_allows_move(world, x, y, tx, ty) || cell_in_actor(world, tx, ty)) return false;
    if (lead == Lead::Onward) {
        swap_cells_onward(world, x, y, tx, ty);
    } else {
        swap_cells(world, x, y, tx, ty);
    }
    x = tx;
    y = ty;
    return true;
}

// Up to `steps` single-cell moves; stops at the first refusal.
int64_t step_repeatedly(World& world, int64_t& x, int64_t& y, int64_t dx, int64_t dy, int64_t steps) {
    if (steps < 1 || !try_step(world, x, y, dx, dy)) return 0;
    int64_t done = 1;
    while (done < steps && try_step(world, x, y, dx, dy, Lead::Onward)) ++done;
    return done;
}

// A thrown cell flies on its own velocity under gravity, whatever its kind.
bool move_flung(World& world, int64_t& x, int64_t& y) {
    Cell& c = cell_at(world, x, y);
    c.fling_frames = static_cast<uint8_t>(c.fling_frames - 1);
    const float fall = c.vel_y + FLING_GRAVITY;
    c.vel_y = fall < FLING_MAX_FALL ? fall : FLING_MAX_FALL;
    c.vel_x = c.vel_x * FLING_DRAG;
    c.fling_frac_x += c.vel_x;
    c.fling_frac_y += c.vel_y;
    const int64_t ix = static_cast<int64_t>(c.fling_frac_x);
    const int64_t iy = static_cast<int64_t>(c.fling_frac_y);
    c.fling_frac_x -= static_cast<float>(ix);
    c.fling_frac_y -= static_cast<float>(iy);

    bool moved = false;
    if (ix != 0) {
        const int64_t n = ix < 0 ? -ix : ix;
        const int64_t done = step_repeatedly(world, x, y, sign_of(ix), 0, n);
        moved = done > 0;
        if (done < n) cell_at(world, x, y).vel_x = 0.0f;
    }
    if (iy != 0) {
        const int64_t n = iy < 0 ? -iy : iy;
        const int64_t done = step_repeatedly(world, x, y, 0, sign_of(iy), n);
        moved = moved || done > 0;
        if (done < n) cell_at(world, x, y).vel_y = 0.0f;
    }
    return moved;
}

bool move_powder(World& world, int64_t& x, int64_t& y, const MaterialProps& p) {
    Cell& c = cell_at(world, x, y);
    const float fall = c.vel_y + p.gravity;
    c.vel_y = fall < p.max_speed ? fall : p.max_speed;  // also catches a NaN sum
    const float t = c.vel_y + c.fall_frac;
    const int64_t n = static_cast<int64_t>(t);
    c.fall_frac = t - static_cast<float>(n);
    if (n < 1) return false;

    const int64_t fell = step_repeatedly(world, x, y, 0, 1, n);
    if (fell == n) return true;

    // Blocked: maybe slide off diagonally, and lose all momentum either way.
    bool moved = fell > 0;
    const Lead lead = moved ? Lead::Onward : Lead::Fresh;
    const int64_t d = preferred_direction(world, cell_at(world, x, y).vel_x);
    if (world_rand(world) % 100 < p.slide_chance) {
        if (try_step(world, x, y, d, 1, lead) || try_step(world, x, y, -d, 1, lead)) moved = true;
    }
    Cell& end = cell_at(world, x, y);
    end.vel_y = 0.0f;
    end.fall_frac = 0.0f;
    return moved;
}

bool rise_once(World& world, int64_t& x, int64_t& y, int64_t d, Lead lead) {
    return try_step(world, x, y, 0, -1, lead) || try_step(world, x, y, d, -1, lead) ||
           try_step(world, x, y, -d, -1, lead);
}

bool move_gas(World& world, int64_t& x, int64_t& y, Material m0, const MaterialProps& p) {
    // Flames cling to the wood they burn on.
    if (m0 == Material::Fire && in_world(x, y + 1) && cell_at(world, x, y + 1).material == Material::Wood) {
        return false;
    }
    Cell& c = cell_at(world, x, y);
    const float lift = c.vel_y + p.gravity;
    c.vel_y = lift > -p.max_speed ? lift : -p.max_speed;  // also catches a NaN sum
    const float t = c.fall_frac - c.vel_y;
    const int64_t n = static_cast<int64_t>(t);
    c.fall_frac = t - static_cast<float>(n);
    const int64_t d = preferred_direction(world, c.vel_x);

    if (n >= 1 && rise_once(world, x, y, d, Lead::Fresh)) {
        for (int64_t k = 1; k < n && rise_once(world, x, y, d, Lead::Onward); ++k) {
        }
        return true;
    }
    // Could not (or need not) rise this update: drift sideways instead.
    if (world_rand(world) % 100 >= p.spread_chance) return false;
    if (try_step(world, x, y, d, 0) || try_step(world, x, y, -d, 0)) {
        cell_at(world, x, y).vel_x = static_cast<float>(d);
        return true;
    }
    return false;
}

bool move_liquid(World& world, int64_t& x, int64_t& y, Material m0) {
    if (m0 == Material::Acid && acid_touches_food(world, x, y)) return false;
    if (try_step(world, x, y, 0, 1)) return true;
    // Odd draws go left here, unlike the powders' and gases' coin.
    const int64_t d = (world_rand(world) & 1u) ? -1 : 1;
    return try_step(world, x, y, d, 0) || try_step(world, x, y, -d, 0);
}

bool move_cell(World& world, int64_t& x, int64_t& y, Material m0, const MaterialProps& p) {
    if (cell_at(world, x, y).fling_frames > 0) return move_flung(world, x, y);
    switch (p.kind) {
        case MaterialKind::Powder: return move_powder(world, x, y, p);
        case MaterialKind::Gas: return move_gas(world, x, y, m0, p);
        case MaterialKind::Liquid: return move_liquid(world, x, y, m0);
        default: return false;
    }
}

bool empty_in_world(const World& world, int64_t x, int64_t y) {
    return in_world(x, y) && cell_at(world, x, y).material == Material::Empty;
}

// Is there anywhere this resting powder or liquid could still go?
bool could_move(const World& world, int64_t x, int64_t y) {
    switch (kind_of(cell_at(world, x, y).material)) {
        case MaterialKind::Liquid:
            return can_move_to(world, x, y, x, y + 1) || empty_in_world(world, x - 1, y) ||
                   empty_in_world(world, x + 1, y);
        case MaterialKind::Powder:
            return can_move_to(world, x, y, x, y + 1) || can_move_to(world, x, y, x - 1, y + 1) ||
                   can_move_to(world, x, y, x + 1, y + 1);
        default: return false;
    }
}

bool needs_another_look(const World& world, int64_t x, int64_t y, Material m0, MaterialKind k0) {
    const Cell& c = cell_at(world, x, y);
    // Gases, rotting remains, flying, burning, hot and cold cells are never at rest.
    if (RESTLESS[static_cast<uint8_t>(m0)] || c.fling_frames != 0 || c.burning ||
        c.temperature != AMBIENT_TEMP) {
        return true;
    }
    // A powder or liquid that moved lately gets another look anyway. Every test
    // here is free of side effects, so the cheap one goes before the neighbour reads.
    const bool loose = k0 == MaterialKind::Powder || k0 == MaterialKind::Liquid;
    if (loose && c.rest_frames <= RESTLESS_UPDATES) return true;
    if (could_move(world, x, y)) return true;
    return m0 == Material::Acid && acid_touches_food(world, x, y);
}

void settle(World& world, int64_t x, int64_t y, Material m0, MaterialKind k0, bool moved) {
    Cell& c = cell_at(world, x, y);
    if (moved) {
        c.rest_frames = 0;
    } else if (c.rest_frames < REST_FRAMES_MAX) {
        c.rest_frames = static_cast<uint8_t>(c.rest_frames + 1);
    }
    if (needs_another_look(world, x, y, m0, k0)) enqueue_cell(world, x, y);
}

bool idle_solid(const Cell& c, MaterialKind k) {
    return k == MaterialKind::Solid && c.temperature == AMBIENT_TEMP && !c.burning && c.integrity == 10;
}

// A cell's turn reads its own cell and the ones above and below it, which lie
// a whole row apart in memory: ask for all three ahead of time. A prefetch
// never faults, so the rows off the grid's top and bottom need no test.
void prefetch_turn(const World& world, int64_t index) {
    constexpr uintptr_t ROW_BYTES = static_cast<uintptr_t>(WORLD_W) * sizeof(Cell);
    const uintptr_t at = reinterpret_cast<uintptr_t>(&world.cells[static_cast<size_t>(index)]);
    __builtin_prefetch(reinterpret_cast<const void*>(at));
    __builtin_prefetch(reinterpret_cast<const void*>(at - ROW_BYTES));
    __builtin_prefetch(reinterpret_cast<const void*>(at + ROW_BYTES));
}

void process_cell(World& world, int64_t index) {
    Cell& c = world.cells[static_cast<size_t>(index)];
    // Empty, or already had its turn (created, moved or displaced) this update.
    if (c.material == Material::Empty || c.stamp == world.tick) return;
    const Material m0 = c.material;
    const MaterialProps& p = props_of(m0);
    if (idle_solid(c, p.kind)) return;
    c.stamp = world.tick;

    int64_t y = index / WORLD_W;
    int64_t x = index - y * WORLD_W;
    if (!react_cell(world, x, y, m0)) return;
    const bool moved = move_cell(world, x, y, m0, p);
    settle(world, x, y, m0, p.kind, moved);
}

}  // namespace

void step_world(World& world) {
    world.tick += 1;
    update_particles(world);
    index_actor_bands(world);
    world.updating = true;
    // Every enqueue now goes to the other list, so the count stays put.
    const auto& current = world.active[world.active_sel];
    const int64_t count = world.active_count;
    for (int64_t i = 0; i < count; ++i) {
        // The list is in wake-up order, scattered over the grid: fetch ahead.
        if (i + PREFETCH_AHEAD < count) prefetch_turn(world, current[static_cast<size_t>(i + PREFETCH_AHEAD)]);
        process_cell(world, current[static_cast<size_t>(i)]);
    }
    world.updating = false;
    world.active_count = world.next_count;
    world.next_count = 0;
    world.active_sel = static_cast<uint8_t>(1 - world.active_sel);
}
