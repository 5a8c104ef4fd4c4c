// Level generation: terrain, cave, props and the cells they leave in the world.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "player/player.h"
#include "test_game.h"
#include "world/level.h"

namespace {

using Surface = std::array<int64_t, WORLD_W>;

struct Generated {
    WorldPtr world = make_empty_world();
    std::unique_ptr<Level> level = std::make_unique<Level>();

    void run(uint32_t seed) {
        clear_world(*world, seed);
        *level = Level{};
        generate_level(*world, *level);
    }
    const Cell& at(int64_t x, int64_t y) const { return cell_at(*world, x, y); }
    int64_t surface(int64_t x) const { return level->surface[static_cast<size_t>(x)]; }
};

// FNV-1a over the meaningful fields (records have padding bytes).
struct Hash {
    uint64_t h = 1469598103934665603ull;
    template <typename T>
    void add(T v) {
        const auto* p = reinterpret_cast<const unsigned char*>(&v);
        for (size_t i = 0; i < sizeof(T); ++i) h = (h ^ p[i]) * 1099511628211ull;
    }
};

uint64_t hash_level(const World& w, const Level& l) {
    Hash hs;
    for (const Cell& c : w.cells) {
        hs.add(c.material);
        hs.add(c.shade);
        hs.add(c.temperature);
        hs.add(c.integrity);
        hs.add(c.life);
        hs.add(c.life_max);
        hs.add(c.origin);
    }
    for (int64_t v : l.surface) hs.add(v);
    hs.add(l.barrel_count);
    for (int64_t i = 0; i < l.barrel_count; ++i) {
        const Barrel& b = l.barrels[static_cast<size_t>(i)];
        hs.add(b.x);
        hs.add(b.y);
        hs.add(b.material);
    }
    hs.add(l.house_count);
    for (int64_t i = 0; i < l.house_count; ++i) {
        const House& h = l.houses[static_cast<size_t>(i)];
        hs.add(h.x);
        hs.add(h.y);
        hs.add(h.width);
        hs.add(h.height);
        hs.add(h.roof_height);
    }
    hs.add(l.tank_count);
    for (int64_t i = 0; i < l.tank_count; ++i) {
        const Tank& t = l.tanks[static_cast<size_t>(i)];
        hs.add(t.x);
        hs.add(t.y);
        hs.add(t.width);
        hs.add(t.height);
        hs.add(t.material);
    }
    hs.add(w.enemy_count);
    for (int64_t i = 0; i < w.enemy_count; ++i) {
        const Enemy& e = w.enemies[static_cast<size_t>(i)];
        hs.add(e.kind);
        hs.add(e.x);
        hs.add(e.y);
        hs.add(e.group);
    }
    hs.add(w.rng_state);
    hs.add(w.active_count);
    return hs.h;
}

constexpr std::array<uint32_t, 4> SEEDS = {1u, 4242u, 987654321u, 2000000000u};

struct PropBox {
    int64_t x;
    int64_t width;
};

std::vector<PropBox> grassland_props(const Level& l) {
    std::vector<PropBox> props;
    for (int64_t i = 0; i < l.house_count; ++i) props.push_back({l.houses[size_t(i)].x, l.houses[size_t(i)].width});
    for (int64_t i = 0; i < l.tank_count; ++i) props.push_back({l.tanks[size_t(i)].x, l.tanks[size_t(i)].width});
    // Barrel 0 is the one waiting in the cave.
    for (int64_t i = 1; i < l.barrel_count; ++i) props.push_back({l.barrels[size_t(i)].x, BARREL_W});
    std::sort(props.begin(), props.end(), [](const PropBox& a, const PropBox& b) { return a.x < b.x; });
    return props;
}

bool flat(const Level& l, int64_t from, int64_t to_exclusive, int64_t height) {
    for (int64_t x = from; x < to_exclusive; ++x) {
        if (l.surface[size_t(x)] != height) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------

TEST(LevelGeneration, SameSeedRebuildsTheSameLevelAndOtherSeedsDiffer) {
    Generated g;
    g.run(98765);
    const uint64_t first = hash_level(*g.world, *g.level);
    g.run(98765);
    EXPECT_EQ(hash_level(*g.world, *g.level), first);
    g.run(98766);
    EXPECT_NE(hash_level(*g.world, *g.level), first);
}

TEST(LevelGeneration, WorldGeneratorIsAdvancedOnlyByTheCellWrites) {
    // The level draws from its own copy of the seed: the first cells written
    // (the top of column 0) take the world generator's first draws.
    Generated g;
    const uint32_t seed = 5;
    g.run(seed);
    const uint32_t r1 = lcg_next(seed);
    const uint32_t r2 = lcg_next(r1);
    EXPECT_EQ(g.at(0, g.surface(0)).shade, r1 >> 30);
    EXPECT_EQ(g.at(0, g.surface(0) + 1).shade, r2 >> 30);
}

TEST(LevelGeneration, CaveIsTheSameInEveryGame) {
    Generated a;
    Generated b;
    a.run(SEEDS[0]);
    b.run(SEEDS[3]);
    for (int64_t x = 0; x <= 1100; ++x) {
        ASSERT_EQ(a.surface(x), b.surface(x)) << "column " << x;
        for (int64_t y = 0; y < WORLD_H; ++y) {
            ASSERT_EQ(a.at(x, y).material, b.at(x, y).material) << x << "," << y;
        }
    }
    // Both ends of the cave are closed: a stone roof and the left wall.
    for (int64_t y = 0; y < a.surface(0); ++y) EXPECT_EQ(a.at(0, y).material, Material::Stone);
    for (int64_t x = 0; x < 880; ++x) EXPECT_EQ(a.at(x, 0).material, Material::Stone);
    // The shelves are flat and the wooden pillar stands on the first one.
    EXPECT_TRUE(flat(*a.level, 512, 546, a.surface(529)));
    EXPECT_TRUE(flat(*a.level, 778, 826, a.surface(802)));
    EXPECT_TRUE(flat(*a.level, 952, 988, a.surface(970)));
    EXPECT_EQ(a.at(528, a.surface(528) - 1).material, Material::Wood);
    EXPECT_EQ(a.at(528, 190).material, Material::Wood);
}

TEST(LevelGeneration, DragonStartsInOpenAirInsideTheCave) {
    Generated g;
    for (uint32_t seed : SEEDS) {
        g.run(seed);
        const int64_t top = g.surface(153) - PLAYER_H;
        for (int64_t y = top; y < top + PLAYER_H; ++y) {
            for (int64_t x = 154; x < 154 + PLAYER_W; ++x) {
                ASSERT_EQ(g.at(x, y).material, Material::Empty) << x << "," << y;
            }
        }
        EXPECT_NE(g.at(160, top + PLAYER_H).material, Material::Empty);
    }
}

TEST(LevelGeneration, FirstBarrelHoldsPlasmaOnTheLastShelf) {
    Generated g;
    g.run(SEEDS[1]);
    const Barrel& b = g.level->barrels[0];
    EXPECT_EQ(b.x, 960);
    EXPECT_EQ(b.y, g.surface(960) - BARREL_H);
    EXPECT_EQ(b.material, Material::Plasma);
    EXPECT_EQ(g.at(960 + 10, b.y).material, Material::Wood);   // rim
    EXPECT_EQ(g.at(960, b.y).material, Material::Empty);       // rounded corner
    EXPECT_EQ(g.at(960, b.y + 10).material, Material::Wood);   // belly reaches the edge
}

TEST(LevelGeneration, PropsStayBetweenTheCaveMouthAndTheArenaWithoutOverlap) {
    Generated g;
    for (uint32_t seed : SEEDS) {
        g.run(seed);
        const std::vector<PropBox> props = grassland_props(*g.level);
        ASSERT_FALSE(props.empty());
        EXPECT_GE(props.front().x, 1195) << seed;
        EXPECT_LE(props.front().x, 1229) << seed;
        for (size_t i = 0; i < props.size(); ++i) {
            EXPECT_LT(props[i].x, 2970) << seed;
            if (i > 0) {
                EXPECT_GE(props[i].x, props[i - 1].x + props[i - 1].width + 78) << seed;
            }
        }
    }
}

TEST(LevelGeneration, PropsStandOnFlattenedGround) {
    Generated g;
    for (uint32_t seed : SEEDS) {
        g.run(seed);
        const Level& l = *g.level;
        for (int64_t i = 0; i < l.house_count; ++i) {
            const House& h = l.houses[size_t(i)];
            EXPECT_TRUE(flat(l, h.x, h.x + h.width, h.y + h.height));
            EXPECT_GE(h.width, 54);
            EXPECT_LE(h.width, 90);
            EXPECT_EQ(g.at(h.x, h.y).material, Material::Wood);
            EXPECT_EQ(g.at(h.x + h.width / 2, h.y - 1).material, Material::Wood);  // roof base
            EXPECT_EQ(g.at(h.x + h.width / 2, h.y + h.height - 1).material, Material::Empty);  // door
        }
        for (int64_t i = 1; i < l.barrel_count; ++i) {
            const Barrel& b = l.barrels[size_t(i)];
            EXPECT_TRUE(flat(l, b.x, b.x + BARREL_W, b.y + BARREL_H));
        }
        for (int64_t i = 0; i < l.tank_count; ++i) {
            const Tank& t = l.tanks[size_t(i)];
            EXPECT_TRUE(flat(l, t.x, t.x + t.width, t.y + t.height));
        }
    }
}

TEST(LevelGeneration, TanksHoldTheirContentInTheLowerTwoThirdsAndOnlyThatIsAwake) {
    Generated g;
    int tanks_seen = 0;
    for (uint32_t seed : SEEDS) {
        g.run(seed);
        int64_t content_cells = 0;
        for (int64_t k = 0; k < g.level->tank_count; ++k) {
            const Tank& t = g.level->tanks[size_t(k)];
            ++tanks_seen;
            for (int64_t i = 2; i < t.width - 2; ++i) {
                for (int64_t j = 2; j < t.height - 2; ++j) {
                    const Material want = j < t.height / 3 ? Material::Empty : t.material;
                    ASSERT_EQ(g.at(t.x + i, t.y + j).material, want) << seed << " tank " << k;
                }
                // The rim leaves the middle of the top open.
                if (i >= 5 && i < t.width - 5) {
                    EXPECT_EQ(g.at(t.x + i, t.y).material, Material::Empty);
                }
            }
            EXPECT_EQ(g.at(t.x, t.y).material, Material::Glass);
            EXPECT_EQ(g.at(t.x + t.width - 1, t.y + t.height - 1).material, Material::Glass);
            EXPECT_EQ(g.at(t.x + t.width / 2, t.y + t.height - 1).material, Material::Glass);
            content_cells += (t.width - 4) * (t.height - 2 - t.height / 3);
        }
        // Everything else the generator writes is solid and starts asleep.
        EXPECT_EQ(g.world->active_count, content_cells) << seed;
    }
    EXPECT_GT(tanks_seen, 0);
}

TEST(LevelGeneration, GroundLayersFollowTheSurface) {
    Generated g;
    g.run(SEEDS[2]);
    for (int64_t x = 0; x < WORLD_W; ++x) {
        const int64_t s = g.surface(x);
        ASSERT_GE(s, 200);
        ASSERT_LT(s, 280);
        ASSERT_NE(g.at(x, s).material, Material::Empty) << x;
        EXPECT_EQ(g.at(x, WORLD_H - 1).material, Material::Stone) << x;
    }
    // Inside the cave the floor is bare stone; past the mouth grass over ground.
    EXPECT_EQ(g.at(500, g.surface(500)).material, Material::Stone);
    EXPECT_EQ(g.at(500, g.surface(500) + 5).material, Material::Stone);
    for (int64_t x = 1196; x < WORLD_W; x += 97) {
        EXPECT_EQ(g.at(x, g.surface(x)).material, Material::Grass) << x;
        EXPECT_EQ(g.at(x, g.surface(x) + 1).material, Material::Grass) << x;
        EXPECT_EQ(g.at(x, g.surface(x) + 2).material, Material::Ground) << x;
        EXPECT_EQ(g.at(x, g.surface(x) + 17).material, Material::Ground) << x;
        EXPECT_EQ(g.at(x, g.surface(x) + 18).material, Material::Stone) << x;
    }
    // The mouth turns from stone through ground into grass.
    bool saw_ground_top = false;
    for (int64_t x = 1101; x <= 1195; ++x) saw_ground_top |= g.at(x, g.surface(x)).material == Material::Ground;
    EXPECT_TRUE(saw_ground_top);
    EXPECT_EQ(g.at(1101, g.surface(1101)).material, Material::Stone);
    EXPECT_EQ(g.at(1195, g.surface(1195)).material, Material::Grass);
}

TEST(LevelGeneration, BossArenaIsFlatAtTheHeightItsMiddleHadBefore) {
    for (uint32_t seed : SEEDS) {
        Surface base{};
        shape_base_profile(base, seed);
        Generated g;
        g.run(seed);
        const int64_t p = base[3250];
        EXPECT_TRUE(flat(*g.level, 3100, WORLD_W, p)) << seed;
        // The ramp leads from the old ground into the arena.
        EXPECT_EQ(g.surface(3081), base[3081]);
        for (int64_t x = 3082; x < 3100; ++x) {
            EXPECT_GE(g.surface(x), std::min(base[x], p));
            EXPECT_LE(g.surface(x), std::max(base[x], p));
        }
    }
}

TEST(BaseProfile, StartsLevelAndStaysWithinTheHeightBand) {
    Surface s{};
    const uint32_t after = shape_base_profile(s, 31337);
    EXPECT_NE(after, 31337u);
    for (int64_t x = 0; x < 120; ++x) EXPECT_EQ(s[size_t(x)], 242);
    for (int64_t x = 120; x < WORLD_W; ++x) {
        ASSERT_GE(s[size_t(x)], 229) << x;
        ASSERT_LE(s[size_t(x)], 255) << x;
        // Segments are eased: neighbours never jump by more than a few rows.
        ASSERT_LE(std::abs(s[size_t(x)] - s[size_t(x - 1)]), 2) << x;
    }
}

// ---------------------------------------------------------------------------

class FlattenTerrain : public ::testing::Test {
protected:
    Surface s{};
    void SetUp() override { s.fill(200); }
};

TEST_F(FlattenTerrain, RampsEighteenColumnsIntoAFlatShelf) {
    s[1020] = 236;  // middle of 1000..1040
    const Surface before = s;
    EXPECT_EQ(flatten_terrain(s, 1000, 1040), 236);
    EXPECT_EQ(s[981], 200);                // untouched left of the ramp
    EXPECT_EQ(s[982], 200);                // w = 0
    EXPECT_EQ(s[991], 218);                // half way
    EXPECT_EQ(s[999], 234);                // w = 17/18
    for (size_t x = 1000; x < 1040; ++x) EXPECT_EQ(s[x], 236);
    EXPECT_EQ(s[1040], 236);               // w = 1
    EXPECT_EQ(s[1057], 202);               // w = 1/18
    EXPECT_EQ(s[1058], before[1058]);      // untouched right of the ramp
}

TEST_F(FlattenTerrain, RampBlendsWithTheOldHeightsAndRoundsHalfUp) {
    for (size_t x = 0; x < s.size(); ++x) s[x] = 240 - static_cast<int64_t>(x % 3);
    s[520] = 221;
    flatten_terrain(s, 500, 540);
    // w = 9/18 at column 491 (old 240 - 2): 0.5 * 221 + 0.5 * 238 = 229.5 -> 230.
    EXPECT_EQ(s[491], 230);
    // w = 1/18 at 557 (old 240 - 2): (221 + 17 * 238) / 18 = 237.06 -> 237.
    EXPECT_EQ(s[557], 237);
}

TEST_F(FlattenTerrain, ClampsAtTheLeftEdge) {
    s[2] = 230;  // middle of 0..5 after the start is clamped to 0
    EXPECT_EQ(flatten_terrain(s, -5, 5), 230);
    for (size_t x = 0; x < 5; ++x) EXPECT_EQ(s[x], 230);
    EXPECT_EQ(s[5], 230);
    s.fill(200);
    s[10] = 236;  // start 5: the ramp would begin at -13, only 0..4 exist
    flatten_terrain(s, 5, 15);
    // w at column 0 is 13/18: 13/18 * 236 + 5/18 * 200 = 226 exactly.
    EXPECT_EQ(s[0], 226);
    EXPECT_EQ(s[4], 234);
}

TEST_F(FlattenTerrain, ClampsAtTheRightEdge) {
    s[3250] = 236;
    EXPECT_EQ(flatten_terrain(s, 3100, 3400), 236);
    for (size_t x = 3100; x < 3400; ++x) EXPECT_EQ(s[x], 236);
    EXPECT_EQ(s[3081], 200);
    s.fill(200);
    s[3390] = 220;  // a shelf ending near the edge ramps only where columns exist
    flatten_terrain(s, 3385, 3395);
    for (size_t x = 3385; x < 3395; ++x) EXPECT_EQ(s[x], 220);
    EXPECT_EQ(s[3395], 220);
    EXPECT_EQ(s[3399], 216);  // w = 14/18: 171.1 + 44.4
}

// ---------------------------------------------------------------------------

TEST(PropsWalk, FullTablesPlaceNothingButStillAdvanceByABarrelAndTheGap) {
    auto level = std::make_unique<Level>();
    level->surface.fill(240);
    level->house_count = MAX_HOUSES;
    level->tank_count = MAX_TANKS;
    level->barrel_count = MAX_BARRELS;
    const uint32_t seed = 2024;

    // Every stop draws only the kind roll and the gap.
    uint32_t r = lcg_next(seed);
    int64_t x = r % 35 + 1195;
    int stops = 0;
    while (x < 2970) {
        r = lcg_next(r);  // kind roll
        r = lcg_next(r);  // gap
        x += 20 + r % 70 + 78;
        ++stops;
    }
    EXPECT_EQ(place_props(*level, seed), r);
    EXPECT_GT(stops, 10);
    EXPECT_EQ(level->barrel_count, MAX_BARRELS);
    EXPECT_TRUE(flat(*level, 0, WORLD_W, 240));  // nothing was flattened
}

TEST(PropsWalk, TablesNeverGrowPastCapacity) {
    for (uint32_t seed : SEEDS) {
        auto level = std::make_unique<Level>();
        level->surface.fill(240);
        level->house_count = MAX_HOUSES;  // house stops become tanks...
        level->tank_count = MAX_TANKS - 1;  // ...until the tank table fills too
        level->barrel_count = MAX_BARRELS - 2;
        place_props(*level, seed);
        EXPECT_EQ(level->house_count, MAX_HOUSES);
        EXPECT_LE(level->tank_count, MAX_TANKS);
        EXPECT_LE(level->barrel_count, MAX_BARRELS);
        EXPECT_GT(level->tank_count + level->barrel_count, MAX_TANKS - 1 + MAX_BARRELS - 2);
    }
}

TEST(BarrelShape, MatchesTheDrawnOutline) {
    int filled = 0;
    for (int64_t row = 0; row < BARREL_H; ++row) {
        for (int64_t col = 0; col < BARREL_W; ++col) filled += barrel_shape_covers(col, row);
    }
    EXPECT_EQ(filled, 10 + 14 + 5 * 18 + 9 * 20 + 5 * 18 + 3 * 16);
    EXPECT_FALSE(barrel_shape_covers(4, 0));
    EXPECT_TRUE(barrel_shape_covers(5, 0));
    EXPECT_TRUE(barrel_shape_covers(14, 0));
    EXPECT_FALSE(barrel_shape_covers(15, 0));
    EXPECT_TRUE(barrel_shape_covers(0, 7));
    EXPECT_TRUE(barrel_shape_covers(19, 15));
    EXPECT_FALSE(barrel_shape_covers(0, 16));
    EXPECT_FALSE(barrel_shape_covers(1, 23));
    EXPECT_TRUE(barrel_shape_covers(17, 23));
    EXPECT_FALSE(barrel_shape_covers(-1, 10));
    EXPECT_FALSE(barrel_shape_covers(20, 10));
    EXPECT_FALSE(barrel_shape_covers(10, 24));
}

}  // namespace
