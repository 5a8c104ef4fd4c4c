// Cost of building a new level (terrain, cave, props, cells and enemies).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "world/level.h"

namespace {

void BM_GenerateLevel(benchmark::State& state) {
    auto* world = static_cast<World*>(std::calloc(1, sizeof(World)));
    auto* level = static_cast<Level*>(std::calloc(1, sizeof(Level)));
    uint32_t seed = 1;
    for (auto _ : state) {
        // A new game clears both blocks first; only the build itself is timed.
        state.PauseTiming();
        std::memset(static_cast<void*>(world), 0, sizeof(World));
        std::memset(static_cast<void*>(level), 0, sizeof(Level));
        world->rng_state = seed;
        seed = seed * 2654435761u + 1u;
        state.ResumeTiming();
        generate_level(*world, *level);
        benchmark::DoNotOptimize(world->enemy_count);
    }
    state.counters["enemies"] = static_cast<double>(world->enemy_count);
    std::free(level);
    std::free(world);
}
BENCHMARK(BM_GenerateLevel)->Unit(benchmark::kMillisecond);

}  // namespace
