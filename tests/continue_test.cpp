// Continue from the last checkpoint: when checkpoints are kept, when the
// title offers them, and that a continued game is the same game.

#include <gtest/gtest.h>

#include <vector>

#include "../tools/common/game_bot.h"
#include "alloc_counter.h"
#include "app/game_menu.h"
#include "app/replay.h"
#include "test_game.h"

namespace {

constexpr float DT = 1.0f / 60.0f;

void frame(Game& g, std::initializer_list<int> pressed = {}) {
    FrameInput in = idle_input(DT);
    for (int k : pressed) press_key(in, k);
    update_frame(g, in);
}

void lose(Game& g) {
    g.player.hp = 0;
    frame(g);
    ASSERT_EQ(g.screen, GameScreen::GameOver);
    for (int i = 0; i < 40; ++i) frame(g);
    frame(g, {KEY_ENTER});
    ASSERT_EQ(g.screen, GameScreen::Title);
}

TEST(Checkpoint, KeptWhenTheCaveOpensAndWhenTheBossTalksNeverBefore) {
    GameFixture fx;
    Game& g = fx.game;
    start_playing_at(g, 13);
    frame(g);
    EXPECT_FALSE(checkpoint_saved(g));
    g.player.x = 1101;  // past the cave's end: the last stage begins this frame
    frame(g);
    ASSERT_EQ(g.story_stage, LAST_STORY_STAGE);
    ASSERT_TRUE(checkpoint_saved(g));
    EXPECT_FALSE(continue_offered(g)) << "only after a game over";

    const Enemy& boss = g.world->enemies[0];
    g.damage_taken_pct = 0;  // the boss's guards must not end the walk there
    g.player.x = boss.x - 100;
    g.player.y = g.level->surface[static_cast<size_t>(g.player.x + 7)] - PLAYER_H - 4;
    g.camera.pan_active = false;
    g.camera.pos.x = static_cast<float>(boss.x) - 200.0f;
    for (int i = 0; i < 600 && g.boss_encounter == BossEncounter::Waiting; ++i) frame(g);
    ASSERT_EQ(g.boss_encounter, BossEncounter::Opening);
    g.dialogue_line = 0;  // as if the lines were read: the checkpoint holds the opening
    lose(g);
    ASSERT_TRUE(continue_offered(g));
    frame(g, {KEY_C});
    EXPECT_EQ(g.screen, GameScreen::Playing);
    EXPECT_EQ(g.boss_encounter, BossEncounter::Opening);
    EXPECT_EQ(g.dialogue_line, 6) << "the boss asks its question again";
    EXPECT_FALSE(g.game_over);
    EXPECT_EQ(g.player.hp, 100);

    start_new_game_with_seed(g, 1);
    EXPECT_FALSE(checkpoint_saved(g)) << "a new game clears it";
}

TEST(Checkpoint, TheTitleOffersContinueOnlyAfterAGameOver) {
    GameFixture fx;
    Game& g = fx.game;
    start_playing_at(g, 13);
    g.player.x = 1101;
    frame(g);
    ASSERT_TRUE(checkpoint_saved(g));
    frame(g, {KEY_ESCAPE});
    frame(g, {KEY_Q});  // quit to the title from the pause
    ASSERT_EQ(g.screen, GameScreen::Title);
    frame(g, {KEY_C});
    EXPECT_EQ(g.screen, GameScreen::Title) << "no game over, no Continue";

    start_playing_at(g, 13);
    g.player.x = 1101;
    frame(g);
    lose(g);
    FrameInput click = idle_input(DT);
    click.mouse = Vector2{static_cast<float>(CONTINUE_BUTTON_X + 150), static_cast<float>(PLAY_BUTTON_Y + 30)};
    click.mouse_pressed[0] = true;
    click.mouse_down[0] = true;
    update_frame(g, click);
    EXPECT_EQ(g.screen, GameScreen::Playing) << "the button beside Play continues";
    EXPECT_EQ(g.story_stage, LAST_STORY_STAGE);
}

// The bot plays to the first checkpoint; its next ten seconds are recorded,
// then the game is lost, continued and fed the same input again.
TEST(Checkpoint, AContinuedGameReplaysToTheSameHashEveryFrameAndAllocatesNothing) {
    GameFixture fx;
    Game& g = fx.game;
    SetRandomSeed(20261208u);
    game_bot::Bot bot{g};
    int n = 0;
    for (; n < 60 * 60 * 4 && !checkpoint_saved(g); ++n) {
        FrameInput in = game_bot::to_input(bot.decide());
        update_frame(g, in);
    }
    ASSERT_TRUE(checkpoint_saved(g));
    std::vector<FrameInput> inputs;
    std::vector<uint64_t> hashes;
    for (int i = 0; i < 600; ++i) {
        inputs.push_back(game_bot::to_input(bot.decide()));
        update_frame(g, inputs.back());
        hashes.push_back(play_state_hash(g));
    }
    ASSERT_EQ(g.story_stage, LAST_STORY_STAGE);
    ASSERT_EQ(g.boss_encounter, BossEncounter::Waiting) << "no later checkpoint in the recorded stretch";

    g.game_over = true;
    g.screen = GameScreen::GameOver;
    g.screen_time = 1.0f;
    frame(g, {KEY_ENTER});
    ASSERT_TRUE(continue_offered(g));
    const uint64_t before = heap_allocations();
    frame(g, {KEY_C});
    for (size_t i = 0; i < inputs.size(); ++i) {
        FrameInput in = inputs[i];
        update_frame(g, in);
        ASSERT_EQ(play_state_hash(g), hashes[i]) << "first difference " << i << " frames after the checkpoint";
    }
    EXPECT_EQ(heap_allocations() - before, 0u);
}

}  // namespace
