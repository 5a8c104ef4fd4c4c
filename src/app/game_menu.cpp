#include "app/game_menu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr Color MENU_CLEAR_DARK = {13, 17, 25, 255};
constexpr Color MENU_CLEAR = {37, 39, 55, 255};
constexpr Color MENU_VEIL = {8, 12, 24, 95};
constexpr Color TITLE_TEXT = {252, 218, 154, 255};
constexpr Color TITLE_RULE = {160, 114, 76, 255};
constexpr Color BUTTON_HOVER = {255, 211, 132, 255};
constexpr Color BUTTON_EDGE = {176, 137, 88, 255};
constexpr Color BUTTON_FACE = {30, 35, 53, 245};
constexpr Color SLIDER_FRAME = {173, 139, 94, 255};
constexpr Color SLIDER_TRACK = {28, 31, 47, 255};
constexpr Color SLIDER_FILL = {245, 187, 99, 255};
constexpr Color SLIDER_KNOB = {255, 225, 155, 255};
constexpr Color CURSOR_OUTER = {255, 229, 164, 255};
constexpr Color CURSOR_INNER = {35, 35, 48, 255};
constexpr Color ENDING_CLEAR = {38, 17, 32, 255};
constexpr Color ENDING_BAND = {20, 12, 27, 195};

constexpr Color PAUSE_DIM = {7, 9, 16, 170};
constexpr Color HINT_TEXT = {214, 206, 186, 255};
constexpr int HINT_SIZE = 20;

constexpr float VOLUME_STEP = 0.05f;

bool inside(const MenuRect& r, VirtualPoint p) {
    return p.x >= r.x0 && p.x <= r.x1 && p.y >= r.y0 && p.y <= r.y1;
}

MenuRect button_rect(int y) {
    return MenuRect{MENU_BUTTON_X, MENU_BUTTON_X + MENU_BUTTON_W - 1, y, y + MENU_BUTTON_H - 1};
}

bool left_click_in_view(const FrameInput& in, const Letterbox& lb) {
    return in.mouse_pressed[0] && mouse_in_view(lb, in.mouse);
}

MenuResult title_input(const FrameInput& in, const Letterbox& lb, float volume) {
    if (key_pressed(in, KEY_ENTER) || key_pressed(in, KEY_SPACE)) {
        return {GameScreen::Playing, volume, true, false};
    }
    if (left_click_in_view(in, lb)) {
        const VirtualPoint m = to_virtual(lb, in.mouse);
        if (inside(button_rect(PLAY_BUTTON_Y), m)) return {GameScreen::Playing, volume, true, false};
        if (key_pressed(in, KEY_S) || inside(button_rect(SETTINGS_BUTTON_Y), m)) {
            return {GameScreen::Settings, volume, false, false};
        }
        if (inside(button_rect(THIRD_BUTTON_Y), m)) return {GameScreen::Title, volume, false, true};
        return {GameScreen::Title, volume, false, key_pressed(in, KEY_Q)};
    }
    if (key_pressed(in, KEY_S)) return {GameScreen::Settings, volume, false, false};
    return {GameScreen::Title, volume, false, key_pressed(in, KEY_Q)};
}

MenuResult settings_input(const FrameInput& in, const Letterbox& lb, float volume) {
    if (key_pressed(in, KEY_ESCAPE)) return {GameScreen::Title, volume, false, false};
    const VirtualPoint m = to_virtual(lb, in.mouse);
    if (left_click_in_view(in, lb) && inside(button_rect(BACK_BUTTON_Y), m)) {
        return {GameScreen::Title, volume, false, false};
    }
    float v = volume;
    if (in.mouse_down[0] && mouse_in_view(lb, in.mouse) && inside(VOLUME_DRAG_AREA, m)) {
        const int x = std::min(m.x, SLIDER_TRACK_X + SLIDER_TRACK_W);
        v = static_cast<float>(std::max(x - SLIDER_TRACK_X, 0)) / static_cast<float>(SLIDER_TRACK_W);
    }
    if (key_pressed(in, KEY_LEFT)) v = std::max(v - VOLUME_STEP, 0.0f);
    if (key_pressed(in, KEY_RIGHT)) v = std::min(v + VOLUME_STEP, 1.0f);
    return {GameScreen::Settings, v, false, false};
}

void draw_centred(Texture2D t, int y) {
    if (IsTextureValid(t)) DrawTexture(t, 540 - t.width / 2, y, WHITE);
}

void draw_brick_backdrop(const Game& game) {
    const Texture2D brick = game.textures[TEX_CAVE_BRICK];
    if (!IsTextureValid(brick)) return;
    const int tile = 4 * brick.width;
    if (tile <= 0) return;
    const Rectangle src{0, 0, static_cast<float>(brick.width), static_cast<float>(brick.height)};
    for (int y = 0; y < VIRTUAL_H; y += tile) {
        for (int x = 0; x < VIRTUAL_W; x += tile) {
            const Rectangle dst{static_cast<float>(x), static_cast<float>(y), static_cast<float>(tile),
                                static_cast<float>(tile)};
            DrawTexturePro(brick, src, dst, Vector2{0, 0}, 0.0f, WHITE);
        }
    }
}

void draw_volume_slider(const Game& game) {
    draw_centred(game.textures[TEX_MENU_VOLUME], 269);
    DrawRectangle(315, 333, 450, 22, SLIDER_FRAME);
    DrawRectangle(SLIDER_TRACK_X, 338, SLIDER_TRACK_W, 12, SLIDER_TRACK);
    const int fill = volume_fill_px(game.master_volume);
    DrawRectangle(SLIDER_TRACK_X, 338, fill, 12, SLIDER_FILL);
    DrawRectangle(fill + 314, 330, 12, 28, SLIDER_KNOB);
    char percent[16];
    std::snprintf(percent, sizeof percent, "%d%%", volume_percent(game.master_volume));
    DrawText(percent, 510, 375, 24, WHITE);
}

}  // namespace

MenuResult menu_input(const FrameInput& input, const Letterbox& lb, GameScreen screen,
                      float master_volume) {
    if (screen == GameScreen::Settings) return settings_input(input, lb, master_volume);
    return title_input(input, lb, master_volume);
}

PauseChoice pause_input(const FrameInput& in, const Letterbox& lb) {
    if (key_pressed(in, KEY_ESCAPE) || key_pressed(in, KEY_P)) return PauseChoice::Resume;
    if (key_pressed(in, KEY_S)) return PauseChoice::Settings;
    if (key_pressed(in, KEY_Q)) return PauseChoice::QuitToTitle;
    if (!left_click_in_view(in, lb)) return PauseChoice::Stay;
    const VirtualPoint m = to_virtual(lb, in.mouse);
    if (inside(button_rect(PLAY_BUTTON_Y), m)) return PauseChoice::Resume;
    if (inside(button_rect(SETTINGS_BUTTON_Y), m)) return PauseChoice::Settings;
    if (inside(button_rect(THIRD_BUTTON_Y), m)) return PauseChoice::QuitToTitle;
    return PauseChoice::Stay;
}

void draw_pause_overlay(const Game& game, VirtualPoint mouse) {
    DrawRectangle(0, 0, VIRTUAL_W, VIRTUAL_H, PAUSE_DIM);
    DrawText("PAUSED", 540 - MeasureText("PAUSED", 44) / 2, 170, 44, TITLE_TEXT);
    draw_menu_button(game.textures[TEX_MENU_RESUME], PLAY_BUTTON_Y, mouse);
    draw_menu_button(game.textures[TEX_MENU_SETTINGS], SETTINGS_BUTTON_Y, mouse);
    draw_menu_button(game.textures[TEX_MENU_TO_TITLE], THIRD_BUTTON_Y, mouse);
    draw_menu_cursor(mouse);
}

void draw_leave_hint(const Game& game, int centre_x, int y) {
    if (game.screen_time < SCREEN_HINT_DELAY) return;
    const char* hint = "Press any key";
    DrawText(hint, centre_x - MeasureText(hint, HINT_SIZE) / 2, y, HINT_SIZE, HINT_TEXT);
}

void draw_menu_button(Texture2D label, int y, VirtualPoint mouse) {
    const bool hovered = mouse.x >= MENU_BUTTON_X && mouse.x <= MENU_BUTTON_X + MENU_BUTTON_W - 1 &&
                         mouse.y >= y && mouse.y <= y + MENU_BUTTON_H - 1;
    DrawRectangle(MENU_BUTTON_X, y, MENU_BUTTON_W, MENU_BUTTON_H, hovered ? BUTTON_HOVER : BUTTON_EDGE);
    DrawRectangle(MENU_BUTTON_X + 4, y + 4, MENU_BUTTON_W - 8, MENU_BUTTON_H - 8, BUTTON_FACE);
    if (IsTextureValid(label)) DrawTexture(label, 540 - label.width / 2, y + (62 - label.height) / 2, WHITE);
}

void draw_menu_cursor(VirtualPoint mouse) {
    DrawCircle(mouse.x, mouse.y, 5.0f, CURSOR_OUTER);
    DrawCircle(mouse.x, mouse.y, 2.0f, CURSOR_INNER);
}

void draw_menu_screen(const Game& game, GameScreen screen, VirtualPoint mouse) {
    ClearBackground(MENU_CLEAR_DARK);
    ClearBackground(MENU_CLEAR);
    draw_brick_backdrop(game);
    DrawRectangle(0, 0, VIRTUAL_W, VIRTUAL_H, MENU_VEIL);
    DrawText("CINDERVALE", 284, 111, 44, TITLE_TEXT);
    DrawRectangle(275, 173, 530, 3, TITLE_RULE);
    if (screen == GameScreen::Settings) {
        draw_volume_slider(game);
        draw_menu_button(game.textures[TEX_MENU_BACK], BACK_BUTTON_Y, mouse);
    } else {
        draw_menu_button(game.textures[TEX_MENU_PLAY], PLAY_BUTTON_Y, mouse);
        draw_menu_button(game.textures[TEX_MENU_SETTINGS], SETTINGS_BUTTON_Y, mouse);
        draw_menu_button(game.textures[TEX_MENU_QUIT], THIRD_BUTTON_Y, mouse);
    }
    draw_menu_cursor(mouse);
}

void draw_ending_screen(const Game& game) {
    ClearBackground(ENDING_CLEAR);
    const Texture2D picture = game.textures[TEX_ENDING];
    if (IsTextureValid(picture)) {
        DrawTexturePro(picture,
                       Rectangle{0, 0, static_cast<float>(picture.width), static_cast<float>(picture.height)},
                       Rectangle{0, 0, static_cast<float>(VIRTUAL_W), static_cast<float>(VIRTUAL_H)},
                       Vector2{0, 0}, 0.0f, WHITE);
    }
    DrawRectangle(0, 494, VIRTUAL_W, 115, ENDING_BAND);
    const Texture2D caption = game.textures[TEX_ENDING_TITLE];
    if (IsTextureValid(caption)) DrawTexture(caption, (VIRTUAL_W - caption.width) / 2, 513, WHITE);
    draw_leave_hint(game, VIRTUAL_W / 2, 584);
}
