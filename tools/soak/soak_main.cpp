// cindervale_soak <frames> <seed> [seeds]: plays seeded games headless with
// random input, checking every frame; exits 1 when any seed broke a rule.
// CINDERVALE_SOAK_VERBOSE=1 prints where each game is every 1000 frames.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/game.h"
#include "soak.h"

namespace {

struct RunTotals {
    int64_t frames = 0;
    int64_t logic_steps = 0;
    int64_t games = 0;
    int64_t game_overs = 0;
    int64_t deepest_stage = 0;
    int64_t unjudged = 0;
};

// One seed: a game from the title, then wherever the input takes it.
bool soak_seed(uint64_t seed, int64_t frames, PlayWatch& watch, RunTotals& totals, bool verbose) {
    Game game{};
    if (!create_game(game)) {
        std::fprintf(stderr, "seed %llu: no memory for the game\n", static_cast<unsigned long long>(seed));
        return false;
    }
    SetRandomSeed(static_cast<unsigned int>(seed));
    RandomInput src = make_random_input(seed);
    reset_play_watch(watch);
    watch.unjudged_cells = 0;
    bool ok = true;
    const uint64_t steps_before = game.logic_steps;
    for (int64_t f = 0; f < frames; ++f) {
        FrameInput in = next_random_input(src, game);
        const FrameInput as_read = in;
        const GameScreen before = game.screen;
        update_frame(game, in);
        if (before != GameScreen::Playing && game.screen == GameScreen::Playing && before != GameScreen::GameOver) {
            ++totals.games;
        }
        if (before != GameScreen::GameOver && game.screen == GameScreen::GameOver) ++totals.game_overs;
        if (game.story_stage > totals.deepest_stage) totals.deepest_stage = game.story_stage;
        const PlayCheck check = check_play_frame(game, as_read, before, watch);
        ++totals.frames;
        if (verbose && f % 1000 == 0) {
            std::printf("  frame %lld: screen %d stage %lld x %lld y %lld hp %lld enemies %lld\n", static_cast<long long>(f),
                        static_cast<int>(game.screen), static_cast<long long>(game.story_stage),
                        static_cast<long long>(game.player.x), static_cast<long long>(game.player.y),
                        static_cast<long long>(game.player.hp), static_cast<long long>(game.world->enemy_count));
        }
        if (!check.ok) {
            std::fprintf(stderr, "seed %llu frame %lld: %s\n", static_cast<unsigned long long>(seed),
                         static_cast<long long>(f), check.what);
            ok = false;
            break;
        }
    }
    totals.logic_steps += static_cast<int64_t>(game.logic_steps - steps_before);
    totals.unjudged += watch.unjudged_cells;
    destroy_game(game);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <frames per seed> <first seed> [seeds]\n", argv[0]);
        return 2;
    }
    const int64_t frames = std::atoll(argv[1]);
    const uint64_t first = std::strtoull(argv[2], nullptr, 10);
    const int64_t seeds = argc > 3 ? std::atoll(argv[3]) : 1;
    const bool verbose = std::getenv("CINDERVALE_SOAK_VERBOSE") != nullptr;
    SetTraceLogLevel(LOG_WARNING);
    auto watch = std::make_unique<PlayWatch>();
    RunTotals totals;
    int64_t failures = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (int64_t s = 0; s < seeds; ++s) {
        const uint64_t seed = first + static_cast<uint64_t>(s);
        if (!soak_seed(seed, frames, *watch, totals, verbose)) ++failures;
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("seed %llu done: %lld frames in all, %.1f s\n", static_cast<unsigned long long>(seed),
                    static_cast<long long>(totals.frames), secs);
        std::fflush(stdout);
    }
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("frames %lld, seeds %lld, games started %lld, game overs %lld, logic steps %lld, deepest stage %lld, "
                "unjudged body cells %lld, failures %lld, %.1f s\n",
                static_cast<long long>(totals.frames), static_cast<long long>(seeds),
                static_cast<long long>(totals.games), static_cast<long long>(totals.game_overs),
                static_cast<long long>(totals.logic_steps), static_cast<long long>(totals.deepest_stage),
                static_cast<long long>(totals.unjudged), static_cast<long long>(failures), secs);
    return failures == 0 ? 0 : 1;
}
