#pragma once
// The dragon: its record and the silhouette the world treats as occupied.

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int64_t PLAYER_W = 14;
inline constexpr int64_t PLAYER_H = 20;
inline constexpr int64_t PLAYER_START_X = 154;

// Bit j of row r covers cell (x + j, y + r). It does not mirror with facing.
inline constexpr std::array<uint16_t, PLAYER_H> PLAYER_MASK = {
    0x0000, 0x0000, 0x0000, 0x3FFC, 0x3FFE, 0x3FFF, 0x3FFF, 0x3FFF, 0x3FFE, 0x3FFE,
    0x3FFE, 0x0FF8, 0x0FF0, 0x0FFC, 0x0FFC, 0x0FFC, 0x0FF8, 0x0FF0, 0x0770, 0x0330,
};
static_assert(PLAYER_MASK.size() == PLAYER_H);

// Does the silhouette with its top-left at (px, py) cover cell (cx, cy)?
inline bool player_mask_covers(int64_t cx, int64_t cy, int64_t px, int64_t py) {
    const int64_t col = cx - px;
    const int64_t row = cy - py;
    if (col < 0 || row < 0 || col >= PLAYER_W || row >= PLAYER_H) return false;
    return (PLAYER_MASK[static_cast<size_t>(row)] >> col) & 1u;
}

struct Player {
    int64_t x;
    int64_t y;
    int64_t hp;
    int64_t facing;
    float vel_x;
    float vel_y;
    float frac_x;
    float frac_y;
    bool grounded;
    float coyote_time;
    float jump_buffer;
    float jump_hold;
    float ceiling_grace;
    float wall_grace;
    float wall_vel_x;
    bool ceiling_blocked;
    float potion_time;
    float flash_time;
    bool empowered;
};

// A fresh dragon standing with its top row at `top`.
inline Player make_player(int64_t x, int64_t top) {
    Player p{};
    p.x = x;
    p.y = top;
    p.hp = 100;
    p.facing = 1;
    return p;
}
