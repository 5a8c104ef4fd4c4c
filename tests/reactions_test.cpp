// Heat, phase changes, burning, corrosion and explosions.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "../tools/scenario/scenarios.h"
#include "test_game.h"
#include "world/player_particles.h"
#include "world/reactions.h"

namespace {

using scenario::fill_rect;

class Reactions : public ::testing::Test {
protected:
    WorldPtr world = make_empty_world(777);
    World& w() { return *world; }
    Cell& at(int64_t x, int64_t y) { return cell_at(w(), x, y); }
    void steps(int n) {
        for (int i = 0; i < n; ++i) step_world(w());
    }
    // Makes the given cells the only ones on the list for the next update.
    void only_turns(std::initializer_list<std::pair<int64_t, int64_t>> cells) {
        auto& list = w().active[w().active_sel];
        w().active_count = 0;
        for (const auto& [x, y] : cells) list[static_cast<size_t>(w().active_count++)] = static_cast<int32_t>(cell_index(x, y));
    }
};

int64_t count_of(const World& w, Material m) {
    int64_t n = 0;
    for (const Cell& c : w.cells) n += c.material == m;
    return n;
}

// Heat exchange.

TEST_F(Reactions, LavaPassesAtMostThreeDegreesPerExchange) {
    set_cell(w(), 10, 299, Material::Stone);
    set_cell(w(), 11, 299, Material::Lava);
    set_cell(w(), 12, 299, Material::Stone);  // walls keep the lava in place
    step_world(w());
    EXPECT_EQ(at(10, 299).temperature, 23);
    int32_t before = at(10, 299).temperature;
    for (int i = 0; i < 40; ++i) {
        step_world(w());
        const int32_t now = at(10, 299).temperature;
        // Two exchanges a tick (the lava's turn and the stone's), minus cooling.
        EXPECT_LE(now - before, 6);
        EXPECT_GT(now, before);
        before = now;
    }
    EXPECT_EQ(at(10, 299).material, Material::Stone);
}

TEST_F(Reactions, IronTakesHeatTwiceAsFastAsStone) {
    set_cell(w(), 10, 10, Material::Stone);
    set_cell(w(), 11, 10, Material::Stone);
    set_cell(w(), 30, 10, Material::Stone);
    set_cell(w(), 31, 10, Material::Iron);
    at(10, 10).temperature = 500;
    at(30, 10).temperature = 500;
    enqueue_cell(w(), 10, 10);
    enqueue_cell(w(), 30, 10);
    step_world(w());
    EXPECT_EQ(at(11, 10).temperature, 20 + 480 / 8);
    EXPECT_EQ(at(31, 10).temperature, 20 + 480 / 4);
}

TEST_F(Reactions, SmallDifferencesDoNotFlowAndAirTakesNoHeat) {
    set_cell(w(), 10, 10, Material::Snow);
    set_cell(w(), 11, 10, Material::Stone);
    at(10, 10).temperature = 13;  // 7 below the stone
    enqueue_cell(w(), 10, 10);
    step_world(w());
    EXPECT_EQ(at(11, 10).temperature, 20);
    // Snow alone at the bottom of the world stays as cold as it was born.
    set_cell(w(), 200, 299, Material::Snow);
    steps(50);
    EXPECT_EQ(at(200, 299).temperature, -10);
    EXPECT_EQ(at(200, 299).material, Material::Snow);
}

TEST_F(Reactions, SnowAtTheBottomOfAPoolWarmsAndMeltsAtFive) {
    fill_rect(w(), 10, 290, 1, 10, Material::Glass);
    fill_rect(w(), 30, 290, 1, 10, Material::Glass);
    fill_rect(w(), 11, 292, 19, 8, Material::Water);
    set_cell(w(), 20, 299, Material::Snow);
    step_world(w());
    // Warmed by the water around it, but not yet to its melting point.
    ASSERT_EQ(at(20, 299).material, Material::Snow);
    EXPECT_GT(at(20, 299).temperature, -10);
    EXPECT_LT(at(20, 299).temperature, 5);
    step_world(w());
    EXPECT_EQ(at(20, 299).material, Material::Water);
    EXPECT_EQ(at(20, 299).temperature, 20);
}

// Phase changes and the origin memory.

TEST_F(Reactions, MoltenIronSetsBackIntoIronAndMoltenStoneIntoStone) {
    // Cooling runs before the melting rule: start a little above the threshold.
    set_cell(w(), 10, 299, Material::Iron);
    at(10, 299).temperature = 1530;
    set_cell(w(), 30, 299, Material::Stone);
    at(30, 299).temperature = 1230;
    enqueue_cell(w(), 10, 299);
    enqueue_cell(w(), 30, 299);
    step_world(w());
    ASSERT_EQ(at(10, 299).material, Material::Lava);
    EXPECT_EQ(at(10, 299).origin, Material::Iron);
    ASSERT_EQ(at(30, 299).material, Material::Lava);
    EXPECT_EQ(at(30, 299).origin, Material::Lava);
    // Glass walls keep both in place while they cool.
    for (int64_t x : {9, 11, 29, 31}) set_cell(w(), x, 299, Material::Glass);
    at(10, 299).temperature = 401;
    at(30, 299).temperature = 401;
    for (int i = 0; i < 12 && at(10, 299).material == Material::Lava; ++i) step_world(w());
    EXPECT_EQ(at(10, 299).material, Material::Iron);
    EXPECT_EQ(at(30, 299).material, Material::Stone);
}

TEST_F(Reactions, BoiledAcidCondensesBackIntoAcid) {
    set_cell(w(), 50, 50, Material::Acid);
    at(50, 50).temperature = 130;
    set_cell(w(), 80, 50, Material::Water);
    at(80, 50).temperature = 110;
    step_world(w());
    ASSERT_EQ(at(50, 50).material, Material::Steam);
    EXPECT_EQ(at(50, 50).origin, Material::Acid);
    ASSERT_EQ(at(80, 50).material, Material::Steam);
    EXPECT_EQ(at(80, 50).origin, Material::Steam);
    // At the end of its life the steam rains back down as what it was.
    at(50, 50).life = 1;
    at(80, 50).life = 1;
    steps(2);
    EXPECT_EQ(count_of(w(), Material::Acid), 1);
    EXPECT_EQ(count_of(w(), Material::Water), 1);
    EXPECT_EQ(count_of(w(), Material::Steam), 0);
}

// Hot lava boils the liquids beside it at once; acid boiled that way must
// still come back as acid, water as water.
TEST_F(Reactions, AcidBoiledByHotLavaCondensesBackIntoAcid) {
    set_cell(w(), 50, 299, Material::Lava);
    set_cell(w(), 49, 299, Material::Acid);
    set_cell(w(), 51, 299, Material::Water);
    only_turns({{50, 299}});
    step_world(w());
    ASSERT_EQ(at(49, 299).material, Material::Steam);
    EXPECT_EQ(at(49, 299).origin, Material::Acid);
    ASSERT_EQ(at(51, 299).material, Material::Steam);
    EXPECT_EQ(at(51, 299).origin, Material::Steam);
    // Take the lava away so nothing boils them again, and let both run out.
    set_cell(w(), 50, 299, Material::Empty);
    at(49, 299).life = 1;
    at(51, 299).life = 1;
    steps(2);
    EXPECT_EQ(count_of(w(), Material::Acid), 1);
    EXPECT_EQ(count_of(w(), Material::Water), 1);
    EXPECT_EQ(count_of(w(), Material::Steam), 0);
}

TEST_F(Reactions, ThresholdsTurnEachMaterialIntoTheNext) {
    // Cooling runs first: a cell at t >= 21 loses max(1, (t - 20) / 60), so
    // each start is the temperature that cools onto (or just below) the threshold.
    struct Case {
        Material from;
        int32_t start;
        Material to;
    };
    const Case cases[] = {
        {Material::Water, 101, Material::Steam},   // 101 - 1 = 100
        {Material::Water, 100, Material::Water},   // 99
        {Material::Smoke, 508, Material::Fire},    // 508 - 488 / 60 = 500
        {Material::Smoke, 507, Material::Smoke},   // 507 - 8 = 499
        {Material::Powder, 86, Material::Boom},    // 85
        {Material::Powder, 85, Material::Powder},  // 84
        {Material::Petrol, 81, Material::Boom},    // 80
        {Material::Petrol, 80, Material::Petrol},  // 79
        {Material::Snow, 5, Material::Water},      // no cooling below 21
        {Material::Snow, 4, Material::Snow},
        {Material::Stone, 1220, Material::Lava},   // 1220 - 20 = 1200
        {Material::Stone, 1218, Material::Stone},  // 1218 - 19 = 1199
        {Material::Iron, 1525, Material::Lava},    // 1525 - 25 = 1500
        {Material::Iron, 1524, Material::Iron},    // 1524 - 25 = 1499
        {Material::Acid, 121, Material::Steam},    // 120
        {Material::Acid, 120, Material::Acid},     // 119
    };
    int64_t x = 10;
    for (const Case& c : cases) {
        set_cell(w(), x, 100, c.from);
        at(x, 100).temperature = c.start;
        enqueue_cell(w(), x, 100);  // solids are not queued by set_cell
        x += 20;
    }
    step_world(w());
    x = 10;
    for (const Case& c : cases) {
        // The unchanged cell may have moved a cell; the changed one stays put.
        bool found = false;
        for (int64_t dy = -1; dy <= 1; ++dy) {
            for (int64_t dx = -1; dx <= 1; ++dx) found = found || at(x + dx, 100 + dy).material == c.to;
        }
        EXPECT_TRUE(found) << "material " << int(c.from) << " from " << c.start;
        x += 20;
    }
}

// Lava, fire and burning.

TEST_F(Reactions, HotLavaBoilsWaterDetonatesPetrolAndLightsWood) {
    set_cell(w(), 50, 299, Material::Lava);
    set_cell(w(), 49, 299, Material::Water);
    set_cell(w(), 51, 299, Material::Petrol);
    set_cell(w(), 50, 298, Material::Wood);
    only_turns({{50, 299}});
    w().tick = 2;  // update tick 3: no extra cooling of the lava
    step_world(w());
    EXPECT_EQ(at(49, 299).material, Material::Steam);
    EXPECT_EQ(at(51, 299).material, Material::Boom);
    EXPECT_TRUE(at(50, 298).burning);
    EXPECT_GE(at(50, 298).temperature, 180);
    // Three neighbours each took 3 degrees by exchange, two boilings cost 3 each.
    EXPECT_EQ(at(50, 299).temperature, 950 - 3 * 3 - 2 * 3);
}

TEST_F(Reactions, FireAndWaterTurnIntoSmokeAndSteamTogether) {
    set_cell(w(), 20, 20, Material::Fire);
    set_cell(w(), 21, 20, Material::Water);
    only_turns({{20, 20}});
    step_world(w());
    EXPECT_EQ(at(20, 20).material, Material::Smoke);
    EXPECT_EQ(at(21, 20).material, Material::Steam);
}

TEST_F(Reactions, WoodBesideFireWarmsByMoreThanTheExchangeAndCatches) {
    set_cell(w(), 20, 21, Material::Wood);
    set_cell(w(), 20, 20, Material::Fire);
    at(20, 20).life = 40;
    only_turns({{20, 20}});
    step_world(w());
    // Exchange 300 / 8 = 37, plus 22 from the flame.
    EXPECT_EQ(at(20, 21).temperature, 20 + 37 + 22);
    EXPECT_FALSE(at(20, 21).burning);
    steps(3);
    EXPECT_TRUE(at(20, 21).burning);
}

TEST_F(Reactions, WoodBurnsForFiftyUpdatesThenTurnsToSmokeAndGrassToGround) {
    set_cell(w(), 20, 100, Material::Wood);
    set_cell(w(), 40, 100, Material::Grass);
    at(20, 100).burning = true;
    at(40, 100).burning = true;
    enqueue_cell(w(), 20, 100);
    enqueue_cell(w(), 40, 100);
    steps(49);
    EXPECT_EQ(at(20, 100).material, Material::Wood);
    EXPECT_EQ(at(20, 100).progress, 98);
    EXPECT_GT(count_of(w(), Material::Fire), 0);  // flames thrown up while burning
    step_world(w());
    EXPECT_EQ(at(20, 100).material, Material::Smoke);
    EXPECT_EQ(at(40, 100).material, Material::Ground);
    EXPECT_FALSE(at(40, 100).burning);
}

TEST_F(Reactions, GasesRunOutOfLife) {
    set_cell(w(), 10, 50, Material::Smoke);
    set_cell(w(), 30, 50, Material::Plasma);
    set_cell(w(), 50, 50, Material::Steam);
    at(10, 50).life = 1;
    at(30, 50).life = 1;
    at(50, 50).life = 1;
    step_world(w());
    EXPECT_EQ(count_of(w(), Material::Smoke), 0);
    EXPECT_EQ(count_of(w(), Material::Plasma), 0);
    // Steam waits one more update and then condenses.
    EXPECT_EQ(count_of(w(), Material::Steam), 1);
    step_world(w());
    EXPECT_EQ(count_of(w(), Material::Water), 1);
}

// Remains, blood and potion lose one life per update and are looked at every
// update until they are gone, however long they have lain still.
TEST_F(Reactions, RemainsBloodAndPotionSoakAwayAndStayListedUntilGone) {
    const Material decaying[] = {Material::KnightDebris, Material::OgreDebris, Material::Blood,
                                 Material::Potion};
    int64_t x = 10;
    for (Material m : decaying) {
        // In the bottom row between stone walls: nowhere to go.
        set_cell(w(), x - 1, 299, Material::Stone);
        set_cell(w(), x, 299, m);
        set_cell(w(), x + 1, 299, Material::Stone);
        at(x, 299).life = 3;
        at(x, 299).rest_frames = 200;
        x += 10;
    }
    // Sand lying just as still, for comparison: it goes to sleep.
    set_cell(w(), x - 1, 299, Material::Stone);
    set_cell(w(), x, 299, Material::Sand);
    set_cell(w(), x + 1, 299, Material::Stone);
    at(x, 299).rest_frames = 200;
    const int64_t sand_x = x;
    const auto listed = [this](int64_t cx) {
        const auto& list = w().active[w().active_sel];
        for (int64_t i = 0; i < w().active_count; ++i) {
            if (list[static_cast<size_t>(i)] == cell_index(cx, 299)) return true;
        }
        return false;
    };
    for (int16_t life : {2, 1}) {
        step_world(w());
        x = 10;
        for (Material m : decaying) {
            EXPECT_EQ(at(x, 299).material, m) << int(m);
            EXPECT_EQ(at(x, 299).life, life) << int(m);
            EXPECT_TRUE(listed(x)) << int(m) << " at life " << life;
            x += 10;
        }
        EXPECT_FALSE(listed(sand_x));
    }
    step_world(w());
    x = 10;
    for (Material m : decaying) {
        EXPECT_EQ(at(x, 299).material, Material::Empty) << int(m);
        x += 10;
    }
}

// Corrosion and plasma.

TEST_F(Reactions, AcidBitesOnEvenTicksAndAgesFasterForIt) {
    set_cell(w(), 50, 299, Material::Stone);
    set_cell(w(), 50, 298, Material::Acid);
    const int16_t life = at(50, 298).life;
    // Update tick 1 (odd): touches, ages by one, no bite.
    step_world(w());
    EXPECT_EQ(at(50, 298).progress, 1);
    EXPECT_EQ(at(50, 298).life, life - 1);
    EXPECT_EQ(at(50, 299).integrity, 10);
    // Tick 2 (even): ages and bites.
    step_world(w());
    EXPECT_EQ(at(50, 298).life, life - 2 - 4);
    EXPECT_EQ(at(50, 299).integrity, 9);
    // The acid keeps eating until one of them is gone.
    steps(60);
    EXPECT_TRUE(at(50, 298).material == Material::Empty || at(50, 299).material == Material::Empty);
}

int64_t empties_in(const World& w, int64_t x0, int64_t y0, int64_t width, int64_t height) {
    int64_t n = 0;
    for (int64_t y = y0; y < y0 + height; ++y) {
        for (int64_t x = x0; x < x0 + width; ++x) n += cell_at(w, x, y).material == Material::Empty;
    }
    return n;
}

TEST_F(Reactions, PlasmaEatsOneCellPerUpdateAndTenInAll) {
    fill_rect(w(), 50, 50, 41, 41, Material::Stone);
    set_cell(w(), 70, 70, Material::Plasma);
    at(70, 70).life = 200;  // it must wear out by eating, not by age
    at(70, 70).life_max = 200;
    step_world(w());
    EXPECT_EQ(at(70, 69).material, Material::Empty);  // the first neighbour: up
    EXPECT_EQ(at(70, 70).integrity, 9);
    step_world(w());
    EXPECT_EQ(empties_in(w(), 50, 50, 41, 41), 2);
    steps(60);
    EXPECT_EQ(count_of(w(), Material::Plasma), 0);
    // Ten bites and the plasma's own cell.
    EXPECT_EQ(empties_in(w(), 50, 50, 41, 41), 11);
}

TEST_F(Reactions, PlasmaInOpenAirLivesOutItsLife) {
    set_cell(w(), 70, 200, Material::Plasma);
    const int16_t life = at(70, 200).life;
    steps(life - 1);
    EXPECT_EQ(count_of(w(), Material::Plasma), 1);
    step_world(w());
    EXPECT_EQ(count_of(w(), Material::Plasma), 0);
}

// Explosions.

TEST_F(Reactions, ABoomBurstsOnceReachesTwentyCellsAndLivesOutEightUpdates) {
    fill_rect(w(), 0, 150, 400, 150, Material::Stone);
    set_cell(w(), 200, 149, Material::Boom);
    step_world(w());
    EXPECT_EQ(w().explosion_count, 1);
    EXPECT_EQ(w().particle_count, 48);
    EXPECT_LT(count_of(w(), Material::Stone), 400 * 150);
    // Nothing beyond the radius is touched.
    EXPECT_EQ(at(200, 170).material, Material::Stone);
    EXPECT_EQ(at(221, 150).material, Material::Stone);
    // The spent Boom lives out its eight updates as a gas.
    EXPECT_EQ(count_of(w(), Material::Boom), 1);
    steps(8);
    EXPECT_EQ(count_of(w(), Material::Boom), 0);
    EXPECT_EQ(w().explosion_count, 1);
}

// A seed whose first draw has the given remainder mod 100.
uint32_t seed_drawing(uint32_t remainder) {
    uint32_t s = 1;
    while (lcg_next(s) % 100 != remainder) ++s;
    return s;
}

// A Boom at (100, 100) in a square of fire (which the blast leaves alone and
// which draws nothing, and which leaves a survivor nowhere to be pushed), with
// the spark list full (no burst draws): the blast's first draw is the roll for
// the one other cell, `q` at (100 + dx, 100 + dy). Returns whether that roll
// destroyed it.
bool blast_destroys(Material q, int64_t dx, int64_t dy, uint32_t roll) {
    WorldPtr world = make_empty_world();
    World& w = *world;
    fill_rect(w, 78, 78, 45, 45, Material::Fire);
    set_cell(w, 100, 100, Material::Boom);
    set_cell(w, 100 + dx, 100 + dy, q);
    for (Particle& p : w.particles) p.life = 50;
    w.particle_count = MAX_PARTICLES;
    w.active_count = 1;
    w.active[w.active_sel][0] = static_cast<int32_t>(cell_index(100, 100));
    w.rng_state = seed_drawing(roll);
    step_world(w);
    EXPECT_EQ(w.explosion_count, 1);
    return cell_at(w, 100 + dx, 100 + dy).material == Material::Empty;
}

// Destruction chance in percent at d2 = 1, 100 and 400 (power 99, 75 and 0),
// worked out by hand from each material's rule.
TEST(BlastChance, EachMaterialGoesWithItsOwnChanceAtEachDistance) {
    struct Case {
        Material q;
        int64_t dy;       // straight below the centre: d2 = dy * dy
        uint32_t chance;  // destroyed when the roll is below this
    };
    const Case cases[] = {
        {Material::Stone, 1, 52},  {Material::Stone, 10, 40},  {Material::Stone, 20, 3},   // (400 - d2) / 8 + 3
        {Material::Iron, 1, 22},   {Material::Iron, 10, 17},   {Material::Iron, 20, 1},    // p * 22 / 100 + 1
        {Material::Ground, 1, 62}, {Material::Ground, 10, 48}, {Material::Ground, 20, 5},  // p * 58 / 100 + 5
        {Material::Grass, 1, 87},  {Material::Grass, 10, 70},  {Material::Grass, 20, 18},  // p * 70 / 100 + 18
        {Material::Glass, 1, 94},  {Material::Glass, 10, 77},  {Material::Glass, 20, 25},  // p * 70 / 100 + 25
        {Material::Wood, 10, 76},  {Material::Wood, 20, 20},                              // p * 75 / 100 + 20
        {Material::Sand, 1, 81},   {Material::Sand, 10, 64},   {Material::Sand, 20, 12},   // p * 70 / 100 + 12
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "material " << int(c.q) << " at d2 " << c.dy * c.dy);
        EXPECT_TRUE(blast_destroys(c.q, 0, c.dy, c.chance - 1));
        EXPECT_FALSE(blast_destroys(c.q, 0, c.dy, c.chance));
    }
}

TEST(BlastChance, WoodCloserThanD2Of82GoesWithoutARoll) {
    EXPECT_TRUE(blast_destroys(Material::Wood, 0, 1, 99));
    EXPECT_TRUE(blast_destroys(Material::Wood, 9, 0, 99));  // d2 81
    // d2 82: power 79, chance 79 * 75 / 100 + 20 = 79.
    EXPECT_TRUE(blast_destroys(Material::Wood, 9, 1, 78));
    EXPECT_FALSE(blast_destroys(Material::Wood, 9, 1, 79));
}

// Water that survives the blast at d2 324 (chance 19 * 70 / 100 + 12 = 25) is
// shoved one cell outward, unless that cell is part of a body. Left of the
// centre, so that the sweep has passed the cell it is shoved into.
bool water_pushed(bool player, bool knight) {
    WorldPtr world = make_empty_world();
    World& w = *world;
    // The body's cells all lie beyond d2 296, so they draw nothing.
    w.player_present = player;
    w.player_x = 68;  // silhouette row 5 covers (68..81, 100)
    w.player_y = 95;
    Enemy& e = w.enemies[0];
    e.kind = static_cast<int64_t>(EnemyKind::Knight);
    e.x = 76;  // top row covers (78..81, 100)
    e.y = 100;
    e.alive = knight;
    w.enemy_count = 1;
    EXPECT_EQ(cell_in_actor(w, 81, 100), player || knight);
    EXPECT_FALSE(cell_in_actor(w, 82, 100));
    // Moving cells never enter a body, so the fire leaves it empty.
    fill_rect(w, 78, 78, 45, 45, Material::Fire);
    set_cell(w, 81, 100, Material::Empty);
    set_cell(w, 100, 100, Material::Boom);
    set_cell(w, 82, 100, Material::Water);
    for (Particle& p : w.particles) p.life = 50;
    w.particle_count = MAX_PARTICLES;
    w.active_count = 1;
    w.active[w.active_sel][0] = static_cast<int32_t>(cell_index(100, 100));
    w.rng_state = seed_drawing(25);
    step_world(w);
    if (cell_at(w, 81, 100).material == Material::Water) return true;
    EXPECT_EQ(cell_at(w, 82, 100).material, Material::Water);
    return false;
}

TEST(BlastPush, NeverShovesACellIntoAnActorsBody) {
    EXPECT_TRUE(water_pushed(false, false));
    EXPECT_FALSE(water_pushed(true, false));
    EXPECT_FALSE(water_pushed(false, true));
}

TEST_F(Reactions, ASecondBoomInTheSameBlockWithinFiveTicksJustExpires) {
    set_cell(w(), 100, 100, Material::Boom);
    step_world(w());
    ASSERT_EQ(w().explosion_count, 1);
    set_cell(w(), 103, 102, Material::Boom);  // same 8 x 8 block (96..103, 96..103)
    step_world(w());
    EXPECT_EQ(w().explosion_count, 1);
    EXPECT_EQ(w().particle_count, 48);  // no new sparks, none expired yet
    for (const Cell& c : w().cells) {
        if (c.material == Material::Boom) {
            EXPECT_EQ(c.progress, 1);
        }
    }
    // Ticks 3 to 5 are within the cooldown; at tick 6 the block may go again.
    steps(2);
    set_cell(w(), 101, 101, Material::Boom);
    step_world(w());  // tick 5
    EXPECT_EQ(w().explosion_count, 1);
    set_cell(w(), 102, 101, Material::Boom);
    step_world(w());  // tick 6
    EXPECT_EQ(w().explosion_count, 2);
    // A neighbouring block keeps its own time.
    set_cell(w(), 104, 100, Material::Boom);
    step_world(w());
    EXPECT_EQ(w().explosion_count, 3);
}

TEST_F(Reactions, ABurstFillsTheSparkListToItsCapAndStillBlasts) {
    for (int64_t i = 0; i < 2030; ++i) w().particles[static_cast<size_t>(i)].life = 50;
    w().particle_count = 2030;
    set_cell(w(), 100, 100, Material::Boom);
    set_cell(w(), 105, 100, Material::Powder);
    step_world(w());
    EXPECT_EQ(w().particle_count, MAX_PARTICLES);
    EXPECT_EQ(w().explosion_count, 1);
    EXPECT_EQ(at(105, 100).material, Material::Boom);

    // With the list already full no spark is added, yet the blast happens.
    WorldPtr full = make_empty_world(5);
    for (auto& p : full->particles) p.life = 50;
    full->particle_count = MAX_PARTICLES;
    set_cell(*full, 100, 100, Material::Boom);
    set_cell(*full, 100, 105, Material::Petrol);
    step_world(*full);
    EXPECT_EQ(full->particle_count, MAX_PARTICLES);
    EXPECT_EQ(cell_at(*full, 100, 105).material, Material::Boom);
}

// The burst of a Boom whose update starts from generator state 2025: sixteen
// spokes (1,0), (2,1), (1,1), (1,2), (0,1), (-1,2), (-1,1), (-2,1), (-1,0),
// (-2,-1), (-1,-1), (-1,-2), (0,-1), (1,-2), (1,-1), (2,-1), three sparks
// each, each spark drawing speed s, jitter j, lifetime and shade in that order;
// velocity (dx * s + j, dy * s - j). Worked out apart from the game's code.
TEST_F(Reactions, SparksFlyAlongTheSixteenSpokesAtTheirDrawnSpeeds) {
    struct Spark {
        float vel_x, vel_y;
        uint8_t life, shade;
    };
    const Spark expected[48] = {
        {3.10000014f, -0.200000003f, 16, 1},  // (1, 0): s 29/10, j 2/10
        {2.70000005f, 0.200000003f, 20, 1},  // (1, 0): s 29/10, j -2/10
        {2.20000005f, 0.300000012f, 24, 1},  // (1, 0): s 25/10, j -3/10
        {9.0f, 4.5f, 12, 1},  // (2, 1): s 45/10, j 0/10
        {7.4000001f, 3.0999999f, 16, 1},  // (2, 1): s 35/10, j 4/10
        {9.09999943f, 5.0f, 20, 1},  // (2, 1): s 47/10, j -3/10
        {4.4000001f, 4.20000029f, 24, 1},  // (1, 1): s 43/10, j 1/10
        {3.79999995f, 3.20000005f, 12, 1},  // (1, 1): s 35/10, j 3/10
        {3.4000001f, 3.5999999f, 16, 1},  // (1, 1): s 35/10, j -1/10
        {4.80000019f, 8.69999981f, 20, 1},  // (1, 2): s 45/10, j 3/10
        {4.0f, 9.5f, 24, 1},  // (1, 2): s 45/10, j -5/10
        {2.80000019f, 5.9000001f, 12, 1},  // (1, 2): s 29/10, j -1/10
        {0.200000003f, 2.70000005f, 16, 1},  // (0, 1): s 29/10, j 2/10
        {0.300000012f, 5.5999999f, 20, 1},  // (0, 1): s 59/10, j 3/10
        {-0.5f, 6.5999999f, 24, 1},  // (0, 1): s 61/10, j -5/10
        {-5.60000038f, 10.9000006f, 12, 1},  // (-1, 2): s 53/10, j -3/10
        {-3.0999999f, 6.5999999f, 16, 1},  // (-1, 2): s 35/10, j 4/10
        {-5.80000019f, 11.3000002f, 20, 1},  // (-1, 2): s 55/10, j -3/10
        {-4.79999971f, 4.79999971f, 24, 1},  // (-1, 1): s 51/10, j 3/10
        {-5.0f, 5.0f, 12, 1},  // (-1, 1): s 55/10, j 5/10
        {-2.60000014f, 2.60000014f, 16, 1},  // (-1, 1): s 27/10, j 1/10
        {-6.69999981f, 3.39999986f, 20, 1},  // (-2, 1): s 33/10, j -1/10
        {-5.80000019f, 3.10000014f, 24, 1},  // (-2, 1): s 27/10, j -4/10
        {-7.0f, 3.70000005f, 12, 1},  // (-2, 1): s 33/10, j -4/10
        {-4.79999971f, -0.300000012f, 16, 1},  // (-1, 0): s 51/10, j 3/10
        {-3.79999995f, 0.300000012f, 20, 1},  // (-1, 0): s 35/10, j -3/10
        {-3.5999999f, 0.5f, 24, 1},  // (-1, 0): s 31/10, j -5/10
        {-7.0999999f, -2.79999995f, 12, 1},  // (-2, -1): s 33/10, j -5/10
        {-6.4000001f, -3.5f, 16, 1},  // (-2, -1): s 33/10, j 2/10
        {-7.79999971f, -4.5f, 20, 1},  // (-2, -1): s 41/10, j 4/10
        {-4.20000029f, -4.4000001f, 24, 1},  // (-1, -1): s 43/10, j 1/10
        {-5.0999999f, -4.70000029f, 12, 1},  // (-1, -1): s 49/10, j -2/10
        {-4.5999999f, -3.5999999f, 16, 1},  // (-1, -1): s 41/10, j -5/10
        {-3.79999995f, -6.69999981f, 20, 1},  // (-1, -2): s 35/10, j -3/10
        {-5.70000029f, -10.2000008f, 24, 1},  // (-1, -2): s 53/10, j -4/10
        {-6.20000029f, -11.5f, 12, 1},  // (-1, -2): s 59/10, j -3/10
        {0.0f, -2.70000005f, 16, 1},  // (0, -1): s 27/10, j 0/10
        {0.300000012f, -3.0f, 20, 1},  // (0, -1): s 27/10, j 3/10
        {-0.100000001f, -5.5999999f, 24, 1},  // (0, -1): s 57/10, j -1/10
        {4.9000001f, -10.0f, 12, 1},  // (1, -2): s 51/10, j -2/10
        {5.20000029f, -10.5f, 16, 1},  // (1, -2): s 53/10, j -1/10
        {2.60000014f, -5.5f, 20, 1},  // (1, -2): s 29/10, j -3/10
        {5.30000019f, -5.30000019f, 24, 1},  // (1, -1): s 55/10, j -2/10
        {3.79999995f, -3.79999995f, 12, 1},  // (1, -1): s 41/10, j -3/10
        {3.0f, -3.0f, 16, 1},  // (1, -1): s 27/10, j 3/10
        {6.5f, -3.0f, 20, 1},  // (2, -1): s 35/10, j -5/10
        {6.4000001f, -3.0999999f, 24, 1},  // (2, -1): s 33/10, j -2/10
        {5.70000029f, -2.80000019f, 12, 1},  // (2, -1): s 29/10, j -1/10
    };
    set_cell(w(), 100, 100, Material::Boom);
    w().rng_state = 2025;
    step_world(w());
    ASSERT_EQ(w().particle_count, 48);
    for (size_t i = 0; i < 48; ++i) {
        const Particle& p = w().particles[i];
        SCOPED_TRACE(::testing::Message() << "spark " << i);
        EXPECT_EQ(p.x, 100.5f);
        EXPECT_EQ(p.y, 100.5f);
        EXPECT_EQ(p.vel_x, expected[i].vel_x);
        EXPECT_EQ(p.vel_y, expected[i].vel_y);
        EXPECT_EQ(p.life, expected[i].life);
        EXPECT_EQ(p.life_max, expected[i].life);
        EXPECT_EQ(p.shade, expected[i].shade);
    }
}

TEST_F(Reactions, ABlastPushesLooseMaterialOutwardAndLightsTheAir) {
    set_cell(w(), 100, 100, Material::Boom);
    set_cell(w(), 81, 100, Material::Water);
    set_cell(w(), 119, 100, Material::Water);
    step_world(w());
    // Left of the centre a survivor moves one cell out. On the right the sweep
    // meets the pushed cell again at the rim and pushes it once more.
    const int64_t water = count_of(w(), Material::Water);
    EXPECT_EQ(water, (at(80, 100).material == Material::Water) + (at(121, 100).material == Material::Water));
    EXPECT_EQ(at(81, 100).material, Material::Empty);
    EXPECT_EQ(at(119, 100).material, Material::Empty);
    EXPECT_EQ(at(120, 100).material, Material::Empty);
    EXPECT_GT(count_of(w(), Material::Fire), 20);
}

// An older detonation cloud is gas like any other: the blast never destroys
// it, but shoves it outward.
TEST_F(Reactions, ABlastShovesOlderBoomCellsOutward) {
    set_cell(w(), 100, 100, Material::Boom);
    set_cell(w(), 110, 100, Material::Boom);  // right of the centre
    set_cell(w(), 100, 110, Material::Boom);  // below the centre
    at(110, 100).progress = 1;                // already spent
    at(100, 110).progress = 1;
    only_turns({{100, 100}});
    step_world(w());
    // The sweep runs outward on these sides, so each cloud is met again after
    // every shove and ends just beyond the rim.
    EXPECT_EQ(at(121, 100).material, Material::Boom);
    EXPECT_EQ(at(100, 121).material, Material::Boom);
    EXPECT_NE(at(110, 100).material, Material::Boom);
    EXPECT_NE(at(100, 110).material, Material::Boom);
    // The detonating cell itself is still a (risen) Boom: three in all.
    EXPECT_EQ(count_of(w(), Material::Boom), 3);
}

TEST(ExplosionChain, OneSparkSetsOffAWholePowderField) {
    WorldPtr world = make_empty_world(31337);
    World& w = *world;
    scenario::powder_chain(w);
    const int64_t powder = count_of(w, Material::Powder);
    ASSERT_GT(powder, 10000);
    for (int i = 0; i < 200; ++i) step_world(w);
    EXPECT_LT(count_of(w, Material::Powder), powder / 50);
    EXPECT_GT(w.explosion_count, 100);
    // The cooldown keeps it to about one burst per 8 x 8 block per five ticks.
    EXPECT_LT(w.explosion_count, 2000);
}

}  // namespace
