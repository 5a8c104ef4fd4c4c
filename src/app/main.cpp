// Cindervale: start-up, the frame loop and shutdown.

#include "app/game.h"
#include "app/scripted_start.h"
#include "assets/embedded_assets.h"
#include "assets/game_audio.h"

namespace {

void shutdown_tail(Game& game) {
    unload_sound_bank(game.sounds);
    // raylib crashes closing a window it never managed to open (no display).
    if (IsWindowReady()) CloseWindow();
    destroy_game(game);
}

void shutdown(Game& game) {
    unload_sky_cache(game.sky_cache);
    unload_cave_wall(game.cave_wall);
    unload_cell_layer(game.cell_layer);
    unload_all_textures(game.textures);
    ShowCursor();
    free_image_colors(game.stone_pixels);
    free_image_colors(game.wood_pixels);
    UnloadShader(game.slowmo_shader);
    UnloadRenderTexture(game.target);
    shutdown_tail(game);
}

}  // namespace

int main() {
    Game game{};
    if (!create_game(game)) return 0;

    SetConfigFlags(FLAG_WINDOW_RESIZABLE);
    InitWindow(VIRTUAL_W, VIRTUAL_H, "Cindervale");
    SetExitKey(KEY_NULL);

    game.sounds = make_sound_bank();
    InitAudioDevice();
    load_sound_bank(game.sounds);

    // Without a window there is no graphics context, so no render target either.
    if (IsWindowReady()) game.target = LoadRenderTexture(VIRTUAL_W, VIRTUAL_H);
    if (!IsRenderTextureValid(game.target)) {
        shutdown_tail(game);
        return 0;
    }
    SetTextureFilter(game.target.texture, TEXTURE_FILTER_POINT);
    game.slowmo_shader = load_embedded_shader(SLOWMO_SHADER_PATH);
    game.stone_pixels = load_embedded_image_colors(STONE_SWATCH_PATH);
    game.wood_pixels = load_embedded_image_colors(WOOD_SWATCH_PATH);
    HideCursor();
    load_all_textures(game.textures);
    load_cell_layer(game.cell_layer);
    load_cave_wall(game.cave_wall);
    load_sky_cache(game.sky_cache);
    SetTargetFPS(TARGET_FPS);
    const bool fight_start = scripted_start_requested();

    while (!WindowShouldClose()) {
        // Full screen changes first, so this frame's letterbox and mouse
        // already belong to the new window size.
        if (IsKeyPressed(KEY_F11)) ToggleFullscreen();
        FrameInput input = read_frame_input();
        const GameScreen screen_before = game.screen;
        update_frame(game, input);
        if (fight_start && screen_before != GameScreen::Playing && screen_before != GameScreen::GameOver &&
            game.screen == GameScreen::Playing) {
            start_before_first_formation(game);
        }
        draw_frame(game);
    }

    shutdown(game);
    return 0;
}
