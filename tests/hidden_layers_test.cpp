// What the opaque layers of a play frame hide from the layers beneath them:
// rows of opaque cells at the frame's top and bottom, and the cave wall's
// opaque bricks at its left. Getting these wrong leaves holes in the frame
// (too much hidden) that only some camera positions would show.

#include <gtest/gtest.h>

#include <vector>

#include "render/cave_wall.h"
#include "render/world_render.h"
#include "test_swatch.h"

namespace {

constexpr Color SOLID = {90, 90, 90, 255};
constexpr Color GLASS = {118, 184, 196, 190};
constexpr Color CLEAR = {0, 0, 0, 0};

// A cell window's texels, opaque everywhere until told otherwise.
struct Texels {
    std::vector<Color> buffer = std::vector<Color>(static_cast<size_t>(CELL_LAYER_W) * CELL_LAYER_H, SOLID);
    void set(int col, int row, Color c) { buffer[static_cast<size_t>(row * CELL_LAYER_W + col)] = c; }
    void fill_row(int row, Color c) {
        for (int col = 0; col < CELL_LAYER_W; ++col) set(col, row, c);
    }
};

CamPx px_for(Vector2 pos) {
    Camera camera = make_camera();
    camera.pos = pos;
    return cam_px(camera);
}

OpenRows open_rows(const Texels& t, Vector2 pos) {
    return cells_open_rows(t.buffer.data(), visible_cells(pos), px_for(pos));
}

TEST(CellsOpenRows, OpaqueBandsAtTopAndBottomHideTheirRowsOnly) {
    // Camera at row 80.4: the window starts at row 80, one pixel above the
    // frame, so texel row r spans frame rows 3r - 1 .. 3r + 1.
    const Vector2 pos{12.0f, 80.4f};
    Texels t;
    for (int r = 40; r < 150; ++r) t.fill_row(r, CLEAR);
    const OpenRows open = open_rows(t, pos);
    EXPECT_EQ(open.top, 3 * 40 - 1);
    EXPECT_EQ(open.bottom, 3 * 150 - 1);
    // One translucent texel anywhere in the frame opens its whole row.
    t.set(200, 39, GLASS);
    t.set(5, 150, GLASS);
    const OpenRows glass = open_rows(t, pos);
    EXPECT_EQ(glass.top, 3 * 39 - 1);
    EXPECT_EQ(glass.bottom, 3 * 151 - 1);
}

TEST(CellsOpenRows, TexelsOutsideTheFrameDoNotCount) {
    const Vector2 pos{12.0f, 80.0f};  // the window's last column and row fall outside the frame
    Texels t;
    for (int r = 10; r < 20; ++r) t.fill_row(r, CLEAR);
    t.fill_row(CELL_LAYER_H - 1, CLEAR);
    for (int r = 0; r < CELL_LAYER_H; ++r) t.set(CELL_LAYER_W - 1, r, CLEAR);
    const OpenRows open = open_rows(t, pos);
    EXPECT_EQ(open.top, 30);
    EXPECT_EQ(open.bottom, 60);
    // The frame's last pixel row still counts.
    t.set(0, VIRTUAL_H / CELL_PX - 1, GLASS);
    EXPECT_EQ(open_rows(t, pos).bottom, VIRTUAL_H);
}

TEST(CellsOpenRows, AllOpaqueHidesEverythingAndNoTexelsHideNothing) {
    Texels t;
    const OpenRows all = open_rows(t, Vector2{500.3f, 40.7f});
    EXPECT_EQ(all.top, all.bottom);
    const OpenRows none = cells_open_rows(nullptr, visible_cells(Vector2{500.3f, 40.7f}), px_for({500.3f, 40.7f}));
    EXPECT_EQ(none.top, 0);
    EXPECT_EQ(none.bottom, VIRTUAL_H);
    // An empty window, as write_cell_texels returns off the grid.
    const OpenRows off = cells_open_rows(t.buffer.data(), CellWindow{0, -1, 0, -1}, CamPx{0, 0});
    EXPECT_EQ(off.top, 0);
    EXPECT_EQ(off.bottom, VIRTUAL_H);
}

TEST(CellsOpenRows, AWindowShortOfTheFrameEdgeHidesNothingThere) {
    Texels t;
    // A window starting right of the frame's left edge covers no row edge to edge.
    const CellWindow win{10, 371, 80, 284};
    const OpenRows open = cells_open_rows(t.buffer.data(), win, CamPx{0, 240});
    EXPECT_EQ(open.top, 0);
    EXPECT_EQ(open.bottom, VIRTUAL_H);
    // One starting below the frame's top leaves the rows above it open.
    const CellWindow low{0, 361, 90, 294};
    const OpenRows below = cells_open_rows(t.buffer.data(), low, CamPx{0, 240});
    EXPECT_EQ(below.top, 0);
    EXPECT_EQ(below.bottom, 30);
}

// A cave wall as load_cave_wall makes it, without the graphics context.
CaveWall wall_from(const ImageColors& brick) {
    std::vector<Color> texels(static_cast<size_t>(cave_wall_width(brick.width) * brick.width));
    const int64_t opaque_end = write_cave_wall_texels(brick, texels.data());
    Texture2D texture{};
    texture.id = 1;  // stands for an uploaded texture
    texture.width = static_cast<int>(cave_wall_width(brick.width));
    texture.height = static_cast<int>(brick.width);
    texture.mipmaps = 1;
    texture.format = PIXELFORMAT_UNCOMPRESSED_R8G8B8A8;
    return CaveWall{texture, brick.width, opaque_end};
}

TEST(CaveWall, StripRepeatsTheBrickAndFadesByTileColumn) {
    TestSwatch brick(14, 14);
    for (Color& c : brick.pixels) c.a = 255;
    const int64_t width = cave_wall_width(14);
    EXPECT_EQ(width, 1106);  // the tile starting at 1092 still shows
    std::vector<Color> texels(static_cast<size_t>(width * 14));
    // The last whole opaque tile starts at 868; the one at 882 already fades.
    EXPECT_EQ(write_cave_wall_texels(brick.image, texels.data()), 882);
    const auto at = [&](int64_t x, int64_t y) { return texels[static_cast<size_t>(y * width + x)]; };
    EXPECT_EQ(at(3, 5).r, 3);
    EXPECT_EQ(at(3, 5).g, 5);
    EXPECT_EQ(at(14 * 40 + 3, 5).r, 3);
    EXPECT_EQ(at(881, 13).a, 255);
    EXPECT_EQ(at(882, 0).a, cave_brick_alpha(882));
    EXPECT_EQ(at(895, 7).a, cave_brick_alpha(882));
    EXPECT_EQ(at(1105, 0).a, cave_brick_alpha(1092));
    EXPECT_EQ(cave_wall_width(0), 0);
}

TEST(CaveWall, CoverEndsAPixelShortOfTheLastOpaqueBrickAndAtTheView) {
    TestSwatch brick(14, 14);
    for (Color& c : brick.pixels) c.a = 255;
    const CaveWall wall = wall_from(brick.image);
    // Deep in the cave the whole frame is covered.
    EXPECT_EQ(cave_wall_cover(wall, Vector2{0.0f, 80.0f}), VIRTUAL_W);
    EXPECT_EQ(cave_wall_cover(wall, Vector2{521.0f, 80.0f}), VIRTUAL_W);
    // Opaque bricks end at column 882: pixel (882 - 700.3) x 3 = 545.1.
    EXPECT_EQ(cave_wall_cover(wall, Vector2{700.3f, 80.0f}), 544);
    EXPECT_EQ(cave_wall_cover(wall, Vector2{881.0f, 80.0f}), 2);
    EXPECT_EQ(cave_wall_cover(wall, Vector2{884.0f, 80.0f}), 0);
    EXPECT_EQ(cave_wall_cover(wall, Vector2{1500.0f, 80.0f}), 0);
    // A brick with a hole in its seventh column covers only the first tile's
    // first six; no wall covers nothing.
    brick.pixels[20].a = 0;
    EXPECT_EQ(cave_wall_cover(wall_from(brick.image), Vector2{0.0f, 80.0f}), 6 * 3 - 1);
    EXPECT_EQ(cave_wall_cover(CaveWall{}, Vector2{0.0f, 80.0f}), 0);
}

}  // namespace
