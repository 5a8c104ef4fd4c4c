// What a player meets around the play: the pause, screens that cannot be
// skipped by a press already on its way, the title's Quit, settings kept in
// their file, and input that one reader used not reaching a second.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <string>

#include <unistd.h>

#include "app/game_menu.h"
#include "render/play_frame.h"
#include "story/boss_encounter.h"
#include "story/intro.h"
#include "test_game.h"

namespace {

constexpr float DT = 1.0f / 60.0f;

class Screens : public ::testing::Test {
protected:
    GameFixture fx;
    Game& g = fx.game;

    void start_playing(int64_t stage = 3) { start_playing_at(g, stage); }
    void frame(std::initializer_list<int> pressed = {}, float dt = DT) {
        FrameInput in = idle_input(dt);
        for (int k : pressed) press_key(in, k);
        update_frame(g, in);
    }
    void click(int x, int y, bool hold = true) {
        FrameInput in = idle_input(DT);
        in.mouse = Vector2{static_cast<float>(x), static_cast<float>(y)};
        in.mouse_pressed[0] = true;
        in.mouse_down[0] = hold;
        update_frame(g, in);
    }
    void die() {
        g.player.hp = 0;
        g.player.flash_time = 0.0f;
        frame();
        ASSERT_EQ(g.screen, GameScreen::GameOver);
    }
    uint32_t cue_count(SfxCue cue) const { return g.sounds.requested[static_cast<size_t>(cue)]; }
};

// --- Game over and the ending wait to be seen ------------------------------------

TEST_F(Screens, GameOverTakesNoPressForHalfASecondThenAnyPressLeaves) {
    start_playing();
    die();
    // Mashing through the first half second: 29 frames of 1/60 s.
    for (int i = 0; i < 29; ++i) frame({KEY_SPACE});
    EXPECT_EQ(g.screen, GameScreen::GameOver) << "a press on its way must not skip the screen";
    EXPECT_LT(g.screen_time, SCREEN_LEAVE_DELAY);
    frame();
    frame();
    ASSERT_GE(g.screen_time, SCREEN_LEAVE_DELAY);
    EXPECT_LT(g.screen_time, SCREEN_HINT_DELAY) << "the hint waits longer than the leave";
    const uint32_t backs = cue_count(SfxCue::UiBack);
    frame({KEY_SPACE});
    EXPECT_EQ(g.screen, GameScreen::Title);
    EXPECT_EQ(cue_count(SfxCue::UiBack), backs + 1);
}

TEST_F(Screens, TheEndingWaitsTooAndItsClockStartsWhenItAppears) {
    start_playing(14);
    g.dialogue_line = 9;
    g.boss_encounter = BossEncounter::Won;
    g.dialogue_chars = static_cast<float>(dialogue_total(9));
    g.screen_time = 30.0f;  // long into the play
    frame({KEY_ENTER});     // closes the farewell
    ASSERT_EQ(g.screen, GameScreen::Ending);
    EXPECT_EQ(g.screen_time, 0.0f);
    frame({KEY_ENTER}, 0.05f);
    frame({KEY_ENTER}, 0.05f);
    EXPECT_EQ(g.screen, GameScreen::Ending) << "typing through line 9 does not skip the picture";
    for (int i = 0; i < 8; ++i) frame({}, 0.05f);
    FrameInput right_click = idle_input(DT);
    right_click.mouse_pressed[1] = true;
    update_frame(g, right_click);
    EXPECT_EQ(g.screen, GameScreen::Title);
}

TEST_F(Screens, TheWheelAndNumberKeysDoNotMoveSlotsOnTheGameOverScreen) {
    start_playing(5);
    g.inventory.slots[1] = InventorySlot{Material::Sand, 10};
    die();
    const uint32_t moves = cue_count(SfxCue::UiMove);
    FrameInput in = idle_input(DT);
    in.wheel = -1.0f;
    press_key(in, KEY_TWO);
    update_frame(g, in);
    EXPECT_EQ(g.inventory.selected, 0);
    EXPECT_EQ(cue_count(SfxCue::UiMove), moves);
}

// --- Story openings, the held stride, the winning frame ----------------------------

TEST_F(Screens, NoLineOpensUnderGameOverEvenWhenTheBossComesIntoView) {
    start_playing(14);
    die();
    const Enemy& boss = g.world->enemies[0];
    ASSERT_EQ(enemy_kind(boss), EnemyKind::Boss);
    g.camera.pos.x = static_cast<float>(boss.x) - 200.0f;  // the boss well inside the view
    const uint32_t charges = cue_count(SfxCue::Charge);
    frame();
    EXPECT_EQ(g.boss_encounter, BossEncounter::Waiting);
    EXPECT_EQ(g.dialogue_line, 0);
    EXPECT_EQ(cue_count(SfxCue::Charge), charges);
}

TEST_F(Screens, TheDragonHoldsItsStrideWhileALineIsOpenOrTheGameIsOver) {
    start_playing();
    for (int i = 0; i < 30; ++i) {
        FrameInput in = idle_input(DT);
        in.key_down[KEY_D] = true;
        update_frame(g, in);
    }
    ASSERT_EQ(g.player_animation.player_anim, Animation::Walk);
    g.dialogue_line = 3;
    const PlayerAnimation held = g.player_animation;
    for (int i = 0; i < 20; ++i) frame();
    EXPECT_EQ(g.player_animation.anim_frame, held.anim_frame);
    EXPECT_EQ(g.player_animation.anim_time, held.anim_time);

    g.dialogue_line = 0;
    die();
    const PlayerAnimation at_death = g.player_animation;
    for (int i = 0; i < 20; ++i) frame();
    EXPECT_EQ(g.player_animation.anim_time, at_death.anim_time);
}

TEST_F(Screens, TheWinningFrameDrawsTheDragonWhereTheStepLeftIt) {
    start_playing(14);
    g.boss_encounter = BossEncounter::Fighting;
    g.world->boss_frozen = false;
    g.world->enemies[0].alive = false;
    frame({}, 0.05f);  // three steps' worth of time, the first one wins
    ASSERT_EQ(g.dialogue_line, 9);
    EXPECT_EQ(g.step_accumulator, 0.0f);
    const Vector2 drawn = drawn_player_position(g);
    EXPECT_EQ(drawn.x, static_cast<float>(g.player_prev_x));
    EXPECT_EQ(drawn.y, static_cast<float>(g.player_prev_y));
}

// --- The pause -----------------------------------------------------------------------

TEST_F(Screens, EscapeOrPPausesAndNothingStepsOrSoundsUntilResumed) {
    start_playing();
    for (int key : {KEY_ESCAPE, KEY_P}) {
        frame({key});
        ASSERT_TRUE(g.paused);
        const uint64_t steps = g.logic_steps;
        const int64_t x = g.player.x;
        for (int i = 0; i < 30; ++i) {
            FrameInput in = idle_input(0.05f);
            in.key_down[KEY_D] = true;
            update_frame(g, in);
        }
        EXPECT_EQ(g.logic_steps, steps);
        EXPECT_EQ(g.player.x, x);
        EXPECT_EQ(g.screen, GameScreen::Playing);
        frame({key});
        EXPECT_FALSE(g.paused);
        frame();
        EXPECT_GT(g.logic_steps, steps) << "play goes on after the pause";
    }
}

TEST_F(Screens, ThePauseNeverOpensOverALineOrTheGameOverScreen) {
    start_playing();
    g.dialogue_line = 1;
    frame({KEY_ESCAPE});
    EXPECT_FALSE(g.paused);
    g.dialogue_line = 0;
    die();
    frame({KEY_P});
    EXPECT_FALSE(g.paused);
}

TEST_F(Screens, TheClickOnResumeAndAJumpHeldIntoThePauseDoNotFireAfterIt) {
    start_playing(5);
    FrameInput jump = idle_input(DT);
    press_key(jump, KEY_ESCAPE);
    press_key(jump, KEY_SPACE);
    update_frame(g, jump);
    ASSERT_TRUE(g.paused);
    EXPECT_FALSE(g.player_input.jump_request);
    click(540, PLAY_BUTTON_Y + 30);  // Resume, and the button stays down
    ASSERT_FALSE(g.paused);
    for (int i = 0; i < 10; ++i) {
        FrameInput held = idle_input(DT);
        held.mouse = Vector2{900, 300};
        held.mouse_down[0] = true;
        update_frame(g, held);
        EXPECT_FALSE(g.spit_held) << "frame " << i;
    }
    EXPECT_EQ(cue_count(SfxCue::FireBreath), 0u);
    frame();  // let go
    FrameInput again = idle_input(DT);
    again.mouse = Vector2{900, 300};
    again.mouse_down[0] = true;
    update_frame(g, again);
    EXPECT_TRUE(g.spit_held) << "a fresh press spits again";
}

TEST_F(Screens, SettingsFromThePauseGoBackToThePauseAndQuitLeavesForTheTitle) {
    start_playing();
    frame({KEY_ESCAPE});
    click(540, SETTINGS_BUTTON_Y + 30, false);
    ASSERT_EQ(g.screen, GameScreen::Settings);
    frame({KEY_RIGHT});
    frame({KEY_ESCAPE});
    EXPECT_EQ(g.screen, GameScreen::Playing);
    EXPECT_TRUE(g.paused) << "Back returns to the pause, not into play";
    EXPECT_FLOAT_EQ(g.master_volume, 0.8f);

    const int64_t stage = g.story_stage;
    click(540, THIRD_BUTTON_Y + 30, false);
    EXPECT_EQ(g.screen, GameScreen::Title);
    EXPECT_FALSE(g.paused);
    EXPECT_EQ(g.story_stage, stage) << "the game is not cleared";
    frame({KEY_S});
    frame({KEY_ESCAPE});
    EXPECT_EQ(g.screen, GameScreen::Title) << "settings opened from the title lead back to it";
}

// --- The title's Quit ----------------------------------------------------------------

TEST_F(Screens, QOrTheThirdButtonQuitsFromTheTitleOnly) {
    click(540, THIRD_BUTTON_Y - 10, false);  // between the buttons
    EXPECT_FALSE(g.quit_requested);
    click(540, THIRD_BUTTON_Y + 61, false);
    EXPECT_TRUE(g.quit_requested);
    g.quit_requested = false;
    frame({KEY_Q});
    EXPECT_TRUE(g.quit_requested);

    GameFixture other;
    start_new_game_with_seed(other.game, 1);
    other.game.screen = GameScreen::Playing;
    FrameInput q = idle_input(DT);
    press_key(q, KEY_Q);
    update_frame(other.game, q);
    EXPECT_FALSE(other.game.quit_requested) << "Q is no quit in play";
}

// --- Input one reader took ---------------------------------------------------------

TEST_F(Screens, TheClickThatClosesALineDoesNotAlsoPaint) {
    start_playing();
    for (int k : {KEY_K, KEY_I, KEY_L, KEY_N, KEY_S}) frame({k});
    ASSERT_TRUE(g.sandbox.panel_open);
    g.sandbox.sandbox_material = Material::Stone;
    g.dialogue_line = 1;
    g.story_stage = 2;
    g.dialogue_chars = static_cast<float>(dialogue_total(1));
    int64_t stone = 0;
    for (const Cell& c : g.world->cells) stone += c.material == Material::Stone;
    click(700, 300, false);
    ASSERT_EQ(g.dialogue_line, 0) << "the click closed the line";
    int64_t after = 0;
    for (const Cell& c : g.world->cells) after += c.material == Material::Stone;
    EXPECT_EQ(after, stone);
    click(700, 300, false);
    after = 0;
    for (const Cell& c : g.world->cells) after += c.material == Material::Stone;
    EXPECT_GT(after, stone) << "the next click paints";
}

// --- Settings kept between runs ---------------------------------------------------------

TEST_F(Screens, LeavingTheSettingsWritesTheFileOnlyWhenSomethingChanged) {
    char dir_template[] = "/tmp/cindervale-game-settings-XXXXXX";
    ASSERT_NE(mkdtemp(dir_template), nullptr);
    const std::string path = std::string(dir_template) + "/cindervale/settings.ini";
    std::snprintf(g.settings_path, sizeof g.settings_path, "%s", path.c_str());

    frame({KEY_S});
    frame({KEY_ESCAPE});
    EXPECT_NE(access(path.c_str(), F_OK), 0) << "nothing changed, nothing written";

    frame({KEY_S});
    frame({KEY_LEFT});
    frame({KEY_ESCAPE});
    const SettingsLoad saved = read_settings_file(path.c_str());
    ASSERT_EQ(saved.status, SettingsStatus::Loaded);
    EXPECT_FLOAT_EQ(saved.settings.volume, 0.7f);
    EXPECT_FALSE(saved.settings.fullscreen);
    std::system(("rm -rf '" + std::string(dir_template) + "'").c_str());
}

TEST_F(Screens, AFailedSaveLeavesTheGamePlayingWithWhatItHolds) {
    std::snprintf(g.settings_path, sizeof g.settings_path, "/proc/no-such-folder/cindervale/settings.ini");
    frame({KEY_S});
    frame({KEY_RIGHT});
    frame({KEY_ESCAPE});
    EXPECT_EQ(g.screen, GameScreen::Title);
    EXPECT_FLOAT_EQ(g.master_volume, 0.8f);
}

}  // namespace
