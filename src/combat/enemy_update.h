#pragma once
// What the enemies do each step: notice the dragon, walk, climb and jump
// toward it, attack, take damage from spit and harmful cells, die into debris
// and blood, and shoulder each other apart.

#include <cstdint>

#include "player/player.h"
#include "world/world.h"

// What the step's sounds need to know.
struct EnemyStepReport {
    bool enemy_hurt;          // some enemy's hit points dropped
    int64_t attacks_started;  // swings (and charges) begun this step
};

// `damage_taken_pct` scales every blow the dragon takes (the damage assist).
EnemyStepReport update_enemies(World& world, Player& player, int64_t damage_taken_pct = 100);

// Can enemy `e` see the dragon along a line of cells from its eye?
bool can_see_player(const World& world, const Enemy& e, const Player& player);
// The step's damage from the harmful cells touching the enemy's box.
int64_t cell_damage(const World& world, const Enemy& e);
// Kills the enemy: debris and blood fly from its body.
void kill_enemy(World& world, Enemy& e);
