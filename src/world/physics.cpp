#include "world/physics.h"

#include <array>
#include <cstring>

#include "world/player_particles.h"

namespace {

struct Birth {
    int32_t temperature;
    int16_t life;
};

// Temperature and lifetime of a fresh cell; draws the lifetime where one varies.
Birth birth_of(World& world, Material m) {
    switch (m) {
        case Material::Smoke: return {80, static_cast<int16_t>(world_rand(world) % 91 + 90)};
        case Material::Fire: return {320, static_cast<int16_t>(world_rand(world) % 31 + 15)};
        case Material::Steam: return {135, static_cast<int16_t>(world_rand(world) % 241 + 240)};
        case Material::Plasma: return {1800, static_cast<int16_t>(world_rand(world) % 21 + 20)};
        case Material::Lava: return {950, 0};
        case Material::Boom: return {600, 8};
        case Material::Acid: return {20, static_cast<int16_t>(world_rand(world) % 61 + 90)};
        case Material::Snow: return {-10, 0};
        case Material::KnightDebris:
        case Material::OgreDebris:
        case Material::Blood:
        case Material::Potion: return {20, static_cast<int16_t>(world_rand(world) % 130 + 130)};
        default: return {AMBIENT_TEMP, 0};
    }
}

constexpr std::array<bool, MATERIAL_COUNT> make_moving_table() {
    std::array<bool, MATERIAL_COUNT> table{};
    for (int m = 0; m < MATERIAL_COUNT; ++m) table[static_cast<size_t>(m)] = is_moving(static_cast<Material>(m));
    return table;
}
// Waking runs for every swap, so the kind test is one byte lookup.
constexpr std::array<bool, MATERIAL_COUNT> MOVING = make_moving_table();

// Where wake-ups go during one burst of them: the mark that says "queued for
// the next update" and the list that receives the cell. Read once per burst,
// because every list write would otherwise make the compiler fetch them again.
struct WakeTarget {
    int32_t mark;
    int32_t* list;
    int64_t* count;
};

[[gnu::always_inline]] inline WakeTarget wake_target(World& world) {
    const int32_t mark = static_cast<int32_t>(world.tick + 1u);
    const size_t current = world.active_sel;
    if (world.updating) return {mark, world.active[1 - current].data(), &world.next_count};
    return {mark, world.active[current].data(), &world.active_count};
}

[[gnu::always_inline]] inline void enqueue_index(World& world, const WakeTarget& t, int64_t i) {
    int32_t& queued = world.queued_mark[static_cast<size_t>(i)];
    if (queued == t.mark) return;
    queued = t.mark;
    t.list[(*t.count)++] = static_cast<int32_t>(i);
}

// Most cells a wake-up looks at in a crowd are queued already, so that test
// goes first: both are free of side effects, and the mark is the smaller read.
[[gnu::always_inline]] inline void wake_index(World& world, const WakeTarget& t, int64_t i) {
    if (world.queued_mark[static_cast<size_t>(i)] == t.mark) return;
    const Cell& c = world.cells[static_cast<size_t>(i)];
    if (MOVING[static_cast<uint8_t>(c.material)] || c.burning) enqueue_index(world, t, i);
}

bool away_from_rim(int64_t x, int64_t y) {
    return x >= 1 && x < WORLD_W - 1 && y >= 1 && y < WORLD_H - 1;
}

// Wakes the 3 x 3 block around (x, y) in row-major order, leaving out the
// cells that also lie in the block around (skip_x, skip_y).
void wake_block_beyond(World& world, int64_t x, int64_t y, int64_t skip_x, int64_t skip_y) {
    if (x < -1 || x > WORLD_W) return;  // the block lies wholly off the grid
    const WakeTarget t = wake_target(world);
    const int64_t x0 = x > 0 ? x - 1 : 0;
    const int64_t x1 = x < WORLD_W - 1 ? x + 1 : WORLD_W - 1;
    const int64_t y0 = y > 0 ? y - 1 : 0;
    const int64_t y1 = y < WORLD_H - 1 ? y + 1 : WORLD_H - 1;
    for (int64_t ny = y0; ny <= y1; ++ny) {
        const bool row_shared = ny >= skip_y - 1 && ny <= skip_y + 1;
        const int64_t row = ny * WORLD_W;
        for (int64_t nx = x0; nx <= x1; ++nx) {
            if (row_shared && nx >= skip_x - 1 && nx <= skip_x + 1) continue;
            wake_index(world, t, row + nx);
        }
    }
}

// Away from the rim the block is nine fixed offsets around index c.
[[gnu::always_inline]] inline void wake_inner_block(World& world, const WakeTarget& t, int64_t c) {
    wake_index(world, t, c - WORLD_W - 1);
    wake_index(world, t, c - WORLD_W);
    wake_index(world, t, c - WORLD_W + 1);
    wake_index(world, t, c - 1);
    wake_index(world, t, c);
    wake_index(world, t, c + 1);
    wake_index(world, t, c + WORLD_W - 1);
    wake_index(world, t, c + WORLD_W);
    wake_index(world, t, c + WORLD_W + 1);
}

// The part of the block around index c = (x2, y2) that the block around the
// cell one step back, at c - (dx, dy), leaves out: its far row and/or far
// column, taken in row-major order. Both blocks lie away from the rim.
[[gnu::always_inline]] inline void wake_far_side(World& world, const WakeTarget& t, int64_t c, int64_t dx,
                                                 int64_t dy) {
    const int64_t far_row = c + dy * WORLD_W;  // middle of the far row
    const int64_t far_col = c + dx;            // middle of the far column
    if (dx == 0) {
        wake_index(world, t, far_row - 1);
        wake_index(world, t, far_row);
        wake_index(world, t, far_row + 1);
    } else if (dy == 0) {
        wake_index(world, t, far_col - WORLD_W);
        wake_index(world, t, far_col);
        wake_index(world, t, far_col + WORLD_W);
    } else if (dy > 0) {
        wake_index(world, t, far_col - WORLD_W);
        wake_index(world, t, far_col);
        wake_index(world, t, far_row - 1);
        wake_index(world, t, far_row);
        wake_index(world, t, far_row + 1);
    } else {
        wake_index(world, t, far_row - 1);
        wake_index(world, t, far_row);
        wake_index(world, t, far_row + 1);
        wake_index(world, t, far_col);
        wake_index(world, t, far_col + WORLD_W);
    }
}

// Trades two cells' contents whole; a byte copy lets the compiler move each
// cell in a few wide loads and stores instead of field by field.
[[gnu::always_inline]] inline void exchange_contents(World& world, int64_t i1, int64_t i2) {
    Cell& a = world.cells[static_cast<size_t>(i1)];
    Cell& b = world.cells[static_cast<size_t>(i2)];
    std::array<unsigned char, sizeof(Cell)> tmp;
    std::memcpy(tmp.data(), &a, sizeof(Cell));
    std::memcpy(&a, &b, sizeof(Cell));
    std::memcpy(&b, tmp.data(), sizeof(Cell));
    a.stamp = world.tick;
    b.stamp = world.tick;
}

// The follow-on shortcut builds on the latest swap having woken the whole
// block around the cell its mover ended at, with this tick's queue mark, and
// on nothing having changed the grid since; these keep that record.
void record_swap(World& world, int64_t to) {
    world.last_swap_to = static_cast<int32_t>(to);
    world.last_swap_tick = world.tick;
}

void forget_swap(World& world) { world.last_swap_to = 0; }

bool follows_last_swap(const World& world, int64_t index) {
    return world.last_swap_to == index && world.last_swap_tick == world.tick;
}

bool one_step_apart(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    const int64_t dx = x2 - x1;
    const int64_t dy = y2 - y1;
    return dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
}

}  // namespace

uint32_t world_rand(World& world) {
    world.rng_state = lcg_next(world.rng_state);
    return world.rng_state;
}

void set_cell(World& world, int64_t x, int64_t y, Material m) {
    if (!in_world(x, y)) return;
    const bool moving = is_moving(m);
    if (moving && cell_in_actor(world, x, y)) return;
    forget_swap(world);

    const uint32_t r1 = world_rand(world);
    const Birth birth = birth_of(world, m);

    Cell& c = cell_at(world, x, y);
    c = Cell{};
    c.material = m;
    c.shade = static_cast<uint8_t>(r1 >> 30);
    c.temperature = birth.temperature;
    c.integrity = 10;
    c.life = birth.life;
    c.life_max = birth.life;
    c.origin = m;
    c.stamp = world.updating ? world.tick : 0;

    if (moving) enqueue_cell(world, x, y);
    wake_neighbours(world, x, y);
}

void enqueue_cell(World& world, int64_t x, int64_t y) {
    if (!in_world(x, y)) return;
    enqueue_index(world, wake_target(world), cell_index(x, y));
}

void wake_neighbours(World& world, int64_t x, int64_t y) {
    if (away_from_rim(x, y)) {
        wake_inner_block(world, wake_target(world), cell_index(x, y));
        return;
    }
    // A skip block far off the grid leaves nothing out.
    wake_block_beyond(world, x, y, -WORLD_W, -WORLD_H);
}

void swap_cells(World& world, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    if (!in_world(x1, y1) || !in_world(x2, y2)) return;
    const int64_t c1 = cell_index(x1, y1);
    const int64_t c2 = cell_index(x2, y2);
    exchange_contents(world, c1, c2);
    record_swap(world, c2);
    // Nothing changes between the two wake-ups, so where the second block
    // overlaps the first its cells are already queued or not wakeable: only
    // the rest of it needs looking at.
    if (away_from_rim(x1, y1) && away_from_rim(x2, y2) && one_step_apart(x1, y1, x2, y2)) {
        const WakeTarget t = wake_target(world);
        wake_inner_block(world, t, c1);
        wake_far_side(world, t, c2, x2 - x1, y2 - y1);
        return;
    }
    wake_neighbours(world, x1, y1);
    wake_block_beyond(world, x2, y2, x1, y1);
}

void swap_cells_onward(World& world, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    // The shortcut holds only if the last change to the grid was the swap
    // that brought this cell to (x1, y1), in this tick; anything else (another
    // writer between the steps, a new tick) gets the full wake-up.
    if (!away_from_rim(x1, y1) || !away_from_rim(x2, y2) || !one_step_apart(x1, y1, x2, y2) ||
        !follows_last_swap(world, cell_index(x1, y1))) {
        swap_cells(world, x1, y1, x2, y2);
        return;
    }
    const int64_t c1 = cell_index(x1, y1);
    const int64_t c2 = cell_index(x2, y2);
    exchange_contents(world, c1, c2);
    record_swap(world, c2);
    // That swap woke the whole block around (x1, y1), and only these two
    // cells have changed since: every other cell in it is queued already or
    // still not wakeable. Row-major order, as a full block.
    const WakeTarget t = wake_target(world);
    wake_index(world, t, c1 < c2 ? c1 : c2);
    wake_index(world, t, c1 < c2 ? c2 : c1);
    wake_far_side(world, t, c2, x2 - x1, y2 - y1);
}

bool can_move_to(const World& world, int64_t sx, int64_t sy, int64_t tx, int64_t ty) {
    return material_allows_move(world, sx, sy, tx, ty) && !cell_in_actor(world, tx, ty);
}

bool try_move_cell(World& world, int64_t& x, int64_t& y, int64_t dx, int64_t dy) {
    // An off-grid source has no cell to move.
    if (!in_world(x, y)) return false;
    const int64_t tx = x + dx;
    const int64_t ty = y + dy;
    if (!can_move_to(world, x, y, tx, ty)) return false;
    swap_cells(world, x, y, tx, ty);
    x = tx;
    y = ty;
    return true;
}
