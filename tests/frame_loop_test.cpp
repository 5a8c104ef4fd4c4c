// The frame loop: letterbox, fixed steps, screens and allocation-free play.

#include <gtest/gtest.h>

#include <cmath>

#include "alloc_counter.h"
#include "app/game_menu.h"
#include "test_game.h"

namespace {

TEST(Letterbox, DoubleSizeWindowHasNoBars) {
    const Letterbox lb = compute_letterbox(2160, 1218);
    EXPECT_FLOAT_EQ(lb.scale, 2.0f);
    EXPECT_FLOAT_EQ(lb.offset_x, 0.0f);
    EXPECT_FLOAT_EQ(lb.offset_y, 0.0f);
    EXPECT_FLOAT_EQ(lb.width, 2160.0f);
    EXPECT_FLOAT_EQ(lb.height, 1218.0f);
}

TEST(Letterbox, WideWindowGetsCentredSideBars) {
    const Letterbox lb = compute_letterbox(1920, 609);
    EXPECT_FLOAT_EQ(lb.scale, 1.0f);
    EXPECT_FLOAT_EQ(lb.offset_x, 420.0f);
    EXPECT_FLOAT_EQ(lb.offset_y, 0.0f);
}

TEST(Letterbox, MinimisedWindowCountsAsOnePixel) {
    const Letterbox lb = compute_letterbox(0, 0);
    EXPECT_GT(lb.scale, 0.0f);
    EXPECT_TRUE(std::isfinite(lb.scale));
    EXPECT_FLOAT_EQ(lb.scale, 1.0f / 1080.0f);
    const Letterbox tall = compute_letterbox(1080, 0);
    EXPECT_FLOAT_EQ(tall.scale, 1.0f / 609.0f);
}

TEST(Letterbox, MouseMapsToVirtualPixelsAndViewBounds) {
    const Letterbox lb = compute_letterbox(1920, 609);
    EXPECT_EQ(to_virtual(lb, Vector2{420.0f, 10.0f}).x, 0);
    EXPECT_EQ(to_virtual(lb, Vector2{1499.5f, 10.0f}).x, 1079);
    // Left of the view the truncation goes toward zero.
    EXPECT_EQ(to_virtual(lb, Vector2{419.5f, 10.0f}).x, 0);
    EXPECT_EQ(to_virtual(lb, Vector2{400.0f, 10.0f}).x, -20);
    EXPECT_TRUE(mouse_in_view(lb, Vector2{420.0f, 0.0f}));
    EXPECT_FALSE(mouse_in_view(lb, Vector2{1500.0f, 0.0f}));
    EXPECT_FALSE(mouse_in_view(lb, Vector2{419.9f, 0.0f}));
}

class FrameLoop : public ::testing::Test {
protected:
    GameFixture fx;
    Game& g = fx.game;
    void start(uint32_t seed = 777) {
        start_new_game_with_seed(g, seed);
        g.screen = GameScreen::Playing;
    }
    void frame(float dt) {
        FrameInput in = idle_input(dt);
        update_frame(g, in);
    }
};

TEST_F(FrameLoop, LongFrameAddsOnlyTheClampAndCarriesTheRest) {
    start();
    frame(0.5f);
    EXPECT_FLOAT_EQ(g.frame_time, 0.05f);
    EXPECT_EQ(g.logic_steps, 2u);
    EXPECT_FLOAT_EQ(g.step_accumulator, 0.05f - 2.0f * FIXED_STEP);
    EXPECT_GT(g.step_accumulator, 0.0f);
    EXPECT_LT(g.step_accumulator, FIXED_STEP);
    frame(1.0f / 60.0f);
    EXPECT_EQ(g.logic_steps, 3u);
}

TEST_F(FrameLoop, SlowMotionStageScalesLogicTime) {
    start();
    g.story_stage = SLOWMO_STAGE;
    int steps_in_16_frames = 0;
    for (int i = 0; i < 16; ++i) {
        const uint64_t before = g.logic_steps;
        frame(1.0f / 60.0f);
        if (i == 0) {
            EXPECT_FLOAT_EQ(g.step_accumulator, (1.0f / 60.0f) * 0.24f);
        }
        steps_in_16_frames += static_cast<int>(g.logic_steps - before);
    }
    EXPECT_GE(steps_in_16_frames, 3);
    EXPECT_LE(steps_in_16_frames, 4);
}

TEST_F(FrameLoop, OpenDialogueOrGameOverRunsNoSteps) {
    start();
    g.dialogue_line = 3;
    frame(0.05f);
    EXPECT_EQ(g.logic_steps, 0u);
    EXPECT_EQ(g.step_accumulator, 0.0f);
    g.dialogue_line = 0;
    g.game_over = true;
    frame(0.05f);
    EXPECT_EQ(g.logic_steps, 0u);
}

TEST_F(FrameLoop, FrameThatStartsAGameAlreadyRunsSteps) {
    FrameInput in = idle_input(0.05f);
    press_key(in, KEY_ENTER);
    update_frame(g, in);
    EXPECT_EQ(g.screen, GameScreen::Playing);
    EXPECT_EQ(g.logic_steps, 2u);
}

TEST_F(FrameLoop, EscapeOnTheTitleStaysOnTheTitle) {
    FrameInput in = idle_input(0.016f);
    press_key(in, KEY_ESCAPE);
    update_frame(g, in);
    EXPECT_EQ(g.screen, GameScreen::Title);
}

TEST_F(FrameLoop, GameOverAndEndingLeaveOnAnyKeyOrClickButNotTheWheel) {
    start();
    g.screen = GameScreen::GameOver;
    g.game_over = true;
    g.screen_time = SCREEN_LEAVE_DELAY;  // seen long enough to be left
    FrameInput wheel = idle_input(0.016f);
    wheel.wheel = 1.0f;
    update_frame(g, wheel);
    EXPECT_EQ(g.screen, GameScreen::GameOver);

    FrameInput key = idle_input(0.016f);
    press_key(key, KEY_F11);
    update_frame(g, key);
    EXPECT_EQ(g.screen, GameScreen::Title);

    g.screen = GameScreen::Ending;
    g.screen_time = SCREEN_LEAVE_DELAY;
    FrameInput click = idle_input(0.016f, 1920, 609);
    click.mouse = Vector2{5.0f, 5.0f};  // in the letterbox bar
    click.mouse_pressed[1] = true;
    update_frame(g, click);
    EXPECT_EQ(g.screen, GameScreen::Title);
}

TEST_F(FrameLoop, NewGameClearsTheWorldAndPlacesTheDragonOnTheSurface) {
    start(99);
    g.world->tick = 500;
    g.world->explosion_count = 9;
    start_new_game_with_seed(g, 99);
    EXPECT_EQ(g.world->tick, 0u);
    EXPECT_EQ(g.world->explosion_count, 0);
    EXPECT_EQ(g.player.x, 154);
    EXPECT_EQ(g.player.y, g.level->surface[153] - 20);
    EXPECT_EQ(g.player.hp, 100);
    EXPECT_TRUE(g.world->boss_frozen);
    EXPECT_EQ(g.camera.pos.x, 0.0f);
    EXPECT_EQ(g.camera.pos.y, 80.0f);
}

TEST_F(FrameLoop, PlayingFramesDoNotAllocate) {
    start(4242);
    frame(1.0f / 60.0f);  // warm up
    const uint64_t before = heap_allocations();
    for (int i = 0; i < 120; ++i) frame(1.0f / 60.0f);
    EXPECT_EQ(heap_allocations(), before);
    EXPECT_GE(g.logic_steps, 100u);
}

}  // namespace
