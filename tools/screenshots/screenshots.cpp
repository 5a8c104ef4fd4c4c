// Screenshots of the title, the settings, the first frame of a seeded game,
// views along the whole level and the same views once the world has run for
// a few seconds. Everything is drawn by the game's own frame code into its
// render target and read back from there.
//
//   cindervale_screenshots <out-dir> [seed]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/game.h"
#include "assets/embedded_assets.h"
#include "render/camera.h"

namespace {

constexpr uint32_t DEFAULT_SEED = 12345;
constexpr int SETTLE_STEPS = 300;
constexpr float STEP_DT = 1.0f / 60.0f;
// Left columns of the views along the level (the last one is the far edge).
constexpr float VIEW_COLUMNS[] = {0.0f, 400.0f, 800.0f, 1100.0f, 1500.0f, 2000.0f, 2500.0f, 3040.0f};

struct ShotLog {
    std::string dir;
    int written;
    int failed;
};

// Draws the current screen through the game's own frame code and saves the
// render target.
void shot(Game& game, ShotLog& log, const std::string& name) {
    draw_frame(game);
    Image image = LoadImageFromTexture(game.target.texture);
    ImageFlipVertical(&image);  // render textures are stored upside down
    // The window shows the target's colours as they are (its alpha is only
    // a by-product of translucent drawing), so the file keeps colour only.
    ImageFormat(&image, PIXELFORMAT_UNCOMPRESSED_R8G8B8);
    const std::string path = log.dir + "/" + name + ".png";
    if (ExportImage(image, path.c_str())) {
        ++log.written;
    } else {
        ++log.failed;
    }
    UnloadImage(image);
}

// One frame of the real frame loop with the mouse at a virtual position.
void run_frame(Game& game, Vector2 mouse) {
    FrameInput input = idle_input(STEP_DT);
    input.mouse = mouse;
    update_frame(game, input);
}

// Frames the ground of the view's middle column like the follow camera
// frames a dragon standing there.
void place_camera(Game& game, float column) {
    const auto middle = std::min<int64_t>(static_cast<int64_t>(column) + VIEW_COLS / 2, WORLD_W - 1);
    const float ground = static_cast<float>(game.level->surface[static_cast<size_t>(middle)]);
    game.camera = make_camera();
    game.camera.pos = Vector2{column, std::clamp(ground - 152.0f, 0.0f, CAMERA_MAX_Y)};
}

void shoot_views(Game& game, ShotLog& log, const char* prefix) {
    const Camera kept = game.camera;
    for (float column : VIEW_COLUMNS) {
        place_camera(game, column);
        char name[64];
        std::snprintf(name, sizeof name, "%s_col%04d", prefix, static_cast<int>(column));
        shot(game, log, name);
    }
    game.camera = kept;
}

void load_graphics(Game& game) {
    SetTextureFilter(game.target.texture, TEXTURE_FILTER_POINT);
    game.slowmo_shader = load_embedded_shader(SLOWMO_SHADER_PATH);
    game.stone_pixels = load_embedded_image_colors(STONE_SWATCH_PATH);
    game.wood_pixels = load_embedded_image_colors(WOOD_SWATCH_PATH);
    load_all_textures(game.textures);
    load_cell_layer(game.cell_layer);
}

void unload_graphics(Game& game) {
    unload_cell_layer(game.cell_layer);
    unload_all_textures(game.textures);
    free_image_colors(game.stone_pixels);
    free_image_colors(game.wood_pixels);
    UnloadShader(game.slowmo_shader);
    UnloadRenderTexture(game.target);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <out-dir> [seed]\n", argv[0]);
        return 2;
    }
    const uint32_t seed = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : DEFAULT_SEED;
    static Game game;
    if (!create_game(game)) return 1;

    InitWindow(VIRTUAL_W, VIRTUAL_H, "Cindervale screenshots");
    game.target = LoadRenderTexture(VIRTUAL_W, VIRTUAL_H);
    if (!IsRenderTextureValid(game.target)) {
        CloseWindow();
        destroy_game(game);
        return 1;
    }
    load_graphics(game);
    MakeDirectory(argv[1]);
    ShotLog log{argv[1], 0, 0};

    // Menus, the mouse resting on a button and on the slider.
    run_frame(game, Vector2{540.0f, 296.0f});
    shot(game, log, "title");
    game.screen = GameScreen::Settings;
    run_frame(game, Vector2{640.0f, 420.0f});
    shot(game, log, "settings");

    // The first frame of a new game, as the title's start action leaves it.
    start_new_game_with_seed(game, seed);
    game.screen = GameScreen::Playing;
    run_frame(game, Vector2{540.0f, 300.0f});
    shot(game, log, "new_game");
    shoot_views(game, log, "level");

    for (int i = 0; i < SETTLE_STEPS; ++i) run_frame(game, Vector2{540.0f, 300.0f});
    shot(game, log, "settled");
    shoot_views(game, log, "settled");

    std::printf("%d screenshots written to %s (seed %u, %llu logic steps)%s\n", log.written, argv[1], seed,
                static_cast<unsigned long long>(game.logic_steps), log.failed ? ", some failed" : "");
    unload_graphics(game);
    CloseWindow();
    destroy_game(game);
    return log.failed == 0 ? 0 : 1;
}
