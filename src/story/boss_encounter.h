#pragma once
// The end of the game: the boss conversation, the second chance after the
// first fall in the fight, and the way from the boss's defeat to the ending.

struct Game;

// Once per frame after the camera and the story's lines: the boss coming
// into view opens its conversation.
void check_boss_opening(Game& game);

// The one outcome check at the very end of a logic step: a beaten boss wins
// the game, a first death in the fight becomes the second chance, any other
// death is a game over. Returns whether the frame's logic steps end here.
bool check_boss_outcome(Game& game);
