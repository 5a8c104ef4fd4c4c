#pragma once
// The play camera: a spring that follows the dragon across the 3400 x 300
// world, in cells.

#include <cstdint>

#include "app/raylib_api.h"

struct Camera {
    Vector2 pos;  // left column, top row of the view (fractional cells)
    Vector2 vel;  // cells per second
    bool pan_active;
    float pan_time;
    Vector2 pan_from;
    Vector2 pan_to;
};

struct CamPx {
    int32_t x;
    int32_t y;
};

inline constexpr int CELL_PX = 3;
inline constexpr int VIEW_COLS = 360;
inline constexpr int VIEW_ROWS = 203;
inline constexpr float CAMERA_MAX_X = 3040.0f;
inline constexpr float CAMERA_MAX_Y = 97.0f;

inline Camera make_camera() {
    Camera c{};
    c.pos = Vector2{0.0f, 80.0f};
    return c;
}

// The view's pixel offset: every world-anchored drawing subtracts it.
CamPx cam_px(const Camera& camera);

// Spring follow of the player centre (cells), or the scripted pan while one runs.
void update_camera(Camera& camera, Vector2 player_centre, bool on_ground, float dt);
void start_camera_pan(Camera& camera, Vector2 to);
