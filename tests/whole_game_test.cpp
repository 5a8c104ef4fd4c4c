// A whole game without a person, from the title's Enter through the intro,
// the grassland's enemies, the boss's first win, the second chance and the
// farewell to the ending and back to the title.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../tools/common/game_bot.h"
#include "alloc_counter.h"
#include "app/replay.h"
#include "test_game.h"

namespace {

constexpr int MAX_FRAMES = 60 * 60 * 6;  // six minutes of play is a stall
constexpr uint64_t PINNED_FINAL_HASH = 0x34e222b5b94ebdc3ull;

using game_bot::Bot;
using game_bot::Intent;
using game_bot::to_input;

TEST(WholeGame, ABotPlaysFromTheTitleToTheEndingAndBack) {
    GameFixture fx;
    Game& g = fx.game;
    SetRandomSeed(20261208u);
    Bot bot{g};
    std::vector<int64_t> stages;
    std::vector<BossEncounter> phases;
    int64_t hp_in_defiance = 100;
    bool saw_ending = false;
    uint64_t allocations_in_play = 0;
    int frames_played = 0;
    for (int n = 0; n < MAX_FRAMES; ++n, ++frames_played) {
        const Intent intent = bot.decide();
        FrameInput in = to_input(intent);

        const bool playing = g.screen == GameScreen::Playing;
        const uint64_t before = heap_allocations();
        update_frame(g, in);
        if (playing) allocations_in_play += heap_allocations() - before;
        if (g.screen == GameScreen::GameOver) FAIL() << "game over at frame " << n << ", stage " << g.story_stage
                                                      << ", x " << g.player.x;
        if (stages.empty() || stages.back() != g.story_stage) stages.push_back(g.story_stage);
        if (phases.empty() || phases.back() != g.boss_encounter) phases.push_back(g.boss_encounter);
        if (g.boss_encounter == BossEncounter::Defiance) hp_in_defiance = std::min(hp_in_defiance, g.player.hp);
        if (g.screen == GameScreen::Ending) saw_ending = true;
        if (saw_ending && g.screen == GameScreen::Title) break;
    }
    ASSERT_TRUE(saw_ending) << "stuck at stage " << g.story_stage << ", x " << g.player.x << ", phase "
                            << static_cast<int>(g.boss_encounter);
    EXPECT_EQ(g.screen, GameScreen::Title);
    const std::vector<int64_t> intro = {0, 1, 3, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    EXPECT_EQ(stages, intro);
    const std::vector<BossEncounter> encounter = {BossEncounter::Waiting, BossEncounter::Opening,
                                                  BossEncounter::Fighting, BossEncounter::Defiance,
                                                  BossEncounter::Empowered, BossEncounter::Won};
    EXPECT_EQ(phases, encounter);
    EXPECT_LE(hp_in_defiance, 0) << "the boss won the first fight";
    EXPECT_TRUE(g.player.empowered);
    EXPECT_EQ(allocations_in_play, 0u);
    std::printf("whole game: %d frames, %llu logic steps, final hash %016llx\n", frames_played,
                static_cast<unsigned long long>(g.logic_steps),
                static_cast<unsigned long long>(play_state_hash(g)));
    // Every build (plain, optimised, sanitized) must play exactly this game.
    EXPECT_EQ(play_state_hash(g), PINNED_FINAL_HASH);
}

}  // namespace
