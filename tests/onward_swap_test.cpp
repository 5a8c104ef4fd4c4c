// The follow-on swap of a moving cell wakes fewer cells than a full swap,
// trusting that its previous swap woke the block it starts from. Whatever
// happens between the two steps, the active list, the queue marks and the
// cells must come out exactly as with the full wake-up.

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "test_game.h"
#include "world/player_particles.h"

namespace {

constexpr int64_t CX = 100;  // where the mover stands between its two steps
constexpr int64_t CY = 100;
constexpr int64_t FAR_X = 1000;  // a second patch, for writers elsewhere

// A dense, fixed mix of wakeable and idle cells around (x0, y0).
void fill_patch(World& w, int64_t x0, int64_t y0) {
    constexpr std::array<Material, 6> MIX = {Material::Sand,  Material::Water, Material::Stone,
                                             Material::Empty, Material::Smoke, Material::Sand};
    for (int64_t y = y0 - 6; y <= y0 + 6; ++y) {
        for (int64_t x = x0 - 6; x <= x0 + 6; ++x) {
            const uint64_t h = static_cast<uint64_t>(x * 7 + y * 13 + x * y);
            cell_at(w, x, y) = Cell{};
            set_cell(w, x, y, MIX[h % MIX.size()]);
        }
    }
}

void clear_patch(World& w, int64_t x0, int64_t y0) {
    for (int64_t y = y0 - 8; y <= y0 + 8; ++y) {
        for (int64_t x = x0 - 8; x <= x0 + 8; ++x) {
            cell_at(w, x, y) = Cell{};
            w.queued_mark[static_cast<size_t>(cell_index(x, y))] = 0;
        }
    }
}

// Both worlds start here: the patches filled, every queue mark stale, the
// lists empty, the mover about to step from just above (CX, CY) onto it.
void prepare(World& w) {
    clear_patch(w, CX, CY);
    clear_patch(w, FAR_X, CY);
    w.tick = 0;
    fill_patch(w, CX, CY);
    fill_patch(w, FAR_X, CY);
    w.tick = 5;
    w.active_count = 0;
    w.next_count = 0;
    w.active_sel = 0;
    w.updating = true;
    w.rng_state = 99;
}

enum class Between {
    Nothing,            // the shortcut's own case
    SetCellBeside,      // a writer drops sand into the mover's block
    SwapInBlock,        // another mover steps through the mover's block
    DisplaceInBlock,    // a body shoves loose cells out of its way there
    NewTick,            // the next world update has begun
    OnlySomeoneElse,    // the mover never stepped; the last swap was elsewhere
};

void run(World& w, Between between, int64_t dx, int64_t dy, bool onward) {
    if (between != Between::OnlySomeoneElse) swap_cells(w, CX, CY - 1, CX, CY);
    switch (between) {
        case Between::Nothing: break;
        case Between::SetCellBeside: set_cell(w, CX + 1, CY - 1, Material::Sand); break;
        case Between::SwapInBlock: swap_cells(w, CX - 1, CY + 1, CX - 2, CY + 1); break;
        case Between::DisplaceInBlock:
            displace_cell(w, CX + 1, CY + 1, 0, 0, DisplaceMode::SingleCell, -1);
            break;
        case Between::NewTick: w.tick += 1; break;
        case Between::OnlySomeoneElse: swap_cells(w, FAR_X, CY - 1, FAR_X, CY); break;
    }
    if (onward) {
        swap_cells_onward(w, CX, CY, CX + dx, CY + dy);
    } else {
        swap_cells(w, CX, CY, CX + dx, CY + dy);
    }
}

const char* name_of(Between b) {
    switch (b) {
        case Between::Nothing: return "nothing";
        case Between::SetCellBeside: return "set_cell beside";
        case Between::SwapInBlock: return "swap in the block";
        case Between::DisplaceInBlock: return "displace in the block";
        case Between::NewTick: return "a new tick";
        case Between::OnlySomeoneElse: return "only someone else's swap";
    }
    return "?";
}

TEST(OnwardSwap, WhateverHappensBetweenTheStepsTheResultIsTheFullWakeUps) {
    WorldPtr shortcut = make_empty_world();
    WorldPtr full = make_empty_world();
    const Between cases[] = {Between::Nothing,         Between::SetCellBeside, Between::SwapInBlock,
                             Between::DisplaceInBlock, Between::NewTick,       Between::OnlySomeoneElse};
    for (const Between between : cases) {
        for (int64_t dy = -1; dy <= 1; ++dy) {
            for (int64_t dx = -1; dx <= 1; ++dx) {
                if (dx == 0 && dy == 0) continue;
                SCOPED_TRACE(::testing::Message() << name_of(between) << ", step " << dx << "," << dy);
                prepare(*shortcut);
                prepare(*full);
                run(*shortcut, between, dx, dy, true);
                run(*full, between, dx, dy, false);
                const World& a = *shortcut;
                const World& b = *full;
                EXPECT_GT(b.next_count, 0);
                const size_t listed = static_cast<size_t>(b.next_count) * sizeof(int32_t);
                EXPECT_TRUE(a.next_count == b.next_count &&
                            std::memcmp(a.active[1].data(), b.active[1].data(), listed) == 0)
                    << "the lists differ";
                EXPECT_EQ(std::memcmp(a.queued_mark.data(), b.queued_mark.data(), sizeof(a.queued_mark)), 0);
                EXPECT_EQ(std::memcmp(a.cells.data(), b.cells.data(), sizeof(a.cells)), 0);
                EXPECT_EQ(a.rng_state, b.rng_state);
            }
        }
    }
}

}  // namespace
