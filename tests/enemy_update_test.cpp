// Enemies in play: who they attack and from where, what hurts them, how they
// get past walls and each other, and how they die.

#include <gtest/gtest.h>

#include "combat/enemy_update.h"
#include "test_game.h"

namespace {

constexpr int64_t FLOOR = 200;

class Enemies : public ::testing::Test {
protected:
    WorldPtr world = make_empty_world(4321);
    World& w = *world;
    Player p = make_player(300, FLOOR - PLAYER_H);

    void SetUp() override { fill(0, FLOOR, WORLD_W - 1, FLOOR + 3, Material::Stone); }
    void fill(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Material m) {
        for (int64_t y = y0; y <= y1; ++y) {
            for (int64_t x = x0; x <= x1; ++x) set_cell(w, x, y, m);
        }
    }
    Enemy& add(EnemyKind kind, int64_t x, int64_t group = 0, int64_t side = 0) {
        Enemy& e = add_standing_enemy(w, kind, x, FLOOR);
        e.group = group;
        e.group_side = side;
        return e;
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i) update_enemies(w, p);
    }
    int64_t count(Material m) const {
        int64_t n = 0;
        for (const Cell& c : w.cells) n += c.material == m;
        return n;
    }
};

// --- Attacks ----------------------------------------------------------------------

TEST_F(Enemies, AKnightSwingsAndLandsItsBlowAtTheSixthFrame) {
    Enemy& k = add(EnemyKind::Knight, 314);  // right beside the dragon, facing it
    const EnemyStepReport first = update_enemies(w, p);
    EXPECT_EQ(first.attacks_started, 1);
    EXPECT_TRUE(k.attacking);
    steps(23);  // 23 steps into the swing: 0.383 s, not yet 6 x 0.065
    EXPECT_EQ(p.hp, 100);
    steps(1);
    EXPECT_EQ(p.hp, 90);
    EXPECT_FLOAT_EQ(p.flash_time, 1.0f);
    steps(40);
    EXPECT_EQ(p.hp, 90) << "one blow per swing, then the cool-down";
}

TEST_F(Enemies, TheEmpoweredDragonTakesTwoPointsFromTheBossesBlow) {
    // The boss's blow lands at its second frame, 2 x 0.065 s: the 8th step.
    for (bool empowered : {false, true}) {
        clear_world(w, 4321);
        fill(0, FLOOR, WORLD_W - 1, FLOOR + 3, Material::Stone);
        p = make_player(300, FLOOR - PLAYER_H);
        p.empowered = empowered;
        Enemy& b = add(EnemyKind::Boss, 314);
        w.boss_frozen = false;
        EXPECT_EQ(update_enemies(w, p).attacks_started, 1);
        steps(7);
        EXPECT_EQ(p.hp, 100);
        steps(1);
        EXPECT_EQ(p.hp, empowered ? 98 : 80);
        EXPECT_TRUE(b.attacking);
    }
}

TEST_F(Enemies, ABarbarianWindsUpForThirtySixStepsThenChargesAt520) {
    // 0.585 s of wind-up: 35 steps are 0.583 s, the 36th passes it.
    Enemy& b = add(EnemyKind::Barbarian, 350);  // 45 columns off, facing the dragon
    EXPECT_EQ(update_enemies(w, p).attacks_started, 1);
    steps(35);
    EXPECT_EQ(b.attack_phase, 0);
    steps(1);
    EXPECT_EQ(b.attack_phase, 1);
    EXPECT_FLOAT_EQ(b.vel_x, -520.0f);
}

TEST_F(Enemies, AFormationKnightAttacksOnlyFromItsOwnSide) {
    // Side -1 keeps to the dragon's left; this one stands at its right.
    Enemy& wrong_side = add(EnemyKind::Knight, 314, 1, -1);
    steps(1);
    EXPECT_FALSE(wrong_side.attacking);
    wrong_side.group_side = 1;
    steps(1);
    EXPECT_TRUE(wrong_side.attacking);
}

TEST_F(Enemies, ALoneKnightAttacksFromEitherSide) {
    Enemy& left = add(EnemyKind::Knight, 292);
    Enemy& right = add(EnemyKind::Knight, 316);
    steps(1);
    EXPECT_TRUE(left.attacking);
    EXPECT_EQ(left.facing, 1);
    EXPECT_TRUE(right.attacking);
    EXPECT_EQ(right.facing, -1);
}

TEST_F(Enemies, ABlowFromBehindMisses) {
    Enemy& k = add(EnemyKind::Knight, 314);
    steps(1);
    ASSERT_TRUE(k.attacking);
    p.x = 340;  // the dragon slips past to its back
    steps(30);
    EXPECT_EQ(p.hp, 100);
}

// --- Damage -----------------------------------------------------------------------

TEST_F(Enemies, SpitDamageAboveEightAStepIsLost) {
    Enemy& k = add(EnemyKind::Ogre, 700);
    k.pending_damage = 40;  // one Boom particle
    steps(1);
    EXPECT_EQ(k.hp, 492);
    EXPECT_EQ(k.pending_damage, 0);
    EXPECT_FLOAT_EQ(k.alert_time, 4.0f - 1.0f / 60.0f);
}

TEST_F(Enemies, StandingBesideBoomCosts35AStepAndTheWorstCellCounts) {
    Enemy& k = add(EnemyKind::Ogre, 700);
    set_cell(w, 699, FLOOR - 5, Material::Fire);
    EXPECT_EQ(cell_damage(w, k), 2);
    set_cell(w, 710, FLOOR - 13, Material::Boom);  // the corner just outside the box
    EXPECT_EQ(cell_damage(w, k), 35);
    set_cell(w, 711, FLOOR - 5, Material::Lava);  // two columns out: no harm
    EXPECT_EQ(cell_damage(w, k), 35);
}

TEST_F(Enemies, TheBossCannotFallBelow2500BeforeTheDragonIsEmpowered) {
    Enemy& b = add(EnemyKind::Boss, 900);
    b.hp = 2505;
    b.pending_damage = 8;
    steps(1);
    EXPECT_EQ(b.hp, 2500);
    b.hp = 5;
    b.pending_damage = 8;
    p.empowered = true;
    steps(1);
    EXPECT_FALSE(b.alive);
}

TEST_F(Enemies, AFrozenBossNeitherMovesNorTakesHarm) {
    Enemy& b = add(EnemyKind::Boss, 900);
    w.boss_frozen = true;
    b.pending_damage = 40;
    b.vel_x = 50.0f;
    fill(899, FLOOR - 40, 899, FLOOR - 1, Material::Lava);
    p.x = 880;
    steps(30);
    EXPECT_EQ(b.hp, 5000);
    EXPECT_EQ(b.x, 900);
    EXPECT_FALSE(b.attacking);
}

// --- Death ------------------------------------------------------------------------

TEST_F(Enemies, AKnightsFirstPieceFliesExactlyAsDrawn) {
    Enemy& k = add(EnemyKind::Knight, 100);
    k.y = 100;
    w.rng_state = 777;
    kill_enemy(w, k);
    // Draws from 777: shade 0, columns reversed, rows in order, radius 6, so
    // the piece from body cell (102, 100) lands at (108, 94).
    const Cell& c = cell_at(w, 108, 94);
    EXPECT_EQ(c.material, Material::KnightDebris);
    EXPECT_EQ(c.shade, 0);
    EXPECT_FLOAT_EQ(c.vel_x, 2.08f);
    EXPECT_FLOAT_EQ(c.vel_y, -2.69f);
    EXPECT_EQ(c.fling_frames, 13);
    EXPECT_EQ(count(Material::KnightDebris) + count(Material::Blood), 72) << "one piece per body cell";
}

TEST_F(Enemies, ADeadOgreLeaves144PiecesHalfOfThemBlood) {
    Enemy& o = add(EnemyKind::Ogre, 500);
    o.y = 100;
    kill_enemy(w, o);
    EXPECT_FALSE(o.alive);
    EXPECT_EQ(count(Material::OgreDebris), 72);
    EXPECT_EQ(count(Material::Blood), 72);
}

TEST_F(Enemies, DebrisNeverLandsOffTheGridOrInABody) {
    Enemy& k = add(EnemyKind::Knight, 0);
    k.y = 0;
    Enemy& other = add(EnemyKind::Ogre, 12);
    other.y = 0;
    kill_enemy(w, k);
    for (int64_t y = 0; y < 13; ++y) {
        for (int64_t x = 12; x < 22; ++x) {
            if (enemy_covers(EnemyKind::Ogre, x, y, other.x, other.y)) {
                EXPECT_EQ(cell_at(w, x, y).material, Material::Empty);
            }
        }
    }
    EXPECT_GT(count(Material::KnightDebris), 0);
}

// --- Getting about ----------------------------------------------------------------

TEST_F(Enemies, AnAlertedKnightClimbsFourCellsAndJumpsHigherWalls) {
    Enemy& k = add(EnemyKind::Knight, 400);
    p.x = 520;
    fill(430, FLOOR - 4, 460, FLOOR - 1, Material::Stone);  // a ledge of four
    k.alert_time = 4.0f;
    steps(40);
    EXPECT_GT(k.x, 430);
    EXPECT_EQ(k.y, FLOOR - 4 - 11);
    fill(480, FLOOR - 30, 482, FLOOR - 1, Material::Stone);  // a wall
    bool jumped = false;
    for (int i = 0; i < 60 && !jumped; ++i) {
        steps(1);
        jumped = k.vel_y < 0.0f;
    }
    EXPECT_TRUE(jumped);
}

TEST_F(Enemies, AStuckEnemyTurnsWandersAndThenJumpsOrTurnsAgain) {
    // Far from the dragon and facing a wall too high to jump.
    Enemy& k = add(EnemyKind::Knight, 400);
    p.x = 600;
    fill(409, 0, 412, FLOOR - 1, Material::Stone);
    k.alert_time = 4.0f;
    int turned_at = -1;
    for (int i = 0; i < 300 && turned_at < 0; ++i) {
        k.alert_time = 4.0f;
        steps(1);
        if (k.turn_time > 0.0f) turned_at = i;
    }
    ASSERT_GE(turned_at, 0);
    EXPECT_EQ(k.wander_dir, -1) << "it turns away from the dragon";
    for (int i = 0; i < 16; ++i) {  // 0.28 s counted from the turning step
        k.alert_time = 4.0f;
        steps(1);
    }
    EXPECT_LE(k.x, 401 - 4) << "it walked back while wandering";
    EXPECT_FLOAT_EQ(k.vel_y, -390.0f) << "having got somewhere, it jumps";
}

TEST_F(Enemies, AnEnemyGettingNowhereTurnsAfter0Point35Seconds) {
    Enemy& k = add(EnemyKind::Knight, 400);
    p.x = 600;
    fill(408, 0, 411, FLOOR - 1, Material::Stone);  // right against its front
    k.alert_time = 4.0f;
    k.stuck_x = 400;
    k.stuck_time = 0.32f;
    steps(1);  // 0.3367 s
    EXPECT_FLOAT_EQ(k.turn_time, 0.0f);
    EXPECT_EQ(k.x, 400);
    steps(1);  // 0.3533 s
    EXPECT_GT(k.turn_time, 0.0f);
    EXPECT_EQ(k.wander_dir, -1);
}

TEST_F(Enemies, AWallWithinNineColumnsAheadMakesAnAlertKnightJump) {
    // The probe runs over the nine columns past the knight's box (408..416)
    // and its rows above the feet.
    for (const auto& [wall, jumps] : {std::pair{416, true}, std::pair{417, false}}) {
        clear_world(w, 4321);
        fill(0, FLOOR, WORLD_W - 1, FLOOR + 3, Material::Stone);
        Enemy& k = add(EnemyKind::Knight, 400);
        k.facing = 1;
        k.alert_time = 4.0f;
        p.x = 600;
        fill(wall, FLOOR - 30, wall, FLOOR - 1, Material::Stone);
        steps(1);
        EXPECT_EQ(k.vel_y < 0.0f, jumps) << "wall at " << wall;
    }
}

TEST_F(Enemies, OverlappingEnemiesShoulderApartFasterTheLongerTheyOverlap) {
    Enemy& a = add(EnemyKind::Ogre, 800);
    Enemy& b = add(EnemyKind::Ogre, 801);
    p.x = 2000;
    steps(1);
    EXPECT_EQ(b.x - a.x, 3) << "one column each way";
    a.crowd_time = 0.3f;  // two and a half times 0.12 s already
    steps(1);
    EXPECT_EQ(b.x - a.x, 9) << "three columns each way";
    steps(2);
    EXPECT_GE(b.x - a.x, 10);
    EXPECT_FLOAT_EQ(a.crowd_time, 0.0f);
}

TEST_F(Enemies, EachTwelveHundredthsOfOverlapAddsAColumnOfPush) {
    // One column each way, plus one per whole 0.12 s overlapped so far.
    for (const auto& [overlapped, gap] : {std::pair{0.11f, 3}, std::pair{0.12f, 5}, std::pair{0.23f, 5}}) {
        clear_world(w, 4321);
        fill(0, FLOOR, WORLD_W - 1, FLOOR + 3, Material::Stone);
        Enemy& a = add(EnemyKind::Ogre, 800);
        Enemy& b = add(EnemyKind::Ogre, 801);
        p.x = 2000;
        a.crowd_time = overlapped;
        steps(1);
        EXPECT_EQ(b.x - a.x, gap) << overlapped << " s";
    }
}

TEST_F(Enemies, TheGridsBottomIsAFloor) {
    Enemy& b = add(EnemyKind::Boss, 2000);
    fill(1990, FLOOR, 2030, WORLD_H - 1, Material::Empty);
    w.boss_frozen = false;
    p.x = 100;
    steps(120);
    EXPECT_TRUE(b.alive);
    EXPECT_EQ(b.y, WORLD_H - 37);
    EXPECT_TRUE(b.grounded);
}

// Between the dragon and the world's right edge under a low roof, the boss
// can neither leap nor wander anywhere; the stall leap cancelled every blow
// as it started and the wander flipped for ever.
TEST_F(Enemies, ABossWedgedBesideTheDragonUnderALowRoofStillStrikes) {
    Enemy& boss = add(EnemyKind::Boss, WORLD_W - 19);
    fill(WORLD_W - 70, boss.y - 4, WORLD_W - 1, boss.y - 1, Material::Stone);
    p.x = WORLD_W - 40;
    w.player_present = true;  // the dragon's body bars the way out
    w.player_x = p.x;
    w.player_y = p.y;
    boss.alert_time = 4.0f;
    int64_t attacks = 0;
    for (int i = 0; i < 600; ++i) {
        attacks += update_enemies(w, p).attacks_started;
        p.hp = 100;
    }
    EXPECT_GE(boss.x, WORLD_W - 40 + PLAYER_W) << "still wedged between the dragon and the edge";
    EXPECT_GE(attacks, 6) << "about one blow a second";
}

TEST_F(Enemies, RockFormedInsideAnEnemyDoesNotHoldItForGood) {
    Enemy& k = add(EnemyKind::Knight, 400);
    set_cell(w, 403, FLOOR - 6, Material::Stone);  // inside the body
    k.alert_time = 4.0f;
    p.x = 600;
    steps(30);
    EXPECT_GT(k.x, 405);
}

TEST_F(Enemies, AStoneBetweenAKnightsLegsUnderALowCeilingDoesNotPinIt) {
    // The gap in the knight's bottom row "..##.##." is column 4: a stone
    // there is in its box but not its body. A ceiling on its head rules out
    // the step-up and the jump; only walking out through the stone is left.
    Enemy& k = add(EnemyKind::Knight, 400);
    set_cell(w, 404, FLOOR - 1, Material::Stone);
    fill(380, FLOOR - 12, 460, FLOOR - 12, Material::Stone);
    k.alert_time = 4.0f;
    p.x = 600;
    steps(60);
    EXPECT_GT(k.x, 404) << "it has walked past the stone";
    EXPECT_EQ(k.y, FLOOR - 11);
}

// --- Per-step constants -----------------------------------------------------------

// Gravity and walking acceleration per step are 1000/60 and 800/60 computed
// in single precision (16.666666 and 13.333333), as for the dragon, not the
// rounded 16.6667 and 13.3333, which drift apart by 20 units in the last
// place within ten steps.
TEST_F(Enemies, PerStepGravityAndWalkingAccelerationAreExactSixtieths) {
    Enemy& k = add(EnemyKind::Knight, 400);
    k.y -= 100;
    k.grounded = false;
    k.alert_time = 4.0f;
    p.x = 800;  // far to the right: it walks toward the dragon
    steps(1);
    EXPECT_EQ(k.vel_y, 1000.0f / 60.0f);
    EXPECT_EQ(k.vel_x, 800.0f / 60.0f);
    steps(9);
    EXPECT_FLOAT_EQ(k.vel_y, 10000.0f / 60.0f);
    steps(1);
    EXPECT_FLOAT_EQ(k.vel_y, 11000.0f / 60.0f);
    k.y = FLOOR - 11;  // landed; walking goes on
    k.vel_x = 0.0f;
    k.grounded = true;
    steps(3);
    EXPECT_FLOAT_EQ(k.vel_x, 40.0f) << "three steps of 800/60";
    steps(3);
    EXPECT_FLOAT_EQ(k.vel_x, 80.0f);
    steps(2);
    EXPECT_FLOAT_EQ(k.vel_x, 94.0f) << "the knight's walking speed caps it";
}

// --- Sight ------------------------------------------------------------------------

TEST_F(Enemies, RockBetweenThemHidesTheDragon) {
    Enemy& k = add(EnemyKind::Knight, 400);
    EXPECT_TRUE(can_see_player(w, k, p));
    fill(350, FLOOR - 20, 352, FLOOR - 1, Material::Stone);
    EXPECT_FALSE(can_see_player(w, k, p));
    fill(350, FLOOR - 20, 352, FLOOR - 1, Material::Empty);
    set_cell(w, 402, FLOOR - 8, Material::Stone);  // the first sample, two columns from the eye
    EXPECT_FALSE(can_see_player(w, k, p));
    p.x = 400 - 160;
    EXPECT_FALSE(can_see_player(w, k, p)) << "beyond 155 columns";
    p.x = 4;
    k.x = 1;
    EXPECT_TRUE(can_see_player(w, k, p)) << "at the left edge the samples stay on the grid";
}

TEST_F(Enemies, SightReachesFiftyFiveRowsUpOrDown) {
    // From the knight's top row to the dragon's fifth: y + 4 - (FLOOR - 11).
    Enemy& k = add(EnemyKind::Knight, 400);
    p.x = 400;
    p.y = FLOOR - 11 - 59;  // 55 rows up
    EXPECT_TRUE(can_see_player(w, k, p));
    p.y = FLOOR - 11 - 60;  // 56
    EXPECT_FALSE(can_see_player(w, k, p));
    k.y = 20;
    p.y = 20 + 51;  // 55 rows down
    EXPECT_TRUE(can_see_player(w, k, p));
    p.y = 20 + 52;
    EXPECT_FALSE(can_see_player(w, k, p));
}

TEST_F(Enemies, OneFormationMemberSeeingTheDragonAlertsTheWholeGroup) {
    Enemy& near = add(EnemyKind::Knight, 350, 3, 1);
    Enemy& far = add(EnemyKind::Knight, 900, 3, -1);
    Enemy& stranger = add(EnemyKind::Knight, 950, 4, 1);
    steps(1);
    EXPECT_GT(near.alert_time, 0.0f);
    EXPECT_GT(far.alert_time, 3.9f);
    EXPECT_FLOAT_EQ(stranger.alert_time, 0.0f);
}

}  // namespace
