#include "swatches.h"

#include "paint.h"

namespace {

// Rock strata: bed heights sum to the 64-cell period so beds wrap cleanly.
constexpr int STRATA_HEIGHTS[] = {6, 4, 9, 3, 7, 5, 8, 4, 10, 8};
constexpr int STRATA_COUNT = static_cast<int>(sizeof(STRATA_HEIGHTS) / sizeof(STRATA_HEIGHTS[0]));
constexpr int strata_total() {
    int sum = 0;
    for (int h : STRATA_HEIGHTS) sum += h;
    return sum;
}
static_assert(strata_total() == STONE_CELLS_Y, "the beds must fill the vertical period exactly");

constexpr Colf STRATA_COLOURS[STRATA_COUNT] = {
    rgb(100, 95, 102), rgb(76, 73, 84),  rgb(122, 114, 112), rgb(86, 80, 82),  rgb(108, 105, 116),
    rgb(70, 68, 80),   rgb(132, 122, 112), rgb(92, 89, 100),  rgb(114, 109, 118), rgb(82, 77, 85),
};

constexpr uint32_t STONE_SEED = 0x57013EU;
constexpr uint32_t WOOD_SEED = 0x3009D1U;
constexpr uint32_t BRICK_SEED = 0xB21C4U;

int wrap_int(int v, int period) {
    const int m = v % period;
    return m < 0 ? m + period : m;
}

struct Bed {
    int index;   // which stratum
    int row;     // row inside it, 0 at its top
    int height;
};

Bed bed_at(int y) {
    int top = 0;
    for (int i = 0; i < STRATA_COUNT; ++i) {
        if (y < top + STRATA_HEIGHTS[i]) return {i, y - top, STRATA_HEIGHTS[i]};
        top += STRATA_HEIGHTS[i];
    }
    return {STRATA_COUNT - 1, 0, STRATA_HEIGHTS[STRATA_COUNT - 1]};
}

// Beds are split into blocks by vertical joints; a joint sits where a hash
// fires, at least four cells apart, so the rock reads as layered cobbles.
bool is_joint(int bed, int x) {
    for (int back = 1; back <= 4; ++back) {
        if (hash01(wrap_int(x - back, STONE_CELLS_X), bed, STONE_SEED + 7U) < 0.14f) return false;
    }
    return hash01(x, bed, STONE_SEED + 7U) < 0.14f;
}

int block_index(int bed, int x) {
    int joints = 0, before = 0;
    for (int i = 0; i < STONE_CELLS_X; ++i) {
        if (!is_joint(bed, i)) continue;
        ++joints;
        if (i <= x) ++before;
    }
    // The block after the last joint continues into the one before the first.
    return joints == 0 ? 0 : before % joints;
}

Colf stone_cell(int cx, int cy) {
    // The beds wave gently; the wave repeats over the 92-cell width.
    const float wave = (fbm_1d(static_cast<float>(cx) / 23.0f, STONE_SEED, 3, 4) - 0.5f) * 9.0f;
    const int sy = wrap_int(cy + static_cast<int>(wave + 100.5f) - 100, STONE_CELLS_Y);
    const Bed bed = bed_at(sy);
    Colf c = STRATA_COLOURS[bed.index];

    const float block_tone = (hash01(block_index(bed.index, cx), bed.index, STONE_SEED + 3U) - 0.5f) * 18.0f;
    const float mottle = (fbm_2d(static_cast<float>(cx) / 11.5f, static_cast<float>(cy) / 8.0f, STONE_SEED + 11U, 3, 8, 8) -
                          0.5f) * 26.0f;
    const float grain = (hash01(cx, cy, STONE_SEED + 5U) - 0.5f) * 10.0f;
    const float shift = block_tone + mottle + grain;
    c = {c.r + shift, c.g + shift, c.b + shift * 1.05f};

    if (bed.row == 0) c = add(c, rgb(14, 13, 12));            // lit top of a bed
    if (bed.row == bed.height - 1) c = scale(c, 0.72f);        // parting below it
    if (is_joint(bed.index, cx) && bed.row != 0) c = scale(c, 0.62f);
    const float speck = hash01(cx, cy, STONE_SEED + 9U);
    if (speck < 0.018f) c = mix(c, rgb(176, 170, 162), 0.6f);  // pale inclusions
    else if (speck > 0.985f) c = scale(c, 0.7f);               // pits
    return c;
}

constexpr int PLANK_ROWS = 4;
constexpr Colf PLANK_COLOURS[] = {
    rgb(150, 104, 56), rgb(132, 86, 44), rgb(158, 114, 64), rgb(120, 78, 40),
    rgb(144, 98, 52),  rgb(164, 120, 70), rgb(128, 84, 42), rgb(140, 96, 50),
};
static_assert(sizeof(PLANK_COLOURS) / sizeof(PLANK_COLOURS[0]) == WOOD_CELLS_Y / PLANK_ROWS);

int plank_joint(int plank) { return static_cast<int>(hash2(plank, 0, WOOD_SEED) % WOOD_CELLS_X); }

Colf wood_cell(int cx, int cy) {
    const int plank = cy / PLANK_ROWS, row = cy % PLANK_ROWS;
    const Colf seam = rgb(58, 36, 20);
    if (row == 0) return seam;
    const int joint = plank_joint(plank);
    if (cx == joint) return mix(seam, rgb(90, 58, 30), 0.3f);

    Colf c = PLANK_COLOURS[plank];
    // Grain runs along the plank: slow change in x, a new streak every row.
    const float streak = fbm_2d(static_cast<float>(cx + plank * 11) / 8.0f, static_cast<float>(cy), WOOD_SEED + 1U, 2, 4,
                                WOOD_CELLS_Y);
    c = scale(c, 0.82f + 0.34f * streak);
    if (row == 1) c = add(c, rgb(10, 8, 4));
    if (row == PLANK_ROWS - 1) c = scale(c, 0.88f);
    // End grain darkens next to the butt joint; a nail head sits beside it.
    const int before = wrap_int(joint - 1, WOOD_CELLS_X), after = wrap_int(joint + 1, WOOD_CELLS_X);
    if (cx == before || cx == after) c = scale(c, 0.86f);
    if (row == 2 && cx == after) return rgb(46, 40, 38);
    // One knot on every other plank.
    if (plank % 2 == 1) {
        const int kx = wrap_int(joint + 9 + static_cast<int>(hash2(plank, 1, WOOD_SEED) % 12U), WOOD_CELLS_X);
        if (cx == kx && row == 2) return rgb(78, 46, 22);
        if ((cx == wrap_int(kx - 1, WOOD_CELLS_X) || cx == wrap_int(kx + 1, WOOD_CELLS_X)) && row == 2)
            c = mix(c, rgb(98, 60, 30), 0.6f);
        if (cx == kx && row != 2) c = mix(c, rgb(104, 66, 34), 0.45f);
    }
    return c;
}

PixelImage blocks_from_cells(int width, int height, int cells_x, int cells_y, Colf (*cell)(int, int)) {
    PixelImage cells(cells_x, cells_y);
    for (int y = 0; y < cells_y; ++y) {
        for (int x = 0; x < cells_x; ++x) cells.at(x, y) = to_rgba(cell(x, y));
    }
    // Texels past the last whole cell repeat the pattern from its start.
    PixelImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.at(x, y) = cells.at((x / SWATCH_STEP) % cells_x, (y / SWATCH_STEP) % cells_y);
        }
    }
    return image;
}

}  // namespace

PixelImage make_stone_swatch() {
    return blocks_from_cells(STONE_WIDTH, STONE_HEIGHT, STONE_CELLS_X, STONE_CELLS_Y, stone_cell);
}

PixelImage make_wood_swatch() {
    return blocks_from_cells(WOOD_WIDTH, WOOD_HEIGHT, WOOD_CELLS_X, WOOD_CELLS_Y, wood_cell);
}

PixelImage make_cave_brick() {
    // Two courses of 13 x 6 bricks, offset by half a brick, with one texel
    // of mortar; the game tints the tile cold blue in the cave and shows it
    // untinted on the title screen, so it is a light, warm neutral stone.
    PixelImage tile(BRICK_SIZE, BRICK_SIZE);
    const Colf mortar = rgb(54, 46, 48);
    for (int y = 0; y < BRICK_SIZE; ++y) {
        const int course = y / 7, row = y % 7;
        for (int x = 0; x < BRICK_SIZE; ++x) {
            const int joint = course == 0 ? 0 : 7;
            const int col = wrap_int(x - joint, BRICK_SIZE);  // 0 is the mortar column
            if (row == 0 || col == 0) {
                tile.at(x, y) = to_rgba(mortar);
                continue;
            }
            Colf c = course == 0 ? rgb(150, 132, 120) : rgb(140, 126, 116);
            if (row == 1) c = add(c, rgb(22, 20, 16));
            if (row == 6) c = scale(c, 0.8f);
            if (col == 1) c = add(c, rgb(8, 8, 6));
            if (col == BRICK_SIZE - 1) c = scale(c, 0.88f);
            const float grit = (hash01(x, y, BRICK_SEED) - 0.5f) * 14.0f;
            c = {c.r + grit, c.g + grit, c.b + grit};
            if (hash01(x, y, BRICK_SEED + 1U) < 0.06f) c = scale(c, 0.8f);
            tile.at(x, y) = to_rgba(c);
        }
    }
    return tile;
}

PixelImage subsample_cells(const PixelImage& swatch, int step) {
    const int cols = (swatch.width > step ? swatch.width : step) / step;
    const int rows = (swatch.height > step ? swatch.height : step) / step;
    PixelImage cells(cols, rows);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < cols; ++x) cells.at(x, y) = swatch.at(x * step, y * step);
    }
    return cells;
}
