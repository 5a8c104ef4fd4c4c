#pragma once
// The dragon's walking, jumping and pushing through the cell world. Positions
// are whole cells; fractions of a cell are carried between steps and resolved
// one cell at a time, each cell tested for collision.

#include <cstdint>

#include "player/player.h"
#include "world/world.h"

struct FrameInput;

// Movement keys as the steps see them. `jump_request` stays latched until the
// first step that consumes it.
struct PlayerInput {
    int64_t move;  // -1, 0 or +1
    bool jump_request;
    bool jump_released;
};

// What the cues and the dust compare with at the end of a step.
struct StepStart {
    int64_t x;
    int64_t y;
    float vel_x;
    float vel_y;
    int64_t hp;
    bool grounded;  // the box one row down held a blocking cell
};

// Reads the walk and jump keys. Jump presses count only from story stage 2 on
// and while play is not suspended; an earlier latched request is kept.
PlayerInput read_player_input(const FrameInput& input, bool jump_allowed, bool request_latched);

StepStart snapshot_step_start(const World& world, const Player& player);

// One fixed step. `held` (intro before the hatching, eating a barrel) keeps
// the dragon still and leaves its footprint as it was. Leaves `hp` at 0 when
// the dragon has fallen out of the bottom of the world.
void player_step(World& world, Player& player, const PlayerInput& input, bool held);

inline bool player_fell_out(const Player& player) { return player.y >= WORLD_H; }

// May the body occupy (x, y)? `dir` is the vertical direction of the move.
// Not a pure query: on the way it pushes loose cells out of the silhouette
// and may lift an enemy the dragon jumps into.
bool can_player_move(World& world, int64_t x, int64_t y, int64_t dir);
bool ground_below(const World& world, int64_t x, int64_t y);
Material footing_material(const World& world, const Player& player);
// Cells covered both by the dragon at (x, y) and by the enemy.
int64_t player_overlap(int64_t x, int64_t y, const Enemy& enemy);
