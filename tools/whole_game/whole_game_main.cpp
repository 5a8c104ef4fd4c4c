// The bot's whole game, from the title to the ending and back, as the
// whole-game test plays it; built natively and for wasm (run under node).
//   cindervale_whole_game            plays it; exit 1 unless the final hash is the pinned one
//   cindervale_whole_game --trace    also prints every frame's play-state hash
//   cindervale_whole_game --flood N  times N world updates of the flood scenario instead

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "../common/game_bot.h"
#include "../scenario/scenarios.h"
#include "app/replay.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int MAX_FRAMES = 60 * 60 * 6;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int play_whole_game(bool trace) {
    Game game{};
    if (!create_game(game)) {
        std::fprintf(stderr, "whole game: could not allocate the game\n");
        return 2;
    }
    SetRandomSeed(game_bot::WHOLE_GAME_SEED);
    game_bot::Bot bot{game};
    bool saw_ending = false;
    int frames = 0;
    const Clock::time_point start = Clock::now();
    for (; frames < MAX_FRAMES; ++frames) {
        FrameInput in = game_bot::to_input(bot.decide());
        update_frame(game, in);
        if (trace) std::printf("frame %d %016" PRIx64 "\n", frames, play_state_hash(game));
        if (game.screen == GameScreen::Ending) saw_ending = true;
        if (saw_ending && game.screen == GameScreen::Title) break;
    }
    const double ms = ms_since(start);
    const uint64_t hash = play_state_hash(game);
    std::printf("whole game: %d frames, %" PRIu64 " logic steps, %.0f ms, final hash %016" PRIx64 "\n",
                frames + 1, game.logic_steps, ms, hash);
    destroy_game(game);
    if (!saw_ending) {
        std::printf("whole game: the bot never reached the ending\n");
        return 1;
    }
    if (hash != game_bot::WHOLE_GAME_FINAL_HASH) {
        std::printf("whole game: final hash %016" PRIx64 " is not the pinned %016" PRIx64 "\n", hash,
                    game_bot::WHOLE_GAME_FINAL_HASH);
        return 1;
    }
    return 0;
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// The benchmarks' flood: a tub of water let go, rebuilt every 100 updates.
int time_flood(int steps) {
    std::unique_ptr<World, FreeDeleter> world(static_cast<World*>(std::calloc(1, sizeof(World))));
    std::unique_ptr<Level, FreeDeleter> level(static_cast<Level*>(std::calloc(1, sizeof(Level))));
    if (!world || !level) return 2;
    double total_ms = 0.0;
    for (int done = 0; done < steps;) {
        std::memset(static_cast<void*>(world.get()), 0, sizeof(World));
        std::memset(static_cast<void*>(level.get()), 0, sizeof(Level));
        world->rng_state = 20240611u;
        scenario::build("flood", *world, *level);
        for (int i = 0; i < 100 && done < steps; ++i, ++done) {
            const Clock::time_point start = Clock::now();
            step_world(*world);
            total_ms += ms_since(start);
        }
    }
    std::printf("flood: %d updates, %.3f ms per update\n", steps, total_ms / steps);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--flood") == 0) return time_flood(std::atoi(argv[2]) > 0 ? std::atoi(argv[2]) : 1);
    const bool trace = argc == 2 && std::strcmp(argv[1], "--trace") == 0;
    if (argc > 1 && !trace) {
        std::fprintf(stderr, "usage: %s [--trace | --flood N]\n", argv[0]);
        return 2;
    }
    return play_whole_game(trace);
}
