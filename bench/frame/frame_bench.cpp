// Cost of composing a play frame: the cell field alone and the whole frame,
// each through the cell texture and, as the baseline, with one square per
// cell. Needs a window (bench.sh frame runs it under Xvfb with Mesa's
// software OpenGL unless a display is set).
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
#include <functional>
#include <string>

#include "../../tools/common/rectangle_cells.h"
#include "app/game.h"
#include "assets/embedded_assets.h"
#include "render/play_frame.h"
#include "render/world_render.h"
#include "world/level.h"
#include "world/physics.h"

// After raylib.h, whose Matrix it then reuses.
#include <rlgl.h>


namespace {

constexpr uint32_t SEED = 20240611u;
constexpr Color PLAY_CLEAR = {13, 17, 25, 255};

struct BenchContext {
    Game game;
    RenderTexture2D target;
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

// The scenes: the first frame of a game in the cave, and the grassland around
// the first tank once the level has run for two seconds.
void set_scene(const std::string& scene) {
    Game& game = context().game;
    start_new_game_with_seed(game, SEED);
    game.screen = GameScreen::Playing;
    game.camera = make_camera();
    if (scene == "grassland") {
        for (int i = 0; i < 120; ++i) step_world(*game.world);
        const Level& level = *game.level;
        const float x = level.tank_count > 0 ? static_cast<float>(level.tanks[0].x) - 150.0f : 1500.0f;
        const float y = level.tank_count > 0 ? static_cast<float>(level.tanks[0].y) - 120.0f : 90.0f;
        game.camera.pos = Vector2{std::clamp(x, 0.0f, CAMERA_MAX_X), std::clamp(y, 0.0f, CAMERA_MAX_Y)};
    }
}

void time_frames(benchmark::State& state, const std::string& scene, const std::function<void(const Game&)>& draw) {
    set_scene(scene);
    BenchContext& ctx = context();
    double done_total = 0.0;
    int64_t frames = 0;
    for (auto _ : state) {
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
}

void cells_texture(const Game& game) { draw_cells(game); }

// Only the CPU side of the texture path: the colours into the texel buffer.
void cells_texels_only(const Game& game) {
    write_cell_texels(game.cell_layer.texels, *game.world, game.camera.pos, make_swatch_grid(game.stone_pixels),
                      make_swatch_grid(game.wood_pixels));
}

void cells_squares(const Game& game) {
    draw_cells_as_rectangles(*game.world, game.camera.pos, cam_px(game.camera), make_swatch_grid(game.stone_pixels),
                             make_swatch_grid(game.wood_pixels));
}

// What lies beneath the cells, for telling the cells' share of a frame.
void background_only(const Game& game) {
    ClearBackground(PLAY_CLEAR);
    draw_world_background(game);
}

void frame_texture(const Game& game) { draw_play_frame(game); }

void frame_squares(const Game& game) {
    ClearBackground(PLAY_CLEAR);
    draw_world_with_rectangle_cells(game);
}

void register_benchmarks() {
    struct Variant {
        const char* name;
        void (*draw)(const Game&);
    };
    const Variant variants[] = {{"Cells/texels_only", cells_texels_only},
                                {"Cells/texture", cells_texture},
                                {"Cells/squares", cells_squares},
                                {"Background", background_only},
                                {"PlayFrame/texture", frame_texture},
                                {"PlayFrame/squares", frame_squares}};
    for (const char* scene : {"cave", "grassland"}) {
        for (const Variant& v : variants) {
            const std::string name = std::string(v.name) + "/" + scene;
            auto draw = v.draw;
            const std::string scene_name = scene;
            benchmark::RegisterBenchmark(name.c_str(), [draw, scene_name](benchmark::State& state) {
                time_frames(state, scene_name, draw);
            })->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
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
    register_benchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    unload_cell_layer(ctx.game.cell_layer);
    unload_all_textures(ctx.game.textures);
    free_image_colors(ctx.game.stone_pixels);
    free_image_colors(ctx.game.wood_pixels);
    UnloadRenderTexture(ctx.target);
    CloseWindow();
    destroy_game(ctx.game);
    return 0;
}
