// The world as a play frame draws it (the cell field as one texture, the cave
// wall as one quad, layers skipped where opaque ones above hide them) must
// give the very same frame as the old way: every background layer whole,
// one quad per brick and one square per cell. Seeded scenes are drawn both
// ways into render targets under a real (software) OpenGL and compared pixel
// for pixel, alpha included.
//
//   cindervale_golden_tests <out-dir>   (needs a display: run under xvfb-run)
//
// Each scene's frame is left in <out-dir>/<scene>.png; when a scene differs,
// the old way's frame is saved beside it as <scene>_squares.png.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "../../tools/common/rectangle_cells.h"
#include "app/game.h"
#include "assets/embedded_assets.h"
#include "render/world_render.h"
#include "combat/enemy.h"
#include "world/level.h"
#include "world/physics.h"

namespace {

constexpr uint32_t SEED = 20240611u;
// What the target holds before the new way draws: any pixel it leaves
// undrawn that the old way covers shows up as a difference.
constexpr Color LEFTOVER = {255, 0, 255, 77};

struct GoldenContext {
    Game game;
    RenderTexture2D target;
    std::string out_dir;
    bool ready;
};

GoldenContext& context() {
    static GoldenContext ctx{};
    return ctx;
}

enum class CellPath { Texture, TextureCachedSky, Squares, NoCells };

Image draw_into_target(Game& game, CellPath path) {
    RenderTexture2D target = context().target;
    // The sky comes from its cache once the camera has held its column.
    game.sky_cache.holds = false;
    if (path == CellPath::TextureCachedSky) {
        prepare_sky(game);
        prepare_sky(game);
        EXPECT_TRUE(game.sky_cache.holds);
    }
    BeginTextureMode(target);
    switch (path) {
        case CellPath::Texture:
        case CellPath::TextureCachedSky:
            ClearBackground(LEFTOVER);
            draw_world(game);
            break;
        case CellPath::Squares:
            draw_world_with_rectangle_cells(game);
            break;
        case CellPath::NoCells:
            layered_background::draw(game);
            draw_free_particles(*game.world, cam_px(game.camera));
            break;
    }
    EndTextureMode();
    Image image = LoadImageFromTexture(target.texture);
    ImageFlipVertical(&image);  // render textures are stored upside down
    return image;
}

struct Difference {
    int64_t count;
    int first_x;
    int first_y;
};

Difference compare(const Image& a, const Image& b) {
    Difference d{0, -1, -1};
    const auto* pa = static_cast<const Color*>(a.data);
    const auto* pb = static_cast<const Color*>(b.data);
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const Color ca = pa[y * a.width + x];
            const Color cb = pb[y * b.width + x];
            if (ca.r != cb.r || ca.g != cb.g || ca.b != cb.b || ca.a != cb.a) {
                if (d.count == 0) {
                    d.first_x = x;
                    d.first_y = y;
                }
                ++d.count;
            }
        }
    }
    return d;
}

std::string colour_text(const Image& image, int x, int y) {
    const Color c = static_cast<const Color*>(image.data)[y * image.width + x];
    char text[48];
    std::snprintf(text, sizeof text, "(%d, %d, %d, %d)", c.r, c.g, c.b, c.a);
    return text;
}

// Draws the scene both ways and requires identical frames. `min_cell_pixels`
// guards against a vacuous pass: that many pixels must show cells, i.e.
// differ from the same frame drawn without them. Returns the part of the
// frame the new way drew the lower layers in.
OpenArea expect_same_frame(const std::string& scene, Vector2 camera_pos, int64_t min_cell_pixels) {
    GoldenContext& ctx = context();
    EXPECT_TRUE(ctx.ready);
    if (!ctx.ready) return OpenArea{0, 0, VIRTUAL_H};
    ctx.game.camera = make_camera();
    ctx.game.camera.pos = camera_pos;
    Image texture = draw_into_target(ctx.game, CellPath::Texture);
    Image cached_sky = draw_into_target(ctx.game, CellPath::TextureCachedSky);
    Image squares = draw_into_target(ctx.game, CellPath::Squares);
    Image bare = draw_into_target(ctx.game, CellPath::NoCells);
    const OpenArea open = world_open_area(ctx.game, write_frame_cells(ctx.game));
    EXPECT_EQ(texture.format, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
    EXPECT_EQ(squares.format, texture.format);
    EXPECT_EQ(texture.width, VIRTUAL_W);
    EXPECT_EQ(texture.height, VIRTUAL_H);
    if (texture.format != squares.format || texture.width != VIRTUAL_W || texture.height != VIRTUAL_H) {
        return open;
    }

    const Difference diff = compare(texture, squares);
    EXPECT_EQ(diff.count, 0) << scene << ": first differing pixel (" << diff.first_x << ", " << diff.first_y
                             << "): texture " << (diff.count ? colour_text(texture, diff.first_x, diff.first_y) : "")
                             << ", squares " << (diff.count ? colour_text(squares, diff.first_x, diff.first_y) : "");
    const Difference cached = compare(cached_sky, squares);
    EXPECT_EQ(cached.count, 0) << scene << " with the sky from its cache: first differing pixel (" << cached.first_x
                               << ", " << cached.first_y << ")";
    EXPECT_GE(compare(texture, bare).count, min_cell_pixels) << scene << ": too few cells drawn to tell";

    const std::string base = ctx.out_dir + "/" + scene;
    ExportImage(texture, (base + ".png").c_str());
    if (diff.count != 0) ExportImage(squares, (base + "_squares.png").c_str());
    UnloadImage(texture);
    UnloadImage(cached_sky);
    UnloadImage(squares);
    UnloadImage(bare);
    return open;
}

bool wholly_hidden(OpenArea open) { return open.left >= VIRTUAL_W; }
bool partly_hidden_from_the_left(OpenArea open) { return open.left > 0 && open.left < VIRTUAL_W; }
bool bottom_hidden_by_cells(OpenArea open) { return open.bottom > 0 && open.bottom < VIRTUAL_H; }

// The view over a column, high enough to show the ground and the sky.
Vector2 view_over(int64_t column, float left_of_column) {
    const Level& level = *context().game.level;
    const auto ground = static_cast<float>(level.surface[static_cast<size_t>(column)]);
    return Vector2{std::clamp(static_cast<float>(column) - left_of_column, 0.0f, CAMERA_MAX_X),
                   std::clamp(ground - 150.4f, 0.0f, CAMERA_MAX_Y)};
}

void new_game() {
    Game& game = context().game;
    start_new_game_with_seed(game, SEED);
    game.screen = GameScreen::Playing;
}

void put_cell(int64_t x, int64_t y, Material m, uint8_t shade, int16_t life, int16_t life_max, bool burning) {
    if (!in_world(x, y)) return;
    Cell& c = cell_at(*context().game.world, x, y);
    c = Cell{};
    c.material = m;
    c.shade = shade;
    c.life = life;
    c.life_max = life_max;
    c.burning = burning;
}

// A patch of every translucent and specially coloured case, left to right:
// smoke at every age, fading remains, blood and potion (life -2 .. 45), glass,
// burning and plain wood, stone; each column group 12 cells wide.
void paint_special_cells(int64_t left, int64_t top) {
    for (int64_t r = 0; r < 48; ++r) {
        const auto shade = static_cast<uint8_t>(r & 3);
        const auto life = static_cast<int16_t>(r - 2);
        for (int64_t i = 0; i < 12; ++i) {
            const int64_t y = top + r;
            put_cell(left + i, y, Material::Smoke, shade, static_cast<int16_t>(r * 2), 95, false);
            put_cell(left + 12 + i, y, Material::Smoke, shade, 30, 0, false);
            put_cell(left + 24 + i, y, Material::KnightDebris, shade, life, 0, false);
            put_cell(left + 36 + i, y, Material::OgreDebris, shade, life, 0, false);
            put_cell(left + 48 + i, y, Material::Blood, shade, life, 0, false);
            put_cell(left + 60 + i, y, Material::Potion, shade, life, 0, false);
            put_cell(left + 72 + i, y, Material::Glass, shade, 0, 0, false);
            put_cell(left + 84 + i, y, Material::Wood, shade, 0, 0, true);
            put_cell(left + 96 + i, y, Material::Wood, shade, 0, 0, false);
            put_cell(left + 108 + i, y, Material::Stone, shade, 0, 0, false);
            // Every other cell empty, so each case meets the background too.
            if ((i + r) % 5 == 0) put_cell(left + 12 * (i % 10) + i, y, Material::Empty, 0, 0, 0, false);
        }
    }
}

void add_sparks(float x, float y) {
    World& w = *context().game.world;
    for (int i = 0; i < 40 && w.particle_count < MAX_PARTICLES; ++i) {
        Particle& p = w.particles[static_cast<size_t>(w.particle_count++)];
        p = Particle{};
        p.x = x + static_cast<float>(i % 8) * 1.7f;
        p.y = y + static_cast<float>(i / 8) * 2.3f;
        p.life_max = 40;
        p.life = static_cast<uint8_t>(i + 1);
        p.shade = static_cast<uint8_t>(i & 3);
    }
}

void run_world(int steps) {
    for (int i = 0; i < steps; ++i) step_world(*context().game.world);
}

TEST(CellFieldGolden, CaveStartMatchesAtWholeAndFractionalCameraPositions) {
    new_game();
    // Deep in the cave the opaque bricks cover the whole frame: nothing
    // beneath them is drawn at all.
    const OpenArea start = expect_same_frame("cave_start", make_camera().pos, 100000);
    EXPECT_TRUE(wholly_hidden(start));
    // The bricks themselves show only between the cave's stone ceiling and floor.
    EXPECT_GT(start.top, 0);
    EXPECT_LT(start.bottom, VIRTUAL_H);
    // Offsets of -1 and -2 pixels between the cells and the view, both axes.
    EXPECT_TRUE(wholly_hidden(expect_same_frame("cave_fractional", Vector2{12.4f, 81.7f}, 100000)));
    EXPECT_TRUE(wholly_hidden(expect_same_frame("cave_fractional_b", Vector2{7.6f, 80.4f}, 100000)));
    // Brick texel edges 1/43 of a pixel from pixel centres, and a view
    // further in. (Exactly on a centre, which texel the pixel shows is the
    // rasteriser's rounding, and one quad per brick rounds differently from
    // one quad for the wall: the scenes keep off those ties.)
    EXPECT_TRUE(wholly_hidden(expect_same_frame("cave_near_half_pixel", Vector2{0.5078125f, 80.5078125f}, 100000)));
    EXPECT_TRUE(wholly_hidden(expect_same_frame("cave_inside", Vector2{301.83f, 92.35f}, 50000)));
}

TEST(CellFieldGolden, CaveMouthMatchesWhereTheBricksCoverPartOfTheFrame) {
    new_game();
    // The opaque bricks end inside the view: the sky and the cave's fade
    // are drawn only right of them.
    for (const float x : {525.2f, 640.0f, 700.3f, 760.7f, 810.45f, 870.1f}) {
        const std::string scene = "cave_mouth_" + std::to_string(static_cast<int>(x));
        const OpenArea open = expect_same_frame(scene, Vector2{x, 85.2f}, 30000);
        EXPECT_TRUE(partly_hidden_from_the_left(open)) << scene << ": open from " << open.left;
    }
    // Past the last opaque brick only the fading ones are left.
    EXPECT_EQ(expect_same_frame("cave_mouth_fading", Vector2{884.0f, 85.2f}, 30000).left, 0);
}

TEST(CellFieldGolden, GrasslandAndBossArenaMatchWithTheGroundHidingTheSky) {
    new_game();
    const Enemy& boss = context().game.world->enemies[0];
    ASSERT_EQ(enemy_kind(boss), EnemyKind::Boss);
    run_world(60);
    const OpenArea grassland = expect_same_frame("grassland", view_over(1600, 180.0f), 50000);
    EXPECT_TRUE(bottom_hidden_by_cells(grassland)) << "open down to " << grassland.bottom;
    EXPECT_EQ(grassland.left, 0);
    const OpenArea arena = expect_same_frame("boss_arena", view_over(boss.x, 200.7f), 50000);
    EXPECT_TRUE(bottom_hidden_by_cells(arena)) << "open down to " << arena.bottom;
    // The world's far end, at its lowest view.
    const OpenArea far_end = expect_same_frame("far_end", Vector2{CAMERA_MAX_X, CAMERA_MAX_Y}, 50000);
    EXPECT_TRUE(bottom_hidden_by_cells(far_end)) << "open down to " << far_end.bottom;
}

TEST(CellFieldGolden, GrasslandWithATankMatchesAfterTheWorldHasRun) {
    new_game();
    const Level& level = *context().game.level;
    ASSERT_GT(level.tank_count, 0) << "seed " << SEED << " has no tank";
    const Tank& tank = level.tanks[0];
    run_world(90);
    add_sparks(static_cast<float>(tank.x) - 20.0f, static_cast<float>(tank.y) - 30.0f);
    const float x = std::clamp(static_cast<float>(tank.x) - 150.3f, 0.0f, CAMERA_MAX_X);
    const float y = std::clamp(static_cast<float>(tank.y) - 120.6f, 0.0f, CAMERA_MAX_Y);
    expect_same_frame("grassland_tank", Vector2{x, y}, 50000);
}

TEST(CellFieldGolden, SmokeFadingRemainsAndBurningWoodMatchOverSkyAndCave) {
    new_game();
    // Over the sky and panorama of the grassland...
    paint_special_cells(1500, 150);
    expect_same_frame("special_cells_sky", Vector2{1440.2f, 90.9f}, 50000);
    // ...and over the cave wall, its bricks and its fade to the open sky.
    paint_special_cells(40, 150);
    paint_special_cells(1000, 150);
    add_sparks(60.0f, 140.0f);
    expect_same_frame("special_cells_cave", Vector2{20.7f, 80.0f}, 50000);
    expect_same_frame("special_cells_cave_mouth", Vector2{890.55f, 85.2f}, 50000);
}

TEST(CellFieldGolden, FarRightEndMatchesAtEveryCameraLimit) {
    new_game();
    paint_special_cells(WORLD_W - 120, WORLD_H - 48);
    paint_special_cells(WORLD_W - 120, 0);
    add_sparks(3390.0f, 290.0f);
    expect_same_frame("right_end_3038", Vector2{3038.0f, 97.0f}, 50000);
    expect_same_frame("right_end_3040", Vector2{CAMERA_MAX_X, CAMERA_MAX_Y}, 50000);
    expect_same_frame("right_end_3040_top", Vector2{CAMERA_MAX_X, 0.0f}, 20000);
    expect_same_frame("right_end_fractional", Vector2{3039.5f, 96.5f}, 50000);
    expect_same_frame("right_end_almost", Vector2{3039.9f, 96.9f}, 50000);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    GoldenContext& ctx = context();
    ctx.out_dir = argc > 1 ? argv[1] : ".";
    if (!create_game(ctx.game)) return 1;
    SetTraceLogLevel(LOG_WARNING);
    InitWindow(VIRTUAL_W, VIRTUAL_H, "Cindervale golden frames");
    if (IsWindowReady()) ctx.target = LoadRenderTexture(VIRTUAL_W, VIRTUAL_H);
    if (IsRenderTextureValid(ctx.target)) {
        MakeDirectory(ctx.out_dir.c_str());
        ctx.game.stone_pixels = load_embedded_image_colors(STONE_SWATCH_PATH);
        ctx.game.wood_pixels = load_embedded_image_colors(WOOD_SWATCH_PATH);
        load_all_textures(ctx.game.textures);
        ctx.ready = load_cell_layer(ctx.game.cell_layer) && load_cave_wall(ctx.game.cave_wall) &&
                    load_sky_cache(ctx.game.sky_cache) &&
                    ctx.game.stone_pixels.colors != nullptr &&
                    ctx.game.wood_pixels.colors != nullptr && IsTextureValid(ctx.game.textures[TEX_PANORAMA]) &&
                    IsTextureValid(ctx.game.textures[TEX_CAVE_BRICK]);
    }
    const int status = RUN_ALL_TESTS();
    unload_sky_cache(ctx.game.sky_cache);
    unload_cave_wall(ctx.game.cave_wall);
    unload_cell_layer(ctx.game.cell_layer);
    unload_all_textures(ctx.game.textures);
    free_image_colors(ctx.game.stone_pixels);
    free_image_colors(ctx.game.wood_pixels);
    if (IsRenderTextureValid(ctx.target)) UnloadRenderTexture(ctx.target);
    if (IsWindowReady()) CloseWindow();
    destroy_game(ctx.game);
    return status;
}
