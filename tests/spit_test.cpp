// Spitting: where the stream leaves the snout, what it costs, and what each
// material does when it flies into cells and enemies.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "player/spit.h"
#include "test_game.h"

namespace {

constexpr int64_t FLOOR = 200;

class Spit : public ::testing::Test {
protected:
    WorldPtr world = make_empty_world(12345);
    World& w = *world;
    Player p = make_player(100, FLOOR - PLAYER_H);
    Inventory inv = reset_inventory();
    SpitState spit{};

    void SetUp() override {
        fill(0, FLOOR, WORLD_W - 1, FLOOR + 3, Material::Stone);
        w.player_present = true;
        w.player_x = p.x;
        w.player_y = p.y;
    }
    void fill(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Material m) {
        for (int64_t y = y0; y <= y1; ++y) {
            for (int64_t x = x0; x <= x1; ++x) set_cell(w, x, y, m);
        }
    }
    void hold(Material m, int64_t count) {
        inv.slots[1] = InventorySlot{m, count};
        inv.selected = 1;
    }
    Material spit_at(float x, float y) { return spit_step(w, p, inv, spit, SpitAim{true, x, y}); }
    int64_t active() const {
        int64_t n = 0;
        for (const SpitParticle& q : spit.particles) n += q.active;
        return n;
    }
    int64_t count(Material m) const {
        int64_t n = 0;
        for (const Cell& c : w.cells) n += c.material == m;
        return n;
    }
    // A lone particle flying from (x, y) with the given velocity.
    SpitParticle& launch(Material m, float x, float y, float vx, float vy) {
        SpitParticle& q = spit.particles[0];
        q = SpitParticle{};
        q.x = x;
        q.y = y;
        q.vel_x = vx;
        q.vel_y = vy;
        q.material = m;
        q.life = 1000;
        q.active = true;
        return q;
    }
    void fly(int steps) {
        for (int i = 0; i < steps; ++i) update_spit_particles(w, spit);
    }
};

// --- Leaving the snout ------------------------------------------------------------

TEST_F(Spit, TheFirstParticleOfASeededStreamIsPinned) {
    // Draws from 12345: spread +4, stagger 1, t1 0.374, t2 0.157, life 37, shade 3.
    w.rng_state = 12345;
    spit_at(200.0f, 188.0f);
    const SpitParticle& q = spit.particles[0];
    ASSERT_TRUE(q.active);
    EXPECT_FLOAT_EQ(q.x, 131.0f) << "mouth at column 130, one cell of stagger";
    EXPECT_FLOAT_EQ(q.y, 192.0f) << "four cells of spread";
    EXPECT_NEAR(q.vel_x, 2.0884f, 1e-4);
    EXPECT_NEAR(q.vel_y, -0.073679f, 1e-5);
    EXPECT_EQ(q.life, 37);
    EXPECT_EQ(q.shade, 3);
    EXPECT_EQ(q.material, Material::Fire);
}

TEST_F(Spit, AimingAtTheMouthFiresStraightAhead) {
    spit_at(130.0f, 188.0f);
    ASSERT_GT(active(), 0);
    for (const SpitParticle& q : spit.particles) {
        if (!q.active) continue;
        EXPECT_GT(q.vel_x, 1.8f);
        EXPECT_LT(std::fabs(q.vel_y), 0.45f);
    }
}

TEST_F(Spit, FacingFollowsTheAim) {
    spit_at(106.0f, 150.0f);  // just left of the centre column 107
    EXPECT_EQ(p.facing, -1);
    spit_at(107.0f, 150.0f);
    EXPECT_EQ(p.facing, 1);
}

TEST_F(Spit, TheMouthStopsAtAWallInFrontOfTheSnout) {
    fill(118, FLOOR - 40, 125, FLOOR - 1, Material::Stone);
    spit_at(300.0f, 188.0f);
    for (const SpitParticle& q : spit.particles) {
        if (q.active) {
            EXPECT_LT(q.x, 118.0f) << "no particle starts inside or beyond the wall";
        }
    }
}

// Snout against a wall, every spawn cell is inside it: each particle meets
// that cell at once instead of silently not being born.
TEST_F(Spit, AgainstAWallSandSettlesInFrontOfTheSnoutNeverInsideTheDragonAndIsCharged) {
    fill(114, FLOOR - 40, 125, FLOOR - 1, Material::Stone);
    hold(Material::Sand, 10);
    EXPECT_EQ(spit_at(300.0f, static_cast<float>(p.y + 8)), Material::Sand);
    const int64_t spent = 10 - std::max<int64_t>(inv.slots[1].count, 0);
    EXPECT_GT(spent, 0);
    EXPECT_EQ(count(Material::Sand), spent) << "every unit spent is a grain in the world";
    EXPECT_EQ(active(), 0);
    for (int64_t y = 0; y < WORLD_H; ++y) {
        for (int64_t x = 0; x < WORLD_W; ++x) {
            if (cell_at(w, x, y).material != Material::Sand) continue;
            EXPECT_LT(x, 114) << "in front of the snout";
            EXPECT_FALSE(player_mask_covers(x, y, p.x, p.y)) << "never inside the dragon";
        }
    }
}

TEST_F(Spit, AgainstAWallPlasmaBoresAndFirePrimesPetrol) {
    fill(114, FLOOR - 40, 125, FLOOR - 1, Material::Stone);
    const int64_t stone = count(Material::Stone);
    hold(Material::Plasma, 5);
    EXPECT_EQ(spit_at(300.0f, static_cast<float>(p.y + 8)), Material::Plasma);
    EXPECT_LT(count(Material::Stone), stone) << "the beam starts boring at once";

    fill(114, FLOOR - 40, 125, FLOOR - 1, Material::Petrol);
    inv.selected = 0;  // fire
    EXPECT_EQ(spit_at(300.0f, static_cast<float>(p.y + 8)), Material::Fire);
    EXPECT_GT(count(Material::Boom), 0);
}

// --- What it costs ----------------------------------------------------------------

TEST_F(Spit, UnlimitedFireNeverRunsOut) {
    for (int i = 0; i < 5; ++i) spit_at(300.0f, 150.0f);
    EXPECT_EQ(inv.slots[0].count, UNLIMITED);
    EXPECT_EQ(active(), 50);
}

TEST_F(Spit, ACountOfThreeGivesExactlyThreeParticles) {
    hold(Material::Sand, 3);
    EXPECT_EQ(spit_at(300.0f, 150.0f), Material::Sand);
    EXPECT_EQ(active(), 3);
    EXPECT_EQ(inv.slots[1].count, 0);
    EXPECT_EQ(inv.slots[1].material, Material::Empty);
    EXPECT_EQ(spit_at(300.0f, 150.0f), Material::Empty);
    EXPECT_TRUE(spit.spit_idle);
}

TEST_F(Spit, AFullParticleListDropsParticlesWithoutCharging) {
    hold(Material::Water, 100);
    for (SpitParticle& q : spit.particles) q.active = true;
    EXPECT_EQ(spit_at(300.0f, 150.0f), Material::Empty);
    EXPECT_EQ(inv.slots[1].count, 100);
    spit.particles[77].active = false;
    spit_at(300.0f, 150.0f);
    EXPECT_EQ(inv.slots[1].count, 99) << "one free slot, one particle, one unit";
}

TEST_F(Spit, TheEmpoweredDragonBreathesDoubleLargeFire) {
    p.empowered = true;
    spit_at(300.0f, 150.0f);
    EXPECT_EQ(active(), 20);
    EXPECT_TRUE(spit.particles[0].large);
}

TEST_F(Spit, ThePoseRisesWhileSpittingAndFallsAfter) {
    for (int i = 0; i < 20; ++i) spit_at(300.0f, 150.0f);
    EXPECT_FLOAT_EQ(spit.spit_pose, 0.21f);
    spit_step(w, p, inv, spit, SpitAim{false, 300.0f, 150.0f});
    EXPECT_FLOAT_EQ(spit.spit_pose, 0.21f - 1.0f / 60.0f);
    EXPECT_TRUE(spit.spit_idle);
}

// --- Flight -----------------------------------------------------------------------

TEST_F(Spit, PlasmaBoresTenCellsAndNeverSettles) {
    fill(300, 150, 340, 160, Material::Stone);
    launch(Material::Plasma, 280.0f, 155.5f, 6.0f, 0.0f).pierce = 10;
    const int64_t stone = count(Material::Stone);
    fly(20);
    EXPECT_EQ(stone - count(Material::Stone), 10);
    EXPECT_EQ(cell_at(w, 309, 155).material, Material::Empty);
    EXPECT_EQ(cell_at(w, 310, 155).material, Material::Stone);
    EXPECT_EQ(active(), 0);
    EXPECT_EQ(count(Material::Plasma), 0);
}

TEST_F(Spit, FireSetsPetrolAndPowderOff) {
    set_cell(w, 300, 150, Material::Petrol);
    launch(Material::Fire, 295.0f, 150.0f, 2.0f, 0.0f);
    fly(4);
    EXPECT_EQ(cell_at(w, 300, 150).material, Material::Boom);
    EXPECT_EQ(active(), 0);
    set_cell(w, 400, 150, Material::Powder);
    launch(Material::Fire, 395.0f, 150.0f, 2.0f, 0.0f);
    fly(4);
    EXPECT_EQ(cell_at(w, 400, 150).material, Material::Boom);
}

TEST_F(Spit, AStoneFliesThroughWaterAndSandAndLandsOnRock) {
    fill(300, 170, 310, 184, Material::Water);
    fill(300, 185, 310, FLOOR - 1, Material::Sand);
    const int64_t water = count(Material::Water);
    const int64_t stone = count(Material::Stone);
    launch(Material::Stone, 305.0f, 160.0f, 0.0f, 3.0f);
    fly(20);
    EXPECT_EQ(active(), 0);
    EXPECT_EQ(count(Material::Stone), stone + 1);
    EXPECT_EQ(count(Material::Water), water) << "the water it pushed aside is kept";
    EXPECT_EQ(cell_at(w, 305, FLOOR - 1).material, Material::Stone) << "on the rock, under the sand";
}

TEST_F(Spit, EmittedPlasmaBoresTenCells) {
    hold(Material::Plasma, 2000);
    spit_at(300.0f, 150.0f);
    ASSERT_EQ(active(), 10);
    for (const SpitParticle& q : spit.particles) {
        if (q.active) {
            EXPECT_EQ(q.pierce, 10);
        }
    }
}

// Each particle draws its numbers from the world's generator in a fixed
// count: sand spread, aim jitter, two tuning draws, life and shade (6);
// plasma one more for its spread and three thrown away (10).
TEST_F(Spit, EachParticleDrawsSixNumbersAndPlasmaTen) {
    for (const auto& [m, draws] : {std::pair{Material::Sand, 6}, std::pair{Material::Plasma, 10}}) {
        spit = SpitState{};
        hold(m, 2000);
        uint32_t expected = w.rng_state;
        for (int i = 0; i < 10 * draws; ++i) expected = lcg_next(expected);
        spit_at(300.0f, 150.0f);
        ASSERT_EQ(active(), 10);
        EXPECT_EQ(w.rng_state, expected) << static_cast<int>(m);
    }
}

TEST_F(Spit, ATiredParticleFallsAQuarterCellFasterEachStepUpToFour) {
    SpitParticle& q = launch(Material::Water, 300.0f, 40.0f, 0.0f, 0.0f);
    q.life = 1;
    fly(1);
    EXPECT_FLOAT_EQ(q.vel_y, 0.25f);
    fly(2);
    EXPECT_FLOAT_EQ(q.vel_y, 0.75f);
    fly(13);
    EXPECT_FLOAT_EQ(q.vel_y, 4.0f);
    fly(1);
    EXPECT_FLOAT_EQ(q.vel_y, 4.0f);
}

TEST_F(Spit, ATiredParticleFallsAndSettlesAsACell) {
    SpitParticle& q = launch(Material::Water, 300.0f, 150.0f, 2.0f, 0.0f);
    q.life = 3;
    fly(60);
    EXPECT_EQ(active(), 0);
    EXPECT_EQ(count(Material::Water), 1);
}

TEST_F(Spit, FireAndPlasmaVanishWhenSpent) {
    SpitParticle& q = launch(Material::Fire, 300.0f, 100.0f, 0.5f, 0.0f);
    q.life = 5;
    fly(5);
    EXPECT_EQ(active(), 0);
    EXPECT_EQ(count(Material::Fire), 0);
}

TEST_F(Spit, ParticlesLeavingTheGridDie) {
    launch(Material::Sand, 1.0f, 100.0f, -3.0f, 0.0f);
    fly(3);
    EXPECT_EQ(active(), 0);
    EXPECT_EQ(count(Material::Sand), 0);
}

// --- Enemies ----------------------------------------------------------------------

TEST_F(Spit, AHitHandsDamageToTheEnemyAndAlertsIt) {
    Enemy& e = w.enemies[0];
    e = Enemy{};
    e.kind = static_cast<int64_t>(EnemyKind::Knight);
    e.alive = true;
    e.x = 300;
    e.y = FLOOR - 11;
    w.enemy_count = 1;
    launch(Material::Fire, 295.0f, FLOOR - 6.0f, 2.0f, 0.0f);
    fly(4);
    EXPECT_EQ(e.pending_damage, 2);
    EXPECT_FLOAT_EQ(e.alert_time, 4.0f);
    launch(Material::Acid, 295.0f, FLOOR - 6.0f, 2.0f, 0.0f);
    fly(4);
    EXPECT_EQ(e.pending_damage, 6);
    launch(Material::Sand, 295.0f, FLOOR - 6.0f, 2.0f, 0.0f);
    fly(4);
    EXPECT_EQ(e.pending_damage, 6) << "sand hits but does no harm";
    EXPECT_EQ(count(Material::Sand), 0);
    launch(Material::Fire, 295.0f, FLOOR - 6.0f, 2.0f, 0.0f).large = true;
    fly(4);
    EXPECT_EQ(e.pending_damage, 14) << "the empowered dragon's fire does 8";
}

TEST_F(Spit, AFrozenBossSwallowsParticlesUnharmed) {
    Enemy& e = w.enemies[0];
    e = Enemy{};
    e.kind = static_cast<int64_t>(EnemyKind::Boss);
    e.alive = true;
    e.x = 300;
    e.y = FLOOR - 37;
    w.enemy_count = 1;
    w.boss_frozen = true;
    launch(Material::Boom, 295.0f, FLOOR - 20.0f, 2.0f, 0.0f);
    fly(5);
    EXPECT_EQ(active(), 0);
    EXPECT_EQ(e.pending_damage, 0);
    EXPECT_FLOAT_EQ(e.alert_time, 0.0f);
}

// --- The cue ----------------------------------------------------------------------

// The step that spends a slot's last unit leaves the slot Empty, yet sounds
// like the material that flew, not like a plain projectile.
TEST(SpitCue, TheLastUnitSoundsLikeTheMaterialSpatNotLikeTheEmptiedSlot) {
    for (const auto& [material, cue] : {std::pair{Material::Acid, SfxCue::Acid},
                                        std::pair{Material::Plasma, SfxCue::Plasma}}) {
        GameFixture fx;
        Game& g = fx.game;
        start_new_game_with_seed(g, 4242);
        g.screen = GameScreen::Playing;
        g.story_stage = 13;
        g.materials_unlocked = true;
        g.inventory.slots[1] = InventorySlot{material, 1};
        g.inventory.selected = 1;
        g.spit_held = true;
        // Up and to the right of the snout, in the open sky.
        g.mouse_virtual = VirtualPoint{static_cast<int>((static_cast<float>(g.player.x + 60) - g.camera.pos.x) * 3.0f),
                                       static_cast<int>((static_cast<float>(g.player.y - 30) - g.camera.pos.y) * 3.0f)};
        logic_step(g);
        ASSERT_EQ(g.inventory.slots[1].count, 0) << "the last unit flew";
        EXPECT_EQ(g.inventory.slots[1].material, Material::Empty);
        EXPECT_EQ(g.sounds.requested[static_cast<size_t>(cue)], 1u);
        EXPECT_EQ(g.sounds.requested[static_cast<size_t>(SfxCue::Projectile)], 0u);
    }
}

}  // namespace
