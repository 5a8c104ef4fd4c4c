#pragma once
// The cell field drawn the way it used to be: one 3 x 3 square per non-empty
// cell. Not a way to play; kept as the picture the texture path must match
// pixel for pixel, and as the benchmark's baseline.

#include "layered_background.h"
#include "render/world_render.h"

inline void draw_cells_as_rectangles(const World& world, Vector2 pos, CamPx px, const SwatchGrid& stone,
                                     const SwatchGrid& wood) {
    const CellWindow win = visible_cells(pos);
    const int64_t stone_col0 = floor_mod(win.x0, stone.cols);
    const int64_t wood_col0 = floor_mod(win.x0, wood.cols);
    for (int64_t y = win.y0; y <= win.y1; ++y) {
        const Cell* row = &cell_at(world, 0, y);
        const int64_t stone_row = floor_mod(y - STONE_SWATCH_ANCHOR_ROW, stone.rows);
        const int64_t wood_row = floor_mod(y, wood.rows);
        const int screen_y = static_cast<int>(y * CELL_PX) - px.y;
        int64_t stone_col = stone_col0;
        int64_t wood_col = wood_col0;
        for (int64_t x = win.x0; x <= win.x1; ++x) {
            const Cell& cell = row[x];
            if (cell.material != Material::Empty) {
                const Color colour = shade_cell(cell, swatch_texel(stone, stone_col, stone_row),
                                                swatch_texel(wood, wood_col, wood_row));
                DrawRectangle(static_cast<int>(x * CELL_PX) - px.x, screen_y, CELL_PX, CELL_PX, colour);
            }
            if (++stone_col == stone.cols) stone_col = 0;
            if (++wood_col == wood.cols) wood_col = 0;
        }
    }
}

// A play frame's world drawn the old way, every background layer whole and
// the cells as squares: what draw_world drew before it became one texture
// and learned to skip what the layers above it hide.
inline void draw_world_with_rectangle_cells(const Game& game) {
    layered_background::draw(game);
    if (game.world == nullptr) return;
    const CamPx px = cam_px(game.camera);
    draw_cells_as_rectangles(*game.world, game.camera.pos, px, make_swatch_grid(game.stone_pixels),
                             make_swatch_grid(game.wood_pixels));
    draw_free_particles(*game.world, px);
}
