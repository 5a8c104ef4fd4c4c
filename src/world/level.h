#pragma once
// The generated level: terrain surface per column and the prop tables.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "world/world.h"

inline constexpr int64_t MAX_BARRELS = 24;
inline constexpr int64_t MAX_HOUSES = 12;
inline constexpr int64_t MAX_TANKS = 12;
inline constexpr int64_t BARREL_W = 20;
inline constexpr int64_t BARREL_H = 24;

struct Barrel {
    int64_t x;
    int64_t y;
    Material material;
    bool broken;
    bool removed;
    bool being_eaten;
    bool eaten;
    float break_time;
    float eat_time;
};

struct House {
    int64_t x, y;
    int64_t width, height;
    int64_t roof_height;
};

struct Tank {
    int64_t x, y;
    int64_t width, height;
    Material material;
};

struct Level {
    std::array<int64_t, WORLD_W> surface;
    std::array<Barrel, MAX_BARRELS> barrels;
    int64_t barrel_count;
    std::array<House, MAX_HOUSES> houses;
    int64_t house_count;
    std::array<Tank, MAX_TANKS> tanks;
    int64_t tank_count;
};

// The barrel's outline, 24 rows of 20 columns: bit j of row r is the cell
// (x + j, y + r) of a barrel with its top-left at (x, y). Generation draws it in
// wood; play compares against it to tell whether a barrel is still whole.
struct BarrelRowSpan {
    int64_t first;
    int64_t last;  // inclusive
};
inline constexpr std::array<BarrelRowSpan, BARREL_H> BARREL_ROW_SPANS = {{
    {5, 14}, {3, 16},                                                   // rim
    {1, 18}, {1, 18}, {1, 18}, {1, 18}, {1, 18},                        // shoulder
    {0, 19}, {0, 19}, {0, 19}, {0, 19}, {0, 19}, {0, 19}, {0, 19},      // belly
    {0, 19}, {0, 19},                                                   //
    {1, 18}, {1, 18}, {1, 18}, {1, 18}, {1, 18},                        // hip
    {2, 17}, {2, 17}, {2, 17},                                          // foot
}};
static_assert(BARREL_ROW_SPANS.size() == 24);

constexpr std::array<uint32_t, BARREL_H> make_barrel_shape() {
    std::array<uint32_t, BARREL_H> rows{};
    for (size_t r = 0; r < rows.size(); ++r) {
        for (int64_t c = BARREL_ROW_SPANS[r].first; c <= BARREL_ROW_SPANS[r].last; ++c) {
            rows[r] |= 1u << c;
        }
    }
    return rows;
}
inline constexpr std::array<uint32_t, BARREL_H> BARREL_SHAPE = make_barrel_shape();
static_assert(BARREL_SHAPE.size() == BARREL_H && BARREL_W == 20);
static_assert(BARREL_SHAPE[0] == 0x7FE0u && BARREL_SHAPE[10] == 0xFFFFFu);

constexpr int64_t barrel_shape_cells() {
    int64_t n = 0;
    for (uint32_t row : BARREL_SHAPE) n += std::popcount(row);
    return n;
}
static_assert(barrel_shape_cells() == 10 + 14 + 5 * 18 + 9 * 20 + 5 * 18 + 3 * 16);

// Is (col, row) of a barrel's box part of the barrel? Outside the box: no.
inline constexpr bool barrel_shape_covers(int64_t col, int64_t row) {
    if (col < 0 || row < 0 || col >= BARREL_W || row >= BARREL_H) return false;
    return (BARREL_SHAPE[static_cast<size_t>(row)] >> col) & 1u;
}

// Makes columns start..end-1 a flat shelf at the height of its middle column,
// ramping 18 columns on either side. Returns the shelf height.
int64_t flatten_terrain(std::array<int64_t, WORLD_W>& surface, int64_t start, int64_t end);

// Builds terrain, cave, props and enemies from the world's freshly seeded generator.
void generate_level(World& world, Level& level);

// Stages of generate_level that only touch the level record, callable on their
// own so that their results can be checked apart from the rest. Each takes the
// level generator's state and returns it advanced past its draws.
uint32_t shape_base_profile(std::array<int64_t, WORLD_W>& surface, uint32_t rng);
// Walks the grassland placing houses, tanks and barrels; returns the last draw
// of the walk, which seeds the enemy placement.
uint32_t place_props(Level& level, uint32_t rng);
