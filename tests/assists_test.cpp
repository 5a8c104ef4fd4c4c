// The assists: a slower world in whole fixed steps, lighter blows, and the
// settings rows that choose them.

#include <gtest/gtest.h>

#include <initializer_list>

#include "app/game_menu.h"
#include "app/replay.h"
#include "combat/enemy_update.h"
#include "story/intro.h"
#include "test_game.h"

namespace {

constexpr float DT = 1.0f / 60.0f;
constexpr int64_t FLOOR = 200;

class Assists : public ::testing::Test {
protected:
    GameFixture fx;
    Game& g = fx.game;
    void frame(std::initializer_list<int> pressed = {}, float dt = DT) {
        FrameInput in = idle_input(dt);
        for (int k : pressed) press_key(in, k);
        update_frame(g, in);
    }
    void start_playing() { start_playing_at(g, 3); }
};

// --- Game speed -------------------------------------------------------------------

TEST_F(Assists, HalfSpeedRunsOneWholeStepWhereTheGameRanTwo) {
    start_playing();
    const uint64_t before = g.logic_steps;
    for (int i = 0; i < 10; ++i) frame({}, 1.0f / 30.0f);
    EXPECT_EQ(g.logic_steps - before, 20u) << "as designed: two steps a thirtieth of a second";

    g.game_speed_pct = 50;
    const uint64_t slow = g.logic_steps;
    for (int i = 0; i < 10; ++i) frame({}, 1.0f / 30.0f);
    EXPECT_EQ(g.logic_steps - slow, 10u);
}

TEST_F(Assists, SlowSpeedStacksWithSlowMotionButLeavesTheTypewriterAlone) {
    start_playing();
    g.game_speed_pct = 50;
    g.story_stage = SLOWMO_STAGE;
    frame({}, 0.05f);
    EXPECT_FLOAT_EQ(g.step_accumulator, 0.05f * SLOWMO_TIME_SCALE * 0.5f);

    g.story_stage = 7;
    g.dialogue_line = 2;
    g.dialogue_chars = 0.0f;
    frame({}, 0.05f);
    EXPECT_FLOAT_EQ(g.dialogue_chars, 0.05f * DIALOGUE_CHARS_PER_SECOND) << "lines type in real time";
}

// --- Damage taken -------------------------------------------------------------------

class Blows : public ::testing::Test {
protected:
    WorldPtr world = make_empty_world(4321);
    World& w = *world;
    Player p = make_player(300, FLOOR - PLAYER_H);
    void SetUp() override {
        for (int64_t x = 0; x < WORLD_W; ++x) set_cell(w, x, FLOOR, Material::Stone);
    }
    void add(EnemyKind kind, int64_t x) { add_standing_enemy(w, kind, x, FLOOR); }
    // Hit points the dragon has left after a minute beside `kind`.
    int64_t hp_after_first_blow(EnemyKind kind, int64_t x, int64_t pct) {
        add(kind, x);
        for (int i = 0; i < 600 && p.hp == 100 && p.flash_time <= 0.0f; ++i) update_enemies(w, p, pct);
        return p.hp;
    }
};

TEST_F(Blows, HalfDamageHalvesAKnightsTenAndAnOgresThirty) {
    EXPECT_EQ(hp_after_first_blow(EnemyKind::Knight, 310, 100), 90);
    p = make_player(300, FLOOR - PLAYER_H);
    w.enemy_count = 0;
    EXPECT_EQ(hp_after_first_blow(EnemyKind::Knight, 310, 50), 95);
    p = make_player(300, FLOOR - PLAYER_H);
    w.enemy_count = 0;
    EXPECT_EQ(hp_after_first_blow(EnemyKind::Ogre, 310, 50), 85);
}

TEST_F(Blows, NoDamageMeansNoBlowLandsNoFlashNoBlood) {
    add(EnemyKind::Knight, 310);
    int64_t swings = 0;
    for (int i = 0; i < 600; ++i) swings += update_enemies(w, p, 0).attacks_started;
    EXPECT_GT(swings, 3);
    EXPECT_EQ(p.hp, 100);
    EXPECT_EQ(p.flash_time, 0.0f);
    for (const Cell& c : w.cells) EXPECT_NE(c.material, Material::Blood);
}

// --- The settings rows ---------------------------------------------------------------

TEST_F(Assists, ArrowsChooseARowAndLeftRightChangeItWhileTheVolumeKeepsItsKeys) {
    frame({KEY_S});
    ASSERT_EQ(g.screen, GameScreen::Settings);
    frame({KEY_RIGHT});
    EXPECT_FLOAT_EQ(g.master_volume, 0.8f) << "the volume row is where the screen opens";
    frame({KEY_UP});
    EXPECT_EQ(g.menu_focus, MenuItem::DamageTaken);
    frame({KEY_RIGHT});
    EXPECT_EQ(g.damage_taken_pct, 50);
    frame({KEY_UP});
    frame({KEY_UP});  // stops at the top row
    EXPECT_EQ(g.menu_focus, MenuItem::GameSpeed);
    frame({KEY_LEFT});
    EXPECT_EQ(g.game_speed_pct, 50) << "left from 100 wraps to the slowest";
    EXPECT_FLOAT_EQ(g.master_volume, 0.8f);
    EXPECT_TRUE(assists_on(g));

    FrameInput click = idle_input(DT);
    click.mouse = Vector2{400.0f, static_cast<float>(GAME_SPEED_ROW_Y + 10)};
    click.mouse_pressed[0] = true;
    click.mouse_down[0] = true;
    update_frame(g, click);
    EXPECT_EQ(g.game_speed_pct, 100) << "a click steps the row on";
    frame({KEY_ESCAPE});
    EXPECT_EQ(g.screen, GameScreen::Title);
}

TEST_F(Assists, AGameWithAssistsHashesApartFromOneWithout) {
    start_playing();
    const uint64_t plain = play_state_hash(g);
    g.damage_taken_pct = 50;
    EXPECT_NE(play_state_hash(g), plain);
    g.damage_taken_pct = 100;
    EXPECT_EQ(play_state_hash(g), plain) << "defaults hash as before the assists existed";
}

}  // namespace
