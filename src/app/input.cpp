#include "app/input.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The right stick crosses the picture's width in about a second.
constexpr float CURSOR_CROSSING_SECONDS = 1.0f;
constexpr float MAX_CURSOR_DT = 0.05f;
constexpr float VIRTUAL_WIDTH = 1080.0f;
constexpr float VIRTUAL_HEIGHT = 609.0f;

void read_gamepad(PadInput& pad) {
    if (!IsGamepadAvailable(0)) return;
    pad.connected = true;
    for (int b = 1; b < PAD_BUTTON_SLOTS; ++b) {
        pad.down[static_cast<size_t>(b)] = IsGamepadButtonDown(0, b);
        pad.pressed[static_cast<size_t>(b)] = IsGamepadButtonPressed(0, b);
    }
    pad.left_x = GetGamepadAxisMovement(0, GAMEPAD_AXIS_LEFT_X);
    pad.right_x = GetGamepadAxisMovement(0, GAMEPAD_AXIS_RIGHT_X);
    pad.right_y = GetGamepadAxisMovement(0, GAMEPAD_AXIS_RIGHT_Y);
}

bool pad_down(const PadInput& pad, int b) { return pad.down[static_cast<size_t>(b)]; }
bool pad_pressed(const PadInput& pad, int b) { return pad.pressed[static_cast<size_t>(b)]; }

void hold_key(FrameInput& in, int key) { in.key_down[static_cast<size_t>(key)] = true; }

float outside_deadzone(float v) {
    if (!std::isfinite(v) || std::fabs(v) < PAD_STICK_DEADZONE) return 0.0f;
    return std::clamp(v, -1.0f, 1.0f);
}

// The right stick moves the cursor at a speed that crosses the picture in
// about a second, whatever the window's size.
void move_cursor(FrameInput& in) {
    const float sx = outside_deadzone(in.pad.right_x);
    const float sy = outside_deadzone(in.pad.right_y);
    if (sx == 0.0f && sy == 0.0f) return;
    const float w = static_cast<float>(std::max(in.screen_width, 1));
    const float h = static_cast<float>(std::max(in.screen_height, 1));
    const float scale = std::min(w / VIRTUAL_WIDTH, h / VIRTUAL_HEIGHT);
    const float dt = std::clamp(in.raw_frame_time, 0.0f, MAX_CURSOR_DT);
    const float speed = VIRTUAL_WIDTH * scale / CURSOR_CROSSING_SECONDS;
    in.mouse.x = std::clamp(in.mouse.x + sx * speed * dt, 0.0f, w - 1.0f);
    in.mouse.y = std::clamp(in.mouse.y + sy * speed * dt, 0.0f, h - 1.0f);
    in.pad_moved_cursor = true;
}

void apply_play_buttons(FrameInput& in) {
    const PadInput& pad = in.pad;
    if (pad.left_x <= -PAD_WALK_THRESHOLD || pad_down(pad, GAMEPAD_BUTTON_LEFT_FACE_LEFT)) hold_key(in, KEY_A);
    if (pad.left_x >= PAD_WALK_THRESHOLD || pad_down(pad, GAMEPAD_BUTTON_LEFT_FACE_RIGHT)) hold_key(in, KEY_D);
    if (pad_down(pad, GAMEPAD_BUTTON_RIGHT_FACE_DOWN)) hold_key(in, KEY_SPACE);
    if (pad_pressed(pad, GAMEPAD_BUTTON_RIGHT_FACE_DOWN)) press_key(in, KEY_SPACE);
    if (pad_pressed(pad, GAMEPAD_BUTTON_RIGHT_FACE_LEFT)) press_key(in, KEY_E);
    for (int b : {GAMEPAD_BUTTON_RIGHT_FACE_RIGHT, GAMEPAD_BUTTON_RIGHT_FACE_UP}) {
        if (pad_pressed(pad, b)) press_key(in, PAD_ANY_KEY);
    }
    if (pad_down(pad, GAMEPAD_BUTTON_RIGHT_TRIGGER_2)) in.mouse_down[0] = true;
    if (pad_pressed(pad, GAMEPAD_BUTTON_RIGHT_TRIGGER_2)) in.mouse_pressed[0] = true;
    // Wheel up is the previous slot: the left bumper.
    if (pad_pressed(pad, GAMEPAD_BUTTON_LEFT_TRIGGER_1)) in.wheel += 1.0f;
    if (pad_pressed(pad, GAMEPAD_BUTTON_RIGHT_TRIGGER_1)) in.wheel -= 1.0f;
    if (pad_pressed(pad, GAMEPAD_BUTTON_MIDDLE_RIGHT)) press_key(in, KEY_ESCAPE);
}

void apply_menu_buttons(FrameInput& in) {
    const PadInput& pad = in.pad;
    constexpr std::array<std::pair<int, int>, 4> DPAD = {{
        {GAMEPAD_BUTTON_LEFT_FACE_UP, KEY_UP},
        {GAMEPAD_BUTTON_LEFT_FACE_DOWN, KEY_DOWN},
        {GAMEPAD_BUTTON_LEFT_FACE_LEFT, KEY_LEFT},
        {GAMEPAD_BUTTON_LEFT_FACE_RIGHT, KEY_RIGHT},
    }};
    for (const auto& [button, key] : DPAD) {
        if (pad_pressed(pad, button)) press_key(in, key);
    }
    if (pad_pressed(pad, GAMEPAD_BUTTON_RIGHT_FACE_DOWN)) press_key(in, PAD_CONFIRM_KEY);
    if (pad_pressed(pad, GAMEPAD_BUTTON_RIGHT_FACE_RIGHT) || pad_pressed(pad, GAMEPAD_BUTTON_MIDDLE_RIGHT)) {
        press_key(in, KEY_ESCAPE);
    }
}

}  // namespace

FrameInput read_frame_input() {
    FrameInput in{};
    in.raw_frame_time = GetFrameTime();
    in.screen_width = GetScreenWidth();
    in.screen_height = GetScreenHeight();
    in.mouse = GetMousePosition();
    in.wheel = GetMouseWheelMove();
    for (int k = 1; k < INPUT_KEY_SLOTS; ++k) {
        in.key_down[static_cast<size_t>(k)] = IsKeyDown(k);
        in.key_pressed[static_cast<size_t>(k)] = IsKeyPressed(k);
    }
    for (int key = GetKeyPressed(); key != 0 && in.key_queue_count < INPUT_KEY_QUEUE;
         key = GetKeyPressed()) {
        in.key_queue[static_cast<size_t>(in.key_queue_count++)] = key;
    }
    for (int b = 0; b < 3; ++b) {
        in.mouse_pressed[static_cast<size_t>(b)] = IsMouseButtonPressed(b);
        in.mouse_down[static_cast<size_t>(b)] = IsMouseButtonDown(b);
    }
    read_gamepad(in.pad);
    return in;
}

void apply_gamepad(FrameInput& in, PadContext context) {
    if (!in.pad.connected) return;
    move_cursor(in);
    if (context == PadContext::Play) {
        apply_play_buttons(in);
    } else {
        apply_menu_buttons(in);
    }
}

FrameInput idle_input(float dt, int width, int height) {
    FrameInput in{};
    in.raw_frame_time = dt;
    in.screen_width = width;
    in.screen_height = height;
    in.mouse = Vector2{static_cast<float>(width) * 0.5f, static_cast<float>(height) * 0.5f};
    return in;
}

void press_key(FrameInput& in, int key) {
    if (key <= 0 || key >= INPUT_KEY_SLOTS) return;
    in.key_down[static_cast<size_t>(key)] = true;
    in.key_pressed[static_cast<size_t>(key)] = true;
    if (in.key_queue_count < INPUT_KEY_QUEUE) in.key_queue[static_cast<size_t>(in.key_queue_count++)] = key;
}
