#pragma once
// The cell field's drawing surface: one texel per cell of the drawn window,
// filled on the CPU every frame and uploaded as one texture.

#include "app/raylib_api.h"
#include "render/camera.h"

// The widest window of cells a frame draws: the view plus two columns and
// rows for the scroll.
inline constexpr int CELL_LAYER_W = VIEW_COLS + 2;
inline constexpr int CELL_LAYER_H = VIEW_ROWS + 2;

struct CellLayer {
    Color* texels;      // CELL_LAYER_W x CELL_LAYER_H, row-major; rewritten every frame
    Texture2D texture;  // the same size, nearest filtering
};

// Allocates the texel buffer and creates the texture (needs the graphics
// context). On failure nothing is held and the frame draws no cells.
bool load_cell_layer(CellLayer& layer);
void unload_cell_layer(CellLayer& layer);
