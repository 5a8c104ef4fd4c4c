// Keeping and resuming the checkpoint behind Continue: a whole play state,
// copied within storage set aside at start-up.

#include <benchmark/benchmark.h>

#include "app/game.h"

namespace {

struct PlayingGame {
    Game game{};
    PlayingGame() {
        create_game(game);
        start_new_game_with_seed(game, 4242);
        game.screen = GameScreen::Playing;
        game.story_stage = 3;
        for (int i = 0; i < 120; ++i) {  // a settled world with cells in motion
            FrameInput in = idle_input(1.0f / 60.0f);
            update_frame(game, in);
        }
    }
    ~PlayingGame() { destroy_game(game); }
};

void BM_CheckpointSave(benchmark::State& state) {
    PlayingGame p;
    for (auto _ : state) {
        save_checkpoint(p.game);
        benchmark::ClobberMemory();
    }
    state.counters["MB"] = static_cast<double>(checkpoint_bytes()) / 1e6;
}
BENCHMARK(BM_CheckpointSave)->Unit(benchmark::kMillisecond);

void BM_CheckpointRestore(benchmark::State& state) {
    PlayingGame p;
    save_checkpoint(p.game);
    for (auto _ : state) {
        restore_checkpoint(p.game);
        benchmark::ClobberMemory();
    }
    state.counters["MB"] = static_cast<double>(checkpoint_bytes()) / 1e6;
}
BENCHMARK(BM_CheckpointRestore)->Unit(benchmark::kMillisecond);

}  // namespace
