#pragma once
// Backgrounds, cells and sparks of a play frame.

#include <array>

#include "app/game.h"
#include "render/cell_layer.h"

inline constexpr int PALETTE_VARIANTS = 4;

// What shows where no layer covers the frame.
inline constexpr Color PLAY_CLEAR = {13, 17, 25, 255};
inline constexpr Color PANORAMA_DARKEN = {10, 16, 28, 110};
inline constexpr Color CAVE_FILL = {25, 27, 39, 255};
inline constexpr Color CAVE_FILL_CLEAR = {25, 27, 39, 0};
inline constexpr Color CAVE_BRICK_TINT = {108, 115, 139, 255};
// The cave's bricks are solid up to column 880 and fade out by column 1100.
inline constexpr int64_t CAVE_SOLID_END = 880;
inline constexpr int64_t CAVE_END = 1100;
inline constexpr int CAVE_FADE_PX = static_cast<int>((CAVE_END - CAVE_SOLID_END) * CELL_PX);
using MaterialPalette = std::array<std::array<Color, PALETTE_VARIANTS>, MATERIAL_COUNT>;
extern const MaterialPalette MATERIAL_COLORS;

// A colour swatch prepared for sampling: one texel every 8 pixels, repeating
// every `cols` x `rows` cells. `colors` is null when the swatch is unusable.
struct SwatchGrid {
    const Color* colors;
    int64_t width;
    int64_t cols;
    int64_t rows;
};

SwatchGrid make_swatch_grid(const ImageColors& image);

// Non-negative remainder, for cells left of or above a swatch's anchor.
inline int64_t floor_mod(int64_t a, int64_t m) {
    const int64_t r = a % m;
    return r < 0 ? r + m : r;
}

// The swatch texel of repeat step (col, row); null for an unusable swatch.
inline const Color* swatch_texel(const SwatchGrid& s, int64_t col, int64_t row) {
    if (s.colors == nullptr) return nullptr;
    return s.colors + 8 * row * s.width + 8 * col;
}

// Stone's pattern is anchored so that its top row lines up with the ground
// level at the start of the world.
inline constexpr int64_t STONE_SWATCH_ANCHOR_ROW = 242;

// Colour of one cell given the swatch texels that apply at its position
// (null: use the palette). The per-frame cell loop finds the texels itself.
Color shade_cell(const Cell& cell, const Color* stone_texel, const Color* wood_texel);

// Colour of one cell as the world renderer shows it (palette, swatches, fades).
Color cell_colour(const Cell& cell, int64_t x, int64_t y, const ImageColors& stone,
                  const ImageColors& wood);

// The cells drawn for a camera position, inclusive bounds, always on the grid.
struct CellWindow {
    int64_t x0, x1;
    int64_t y0, y1;
};
CellWindow visible_cells(Vector2 camera_pos);

// Writes the colour of every cell in the camera's window into the texels,
// rows CELL_LAYER_W apart, the window's top-left cell first; Empty cells
// become fully transparent. Returns the window written (empty, x1 < x0,
// should it ever leave the grid or the layer).
CellWindow write_cell_texels(Color* texels, const World& world, Vector2 camera_pos, const SwatchGrid& stone,
                             const SwatchGrid& wood);

// The texels of the cell layer a window uses and where they go in the frame,
// each texel 3 x 3 pixels at its cell's position.
struct CellLayerPlacement {
    Rectangle source;
    Rectangle dest;
};
CellLayerPlacement cell_layer_placement(const CellWindow& win, CamPx px);

// Source rectangle of the panorama for the camera's column: it pans across
// its width as the camera crosses the world.
Rectangle panorama_source(float texture_w, float texture_h, float camera_x);

// The brick cave at the start of the world, in frame pixels for a camera
// column: `right` is where the cave ends (nothing drawn when <= 0), `fade`
// where its solid part ends and the fade to open sky begins.
struct CaveEdges {
    float right;
    float fade;
};
CaveEdges cave_edges(float camera_x);
// Alpha of a brick tile column: solid inside the cave, fading toward its mouth.
uint8_t cave_brick_alpha(int64_t tile_x);

// The part of the frame the layers beneath the bricks and the cells can
// still be seen in: opaque bricks hide every pixel column left of `left`,
// opaque cells every pixel row above `top` and from `bottom` down.
struct OpenArea {
    int left;
    int top;
    int bottom;
};
inline bool open_area_empty(OpenArea open) { return open.left >= VIRTUAL_W || open.top >= open.bottom; }

// Pixel columns, from the frame's left edge, that the cave wall's opaque
// bricks cover entirely for a camera position (0 when none).
int cave_wall_cover(const CaveWall& wall, Vector2 camera_pos);

// The pixel rows the cells drawn from `texels` (a window written by
// write_cell_texels) leave uncovered: every row above `top` and from `bottom`
// down is covered edge to edge with opaque colour. {0, VIRTUAL_H} when no
// row is; top == bottom when all are.
struct OpenRows {
    int top;
    int bottom;
};
OpenRows cells_open_rows(const Color* texels, const CellWindow& win, CamPx px);

// Before a play frame's texture mode: brings the sky cache up to date once
// the camera has held its column for a frame. A moving camera keeps drawing
// the sky directly rather than twice.
void prepare_sky(Game& game);

// Panorama, cave layer, cells and free particles, into the target, each
// layer only where the layers above it leave it to be seen; the play clear
// colour shows wherever nothing is drawn.
void draw_world(const Game& game);
// The layers of draw_world, in its order, for tools that compose or time a
// frame in parts. Writing the cell texels comes first, since the cells decide
// what the background may skip.
CellWindow write_frame_cells(const Game& game);
OpenArea world_open_area(const Game& game, const CellWindow& cells);
void draw_sky(const Game& game, OpenArea open);         // clear, panorama, darkening
void draw_cave_shade(const Game& game, OpenArea open);  // the cave's fill and its fade
void draw_cave_bricks(const Game& game, OpenArea open);
// Uploads and draws the texels; `open` from world_open_area.
void draw_frame_cells(const Game& game, const CellWindow& cells, OpenArea open);
void draw_free_particles(const World& world, CamPx px);
