// Cost of composing a play frame, layer by layer and whole, the way the game
// draws it now (layers skipped where opaque ones above hide them, the cave
// wall as one quad) and, as the baseline in the same run, the way it drew
// before (every background layer whole, one quad per brick). Needs a window
// (bench.sh frame runs it under Xvfb with Mesa's software OpenGL unless a
// display is set).
//
// Each layer is timed alone, drawn over the layers beneath it (drawn and
// finished untimed first).
//
// The reported time is the CPU time of the drawing thread from the first
// draw call until the frame's commands are handed to the driver (the batch
// flush), the part every machine pays whatever its graphics. `done_ms` is
// the wall time until the frame is finished on the graphics side too, which
// on a software renderer includes its rasterising threads.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "../../tools/common/layered_background.h"
#include "app/game.h"
#include "assets/embedded_assets.h"
#include "app/scripted_start.h"
#include "render/actors.h"
#include "render/hud.h"
#include "render/play_frame.h"
#include "render/world_render.h"
#include "world/level.h"
#include "world/physics.h"

// After raylib.h, whose Matrix it then reuses.
#include <rlgl.h>


namespace {

constexpr uint32_t SEED = 20240611u;
// Frames timed per benchmark: each costs tens of milliseconds of wall time
// under a software rasteriser, so a fixed count keeps the run short.
constexpr int64_t FRAMES = 60;
// Logic steps run before a scene is drawn: the level settles, the fight
// gets going.
constexpr int SETTLE_STEPS = 120;

struct BenchContext {
    Game game;
    RenderTexture2D target;
    CellWindow cells;  // this scene's cell window, written by the setup
    OpenArea open;     // what the opaque layers leave open in it
};

BenchContext& context() {
    static BenchContext ctx{};
    return ctx;
}

double thread_cpu_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Waits until the graphics side has finished everything drawn so far: a
// one-pixel read from the target cannot return before.
void finish_target() {
    BeginTextureMode(context().target);
    unsigned char* pixel = rlReadScreenPixels(1, 1);
    MemFree(pixel);
    EndTextureMode();
}

// The scenes: the first frame of a game in the cave; a view of the cave's
// mouth, where the bricks cover only part of the frame; the grassland around
// the first tank once the level has run for two seconds; and a fight, the
// dragon spitting fire at the first formation.
void set_scene(const std::string& scene, bool cached_sky) {
    Game& game = context().game;
    start_new_game_with_seed(game, SEED);
    game.screen = GameScreen::Playing;
    game.camera = make_camera();
    if (scene == "cave_mouth") {
        game.camera.pos = Vector2{700.3f, 85.2f};
    } else if (scene == "grassland") {
        for (int i = 0; i < SETTLE_STEPS; ++i) step_world(*game.world);
        const Level& level = *game.level;
        const float x = level.tank_count > 0 ? static_cast<float>(level.tanks[0].x) - 150.0f : 1500.0f;
        const float y = level.tank_count > 0 ? static_cast<float>(level.tanks[0].y) - 120.0f : 90.0f;
        game.camera.pos = Vector2{std::clamp(x, 0.0f, CAMERA_MAX_X), std::clamp(y, 0.0f, CAMERA_MAX_Y)};
    } else if (scene == "fight") {
        start_before_first_formation(game);
        game.spit_held = true;
        for (int i = 0; i < SETTLE_STEPS; ++i) {
            // Aim right of the dragon, at the knights.
            game.mouse_virtual = VirtualPoint{720, 420};
            logic_step(game);
        }
    }
    // A camera that has held its column draws the sky from its cache.
    game.sky_cache.holds = false;
    if (cached_sky) {
        prepare_sky(game);
        prepare_sky(game);
    }
    BenchContext& ctx = context();
    ctx.cells = write_frame_cells(game);
    ctx.open = world_open_area(game, ctx.cells);
}

using DrawFn = void (*)(const Game&);

void time_frames(benchmark::State& state, const std::string& scene, bool cached_sky, DrawFn beneath, DrawFn draw) {
    set_scene(scene, cached_sky);
    BenchContext& ctx = context();
    double done_total = 0.0;
    int64_t frames = 0;
    for (auto _ : state) {
        BeginTextureMode(ctx.target);
        if (beneath != nullptr) beneath(ctx.game);
        EndTextureMode();
        finish_target();
        const auto wall0 = std::chrono::steady_clock::now();
        const double cpu0 = thread_cpu_seconds();
        BeginTextureMode(ctx.target);
        draw(ctx.game);
        EndTextureMode();  // hands the batch to the driver
        const double cpu = thread_cpu_seconds() - cpu0;
        finish_target();
        done_total += std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        state.SetIterationTime(cpu);
        ++frames;
    }
    state.counters["done_ms"] = frames > 0 ? done_total / static_cast<double>(frames) * 1e3 : 0.0;
    // How much of the frame the opaque layers leave to the layers beneath.
    const OpenArea open = ctx.open;
    state.counters["open_px"] =
        open_area_empty(open) ? 0.0 : static_cast<double>(open.bottom - open.top) * (VIRTUAL_W - open.left);
}

// --- Before: every background layer whole, one quad per brick ---------------
void old_clear(const Game&) { ClearBackground(PLAY_CLEAR); }
void old_panorama(const Game& game) {
    layered_background::draw_panorama(game.textures[TEX_PANORAMA], game.camera.pos.x);
}
void old_cave_shade(const Game& game) {
    layered_background::draw_cave_shade(game.textures[TEX_CAVE_BRICK], game.camera.pos);
}
void old_bricks(const Game& game) { layered_background::draw_brick_tiles(game.textures[TEX_CAVE_BRICK], game.camera.pos); }
void old_beneath_panorama(const Game& game) { old_clear(game); }
void old_beneath_shade(const Game& game) {
    old_clear(game);
    old_panorama(game);
}
void old_beneath_bricks(const Game& game) {
    old_beneath_shade(game);
    old_cave_shade(game);
}
void old_background(const Game& game) { layered_background::draw(game); }

// --- Now ---------------------------------------------------------------------
void sky(const Game& game) { draw_sky(game, context().open); }
void cave_shade(const Game& game) { draw_cave_shade(game, context().open); }
void cave_bricks(const Game& game) { draw_cave_bricks(game, context().open); }
void beneath_shade(const Game& game) { sky(game); }
void beneath_bricks(const Game& game) {
    sky(game);
    cave_shade(game);
}
void background(const Game& game) {
    sky(game);
    cave_shade(game);
    cave_bricks(game);
}
// Writing the texels, finding what they cover, uploading and drawing them.
void cells(const Game& game) {
    const CellWindow win = write_frame_cells(game);
    draw_frame_cells(game, win, world_open_area(game, win));
}
// Only the CPU side of the cells: the colours into the texel buffer.
void cells_texels_only(const Game& game) { write_frame_cells(game); }
void beneath_particles(const Game& game) {
    background(game);
    cells(game);
}
void particles(const Game& game) { draw_free_particles(*game.world, cam_px(game.camera)); }
void beneath_actors(const Game& game) {
    beneath_particles(game);
    particles(game);
}
void beneath_hud(const Game& game) {
    beneath_actors(game);
    draw_actors(game);
}

// The whole play frame as it was drawn before, the cells already a texture.
void frame_before(const Game& game) {
    old_background(game);
    cells(game);
    particles(game);
    draw_actors(game);
    draw_hud(game);
}
void frame_now(const Game& game) { draw_play_frame(game); }
// The finished frame shown in the window, as every frame ends.
void present(const Game& game) { present_frame(game, false); }
// The window's copy as it was before: cleared, then the frame drawn over it
// as a quad, blended with premultiplied alpha.
void present_before(const Game& game) {
    EndTextureMode();
    BeginDrawing();
    ClearBackground(Color{0, 0, 0, 255});
    BeginBlendMode(BLEND_ALPHA_PREMULTIPLY);
    DrawTexturePro(game.target.texture,
                   Rectangle{0, 0, static_cast<float>(VIRTUAL_W), -static_cast<float>(VIRTUAL_H)},
                   Rectangle{0, 0, static_cast<float>(VIRTUAL_W), static_cast<float>(VIRTUAL_H)}, Vector2{0, 0},
                   0.0f, WHITE);
    EndBlendMode();
    EndDrawing();
}

void register_benchmarks() {
    struct Variant {
        const char* name;
        bool cached_sky;
        DrawFn beneath;
        DrawFn draw;
    };
    const Variant variants[] = {{"Layer/before/clear", false, nullptr, old_clear},
                                {"Layer/before/panorama", false, old_beneath_panorama, old_panorama},
                                {"Layer/before/cave_shade", false, old_beneath_shade, old_cave_shade},
                                {"Layer/before/bricks", false, old_beneath_bricks, old_bricks},
                                {"Layer/now/sky", false, nullptr, sky},
                                {"Layer/now/sky_cached", true, nullptr, sky},
                                {"Layer/now/cave_shade", true, beneath_shade, cave_shade},
                                {"Layer/now/bricks", true, beneath_bricks, cave_bricks},
                                {"Layer/cells/texels_only", true, background, cells_texels_only},
                                {"Layer/cells", true, background, cells},
                                {"Layer/particles", true, beneath_particles, particles},
                                {"Layer/actors", true, beneath_actors, draw_actors},
                                {"Layer/hud", true, beneath_hud, draw_hud},
                                {"Background/before", false, nullptr, old_background},
                                {"Background/now", false, nullptr, background},
                                {"Background/now_cached_sky", true, nullptr, background},
                                {"PlayFrame/before", false, nullptr, frame_before},
                                {"PlayFrame/now", false, nullptr, frame_now},
                                {"PlayFrame/now_cached_sky", true, nullptr, frame_now},
                                {"Present/before", true, frame_now, present_before},
                                {"Present/now", true, frame_now, present}};
    for (const char* scene : {"cave", "cave_mouth", "grassland", "fight"}) {
        for (const Variant& v : variants) {
            const std::string name = std::string(v.name) + "/" + scene;
            const Variant variant = v;
            const std::string scene_name = scene;
            benchmark::RegisterBenchmark(name.c_str(), [variant, scene_name](benchmark::State& state) {
                time_frames(state, scene_name, variant.cached_sky, variant.beneath, variant.draw);
            })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(FRAMES);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    BenchContext& ctx = context();
    if (!create_game(ctx.game)) return 1;
    SetTraceLogLevel(LOG_WARNING);
    InitWindow(VIRTUAL_W, VIRTUAL_H, "Cindervale frame benchmark");
    if (IsWindowReady()) ctx.target = LoadRenderTexture(VIRTUAL_W, VIRTUAL_H);
    if (!IsRenderTextureValid(ctx.target)) {
        std::fprintf(stderr, "no graphics context: run under a display or xvfb-run\n");
        if (IsWindowReady()) CloseWindow();
        destroy_game(ctx.game);
        return 1;
    }
    ctx.game.stone_pixels = load_embedded_image_colors(STONE_SWATCH_PATH);
    ctx.game.wood_pixels = load_embedded_image_colors(WOOD_SWATCH_PATH);
    load_all_textures(ctx.game.textures);
    load_cell_layer(ctx.game.cell_layer);
    load_cave_wall(ctx.game.cave_wall);
    load_sky_cache(ctx.game.sky_cache);
    ctx.game.target = ctx.target;
    register_benchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    unload_sky_cache(ctx.game.sky_cache);
    unload_cave_wall(ctx.game.cave_wall);
    unload_cell_layer(ctx.game.cell_layer);
    unload_all_textures(ctx.game.textures);
    free_image_colors(ctx.game.stone_pixels);
    free_image_colors(ctx.game.wood_pixels);
    UnloadRenderTexture(ctx.target);
    CloseWindow();
    destroy_game(ctx.game);
    return 0;
}
