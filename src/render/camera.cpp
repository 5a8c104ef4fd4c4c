#include "render/camera.h"

#include <cmath>

CamPx cam_px(const Camera& camera) {
    return CamPx{static_cast<int32_t>(camera.pos.x * 3.0f + 0.5f),
                         static_cast<int32_t>(camera.pos.y * 3.0f + 0.5f)};
}

void update_camera(Camera& camera, Vector2 player_centre, bool on_ground, float dt) {
    (void)camera;
    (void)player_centre;
    (void)on_ground;
    (void)dt;
}

void start_camera_pan(Camera& camera, Vector2 to) {
    camera.pan_from = camera.pos;
    camera.pan_to = to;
    camera.pan_active = true;
    camera.pan_time = 0.0f;
    camera.vel = Vector2{0, 0};
}
