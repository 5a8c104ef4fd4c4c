#pragma once
// One frame of keyboard and mouse input, read from raylib once per frame so
// that the rules can run (and be tested) without a window.

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/raylib_api.h"

inline constexpr int INPUT_KEY_SLOTS = 512;
// Key codes no keyboard sends (raylib's end at 348): the gamepad's face
// buttons as the menus and the "any key" screens read them.
inline constexpr int PAD_CONFIRM_KEY = 500;  // A on a menu: the focused item
inline constexpr int PAD_ANY_KEY = 501;      // B, X or Y: a press like any key
inline constexpr int INPUT_KEY_QUEUE = 16;

inline constexpr int PAD_BUTTON_SLOTS = 18;  // raylib's GamepadButton values 0..17
inline constexpr float PAD_STICK_DEADZONE = 0.25f;
inline constexpr float PAD_WALK_THRESHOLD = 0.5f;

// The first gamepad as this frame found it; all zero when none is connected.
struct PadInput {
    bool connected;
    std::array<bool, PAD_BUTTON_SLOTS> down;
    std::array<bool, PAD_BUTTON_SLOTS> pressed;
    float left_x;
    float right_x, right_y;
};

struct FrameInput {
    float raw_frame_time;
    int screen_width;
    int screen_height;
    Vector2 mouse;  // window pixels
    float wheel;
    std::array<bool, INPUT_KEY_SLOTS> key_down;
    std::array<bool, INPUT_KEY_SLOTS> key_pressed;
    // raylib's queue of pressed keys: each take_key_pressed() call pops one,
    // in the order the frame's readers ask, like GetKeyPressed.
    std::array<int, INPUT_KEY_QUEUE> key_queue;
    int key_queue_count;
    int key_queue_next;
    std::array<bool, 3> mouse_pressed;  // left, right, middle
    std::array<bool, 3> mouse_down;
    PadInput pad;
    bool pad_moved_cursor;  // the right stick moved `mouse`; the window's pointer follows
};

FrameInput read_frame_input();

// Where the gamepad is read: menus (title, settings, the pause) or play.
enum class PadContext { Menu, Play };
// Turns this frame's gamepad into the keys, buttons, wheel and cursor motion
// the rules already read, so that no rule asks the device. Without a
// gamepad the record is left exactly as it is.
void apply_gamepad(FrameInput& in, PadContext context);

inline bool key_down(const FrameInput& in, int key) {
    return key >= 0 && key < INPUT_KEY_SLOTS && in.key_down[static_cast<size_t>(key)];
}
inline bool key_pressed(const FrameInput& in, int key) {
    return key >= 0 && key < INPUT_KEY_SLOTS && in.key_pressed[static_cast<size_t>(key)];
}
inline int take_key_pressed(FrameInput& in) {
    if (in.key_queue_next >= in.key_queue_count) return 0;
    return in.key_queue[static_cast<size_t>(in.key_queue_next++)];
}

// Scripted input for tests and tools: a frame of `dt` seconds in a window of
// the given size, with nothing pressed.
FrameInput idle_input(float dt, int width = 1080, int height = 609);
// Presses a key this frame (down, pressed and queued).
void press_key(FrameInput& in, int key);
