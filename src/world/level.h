#pragma once
// The generated level: terrain surface per column and the prop tables.

#include <array>
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

// Makes columns start..end-1 a flat shelf at the height of its middle column,
// ramping 18 columns on either side. Returns the shelf height.
int64_t flatten_terrain(std::array<int64_t, WORLD_W>& surface, int64_t start, int64_t end);

// Builds terrain, cave, props and enemies from the world's freshly seeded generator.
void generate_level(World& world, Level& level);
