// The grid primitives every other rule builds on.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "player/player.h"
#include "test_game.h"
#include "world/player_particles.h"

namespace {

class Grid : public ::testing::Test {
protected:
    WorldPtr world = make_empty_world();
    World& w() { return *world; }
};

TEST_F(Grid, WorldRandIsTheSharedLcg) {
    w().rng_state = 1;
    EXPECT_EQ(world_rand(w()), 1u * 1664525u + 1013904223u);
    w().rng_state = 0xFFFFFFFFu;
    EXPECT_EQ(world_rand(w()), 0xFFFFFFFFu * 1664525u + 1013904223u);
}

TEST_F(Grid, SetCellOutsideTheWorldChangesNothingAndDrawsNothing) {
    const uint32_t before = w().rng_state;
    set_cell(w(), -1, 5, Material::Sand);
    set_cell(w(), 3400, 5, Material::Sand);
    set_cell(w(), 5, 300, Material::Sand);
    set_cell(w(), 5, -1, Material::Sand);
    EXPECT_EQ(w().rng_state, before);
    EXPECT_EQ(w().active_count, 0);
}

TEST_F(Grid, SnowIsBornColdWithOneDraw) {
    const uint32_t before = w().rng_state;
    set_cell(w(), 10, 10, Material::Snow);
    const Cell& c = cell_at(w(), 10, 10);
    EXPECT_EQ(c.temperature, -10);
    EXPECT_EQ(c.life, 0);
    EXPECT_EQ(w().rng_state, lcg_next(before));
    EXPECT_EQ(c.shade, lcg_next(before) >> 30);
}

TEST_F(Grid, FireDrawsShadeThenLifetime) {
    const uint32_t before = w().rng_state;
    set_cell(w(), 10, 10, Material::Fire);
    const uint32_t r1 = lcg_next(before);
    const uint32_t r2 = lcg_next(r1);
    const Cell& c = cell_at(w(), 10, 10);
    EXPECT_EQ(w().rng_state, r2);
    EXPECT_EQ(c.shade, r1 >> 30);
    EXPECT_EQ(c.life, static_cast<int16_t>(r2 % 31 + 15));
    EXPECT_EQ(c.life_max, c.life);
    EXPECT_EQ(c.temperature, 320);
    EXPECT_EQ(c.origin, Material::Fire);
    EXPECT_EQ(c.integrity, 10);
}

TEST_F(Grid, LifetimesStayInTheirRanges) {
    for (int i = 0; i < 200; ++i) {
        set_cell(w(), 1, 1, Material::Steam);
        EXPECT_GE(cell_at(w(), 1, 1).life, 240);
        EXPECT_LE(cell_at(w(), 1, 1).life, 480);
        set_cell(w(), 1, 1, Material::Blood);
        EXPECT_GE(cell_at(w(), 1, 1).life, 130);
        EXPECT_LE(cell_at(w(), 1, 1).life, 259);
    }
    set_cell(w(), 1, 1, Material::Boom);
    EXPECT_EQ(cell_at(w(), 1, 1).life, 8);
    EXPECT_EQ(cell_at(w(), 1, 1).temperature, 600);
}

TEST_F(Grid, MovingMaterialsNeverEnterThePlayersBody) {
    w().player_present = true;
    w().player_x = 100;
    w().player_y = 100;
    // Row 5 of the silhouette is fully set.
    set_cell(w(), 100, 105, Material::Sand);
    set_cell(w(), 101, 105, Material::Water);
    set_cell(w(), 102, 105, Material::Smoke);
    EXPECT_EQ(cell_at(w(), 100, 105).material, Material::Empty);
    EXPECT_EQ(cell_at(w(), 101, 105).material, Material::Empty);
    EXPECT_EQ(cell_at(w(), 102, 105).material, Material::Empty);
    set_cell(w(), 103, 105, Material::Stone);
    EXPECT_EQ(cell_at(w(), 103, 105).material, Material::Stone);
    // Row 0 of the silhouette is clear: the box alone does not block.
    set_cell(w(), 100, 100, Material::Sand);
    EXPECT_EQ(cell_at(w(), 100, 100).material, Material::Sand);
}

TEST_F(Grid, MovingMaterialsNeverEnterAnEnemysBody) {
    Enemy& e = w().enemies[0];
    e.kind = static_cast<int64_t>(EnemyKind::Knight);
    e.x = 50;
    e.y = 50;
    e.alive = true;
    w().enemy_count = 1;
    EXPECT_TRUE(cell_in_actor(w(), 52, 50));   // ..####.. row 0
    EXPECT_FALSE(cell_in_actor(w(), 50, 50));  // corner is clear
    set_cell(w(), 52, 50, Material::Sand);
    EXPECT_EQ(cell_at(w(), 52, 50).material, Material::Empty);
    e.alive = false;
    EXPECT_FALSE(cell_in_actor(w(), 52, 50));
}

TEST_F(Grid, SetCellDuringAnUpdateIsStampedWithTheTick) {
    w().tick = 7;
    set_cell(w(), 3, 3, Material::Stone);
    EXPECT_EQ(cell_at(w(), 3, 3).stamp, 0u);
    w().updating = true;
    set_cell(w(), 4, 3, Material::Stone);
    EXPECT_EQ(cell_at(w(), 4, 3).stamp, 7u);
}

TEST_F(Grid, OnlyMovingKindsAreQueuedBySetCell) {
    set_cell(w(), 5, 5, Material::Stone);
    EXPECT_EQ(w().active_count, 0);
    set_cell(w(), 20, 5, Material::Water);
    ASSERT_EQ(w().active_count, 1);
    EXPECT_EQ(w().active[0][0], cell_index(20, 5));
}

TEST_F(Grid, EnqueueStoresACellOncePerTick) {
    enqueue_cell(w(), 9, 9);
    enqueue_cell(w(), 9, 9);
    EXPECT_EQ(w().active_count, 1);
    enqueue_cell(w(), 3400, 0);
    enqueue_cell(w(), 0, -1);
    EXPECT_EQ(w().active_count, 1);
    // During an update new entries go to the next list, marked for the next tick.
    w().updating = true;
    w().tick = 1;
    enqueue_cell(w(), 9, 9);
    enqueue_cell(w(), 9, 9);
    EXPECT_EQ(w().next_count, 1);
    EXPECT_EQ(w().active[1][0], cell_index(9, 9));
}

TEST_F(Grid, WakeNeighboursQueuesOnlyMovingOrBurningCells) {
    set_cell(w(), 11, 10, Material::Stone);
    Cell& wood = cell_at(w(), 9, 9);
    wood.material = Material::Wood;
    wood.burning = true;
    cell_at(w(), 10, 11).material = Material::Sand;
    w().active_count = 0;
    w().tick = 5;  // fresh marks
    wake_neighbours(w(), 10, 10);
    EXPECT_EQ(w().active_count, 2);
    // At the world's corner only the in-world part of the block is looked at.
    cell_at(w(), 0, 0).material = Material::Water;
    wake_neighbours(w(), 0, 0);
    EXPECT_EQ(w().active_count, 3);
}

TEST_F(Grid, SwapExchangesEverythingAndStampsBoth) {
    w().tick = 42;
    set_cell(w(), 1, 1, Material::Acid);
    set_cell(w(), 2, 1, Material::Lava);
    const Cell acid = cell_at(w(), 1, 1);
    swap_cells(w(), 1, 1, 2, 1);
    EXPECT_EQ(cell_at(w(), 2, 1).material, Material::Acid);
    EXPECT_EQ(cell_at(w(), 2, 1).life, acid.life);
    EXPECT_EQ(cell_at(w(), 1, 1).material, Material::Lava);
    EXPECT_EQ(cell_at(w(), 1, 1).stamp, 42u);
    EXPECT_EQ(cell_at(w(), 2, 1).stamp, 42u);
}

// Density rules: moving down needs a lighter target, up a heavier one, and a
// non-empty target never takes a sideways move.
TEST_F(Grid, TryMoveFollowsTheDensityRules) {
    set_cell(w(), 10, 10, Material::Water);
    set_cell(w(), 11, 10, Material::Petrol);
    int64_t x = 10, y = 10;
    EXPECT_FALSE(try_move_cell(w(), x, y, 1, 0));
    EXPECT_EQ(x, 10);

    set_cell(w(), 10, 11, Material::Petrol);
    EXPECT_TRUE(try_move_cell(w(), x, y, 0, 1));
    EXPECT_EQ(y, 11);
    EXPECT_EQ(cell_at(w(), 10, 10).material, Material::Petrol);
    EXPECT_EQ(cell_at(w(), 10, 11).material, Material::Water);

    // Petrol over water stays put.
    x = 10;
    y = 10;
    EXPECT_FALSE(try_move_cell(w(), x, y, 0, 1));

    set_cell(w(), 30, 10, Material::Sand);
    set_cell(w(), 30, 11, Material::Water);
    x = 30;
    y = 10;
    EXPECT_TRUE(try_move_cell(w(), x, y, 0, 1));
    EXPECT_EQ(cell_at(w(), 30, 10).material, Material::Water);
}

// Density decides only when it differs: a liquid never sinks into, or rises
// through, a different liquid of the same density.
TEST_F(Grid, EqualDensitiesNeverSwapEitherWay) {
    struct Pair {
        Material upper, lower;
    };
    const Pair equal[] = {{Material::Acid, Material::Blood},   // 32 and 32
                          {Material::Blood, Material::Acid},
                          {Material::Water, Material::Potion},  // 30 and 30
                          {Material::Potion, Material::Water}};
    int64_t x = 10;
    for (const Pair& p : equal) {
        set_cell(w(), x, 10, p.upper);
        set_cell(w(), x, 11, p.lower);
        EXPECT_FALSE(can_move_to(w(), x, 10, x, 11)) << int(p.upper);
        EXPECT_FALSE(can_move_to(w(), x, 11, x, 10)) << int(p.lower);
        int64_t mx = x, my = 10;
        EXPECT_FALSE(try_move_cell(w(), mx, my, 0, 1));
        my = 11;
        EXPECT_FALSE(try_move_cell(w(), mx, my, 0, -1));
        EXPECT_EQ(cell_at(w(), x, 10).material, p.upper);
        x += 5;
    }
    // Two points apart is enough: acid (32) sinks through water (30), and
    // water under acid may rise.
    set_cell(w(), 50, 10, Material::Acid);
    set_cell(w(), 50, 11, Material::Water);
    EXPECT_TRUE(can_move_to(w(), 50, 10, 50, 11));
    EXPECT_TRUE(can_move_to(w(), 50, 11, 50, 10));
    int64_t mx = 50, my = 11;
    EXPECT_TRUE(try_move_cell(w(), mx, my, 0, -1));
    EXPECT_EQ(cell_at(w(), 50, 10).material, Material::Water);
}

TEST_F(Grid, TryMoveRefusesSameMaterialSolidsEdgesAndActors) {
    set_cell(w(), 10, 10, Material::Sand);
    set_cell(w(), 10, 11, Material::Sand);
    int64_t x = 10, y = 10;
    EXPECT_FALSE(try_move_cell(w(), x, y, 0, 1));
    set_cell(w(), 10, 11, Material::Wood);
    EXPECT_FALSE(try_move_cell(w(), x, y, 0, 1));
    set_cell(w(), 0, 299, Material::Sand);
    x = 0;
    y = 299;
    EXPECT_FALSE(try_move_cell(w(), x, y, 0, 1));
    EXPECT_FALSE(try_move_cell(w(), x, y, -1, 0));

    w().player_present = true;
    w().player_x = 40;
    w().player_y = 40;
    set_cell(w(), 40, 44, Material::Sand);  // just above mask row 5, column 0
    x = 40;
    y = 44;
    EXPECT_FALSE(try_move_cell(w(), x, y, 0, 1));
}

TEST_F(Grid, SteamRisesIntoWaterButNotIntoStone) {
    set_cell(w(), 5, 10, Material::Steam);
    set_cell(w(), 5, 9, Material::Water);
    int64_t x = 5, y = 10;
    EXPECT_TRUE(try_move_cell(w(), x, y, 0, -1));
    EXPECT_EQ(cell_at(w(), 5, 10).material, Material::Water);
    set_cell(w(), 5, 8, Material::Stone);
    EXPECT_FALSE(try_move_cell(w(), x, y, 0, -1));
}

TEST_F(Grid, CanMoveToTreatsAnOffGridSourceAsStone) {
    set_cell(w(), 0, 1, Material::Water);
    EXPECT_TRUE(can_move_to(w(), -1, 0, 0, 1));   // Stone (120) sinks through water (30)
    EXPECT_FALSE(can_move_to(w(), 0, 0, 0, 300)); // target off the grid
    EXPECT_TRUE(can_move_to(w(), 0, 0, 1, 0));    // empty target
    set_cell(w(), 1, 1, Material::Sand);
    EXPECT_FALSE(can_move_to(w(), 0, 1, 1, 1));   // same row, non-empty: never
}

// The rim: cells on the four edges are ordinary cells, and a position one
// beyond any edge is refused by every primitive without touching memory. The
// positions beyond the left and right edges would alias cells of the rows
// above and below if they were ever turned into an index; those beyond the top
// and bottom would land outside the grid.
struct RimCase {
    int64_t beyond_x, beyond_y;  // one past an edge
    int64_t edge_x, edge_y;      // the cell just inside it
};
constexpr std::array<RimCase, 4> RIM = {{
    {-1, 150, 0, 150},
    {WORLD_W, 150, WORLD_W - 1, 150},
    {1700, -1, 1700, 0},
    {1700, WORLD_H, 1700, WORLD_H - 1},
}};

class GridRim : public Grid {
protected:
    WorldPtr snapshot = make_empty_world();
    // Loose material along all four edges and in the cells a wrapped index
    // would reach, so that any stray write changes something.
    void SetUp() override {
        for (int64_t x = 0; x < WORLD_W; ++x) {
            set_cell(w(), x, 0, Material::Water);
            set_cell(w(), x, WORLD_H - 1, Material::Sand);
        }
        for (int64_t y = 1; y < WORLD_H - 1; ++y) {
            set_cell(w(), 0, y, Material::Sand);
            set_cell(w(), WORLD_W - 1, y, Material::Water);
        }
        w().active_count = 0;
        w().tick = 10;  // every queue mark stale
    }
    void keep() { std::memcpy(static_cast<void*>(snapshot.get()), world.get(), sizeof(World)); }
    bool unchanged() { return std::memcmp(snapshot.get(), world.get(), sizeof(World)) == 0; }
};

TEST_F(GridRim, EveryPrimitiveRefusesAPositionJustBeyondAnEdge) {
    for (const RimCase& r : RIM) {
        SCOPED_TRACE(::testing::Message() << "beyond at " << r.beyond_x << "," << r.beyond_y);
        keep();
        set_cell(w(), r.beyond_x, r.beyond_y, Material::Stone);
        enqueue_cell(w(), r.beyond_x, r.beyond_y);
        swap_cells(w(), r.beyond_x, r.beyond_y, r.edge_x, r.edge_y);
        swap_cells(w(), r.edge_x, r.edge_y, r.beyond_x, r.beyond_y);
        swap_cells_onward(w(), r.edge_x, r.edge_y, r.beyond_x, r.beyond_y);
        int64_t x = r.beyond_x, y = r.beyond_y;
        EXPECT_FALSE(try_move_cell(w(), x, y, r.edge_x - r.beyond_x, r.edge_y - r.beyond_y));
        EXPECT_EQ(x, r.beyond_x);
        x = r.edge_x, y = r.edge_y;
        EXPECT_FALSE(try_move_cell(w(), x, y, r.beyond_x - r.edge_x, r.beyond_y - r.edge_y));
        EXPECT_FALSE(can_move_to(w(), r.edge_x, r.edge_y, r.beyond_x, r.beyond_y));
        EXPECT_FALSE(cell_in_actor(w(), r.beyond_x, r.beyond_y));
        for (DisplaceMode mode : {DisplaceMode::Player, DisplaceMode::SingleCell}) {
            EXPECT_FALSE(displace_cell(w(), r.beyond_x, r.beyond_y, 0, 0, mode, -1));
        }
        EXPECT_TRUE(unchanged());
    }
}

TEST_F(GridRim, AWakeUpBeyondAnEdgeWakesOnlyTheCellsOfItsBlockOnTheGrid) {
    // One beyond the left edge: the three edge cells beside it, top to bottom.
    wake_neighbours(w(), -1, 150);
    ASSERT_EQ(w().active_count, 3);
    EXPECT_EQ(w().active[0][0], cell_index(0, 149));
    EXPECT_EQ(w().active[0][2], cell_index(0, 151));
    // One below the bottom edge: the three bottom-row cells, left to right.
    wake_neighbours(w(), 1700, WORLD_H);
    ASSERT_EQ(w().active_count, 6);
    EXPECT_EQ(w().active[0][3], cell_index(1699, WORLD_H - 1));
    EXPECT_EQ(w().active[0][5], cell_index(1701, WORLD_H - 1));
    // Two beyond, the block misses the grid altogether.
    keep();
    wake_neighbours(w(), -2, 150);
    wake_neighbours(w(), WORLD_W + 1, 150);
    wake_neighbours(w(), 1700, -2);
    wake_neighbours(w(), 1700, WORLD_H + 1);
    EXPECT_TRUE(unchanged());
}

TEST_F(GridRim, EdgeCellsSwapMoveAndDisplaceLikeAnyOther) {
    for (const RimCase& r : RIM) {
        SCOPED_TRACE(::testing::Message() << "edge at " << r.edge_x << "," << r.edge_y);
        // The neighbour one step inward along the edge's normal.
        const int64_t in_x = r.edge_x + (r.edge_x - r.beyond_x);
        const int64_t in_y = r.edge_y + (r.edge_y - r.beyond_y);
        set_cell(w(), in_x, in_y, Material::Empty);
        const Material edge = cell_at(w(), r.edge_x, r.edge_y).material;
        swap_cells(w(), r.edge_x, r.edge_y, in_x, in_y);
        EXPECT_EQ(cell_at(w(), in_x, in_y).material, edge);
        EXPECT_EQ(cell_at(w(), r.edge_x, r.edge_y).material, Material::Empty);
        int64_t x = in_x, y = in_y;
        ASSERT_TRUE(try_move_cell(w(), x, y, r.edge_x - in_x, r.edge_y - in_y));
        EXPECT_EQ(cell_at(w(), r.edge_x, r.edge_y).material, edge);
        // Freed by pushing it inward, the only way out.
        ASSERT_TRUE(displace_cell(w(), r.edge_x, r.edge_y, 0, 0, DisplaceMode::SingleCell, -1));
        EXPECT_EQ(cell_at(w(), r.edge_x, r.edge_y).material, Material::Empty);
        EXPECT_EQ(cell_at(w(), in_x, in_y).material, edge);
    }
    // The four corners swap along both edges.
    swap_cells(w(), 0, 0, WORLD_W - 1, WORLD_H - 1);
    EXPECT_EQ(cell_at(w(), 0, 0).material, Material::Sand);
    EXPECT_EQ(cell_at(w(), WORLD_W - 1, WORLD_H - 1).material, Material::Water);
    swap_cells(w(), WORLD_W - 1, 0, 0, WORLD_H - 1);
    EXPECT_EQ(cell_at(w(), WORLD_W - 1, 0).material, Material::Sand);
    EXPECT_EQ(cell_at(w(), 0, WORLD_H - 1).material, Material::Water);
}

TEST_F(GridRim, DisplaceForAnEnemyNotOnTheListIsRefused) {
    keep();
    EXPECT_FALSE(displace_cell(w(), 0, 150, 5, 150, DisplaceMode::Enemy, 0));  // no enemies at all
    EXPECT_FALSE(displace_cell(w(), 0, 150, 5, 150, DisplaceMode::Enemy, -1));
    EXPECT_TRUE(unchanged());
}

// displace_cell: pushing loose material to the nearest air pocket.
TEST_F(Grid, DisplaceShiftsTheSandRowTowardTheNearestAir) {
    // Stone box around a row: centre sand, two sand, then air.
    for (int64_t x = 95; x <= 105; ++x) {
        for (int64_t y = 95; y <= 105; ++y) set_cell(w(), x, y, Material::Stone);
    }
    set_cell(w(), 100, 100, Material::Sand);
    set_cell(w(), 101, 100, Material::Sand);
    set_cell(w(), 102, 100, Material::Sand);
    set_cell(w(), 103, 100, Material::Empty);
    ASSERT_TRUE(displace_cell(w(), 100, 100, 0, 0, DisplaceMode::SingleCell, -1));
    EXPECT_EQ(cell_at(w(), 100, 100).material, Material::Empty);
    EXPECT_EQ(cell_at(w(), 101, 100).material, Material::Sand);
    EXPECT_EQ(cell_at(w(), 102, 100).material, Material::Sand);
    EXPECT_EQ(cell_at(w(), 103, 100).material, Material::Sand);
}

// A stone block with a sand cell at (100, 100) and air at the listed
// neighbours: which way does displace_cell push it?
void sand_in_stone(World& w, std::initializer_list<std::pair<int64_t, int64_t>> air) {
    for (int64_t y = 97; y <= 103; ++y) {
        for (int64_t x = 97; x <= 103; ++x) set_cell(w, x, y, Material::Stone);
    }
    set_cell(w, 100, 100, Material::Sand);
    for (const auto& [x, y] : air) set_cell(w, x, y, Material::Empty);
}

TEST_F(Grid, DisplaceTriesUpThenLeftThenRightThenDown) {
    struct Case {
        std::pair<int64_t, int64_t> first, second;  // air at both; the first wins
    };
    const Case cases[] = {
        {{100, 99}, {99, 100}},    // up before left
        {{99, 100}, {101, 100}},   // left before right
        {{101, 100}, {100, 101}},  // right before down
        {{100, 99}, {100, 101}},   // up before down
    };
    for (const Case& c : cases) {
        WorldPtr fresh = make_empty_world();
        sand_in_stone(*fresh, {c.first, c.second});
        ASSERT_TRUE(displace_cell(*fresh, 100, 100, 0, 0, DisplaceMode::SingleCell, -1));
        EXPECT_EQ(cell_at(*fresh, c.first.first, c.first.second).material, Material::Sand)
            << c.first.first << "," << c.first.second;
        EXPECT_EQ(cell_at(*fresh, c.second.first, c.second.second).material, Material::Empty);
    }
    // Nearest first: air two cells up through sand loses to air just below.
    WorldPtr fresh = make_empty_world();
    sand_in_stone(*fresh, {{100, 101}});
    set_cell(*fresh, 100, 99, Material::Sand);
    set_cell(*fresh, 100, 98, Material::Empty);
    ASSERT_TRUE(displace_cell(*fresh, 100, 100, 0, 0, DisplaceMode::SingleCell, -1));
    EXPECT_EQ(cell_at(*fresh, 100, 101).material, Material::Sand);
    EXPECT_EQ(cell_at(*fresh, 100, 98).material, Material::Empty);
}

// Sand at (100, 100) whose only way out runs right through the water at
// (101, 100) to the air at (102, 100): which movers and bodies may the path
// cross? The bodies are placed after the cells are written.
struct Bodies {
    bool player = false;
    int64_t player_x = 0;  // silhouette row 5 covers player_x .. player_x + 13 of row 100
    bool knight = false;
    int64_t knight_x = 0;  // top row covers knight_x + 2 .. knight_x + 5 of row 100
    bool knight_alive = true;
};

bool pushed_right(const Bodies& b, int64_t mover_x, int64_t mover_y, DisplaceMode mode, int64_t enemy_index) {
    WorldPtr world = make_empty_world();
    World& w = *world;
    sand_in_stone(w, {{101, 100}, {102, 100}});
    set_cell(w, 101, 100, Material::Water);
    w.player_present = b.player;
    w.player_x = b.player_x;
    w.player_y = 95;
    if (b.knight) {
        Enemy& e = w.enemies[0];
        e.kind = static_cast<int64_t>(EnemyKind::Knight);
        e.x = b.knight_x;
        e.y = 100;
        e.alive = b.knight_alive;
        w.enemy_count = 1;
    }
    const bool moved = displace_cell(w, 100, 100, mover_x, mover_y, mode, enemy_index);
    EXPECT_EQ(cell_at(w, 101, 100).material, moved ? Material::Sand : Material::Water);
    EXPECT_EQ(cell_at(w, 102, 100).material, moved ? Material::Water : Material::Empty);
    return moved;
}

TEST_F(Grid, DisplaceKeepsOutOfEachMoversWayAndOfEveryBody) {
    const Bodies none;
    // A single cell keeps out of its own landing place only.
    EXPECT_FALSE(pushed_right(none, 101, 100, DisplaceMode::SingleCell, -1));
    EXPECT_TRUE(pushed_right(none, 100, 100, DisplaceMode::SingleCell, -1));
    // The player keeps out of the body it is moving into, not the one it leaves.
    EXPECT_FALSE(pushed_right(none, 88, 95, DisplaceMode::Player, -1));
    const Bodies player_in_the_way{true, 88};
    EXPECT_TRUE(pushed_right(player_in_the_way, 60, 95, DisplaceMode::Player, -1));
    // Every other mover keeps out of the player's present body.
    EXPECT_FALSE(pushed_right(player_in_the_way, 0, 0, DisplaceMode::SingleCell, -1));
    EXPECT_FALSE(pushed_right(Bodies{true, 88, true, 60}, 60, 100, DisplaceMode::Enemy, 0));
    // A live enemy blocks every mover, a dead one nobody.
    EXPECT_FALSE(pushed_right(Bodies{false, 0, true, 99}, 0, 0, DisplaceMode::Player, -1));
    EXPECT_FALSE(pushed_right(Bodies{false, 0, true, 99}, 0, 0, DisplaceMode::SingleCell, -1));
    EXPECT_TRUE(pushed_right(Bodies{false, 0, true, 99, false}, 0, 0, DisplaceMode::Player, -1));
    // A moving enemy keeps out of its new place but may pass through its old one.
    EXPECT_TRUE(pushed_right(Bodies{false, 0, true, 99}, 60, 100, DisplaceMode::Enemy, 0));
    EXPECT_FALSE(pushed_right(Bodies{false, 0, true, 60}, 99, 100, DisplaceMode::Enemy, 0));
}

// The path is shifted from its far end back to the centre, each cell swapped
// with its predecessor, the far end named first: the wake-ups, and so the
// active list, follow that order.
TEST_F(Grid, DisplaceShiftsThePathFromTheFarEndInward) {
    const auto build = [](World& w) {
        sand_in_stone(w, {{101, 100}, {101, 99}});
        set_cell(w, 101, 100, Material::Water);
        // Loose cells next to the path, to be woken.
        set_cell(w, 102, 98, Material::Sand);
        set_cell(w, 99, 101, Material::Sand);
        set_cell(w, 102, 101, Material::Sand);
        w.active_count = 0;
        w.tick = 3;  // every queue mark stale
    };
    WorldPtr pushed = make_empty_world();
    build(*pushed);
    ASSERT_TRUE(displace_cell(*pushed, 100, 100, 0, 0, DisplaceMode::SingleCell, -1));
    EXPECT_EQ(cell_at(*pushed, 101, 99).material, Material::Water);
    EXPECT_EQ(cell_at(*pushed, 101, 100).material, Material::Sand);
    EXPECT_EQ(cell_at(*pushed, 100, 100).material, Material::Empty);
    // Worked by hand: swap (101,99)<->(101,100) wakes the block around
    // (101,99) row by row (the centre's sand is still in place), then the new
    // row of the block around (101,100); swap (101,100)<->(100,100) then wakes
    // the sand just arrived at (101,100) and the new column around (100,100).
    const int64_t expected[] = {
        cell_index(102, 98),  cell_index(101, 99),  cell_index(100, 100),
        cell_index(102, 101), cell_index(101, 100), cell_index(99, 101),
    };
    ASSERT_EQ(pushed->active_count, 6);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(pushed->active[0][i], expected[i]) << "entry " << i;
    }
}

TEST_F(Grid, DisplaceFailsAndChangesNothingWhenWalledIn) {
    for (int64_t x = 60; x <= 140; ++x) {
        for (int64_t y = 60; y <= 140; ++y) set_cell(w(), x, y, Material::Stone);
    }
    for (int64_t x = 95; x <= 105; ++x) set_cell(w(), x, 100, Material::Sand);
    const uint32_t tick_stamp = cell_at(w(), 100, 100).stamp;
    EXPECT_FALSE(displace_cell(w(), 100, 100, 0, 0, DisplaceMode::SingleCell, -1));
    for (int64_t x = 95; x <= 105; ++x) EXPECT_EQ(cell_at(w(), x, 100).material, Material::Sand);
    EXPECT_EQ(cell_at(w(), 100, 100).stamp, tick_stamp);
}

TEST_F(Grid, DisplaceLooksNoFurtherThan32Cells) {
    for (int64_t x = 50; x <= 150; ++x) {
        for (int64_t y = 99; y <= 101; ++y) set_cell(w(), x, y, Material::Stone);
    }
    for (int64_t x = 100; x <= 133; ++x) set_cell(w(), x, 100, Material::Water);
    set_cell(w(), 133, 100, Material::Empty);  // 33 cells away: outside the window
    EXPECT_FALSE(displace_cell(w(), 100, 100, 0, 0, DisplaceMode::SingleCell, -1));
    set_cell(w(), 132, 100, Material::Empty);  // 32 cells away: inside
    EXPECT_TRUE(displace_cell(w(), 100, 100, 0, 0, DisplaceMode::SingleCell, -1));
    EXPECT_EQ(cell_at(w(), 132, 100).material, Material::Water);
}

TEST_F(Grid, DisplaceForThePlayerNeverRoutesThroughItsNewBody) {
    // A sand cell at the silhouette's left edge; air only on the far side of
    // where the body will stand, and a stone floor below.
    const int64_t px = 200, py = 100;
    for (int64_t x = px - 3; x <= px + 20; ++x) set_cell(w(), x, py + 20, Material::Stone);
    for (int64_t y = py; y < py + 20; ++y) {
        for (int64_t x = px - 3; x <= px + 17; ++x) set_cell(w(), x, y, Material::Sand);
    }
    set_cell(w(), px + 17, py + 10, Material::Empty);
    for (int64_t y = py - 1; y >= py - 3; --y) {
        for (int64_t x = px - 3; x <= px + 17; ++x) set_cell(w(), x, y, Material::Stone);
    }
    for (int64_t y = py; y < py + 20; ++y) {
        set_cell(w(), px - 4, y, Material::Stone);
        set_cell(w(), px + 18, y, Material::Stone);
    }
    // Free the silhouette cell at row 5, column 0.
    ASSERT_TRUE(displace_cell(w(), px, py + 5, px, py, DisplaceMode::Player, -1));
    EXPECT_EQ(cell_at(w(), px, py + 5).material, Material::Empty);
    // Only cells outside the silhouette were used for the path: every silhouette
    // cell except the centre still holds its sand.
    for (int64_t r = 0; r < 20; ++r) {
        for (int64_t c = 0; c < 14; ++c) {
            if (!player_mask_covers(px + c, py + r, px, py)) continue;
            if (c == 0 && r == 5) continue;
            EXPECT_EQ(cell_at(w(), px + c, py + r).material, Material::Sand) << c << "," << r;
        }
    }
    EXPECT_EQ(cell_at(w(), px + 17, py + 10).material, Material::Sand);
}

}  // namespace
