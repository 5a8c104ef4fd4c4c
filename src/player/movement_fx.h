#pragma once
// Dust kicked up by the dragon's feet: pure decoration that never touches
// the cell grid, with a generator of its own so it cannot disturb the world's
// random sequence.

#include <array>
#include <cstdint>

#include "player/player.h"
#include "world/materials.h"

inline constexpr int64_t DUST_CAPACITY = 192;
inline constexpr uint32_t DUST_SEED = 0xD0571234u;

struct DustParticle {
    float x, y;  // cells
    float vel_x, vel_y;  // cells per second
    float life;  // seconds left; the slot is free at 0 or below
    float life_max;
    uint8_t color[4];
    int64_t size;  // 1 or 2 cells
};

enum class DustKind : int64_t { Run = 0, Jump = 1, Land = 2, Skid = 3 };

struct MovementFx {
    std::array<DustParticle, DUST_CAPACITY> dust;
    int64_t dust_next;
    uint32_t dust_rng;
    float dust_cooldown;  // seconds before the next run dust
    int64_t last_move;    // last non-zero walk input, for the skid test
};

MovementFx make_movement_fx();
// A burst around the feet of `player`; `dir` steers Run and Skid specks.
void emit_movement_dust(MovementFx& fx, const Player& player, Material material, DustKind kind, int64_t dir);
void update_movement_dust(MovementFx& fx);
