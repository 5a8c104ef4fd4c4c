#pragma once
// Title, settings and ending screens.

#include "app/game.h"
#include "app/input.h"

struct MenuResult {
    GameScreen next_screen;
    float master_volume;
    bool start_game;
    bool quit;  // the title's Quit: close the window as its close button does
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
inline constexpr MenuRect VOLUME_DRAG_AREA = {308, 771, 319, 374};
inline constexpr int SLIDER_TRACK_X = 320;
inline constexpr int SLIDER_TRACK_W = 440;

// The settings screen's reading of a volume: the percentage shown (rounded
// half up) and the filled width of the slider track in pixels.
inline int volume_percent(float v) { return static_cast<int>(v * 100.0f + 0.5f); }
inline int volume_fill_px(float v) { return static_cast<int>(v * static_cast<float>(SLIDER_TRACK_W) + 0.5f); }

// Title and Settings input of one frame: the next screen, the volume and
// whether a new game starts.
MenuResult menu_input(const FrameInput& input, const Letterbox& lb, GameScreen screen,
                      float master_volume);

// Pause input of one frame: Escape or P resume, S opens the settings, Q
// leaves for the title, or a click on one of the three buttons.
PauseChoice pause_input(const FrameInput& input, const Letterbox& lb);
// The pause over the dimmed play frame (already drawn into the target).
void draw_pause_overlay(const Game& game, VirtualPoint mouse);

// Draws the title or the settings screen (chosen by `screen`) into the target.
void draw_menu_screen(const Game& game, GameScreen screen, VirtualPoint mouse);
void draw_ending_screen(const Game& game);
// "Press any key", once the screen has shown long enough to be left.
void draw_leave_hint(const Game& game, int centre_x, int y);
void draw_menu_button(Texture2D label, int y, VirtualPoint mouse);
void draw_menu_cursor(VirtualPoint mouse);
