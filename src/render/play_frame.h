#pragma once
// Composition of one play frame into the render target.

#include "app/game.h"

// The dragon's drawn position: between its last two step positions.
Vector2 drawn_player_position(const Game& game);

void draw_play_frame(const Game& game);
