#pragma once
// Grid primitives: every change of a cell goes through these, so that the
// active lists, stamps and random draws stay consistent.

#include <cstdint>

#include "world/world.h"

// Advances the world generator one step and returns the new state.
uint32_t world_rand(World& world);

// The world's LCG recurrence, shared by the other generators of the game.
inline constexpr uint32_t lcg_next(uint32_t s) { return s * 1664525u + 1013904223u; }

void set_cell(World& world, int64_t x, int64_t y, Material m);
void enqueue_cell(World& world, int64_t x, int64_t y);
void wake_neighbours(World& world, int64_t x, int64_t y);
// Exchanges two cells whole and wakes both 3 x 3 blocks. Refuses (changes
// nothing) unless both positions are on the grid.
void swap_cells(World& world, int64_t x1, int64_t y1, int64_t x2, int64_t y2);
// swap_cells for a cell's next single-cell step in one turn. When the last
// change to the grid was the swap that brought the cell to (x1, y1) in this
// tick it looks at fewer cells for the same result; otherwise it is swap_cells.
void swap_cells_onward(World& world, int64_t x1, int64_t y1, int64_t x2, int64_t y2);
bool can_move_to(const World& world, int64_t sx, int64_t sy, int64_t tx, int64_t ty);

// The material half of can_move_to and try_move_cell (everything but the actor
// test): may the cell at (sx, sy) enter (tx, ty)? Inline, because most
// refusals in a crowd of cells are decided here.
inline bool material_allows_move(const World& world, int64_t sx, int64_t sy, int64_t tx, int64_t ty) {
    if (!in_world(tx, ty)) return false;
    const Material target = cell_at(world, tx, ty).material;
    if (target == Material::Empty) return true;
    const Material source = material_at(world, sx, sy, Material::Stone);
    const MaterialProps& tp = props_of(target);
    if (target == source || tp.kind == MaterialKind::Solid || sy == ty) return false;
    const uint16_t sd = props_of(source).density;
    return sy < ty ? tp.density < sd : sd < tp.density;
}
bool try_move_cell(World& world, int64_t& x, int64_t& y, int64_t dx, int64_t dy);

// One world update: ages the sparks and processes every active cell once.
void step_world(World& world);
