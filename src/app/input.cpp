#include "app/input.h"

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
    return in;
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
