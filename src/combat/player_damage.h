#pragma once
// The only ways the dragon's hit points change in play: enemy blows and
// potion pools. Fire, lava, acid and blasts never hurt it.

#include <cstdint>

#include "player/player.h"
#include "world/world.h"

inline constexpr int64_t MAX_HP = 100;

// A blow: hit points, the hurt flash and a spray of blood on both sides.
void hurt_player(World& world, Player& player, int64_t damage);
// Standing in potion heals one hit point every 0.18 s, up to 100.
void potion_heal(const World& world, Player& player);
