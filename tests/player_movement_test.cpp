// The dragon's movement: walking, jumping, climbing and pushing through cells,
// on hand-built worlds with a stone floor.

#include <gtest/gtest.h>

#include "player/movement.h"
#include "test_game.h"
#include "world/player_particles.h"

namespace {

constexpr int64_t FLOOR = 200;  // first stone row
constexpr float STEP = 1.0f / 60.0f;

class Movement : public ::testing::Test {
protected:
    WorldPtr world = make_empty_world();
    World& w = *world;
    Player p = make_player(100, FLOOR - PLAYER_H);

    void SetUp() override { fill(0, FLOOR, WORLD_W - 1, FLOOR + 3, Material::Stone); }

    void fill(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Material m) {
        for (int64_t y = y0; y <= y1; ++y) {
            for (int64_t x = x0; x <= x1; ++x) set_cell(w, x, y, m);
        }
    }
    void step(int64_t move, bool jump_pressed = false, bool jump_held = false) {
        player_step(w, p, PlayerInput{move, jump_pressed, !(jump_pressed || jump_held)}, false);
    }
    void steps(int n, int64_t move, bool jump_held = false) {
        for (int i = 0; i < n; ++i) step(move, false, jump_held);
    }
    int64_t count(Material m) const {
        int64_t n = 0;
        for (const Cell& c : w.cells) n += c.material == m;
        return n;
    }
    // The only enemy of the world: a knight with its top-left at (x, y).
    Enemy& lone_knight(int64_t x, int64_t y, bool grounded = true) {
        Enemy& e = w.enemies[0];
        e = Enemy{};
        e.kind = static_cast<int64_t>(EnemyKind::Knight);
        e.alive = true;
        e.grounded = grounded;
        e.x = x;
        e.y = y;
        w.enemy_count = 1;
        return e;
    }
};

// --- Walking ----------------------------------------------------------------------

TEST_F(Movement, WalkingFromRestCoversFiftyFourCellsInHalfASecond) {
    // 21.67, 43.33, 65, 86.67, 108.33 cells/s, then 117: 5.42 cells in the
    // first five steps and 1.95 per step after, 54.17 after 30 steps.
    steps(30, 1);
    EXPECT_EQ(p.x, 154);
    EXPECT_FLOAT_EQ(p.vel_x, 117.0f);
    EXPECT_EQ(p.y, FLOOR - PLAYER_H);
    EXPECT_TRUE(p.grounded);
}

TEST_F(Movement, BothDirectionsHeldBrakeLikeNoInput) {
    p.vel_x = 117.0f;
    player_step(w, p, PlayerInput{0, false, true}, false);
    EXPECT_FLOAT_EQ(p.vel_x, 92.0f);  // 1500 per second
    const int64_t x = p.x;
    steps(10, 0);
    EXPECT_FLOAT_EQ(p.vel_x, 0.0f);
    EXPECT_GT(p.x, x);
}

TEST_F(Movement, FacingFollowsTheLastInput) {
    step(-1);
    EXPECT_EQ(p.facing, -1);
    step(0);
    EXPECT_EQ(p.facing, -1);
    step(1);
    EXPECT_EQ(p.facing, 1);
}

TEST_F(Movement, HeldDragonStandsStillAndLeavesNoFootprint) {
    p.vel_x = 50.0f;
    player_step(w, p, PlayerInput{1, true, false}, true);
    EXPECT_EQ(p.x, 100);
    EXPECT_FLOAT_EQ(p.vel_x, 0.0f);
    EXPECT_FALSE(w.player_present);
}

// --- Sand -----------------------------------------------------------------------

TEST_F(Movement, StandsOnSandButWalksThroughAPile) {
    fill(0, FLOOR - 3, WORLD_W - 1, FLOOR - 1, Material::Sand);  // a sand floor
    p.y = FLOOR - 3 - PLAYER_H;
    fill(130, FLOOR - 23, 160, FLOOR - 4, Material::Sand);  // a pile in the way
    const int64_t sand = count(Material::Sand);
    steps(40, 1);
    EXPECT_EQ(p.y, FLOOR - 3 - PLAYER_H) << "sand underfoot holds the dragon up";
    EXPECT_GT(p.x, 140) << "the pile does not stop a walking dragon";
    EXPECT_EQ(count(Material::Sand), sand) << "pushed grains are moved, never lost";
    for (int64_t r = 0; r < PLAYER_H; ++r) {
        for (int64_t c = 0; c < PLAYER_W; ++c) {
            if (player_mask_covers(p.x + c, p.y + r, p.x, p.y)) {
                EXPECT_EQ(cell_at(w, p.x + c, p.y + r).material, Material::Empty);
            }
        }
    }
}

TEST_F(Movement, SandThatCannotMoveBlocksTheBody) {
    // A sealed box of sand: no grain has anywhere to go.
    fill(114, FLOOR - 40, 200, FLOOR - 1, Material::Sand);
    fill(113, FLOOR - 41, 113, FLOOR - 1, Material::Stone);
    EXPECT_FALSE(can_player_move(w, p.x + 1, p.y, 0));
}

// --- Ledges and walls -------------------------------------------------------------

TEST_F(Movement, ClimbsAFourCellLedgeWhileWalking) {
    fill(120, FLOOR - 4, 200, FLOOR - 1, Material::Stone);
    steps(30, 1);
    EXPECT_GT(p.x, 120);
    EXPECT_EQ(p.y, FLOOR - 4 - PLAYER_H);
}

TEST_F(Movement, AFiveCellWallStopsTheDragonAndRemembersItsSpeed) {
    fill(120, FLOOR - 5, 200, FLOOR - 1, Material::Stone);
    steps(30, 1);
    EXPECT_EQ(p.x, 120 - PLAYER_W);
    EXPECT_EQ(p.y, FLOOR - PLAYER_H);
    EXPECT_FLOAT_EQ(p.vel_x, 0.0f);
}

TEST_F(Movement, ALedgeUnderALowCeilingIsNotClimbed) {
    fill(120, FLOOR - 2, 200, FLOOR - 1, Material::Stone);
    fill(100, FLOOR - PLAYER_H - 1, 200, FLOOR - PLAYER_H - 1, Material::Stone);  // touches the head
    steps(30, 1);
    EXPECT_EQ(p.x, 120 - PLAYER_W);
}

TEST_F(Movement, AWallBurntAwayWithinTheGraceGivesTheRunBack) {
    fill(120, FLOOR - 30, 121, FLOOR - 1, Material::Stone);
    steps(12, 1);
    ASSERT_EQ(p.x, 120 - PLAYER_W);
    ASSERT_GT(p.wall_grace, 0.0f);
    const float lost = p.wall_vel_x;
    ASSERT_GT(lost, 0.0f);
    fill(120, FLOOR - 30, 121, FLOOR - 1, Material::Empty);
    step(1);
    EXPECT_GE(p.vel_x, lost);
    EXPECT_FLOAT_EQ(p.wall_vel_x, 0.0f);
}

TEST_F(Movement, AWallGoneWithinTheGraceGivesTheRunBackWhileSinkingOutOfTheWorld) {
    // Rows below the grid are open here as everywhere: a dragon whose lower
    // rows already hang below row 299, sinking through water beside a wall,
    // gets its run back when the wall goes.
    clear_world(w);
    fill(80, WORLD_H - 15, 113, WORLD_H - 1, Material::Water);
    fill(114, WORLD_H - 40, 116, WORLD_H - 1, Material::Stone);
    p = make_player(100, WORLD_H - 15);  // five rows below the grid
    p.vel_x = 117.0f;
    step(1);
    ASSERT_EQ(p.x, 100) << "the wall stops it";
    ASSERT_GT(p.wall_grace, 0.0f);
    ASSERT_FLOAT_EQ(p.wall_vel_x, 117.0f);
    fill(114, WORLD_H - 40, 116, WORLD_H - 1, Material::Empty);
    step(1);
    EXPECT_FLOAT_EQ(p.vel_x, 117.0f);
    EXPECT_FLOAT_EQ(p.wall_vel_x, 0.0f);
}

TEST_F(Movement, TheGridEdgesAreWallsOnBothSides) {
    p.x = 0;
    steps(10, -1);
    EXPECT_EQ(p.x, 0);
    p.x = WORLD_W - PLAYER_W;
    steps(10, 1);
    EXPECT_EQ(p.x, WORLD_W - PLAYER_W);
}

// --- Jumps ------------------------------------------------------------------------

TEST_F(Movement, HoldingTheJumpKeepsTakeOffSpeedForAFifthOfASecond) {
    step(0, true);
    EXPECT_FLOAT_EQ(p.vel_y, -220.0f);
    steps(10, 0, true);
    EXPECT_FLOAT_EQ(p.vel_y, -220.0f);
    steps(3, 0, true);
    EXPECT_GT(p.vel_y, -220.0f);
}

TEST_F(Movement, ReleasingTheJumpCutsTheRiseAtOnce) {
    step(0, true);
    step(0);
    EXPECT_FLOAT_EQ(p.vel_y, -220.0f + 1000.0f * STEP);
    EXPECT_FLOAT_EQ(p.jump_hold, 0.0f);
}

TEST_F(Movement, ATakeOffPushesInTheInputDirection) {
    step(1, true);
    // 21.67 from walking (airborne by then: 0.7 x 1300 / 60) plus the push.
    EXPECT_FLOAT_EQ(p.vel_x, 35.0f + 1300.0f * 0.7f * STEP);
}

TEST_F(Movement, NearTheApexAHeldJumpFallsAtHalfGravity) {
    p.y -= 50;
    p.vel_y = -30.0f;
    step(0, false, true);
    EXPECT_FLOAT_EQ(p.vel_y, -30.0f + 500.0f * STEP);
    p.vel_y = 100.0f;
    step(0, false, true);
    EXPECT_FLOAT_EQ(p.vel_y, 100.0f + 1000.0f * STEP);
    // The band is below 60 cells a second either way, 60 itself outside it.
    p.vel_y = -59.0f;
    step(0, false, true);
    EXPECT_FLOAT_EQ(p.vel_y, -59.0f + 500.0f * STEP);
    p.vel_y = -60.0f;
    step(0, false, true);
    EXPECT_FLOAT_EQ(p.vel_y, -60.0f + 1000.0f * STEP);
    p.vel_y = 60.0f;
    step(0, false, true);
    EXPECT_FLOAT_EQ(p.vel_y, 60.0f + 1000.0f * STEP);
}

TEST_F(Movement, AFallSpeedsUpByGravityUntil360CellsASecond) {
    p.y = 10;
    for (int i = 1; i <= 21; ++i) {
        step(0);
        ASSERT_FLOAT_EQ(p.vel_y, static_cast<float>(i) * 1000.0f / 60.0f) << "step " << i;
    }
    step(0);  // 22 x 16.67 = 366.7: held at the cap
    EXPECT_FLOAT_EQ(p.vel_y, 360.0f);
    steps(8, 0);
    EXPECT_FLOAT_EQ(p.vel_y, 360.0f);
}

TEST_F(Movement, AJumpPressedJustBeforeLandingFiresOnTheLandingStep) {
    p.y = FLOOR - PLAYER_H - 10;
    p.vel_y = 300.0f;
    step(0, true);  // five cells down, still five to go
    ASSERT_EQ(p.y, FLOOR - PLAYER_H - 5);
    ASSERT_GT(p.vel_y, 0.0f);
    step(0, false, true);  // lands after five more, and takes off in the same step
    EXPECT_EQ(p.y, FLOOR - PLAYER_H);
    EXPECT_FLOAT_EQ(p.vel_y, -220.0f);
}

// Coyote time is 0.1 s, six steps: the step that walks off the edge counts
// the first 1/60 down, five more leave a residue of 0.1 - 6/60 above zero in
// single precision, so the sixth step after it still jumps and the seventh
// does not.
TEST_F(Movement, AJumpFiresUpToTheSixthStepAfterWalkingOffAnEdgeNotTheSeventh) {
    for (int late = 5; late <= 7; ++late) {
        clear_world(w);
        fill(0, FLOOR, 113, FLOOR + 3, Material::Stone);  // the floor ends under the dragon
        fill(0, FLOOR + 60, WORLD_W - 1, FLOOR + 63, Material::Stone);
        p = make_player(100, FLOOR - PLAYER_H);
        p.vel_x = 117.0f;
        int walked_off = 0;
        while (p.grounded || walked_off == 0) {  // make_player starts it on its feet
            ASSERT_LT(++walked_off, 60);
            step(1);
        }
        for (int i = 1; i < late; ++i) step(1);
        ASSERT_GT(p.vel_y, 0.0f);
        step(1, true);
        if (late <= 6) {
            EXPECT_FLOAT_EQ(p.vel_y, -220.0f) << late << " steps after walking off";
        } else {
            EXPECT_GT(p.vel_y, 0.0f) << late << " steps after walking off";
        }
    }
}

TEST_F(Movement, NoJumpLongAfterWalkingOffAnEdge) {
    p.y = FLOOR - PLAYER_H - 60;
    steps(10, 0);
    step(0, true);
    EXPECT_GT(p.vel_y, 0.0f);
}

// --- Ceilings ---------------------------------------------------------------------

TEST_F(Movement, AHeadUnderACeilingCornerSlidesAroundItByTheSmallestOffset) {
    const int64_t ceiling = FLOOR - PLAYER_H - 1;  // touching the head
    fill(110, ceiling, 113, ceiling, Material::Stone);  // over the right four columns
    step(0, true);
    EXPECT_EQ(p.x, 96) << "four cells left clears the block";
    EXPECT_LT(p.y, FLOOR - PLAYER_H);

    p = make_player(100, FLOOR - PLAYER_H);
    w.player_present = false;
    fill(110, ceiling, 113, ceiling, Material::Empty);
    fill(100, ceiling, 104, ceiling, Material::Stone);  // over the left five
    step(0, true);
    EXPECT_EQ(p.x, 105) << "five cells right";

    // Six is the widest slide; seven is too far.
    p = make_player(100, FLOOR - PLAYER_H);
    w.player_present = false;
    fill(100, ceiling, 105, ceiling, Material::Stone);  // over the left six
    step(0, true);
    EXPECT_EQ(p.x, 106) << "six cells right";
    p = make_player(100, FLOOR - PLAYER_H);
    w.player_present = false;
    fill(100, ceiling, 106, ceiling, Material::Stone);  // over the left seven
    step(0, true);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, FLOOR - PLAYER_H) << "the head stays under the ceiling";
}

TEST_F(Movement, AHeadUnderAWideCeilingIsNotNudged) {
    fill(93, FLOOR - PLAYER_H - 1, 120, FLOOR - PLAYER_H - 1, Material::Stone);  // 7 either side
    step(0, true);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, FLOOR - PLAYER_H);
}

TEST_F(Movement, ACeilingRemovedWithinTheGraceLetsTheHeldJumpGoOn) {
    // Three cells rise on take-off, the fourth hits the ceiling in the next step.
    const int64_t ceiling = FLOOR - PLAYER_H - 5;
    fill(60, ceiling, 160, ceiling, Material::Stone);
    step(0, true);
    step(0, false, true);
    ASSERT_TRUE(p.ceiling_blocked);
    EXPECT_EQ(p.y, ceiling + 1);
    fill(60, ceiling, 160, ceiling, Material::Empty);
    step(0, false, true);
    EXPECT_FALSE(p.ceiling_blocked);
    EXPECT_FLOAT_EQ(p.vel_y, -220.0f);
    EXPECT_LT(p.y, FLOOR - PLAYER_H);
}

TEST_F(Movement, ACeilingThatStaysCancelsTheRise) {
    fill(60, FLOOR - PLAYER_H - 1, 160, FLOOR - PLAYER_H - 1, Material::Stone);
    step(0, true);
    steps(4, 0, true);
    EXPECT_FALSE(p.ceiling_blocked);
    EXPECT_FLOAT_EQ(p.jump_hold, 0.0f);
    EXPECT_EQ(p.y, FLOOR - PLAYER_H);
}

// --- Enemies ----------------------------------------------------------------------

TEST_F(Movement, WalkingIntoAStandingEnemyStopsWithoutLiftingIt) {
    Enemy& e = lone_knight(130, FLOOR - 11);
    steps(40, 1);
    EXPECT_EQ(e.y, FLOOR - 11) << "only a rising dragon lifts an enemy";
    EXPECT_LT(p.x, 130);
    EXPECT_EQ(player_overlap(p.x, p.y, e), 0);
}

TEST_F(Movement, JumpingIntoAnEnemyLiftsIt) {
    Enemy& e = lone_knight(103, FLOOR - PLAYER_H - 11);  // standing on the dragon's head
    step(0);
    step(0, true);
    steps(3, 0, true);
    EXPECT_LT(e.y, FLOOR - PLAYER_H - 11);
    EXPECT_FALSE(e.grounded);
    EXPECT_EQ(player_overlap(p.x, p.y, e), 0);
}

TEST_F(Movement, AnEnemyThatCannotRiseStopsTheJump) {
    Enemy& e = lone_knight(103, FLOOR - PLAYER_H - 11, false);
    fill(90, e.y - 1, 130, e.y - 1, Material::Stone);
    step(0);
    step(0, true);
    // The dragon's top three mask rows are empty: it rises until its head
    // meets the knight's feet.
    EXPECT_EQ(p.y, FLOOR - PLAYER_H - 3);
    EXPECT_EQ(e.y, FLOOR - PLAYER_H - 11);
}

TEST_F(Movement, AnEnemysHeadIsGroundToStandStillOnAndJumpFrom) {
    Enemy& e = lone_knight(103, FLOOR - 11);
    p.y = e.y - PLAYER_H - 6;  // drops onto the knight
    steps(30, 0);
    const int64_t rest = p.y;
    ASSERT_LT(rest, e.y) << "it came to rest above the knight";
    ASSERT_EQ(player_overlap(p.x, p.y, e), 0);
    for (int i = 0; i < 8; ++i) {
        step(0);
        EXPECT_TRUE(p.grounded) << "step " << i;
        EXPECT_EQ(p.vel_y, 0.0f) << "no bobbing: step " << i;
        EXPECT_EQ(p.y, rest);
    }
    step(0, true);
    EXPECT_EQ(p.vel_y, -220.0f) << "the jump fires from the knight's head";
    EXPECT_LT(p.y, rest);
}

TEST_F(Movement, ADragonSqueezedIntoAnEnemyCanWorkItsWayOut) {
    Enemy& e = lone_knight(108, FLOOR - 11, false);
    player_step(w, p, PlayerInput{0, false, true}, false);
    ASSERT_GT(player_overlap(p.x, p.y, e), 0);
    steps(20, -1);
    EXPECT_LT(p.x, 100);
    steps(20, 1);
    EXPECT_EQ(player_overlap(p.x, p.y, e), 0) << "walking back in stops at the knight";
}

TEST_F(Movement, OverlapCountsCellsOfBothMasks) {
    Enemy e{};
    e.kind = static_cast<int64_t>(EnemyKind::Knight);
    // Knight row 10 "..##.##." under the dragon's row 3 "..############":
    // columns 2, 3, 5, 6 of the knight fall on dragon columns 2, 3, 5, 6.
    e.x = 100;
    e.y = 100 + 3 - 10;
    EXPECT_EQ(player_overlap(100, 100, e), 4);
    e.x = 100 + PLAYER_W;  // side by side
    EXPECT_EQ(player_overlap(100, 100, e), 0);
    e.x = 100 - 8;
    EXPECT_EQ(player_overlap(100, 100, e), 0);
}

// --- Footprint and footing --------------------------------------------------------

TEST_F(Movement, SandRestingOnTheDragonFallsWhenItWalksAway) {
    step(0);
    fill(102, FLOOR - PLAYER_H - 10, 111, FLOOR - PLAYER_H + 2, Material::Sand);
    for (int i = 0; i < 240; ++i) step_world(w);  // the pile settles on the head and sleeps
    ASSERT_EQ(cell_at(w, 106, FLOOR - 1).material, Material::Empty);
    for (int i = 0; i < 40; ++i) {
        step(1);
        step_world(w);
    }
    for (int i = 0; i < 120; ++i) step_world(w);
    EXPECT_TRUE(w.player_present);
    EXPECT_EQ(w.player_x, p.x);
    EXPECT_EQ(cell_at(w, 103, FLOOR - 1).material, Material::Sand);
}

TEST_F(Movement, FootingPrefersWaterAtTheFeetThenTheFirstSolidBelow) {
    EXPECT_EQ(footing_material(w, p), Material::Stone);
    set_cell(w, 100, FLOOR, Material::Grass);
    EXPECT_EQ(footing_material(w, p), Material::Grass);
    // Water counts at the feet, columns 3 to 10, not under the tail or snout.
    set_cell(w, p.x + 2, p.y + PLAYER_H - 1, Material::Water);
    set_cell(w, p.x + 11, p.y + PLAYER_H - 1, Material::Water);
    EXPECT_EQ(footing_material(w, p), Material::Grass);
    set_cell(w, p.x + 10, p.y + PLAYER_H - 1, Material::Water);
    EXPECT_EQ(footing_material(w, p), Material::Water);
    set_cell(w, p.x + 10, p.y + PLAYER_H - 1, Material::Empty);
    set_cell(w, p.x + 3, p.y + PLAYER_H - 1, Material::Water);
    EXPECT_EQ(footing_material(w, p), Material::Water);
    p.y = FLOOR - PLAYER_H - 30;
    EXPECT_EQ(footing_material(w, p), Material::Stone) << "nothing below counts as stone";
    p.x = WORLD_W - 5;
    p.y = 10;
    EXPECT_EQ(footing_material(w, p), Material::Stone) << "off the grid counts as stone";
}

TEST_F(Movement, GroundBelowIgnoresCellsOffTheGrid) {
    EXPECT_TRUE(ground_below(w, p.x, p.y));
    EXPECT_TRUE(ground_below(w, p.x, p.y - 4));
    EXPECT_FALSE(ground_below(w, p.x, p.y - 5));
    EXPECT_FALSE(ground_below(w, -20, WORLD_H - 22));
    EXPECT_FALSE(ground_below(w, WORLD_W - 2, WORLD_H - 10));
}

}  // namespace

namespace {

// --- Never walled in --------------------------------------------------------------

TEST_F(Movement, RockFormedInsideTheBodyDoesNotWallTheDragonIn) {
    step(0);  // the footprint is written
    // A closed pocket: walls both sides, a roof, and stone that formed in the
    // body's empty top rows and in its belly.
    fill(98, FLOOR - 30, 98, FLOOR - 1, Material::Stone);
    fill(115, FLOOR - 30, 115, FLOOR - 1, Material::Stone);
    fill(98, FLOOR - PLAYER_H - 1, 115, FLOOR - PLAYER_H - 1, Material::Stone);
    set_cell(w, 101, FLOOR - PLAYER_H + 1, Material::Stone);
    set_cell(w, 106, FLOOR - 10, Material::Stone);
    fill(99, FLOOR - 30, 114, FLOOR - PLAYER_H - 2, Material::Empty);
    fill(116, FLOOR - 30, 200, FLOOR - 1, Material::Empty);
    fill(115, FLOOR - 30, 115, FLOOR - 1, Material::Empty);  // the right wall burns away
    steps(20, 1);
    EXPECT_GT(p.x, 100) << "it walks out through the rock it held";
}

TEST_F(Movement, RockOutsideTheBodyStillBlocks) {
    step(0);
    fill(114, FLOOR - 30, 114, FLOOR - 1, Material::Stone);  // touching the box's right side
    steps(20, 1);
    EXPECT_EQ(p.x, 100);
}

}  // namespace
