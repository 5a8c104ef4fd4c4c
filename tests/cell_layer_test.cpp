// The cell layer's texel buffer: each cell's colour lands in its texel, with
// the special cases worked out by hand, and the texture is placed where the
// cells' own 3 x 3 squares would be.

#include <gtest/gtest.h>

#include <vector>

#include "render/world_render.h"
#include "test_swatch.h"
#include "test_game.h"

namespace {


constexpr Color UNTOUCHED = {1, 2, 3, 4};

struct Texels {
    std::vector<Color> buffer = std::vector<Color>(static_cast<size_t>(CELL_LAYER_W) * CELL_LAYER_H, UNTOUCHED);
    Color at(int64_t col, int64_t row) const { return buffer[static_cast<size_t>(row * CELL_LAYER_W + col)]; }
};

Cell& put(World& w, int64_t x, int64_t y, Material m, uint8_t shade = 0) {
    Cell& c = cell_at(w, x, y);
    c = Cell{};
    c.material = m;
    c.shade = shade;
    return c;
}

void expect_colour(Color got, Color want, const char* what) {
    EXPECT_EQ(got.r, want.r) << what;
    EXPECT_EQ(got.g, want.g) << what;
    EXPECT_EQ(got.b, want.b) << what;
    EXPECT_EQ(got.a, want.a) << what;
}

CamPx px_for(Vector2 pos) {
    Camera camera = make_camera();
    camera.pos = pos;
    return cam_px(camera);
}

const SwatchGrid NO_SWATCH = make_swatch_grid(ImageColors{});

TEST(CellTexels, SpecialCasesCarryTheirHandWorkedColourAndAlpha) {
    WorldPtr w = make_empty_world();
    const TestSwatch stone(24, 16);  // 3 x 2 steps
    const TestSwatch wood(16, 24);   // 2 x 3 steps
    // The camera's window starts at column 0, row 97.
    put(*w, 4, 243, Material::Stone, 2);  // step (4 mod 3, (243 - 242) mod 2) = (1, 1)
    put(*w, 3, 100, Material::Wood, 1).burning = true;  // step (1, 100 mod 3 = 1)
    put(*w, 5, 100, Material::Wood, 1);                 // step (1, 1), not burning
    Cell& smoke = put(*w, 10, 120, Material::Smoke, 2);
    smoke.life = 50;
    smoke.life_max = 100;
    put(*w, 11, 120, Material::KnightDebris, 3).life = 20;
    put(*w, 12, 120, Material::OgreDebris, 1).life = 0;
    put(*w, 13, 120, Material::Blood, 0).life = 39;
    put(*w, 14, 120, Material::Blood, 0).life = -5;
    put(*w, 15, 120, Material::Potion, 0).life = 40;
    put(*w, 16, 120, Material::Glass, 1);
    put(*w, 17, 120, Material::Sand, 3);

    Texels t;
    write_cell_texels(t.buffer.data(), *w, Vector2{0.0f, 97.0f}, make_swatch_grid(stone.image),
                      make_swatch_grid(wood.image));
    expect_colour(t.at(0, 0), Color{0, 0, 0, 0}, "empty is fully transparent");
    expect_colour(t.at(4, 243 - 97), Color{8, 8, 7, 200}, "stone swatch texel");
    // 8 + 55, 8 + 18, 7 - 18 held at 0; the swatch's alpha stays.
    expect_colour(t.at(3, 3), Color{63, 26, 0, 200}, "burning wood on the swatch");
    expect_colour(t.at(5, 3), Color{8, 8, 7, 200}, "wood swatch texel");
    expect_colour(t.at(10, 23), Color{160, 160, 160, 130}, "smoke at half life: 50 * 180 / 100 + 40");
    expect_colour(t.at(11, 23), Color{220, 69, 69, 127}, "remains at life 20: 20 * 255 / 40");
    expect_colour(t.at(12, 23), Color{145, 18, 39, 0}, "remains at life 0");
    expect_colour(t.at(13, 23), Color{107, 8, 25, 248}, "blood at life 39: 39 * 255 / 40");
    expect_colour(t.at(14, 23), Color{107, 8, 25, 0}, "blood past its life");
    expect_colour(t.at(15, 23), Color{205, 54, 146, 255}, "potion before its fade");
    expect_colour(t.at(16, 23), Color{158, 217, 224, 180}, "glass keeps its palette alpha");
    expect_colour(t.at(17, 23), Color{210, 180, 40, 255}, "sand");
}

TEST(CellTexels, WithoutSwatchesStoneAndBurningWoodUseThePalette) {
    WorldPtr w = make_empty_world();
    put(*w, 0, 0, Material::Stone, 2);
    put(*w, 1, 0, Material::Wood, 0).burning = true;
    Texels t;
    write_cell_texels(t.buffer.data(), *w, Vector2{0.0f, 0.0f}, NO_SWATCH, NO_SWATCH);
    expect_colour(t.at(0, 0), Color{169, 169, 169, 255}, "stone palette");
    expect_colour(t.at(1, 0), Color{205, 129, 33, 255}, "burning wood: 150 + 55, 111 + 18, 51 - 18");
}

TEST(CellTexels, WindowCornersLandInTheLayerCornersAtAFractionalCamera) {
    WorldPtr w = make_empty_world();
    // Window 12 .. 373 x 81 .. 285.
    put(*w, 12, 81, Material::Sand, 1);
    put(*w, 373, 285, Material::Water, 2);
    put(*w, 11, 81, Material::Lava, 0);   // just left of the window
    put(*w, 374, 285, Material::Lava, 0);  // just right of it
    Texels t;
    const CellWindow win = write_cell_texels(t.buffer.data(), *w, Vector2{12.4f, 81.7f}, NO_SWATCH, NO_SWATCH);
    EXPECT_EQ(win.x0, 12);
    EXPECT_EQ(win.y1, 285);
    expect_colour(t.at(0, 0), Color{255, 230, 0, 255}, "top-left cell");
    expect_colour(t.at(CELL_LAYER_W - 1, CELL_LAYER_H - 1), Color{0, 105, 148, 255}, "bottom-right cell");
    expect_colour(t.at(1, 0), Color{0, 0, 0, 0}, "its empty neighbour");
    expect_colour(t.at(CELL_LAYER_W - 2, CELL_LAYER_H - 1), Color{0, 0, 0, 0}, "the other's empty neighbour");
}

TEST(CellTexels, AtTheRightEndOnlyTheWorldsColumnsAreWrittenWithUnchangedRowStride) {
    WorldPtr w = make_empty_world();
    put(*w, 3040, 98, Material::Sand, 0);
    put(*w, 3399, 299, Material::Acid, 1);
    Texels t;
    const CellWindow win =
        write_cell_texels(t.buffer.data(), *w, Vector2{CAMERA_MAX_X, CAMERA_MAX_Y}, NO_SWATCH, NO_SWATCH);
    EXPECT_EQ(win.x1 - win.x0 + 1, 360);
    EXPECT_EQ(win.y1 - win.y0 + 1, 203);
    expect_colour(t.at(0, 1), Color{255, 255, 0, 255}, "second row starts a full layer row on");
    expect_colour(t.at(359, 202), Color{50, 255, 50, 255}, "the world's last cell");
    expect_colour(t.at(358, 202), Color{0, 0, 0, 0}, "empty beside it");
    // Nothing past the world's edge is touched.
    expect_colour(t.at(360, 0), UNTOUCHED, "column 360");
    expect_colour(t.at(361, 202), UNTOUCHED, "column 361");
    expect_colour(t.at(0, 203), UNTOUCHED, "row 203");
    expect_colour(t.at(361, 204), UNTOUCHED, "last texel");

    // Two columns further left the window is full width again.
    Texels full;
    write_cell_texels(full.buffer.data(), *w, Vector2{3038.0f, CAMERA_MAX_Y}, NO_SWATCH, NO_SWATCH);
    expect_colour(full.at(361, 202), Color{50, 255, 50, 255}, "last cell in the last column");
    expect_colour(full.at(2, 1), Color{255, 255, 0, 255}, "column 3040");
}

void expect_rect(Rectangle got, Rectangle want, const char* what) {
    EXPECT_EQ(got.x, want.x) << what;
    EXPECT_EQ(got.y, want.y) << what;
    EXPECT_EQ(got.width, want.width) << what;
    EXPECT_EQ(got.height, want.height) << what;
}

TEST(CellLayerPlacement, TextureSitsAtTheCellsWholePixelOffsetScaledThreeTimes) {
    struct Case {
        Vector2 pos;
        Rectangle source;
        Rectangle dest;
        const char* what;
    };
    const Case cases[] = {
        {{0.0f, 80.0f}, {0, 0, 362, 205}, {0, 0, 1086, 615}, "new game"},
        // cam_px (37, 245); the window starts at cell (12, 81), pixel (36, 243).
        {{12.4f, 81.7f}, {0, 0, 362, 205}, {-1, -2, 1086, 615}, "fractional camera"},
        {{3040.0f, 97.0f}, {0, 0, 360, 203}, {0, 0, 1080, 609}, "both limits"},
        // cam_px (9119, 290); window from cell (3039, 96), 361 x 204.
        {{3039.5f, 96.5f}, {0, 0, 361, 204}, {-2, -2, 1083, 612}, "half a cell before the limits"},
    };
    for (const Case& c : cases) {
        const CellLayerPlacement at = cell_layer_placement(visible_cells(c.pos), px_for(c.pos));
        expect_rect(at.source, c.source, c.what);
        expect_rect(at.dest, c.dest, c.what);
    }
}

}  // namespace
