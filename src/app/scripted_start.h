#pragma once
// A game that opens in the middle of a fight, for measuring how fast a busy
// play frame draws: the frame-rate tool asks for it through the environment
// (CINDERVALE_START=formation); ordinary play never does.

#include "app/game.h"

// Environment variable and value that ask for the fight start.
inline constexpr const char* SCRIPTED_START_VARIABLE = "CINDERVALE_START";
inline constexpr const char* SCRIPTED_START_FORMATION = "formation";

// True when the environment asks for the fight start.
bool scripted_start_requested();

// Moves a freshly started game past the intro and stands the dragon on the
// ground just in front of the first formation of knights, the camera on it.
// Leaves the game as it is when the level has no formation.
void start_before_first_formation(Game& game);
