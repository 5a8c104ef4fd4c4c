#include "render/camera.h"

#include <algorithm>
#include <cmath>

namespace {

// The dragon's centre is kept inside a band of the view; outside it the goal
// moves just far enough to bring it back.
constexpr float FOLLOW_LEFT_MARGIN = 135.0f;
constexpr float FOLLOW_RIGHT_MARGIN = 225.0f;
constexpr float FOLLOW_TOP_MARGIN = 101.5f;
constexpr float FOLLOW_BOTTOM_MARGIN = 172.55f;
// A grounded dragon is framed with most of the view above it, so what lies
// ahead and the sky are visible while the ground below stays in sight.
constexpr float GROUNDED_FRAMING = 152.0f;

// Horizontal follow is stiffer than vertical so that running stays framed
// while jumps do not shake the view.
constexpr float SPRING_X = 50.0f;
constexpr float SPRING_Y = 24.0f;
constexpr float DAMPING_X = 12.0f;
constexpr float DAMPING_Y = 10.0f;
constexpr float MAX_SPEED_X = 150.0f;
constexpr float MAX_SPEED_Y = 100.0f;

constexpr float PAN_DURATION = 0.45f;

static_assert(FOLLOW_LEFT_MARGIN < FOLLOW_RIGHT_MARGIN && FOLLOW_RIGHT_MARGIN < VIEW_COLS);
static_assert(FOLLOW_TOP_MARGIN < GROUNDED_FRAMING && GROUNDED_FRAMING < FOLLOW_BOTTOM_MARGIN);
static_assert(FOLLOW_BOTTOM_MARGIN < VIEW_ROWS);
static_assert(CAMERA_MAX_X == 3400.0f - VIEW_COLS && CAMERA_MAX_Y == 300.0f - VIEW_ROWS);

float follow_goal_x(float pos_x, float centre_x) {
    const float offset = centre_x - pos_x;
    if (offset < FOLLOW_LEFT_MARGIN) return centre_x - FOLLOW_LEFT_MARGIN;
    if (offset > FOLLOW_RIGHT_MARGIN) return centre_x - FOLLOW_RIGHT_MARGIN;
    return pos_x;
}

float follow_goal_y(float pos_y, float centre_y, bool on_ground) {
    if (on_ground) return centre_y - GROUNDED_FRAMING;
    const float offset = centre_y - pos_y;
    if (offset > FOLLOW_BOTTOM_MARGIN) return centre_y - FOLLOW_BOTTOM_MARGIN;
    if (offset < FOLLOW_TOP_MARGIN) return centre_y - FOLLOW_TOP_MARGIN;
    return pos_y;
}

// Damped spring toward the goal, one axis.
float spring_velocity(float vel, float pos, float goal, float stiffness, float damping,
                      float max_speed, float dt) {
    vel += (goal - pos) * stiffness * dt;
    vel *= std::exp(-damping * dt);
    return std::clamp(vel, -max_speed, max_speed);
}

// Moves one axis; hitting either world edge stops the camera dead so it does
// not keep pushing against the limit.
void move_axis(float& pos, float& vel, float limit, float dt) {
    pos += vel * dt;
    if (pos < 0.0f) {
        pos = 0.0f;
        vel = 0.0f;
    } else if (pos > limit) {
        pos = limit;
        vel = 0.0f;
    }
}

void follow_player(Camera& camera, Vector2 centre, bool on_ground, float dt) {
    const float goal_x = std::clamp(follow_goal_x(camera.pos.x, centre.x), 0.0f, CAMERA_MAX_X);
    const float goal_y = std::clamp(follow_goal_y(camera.pos.y, centre.y, on_ground), 0.0f, CAMERA_MAX_Y);
    camera.vel.x = spring_velocity(camera.vel.x, camera.pos.x, goal_x, SPRING_X, DAMPING_X, MAX_SPEED_X, dt);
    camera.vel.y = spring_velocity(camera.vel.y, camera.pos.y, goal_y, SPRING_Y, DAMPING_Y, MAX_SPEED_Y, dt);
    move_axis(camera.pos.x, camera.vel.x, CAMERA_MAX_X, dt);
    move_axis(camera.pos.y, camera.vel.y, CAMERA_MAX_Y, dt);
}

// Smoothstep from pan_from to pan_to; the last frame lands exactly on the end.
void advance_pan(Camera& camera, float dt) {
    camera.pan_time += dt;
    const float u = camera.pan_time / PAN_DURATION;
    float s = std::min(u, 1.0f);
    s = (3.0f - 2.0f * s) * (s * s);  // the same smoothstep as the terrain uses
    camera.pos.x = camera.pan_from.x + (camera.pan_to.x - camera.pan_from.x) * s;
    camera.pos.y = camera.pan_from.y + (camera.pan_to.y - camera.pan_from.y) * s;
    if (u >= 1.0f) camera.pan_active = false;
}

}  // namespace

CamPx cam_px(const Camera& camera) {
    return CamPx{static_cast<int32_t>(camera.pos.x * 3.0f + 0.5f),
                 static_cast<int32_t>(camera.pos.y * 3.0f + 0.5f)};
}

void update_camera(Camera& camera, Vector2 player_centre, bool on_ground, float dt) {
    if (camera.pan_active) {
        advance_pan(camera, dt);
    } else {
        follow_player(camera, player_centre, on_ground, dt);
    }
}

void start_camera_pan(Camera& camera, Vector2 to) {
    camera.pan_from = camera.pos;
    camera.pan_to = to;
    camera.pan_active = true;
    camera.pan_time = 0.0f;
    camera.vel = Vector2{0, 0};
}
