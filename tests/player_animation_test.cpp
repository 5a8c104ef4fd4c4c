// Which frame of the dragon shows: idle, walk and air, clocked by the frame
// time the logic sees, restarting whenever the pose changes.

#include <gtest/gtest.h>

#include "render/player_animation.h"

namespace {

constexpr float FRAME = 1.0f / 60.0f;

Player standing(float vel_x) {
    Player p = make_player(100, 100);
    p.grounded = true;
    p.vel_x = vel_x;
    return p;
}

// Runs n frames of dt and returns the frame shown after the last.
int64_t after(PlayerAnimation& anim, const Player& p, int n, float dt = FRAME) {
    for (int i = 0; i < n; ++i) update_player_animation(anim, p, dt);
    return anim.anim_frame;
}

TEST(PlayerAnimation, IdleShowsFourFramesOfAbout0Point15Seconds) {
    PlayerAnimation anim{};
    const Player p = standing(0.0f);
    EXPECT_EQ(after(anim, p, 8), 0);    // 0.133 s
    EXPECT_EQ(after(anim, p, 2), 1);    // 0.167 s
    EXPECT_EQ(after(anim, p, 9), 2);    // 0.317 s
    EXPECT_EQ(after(anim, p, 9), 3);    // 0.467 s
    EXPECT_EQ(after(anim, p, 9), 0);    // 0.617 s: round again
    EXPECT_EQ(anim.player_anim, Animation::Idle);
}

TEST(PlayerAnimation, WalkingFasterThanTenCellsASecondCyclesFramesFourToTen) {
    PlayerAnimation anim{};
    EXPECT_EQ(after(anim, standing(10.0f), 1), 0) << "ten exactly is still idle";
    const Player p = standing(-10.5f);  // either direction
    EXPECT_EQ(after(anim, p, 1), 4);
    EXPECT_EQ(anim.player_anim, Animation::Walk);
    EXPECT_EQ(after(anim, p, 4), 4);   // 5 frames: 0.083 s
    EXPECT_EQ(after(anim, p, 1), 5);   // 6 frames: 0.1 s
    EXPECT_EQ(after(anim, p, 27), 10);  // 33 frames: 0.55 s, tick 6
    EXPECT_EQ(after(anim, p, 5), 4);   // 38 frames: 0.633 s, tick 7 wraps
}

TEST(PlayerAnimation, InTheAirTheFirstFrameShowsAndLandingRestartsTheClock) {
    PlayerAnimation anim{};
    Player p = standing(117.0f);
    after(anim, p, 20);
    p.grounded = false;
    EXPECT_EQ(after(anim, p, 30), 0);
    EXPECT_EQ(anim.player_anim, Animation::Air);
    p.grounded = true;
    EXPECT_EQ(after(anim, p, 1), 4) << "the walk starts over at its first frame";
    EXPECT_FLOAT_EQ(anim.anim_time, FRAME);
}

TEST(PlayerAnimation, SlowMotionSlowsTheClock) {
    PlayerAnimation anim{};
    const Player p = standing(117.0f);
    // 0.24 of 1/60 per frame: the first tick of 0.09 s takes 23 frames.
    EXPECT_EQ(after(anim, p, 22, FRAME * 0.24f), 4);
    EXPECT_EQ(after(anim, p, 1, FRAME * 0.24f), 5);
}

}  // namespace
