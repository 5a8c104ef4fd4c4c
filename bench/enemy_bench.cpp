// Cost of the enemies' step: forty alerted enemies about a generated level,
// and a step in which a buried boss and ten buried knights die and search
// their rings for room to fling their debris. Reports milliseconds per step.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "combat/enemy_update.h"
#include "world/level.h"
#include "world/physics.h"

namespace {

struct WorldFree {
    void operator()(World* w) const { std::free(w); }
};

World& enemy_world() {
    static std::unique_ptr<World, WorldFree> world(static_cast<World*>(std::calloc(1, sizeof(World))));
    return *world;
}

Level& enemy_level() {
    static std::unique_ptr<Level> level = std::make_unique<Level>();
    return *level;
}

World& generated_world() {
    World& w = enemy_world();
    std::memset(static_cast<void*>(&w), 0, sizeof(World));
    std::memset(static_cast<void*>(&enemy_level()), 0, sizeof(Level));
    w.rng_state = 20240611u;
    generate_level(w, enemy_level());
    return w;
}

double elapsed_ns(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
}

// Every enemy alerted and released, the dragon amid the middle formations.
void BM_FortyAlertedEnemies(benchmark::State& state) {
    World& w = generated_world();
    w.boss_frozen = false;
    // Fill the table to forty with knights along the grassland.
    for (int64_t i = w.enemy_count; i < MAX_ENEMIES; ++i) {
        spawn_enemy(w, enemy_level(), 1300 + 45 * i, EnemyKind::Knight, 0, 0, 0);
    }
    Player p = make_player(2000, enemy_level().surface[2007] - PLAYER_H);
    double total_ns = 0.0;
    int64_t steps = 0;
    for (auto _ : state) {
        for (int64_t i = 0; i < w.enemy_count; ++i) w.enemies[static_cast<size_t>(i)].alert_time = 4.0f;
        p.hp = 100;
        const auto start = std::chrono::steady_clock::now();
        update_enemies(w, p);
        const double ns = elapsed_ns(start);
        state.SetIterationTime(ns * 1e-9);
        total_ns += ns;
        ++steps;
    }
    state.counters["ms_per_step"] = total_ns / static_cast<double>(steps) * 1e-6;
    state.counters["enemies"] = static_cast<double>(w.enemy_count);
}

// Rock everywhere but the bodies: every piece of debris searches its rings
// out to the largest radius.
void BM_BuriedBossAndTenKnightsDie(benchmark::State& state) {
    double total_ns = 0.0;
    double worst_ns = 0.0;
    int64_t steps = 0;
    for (auto _ : state) {
        World& w = enemy_world();
        std::memset(static_cast<void*>(&w), 0, sizeof(World));
        w.rng_state = 99u;
        for (int64_t y = 100; y < WORLD_H; ++y) {
            for (int64_t x = 0; x < 800; ++x) cell_at(w, x, y).material = Material::Stone;
        }
        const auto bury = [&](EnemyKind kind, int64_t x, int64_t y) {
            Enemy& e = w.enemies[static_cast<size_t>(w.enemy_count++)];
            e = Enemy{};
            e.kind = static_cast<int64_t>(kind);
            e.x = x;
            e.y = y;
            e.hp = 1;
            e.pending_damage = 8;
            e.alive = true;
            const EnemyMask& m = enemy_mask(kind);
            for (int64_t r = 0; r < m.height; ++r) {
                for (int64_t c = 0; c < m.width; ++c) cell_at(w, x + c, y + r).material = Material::Empty;
            }
        };
        bury(EnemyKind::Boss, 100, 200);
        for (int64_t i = 0; i < 10; ++i) bury(EnemyKind::Knight, 200 + 50 * i, 220);
        Player p = make_player(20, 20);
        p.empowered = true;
        const auto start = std::chrono::steady_clock::now();
        update_enemies(w, p);
        const double ns = elapsed_ns(start);
        state.SetIterationTime(ns * 1e-9);
        total_ns += ns;
        worst_ns = ns > worst_ns ? ns : worst_ns;
        ++steps;
    }
    state.counters["ms_per_step"] = total_ns / static_cast<double>(steps) * 1e-6;
    state.counters["worst_ms"] = worst_ns * 1e-6;
}

}  // namespace

BENCHMARK(BM_FortyAlertedEnemies)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(600);
BENCHMARK(BM_BuriedBossAndTenKnightsDie)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
