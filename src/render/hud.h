#pragma once
// The last layer of a play frame, in frame pixels: the hit-point panel, the
// story's stage prompt, the dialogue box and the game-over overlay.

#include "app/game.h"

void draw_hud(const Game& game);
// The stage's prompt panel at the bottom of the frame (with the blue wash of
// the slow-motion lesson).
void draw_stage_prompt(const Game& game);

// How much of a line the dialogue box shows of each row.
struct RevealedText {
    int64_t row1;
    int64_t row2;
    bool complete;  // the continue marker shows
};
RevealedText revealed_text(int64_t line, float dialogue_chars);
