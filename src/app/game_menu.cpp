#include "app/game_menu.h"

#include <algorithm>
#include <array>
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
constexpr Color ROW_FOCUS = {255, 211, 132, 60};
constexpr Color FOCUS_MARK = {255, 211, 132, 255};
constexpr Color HINT_TEXT = {214, 206, 186, 255};
constexpr int HINT_SIZE = 20;

constexpr float VOLUME_STEP = 0.05f;

bool inside(const MenuRect& r, VirtualPoint p) {
    return p.x >= r.x0 && p.x <= r.x1 && p.y >= r.y0 && p.y <= r.y1;
}

MenuRect button_rect(int y, int x = MENU_BUTTON_X) {
    return MenuRect{x, x + MENU_BUTTON_W - 1, y, y + MENU_BUTTON_H - 1};
}

MenuRect assist_row_rect(int y) { return MenuRect{VOLUME_DRAG_AREA.x0, VOLUME_DRAG_AREA.x1, y, y + ASSIST_ROW_H - 1}; }

bool left_click_in_view(const FrameInput& in, const Letterbox& lb) {
    return in.mouse_pressed[0] && mouse_in_view(lb, in.mouse);
}

// --- Focus: the arrows and the d-pad -----------------------------------------------

struct ItemList {
    std::array<MenuItem, 4> items;
    size_t count;
};

ItemList items_of(GameScreen screen, bool paused_menu, bool continue_offered) {
    if (paused_menu) return {{MenuItem::Resume, MenuItem::Settings, MenuItem::ToTitle}, 3};
    if (screen == GameScreen::Settings) {
        return {{MenuItem::GameSpeed, MenuItem::DamageTaken, MenuItem::Volume, MenuItem::Back}, 4};
    }
    const size_t quit = QUIT_OFFERED ? 1 : 0;
    if (continue_offered) return {{MenuItem::Play, MenuItem::Continue, MenuItem::Settings, MenuItem::Quit}, 3 + quit};
    return {{MenuItem::Play, MenuItem::Settings, MenuItem::Quit}, 2 + quit};
}

// Up and Down walk the screen's items, stopping at the ends; a focus that is
// not on this screen starts from its first item.
MenuItem move_focus(const FrameInput& in, const ItemList& list, MenuItem focus, bool& shown) {
    const int step = (key_pressed(in, KEY_DOWN) ? 1 : 0) - (key_pressed(in, KEY_UP) ? 1 : 0);
    if (!key_pressed(in, KEY_DOWN) && !key_pressed(in, KEY_UP)) return focus;
    size_t i = 0;
    while (i < list.count && list.items[i] != focus) ++i;
    shown = true;
    if (i == list.count) return list.items[0];
    const auto j = static_cast<int64_t>(i) + step;
    return list.items[static_cast<size_t>(std::clamp<int64_t>(j, 0, static_cast<int64_t>(list.count) - 1))];
}

bool confirm_pressed(const FrameInput& in) { return key_pressed(in, PAD_CONFIRM_KEY); }

MenuResult stay(GameScreen screen, const MenuState& st, MenuItem focus, bool shown) {
    return MenuResult{screen, st.settings.volume, false, false, false, st.settings.game_speed_pct,
                      st.settings.damage_taken_pct, focus, shown};
}

MenuResult go(GameScreen next, const MenuState& st) {
    MenuResult r = stay(next, st, default_focus(next), false);
    r.start_game = next == GameScreen::Playing;
    return r;
}

MenuResult activate_title_item(MenuItem item, const MenuState& st, bool shown) {
    switch (item) {
        case MenuItem::Continue: {
            MenuResult r = stay(GameScreen::Playing, st, default_focus(GameScreen::Playing), false);
            r.continue_game = true;
            return r;
        }
        case MenuItem::Settings: return go(GameScreen::Settings, st);
        case MenuItem::Quit: {
            MenuResult r = stay(GameScreen::Title, st, item, shown);
            r.quit = true;
            return r;
        }
        default: return go(GameScreen::Playing, st);
    }
}

MenuResult title_input(const FrameInput& in, const Letterbox& lb, const MenuState& st) {
    bool shown = st.focus_shown;
    const MenuItem focus = move_focus(in, items_of(GameScreen::Title, false, st.continue_offered), st.focus, shown);
    if (key_pressed(in, KEY_ENTER) || key_pressed(in, KEY_SPACE)) return go(GameScreen::Playing, st);
    if (confirm_pressed(in)) return activate_title_item(focus, st, shown);
    if (left_click_in_view(in, lb)) {
        const VirtualPoint m = to_virtual(lb, in.mouse);
        if (inside(button_rect(PLAY_BUTTON_Y), m)) return go(GameScreen::Playing, st);
        if (key_pressed(in, KEY_S) || inside(button_rect(SETTINGS_BUTTON_Y), m)) return go(GameScreen::Settings, st);
        if (st.continue_offered && inside(button_rect(PLAY_BUTTON_Y, CONTINUE_BUTTON_X), m)) {
            return activate_title_item(MenuItem::Continue, st, shown);
        }
        if (QUIT_OFFERED && inside(button_rect(THIRD_BUTTON_Y), m)) return activate_title_item(MenuItem::Quit, st, shown);
    } else if (key_pressed(in, KEY_S)) {
        return go(GameScreen::Settings, st);
    }
    if (st.continue_offered && key_pressed(in, KEY_C)) return activate_title_item(MenuItem::Continue, st, shown);
    if (QUIT_OFFERED && key_pressed(in, KEY_Q)) return activate_title_item(MenuItem::Quit, st, shown);
    return stay(GameScreen::Title, st, focus, shown);
}

void step_assist(MenuResult& r, MenuItem row, int step) {
    if (row == MenuItem::GameSpeed) r.game_speed_pct = next_choice(GAME_SPEED_CHOICES, r.game_speed_pct, step);
    if (row == MenuItem::DamageTaken) {
        r.damage_taken_pct = next_choice(DAMAGE_TAKEN_CHOICES, r.damage_taken_pct, step);
    }
}

MenuResult settings_input(const FrameInput& in, const Letterbox& lb, const MenuState& st) {
    if (key_pressed(in, KEY_ESCAPE)) return go(GameScreen::Title, st);
    const VirtualPoint m = to_virtual(lb, in.mouse);
    if (left_click_in_view(in, lb) && inside(button_rect(BACK_BUTTON_Y), m)) return go(GameScreen::Title, st);
    bool shown = st.focus_shown;
    const MenuItem focus = move_focus(in, items_of(GameScreen::Settings, false, false), st.focus, shown);
    if (focus == MenuItem::Back && (confirm_pressed(in) || key_pressed(in, KEY_ENTER))) {
        return go(GameScreen::Title, st);
    }
    MenuResult r = stay(GameScreen::Settings, st, focus, shown);
    if (left_click_in_view(in, lb) && inside(assist_row_rect(GAME_SPEED_ROW_Y), m)) step_assist(r, MenuItem::GameSpeed, 1);
    if (left_click_in_view(in, lb) && inside(assist_row_rect(DAMAGE_ROW_Y), m)) step_assist(r, MenuItem::DamageTaken, 1);
    const int step = (key_pressed(in, KEY_RIGHT) ? 1 : 0) - (key_pressed(in, KEY_LEFT) ? 1 : 0);
    if (focus == MenuItem::GameSpeed || focus == MenuItem::DamageTaken) {
        if (step != 0) step_assist(r, focus, step);
        if (confirm_pressed(in) || key_pressed(in, KEY_ENTER)) step_assist(r, focus, 1);
        return r;
    }
    float v = st.settings.volume;
    if (in.mouse_down[0] && mouse_in_view(lb, in.mouse) && inside(VOLUME_DRAG_AREA, m)) {
        const int x = std::min(m.x, SLIDER_TRACK_X + SLIDER_TRACK_W);
        v = static_cast<float>(std::max(x - SLIDER_TRACK_X, 0)) / static_cast<float>(SLIDER_TRACK_W);
    }
    if (key_pressed(in, KEY_LEFT)) v = std::max(v - VOLUME_STEP, 0.0f);
    if (key_pressed(in, KEY_RIGHT)) v = std::min(v + VOLUME_STEP, 1.0f);
    r.master_volume = v;
    return r;
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

bool focused(const Game& game, MenuItem item) { return game.menu_focus_shown && game.menu_focus == item; }

void draw_assist_row(Texture2D label, int y, int64_t pct, bool is_focused) {
    if (is_focused) DrawRectangle(VOLUME_DRAG_AREA.x0, y, VOLUME_DRAG_AREA.x1 - VOLUME_DRAG_AREA.x0 + 1, ASSIST_ROW_H, ROW_FOCUS);
    if (IsTextureValid(label)) DrawTexture(label, SLIDER_TRACK_X, y + (ASSIST_ROW_H - label.height) / 2, WHITE);
    char value[24];
    std::snprintf(value, sizeof value, "< %lld%% >", static_cast<long long>(pct));
    DrawText(value, SLIDER_TRACK_X + SLIDER_TRACK_W - MeasureText(value, 24), y + 3, 24, WHITE);
}

void draw_assist_rows(const Game& game) {
    draw_assist_row(game.textures[TEX_SETTINGS_GAME_SPEED], GAME_SPEED_ROW_Y, game.game_speed_pct,
                    focused(game, MenuItem::GameSpeed));
    draw_assist_row(game.textures[TEX_SETTINGS_DAMAGE], DAMAGE_ROW_Y, game.damage_taken_pct,
                    focused(game, MenuItem::DamageTaken));
}

void draw_volume_slider(const Game& game) {
    if (focused(game, MenuItem::Volume)) DrawTriangle({298, 336}, {298, 352}, {308, 344}, FOCUS_MARK);
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

MenuItem default_focus(GameScreen screen) {
    return screen == GameScreen::Settings ? MenuItem::Volume : MenuItem::Play;
}

MenuState menu_state(GameScreen screen, const Settings& settings, bool continue_offered) {
    return MenuState{settings, default_focus(screen), false, continue_offered};
}

MenuResult menu_input(const FrameInput& input, const Letterbox& lb, GameScreen screen, const MenuState& state) {
    if (screen == GameScreen::Settings) return settings_input(input, lb, state);
    return title_input(input, lb, state);
}

namespace {

PauseChoice choice_of(MenuItem item) {
    if (item == MenuItem::Settings) return PauseChoice::Settings;
    if (item == MenuItem::ToTitle) return PauseChoice::QuitToTitle;
    return PauseChoice::Resume;
}

}  // namespace

PauseChoice pause_input(const FrameInput& in, const Letterbox& lb, MenuItem& focus, bool& focus_shown) {
    if (key_pressed(in, KEY_ESCAPE) || key_pressed(in, KEY_P)) return PauseChoice::Resume;
    if (key_pressed(in, KEY_S)) return PauseChoice::Settings;
    if (key_pressed(in, KEY_Q)) return PauseChoice::QuitToTitle;
    focus = move_focus(in, items_of(GameScreen::Playing, true, false), focus, focus_shown);
    if (confirm_pressed(in) || key_pressed(in, KEY_ENTER)) return choice_of(focus);
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
    draw_menu_button(game.textures[TEX_MENU_RESUME], PLAY_BUTTON_Y, mouse, focused(game, MenuItem::Resume));
    draw_menu_button(game.textures[TEX_MENU_SETTINGS], SETTINGS_BUTTON_Y, mouse, focused(game, MenuItem::Settings));
    draw_menu_button(game.textures[TEX_MENU_TO_TITLE], THIRD_BUTTON_Y, mouse, focused(game, MenuItem::ToTitle));
    draw_menu_cursor(mouse);
}

void draw_leave_hint(const Game& game, int centre_x, int y) {
    if (game.screen_time < SCREEN_HINT_DELAY) return;
    const char* hint = "Press any key";
    DrawText(hint, centre_x - MeasureText(hint, HINT_SIZE) / 2, y, HINT_SIZE, HINT_TEXT);
}

void draw_menu_button(Texture2D label, int y, VirtualPoint mouse, bool is_focused, int x) {
    const bool hovered = mouse.x >= x && mouse.x <= x + MENU_BUTTON_W - 1 && mouse.y >= y &&
                         mouse.y <= y + MENU_BUTTON_H - 1;
    DrawRectangle(x, y, MENU_BUTTON_W, MENU_BUTTON_H, hovered || is_focused ? BUTTON_HOVER : BUTTON_EDGE);
    DrawRectangle(x + 4, y + 4, MENU_BUTTON_W - 8, MENU_BUTTON_H - 8, BUTTON_FACE);
    const int centre = x + MENU_BUTTON_W / 2;
    if (IsTextureValid(label)) DrawTexture(label, centre - label.width / 2, y + (62 - label.height) / 2, WHITE);
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
        draw_assist_rows(game);
        draw_volume_slider(game);
        draw_menu_button(game.textures[TEX_MENU_BACK], BACK_BUTTON_Y, mouse, focused(game, MenuItem::Back));
    } else {
        draw_menu_button(game.textures[TEX_MENU_PLAY], PLAY_BUTTON_Y, mouse, focused(game, MenuItem::Play));
        if (continue_offered(game)) {
            draw_menu_button(game.textures[TEX_MENU_CONTINUE], PLAY_BUTTON_Y, mouse, focused(game, MenuItem::Continue),
                             CONTINUE_BUTTON_X);
        }
        draw_menu_button(game.textures[TEX_MENU_SETTINGS], SETTINGS_BUTTON_Y, mouse, focused(game, MenuItem::Settings));
        if (QUIT_OFFERED) draw_menu_button(game.textures[TEX_MENU_QUIT], THIRD_BUTTON_Y, mouse, focused(game, MenuItem::Quit));
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
