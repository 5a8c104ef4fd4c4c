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
        clear_world(*world);
        fill(0, WORLD_W - 1, Material::Stone);
        level->surface.fill(FLOOR);
    }
    void fill(int64_t x0, int64_t x1, Material m) {
        for (int64_t x = x0; x <= x1; ++x) {
            for (int64_t y = FLOOR; y < WORLD_H; ++y) cell_at(*world, x, y).material = m;
        }
    }
    const Enemy& enemy(int64_t i) const { return world->enemies[size_t(i)]; }
    bool spawn(int64_t column, EnemyKind kind = EnemyKind::Knight) {
        return spawn_enemy(*world, *level, column, kind, 0, 0, 0);
    }
    // Column of the newest enemy after a spawn that must succeed.
    int64_t spawned_at(int64_t column, EnemyKind kind = EnemyKind::Knight) {
        EXPECT_TRUE(spawn(column, kind));
        return enemy(world->enemy_count - 1).x;
    }
};

TEST_F(EnemySpawn, BlockedBySolidsPowdersAndTheGridEdgeOnlyWhereTheBodyHasCells) {
    World& w = *world;
    EXPECT_FALSE(enemy_blocked(w, EnemyKind::Knight, 500, FLOOR - 11));
    EXPECT_TRUE(enemy_blocked(w, EnemyKind::Knight, 500, FLOOR - 10));
    cell_at(w, 503, 150).material = Material::Sand;
    EXPECT_TRUE(enemy_blocked(w, EnemyKind::Knight, 500, 146));
    cell_at(w, 503, 150).material = Material::Water;
    EXPECT_FALSE(enemy_blocked(w, EnemyKind::Knight, 500, 146));
    cell_at(w, 500, 100).material = Material::Stone;  // the knight's empty top-left corner
    EXPECT_FALSE(enemy_blocked(w, EnemyKind::Knight, 500, 100));
    EXPECT_TRUE(enemy_blocked(w, EnemyKind::Knight, 498, 100));
    EXPECT_TRUE(enemy_blocked(w, EnemyKind::Knight, -1, 50));
    EXPECT_TRUE(enemy_blocked(w, EnemyKind::Boss, 500, -1));
    // No boss body cell uses its box's last column: the box may hang over the edge.
    EXPECT_FALSE(enemy_blocked(w, EnemyKind::Boss, WORLD_W - 19, 50));
    EXPECT_TRUE(enemy_blocked(w, EnemyKind::Boss, WORLD_W - 18, 50));
}

TEST_F(EnemySpawn, NewEnemyStandsOnTheFloorWithItsKindsRecord) {
    ASSERT_TRUE(spawn_enemy(*world, *level, 500, EnemyKind::Knight, 3, 1, 2));
    const Enemy& e = enemy(0);
    EXPECT_EQ(enemy_kind(e), EnemyKind::Knight);
    EXPECT_EQ(e.x, 500);
    EXPECT_EQ(e.y, FLOOR - 11);
    EXPECT_EQ(e.group, 3);
    EXPECT_EQ(e.group_side, 1);
    EXPECT_EQ(e.group_slot, 2);
    EXPECT_EQ(e.hp, 100);
    EXPECT_EQ(e.facing, -1);
    EXPECT_TRUE(e.alive && e.grounded && !e.attacking);
    ASSERT_TRUE(spawn(900, EnemyKind::Boss));
    EXPECT_EQ(enemy(1).y, FLOOR - 37);
    EXPECT_EQ(enemy(1).hp, 5000);
}

TEST_F(EnemySpawn, DropsToTheGroundAndSkipsColumnsWithoutFooting) {
    level->surface[600] = 120;  // the surface line is stale: the ground is lower
    EXPECT_EQ(spawned_at(600), 600);
    EXPECT_EQ(enemy(0).y, FLOOR - 11);
    level->surface[1000] = 250;  // the body would start inside the stone
    EXPECT_EQ(spawned_at(1000), 1001);
    // A hole to the bottom: the first column that stands is found to the right,
    // where only the knight's rightmost body column rests on the edge at 551.
    fill(450, 550, Material::Empty);
    EXPECT_EQ(spawned_at(500), 544);
    EXPECT_EQ(enemy(2).y, FLOOR - 10);
}

TEST_F(EnemySpawn, FailsWhenNoFootingIsWithinReach) {
    fill(380, 620, Material::Empty);
    EXPECT_FALSE(spawn(500));
    fill(0, WORLD_W - 1, Material::Empty);
    EXPECT_FALSE(spawn(1500, EnemyKind::Ogre));
    EXPECT_EQ(world->enemy_count, 0);
}

TEST_F(EnemySpawn, KeepsItsKindsSpacingFromOthersAtTheSameHeight) {
    EXPECT_EQ(spawned_at(500), 500);
    EXPECT_EQ(spawned_at(500), 510);
    EXPECT_EQ(spawned_at(505), 520);  // right before left at equal distance
    EXPECT_EQ(spawned_at(700), 700);
    EXPECT_EQ(spawned_at(700, EnemyKind::Ogre), 712);
    EXPECT_EQ(spawned_at(1000), 1000);
    EXPECT_EQ(spawned_at(1000, EnemyKind::Boss), 1022);
    // Far enough above or below, even the same column is allowed; the band is
    // the taller body's height.
    world->enemies[0].y = FLOOR - 22;
    EXPECT_EQ(spawned_at(500), 500);
    world->enemies[6].y = FLOOR - 11 - 36;
    EXPECT_EQ(spawned_at(1022), 1032);
}

TEST_F(EnemySpawn, NeverInTheCaveNorPastTheKindsLastColumn) {
    EXPECT_FALSE(spawn(30));  // 30 + 84 is still inside the first 120 columns
    EXPECT_EQ(spawned_at(100), 120);
    EXPECT_EQ(spawned_at(3395), 3391);
    world->enemy_count = 0;
    EXPECT_EQ(spawned_at(3399, EnemyKind::Ogre), 3389);
    world->enemy_count = 0;
    EXPECT_EQ(spawned_at(3390, EnemyKind::Boss), 3379);
}

TEST_F(EnemySpawn, FortiethEnemyIsTheLast) {
    for (int64_t k = 0; k < MAX_ENEMIES; ++k) ASSERT_TRUE(spawn(150 + 20 * k)) << k;
    EXPECT_FALSE(spawn(2500));
    EXPECT_FALSE(spawn(2500, EnemyKind::Boss));
    EXPECT_EQ(world->enemy_count, MAX_ENEMIES);
}

// On a flat floor every spawn lands where it is asked, so the formation layout
// shows directly in the records.
TEST_F(EnemySpawn, PopulateLaysOutBossFormationsOgresAndBarbarians) {
    for (uint32_t seed : {1u, 99u, 123456u, 4000000000u}) {
        SetUp();
        populate_enemies(*world, *level, seed);
        ASSERT_TRUE(world->boss_frozen);
        ASSERT_LE(world->enemy_count, MAX_ENEMIES);
        ASSERT_GE(world->enemy_count, 20);
        EXPECT_EQ(enemy_kind(enemy(0)), EnemyKind::Boss);
        EXPECT_EQ(enemy(0).x, 3250);
        EXPECT_EQ(enemy(1).x, int64_t(lcg_next(seed) % 55) + 1215);

        int64_t group = 0, members = 0, last_knight = 0, group_start = 0;
        for (int64_t i = 1; i < world->enemy_count; ++i) {
            const Enemy& e = enemy(i);
            EXPECT_EQ(e.y, FLOOR - kind_props(enemy_kind(e)).height);
            if (enemy_kind(e) != EnemyKind::Knight) {
                // Ogres follow every third formation, barbarians every second.
                const bool ogre = enemy_kind(e) == EnemyKind::Ogre;
                EXPECT_EQ(group % (ogre ? 3 : 2), 0);
                EXPECT_EQ(e.x, last_knight + 13 + (ogre ? 10 : 25));
                EXPECT_EQ(e.group, 0);
                continue;
            }
            if (e.group != group) {
                EXPECT_EQ(e.group, group + 1);
                if (group > 0) {
                    EXPECT_GE(members, 2);
                    EXPECT_GE(e.x - group_start, 195);
                    EXPECT_LE(e.x - group_start, 259);
                    EXPECT_LE(group_start, 2969);
                }
                group = e.group, members = 0, group_start = e.x;
            } else {
                EXPECT_EQ(e.x, last_knight + 13);
            }
            EXPECT_EQ(e.group_side, members % 2 == 1 ? 1 : -1);
            EXPECT_EQ(e.group_slot, members / 2);
            EXPECT_LE(++members, 5);
            last_knight = e.x;
        }
    }
}

// Bystanders far left of the formations decide how many enemies exist when
// the formation loop first checks its count.
TEST_F(EnemySpawn, FormationsStartOnlyWhileAtMostThirtyFourEnemiesExist) {
    const uint32_t seed = 77;
    const int64_t first_formation = int64_t(lcg_next(lcg_next(seed)) % 4) + 2;
    for (int64_t before : {33, 34}) {
        SetUp();
        for (int64_t k = 0; k < before; ++k) ASSERT_TRUE(spawn(150 + 10 * k));
        populate_enemies(*world, *level, seed);
        EXPECT_TRUE(world->boss_frozen);
        EXPECT_EQ(enemy_kind(enemy(before)), EnemyKind::Boss);
        if (before == 33) {
            // 34 with the boss: one formation still starts, then the loop ends.
            EXPECT_EQ(world->enemy_count, 34 + first_formation);
            EXPECT_EQ(enemy(world->enemy_count - 1).group, 1);
        } else {
            EXPECT_EQ(world->enemy_count, 35);
        }
    }
}

TEST(EnemyPlacement, NewGameFreezesTheBossInItsArenaAndStandsEveryoneOnGround) {
    GameFixture f;
    for (uint32_t seed : {3u, 1234567u, 1999999999u}) {
        start_new_game_with_seed(f.game, seed);
        const World& w = *f.game.world;
        ASSERT_TRUE(w.boss_frozen);
        ASSERT_GE(w.enemy_count, 2);
        const Enemy& boss = w.enemies[0];
        ASSERT_EQ(enemy_kind(boss), EnemyKind::Boss);
        EXPECT_EQ(boss.x, 3250);  // the arena is flat and empty
        EXPECT_EQ(boss.y, f.game.level->surface[3250] - 37);
        for (int64_t i = 0; i < w.enemy_count; ++i) {
            const Enemy& e = w.enemies[size_t(i)];
            const EnemyKind k = enemy_kind(e);
            EXPECT_GT(e.x, 1100) << seed << " enemy " << i;  // none in the cave
            EXPECT_FALSE(enemy_blocked(w, k, e.x, e.y)) << seed << " enemy " << i;
            EXPECT_TRUE(enemy_blocked(w, k, e.x, e.y + 1)) << seed << " enemy " << i;
            EXPECT_EQ(e.group == 0, k != EnemyKind::Knight);
        }
    }
}

}  // namespace
