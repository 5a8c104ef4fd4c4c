// Where enemies are placed at a new game, and the shape test placement uses.

#include <gtest/gtest.h>

#include <memory>

#include "test_game.h"
#include "world/level.h"

namespace {

constexpr int64_t FLOOR = 200;  // top row of the stone floor in the test world

class EnemySpawn : public ::testing::Test {
protected:
    WorldPtr world = make_empty_world();
    std::unique_ptr<Level> level = std::make_unique<Level>();

    void SetUp() override {
        for (int64_t x = 0; x < WORLD_W; ++x) {
            for (int64_t y = FLOOR; y < WORLD_H; ++y) cell_at(w(), x, y).material = Material::Stone;
        }
        level->surface.fill(FLOOR);
    }
    World& w() { return *world; }
    const Enemy& enemy(int64_t i) const { return world->enemies[static_cast<size_t>(i)]; }
    void dig(int64_t x0, int64_t x1) {
        for (int64_t x = x0; x <= x1; ++x) {
            for (int64_t y = FLOOR; y < WORLD_H; ++y) cell_at(w(), x, y).material = Material::Empty;
        }
    }
    bool spawn(int64_t column, EnemyKind kind = EnemyKind::Knight, int64_t group = 0,
               int64_t side = 0, int64_t slot = 0) {
        return spawn_enemy(w(), *level, column, kind, group, side, slot);
    }
};

int64_t height_of(EnemyKind k) { return kind_props(k).height; }

// --- Shape test ----------------------------------------------------------------

TEST_F(EnemySpawn, BlockedBySolidsPowdersAndTheGridEdgeButNotByFluids) {
    const int64_t above = FLOOR - height_of(EnemyKind::Knight);
    EXPECT_FALSE(enemy_blocked(w(), EnemyKind::Knight, 500, above));
    EXPECT_TRUE(enemy_blocked(w(), EnemyKind::Knight, 500, above + 1));

    cell_at(w(), 503, 150).material = Material::Sand;
    EXPECT_TRUE(enemy_blocked(w(), EnemyKind::Knight, 500, 146));
    cell_at(w(), 503, 150).material = Material::Water;
    EXPECT_FALSE(enemy_blocked(w(), EnemyKind::Knight, 500, 146));
    cell_at(w(), 503, 150).material = Material::Smoke;
    EXPECT_FALSE(enemy_blocked(w(), EnemyKind::Knight, 500, 146));

    EXPECT_TRUE(enemy_blocked(w(), EnemyKind::Knight, -1, 50));
    EXPECT_TRUE(enemy_blocked(w(), EnemyKind::Knight, WORLD_W - 7, 50));
    EXPECT_TRUE(enemy_blocked(w(), EnemyKind::Boss, 500, -1));
}

TEST_F(EnemySpawn, OnlyTheBodyShapeCountsNotItsBox) {
    // The knight's top-left corner is not part of its body.
    cell_at(w(), 500, 100).material = Material::Stone;
    EXPECT_FALSE(enemy_blocked(w(), EnemyKind::Knight, 500, 100));
    EXPECT_TRUE(enemy_blocked(w(), EnemyKind::Knight, 498, 100));
    // The boss's box is 20 wide but no body cell uses its last column, so the
    // box may hang one column over the right edge.
    EXPECT_FALSE(enemy_blocked(w(), EnemyKind::Boss, WORLD_W - 19, 50));
    EXPECT_TRUE(enemy_blocked(w(), EnemyKind::Boss, WORLD_W - 18, 50));
}

// --- spawn_enemy ---------------------------------------------------------------

TEST_F(EnemySpawn, NewEnemyStandsOnTheFloorAtTheAskedColumn) {
    ASSERT_TRUE(spawn(500, EnemyKind::Knight, 3, 1, 2));
    ASSERT_EQ(w().enemy_count, 1);
    const Enemy& e = enemy(0);
    EXPECT_EQ(enemy_kind(e), EnemyKind::Knight);
    EXPECT_EQ(e.x, 500);
    EXPECT_EQ(e.y, FLOOR - 11);
    EXPECT_EQ(e.group, 3);
    EXPECT_EQ(e.group_side, 1);
    EXPECT_EQ(e.group_slot, 2);
    EXPECT_EQ(e.hp, 100);
    EXPECT_EQ(e.facing, -1);
    EXPECT_TRUE(e.alive);
    EXPECT_TRUE(e.grounded);
    EXPECT_FALSE(e.attacking);
    EXPECT_EQ(e.vel_x, 0.0f);
    EXPECT_EQ(e.alert_time, 0.0f);

    ASSERT_TRUE(spawn(900, EnemyKind::Boss));
    EXPECT_EQ(enemy(1).y, FLOOR - 37);
    EXPECT_EQ(enemy(1).hp, 5000);
}

TEST_F(EnemySpawn, DropsFromAStaleSurfaceLineToTheGround) {
    // The surface line says the ground is far higher than it really is.
    level->surface[600] = 120;
    ASSERT_TRUE(spawn(600));
    EXPECT_EQ(enemy(0).x, 600);
    EXPECT_EQ(enemy(0).y, FLOOR - 11);
}

TEST_F(EnemySpawn, SkipsAColumnWhoseSurfaceLineIsBuried) {
    level->surface[600] = 250;  // the body would start inside the stone
    ASSERT_TRUE(spawn(600));
    EXPECT_EQ(enemy(0).x, 601);
    EXPECT_EQ(enemy(0).y, FLOOR - 11);
}

TEST_F(EnemySpawn, SkipsColumnsWithNothingToStandOn) {
    dig(450, 550);
    ASSERT_TRUE(spawn(500));
    // First try to the right that reaches solid ground with a body cell:
    // the knight's rightmost column (rows 4..9) over column 551.
    EXPECT_EQ(enemy(0).x, 544);
    EXPECT_EQ(enemy(0).y, FLOOR - 10);
}

TEST_F(EnemySpawn, FailsWhenNoFootingIsWithinReach) {
    dig(380, 620);
    EXPECT_FALSE(spawn(500));
    EXPECT_EQ(w().enemy_count, 0);
    dig(0, WORLD_W - 1);
    EXPECT_FALSE(spawn(1500, EnemyKind::Ogre));
    EXPECT_EQ(w().enemy_count, 0);
}

TEST_F(EnemySpawn, KeepsItsKindsSpacingFromOthersStandingAtTheSameHeight) {
    ASSERT_TRUE(spawn(500));
    ASSERT_TRUE(spawn(500));
    EXPECT_EQ(enemy(1).x, 510);  // knights keep 10 columns
    ASSERT_TRUE(spawn(505));
    EXPECT_EQ(enemy(2).x, 520);  // 515 is too close to 510; 495 comes later in the search
    ASSERT_TRUE(spawn(700, EnemyKind::Knight));
    ASSERT_TRUE(spawn(700, EnemyKind::Ogre));
    EXPECT_EQ(enemy(4).x, 712);  // an ogre keeps 12
    ASSERT_TRUE(spawn(1000, EnemyKind::Knight));
    ASSERT_TRUE(spawn(1000, EnemyKind::Boss));
    EXPECT_EQ(enemy(6).x, 1022);  // the boss keeps 22
}

TEST_F(EnemySpawn, SpacingIgnoresEnemiesFarAboveOrBelow) {
    ASSERT_TRUE(spawn(500));
    w().enemies[0].y = FLOOR - 11 - 11;  // exactly one knight height higher
    ASSERT_TRUE(spawn(500));
    EXPECT_EQ(enemy(1).x, 500);
    // A taller neighbour widens the vertical band: 36 rows apart is still too close to a boss.
    ASSERT_TRUE(spawn(1500, EnemyKind::Boss));
    w().enemies[2].y = FLOOR - 11 - 36;
    ASSERT_TRUE(spawn(1500));
    EXPECT_EQ(enemy(3).x, 1510);
}

TEST_F(EnemySpawn, NeverInTheCaveMouthNorPastTheKindsLastColumn) {
    EXPECT_FALSE(spawn(30));  // 30 + 84 is still at most 119
    EXPECT_EQ(w().enemy_count, 0);
    ASSERT_TRUE(spawn(100));
    EXPECT_EQ(enemy(0).x, 120);
    // Each kind has its own last column (exclusive): knight 3392, ogre 3390, boss 3380.
    ASSERT_TRUE(spawn(3395));
    EXPECT_EQ(enemy(1).x, 3391);
    w().enemy_count = 0;
    ASSERT_TRUE(spawn(3399, EnemyKind::Ogre));
    EXPECT_EQ(enemy(0).x, 3389);
    w().enemy_count = 0;
    ASSERT_TRUE(spawn(3390, EnemyKind::Boss));
    EXPECT_EQ(enemy(0).x, 3379);
}

TEST_F(EnemySpawn, FortiethEnemyIsTheLast) {
    for (int64_t k = 0; k < MAX_ENEMIES; ++k) ASSERT_TRUE(spawn(150 + 20 * k)) << k;
    EXPECT_EQ(w().enemy_count, MAX_ENEMIES);
    EXPECT_FALSE(spawn(2500));
    EXPECT_FALSE(spawn(2500, EnemyKind::Boss));
    EXPECT_EQ(w().enemy_count, MAX_ENEMIES);
}

// --- populate_enemies -------------------------------------------------------------

// On a flat floor every spawn lands exactly where it is asked, so the layout
// of the formations shows directly in the records.
TEST_F(EnemySpawn, PopulateLaysOutBossFormationsOgresAndBarbarians) {
    for (uint32_t seed : {1u, 99u, 123456u, 4000000000u}) {
        clear_world(w(), 7);
        SetUp();
        populate_enemies(w(), *level, seed);
        ASSERT_TRUE(w().boss_frozen);
        ASSERT_LE(w().enemy_count, MAX_ENEMIES);
        ASSERT_GE(w().enemy_count, 20);

        const Enemy& boss = enemy(0);
        EXPECT_EQ(enemy_kind(boss), EnemyKind::Boss);
        EXPECT_EQ(boss.x, 3250);
        EXPECT_EQ(boss.y, FLOOR - 37);

        const uint32_t r1 = lcg_next(seed);
        EXPECT_EQ(enemy(1).x, static_cast<int64_t>(r1 % 55) + 1215);

        int64_t group = 0;
        int64_t members = 0;
        int64_t last_knight_x = 0;
        int64_t group_start = 0;
        for (int64_t i = 1; i < w().enemy_count; ++i) {
            const Enemy& e = enemy(i);
            EXPECT_GT(e.x, 1214);
            EXPECT_LT(e.x, 2969 + 13 * 5 + 25 + 1);
            EXPECT_EQ(e.y, FLOOR - height_of(enemy_kind(e)));
            switch (enemy_kind(e)) {
                case EnemyKind::Knight:
                    if (e.group != group) {
                        EXPECT_EQ(e.group, group + 1);
                        if (group > 0) {
                            EXPECT_GE(members, 2);
                            EXPECT_GE(e.x - group_start, 195);
                            EXPECT_LE(e.x - group_start, 259);
                        }
                        group = e.group;
                        members = 0;
                        group_start = e.x;
                    } else {
                        EXPECT_EQ(e.x, last_knight_x + 13);
                    }
                    EXPECT_EQ(e.group_side, members % 2 == 1 ? 1 : -1);
                    EXPECT_EQ(e.group_slot, members / 2);
                    ++members;
                    EXPECT_LE(members, 5);
                    last_knight_x = e.x;
                    break;
                case EnemyKind::Ogre:
                    EXPECT_EQ(group % 3, 0);
                    EXPECT_EQ(e.group, 0);
                    EXPECT_EQ(e.x, last_knight_x + 13 + 10);
                    break;
                case EnemyKind::Barbarian:
                    EXPECT_EQ(group % 2, 0);
                    EXPECT_EQ(e.group, 0);
                    EXPECT_EQ(e.x, last_knight_x + 13 + 25);
                    break;
                case EnemyKind::Boss: ADD_FAILURE() << "second boss"; break;
            }
        }
    }
}

TEST_F(EnemySpawn, PopulateStopsOpeningFormationsNearTheCap) {
    // A narrow gap schedule cannot be forced, so count: formations only begin
    // while at most 34 enemies exist, and one formation adds at most 7.
    for (uint32_t seed = 0; seed < 64; ++seed) {
        clear_world(w(), 7);
        SetUp();
        populate_enemies(w(), *level, seed * 2654435761u);
        ASSERT_LE(w().enemy_count, MAX_ENEMIES) << seed;
        int64_t last_group = 0;
        int64_t count_before_last_group = 0;
        for (int64_t i = 0; i < w().enemy_count; ++i) {
            if (enemy(i).group > last_group) {
                last_group = enemy(i).group;
                count_before_last_group = i;
            }
        }
        EXPECT_LE(count_before_last_group, 34) << seed;
    }
}

// --- Through a whole new game ---------------------------------------------------------

TEST(EnemyPlacement, NewGameFreezesTheBossInItsArenaAndStandsEveryoneOnGround) {
    GameFixture f;
    for (uint32_t seed : {3u, 1234567u, 1999999999u}) {
        start_new_game_with_seed(f.game, seed);
        const World& w = *f.game.world;
        const Level& l = *f.game.level;
        ASSERT_TRUE(w.boss_frozen);
        ASSERT_GE(w.enemy_count, 2);
        ASSERT_LE(w.enemy_count, MAX_ENEMIES);
        const Enemy& boss = w.enemies[0];
        ASSERT_EQ(enemy_kind(boss), EnemyKind::Boss);
        EXPECT_GE(boss.x, 3250 - 84);
        EXPECT_LE(boss.x, 3250 + 84);
        EXPECT_EQ(boss.y, l.surface[size_t(boss.x)] - 37);
        for (int64_t i = 0; i < w.enemy_count; ++i) {
            const Enemy& e = w.enemies[size_t(i)];
            const EnemyKind k = enemy_kind(e);
            EXPECT_GT(e.x, 119) << seed << " enemy " << i;
            EXPECT_LT(e.x, kind_props(k).highest_spawn_column);
            EXPECT_FALSE(enemy_blocked(w, k, e.x, e.y)) << seed << " enemy " << i;
            EXPECT_TRUE(enemy_blocked(w, k, e.x, e.y + 1)) << seed << " enemy " << i;
            EXPECT_EQ(e.group == 0, k != EnemyKind::Knight);
        }
        // The player's start is far from every enemy.
        for (int64_t i = 0; i < w.enemy_count; ++i) EXPECT_GT(w.enemies[size_t(i)].x, 1100);
    }
}

}  // namespace
