// Cindervale: start-up, the frame loop and shutdown.

#include <cstdio>
#include <cstdlib>

#include "app/game.h"
#include "app/scripted_start.h"
#include "assets/embedded_assets.h"
#include "assets/game_audio.h"
#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>

#include "web/web_page.h"
#endif

namespace {

#ifdef __EMSCRIPTEN__
constexpr bool WEB_BUILD = true;
#else
constexpr bool WEB_BUILD = false;
#endif

void shutdown_tail(Game& game) {
    unload_sound_bank(game.sounds);
    // raylib crashes closing a window it never managed to open (no display).
    if (IsWindowReady()) CloseWindow();
    destroy_game(game);
}

// The settings file is read once, before the window opens, so that a saved
// full screen is the first thing the player sees.
void load_settings(Game& game) {
#ifdef __EMSCRIPTEN__
    // A browser tab keeps them in the page's local storage under this name.
    std::snprintf(game.settings_path, sizeof game.settings_path, "local storage cindervale.settings");
#else
    if (!settings_file_path(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), game.settings_path)) {
        std::fprintf(stderr, "cindervale: no config folder known; settings will not be kept\n");
        return;
    }
#endif
    const SettingsLoad loaded = fetch_settings(game.settings_path);
    // A first run has nothing to say; a broken store does.
    if (loaded.status == SettingsStatus::Unreadable || (loaded.status == SettingsStatus::Missing && !WEB_BUILD)) {
        std::fprintf(stderr, "cindervale: %s: %s; using the default settings\n", game.settings_path, loaded.problem);
    }
    apply_settings(game, loaded.settings);
    // A missing or broken file is rewritten with the first change, not before.
    game.saved_settings = loaded.status == SettingsStatus::Loaded ? loaded.settings : current_settings(game);
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

// `fight_start`: the frame-rate tool's scripted start (scripted_start.h).
void run_one_frame(Game& game, bool fight_start = false) {
    // Full screen changes first, so this frame's letterbox and mouse
    // already belong to the new window size.
    if (IsKeyPressed(KEY_F11)) {
        ToggleFullscreen();
        game.fullscreen = !game.fullscreen;
        save_settings_if_changed(game);
    }
    FrameInput input = read_frame_input();
    const GameScreen screen_before = game.screen;
    update_frame(game, input);
    if (fight_start && screen_before != GameScreen::Playing && screen_before != GameScreen::GameOver &&
        game.screen == GameScreen::Playing) {
        start_before_first_formation(game);
    }
    // The window's pointer follows the stick, so the mouse takes over from
    // where the stick left the cursor.
    if (input.pad_moved_cursor) SetMousePosition(static_cast<int>(input.mouse.x), static_cast<int>(input.mouse.y));
    draw_frame(game);
}

#ifdef __EMSCRIPTEN__
// The browser owns the loop and calls back once per animation frame.
void run_one_frame_web(void* game) { run_one_frame(*static_cast<Game*>(game)); }
#endif

}  // namespace

int main() {
    // Static: in the browser main() returns into the event loop while the
    // game runs on.
    static Game game{};
    if (!create_game(game)) return 0;
    load_settings(game);

#ifndef __EMSCRIPTEN__
    // In the browser the page scales the canvas instead (web/shell.html):
    // raylib 6.0's web resize leaves its render size stale.
    SetConfigFlags(FLAG_WINDOW_RESIZABLE);
#endif
    InitWindow(VIRTUAL_W, VIRTUAL_H, "Cindervale");
    SetExitKey(KEY_NULL);

    game.sounds = make_sound_bank();
    InitAudioDevice();
    load_sound_bank(game.sounds);
    if (game.sounds.ready) SetMasterVolume(game.master_volume);

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
#ifdef __EMSCRIPTEN__
    // The animation frame paces the loop; a target rate would busy-wait.
    web_page_attach(game);
    emscripten_set_main_loop_arg(run_one_frame_web, &game, 0, 1);
#else
    SetTargetFPS(TARGET_FPS);
    if (game.fullscreen) ToggleFullscreen();
    const bool fight_start = scripted_start_requested();
    while (!WindowShouldClose() && !game.quit_requested) run_one_frame(game, fight_start);
    save_settings_if_changed(game);
#endif

    shutdown(game);
    return 0;
}
