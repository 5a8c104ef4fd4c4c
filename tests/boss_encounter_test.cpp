// The boss encounter: its opening, the lines that lead through the fight,
// the second chance and the ending.

#include <gtest/gtest.h>

#include "story/boss_encounter.h"
#include "story/intro.h"
#include "test_game.h"

namespace {

class BossEncounterTest : public ::testing::Test {
protected:
    GameFixture fx;
    Game& g = fx.game;
    Enemy* boss = nullptr;
    void SetUp() override {
        start_new_game_with_seed(g, 4242);
        g.screen = GameScreen::Playing;
        g.story_stage = 14;
        g.materials_unlocked = true;
        boss = &g.world->enemies[0];
        ASSERT_EQ(enemy_kind(*boss), EnemyKind::Boss);
    }
    void close_line() {
        g.dialogue_chars = static_cast<float>(dialogue_total(g.dialogue_line));
        FrameInput in = idle_input(1.0f / 60.0f);
        press_key(in, KEY_ENTER);
        update_frame(g, in);
    }
    uint32_t cue_count(SfxCue cue) const { return g.sounds.requested[static_cast<size_t>(cue)]; }
};

TEST_F(BossEncounterTest, OpensOnlyWhileTheBossIsWellInsideTheView) {
    g.camera.pos.x = static_cast<float>(boss->x) - 352.0f;  // its left column on the limit
    check_boss_opening(g);
    EXPECT_EQ(g.boss_encounter, BossEncounter::Waiting);
    g.camera.pos.x = static_cast<float>(boss->x) - 351.5f;
    check_boss_opening(g);
    EXPECT_EQ(g.boss_encounter, BossEncounter::Opening);
    EXPECT_EQ(g.dialogue_line, 6);
    EXPECT_EQ(cue_count(SfxCue::Charge), 1u);
}

TEST_F(BossEncounterTest, OpensOnlyWhileTheBossIsEightColumnsInsideTheViewsLeftEdgeToo) {
    // The boss is 20 columns wide: with the view's left edge 12 columns into
    // it, its right column is exactly 8 inside the view, not more.
    g.camera.pos.x = static_cast<float>(boss->x) + 12.0f;
    check_boss_opening(g);
    EXPECT_EQ(g.boss_encounter, BossEncounter::Waiting);
    g.camera.pos.x = static_cast<float>(boss->x) + 11.5f;
    check_boss_opening(g);
    EXPECT_EQ(g.boss_encounter, BossEncounter::Opening);
}

TEST_F(BossEncounterTest, NothingOpensBeforeTheLastStage) {
    g.story_stage = 13;
    g.camera.pos.x = static_cast<float>(boss->x) - 100.0f;
    check_boss_opening(g);
    EXPECT_EQ(g.boss_encounter, BossEncounter::Waiting);
}

TEST_F(BossEncounterTest, WithoutALivingBossTheGameStillReachesItsEnd) {
    boss->alive = false;
    check_boss_opening(g);
    EXPECT_EQ(g.boss_encounter, BossEncounter::Won);
    EXPECT_EQ(g.dialogue_line, 9);
}

TEST_F(BossEncounterTest, TheLinesLeadThroughTheFightTheSecondChanceAndTheEnding) {
    g.camera.pos.x = static_cast<float>(boss->x) - 200.0f;
    check_boss_opening(g);
    close_line();
    EXPECT_EQ(g.dialogue_line, 7);
    EXPECT_TRUE(g.world->boss_frozen);
    close_line();
    EXPECT_EQ(g.dialogue_line, 0);
    EXPECT_EQ(g.boss_encounter, BossEncounter::Fighting);
    EXPECT_FALSE(g.world->boss_frozen) << "the boss wakes";

    g.player.hp = 0;  // the first fall in the fight
    FrameInput in = idle_input(1.0f / 60.0f);
    update_frame(g, in);
    EXPECT_EQ(g.boss_encounter, BossEncounter::Defiance);
    EXPECT_EQ(g.dialogue_line, 8);
    EXPECT_EQ(g.screen, GameScreen::Playing);
    close_line();
    EXPECT_EQ(g.boss_encounter, BossEncounter::Empowered);
    EXPECT_TRUE(g.player.empowered);
    EXPECT_EQ(g.player.hp, 100);

    boss->alive = false;
    update_frame(g, in);
    EXPECT_EQ(g.boss_encounter, BossEncounter::Won);
    EXPECT_EQ(g.dialogue_line, 9);
    close_line();
    EXPECT_EQ(g.screen, GameScreen::Ending) << "the key that closes the farewell stays on the ending";
    for (int i = 0; i < 30; ++i) {
        FrameInput idle = idle_input(1.0f / 60.0f);
        update_frame(g, idle);
    }
    EXPECT_EQ(g.screen, GameScreen::Ending);
    FrameInput key = idle_input(1.0f / 60.0f);
    press_key(key, KEY_SPACE);
    update_frame(g, key);
    EXPECT_EQ(g.screen, GameScreen::Title);
}

}  // namespace
