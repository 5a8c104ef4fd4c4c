#pragma once
// The sounds and dust that the dragon's movement makes, decided at the end of
// each logic step from how the step found and left the dragon.

struct Game;

void play_movement_cues(Game& game);
