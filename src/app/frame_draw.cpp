#include "app/game.h"
#include "app/game_menu.h"
#include "render/play_frame.h"
#include "render/world_render.h"

void present_frame(const Game& game, bool use_shader) {
    EndTextureMode();
    BeginDrawing();
    ClearBackground(Color{0, 0, 0, 255});
    const bool shaded = use_shader && IsShaderValid(game.slowmo_shader);
    if (shaded) BeginShaderMode(game.slowmo_shader);
    const Letterbox& lb = game.letterbox;
    // The target's colours are already blended, but every translucent draw
    // into it also lowered its alpha; blending by that alpha again would
    // darken the sky and leave dark marks where smoke and sparks fade. The
    // frame is copied over the black clear instead.
    BeginBlendMode(BLEND_ALPHA_PREMULTIPLY);
    // Negative source height: render textures are stored upside down.
    DrawTexturePro(game.target.texture,
                   Rectangle{0, 0, static_cast<float>(VIRTUAL_W), -static_cast<float>(VIRTUAL_H)},
                   Rectangle{lb.offset_x, lb.offset_y, lb.width, lb.height}, Vector2{0, 0}, 0.0f, WHITE);
    EndBlendMode();
    if (shaded) EndShaderMode();
    EndDrawing();
}

void draw_frame(Game& game) {
    if (game.screen == GameScreen::Playing || game.screen == GameScreen::GameOver) prepare_sky(game);
    BeginTextureMode(game.target);
    switch (game.screen) {
        case GameScreen::Title:
        case GameScreen::Settings:
            draw_menu_screen(game, game.screen, game.mouse_virtual);
            present_frame(game, false);
            break;
        case GameScreen::Ending:
            draw_ending_screen(game);
            present_frame(game, false);
            break;
        case GameScreen::Playing:
        case GameScreen::GameOver:
            draw_play_frame(game);
            present_frame(game, game.present_with_shader);
            break;
    }
}
