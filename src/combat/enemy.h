#pragma once
// Enemy kinds, their body shapes and the enemy record. The record lives in
// the World so the cell simulation can see the bodies.

#include <array>
#include <cstddef>
#include <cstdint>

#include "world/materials.h"

struct World;
struct Level;

enum class EnemyKind : int64_t {
    Knight = 0,
    Ogre = 1,
    Barbarian = 2,
    Boss = 3,
};

inline constexpr int ENEMY_KIND_COUNT = 4;
inline constexpr int MAX_ENEMIES = 40;
inline constexpr int MAX_MASK_ROWS = 37;

struct EnemyKindProps {
    int64_t width;
    int64_t height;
    int64_t half_w;
    int64_t hp;
    float walk_speed;
    float jump_velocity;
    int64_t aim_dy;
    int64_t sight_range;
    Material debris;
    int64_t debris_pieces;  // 0: one piece per body cell
    int64_t spawn_spacing;
    int64_t lowest_spawn_top;
    int64_t highest_spawn_column;  // exclusive
};

// clang-format off
inline constexpr std::array<EnemyKindProps, ENEMY_KIND_COUNT> ENEMY_KINDS = {{
    // w   h  half   hp    walk    jump  aim sight debris                 pieces space low  high
    { 8, 11,   4,  100,   94.0f, -390.0f,  5, 155, Material::KnightDebris,   0,  10, 288, 3392},  // Knight
    {10, 13,   5,  500,   47.0f, -390.0f,  4, 155, Material::OgreDebris,   144,  12, 286, 3390},  // Ogre
    {10, 13,   5,  250,   94.0f, -390.0f,  4, 155, Material::KnightDebris,  96,  12, 286, 3390},  // Barbarian
    {20, 37,  10, 5000,  190.0f, -480.0f, -8, 270, Material::KnightDebris, 220,  22, 262, 3380},  // Boss
}};
// clang-format on
static_assert(ENEMY_KINDS.size() == ENEMY_KIND_COUNT);

struct EnemyMask {
    int64_t width;
    int64_t height;
    std::array<uint32_t, MAX_MASK_ROWS> rows;  // bit j of row r = cell (x + j, y + r)
};

// Built from the drawn rows at compile time, so the shapes stay readable here.
template <size_t N>
constexpr EnemyMask make_enemy_mask(const char* const (&art)[N]) {
    EnemyMask mask{};
    mask.height = static_cast<int64_t>(N);
    mask.width = 0;
    for (size_t r = 0; r < N; ++r) {
        uint32_t bits = 0;
        int64_t w = 0;
        for (const char* p = art[r]; *p; ++p, ++w) {
            if (*p == '#') bits |= 1u << w;
        }
        mask.width = w;
        mask.rows[r] = bits;
    }
    return mask;
}

namespace enemy_art {
inline constexpr const char* KNIGHT[] = {
    "..####..", ".######.", ".######.", "#######.", "########", "########",
    "########", "########", ".#######", "..######", "..##.##.",
};
inline constexpr const char* OGRE[] = {
    "...#####..", "..######..", ".########.", "##########", ".########.",
    "#########.", ".#########", ".#########", ".#########", "..#######.",
    "..###.###.", "..###.###.", "..##..##..",
};
inline constexpr const char* BARBARIAN[] = {
    "####......", "#####.####", "##########", "##########", "##########",
    "##########", "##########", ".#########", "..######..", "..######..",
    "..######..", "..######..", "..##.##...",
};
inline constexpr const char* BOSS[] = {
    ".........####.......", "........######......", "........######......",
    "........#######.....", "........#######.....", "........#######.....",
    ".......#######......", "......########......", ".....##########.....",
    "....############....", "...#############....", "..###############...",
    "..###############...", "..###############...", ".################...",
    ".################...", ".###.#############..", "###...############..",
    "###...############..", "###..##############.", "###..##############.",
    "####.##############.", "###################.", "###.###############.",
    ".##.######.#######..", ".....#####.#####....", ".....####...####....",
    "....#####...#####...", "....#####...#####...", "....####....####....",
    "....####....####....", "....####....###.....", "....###.....###.....",
    "....###.....###.....", "...####.....####....", "..#####.....######..",
    "..#####.....######..",
};
}  // namespace enemy_art

inline constexpr std::array<EnemyMask, ENEMY_KIND_COUNT> ENEMY_MASKS = {{
    make_enemy_mask(enemy_art::KNIGHT),
    make_enemy_mask(enemy_art::OGRE),
    make_enemy_mask(enemy_art::BARBARIAN),
    make_enemy_mask(enemy_art::BOSS),
}};
static_assert(ENEMY_MASKS[0].width == 8 && ENEMY_MASKS[0].height == 11);
static_assert(ENEMY_MASKS[1].width == 10 && ENEMY_MASKS[1].height == 13);
static_assert(ENEMY_MASKS[2].width == 10 && ENEMY_MASKS[2].height == 13);
static_assert(ENEMY_MASKS[3].width == 20 && ENEMY_MASKS[3].height == 37);

inline constexpr const EnemyKindProps& kind_props(EnemyKind k) {
    return ENEMY_KINDS[static_cast<size_t>(k)];
}
inline constexpr const EnemyMask& enemy_mask(EnemyKind k) {
    return ENEMY_MASKS[static_cast<size_t>(k)];
}

struct Enemy {
    int64_t kind;  // EnemyKind
    int64_t x, y;
    int64_t group;
    int64_t group_side;
    int64_t group_slot;
    int64_t attack_phase;
    int64_t turn_x;
    int64_t wander_dir;
    int64_t stuck_x;
    float stuck_time;
    float turn_time;
    float crowd_time;
    float stall_time;
    int64_t stall_x, stall_y;
    int64_t stall_player_x, stall_player_y;
    float jump_cooldown;
    float dash_cooldown;
    float dash_time;
    float vel_x, vel_y;
    float frac_x, frac_y;
    float alert_time;
    float attack_time;
    float attack_cooldown;
    float anim_time;
    int64_t pending_damage;
    int64_t hp;
    int64_t facing;
    bool alive;
    bool grounded;
    bool attacking;
    bool hit_done;
};

inline EnemyKind enemy_kind(const Enemy& e) { return static_cast<EnemyKind>(e.kind); }

// Does an enemy of `kind` with its box at (ex, ey) cover cell (cx, cy)?
inline bool enemy_covers(EnemyKind kind, int64_t cx, int64_t cy, int64_t ex, int64_t ey) {
    const EnemyMask& m = enemy_mask(kind);
    const int64_t col = cx - ex;
    const int64_t row = cy - ey;
    if (col < 0 || row < 0 || col >= m.width || row >= m.height) return false;
    return (m.rows[static_cast<size_t>(row)] >> col) & 1u;
}

// Does an enemy with its box at (ex, ey) hold cell (cx, cy): a cell of its
// body, or of a gap in a row of the body with body cells on both sides
// (between the legs)? Rock it holds does not block its moves. Unlike the
// dragon's box, an enemy's box is wider than what collides: its empty outer
// corners count as outside, or an enemy walking up a step would sink its
// feet into the rock one row deep and walk on through it.
inline bool enemy_holds(EnemyKind kind, int64_t cx, int64_t cy, int64_t ex, int64_t ey) {
    const EnemyMask& m = enemy_mask(kind);
    const int64_t col = cx - ex;
    const int64_t row = cy - ey;
    if (col < 0 || row < 0 || col >= m.width || row >= m.height) return false;
    const uint32_t bits = m.rows[static_cast<size_t>(row)];
    if (((bits >> col) & 1u) != 0) return true;
    return (bits & ((1u << col) - 1u)) != 0 && (bits >> (col + 1)) != 0;
}

// Calls visit(x, y) for each cell the shape covers with its box at (ex, ey),
// row by row; stops and returns false as soon as a visit returns false.
template <typename Visit>
bool every_body_cell(EnemyKind kind, int64_t ex, int64_t ey, Visit visit) {
    const EnemyMask& m = enemy_mask(kind);
    for (int64_t row = 0; row < m.height; ++row) {
        const uint32_t bits = m.rows[static_cast<size_t>(row)];
        for (int64_t col = 0; col < m.width; ++col) {
            if (((bits >> col) & 1u) != 0 && !visit(ex + col, ey + row)) return false;
        }
    }
    return true;
}

// Placement (level generation) and the shape test it shares with movement.
bool enemy_blocked(const World& world, EnemyKind kind, int64_t ex, int64_t ey);
// May enemy `index` occupy (ex, ey)? `dir` is the vertical direction of the
// move. Like the dragon's test it pushes loose cells out of the shape.
bool enemy_can_move(World& world, int64_t index, int64_t ex, int64_t ey, int64_t dir);
bool spawn_enemy(World& world, const Level& level, int64_t column, EnemyKind kind,
                 int64_t group, int64_t side, int64_t slot);
void populate_enemies(World& world, const Level& level, uint32_t seed_state);
