#pragma once
// Title, settings, pause and ending screens.

#include <cstdint>

#include "app/game.h"
#include "app/input.h"

// What a menu frame starts from: the settings it may change and the item the
// keyboard's arrows or the gamepad's d-pad point at.
struct MenuState {
    Settings settings;
    MenuItem focus;
    bool focus_shown;  // the arrows or the d-pad have been used on this screen
    bool continue_offered;  // the title shows Continue
};

struct MenuResult {
    GameScreen next_screen;
    float master_volume;
    bool start_game;
    bool quit;  // the title's Quit: close the window as its close button does
    bool continue_game;  // the title's Continue: back to the last checkpoint
    int64_t game_speed_pct;
    int64_t damage_taken_pct;
    MenuItem focus;
    bool focus_shown;
};

enum class PauseChoice { Stay, Resume, Settings, QuitToTitle };

struct MenuRect {
    int x0, x1, y0, y1;  // inclusive
};

inline constexpr int MENU_BUTTON_X = 390;
inline constexpr int MENU_BUTTON_W = 300;
inline constexpr int MENU_BUTTON_H = 62;
inline constexpr int PLAY_BUTTON_Y = 265;
inline constexpr int SETTINGS_BUTTON_Y = 345;
inline constexpr int BACK_BUTTON_Y = 451;
// The third button of the title (Quit) and of the pause (Quit to title)
// keeps the same 80-pixel rhythm below the first two.
inline constexpr int THIRD_BUTTON_Y = 425;
#ifdef __EMSCRIPTEN__
inline constexpr bool QUIT_OFFERED = false;  // a browser tab is closed by the browser
#else
inline constexpr bool QUIT_OFFERED = true;
#endif
// Continue stands beside Play, to its right.
inline constexpr int CONTINUE_BUTTON_X = 710;
inline constexpr MenuRect VOLUME_DRAG_AREA = {308, 771, 319, 374};
inline constexpr int SLIDER_TRACK_X = 320;
inline constexpr int SLIDER_TRACK_W = 440;
// The assist rows sit between the heading's rule and the volume label.
inline constexpr int GAME_SPEED_ROW_Y = 192;
inline constexpr int DAMAGE_ROW_Y = 228;
inline constexpr int ASSIST_ROW_H = 30;

// The settings screen's reading of a volume: the percentage shown (rounded
// half up) and the filled width of the slider track in pixels.
inline int volume_percent(float v) { return static_cast<int>(v * 100.0f + 0.5f); }
inline int volume_fill_px(float v) { return static_cast<int>(v * static_cast<float>(SLIDER_TRACK_W) + 0.5f); }

// A menu state on `screen` with the given settings and the screen's first focus.
MenuState menu_state(GameScreen screen, const Settings& settings, bool continue_offered = false);
// The item a screen points at when it opens.
MenuItem default_focus(GameScreen screen);

// Title and Settings input of one frame: the next screen, the settings, the
// focus and whether a new game starts, a checkpoint is resumed or the
// program quits.
MenuResult menu_input(const FrameInput& input, const Letterbox& lb, GameScreen screen, const MenuState& state);

// Pause input of one frame: Escape or P resume, S opens the settings, Q
// leaves for the title, a click on one of the three buttons, or the arrows
// and Enter (the d-pad and A) on the focused one. Moves `focus`.
PauseChoice pause_input(const FrameInput& input, const Letterbox& lb, MenuItem& focus, bool& focus_shown);
// The pause over the dimmed play frame (already drawn into the target).
void draw_pause_overlay(const Game& game, VirtualPoint mouse);

// Draws the title or the settings screen (chosen by `screen`) into the target.
void draw_menu_screen(const Game& game, GameScreen screen, VirtualPoint mouse);
void draw_ending_screen(const Game& game);
// "Press any key", once the screen has shown long enough to be left.
void draw_leave_hint(const Game& game, int centre_x, int y);
void draw_menu_button(Texture2D label, int y, VirtualPoint mouse, bool focused = false, int x = MENU_BUTTON_X);
void draw_menu_cursor(VirtualPoint mouse);
