// The gamepad, through the input record only: what each control becomes, the
// stick-driven cursor, and a game fought with nothing but a pad.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/game_menu.h"
#include "story/intro.h"
#include "test_game.h"

namespace {

constexpr float DT = 1.0f / 60.0f;

FrameInput pad_frame() {
    FrameInput in = idle_input(DT);
    in.pad.connected = true;
    return in;
}

void tap(FrameInput& in, int button) {
    in.pad.down[static_cast<size_t>(button)] = true;
    in.pad.pressed[static_cast<size_t>(button)] = true;
}

TEST(GamepadMapping, WithoutAPadTheRecordIsUntouched) {
    FrameInput in = idle_input(DT);
    in.mouse = Vector2{12.5f, 40.0f};
    in.pad.right_x = 1.0f;  // stray values of a pad that is not there
    in.pad.pressed[GAMEPAD_BUTTON_RIGHT_FACE_DOWN] = true;
    for (PadContext context : {PadContext::Play, PadContext::Menu}) {
        FrameInput out = in;
        apply_gamepad(out, context);
        EXPECT_EQ(std::memcmp(&out, &in, sizeof in), 0);
    }
}

TEST(GamepadMapping, InPlayTheControlsBecomeTheKeysAndButtonsThePlayerUses) {
    FrameInput in = pad_frame();
    in.pad.left_x = -0.8f;
    tap(in, GAMEPAD_BUTTON_RIGHT_FACE_DOWN);   // A
    tap(in, GAMEPAD_BUTTON_RIGHT_FACE_LEFT);   // X
    tap(in, GAMEPAD_BUTTON_RIGHT_TRIGGER_2);   // RT
    tap(in, GAMEPAD_BUTTON_RIGHT_TRIGGER_1);   // RB
    tap(in, GAMEPAD_BUTTON_MIDDLE_RIGHT);      // Start
    apply_gamepad(in, PadContext::Play);
    EXPECT_TRUE(key_down(in, KEY_A));
    EXPECT_FALSE(key_down(in, KEY_D));
    EXPECT_TRUE(key_pressed(in, KEY_SPACE)) << "A jumps";
    EXPECT_TRUE(key_pressed(in, KEY_E)) << "X eats";
    EXPECT_TRUE(in.mouse_down[0] && in.mouse_pressed[0]) << "the right trigger spits";
    EXPECT_EQ(in.wheel, -1.0f) << "the right bumper is the next slot";
    EXPECT_TRUE(key_pressed(in, KEY_ESCAPE)) << "Start pauses";
    EXPECT_EQ(in.key_queue_count, 3) << "each press is queued like a key, so lines advance";

    FrameInput small = pad_frame();
    small.pad.left_x = 0.3f;  // a resting thumb does not walk
    small.pad.down[GAMEPAD_BUTTON_LEFT_FACE_RIGHT] = true;
    small.pad.pressed[GAMEPAD_BUTTON_LEFT_TRIGGER_1] = true;
    apply_gamepad(small, PadContext::Play);
    EXPECT_TRUE(key_down(small, KEY_D)) << "the d-pad walks too";
    EXPECT_EQ(small.wheel, 1.0f);
}

TEST(GamepadMapping, OnMenusTheDpadMovesTheFocusAConfirmsAndBGoesBack) {
    FrameInput in = pad_frame();
    tap(in, GAMEPAD_BUTTON_LEFT_FACE_DOWN);
    tap(in, GAMEPAD_BUTTON_RIGHT_FACE_DOWN);
    tap(in, GAMEPAD_BUTTON_RIGHT_FACE_RIGHT);
    apply_gamepad(in, PadContext::Menu);
    EXPECT_TRUE(key_pressed(in, KEY_DOWN));
    EXPECT_TRUE(key_pressed(in, PAD_CONFIRM_KEY));
    EXPECT_FALSE(key_pressed(in, KEY_SPACE)) << "A on the title is not the start key";
    EXPECT_TRUE(key_pressed(in, KEY_ESCAPE));
}

TEST(GamepadMapping, TheRightStickCrossesThePictureInASecondAtAnyWindowSize) {
    for (int scale : {1, 2}) {
        FrameInput in = pad_frame();
        in.screen_width = 1080 * scale;
        in.screen_height = 609 * scale;
        in.mouse = Vector2{100.0f, 100.0f};
        in.pad.right_x = 1.0f;
        in.pad.right_y = -0.1f;  // inside the dead zone
        apply_gamepad(in, PadContext::Play);
        EXPECT_FLOAT_EQ(in.mouse.x, 100.0f + 18.0f * static_cast<float>(scale));
        EXPECT_FLOAT_EQ(in.mouse.y, 100.0f);
        EXPECT_TRUE(in.pad_moved_cursor);
    }
    FrameInput edge = pad_frame();
    edge.mouse = Vector2{1075.0f, 2.0f};
    edge.pad.right_x = 1.0f;
    edge.pad.right_y = -1.0f;
    apply_gamepad(edge, PadContext::Play);
    EXPECT_EQ(edge.mouse.x, 1079.0f) << "the cursor stays in the window";
    EXPECT_EQ(edge.mouse.y, 0.0f);
}

// A whole stretch of the intro with a pad alone: walk to the knight, read
// its lines with A, strike in slow motion and burn it down with the trigger,
// steering the cursor with the right stick.
class PadGame : public ::testing::Test {
protected:
    GameFixture fx;
    Game& g = fx.game;
    Vector2 cursor{540.0f, 300.0f};  // where the window's pointer was left

    void frame(const FrameInput& pad) {
        FrameInput in = pad;
        in.mouse = cursor;
        update_frame(g, in);
        cursor = in.mouse;
    }
    // Steers the cursor toward a world cell at full stick speed.
    void aim_at(FrameInput& in, float cx, float cy) const {
        const float tx = (cx - g.camera.pos.x) * 3.0f;
        const float ty = (cy - g.camera.pos.y) * 3.0f;
        in.pad.right_x = std::clamp((tx - cursor.x) / 18.0f, -1.0f, 1.0f);
        in.pad.right_y = std::clamp((ty - cursor.y) / 18.0f, -1.0f, 1.0f);
        if (std::fabs(in.pad.right_x) < PAD_STICK_DEADZONE) in.pad.right_x = 0.0f;
        if (std::fabs(in.pad.right_y) < PAD_STICK_DEADZONE) in.pad.right_y = 0.0f;
    }
};

TEST_F(PadGame, AGamepadAloneReachesTheKnightAndKillsIt) {
    start_playing_at(g, 5);
    g.player.x = 540;
    g.player.y = g.level->surface[547] - PLAYER_H - 2;
    g.player_prev_x = g.player.x;
    g.player_prev_y = g.player.y;
    g.camera.pos.x = 390.0f;

    for (int i = 0; i < 900 && g.dialogue_line == 0; ++i) {
        FrameInput in = pad_frame();
        in.pad.left_x = 1.0f;
        frame(in);
    }
    ASSERT_EQ(g.dialogue_line, 2) << "walked into the knight's view";
    for (int i = 0; i < 2000 && g.story_stage != SLOWMO_STAGE; ++i) {
        FrameInput in = pad_frame();
        if (i % 20 == 0) tap(in, GAMEPAD_BUTTON_RIGHT_FACE_DOWN);
        frame(in);
    }
    ASSERT_EQ(g.story_stage, SLOWMO_STAGE) << "A read all four lines";

    const Enemy& knight = g.world->enemies[static_cast<size_t>(g.knight_index)];
    bool held = false;
    for (int i = 0; i < 3600 && knight.alive && !g.game_over; ++i) {
        FrameInput in = pad_frame();
        aim_at(in, static_cast<float>(knight.x + 4), static_cast<float>(knight.y + 5));
        const bool on_target = in.pad.right_x == 0.0f && in.pad.right_y == 0.0f;
        if (on_target) {
            in.pad.down[GAMEPAD_BUTTON_RIGHT_TRIGGER_2] = true;
            in.pad.pressed[GAMEPAD_BUTTON_RIGHT_TRIGGER_2] = !held;
        }
        held = on_target;
        frame(in);
    }
    EXPECT_GE(g.story_stage, 12) << "the trigger struck the slow-motion blow";
    EXPECT_FALSE(knight.alive);
    EXPECT_FALSE(g.game_over);
}

}  // namespace
