#pragma once
// Backgrounds, cells and sparks of a play frame.

#include "app/game.h"

// Colour of one cell as the world renderer shows it (palette, swatches, fades).
Color cell_colour(const Cell& cell, int64_t x, int64_t y, const ImageColors& stone,
                  const ImageColors& wood);

// Panorama, cave layer, cells and free particles, into the target.
void draw_world(const Game& game);
