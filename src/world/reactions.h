#pragma once
// Heat, phase changes, burning, corrosion and explosions: what happens to a
// cell's temperature and material during its turn, before it moves.

#include <array>
#include <cstdint>

#include "world/world.h"

// What acid eats. Everything else (glass, other liquids, air) it merely rests on.
inline constexpr std::array<Material, 6> ACID_FOOD = {
    Material::Sand, Material::Stone, Material::Wood, Material::Iron, Material::Ground, Material::Grass,
};

inline constexpr std::array<bool, MATERIAL_COUNT> make_acid_food_table() {
    std::array<bool, MATERIAL_COUNT> table{};
    for (Material m : ACID_FOOD) table[static_cast<uint8_t>(m)] = true;
    return table;
}
inline constexpr std::array<bool, MATERIAL_COUNT> IS_ACID_FOOD = make_acid_food_table();

inline constexpr bool is_acid_food(Material m) { return IS_ACID_FOOD[static_cast<uint8_t>(m)]; }

// True for an off-grid position too: the world's edge counts as something to eat.
inline bool acid_food_or_edge(const World& world, int64_t x, int64_t y) {
    return !in_world(x, y) || is_acid_food(cell_at(world, x, y).material);
}

// Acid clings to (and stops flowing beside) the world's edge and anything it eats
// below or beside it.
inline bool acid_touches_food(const World& world, int64_t x, int64_t y) {
    return acid_food_or_edge(world, x, y + 1) || acid_food_or_edge(world, x - 1, y) ||
           acid_food_or_edge(world, x + 1, y);
}

struct BurstDirection {
    int8_t dx;
    int8_t dy;
};

// Sixteen spokes of an explosion burst, deliberately not normalised: the
// diagonals and knight moves fly faster than the axes.
inline constexpr std::array<BurstDirection, 16> BURST_DIRECTIONS = {{
    {1, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 1}, {-1, 2}, {-1, 1}, {-2, 1},
    {-1, 0}, {-2, -1}, {-1, -1}, {-1, -2}, {0, -1}, {1, -2}, {1, -1}, {2, -1},
}};

inline constexpr int64_t PARTICLES_PER_DIRECTION = 3;
inline constexpr int64_t BLAST_RADIUS = 20;
inline constexpr int64_t EXPLOSION_BLOCK = 8;
// A block that burst within this many ticks does not burst again.
inline constexpr uint32_t EXPLOSION_COOLDOWN_TICKS = 5;

// Runs the heat and reaction rules for the cell at (x, y), whose material at
// the start of its turn was m0. Returns false when the cell's turn is over:
// it was replaced, or a rule ended the turn; it must then not move.
bool react_cell(World& world, int64_t x, int64_t y, Material m0);

// Sets off the Boom cell at (x, y): sparks, blast and chain, unless its 8 x 8
// block went off within the last few ticks. Marks the cell as spent.
void detonate(World& world, int64_t x, int64_t y);
