// Cost of the world update in the situations play produces: a level settling
// after generation, the same level at rest, a large flood of moving cells, a
// chain of explosions through a powder field, and lava poured onto water.
// Reports milliseconds per update and nanoseconds per active cell.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "../tools/scenario/scenarios.h"
#include "combat/enemy_update.h"

namespace {

struct WorldFree {
    void operator()(World* w) const { std::free(w); }
};

World& shared_world() {
    static std::unique_ptr<World, WorldFree> world(static_cast<World*>(std::calloc(1, sizeof(World))));
    return *world;
}

Level& shared_level() {
    static std::unique_ptr<Level> level = std::make_unique<Level>();
    return *level;
}

// Forty knights standing on the flood tub's floor, in the way of the water.
void add_flood_knights(World& w) {
    for (int64_t i = 0; i < MAX_ENEMIES; ++i) {
        Enemy& e = w.enemies[static_cast<size_t>(i)];
        e = Enemy{};
        e.kind = static_cast<int64_t>(EnemyKind::Knight);
        e.x = 120 + 38 * i;
        e.y = 290 - 11;
        e.hp = 100;
        e.alive = true;
        e.grounded = true;
    }
    w.enemy_count = MAX_ENEMIES;
}

void rebuild(std::string_view name, uint32_t seed, bool with_knights = false) {
    World& w = shared_world();
    std::memset(static_cast<void*>(&w), 0, sizeof(World));
    std::memset(static_cast<void*>(&shared_level()), 0, sizeof(Level));
    w.rng_state = seed;
    scenario::build(name, w, shared_level());
    if (with_knights) add_flood_knights(w);
}

// Runs `run_steps` updates per rebuild of the scenario (after `warm_steps`
// untimed ones), timing only the updates themselves.
void run_world(benchmark::State& state, std::string_view name, int warm_steps, int run_steps,
               bool with_knights = false) {
    World& w = shared_world();
    using Clock = std::chrono::steady_clock;
    double total_ns = 0.0;
    double cells = 0.0;
    int64_t steps = 0;
    int until_rebuild = 0;
    for (auto _ : state) {
        if (until_rebuild == 0) {
            rebuild(name, 20240611u, with_knights);
            for (int i = 0; i < warm_steps; ++i) step_world(w);
            until_rebuild = run_steps;
        }
        cells += static_cast<double>(w.active_count);
        const auto start = Clock::now();
        step_world(w);
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        state.SetIterationTime(ns * 1e-9);
        total_ns += ns;
        ++steps;
        --until_rebuild;
    }
    state.counters["ms_per_step"] = total_ns / static_cast<double>(steps) * 1e-6;
    state.counters["active_cells"] = cells / static_cast<double>(steps);
    state.counters["ns_per_cell"] = cells > 0.0 ? total_ns / cells : 0.0;
}

void BM_LevelSettling(benchmark::State& state) { run_world(state, "level", 0, 120); }
void BM_LevelAtRest(benchmark::State& state) { run_world(state, "level", 900, 100000); }
void BM_Flood(benchmark::State& state) { run_world(state, "flood", 0, 100); }
void BM_FloodAmongFortyKnights(benchmark::State& state) { run_world(state, "flood", 0, 100, true); }
void BM_PowderChain(benchmark::State& state) { run_world(state, "powder_chain", 0, 150); }
void BM_LavaOnWaterAndIron(benchmark::State& state) { run_world(state, "lava_water_iron", 0, 200); }

}  // namespace

BENCHMARK(BM_LevelSettling)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(240);
BENCHMARK(BM_LevelAtRest)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2000);
BENCHMARK(BM_Flood)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_FloodAmongFortyKnights)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_PowderChain)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_LavaOnWaterAndIron)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(400);
