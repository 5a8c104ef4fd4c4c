// Random input cannot break the game: seeded games played by random keys,
// clicks, wheel, frame times and window sizes keep every rule every frame,
// and the checks themselves catch each kind of fault they look for.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "soak.h"
#include "test_game.h"

namespace {

struct SoakTotals {
    int64_t frames = 0;
    int64_t playing_frames = 0;
    int64_t games_started = 0;
    int64_t returns_to_title = 0;
    int64_t deepest_stage = 0;
};

void soak(uint64_t seed, int64_t frames, PlayWatch& watch, SoakTotals& totals) {
    GameFixture fx;
    Game& g = fx.game;
    SetRandomSeed(static_cast<unsigned int>(seed));
    RandomInput src = make_random_input(seed);
    reset_play_watch(watch);
    for (int64_t f = 0; f < frames; ++f) {
        FrameInput in = next_random_input(src, g);
        const FrameInput as_read = in;
        const GameScreen before = g.screen;
        update_frame(g, in);
        const PlayCheck check = check_play_frame(g, as_read, before, watch);
        ASSERT_TRUE(check.ok) << "seed " << seed << " frame " << f << ": " << check.what;
        ++totals.frames;
        if (g.screen == GameScreen::Playing) ++totals.playing_frames;
        if ((before == GameScreen::Title || before == GameScreen::Settings) && g.screen == GameScreen::Playing) {
            ++totals.games_started;
        }
        if (before != GameScreen::Title && before != GameScreen::Settings && g.screen == GameScreen::Title) {
            ++totals.returns_to_title;
        }
        totals.deepest_stage = std::max(totals.deepest_stage, g.story_stage);
    }
}

TEST(RandomInputSoak, SeededGamesKeepEveryRuleEveryFrame) {
    auto watch = std::make_unique<PlayWatch>();
    SoakTotals totals;
    for (uint64_t seed : {11u, 12u, 13u}) soak(seed, 10000, *watch, totals);
    EXPECT_EQ(totals.frames, 30000);
    // The run must have played, not idled on a menu.
    EXPECT_GE(totals.games_started, 3);
    EXPECT_GT(totals.playing_frames, totals.frames / 2);
    EXPECT_GE(totals.deepest_stage, 5);
}

TEST(RandomInputSoak, SourceIsDeterministicAndCoversTheInputSpace) {
    GameFixture fx;
    RandomInput a = make_random_input(5);
    RandomInput b = make_random_input(5);
    bool zero_time = false, long_time = false, odd_window = false, outside = false, wheel = false, enter = false,
         right_click = false, held_left = false, slot_key = false;
    for (int i = 0; i < 20000; ++i) {
        const FrameInput x = next_random_input(a, fx.game);
        const FrameInput y = next_random_input(b, fx.game);
        ASSERT_EQ(x.raw_frame_time, y.raw_frame_time);
        ASSERT_EQ(x.key_down, y.key_down);
        ASSERT_EQ(x.mouse.x, y.mouse.x);
        zero_time |= x.raw_frame_time == 0.0f;
        long_time |= x.raw_frame_time > 0.25f;
        odd_window |= x.screen_width == 0 || x.screen_height == 0;
        outside |= x.mouse.x < 0.0f || x.mouse.y > static_cast<float>(x.screen_height);
        wheel |= x.wheel != 0.0f;
        enter |= key_pressed(x, KEY_ENTER);
        right_click |= x.mouse_pressed[1];
        held_left |= x.mouse_down[0];
        slot_key |= key_pressed(x, KEY_THREE);
    }
    EXPECT_TRUE(zero_time && long_time && odd_window && outside && wheel && enter && right_click && held_left &&
                slot_key);
}

// --- The checks see what they look for -------------------------------------------

class PlayChecks : public ::testing::Test {
protected:
    GameFixture fx;
    Game& g = fx.game;
    std::unique_ptr<PlayWatch> watch = std::make_unique<PlayWatch>();
    FrameInput in = idle_input(1.0f / 60.0f);

    void SetUp() override {
        start_new_game_with_seed(g, 5);
        g.screen = GameScreen::Playing;
        reset_play_watch(*watch);
        ASSERT_TRUE(check().ok) << check().what;
    }
    PlayCheck check(GameScreen before = GameScreen::Playing) { return check_play_frame(g, in, before, *watch); }

    // A cell the enemy's mask covers one column to the right but not where it stands.
    void cell_ahead_of_enemy(const Enemy& e, int64_t& x, int64_t& y) {
        const EnemyKind kind = enemy_kind(e);
        const EnemyMask& m = enemy_mask(kind);
        for (int64_t r = 0; r < m.height; ++r) {
            for (int64_t c = 0; c <= m.width; ++c) {
                if (enemy_covers(kind, e.x + c, e.y + r, e.x + 1, e.y) && !enemy_covers(kind, e.x + c, e.y + r, e.x, e.y)) {
                    x = e.x + c;
                    y = e.y + r;
                    return;
                }
            }
        }
        FAIL() << "no cell ahead";
    }
};

TEST_F(PlayChecks, UntouchedGamePasses) { EXPECT_TRUE(check().ok); }

TEST_F(PlayChecks, EnemyMovedIntoOldRockFails) {
    Enemy& e = g.world->enemies[0];
    ASSERT_TRUE(e.alive);
    int64_t x = 0, y = 0;
    cell_ahead_of_enemy(e, x, y);
    cell_at(*g.world, x, y).material = Material::Stone;
    ASSERT_TRUE(check().ok);
    e.x += 1;
    const PlayCheck c = check();
    EXPECT_FALSE(c.ok);
    EXPECT_NE(std::string(c.what).find("into Solid"), std::string::npos) << c.what;
}

TEST_F(PlayChecks, RockFormedInsideAnEnemyPasses) {
    Enemy& e = g.world->enemies[0];
    int64_t x = 0, y = 0;
    cell_ahead_of_enemy(e, x, y);
    e.x += 1;
    cell_at(*g.world, x, y).material = Material::Stone;
    EXPECT_TRUE(check().ok) << check().what;
}

TEST_F(PlayChecks, DragonMovedIntoOldRockFailsButMayKeepRockOfItsBox) {
    const int64_t px = g.player.x;
    const int64_t py = g.player.y;
    // Row 5 of the silhouette is full: its cell just right of the box.
    cell_at(*g.world, px + PLAYER_W, py + 5).material = Material::Stone;
    // Rock in the box's empty top row, where the dragon's own rule lets it pass.
    cell_at(*g.world, px + 3, py).material = Material::Stone;
    ASSERT_TRUE(check().ok);
    g.player.y -= 3;  // the row-3 silhouette now covers (px + 3, py)
    EXPECT_TRUE(check().ok) << check().what;
    g.player.y = py;
    g.player.x = px + 1;
    EXPECT_FALSE(check().ok);
}

TEST_F(PlayChecks, NonFiniteVelocityFails) {
    g.player.vel_y = std::nanf("");
    EXPECT_FALSE(check().ok);
}

TEST_F(PlayChecks, OverfullTablesFail) {
    g.world->enemy_count = MAX_ENEMIES + 1;
    EXPECT_FALSE(check().ok);
    g.world->enemy_count = MAX_ENEMIES;
    g.inventory.selected = SLOT_COUNT;
    EXPECT_FALSE(check().ok);
    g.inventory.selected = 0;
    g.inventory.slots[1].count = -2;
    EXPECT_FALSE(check().ok);
}

TEST_F(PlayChecks, EnemyOffTheGridFails) {
    Enemy& e = g.world->enemies[0];
    e.y = WORLD_H - 2;
    EXPECT_FALSE(check().ok);
}

TEST_F(PlayChecks, GameOverThatIgnoresAKeyOnceSeenOrTakesOneTooEarlyFails) {
    g.screen = GameScreen::GameOver;
    g.game_over = true;
    press_key(in, KEY_Q);
    watch->screen_time = SCREEN_LEAVE_DELAY;
    EXPECT_FALSE(check(GameScreen::GameOver).ok);
    g.screen = GameScreen::Title;
    watch->screen_time = SCREEN_LEAVE_DELAY;
    EXPECT_TRUE(check(GameScreen::GameOver).ok);
    watch->screen_time = 0.0f;
    EXPECT_FALSE(check(GameScreen::GameOver).ok) << "left before it was seen";
}

TEST_F(PlayChecks, EnterOnTheTitleThatStartsNothingFails) {
    g.screen = GameScreen::Title;
    press_key(in, KEY_ENTER);
    EXPECT_FALSE(check(GameScreen::Title).ok);
}

}  // namespace
