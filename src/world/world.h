#pragma once
// The cell grid and everything the simulation keeps per world. One block of
// plain data, allocated once and cleared in place by every new game.

#include <array>
#include <cstddef>
#include <cstdint>

#include "combat/enemy.h"
#include "world/materials.h"

inline constexpr int64_t WORLD_W = 3400;
inline constexpr int64_t WORLD_H = 300;
inline constexpr int64_t CELL_COUNT = WORLD_W * WORLD_H;
inline constexpr int64_t MAX_PARTICLES = 2048;
inline constexpr int64_t EXPLOSION_BLOCKS_X = 425;
inline constexpr int64_t EXPLOSION_BLOCKS_Y = 38;
inline constexpr int64_t EXPLOSION_BLOCK_COUNT = EXPLOSION_BLOCKS_X * EXPLOSION_BLOCKS_Y;
static_assert(EXPLOSION_BLOCK_COUNT == 16150);

struct Cell {
    Material material;
    uint8_t shade;
    int32_t temperature;
    int16_t integrity;
    int16_t life;
    int16_t life_max;
    int16_t progress;
    uint8_t rest_frames;
    bool burning;
    float vel_x;
    float vel_y;
    float fall_frac;
    float fling_frac_x;
    float fling_frac_y;
    uint8_t fling_frames;
    Material origin;
    uint32_t stamp;
};

struct Particle {
    float x;
    float y;
    float vel_x;
    float vel_y;
    uint8_t life;
    uint8_t life_max;
    uint8_t shade;
};

// Which live enemies reach into each band of 64 columns. Built at the start of
// every world update and of the spit's pass, when no enemy can move until
// they end, so that a body test asks only a band's few enemies instead of the
// whole table.
inline constexpr int64_t ACTOR_BAND_COLUMNS = 64;
inline constexpr int64_t ACTOR_BAND_COUNT = (WORLD_W + ACTOR_BAND_COLUMNS - 1) / ACTOR_BAND_COLUMNS;
static_assert(ACTOR_BAND_COUNT == 54);

struct ActorBands {
    std::array<std::array<int8_t, MAX_ENEMIES>, ACTOR_BAND_COUNT> index;
    std::array<int8_t, ACTOR_BAND_COUNT> count;
    std::array<int16_t, ACTOR_BAND_COUNT> top;     // rows the band's enemies span,
    std::array<int16_t, ACTOR_BAND_COUNT> bottom;  // bottom exclusive
};

struct World {
    std::array<Cell, CELL_COUNT> cells;
    bool player_present;
    int64_t player_x;
    int64_t player_y;
    std::array<Enemy, MAX_ENEMIES> enemies;
    int64_t enemy_count;
    bool boss_frozen;
    uint32_t tick;
    uint32_t rng_state;
    std::array<std::array<int32_t, CELL_COUNT>, 2> active;
    std::array<int32_t, CELL_COUNT> queued_mark;
    int64_t active_count;
    int64_t next_count;
    uint8_t active_sel;
    bool updating;
    std::array<int32_t, EXPLOSION_BLOCK_COUNT> explosion_mark;
    std::array<Particle, MAX_PARTICLES> particles;
    int64_t particle_count;
    int32_t explosion_count;
    ActorBands actor_bands;  // fresh during a world update and the spit's pass
    // The latest swap, for the wake-up shortcut of a cell's follow-on step:
    // the index its mover ended at and the tick it happened in. Any other
    // change of the grid clears it; a cleared value (index 0, a rim cell)
    // never qualifies for the shortcut.
    int32_t last_swap_to;
    uint32_t last_swap_tick;
};

inline constexpr bool in_world(int64_t x, int64_t y) {
    return static_cast<uint64_t>(x) < static_cast<uint64_t>(WORLD_W) &&
           static_cast<uint64_t>(y) < static_cast<uint64_t>(WORLD_H);
}

inline constexpr int64_t cell_index(int64_t x, int64_t y) { return y * WORLD_W + x; }

inline Cell& cell_at(World& w, int64_t x, int64_t y) {
    return w.cells[static_cast<size_t>(cell_index(x, y))];
}
inline const Cell& cell_at(const World& w, int64_t x, int64_t y) {
    return w.cells[static_cast<size_t>(cell_index(x, y))];
}

// Material at (x, y), or `outside` for a position off the grid.
inline Material material_at(const World& w, int64_t x, int64_t y,
                            Material outside = Material::Stone) {
    return in_world(x, y) ? cell_at(w, x, y).material : outside;
}
