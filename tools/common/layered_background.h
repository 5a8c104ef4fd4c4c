#pragma once
// The world's background drawn the way it used to be: every layer over the
// whole frame, one beneath the other (clear, panorama, its darkening, the
// cave's fill and fade, one quad per brick), whatever the layers above hide.
// Not a way to play; kept as the picture the drawing that skips hidden
// layers must match pixel for pixel, and as the benchmark's baseline.

#include <algorithm>

#include "render/world_render.h"

namespace layered_background {

inline void draw_panorama(Texture2D panorama, float camera_x) {
    if (!IsTextureValid(panorama)) return;
    const Rectangle src =
        panorama_source(static_cast<float>(panorama.width), static_cast<float>(panorama.height), camera_x);
    DrawTexturePro(panorama, src, Rectangle{0, 0, static_cast<float>(VIRTUAL_W), static_cast<float>(VIRTUAL_H)},
                   Vector2{0, 0}, 0.0f, WHITE);
    DrawRectangle(0, 0, VIRTUAL_W, VIRTUAL_H, PANORAMA_DARKEN);
}

inline void draw_cave_shade(Texture2D brick, Vector2 pos) {
    if (!IsTextureValid(brick) || brick.width <= 0) return;
    const CaveEdges edges = cave_edges(pos.x);
    if (edges.right <= 0.0f) return;
    if (edges.fade > 0.0f) {
        DrawRectangle(0, 0, static_cast<int>(std::min(edges.fade, static_cast<float>(VIRTUAL_W))), VIRTUAL_H,
                      CAVE_FILL);
    }
    DrawRectangleGradientH(static_cast<int>(edges.fade), 0, CAVE_FADE_PX, VIRTUAL_H, CAVE_FILL, CAVE_FILL_CLEAR);
}

inline void draw_brick_tiles(Texture2D brick, Vector2 pos) {
    if (!IsTextureValid(brick) || brick.width <= 0) return;
    const CaveEdges edges = cave_edges(pos.x);
    if (edges.right <= 0.0f) return;
    BeginScissorMode(0, 0, static_cast<int>(edges.right), VIRTUAL_H);
    const int64_t tile = brick.width;
    const auto tile_f = static_cast<float>(tile);
    const auto first_x = static_cast<int64_t>(pos.x / tile_f) * tile;
    const auto first_y = static_cast<int64_t>(pos.y / tile_f) * tile;
    const int64_t end_x = std::min(static_cast<int64_t>(pos.x) + tile + VIEW_COLS, CAVE_END);
    const int64_t end_y = static_cast<int64_t>(pos.y) + tile + VIEW_ROWS;
    const Rectangle src{0.0f, 0.0f, tile_f, tile_f};
    const float size = tile_f * CELL_PX;
    for (int64_t tx = first_x; tx < end_x; tx += tile) {
        if (tx < 0) continue;
        const Color tint{CAVE_BRICK_TINT.r, CAVE_BRICK_TINT.g, CAVE_BRICK_TINT.b, cave_brick_alpha(tx)};
        const float dst_x = static_cast<float>(tx * CELL_PX) - pos.x * CELL_PX;
        for (int64_t ty = first_y; ty < end_y; ty += tile) {
            const float dst_y = static_cast<float>(ty * CELL_PX) - pos.y * CELL_PX;
            DrawTexturePro(brick, src, Rectangle{dst_x, dst_y, size, size}, Vector2{0, 0}, 0.0f, tint);
        }
    }
    EndScissorMode();
}

// The whole background, clear included.
inline void draw(const Game& game) {
    ClearBackground(PLAY_CLEAR);
    draw_panorama(game.textures[TEX_PANORAMA], game.camera.pos.x);
    draw_cave_shade(game.textures[TEX_CAVE_BRICK], game.camera.pos);
    draw_brick_tiles(game.textures[TEX_CAVE_BRICK], game.camera.pos);
}

}  // namespace layered_background
