#pragma once
// Barrels: wooden casks in the terrain, each holding one material. The dragon
// eats them to fill a slot, or they burst and spill when their wood is hurt.

#include <array>
#include <cstdint>

#include "player/inventory.h"
#include "player/player.h"
#include "world/level.h"

inline constexpr int64_t NO_BARREL = -1;

// The barrel being eaten, NO_BARREL when none.
int64_t barrel_being_eaten(const Level& level);
bool barrel_intact(const World& world, const Barrel& barrel);
// E: the nearest barrel within reach that the inventory can take. Returns
// whether eating began.
bool try_eat_barrel(Level& level, Player& player, const Inventory& inv);
// Once per step after the enemies. Returns the barrels that broke this step,
// by eating and by damage, for the cues, which play in barrel index order.
struct BarrelBreaks {
    int64_t eaten;
    int64_t smashed;
    int64_t count;                                // eaten + smashed
    std::array<bool, MAX_BARRELS> eaten_in_order;  // [0, count): was the i-th break eaten?
};
BarrelBreaks update_barrels(World& world, Level& level, const Player& player, Inventory& inv);
void open_barrel(World& world, Barrel& barrel, const Player& player, Inventory& inv, bool eaten);
