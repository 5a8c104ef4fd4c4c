#pragma once
// Material swatches and the brick tile. The world colours one stone or wood
// cell with one swatch texel taken every 8 texels, so the swatches are
// designed cell by cell: each 8 x 8 block of texels is one cell's colour,
// and the cell pattern repeats seamlessly with the period the world uses
// (92 x 64 cells for stone, 32 x 32 for wood).

#include "png_writer.h"

inline constexpr int SWATCH_STEP = 8;
inline constexpr int STONE_WIDTH = 740, STONE_HEIGHT = 513;
inline constexpr int WOOD_WIDTH = 256, WOOD_HEIGHT = 256;
inline constexpr int STONE_CELLS_X = STONE_WIDTH / SWATCH_STEP, STONE_CELLS_Y = STONE_HEIGHT / SWATCH_STEP;
inline constexpr int WOOD_CELLS_X = WOOD_WIDTH / SWATCH_STEP, WOOD_CELLS_Y = WOOD_HEIGHT / SWATCH_STEP;
static_assert(STONE_CELLS_X == 92 && STONE_CELLS_Y == 64);
static_assert(WOOD_CELLS_X == 32 && WOOD_CELLS_Y == 32);

inline constexpr int BRICK_SIZE = 14;

PixelImage make_stone_swatch();
PixelImage make_wood_swatch();
PixelImage make_cave_brick();

// The cell grid the world actually sees: texel (8 x, 8 y) for every cell.
PixelImage subsample_cells(const PixelImage& swatch, int step);
