#pragma once
// Actor occupancy: which cells the dragon's and the enemies' bodies fill, and
// pushing loose cells out of the way of a moving body.

#include <cstdint>

#include "world/world.h"

enum class DisplaceMode : int64_t {
    Player = 0,
    Enemy = 1,
    SingleCell = 2,
};

// The full test: the dragon's body, then every live enemy's (during a world
// update only those of the cell's band).
bool cell_in_actor_bodies(const World& world, int64_t x, int64_t y);
// Rebuilds the enemy bands: for a world update, or for any pass during which
// no enemy moves.
void index_actor_bands(World& world);
// cell_in_actor_bodies through the bands, for a cell on the grid; the bands
// must be fresh.
bool cell_in_banded_bodies(const World& world, int64_t x, int64_t y);

// Every move of a loose cell asks this; most worlds it is asked in have no
// bodies in them at all.
inline bool cell_in_actor(const World& world, int64_t x, int64_t y) {
    if (!world.player_present && world.enemy_count == 0) return false;
    return cell_in_actor_bodies(world, x, y);
}

// Frees (cx, cy) by shifting loose material one step along the shortest path
// to the nearest empty cell within 32 cells. Returns false and changes nothing
// when no such path exists, when (cx, cy) is off the grid, or when an enemy
// mover is not one of the listed enemies.
bool displace_cell(World& world, int64_t cx, int64_t cy, int64_t mover_x, int64_t mover_y,
                   DisplaceMode mode, int64_t enemy_index);
