#include "app/game.h"
#include "app/game_menu.h"
#include "render/play_frame.h"
#include "render/world_render.h"

// After raylib.h, whose types it then reuses.
#include <rlgl.h>

namespace {

constexpr unsigned int BLIT_COLOUR = 0x4000;  // GL_COLOR_BUFFER_BIT
#ifdef __EMSCRIPTEN__
constexpr bool CAN_BLIT = false;  // WebGL 1, raylib's web context, has no framebuffer blit
#else
constexpr bool CAN_BLIT = true;
#endif

// The window is exactly the frame's size, with no letterbox to clear and no
// scaling.
bool window_fits_frame(const Letterbox& lb) {
    return lb.scale == 1.0f && lb.offset_x == 0.0f && lb.offset_y == 0.0f && GetRenderWidth() == VIRTUAL_W &&
           GetRenderHeight() == VIRTUAL_H;
}

// The frame's pixels straight into the window: a software rasteriser copies
// them without shading a quad over a cleared window. The target's pixel rows
// lie the same way up as the window's, as both were drawn with the same
// projection.
void copy_frame_to_window(const Game& game) {
    rlBindFramebuffer(RL_READ_FRAMEBUFFER, game.target.id);
    rlBindFramebuffer(RL_DRAW_FRAMEBUFFER, 0);
    rlBlitFramebuffer(0, 0, VIRTUAL_W, VIRTUAL_H, 0, 0, VIRTUAL_W, VIRTUAL_H, BLIT_COLOUR);
    rlBindFramebuffer(RL_READ_FRAMEBUFFER, 0);
}

}  // namespace

void present_frame(const Game& game, bool use_shader) {
    EndTextureMode();
    BeginDrawing();
    const bool shaded = use_shader && IsShaderValid(game.slowmo_shader);
    const Letterbox& lb = game.letterbox;
    // The colours a copy gives are those of the blend below over black; the
    // window shows no alpha.
    if (CAN_BLIT && !shaded && window_fits_frame(lb)) {
        copy_frame_to_window(game);
        EndDrawing();
        return;
    }
    ClearBackground(Color{0, 0, 0, 255});
    if (shaded) BeginShaderMode(game.slowmo_shader);
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
            if (game.paused) draw_pause_overlay(game, game.mouse_virtual);
            present_frame(game, game.present_with_shader);
            break;
    }
}
