// Heat, phase changes, burning, corrosion and explosions.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "../tools/scenario/scenarios.h"
#include "test_game.h"
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
    struct Case {
        Material from;
        int32_t temperature;  // after this update's cooling
        Material to;
    };
    const Case cases[] = {
        {Material::Water, 100, Material::Steam},  {Material::Water, 99, Material::Water},
        {Material::Smoke, 500, Material::Fire},   {Material::Smoke, 499, Material::Smoke},
        {Material::Powder, 85, Material::Boom},   {Material::Powder, 84, Material::Powder},
        {Material::Petrol, 80, Material::Boom},   {Material::Petrol, 79, Material::Petrol},
        {Material::Snow, 5, Material::Water},     {Material::Snow, 4, Material::Snow},
        {Material::Stone, 1200, Material::Lava},  {Material::Stone, 1199, Material::Stone},
        {Material::Iron, 1500, Material::Lava},   {Material::Iron, 1499, Material::Iron},
        {Material::Acid, 120, Material::Steam},   {Material::Acid, 119, Material::Acid},
    };
    int64_t x = 10;
    for (const Case& c : cases) {
        set_cell(w(), x, 100, c.from);
        // Undo the cooling that comes first (none at 20 and below).
        at(x, 100).temperature = c.temperature;
        if (c.temperature > 20) {
            for (int32_t t = c.temperature; t < c.temperature + 40; ++t) {
                if (t - std::max(1, (t - 20) / 60) == c.temperature) {
                    at(x, 100).temperature = t;
                    break;
                }
            }
        }
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
        EXPECT_TRUE(found) << "material " << int(c.from) << " at " << c.temperature;
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

TEST_F(Reactions, BoomBlastsACraterAndCountsOnce) {
    fill_rect(w(), 0, 150, 400, 150, Material::Stone);
    set_cell(w(), 200, 149, Material::Boom);
    step_world(w());
    EXPECT_EQ(w().explosion_count, 1);
    EXPECT_EQ(w().particle_count, 48);
    // Stone goes with chance (400 - d2) / 8 + 3 percent: compare with the expectation.
    double expected = 0.0;
    double variance = 0.0;
    int64_t gone = 0;
    for (int64_t dy = 1; dy <= 20; ++dy) {
        for (int64_t dx = -20; dx <= 20; ++dx) {
            const int64_t d2 = dx * dx + dy * dy;
            if (d2 > 400) continue;
            const double p = static_cast<double>((400 - d2) / 8 + 3) / 100.0;
            expected += p;
            variance += p * (1.0 - p);
            gone += at(200 + dx, 149 + dy).material != Material::Stone;
        }
    }
    EXPECT_NEAR(static_cast<double>(gone), expected, 4.0 * std::sqrt(variance));
    // Nothing beyond the radius is touched.
    EXPECT_EQ(at(200, 170).material, Material::Stone);
    EXPECT_EQ(at(221, 150).material, Material::Stone);
    // The spent Boom lives out its eight updates as a gas.
    EXPECT_EQ(count_of(w(), Material::Boom), 1);
    steps(8);
    EXPECT_EQ(count_of(w(), Material::Boom), 0);
    EXPECT_EQ(w().explosion_count, 1);
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

TEST_F(Reactions, SparksFlyAlongTheBurstDirectionsAtTheirDrawnSpeeds) {
    set_cell(w(), 100, 100, Material::Boom);
    step_world(w());
    ASSERT_EQ(w().particle_count, 48);
    for (int64_t i = 0; i < 48; ++i) {
        const Particle& p = w().particles[static_cast<size_t>(i)];
        const BurstDirection d = BURST_DIRECTIONS[static_cast<size_t>(i / 3)];
        EXPECT_EQ(p.x, 100.5f);
        EXPECT_EQ(p.y, 100.5f);
        EXPECT_GE(p.life, 10);
        EXPECT_LE(p.life, 25);
        EXPECT_EQ(p.life, p.life_max);
        // vel = d * s + (j, -j): the jitter cancels in the sum, leaving s in 2.5..6.2.
        const int dsum = d.dx + d.dy;
        if (dsum == 0) continue;
        const float s = (p.vel_x + p.vel_y) / static_cast<float>(dsum);
        EXPECT_GE(s, 2.5f - 1e-4f);
        EXPECT_LE(s, 6.2f + 1e-4f);
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
