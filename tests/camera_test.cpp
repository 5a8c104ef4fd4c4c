// The play camera: follow band, framing, limits, pan, pixel offset and the
// drawn cell window.

#include <gtest/gtest.h>

#include <cmath>

#include "render/camera.h"
#include "render/world_render.h"

namespace {

constexpr float DT = 1.0f / 60.0f;

Camera camera_at(float x, float y) {
    Camera c = make_camera();
    c.pos = Vector2{x, y};
    return c;
}

void settle(Camera& c, Vector2 centre, bool on_ground, int frames, float dt = DT) {
    for (int i = 0; i < frames; ++i) update_camera(c, centre, on_ground, dt);
}

TEST(CameraFollow, GroundedPlayerComesToRest152RowsBelowTheViewTop) {
    Camera c = camera_at(500.0f, 20.0f);
    const Vector2 centre{680.0f, 212.0f};  // goal row 60, inside the limits
    settle(c, centre, true, 600);
    EXPECT_NEAR(centre.y - c.pos.y, 152.0f, 0.01f);
    EXPECT_NEAR(c.vel.y, 0.0f, 0.01f);
    // The same player in the air sits inside the band and the view stays put.
    const float rest = c.pos.y;
    settle(c, centre, false, 60);
    EXPECT_NEAR(c.pos.y, rest, 0.01f);
}

TEST(CameraFollow, PlayerOutsideTheBandIsBroughtBackJustInsideIt) {
    // Once inside the band the goal is the camera itself, so the camera
    // coasts to rest a little past the band's edge, never beyond the player.
    Camera right = camera_at(500.0f, 40.0f);
    settle(right, Vector2{800.0f, 160.0f}, false, 600);
    EXPECT_LE(800.0f - right.pos.x, 225.0f);
    EXPECT_GT(800.0f - right.pos.x, 220.0f);

    Camera left = camera_at(500.0f, 40.0f);
    settle(left, Vector2{600.0f, 160.0f}, false, 600);
    EXPECT_GE(600.0f - left.pos.x, 135.0f);
    EXPECT_LT(600.0f - left.pos.x, 140.0f);

    Camera falling = camera_at(500.0f, 10.0f);
    settle(falling, Vector2{680.0f, 250.0f}, false, 600);
    EXPECT_LE(250.0f - falling.pos.y, 172.55f + 0.01f);
    EXPECT_GT(250.0f - falling.pos.y, 167.0f);

    Camera rising = camera_at(500.0f, 60.0f);
    settle(rising, Vector2{680.0f, 150.0f}, false, 600);
    EXPECT_GE(150.0f - rising.pos.y, 101.5f - 0.01f);
    EXPECT_LT(150.0f - rising.pos.y, 106.5f);
}

TEST(CameraFollow, EachAxisHasItsOwnStiffnessAndDamping) {
    // One frame from a moving camera: x is pulled with 50 and damped with
    // e^(-12 dt), y with 24 and e^(-10 dt), all in single precision.
    Camera c = camera_at(500.0f, 40.0f);
    c.vel = Vector2{3.0f, -2.0f};
    update_camera(c, Vector2{800.0f, 160.0f}, true, DT);  // goal (575, 8)
    const float vx = (3.0f + (575.0f - 500.0f) * 50.0f * DT) * std::exp(-12.0f * DT);
    const float vy = (-2.0f + (8.0f - 40.0f) * 24.0f * DT) * std::exp(-10.0f * DT);
    EXPECT_EQ(c.vel.x, vx);
    EXPECT_EQ(c.vel.y, vy);
    EXPECT_EQ(c.pos.x, 500.0f + vx * DT);
    EXPECT_EQ(c.pos.y, 40.0f + vy * DT);
}

TEST(CameraFollow, SpeedIsLimitedPerAxis) {
    Camera c = camera_at(0.0f, 0.0f);
    c.vel.y = 300.0f;  // already falling fast: the vertical spring alone stays below its cap
    update_camera(c, Vector2{3300.0f, 290.0f}, true, 0.05f);
    EXPECT_FLOAT_EQ(c.vel.x, 150.0f);
    EXPECT_FLOAT_EQ(c.vel.y, 100.0f);
    EXPECT_FLOAT_EQ(c.pos.x, 7.5f);
    EXPECT_FLOAT_EQ(c.pos.y, 5.0f);

    Camera back = camera_at(3040.0f, 97.0f);
    back.vel.y = -300.0f;
    update_camera(back, Vector2{10.0f, 10.0f}, false, 0.05f);
    EXPECT_FLOAT_EQ(back.vel.x, -150.0f);
    EXPECT_FLOAT_EQ(back.vel.y, -100.0f);
}

TEST(CameraFollow, GoalBeyondTheWorldStopsTheCameraAtTheLimitWithZeroSpeed) {
    // Grounded near the top of the world: the goal row would be negative.
    Camera top = camera_at(500.0f, 0.5f);
    top.vel.y = -80.0f;
    update_camera(top, Vector2{680.0f, 60.0f}, true, DT);
    EXPECT_FLOAT_EQ(top.pos.y, 0.0f);
    EXPECT_FLOAT_EQ(top.vel.y, 0.0f);
    settle(top, Vector2{680.0f, 60.0f}, true, 120);
    EXPECT_FLOAT_EQ(top.pos.y, 0.0f);

    // Deep in the world: the goal row would be below 97.
    Camera bottom = camera_at(500.0f, 96.5f);
    bottom.vel.y = 80.0f;
    update_camera(bottom, Vector2{680.0f, 299.0f}, true, DT);
    EXPECT_FLOAT_EQ(bottom.pos.y, 97.0f);
    EXPECT_FLOAT_EQ(bottom.vel.y, 0.0f);

    // The same at the two horizontal edges.
    Camera left = camera_at(0.5f, 40.0f);
    left.vel.x = -100.0f;
    update_camera(left, Vector2{20.0f, 160.0f}, false, DT);
    EXPECT_FLOAT_EQ(left.pos.x, 0.0f);
    EXPECT_FLOAT_EQ(left.vel.x, 0.0f);

    Camera right = camera_at(3039.5f, 40.0f);
    right.vel.x = 100.0f;
    update_camera(right, Vector2{3399.0f, 160.0f}, false, DT);
    EXPECT_FLOAT_EQ(right.pos.x, 3040.0f);
    EXPECT_FLOAT_EQ(right.vel.x, 0.0f);
}

TEST(CameraFollow, NeverLeavesTheWorldWithLongFrames) {
    Camera c = camera_at(0.0f, 80.0f);
    for (int i = 0; i < 400; ++i) {
        const float t = static_cast<float>(i);
        const Vector2 centre{1700.0f + 1800.0f * std::sin(t * 0.05f), 150.0f + 160.0f * std::cos(t * 0.11f)};
        update_camera(c, centre, (i / 20) % 2 == 0, 0.05f);
        ASSERT_GE(c.pos.x, 0.0f);
        ASSERT_LE(c.pos.x, 3040.0f);
        ASSERT_GE(c.pos.y, 0.0f);
        ASSERT_LE(c.pos.y, 97.0f);
    }
}

TEST(CameraPan, SmoothstepsToItsEndThenFollowResumesFromThere) {
    Camera c = camera_at(900.0f, 40.0f);
    c.vel = Vector2{60.0f, -20.0f};
    start_camera_pan(c, Vector2{1080.0f, 60.0f});
    EXPECT_TRUE(c.pan_active);
    EXPECT_FLOAT_EQ(c.vel.x, 0.0f);
    EXPECT_FLOAT_EQ(c.vel.y, 0.0f);

    // Half way in time is half way in distance; the player far away is ignored.
    const Vector2 far{10.0f, 10.0f};
    update_camera(c, far, true, 0.225f);
    EXPECT_TRUE(c.pan_active);
    EXPECT_NEAR(c.pos.x, 990.0f, 1e-3f);
    EXPECT_NEAR(c.pos.y, 50.0f, 1e-3f);

    update_camera(c, far, true, 0.225f);
    EXPECT_FALSE(c.pan_active);
    EXPECT_FLOAT_EQ(c.pos.x, 1080.0f);
    EXPECT_FLOAT_EQ(c.pos.y, 60.0f);

    // Follow starts from rest at the pan's end, pulled toward the player.
    const Vector2 centre{1080.0f + 180.0f, 60.0f + 152.0f};
    update_camera(c, centre, true, DT);
    EXPECT_FLOAT_EQ(c.pos.x, 1080.0f);
    EXPECT_FLOAT_EQ(c.pos.y, 60.0f);
}

TEST(CameraPixels, OffsetRoundsHalfUpPerAxis) {
    EXPECT_EQ(cam_px(camera_at(0.0f, 0.0f)).x, 0);
    const CamPx a = cam_px(camera_at(10.5f, 0.1f));  // 31.5 -> 32, 0.3 -> 0
    EXPECT_EQ(a.x, 32);
    EXPECT_EQ(a.y, 0);
    const CamPx b = cam_px(camera_at(10.4f, 0.2f));  // 31.2 -> 31, 0.6 -> 1
    EXPECT_EQ(b.x, 31);
    EXPECT_EQ(b.y, 1);
    const CamPx edge = cam_px(camera_at(3040.0f, 97.0f));
    EXPECT_EQ(edge.x, 9120);
    EXPECT_EQ(edge.y, 291);
}

TEST(CellWindow, CoversTheViewPlusMarginAndStaysOnTheGrid) {
    const CellWindow start = visible_cells(Vector2{0.0f, 0.0f});
    EXPECT_EQ(start.x0, 0);
    EXPECT_EQ(start.x1, 361);
    EXPECT_EQ(start.y0, 0);
    EXPECT_EQ(start.y1, 204);

    const CellWindow end = visible_cells(Vector2{3040.0f, 97.0f});
    EXPECT_EQ(end.x0, 3040);
    EXPECT_EQ(end.x1, 3399);  // 360 columns
    EXPECT_EQ(end.y0, 97);
    EXPECT_EQ(end.y1, 299);  // 203 rows

    const CellWindow near_end = visible_cells(Vector2{3038.0f, 95.0f});
    EXPECT_EQ(near_end.x1 - near_end.x0 + 1, 362);
    EXPECT_EQ(near_end.x1, 3399);
    EXPECT_EQ(near_end.y1 - near_end.y0 + 1, 205);

    const CellWindow fractional = visible_cells(Vector2{3039.9f, 96.9f});
    EXPECT_EQ(fractional.x0, 3039);
    EXPECT_EQ(fractional.x1, 3399);
    EXPECT_EQ(fractional.y1, 299);

    // A position off the world (only tools place the camera by hand) is
    // still drawn from inside the grid.
    const CellWindow off = visible_cells(Vector2{-20.0f, 400.0f});
    EXPECT_EQ(off.x0, 0);
    EXPECT_LE(off.y1, 299);
}

}  // namespace
