#include "render/world_render.h"

#include <algorithm>
#include <cmath>

// After raylib.h, whose types it then reuses.
#include <rlgl.h>

// Four colour variants per material, chosen per cell by its shade.
// clang-format off
constexpr MaterialPalette MATERIAL_COLORS = {{
    {{{13, 17, 25, 255},    {13, 17, 25, 255},    {13, 17, 25, 255},    {13, 17, 25, 255}}},     // Empty
    {{{255, 255, 0, 255},   {255, 230, 0, 255},   {240, 220, 70, 255},  {210, 180, 40, 255}}},   // Sand
    {{{0, 0, 255, 255},     {30, 144, 255, 255},  {0, 105, 148, 255},   {70, 130, 180, 255}}},   // Water
    {{{80, 80, 80, 255},    {105, 105, 105, 255}, {169, 169, 169, 255}, {120, 120, 120, 255}}},  // Stone
    {{{128, 128, 128, 255}, {140, 140, 140, 255}, {160, 160, 160, 255}, {180, 180, 180, 255}}},  // Smoke
    {{{150, 111, 51, 255},  {139, 69, 19, 255},   {160, 120, 80, 255},  {101, 67, 33, 255}}},    // Wood
    {{{255, 0, 0, 255},     {255, 69, 0, 255},    {255, 140, 0, 255},   {255, 215, 0, 255}}},    // Fire
    {{{255, 255, 253, 255}, {230, 230, 230, 255}, {240, 240, 240, 255}, {220, 220, 220, 255}}},  // Steam
    {{{255, 0, 255, 255},   {200, 0, 200, 255},   {255, 100, 255, 255}, {180, 0, 180, 255}}},    // Plasma
    {{{139, 0, 0, 255},     {178, 34, 34, 255},   {205, 92, 92, 255},   {255, 99, 71, 255}}},    // Lava
    {{{70, 70, 70, 255},    {80, 80, 80, 255},    {90, 90, 90, 255},    {100, 100, 100, 255}}},  // Powder
    {{{254, 0, 0, 255},     {255, 50, 50, 255},   {240, 0, 0, 255},     {255, 100, 100, 255}}},  // Boom
    {{{73, 77, 43, 255},    {85, 90, 50, 255},    {65, 70, 40, 255},    {95, 100, 55, 255}}},    // Petrol
    {{{0, 255, 0, 255},     {50, 255, 50, 255},   {0, 200, 0, 255},     {100, 255, 100, 255}}},  // Acid
    {{{80, 80, 59, 255},    {90, 90, 65, 255},    {70, 70, 55, 255},    {100, 100, 75, 255}}},   // Iron
    {{{255, 255, 254, 255}, {240, 248, 255, 255}, {245, 245, 245, 255}, {255, 250, 250, 255}}},  // Snow
    {{{115, 12, 24, 255},   {152, 22, 35, 255},   {188, 39, 49, 255},   {220, 69, 69, 255}}},    // KnightDebris
    {{{109, 8, 27, 255},    {145, 18, 39, 255},   {183, 34, 54, 255},   {216, 63, 74, 255}}},    // OgreDebris
    {{{139, 90, 43, 255},   {160, 120, 80, 255},  {188, 143, 86, 255},  {205, 170, 125, 255}}},  // Ground
    {{{25, 89, 5, 255},     {55, 120, 15, 255},   {85, 160, 45, 255},   {115, 185, 70, 255}}},   // Grass
    {{{118, 184, 196, 190}, {158, 217, 224, 180}, {75, 137, 158, 210},  {205, 238, 239, 190}}},  // Glass
    {{{107, 8, 25, 255},    {143, 14, 32, 255},   {181, 31, 48, 255},   {211, 54, 65, 255}}},    // Blood
    {{{205, 54, 146, 255},  {230, 86, 170, 255},  {246, 133, 195, 255}, {179, 38, 122, 255}}},   // Potion
}};
// clang-format on
static_assert(MATERIAL_COLORS.size() == MATERIAL_COUNT);
static_assert(MATERIAL_COLORS[0].size() == PALETTE_VARIANTS);
static_assert(MATERIAL_COLORS[static_cast<int>(Material::Potion)][3].r == 179, "rows follow the Material order");

namespace {

// Swatches hold one texel per 8 x 8 block, so a cell samples every 8th pixel.
constexpr int64_t SWATCH_STEP = 8;

// Burning wood glows: warmer red, a little green, less blue.
constexpr int BURN_RED = 55;
constexpr int BURN_GREEN = 18;
constexpr int BURN_BLUE = 18;

// Smoke thins out from alpha 220 to 40 as it ages.
constexpr int SMOKE_ALPHA_SPAN = 180;
constexpr int SMOKE_ALPHA_MIN = 40;
// Remains, blood and potion fade away over their last 40 life units.
constexpr int FADE_LIFE = 40;

static_assert(CAVE_FADE_PX == 660);
// A pixel column counts as covered by the opaque bricks only this far inside
// their edge, which lies between pixel centres wherever the camera is.
constexpr int BRICK_EDGE_MARGIN = 1;
// Texel rows of the cell layer drawn as one quad where they are translucent.
constexpr int64_t CELL_STRIP_ROWS = 16;

// The cell window is one column and row wider than the view (plus one for
// the fractional scroll), except where it would run off the grid.
constexpr int64_t WINDOW_EXTRA = 2;
constexpr int64_t LAST_FULL_WINDOW_X = WORLD_W - VIEW_COLS - WINDOW_EXTRA;
constexpr int64_t LAST_FULL_WINDOW_Y = WORLD_H - VIEW_ROWS - WINDOW_EXTRA;
static_assert(LAST_FULL_WINDOW_X == 3038 && LAST_FULL_WINDOW_Y == 95);

constexpr float FVIRTUAL_W = static_cast<float>(VIRTUAL_W);
constexpr float FVIRTUAL_H = static_cast<float>(VIRTUAL_H);

Color palette_colour(Material m, uint8_t shade) {
    const auto index = static_cast<size_t>(m);
    if (index >= MATERIAL_COLORS.size()) return MATERIAL_COLORS[0][0];
    return MATERIAL_COLORS[index][shade & 3u];
}

Color warm_burning_wood(Color c) {
    c.r = static_cast<unsigned char>(std::min(c.r + BURN_RED, 255));
    c.g = static_cast<unsigned char>(std::min(c.g + BURN_GREEN, 255));
    c.b = static_cast<unsigned char>(std::max(c.b - BURN_BLUE, 0));
    return c;
}

Color wood_colour(const Cell& cell, Color c) { return cell.burning ? warm_burning_wood(c) : c; }

Color smoke_colour(const Cell& cell, Color c) {
    if (cell.life_max > 0) {
        const int alpha = cell.life * SMOKE_ALPHA_SPAN / cell.life_max + SMOKE_ALPHA_MIN;
        c.a = static_cast<unsigned char>(alpha);
    }
    return c;
}

Color fading_colour(const Cell& cell, Color c) {
    if (cell.life < FADE_LIFE) {
        c.a = static_cast<unsigned char>(std::max<int>(cell.life, 0) * 255 / FADE_LIFE);
    }
    return c;
}

Rectangle whole_frame() { return Rectangle{0.0f, 0.0f, FVIRTUAL_W, FVIRTUAL_H}; }

// Opaque pixels replace what is beneath them whether blended or not; drawn
// without blending they spare the rasteriser reading the frame back.
void begin_opaque_drawing() {
    rlSetBlendFactors(RL_ONE, RL_ZERO, RL_FUNC_ADD);
    BeginBlendMode(BLEND_CUSTOM);
}

bool panorama_opaque(Texture2D panorama) {
    return IsTextureValid(panorama) && panorama.format == PIXELFORMAT_UNCOMPRESSED_R8G8B8;
}

// Scissors to the open area; false (and nothing to end) when it is empty.
bool begin_open_scissor(OpenArea open) {
    if (open_area_empty(open)) return false;
    BeginScissorMode(open.left, open.top, VIRTUAL_W - open.left, open.bottom - open.top);
    return true;
}

// The brick tiles a camera position shows, in cells: whole tiles from the
// first at or left of the view (never left of the world) to the first at or
// past the view's right edge or the cave's end, and the same downwards.
struct BrickSpan {
    int64_t x0, x1;  // x1 exclusive, whole tiles
    int64_t y0, y1;
};

BrickSpan brick_span(int64_t tile, Vector2 pos) {
    const auto tile_f = static_cast<float>(tile);
    const int64_t first_x = std::max<int64_t>(static_cast<int64_t>(pos.x / tile_f) * tile, 0);
    const int64_t first_y = static_cast<int64_t>(pos.y / tile_f) * tile;
    const int64_t end_x = std::min(static_cast<int64_t>(pos.x) + tile + VIEW_COLS, CAVE_END);
    const int64_t end_y = static_cast<int64_t>(pos.y) + tile + VIEW_ROWS;
    const auto whole_tiles = [tile](int64_t from, int64_t to) {
        return to > from ? (to - from + tile - 1) / tile * tile : 0;
    };
    return BrickSpan{first_x, first_x + whole_tiles(first_x, end_x), first_y, first_y + whole_tiles(first_y, end_y)};
}

// Texel columns [c0, c1) of rows [r0, r1), each texel on its cell's 3 x 3
// pixels: whole pixels at whole-pixel offsets, so any block of the layer
// lands on the same pixels as the whole layer would.
void draw_cell_block(const CellLayer& layer, const CellLayerPlacement& at, int64_t c0, int64_t c1, int64_t r0,
                     int64_t r1) {
    if (c1 <= c0 || r1 <= r0) return;
    const auto x = static_cast<float>(c0);
    const auto y = static_cast<float>(r0);
    const auto w = static_cast<float>(c1 - c0);
    const auto h = static_cast<float>(r1 - r0);
    DrawTexturePro(layer.texture, Rectangle{at.source.x + x, at.source.y + y, w, h},
                   Rectangle{at.dest.x + x * CELL_PX, at.dest.y + y * CELL_PX, w * CELL_PX, h * CELL_PX},
                   Vector2{0, 0}, 0.0f, WHITE);
}

// Blending a clear texel leaves the frame as it is. The open rows are drawn in
// strips, each only as wide as the texels in it that are not clear: a strip
// of sky with a few sparks in it costs the sparks' width, a clear one nothing.
void draw_shown_cells(const CellLayer& layer, const CellLayerPlacement& at, int64_t cols, int64_t first,
                      int64_t end) {
    for (int64_t r0 = first; r0 < end; r0 += CELL_STRIP_ROWS) {
        const int64_t r1 = std::min(r0 + CELL_STRIP_ROWS, end);
        int64_t c0 = cols;
        int64_t c1 = 0;  // exclusive
        for (int64_t r = r0; r < r1; ++r) {
            const Color* row = layer.texels + r * CELL_LAYER_W;
            for (int64_t c = 0; c < c0; ++c) {
                if (row[c].a != 0) c0 = c;
            }
            for (int64_t c = cols; c > c1; --c) {
                if (row[c - 1].a != 0) c1 = c;
            }
        }
        draw_cell_block(layer, at, c0, c1, r0, r1);
    }
}

// The cell window as one texture, a texel per cell, each drawn as the 3 x 3
// pixels the cell covers. One square per cell would cost several
// milliseconds of vertex filling per frame, and software rasterisers slow to
// a crawl on its 150,000 tiny triangles.
// Rows of opaque cells (`open`, from cells_open_rows) are drawn whole
// without blending, the rows between them blended where they show anything.
void draw_cell_layer(const CellLayer& layer, const CellWindow& win, CamPx px, OpenRows open) {
    if (layer.texels == nullptr || !IsTextureValid(layer.texture) || win.x1 < win.x0) return;
    UpdateTexture(layer.texture, layer.texels);
    const CellLayerPlacement at = cell_layer_placement(win, px);
    const auto top = static_cast<int>(at.dest.y);
    const int64_t cols = win.x1 - win.x0 + 1;
    const int64_t rows = win.y1 - win.y0 + 1;
    // The open rows' edges lie on texel rows, unless nothing or everything
    // is covered.
    const auto texel_row = [&](int frame_row) -> int64_t {
        if (frame_row <= 0) return 0;
        if (frame_row >= VIRTUAL_H) return rows;
        return std::clamp<int64_t>((frame_row - top) / CELL_PX, 0, rows);
    };
    const int64_t open_first = texel_row(open.top);
    const int64_t open_end = std::max(open.bottom >= VIRTUAL_H ? rows : texel_row(open.bottom), open_first);
    begin_opaque_drawing();
    draw_cell_block(layer, at, 0, cols, 0, open_first);
    draw_cell_block(layer, at, 0, cols, open_end, rows);
    EndBlendMode();
    draw_shown_cells(layer, at, cols, open_first, open_end);
}

}  // namespace

void draw_free_particles(const World& world, CamPx px) {
    const int64_t count = std::clamp<int64_t>(world.particle_count, 0, MAX_PARTICLES);
    const Color* fire = MATERIAL_COLORS[static_cast<size_t>(Material::Fire)].data();
    for (int64_t i = 0; i < count; ++i) {
        const Particle& p = world.particles[static_cast<size_t>(i)];
        Color c = fire[p.shade & 3u];
        const int alpha = p.life_max == 0 ? 255 : std::min(p.life * 255 / p.life_max, 255);
        c.a = static_cast<unsigned char>(alpha);
        const auto sx = static_cast<int>(p.x * CELL_PX - static_cast<float>(px.x));
        const auto sy = static_cast<int>(p.y * CELL_PX - static_cast<float>(px.y));
        DrawRectangle(sx, sy, CELL_PX, CELL_PX, c);
    }
}

SwatchGrid make_swatch_grid(const ImageColors& image) {
    if (image.colors == nullptr || image.width <= 0 || image.height <= 0) {
        return SwatchGrid{nullptr, 0, 1, 1};
    }
    return SwatchGrid{image.colors, image.width, std::max<int64_t>(image.width, SWATCH_STEP) / SWATCH_STEP,
                      std::max<int64_t>(image.height, SWATCH_STEP) / SWATCH_STEP};
}

Color shade_cell(const Cell& cell, const Color* stone_texel, const Color* wood_texel) {
    const Color base = palette_colour(cell.material, cell.shade);
    switch (cell.material) {
        case Material::Stone:
            return stone_texel != nullptr ? *stone_texel : base;
        case Material::Wood:
            return wood_colour(cell, wood_texel != nullptr ? *wood_texel : base);
        case Material::Smoke:
            return smoke_colour(cell, base);
        case Material::KnightDebris:
        case Material::OgreDebris:
        case Material::Blood:
        case Material::Potion:
            return fading_colour(cell, base);
        default:
            return base;
    }
}

Color cell_colour(const Cell& cell, int64_t x, int64_t y, const ImageColors& stone,
                  const ImageColors& wood) {
    const SwatchGrid s = make_swatch_grid(stone);
    const SwatchGrid w = make_swatch_grid(wood);
    return shade_cell(cell,
                      swatch_texel(s, floor_mod(x, s.cols), floor_mod(y - STONE_SWATCH_ANCHOR_ROW, s.rows)),
                      swatch_texel(w, floor_mod(x, w.cols), floor_mod(y, w.rows)));
}

CellWindow visible_cells(Vector2 camera_pos) {
    const int64_t x0 = std::clamp<int64_t>(static_cast<int64_t>(camera_pos.x), 0, WORLD_W - 1);
    const int64_t y0 = std::clamp<int64_t>(static_cast<int64_t>(camera_pos.y), 0, WORLD_H - 1);
    const int64_t x1 = std::min(x0, LAST_FULL_WINDOW_X) + VIEW_COLS + WINDOW_EXTRA - 1;
    const int64_t y1 = std::min(y0, LAST_FULL_WINDOW_Y) + VIEW_ROWS + WINDOW_EXTRA - 1;
    return CellWindow{x0, x1, y0, y1};
}

CellWindow write_cell_texels(Color* texels, const World& world, Vector2 camera_pos, const SwatchGrid& stone,
                             const SwatchGrid& wood) {
    const CellWindow win = visible_cells(camera_pos);
    // visible_cells keeps the window on the grid and within the layer; the
    // loop below relies on it, so it is checked rather than assumed.
    if (!in_world(win.x0, win.y0) || !in_world(win.x1, win.y1) || win.x1 < win.x0 || win.y1 < win.y0 ||
        win.x1 - win.x0 >= CELL_LAYER_W || win.y1 - win.y0 >= CELL_LAYER_H) {
        return CellWindow{0, -1, 0, -1};
    }
    static_assert(VIEW_COLS + WINDOW_EXTRA == CELL_LAYER_W && VIEW_ROWS + WINDOW_EXTRA == CELL_LAYER_H,
                  "the widest window fills the layer");
    // Fully transparent, so that blending leaves the frame beneath untouched,
    // as no square at all would.
    constexpr Color CLEAR{0, 0, 0, 0};
    // The swatch positions advance with the loop instead of being divided out
    // per cell.
    const int64_t stone_col0 = floor_mod(win.x0, stone.cols);
    const int64_t wood_col0 = floor_mod(win.x0, wood.cols);
    for (int64_t y = win.y0; y <= win.y1; ++y) {
        const Cell* row = &cell_at(world, win.x0, y);
        Color* out = texels + (y - win.y0) * CELL_LAYER_W;
        const int64_t stone_row = floor_mod(y - STONE_SWATCH_ANCHOR_ROW, stone.rows);
        const int64_t wood_row = floor_mod(y, wood.rows);
        int64_t stone_col = stone_col0;
        int64_t wood_col = wood_col0;
        for (int64_t i = 0; i <= win.x1 - win.x0; ++i) {
            const Cell& cell = row[i];
            out[i] = cell.material == Material::Empty
                         ? CLEAR
                         : shade_cell(cell, swatch_texel(stone, stone_col, stone_row),
                                      swatch_texel(wood, wood_col, wood_row));
            if (++stone_col == stone.cols) stone_col = 0;
            if (++wood_col == wood.cols) wood_col = 0;
        }
    }
    return win;
}

CellLayerPlacement cell_layer_placement(const CellWindow& win, CamPx px) {
    const auto cols = static_cast<float>(win.x1 - win.x0 + 1);
    const auto rows = static_cast<float>(win.y1 - win.y0 + 1);
    // Whole pixels, the same the cells' squares start at: the texture is
    // drawn at integer positions and integer scale, so nearest sampling maps
    // every frame pixel to the one texel whose cell covers it.
    const auto x = static_cast<float>(win.x0 * CELL_PX - px.x);
    const auto y = static_cast<float>(win.y0 * CELL_PX - px.y);
    return CellLayerPlacement{Rectangle{0.0f, 0.0f, cols, rows},
                              Rectangle{x, y, cols * CELL_PX, rows * CELL_PX}};
}

Rectangle panorama_source(float texture_w, float texture_h, float camera_x) {
    // Width of a frame-shaped window at the texture's full height.
    const float window_w = texture_h * FVIRTUAL_W / FVIRTUAL_H;
    float x = 0.0f;
    if (window_w < texture_w) x = std::clamp(camera_x / CAMERA_MAX_X, 0.0f, 1.0f) * (texture_w - window_w);
    return Rectangle{x, 0.0f, std::min(texture_w, window_w), texture_h};
}

CaveEdges cave_edges(float camera_x) {
    return CaveEdges{std::min((static_cast<float>(CAVE_END) - camera_x) * CELL_PX, FVIRTUAL_W),
                     (static_cast<float>(CAVE_SOLID_END) - camera_x) * CELL_PX};
}

uint8_t cave_brick_alpha(int64_t tile_x) {
    if (tile_x < CAVE_SOLID_END) return 255;
    return static_cast<uint8_t>(std::max<int64_t>(0, (CAVE_END - tile_x) * 255 / (CAVE_END - CAVE_SOLID_END)));
}

int cave_wall_cover(const CaveWall& wall, Vector2 camera_pos) {
    if (!IsTextureValid(wall.texture) || wall.tile <= 0) return 0;
    const CaveEdges edges = cave_edges(camera_pos.x);
    const BrickSpan span = brick_span(wall.tile, camera_pos);
    if (edges.right <= 0.0f || span.x1 <= span.x0 || span.y1 <= span.y0) return 0;
    // The quad must reach the frame's left, top and bottom edges.
    const float left = static_cast<float>(span.x0) * CELL_PX - camera_pos.x * CELL_PX;
    const float top = static_cast<float>(span.y0) * CELL_PX - camera_pos.y * CELL_PX;
    const float bottom = static_cast<float>(span.y1) * CELL_PX - camera_pos.y * CELL_PX;
    if (left > 0.0f || top > 0.0f || bottom < FVIRTUAL_H) return 0;
    const int64_t opaque_end = std::min(wall.opaque_end, span.x1);
    const float opaque_right = (static_cast<float>(opaque_end) - camera_pos.x) * CELL_PX;
    const int covered = static_cast<int>(std::floor(opaque_right)) - BRICK_EDGE_MARGIN;
    // The bricks end where their scissor does.
    return std::clamp(std::min(covered, static_cast<int>(edges.right)), 0, VIRTUAL_W);
}

namespace {

bool texel_row_opaque(const Color* row, int first_col, int end_col) {
    for (int c = first_col; c < end_col; ++c) {
        if (row[c].a != 255) return false;
    }
    return true;
}

}  // namespace

OpenRows cells_open_rows(const Color* texels, const CellWindow& win, CamPx px) {
    constexpr OpenRows NOTHING_COVERED{0, VIRTUAL_H};
    if (texels == nullptr || win.x1 < win.x0 || win.y1 < win.y0) return NOTHING_COVERED;
    const auto left = static_cast<int>(win.x0 * CELL_PX - px.x);
    const auto top = static_cast<int>(win.y0 * CELL_PX - px.y);
    const auto cols = static_cast<int>(win.x1 - win.x0 + 1);
    const auto rows = static_cast<int>(win.y1 - win.y0 + 1);
    // A row covers the frame only if the window spans it edge to edge.
    if (left > 0 || left + cols * CELL_PX < VIRTUAL_W) return NOTHING_COVERED;
    // Only the texels that land in the frame count: the window runs a
    // little past the frame on every side.
    const int first_col = std::max(-left / CELL_PX, 0);
    const int end_col = std::min((VIRTUAL_W - left + CELL_PX - 1) / CELL_PX, cols);
    const int first_row = std::max(-top / CELL_PX, 0);
    const int end_row = std::min((VIRTUAL_H - top + CELL_PX - 1) / CELL_PX, rows);
    const auto opaque = [&](int r) {
        return texel_row_opaque(texels + static_cast<ptrdiff_t>(r) * CELL_LAYER_W, first_col, end_col);
    };
    int open_first = first_row;
    if (top <= 0) {
        while (open_first < end_row && opaque(open_first)) ++open_first;
    }
    int open_end = end_row;
    if (top + rows * CELL_PX >= VIRTUAL_H) {
        while (open_end > open_first && opaque(open_end - 1)) --open_end;
    }
    const int open_top = open_first == first_row ? 0 : top + open_first * CELL_PX;
    const int open_bottom = open_end == end_row ? VIRTUAL_H : top + open_end * CELL_PX;
    const int clamped_top = std::clamp(open_top, 0, VIRTUAL_H);
    return OpenRows{clamped_top, std::clamp(open_bottom, clamped_top, VIRTUAL_H)};
}

CellWindow write_frame_cells(const Game& game) {
    if (game.world == nullptr || game.cell_layer.texels == nullptr) return CellWindow{0, -1, 0, -1};
    return write_cell_texels(game.cell_layer.texels, *game.world, game.camera.pos,
                             make_swatch_grid(game.stone_pixels), make_swatch_grid(game.wood_pixels));
}

OpenArea world_open_area(const Game& game, const CellWindow& cells) {
    const OpenRows rows = cells_open_rows(game.cell_layer.texels, cells, cam_px(game.camera));
    return OpenArea{cave_wall_cover(game.cave_wall, game.camera.pos), rows.top, rows.bottom};
}

namespace {

// The play clear, the panorama and its darkening over the whole frame.
void draw_whole_sky(const Game& game) {
    const Texture2D panorama = game.textures[TEX_PANORAMA];
    // An opaque panorama covers the whole frame: the clear would never show.
    if (!panorama_opaque(panorama)) ClearBackground(PLAY_CLEAR);
    if (!IsTextureValid(panorama)) return;
    const Rectangle src = panorama_source(static_cast<float>(panorama.width), static_cast<float>(panorama.height),
                                          game.camera.pos.x);
    DrawTexturePro(panorama, src, whole_frame(), Vector2{0, 0}, 0.0f, WHITE);
    DrawRectangle(0, 0, VIRTUAL_W, VIRTUAL_H, PANORAMA_DARKEN);
}

bool sky_cached(const SkyCache& cache, float column) {
    return cache.holds && cache.column == column && IsRenderTextureValid(cache.target);
}

// The cached sky, every pixel (alpha included) as it was drawn: blending
// would mix its translucent alpha in again.
void copy_cached_sky(const SkyCache& cache) {
    begin_opaque_drawing();
    // Negative source height: render textures are stored upside down.
    DrawTexturePro(cache.target.texture, Rectangle{0.0f, 0.0f, FVIRTUAL_W, -FVIRTUAL_H}, whole_frame(),
                   Vector2{0, 0}, 0.0f, WHITE);
    EndBlendMode();
}

}  // namespace

void prepare_sky(Game& game) {
    SkyCache& cache = game.sky_cache;
    if (!IsRenderTextureValid(cache.target)) return;
    const float column = game.camera.pos.x;
    const bool held = column == cache.last_column;
    cache.last_column = column;
    if (sky_cached(cache, column)) return;
    cache.holds = false;
    if (!held) return;
    BeginTextureMode(cache.target);
    draw_whole_sky(game);
    EndTextureMode();
    cache.holds = true;
    cache.column = column;
}

void draw_sky(const Game& game, OpenArea open) {
    if (!begin_open_scissor(open)) return;
    if (sky_cached(game.sky_cache, game.camera.pos.x)) {
        copy_cached_sky(game.sky_cache);
    } else {
        draw_whole_sky(game);
    }
    EndScissorMode();
}

// A dark cave wall behind the start of the world: a solid fill that fades
// out toward the cave's mouth.
void draw_cave_shade(const Game& game, OpenArea open) {
    if (!IsTextureValid(game.cave_wall.texture) || open_area_empty(open)) return;
    const CaveEdges edges = cave_edges(game.camera.pos.x);
    if (edges.right <= 0.0f) return;
    const int fade_x = static_cast<int>(edges.fade);
    if (edges.fade > 0.0f) {
        // A plain rectangle: its open part is the same pixels.
        const int fill_end = static_cast<int>(std::min(edges.fade, FVIRTUAL_W));
        if (fill_end > open.left) {
            DrawRectangle(open.left, open.top, fill_end - open.left, open.bottom - open.top, CAVE_FILL);
        }
    }
    // The fade is interpolated across its whole width: it is drawn whole and
    // clipped, so that every pixel it shows keeps its shade.
    if (fade_x + CAVE_FADE_PX <= open.left || fade_x >= VIRTUAL_W) return;
    begin_open_scissor(open);
    DrawRectangleGradientH(fade_x, 0, CAVE_FADE_PX, VIRTUAL_H, CAVE_FILL, CAVE_FILL_CLEAR);
    EndScissorMode();
}

// The bricks scroll with the unrounded camera so they glide smoothly; they
// end at the cave's end, which their scissor cuts.
void draw_cave_bricks(const Game& game, OpenArea open) {
    const CaveWall& wall = game.cave_wall;
    if (!IsTextureValid(wall.texture) || wall.tile <= 0 || open.top >= open.bottom) return;
    const Vector2 pos = game.camera.pos;
    const CaveEdges edges = cave_edges(pos.x);
    const auto right = static_cast<int>(edges.right);
    const BrickSpan span = brick_span(wall.tile, pos);
    if (edges.right <= 0.0f || right <= 0 || span.x1 <= span.x0 || span.y1 <= span.y0) return;
    // The opaque bricks without blending, the fading ones blended.
    const int64_t split = std::clamp(wall.opaque_end, span.x0, span.x1);
    const auto h = static_cast<float>(span.y1 - span.y0);
    const float y = static_cast<float>(span.y0 * CELL_PX) - pos.y * CELL_PX;
    const auto draw_columns = [&](int64_t first, int64_t end) {
        if (end <= first) return;
        const auto w = static_cast<float>(end - first);
        const float x = static_cast<float>(first * CELL_PX) - pos.x * CELL_PX;
        DrawTexturePro(wall.texture, Rectangle{static_cast<float>(first), 0.0f, w, h},
                       Rectangle{x, y, w * CELL_PX, h * CELL_PX}, Vector2{0, 0}, 0.0f, CAVE_BRICK_TINT);
    };
    BeginScissorMode(0, open.top, right, open.bottom - open.top);
    begin_opaque_drawing();
    draw_columns(span.x0, split);
    EndBlendMode();
    draw_columns(split, span.x1);
    EndScissorMode();
}

void draw_frame_cells(const Game& game, const CellWindow& cells, OpenArea open) {
    draw_cell_layer(game.cell_layer, cells, cam_px(game.camera), OpenRows{open.top, open.bottom});
}

void draw_world(const Game& game) {
    const CellWindow cells = write_frame_cells(game);
    const OpenArea open = world_open_area(game, cells);
    draw_sky(game, open);
    draw_cave_shade(game, open);
    draw_cave_bricks(game, open);
    if (game.world == nullptr) return;
    draw_frame_cells(game, cells, open);
    draw_free_particles(*game.world, cam_px(game.camera));
}
