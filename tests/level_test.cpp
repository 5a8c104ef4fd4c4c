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
constexpr std::array<uint32_t, 4> SEEDS = {1u, 4242u, 987654321u, 2000000000u};

struct Generated {
    WorldPtr world = make_empty_world();
    std::unique_ptr<Level> level = std::make_unique<Level>();

    void run(uint32_t seed) {
        clear_world(*world, seed);
        *level = Level{};
        generate_level(*world, *level);
    }
    Material at(int64_t x, int64_t y) const { return cell_at(*world, x, y).material; }
    int64_t surface(int64_t x) const { return level->surface[size_t(x)]; }
};

bool flat(const Surface& s, int64_t from, int64_t to_exclusive, int64_t height) {
    return std::all_of(s.begin() + from, s.begin() + to_exclusive, [&](int64_t v) { return v == height; });
}

// FNV-1a over every cell's material and shade, in index order.
uint64_t cell_hash(const World& w) {
    uint64_t h = 1469598103934665603ull;
    for (const Cell& c : w.cells) {
        for (uint8_t byte : {static_cast<uint8_t>(c.material), c.shade}) {
            h = (h ^ byte) * 1099511628211ull;
        }
    }
    return h;
}

// Whole levels for three seeds, worked out by a separate model of the
// generation rules (not this code): the prop tables in the order they were
// placed, the surface at a few columns, a hash of every cell's material and
// shade, and the world generator's state after the cell writes. Swapped draws,
// a shifted table boundary or cells written in another order all show here.
struct KnownLevel {
    uint32_t seed;
    std::array<int64_t, 13> surface;  // at KNOWN_COLUMNS
    std::vector<Barrel> barrels;
    std::vector<House> houses;
    std::vector<Tank> tanks;
    uint64_t cells;
    uint32_t world_rng;
};
constexpr std::array<int64_t, 13> KNOWN_COLUMNS = {214, 221, 400, 1100, 1130, 1164, 1300,
                                                   2000, 2500, 3081, 3090, 3100, 3399};

TEST(LevelGeneration, ThreeSeedsBuildTheirKnownLevels) {
    const KnownLevel known[] = {
    {1u,
     {242, 243, 239, 250, 242, 233, 242, 234, 233, 248, 246, 248, 248},
     {{960, 229, Material::Plasma}, {1208, 209, Material::Petrol}, {1538, 214, Material::Powder}, {1903, 226, Material::Water}, {2373, 212, Material::Lava}},
     {{1349, 203, 55, 27, 20}, {1699, 206, 70, 31, 20}, {2038, 215, 69, 31, 20}, {2475, 195, 77, 38, 19}, {2655, 200, 90, 33, 14}, {2839, 206, 56, 28, 13}},
     {{2201, 220, 35, 27, Material::Water}},
     0x6b43e7cc17f38011ull, 497566209u},
    {4242u,
     {242, 243, 239, 250, 242, 232, 241, 245, 249, 238, 238, 233, 233},
     {{960, 229, Material::Plasma}, {1762, 218, Material::Petrol}, {1861, 210, Material::Petrol}, {2119, 215, Material::Powder}, {2591, 218, Material::Petrol}},
     {{1208, 225, 71, 27, 16}, {1361, 204, 82, 30, 15}, {1562, 198, 72, 37, 18}, {2716, 212, 75, 29, 18}, {2921, 208, 88, 28, 17}},
     {{1995, 212, 35, 33, Material::Powder}, {2255, 214, 30, 33, Material::Acid}, {2420, 221, 41, 28, Material::Snow}},
     0xe08f5b693ba85e12ull, 3122631381u},
    {2000000000u,
     {242, 243, 239, 250, 241, 230, 238, 235, 254, 240, 236, 236, 236},
     {{960, 229, Material::Plasma}, {1205, 220, Material::Powder}, {1496, 213, Material::Petrol}, {1817, 224, Material::Powder}, {1971, 210, Material::Petrol}, {2114, 231, Material::Petrol}},
     {{1622, 203, 58, 38, 15}, {2232, 220, 83, 28, 13}, {2555, 214, 77, 38, 15}, {2755, 198, 59, 37, 18}, {2934, 207, 75, 28, 17}},
     {{1365, 202, 30, 33, Material::Powder}, {2414, 226, 37, 24, Material::Snow}},
     0xe7bcf50018d62c4bull, 1116465088u},
    };
    Generated g;
    for (const KnownLevel& k : known) {
        SCOPED_TRACE(::testing::Message() << "seed " << k.seed);
        g.run(k.seed);
        for (size_t i = 0; i < KNOWN_COLUMNS.size(); ++i) {
            EXPECT_EQ(g.surface(KNOWN_COLUMNS[i]), k.surface[i]) << "column " << KNOWN_COLUMNS[i];
        }
        const Level& l = *g.level;
        ASSERT_EQ(l.barrel_count, static_cast<int64_t>(k.barrels.size()));
        for (size_t i = 0; i < k.barrels.size(); ++i) {
            EXPECT_EQ(l.barrels[i].x, k.barrels[i].x) << "barrel " << i;
            EXPECT_EQ(l.barrels[i].y, k.barrels[i].y) << "barrel " << i;
            EXPECT_EQ(l.barrels[i].material, k.barrels[i].material) << "barrel " << i;
        }
        ASSERT_EQ(l.house_count, static_cast<int64_t>(k.houses.size()));
        for (size_t i = 0; i < k.houses.size(); ++i) {
            const House& h = l.houses[i];
            const House& e = k.houses[i];
            EXPECT_TRUE(h.x == e.x && h.y == e.y && h.width == e.width && h.height == e.height &&
                        h.roof_height == e.roof_height)
                << "house " << i << " at " << h.x << "," << h.y << " " << h.width << "x" << h.height << " roof "
                << h.roof_height;
        }
        ASSERT_EQ(l.tank_count, static_cast<int64_t>(k.tanks.size()));
        for (size_t i = 0; i < k.tanks.size(); ++i) {
            const Tank& t = l.tanks[i];
            const Tank& e = k.tanks[i];
            EXPECT_TRUE(t.x == e.x && t.y == e.y && t.width == e.width && t.height == e.height &&
                        t.material == e.material)
                << "tank " << i << " at " << t.x << "," << t.y << " " << t.width << "x" << t.height;
        }
        EXPECT_EQ(cell_hash(*g.world), k.cells) << std::hex << cell_hash(*g.world);
        EXPECT_EQ(g.world->rng_state, k.world_rng);
    }
}

TEST(LevelGeneration, WorldGeneratorIsAdvancedOnlyByTheCellWrites) {
    // The level draws from a copy of the seed: the first cells written (the
    // top of column 0) take the world generator's first draws.
    Generated g;
    g.run(5);
    EXPECT_EQ(cell_at(*g.world, 0, g.surface(0)).shade, lcg_next(5) >> 30);
    EXPECT_EQ(cell_at(*g.world, 0, g.surface(0) + 1).shade, lcg_next(lcg_next(5)) >> 30);
}

TEST(LevelGeneration, CaveIsTheSameInEveryGameAndOpenWhereTheDragonStarts) {
    Generated a, b;
    a.run(SEEDS[0]);
    b.run(SEEDS[3]);
    for (int64_t x = 0; x <= 1100; ++x) {
        ASSERT_EQ(a.surface(x), b.surface(x)) << x;
        for (int64_t y = 0; y < WORLD_H; ++y) ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
    }
    for (int64_t y = 0; y < a.surface(0); ++y) EXPECT_EQ(a.at(0, y), Material::Stone);  // left wall
    const int64_t top = a.surface(153) - PLAYER_H;
    for (int64_t y = top; y < top + PLAYER_H; ++y) {
        for (int64_t x = 154; x < 154 + PLAYER_W; ++x) ASSERT_EQ(a.at(x, y), Material::Empty);
    }
    // Shelves are flat; the pillar props the roof up from the first one.
    EXPECT_TRUE(flat(a.level->surface, 512, 546, a.surface(529)));
    EXPECT_TRUE(flat(a.level->surface, 778, 826, a.surface(802)));
    EXPECT_TRUE(flat(a.level->surface, 952, 988, a.surface(970)));
    EXPECT_EQ(a.at(528, a.surface(528) - 1), Material::Wood);
    EXPECT_EQ(a.at(528, 190), Material::Wood);
    // The plasma barrel waits on the last shelf.
    const Barrel& barrel = a.level->barrels[0];
    EXPECT_EQ(barrel.x, 960);
    EXPECT_EQ(barrel.y, a.surface(960) - BARREL_H);
    EXPECT_EQ(barrel.material, Material::Plasma);
    EXPECT_EQ(a.at(970, barrel.y), Material::Wood);
    EXPECT_EQ(a.at(960, barrel.y), Material::Empty);  // rounded corner
}

TEST(LevelGeneration, CaveFloorFadesInAndRoundsTowardZero) {
    // Heights worked out by hand from the bump hash; the cave is the same in every game.
    Generated g;
    g.run(SEEDS[1]);
    EXPECT_EQ(g.surface(214), 242);
    EXPECT_EQ(g.surface(215), 242);  // the fade starts at nothing even on a 4-cell bump
    EXPECT_EQ(g.surface(220), 242);  // 3 * 5 / 36 + 0.5 stays below 1
    EXPECT_EQ(g.surface(221), 243);  // 3 * 6 / 36 + 0.5 is exactly 1
    EXPECT_EQ(g.surface(237), 244);
    EXPECT_EQ(g.surface(250), 248);  // last faded column: 6 * 35 / 36
    EXPECT_EQ(g.surface(251), 248);  // unfaded from here on
    EXPECT_EQ(g.surface(253), 249);
    EXPECT_EQ(g.surface(300), 242);  // -0.22 cuts to 0, not -1
    EXPECT_EQ(g.surface(400), 239);  // -3.96 cuts to -3, not -4
}

TEST(LevelGeneration, CaveRoofThinsToNothingAtTheMouthAndTheLeftWallIsTwelveThick) {
    Generated g;
    g.run(SEEDS[0]);
    auto roof_bottom = [&g](int64_t x) {
        int64_t y = 0;
        while (y < WORLD_H && g.at(x, y) == Material::Stone) ++y;
        return y - 1;
    };
    EXPECT_EQ(roof_bottom(0), WORLD_H - 1);  // the wall meets the stone floor
    EXPECT_EQ(roof_bottom(11), WORLD_H - 1);
    EXPECT_EQ(roof_bottom(12), 167);  // open below the roof from here on
    EXPECT_EQ(roof_bottom(17), 169);
    EXPECT_EQ(roof_bottom(879), 172);
    EXPECT_EQ(roof_bottom(880), 176);  // full thickness where the thinning starts
    EXPECT_EQ(roof_bottom(990), 86);   // halfway: 171 * 0.5 + 0.5
    EXPECT_EQ(roof_bottom(1099), 0);   // a single row left near the mouth
    EXPECT_EQ(roof_bottom(1100), 0);
    EXPECT_EQ(g.at(1100, 1), Material::Empty);
}

TEST(BaseProfile, SegmentsRunFromTheLastTargetToTheNextUntilTheRightEdge) {
    for (uint32_t seed : SEEDS) {
        Surface s{};
        const uint32_t returned = shape_base_profile(s, seed);
        EXPECT_TRUE(flat(s, 0, 120, 242));
        uint32_t r = seed;
        int64_t start = 120, h0 = 242, segments = 0;
        for (;;) {
            r = lcg_next(r);
            const int64_t length = r % 27 + 32;  // first draw: the length
            r = lcg_next(r);
            const int64_t h1 = r % 27 + 229;     // second draw: the target height
            const int64_t end = std::min<int64_t>(start + length, WORLD_W);
            ASSERT_EQ(s[size_t(start)], h0) << seed << " segment " << segments;
            if ((end - start) % 2 == 0) {
                // The curve passes exactly half-way at the segment's middle.
                const float half = 0.5f * float(h1 - h0) + float(h0);
                EXPECT_EQ(s[size_t(start + (end - start) / 2)], int64_t(half + 0.5f)) << seed;
            }
            ++segments;
            if (start + length > WORLD_W - 1) break;
            start = end, h0 = h1;
        }
        EXPECT_EQ(returned, r) << seed;  // two draws per segment, nothing else
        EXPECT_GT(segments, 50);
        for (int64_t v : s) {
            ASSERT_GE(v, 229);
            ASSERT_LE(v, 255);
        }
    }
}

TEST(LevelGeneration, PropsStandApartOnFlatGroundBetweenCaveMouthAndArena) {
    Generated g;
    for (uint32_t seed : SEEDS) {
        g.run(seed);
        const Level& l = *g.level;
        struct Box { int64_t x, w, bottom; };
        std::vector<Box> props;
        for (int64_t i = 0; i < l.house_count; ++i) {
            const House& h = l.houses[size_t(i)];
            props.push_back({h.x, h.width, h.y + h.height});
            EXPECT_EQ(g.at(h.x + h.width / 2, h.y - 1), Material::Wood);               // roof
            EXPECT_EQ(g.at(h.x + h.width / 2, h.y + h.height - 1), Material::Empty);   // door
        }
        for (int64_t i = 0; i < l.tank_count; ++i) {
            const Tank& t = l.tanks[size_t(i)];
            props.push_back({t.x, t.width, t.y + t.height});
        }
        for (int64_t i = 1; i < l.barrel_count; ++i) props.push_back({l.barrels[size_t(i)].x, BARREL_W, l.barrels[size_t(i)].y + BARREL_H});
        std::sort(props.begin(), props.end(), [](const Box& p, const Box& q) { return p.x < q.x; });
        ASSERT_FALSE(props.empty());
        EXPECT_GE(props.front().x, 1195) << seed;
        EXPECT_LE(props.front().x, 1229) << seed;
        for (size_t i = 0; i < props.size(); ++i) {
            EXPECT_LT(props[i].x, 2970) << seed;
            EXPECT_TRUE(flat(l.surface, props[i].x, props[i].x + props[i].w, props[i].bottom)) << seed;
            if (i > 0) {
                EXPECT_GE(props[i].x, props[i - 1].x + props[i - 1].w + 78) << seed;
            }
        }
    }
}

TEST(LevelGeneration, TanksFillOnlyTheirLowerTwoThirdsAndOnlyTheContentIsAwake) {
    Generated g;
    int tanks_seen = 0;
    for (uint32_t seed : SEEDS) {
        g.run(seed);
        int64_t content_cells = 0;
        for (int64_t k = 0; k < g.level->tank_count; ++k, ++tanks_seen) {
            const Tank& t = g.level->tanks[size_t(k)];
            for (int64_t i = 2; i < t.width - 2; ++i) {
                for (int64_t j = 2; j < t.height - 2; ++j) {
                    ASSERT_EQ(g.at(t.x + i, t.y + j), j < t.height / 3 ? Material::Empty : t.material);
                }
                const bool rim = i < 5 || i >= t.width - 5;
                EXPECT_EQ(g.at(t.x + i, t.y), rim ? Material::Glass : Material::Empty);
                EXPECT_EQ(g.at(t.x + i, t.y + t.height - 1), Material::Glass);
            }
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
        ASSERT_NE(g.at(x, g.surface(x)), Material::Empty) << x;
        ASSERT_EQ(g.at(x, WORLD_H - 1), Material::Stone) << x;
    }
    EXPECT_EQ(g.at(500, g.surface(500) + 5), Material::Stone);  // bare stone in the cave
    for (int64_t x = 1196; x < WORLD_W; x += 97) {
        const int64_t s = g.surface(x);
        EXPECT_EQ(g.at(x, s + 1), Material::Grass) << x;
        EXPECT_EQ(g.at(x, s + 2), Material::Ground) << x;
        EXPECT_EQ(g.at(x, s + 17), Material::Ground) << x;
        EXPECT_EQ(g.at(x, s + 18), Material::Stone) << x;
    }
    // The cave mouth turns from stone through ground into grass.
    bool ground_top = false;
    for (int64_t x = 1101; x <= 1195; ++x) ground_top |= g.at(x, g.surface(x)) == Material::Ground;
    EXPECT_TRUE(ground_top);
    EXPECT_EQ(g.at(1101, g.surface(1101)), Material::Stone);
    EXPECT_EQ(g.at(1195, g.surface(1195)), Material::Grass);
}

TEST(LevelGeneration, BossArenaIsFlatAtTheHeightItsMiddleHadBefore) {
    Generated g;
    for (uint32_t seed : SEEDS) {
        Surface base{};
        shape_base_profile(base, seed);
        g.run(seed);
        const int64_t p = base[3250];
        EXPECT_TRUE(flat(g.level->surface, 3100, WORLD_W, p)) << seed;
        EXPECT_EQ(g.surface(3081), base[3081]);
        for (int64_t x = 3082; x < 3100; ++x) {
            EXPECT_GE(g.surface(x), std::min(base[size_t(x)], p));
            EXPECT_LE(g.surface(x), std::max(base[size_t(x)], p));
        }
    }
}

TEST(FlattenTerrain, RampsEighteenColumnsEachSideOfTheShelf) {
    Surface s{};
    for (size_t x = 0; x < s.size(); ++x) s[x] = 240 - int64_t(x % 3);
    s[520] = 221;  // the middle of 500..540 sets the height
    const Surface before = s;
    EXPECT_EQ(flatten_terrain(s, 500, 540), 221);
    EXPECT_EQ(s[481], before[481]);
    EXPECT_EQ(s[482], before[482]);  // w = 0
    EXPECT_EQ(s[491], 230);          // 0.5 * 221 + 0.5 * 238 = 229.5 rounds up
    EXPECT_EQ(s[499], 222);          // w = 17/18: 208.7 + 13.2
    EXPECT_TRUE(flat(s, 500, 541, 221));  // w = 1 at the end column
    EXPECT_EQ(s[557], 237);          // w = 1/18: 12.3 + 224.8
    EXPECT_EQ(s[558], before[558]);
}

TEST(FlattenTerrain, ClampsAtBothEdgesOfTheGrid) {
    Surface s{};
    s.fill(200);
    s[2] = 230;  // a negative start is clamped to 0 before the middle is taken
    EXPECT_EQ(flatten_terrain(s, -5, 5), 230);
    EXPECT_TRUE(flat(s, 0, 6, 230));
    s.fill(200);
    s[10] = 236;
    flatten_terrain(s, 5, 15);
    EXPECT_EQ(s[0], 226);  // the ramp starts off the grid: w = 13/18 at column 0
    s.fill(200);
    s[3390] = 220;
    flatten_terrain(s, 3385, 3395);
    EXPECT_TRUE(flat(s, 3385, 3396, 220));
    EXPECT_EQ(s[3399], 216);  // w = 14/18, and nothing is written past the edge
}

TEST(PropsWalk, FullTablesPlaceNothingButStillAdvanceByABarrelAndTheGap) {
    auto level = std::make_unique<Level>();
    level->surface.fill(240);
    level->house_count = MAX_HOUSES;
    level->tank_count = MAX_TANKS;
    level->barrel_count = MAX_BARRELS;
    const uint32_t seed = 2024;
    // Each stop now draws only its kind roll and its gap.
    uint32_t r = lcg_next(seed);
    int stops = 0;
    for (int64_t x = r % 35 + 1195; x < 2970; ++stops) {
        r = lcg_next(lcg_next(r));
        x += 20 + r % 70 + 78;
    }
    EXPECT_EQ(place_props(*level, seed), r);
    EXPECT_GT(stops, 10);
    EXPECT_EQ(level->barrel_count, MAX_BARRELS);
    EXPECT_TRUE(flat(level->surface, 0, WORLD_W, 240));
}

// The n-th draw of the level generator after `state`.
uint32_t nth_draw(uint32_t state, int n) {
    for (int i = 0; i < n; ++i) state = lcg_next(state);
    return state;
}

// The first seed from 1 up whose draws satisfy `wanted`.
template <typename Wanted>
uint32_t first_seed(Wanted wanted) {
    uint32_t s = 1;
    while (!wanted(s)) ++s;
    return s;
}

// A walk over flat ground from a seed picked so that its first stop rolls a
// chosen number. Draws: 1 start column, 2 the kind roll, then for a barrel
// 3 its content, for a tank 3 width, 4 height, 5 content.
std::unique_ptr<Level> walk(uint32_t seed, bool houses_full, bool tanks_full) {
    auto level = std::make_unique<Level>();
    level->surface.fill(240);
    level->house_count = houses_full ? MAX_HOUSES : 0;
    level->tank_count = tanks_full ? MAX_TANKS : 0;
    place_props(*level, seed);
    return level;
}

TEST(PropsWalk, AStopsKindRollPicksHouseTankOrBarrelAtItsBoundaries) {
    enum class Kind { House, Tank, Barrel };
    const std::pair<uint32_t, Kind> rolls[] = {{0, Kind::House},  {29, Kind::House}, {30, Kind::Tank},
                                               {54, Kind::Tank},  {55, Kind::Barrel}, {99, Kind::Barrel}};
    for (const auto& [roll, kind] : rolls) {
        const uint32_t seed = first_seed([roll = roll](uint32_t s) { return nth_draw(s, 2) % 100 == roll; });
        const auto level = walk(seed, false, false);
        const int64_t x0 = nth_draw(seed, 1) % 35 + 1195;
        EXPECT_EQ(level->house_count > 0 && level->houses[0].x == x0, kind == Kind::House) << roll;
        EXPECT_EQ(level->tank_count > 0 && level->tanks[0].x == x0, kind == Kind::Tank) << roll;
        EXPECT_EQ(level->barrel_count > 0 && level->barrels[0].x == x0, kind == Kind::Barrel) << roll;
    }
}

TEST(PropsWalk, BarrelContentsFollowTheRollOutOf112) {
    // Both ends of every band.
    const std::pair<uint32_t, Material> bands[] = {
        {0, Material::Sand},     {2, Material::Sand},     {3, Material::Water},   {9, Material::Water},
        {10, Material::Stone},   {11, Material::Smoke},   {13, Material::Smoke},  {14, Material::Wood},
        {15, Material::Steam},   {17, Material::Steam},   {18, Material::Plasma}, {29, Material::Plasma},
        {30, Material::Lava},    {33, Material::Lava},    {34, Material::Powder}, {58, Material::Powder},
        {59, Material::Boom},    {61, Material::Boom},    {62, Material::Petrol}, {86, Material::Petrol},
        {87, Material::Acid},    {98, Material::Acid},    {99, Material::Iron},   {100, Material::Snow},
        {106, Material::Snow},   {107, Material::Potion}, {111, Material::Potion},
    };
    for (const auto& [v, material] : bands) {
        const uint32_t seed = first_seed([v = v](uint32_t s) { return nth_draw(s, 3) % 112 == v; });
        const auto level = walk(seed, true, true);
        ASSERT_GT(level->barrel_count, 0);
        EXPECT_EQ(level->barrels[0].material, material) << "roll " << v;
    }
}

TEST(PropsWalk, TankContentsFollowTheRollOutOfSix) {
    const Material contents[] = {Material::Water, Material::Petrol, Material::Acid,
                                 Material::Sand,  Material::Powder, Material::Snow};
    for (uint32_t k = 0; k < 6; ++k) {
        const uint32_t seed = first_seed(
            [k](uint32_t s) { return nth_draw(s, 2) % 100 <= 54 && nth_draw(s, 5) % 6 == k; });
        const auto level = walk(seed, true, false);
        ASSERT_GT(level->tank_count, 0);
        EXPECT_EQ(level->tanks[0].material, contents[k]) << "roll " << k;
    }
}

TEST(PropsWalk, TablesNeverGrowPastCapacity) {
    for (uint32_t seed : SEEDS) {
        auto level = std::make_unique<Level>();
        level->surface.fill(240);
        level->house_count = MAX_HOUSES;    // house stops become tanks...
        level->tank_count = MAX_TANKS - 1;  // ...until the tank table fills too
        level->barrel_count = MAX_BARRELS - 2;
        place_props(*level, seed);
        EXPECT_EQ(level->house_count, MAX_HOUSES);
        EXPECT_EQ(level->tank_count, MAX_TANKS);
        EXPECT_EQ(level->barrel_count, MAX_BARRELS);
    }
}

TEST(BarrelShape, CoversOnlyCellsOfTheOutlineInsideItsBox) {
    EXPECT_FALSE(barrel_shape_covers(4, 0));
    EXPECT_TRUE(barrel_shape_covers(14, 0));
    EXPECT_FALSE(barrel_shape_covers(0, 16));
    EXPECT_TRUE(barrel_shape_covers(17, 23));
    EXPECT_FALSE(barrel_shape_covers(-1, 10));
    EXPECT_FALSE(barrel_shape_covers(20, 10));
    EXPECT_FALSE(barrel_shape_covers(10, 24));
}

}  // namespace
