// Cost of one dragon step where pushing cells out of its way is dearest: walking
// into a deep sand pile, and jumping about at the bottom of a full water tank,
// each with a full table of forty enemies standing about. Reports
// milliseconds per player step.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "combat/barrels.h"
#include "player/movement.h"
#include "player/spit.h"
#include "world/physics.h"

namespace {

constexpr int64_t FLOOR = 280;

struct WorldFree {
    void operator()(World* w) const { std::free(w); }
};

World& bench_world() {
    static std::unique_ptr<World, WorldFree> world(static_cast<World*>(std::calloc(1, sizeof(World))));
    return *world;
}

void fill(World& w, int64_t x0, int64_t y0, int64_t x1, int64_t y1, Material m) {
    for (int64_t y = y0; y <= y1; ++y) {
        for (int64_t x = x0; x <= x1; ++x) set_cell(w, x, y, m);
    }
}

// Forty knights on the floor, one every 40 columns from column 20.
void add_enemies(World& w) {
    for (int64_t i = 0; i < MAX_ENEMIES; ++i) {
        Enemy& e = w.enemies[static_cast<size_t>(i)];
        e = Enemy{};
        e.kind = static_cast<int64_t>(EnemyKind::Knight);
        e.x = 20 + 40 * i;
        e.y = FLOOR - 11;
        e.alive = true;
        e.grounded = true;
    }
    w.enemy_count = MAX_ENEMIES;
}

World& fresh_world() {
    World& w = bench_world();
    std::memset(static_cast<void*>(&w), 0, sizeof(World));
    w.rng_state = 20240611u;
    fill(w, 0, FLOOR, WORLD_W - 1, WORLD_H - 1, Material::Stone);
    return w;
}

// A sand heap 80 columns wide and 90 rows deep just ahead of the dragon.
Player build_sand_pile(World& w) {
    fill(w, 130, FLOOR - 90, 209, FLOOR - 1, Material::Sand);
    add_enemies(w);
    return make_player(110, FLOOR - PLAYER_H);
}

// A stone tank 70 wide and 120 deep, full to the brim, the dragon at its bottom.
Player build_water_tank(World& w) {
    fill(w, 89, FLOOR - 121, 89, FLOOR - 1, Material::Stone);
    fill(w, 160, FLOOR - 121, 160, FLOOR - 1, Material::Stone);
    fill(w, 90, FLOOR - 120, 159, FLOOR - 1, Material::Water);
    add_enemies(w);
    const Player p = make_player(110, FLOOR - PLAYER_H);
    fill(w, p.x, p.y, p.x + PLAYER_W - 1, p.y + PLAYER_H - 1, Material::Empty);
    return p;
}

template <typename Build, typename Input>
void run_player(benchmark::State& state, Build build, Input input_for_step, int steps_per_build) {
    using Clock = std::chrono::steady_clock;
    Player p{};
    World* w = nullptr;
    double total_ns = 0.0;
    double worst_ns = 0.0;
    int64_t steps = 0;
    int until_rebuild = 0;
    for (auto _ : state) {
        if (until_rebuild == 0) {
            w = &fresh_world();
            p = build(*w);
            until_rebuild = steps_per_build;
        }
        const PlayerInput in = input_for_step(steps_per_build - until_rebuild);
        const auto start = Clock::now();
        player_step(*w, p, in, false);
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        state.SetIterationTime(ns * 1e-9);
        total_ns += ns;
        worst_ns = ns > worst_ns ? ns : worst_ns;
        ++steps;
        --until_rebuild;
    }
    state.counters["ms_per_step"] = total_ns / static_cast<double>(steps) * 1e-6;
    state.counters["worst_ms"] = worst_ns * 1e-6;
}

void BM_PlayerWalksIntoDeepSand(benchmark::State& state) {
    run_player(state, build_sand_pile, [](int) { return PlayerInput{1, false, true}; }, 90);
}

// Jump, hold it for a fifth of a second, let go, and again.
void BM_PlayerJumpsInAFullTank(benchmark::State& state) {
    run_player(state, build_water_tank, [](int i) { return PlayerInput{i % 40 < 20 ? 1 : -1, i % 30 == 0, i % 30 > 12}; }, 90);
}

// A full list: 2048 particles of five materials spread over one view's width
// of the enemies' ground (a stream never reaches further), flying in all
// directions.
void fill_spit(SpitState& spit) {
    constexpr Material KINDS[] = {Material::Fire, Material::Sand, Material::Water, Material::Plasma, Material::Stone};
    for (int64_t i = 0; i < MAX_SPIT_PARTICLES; ++i) {
        SpitParticle& q = spit.particles[static_cast<size_t>(i)];
        q = SpitParticle{};
        q.x = 200.0f + static_cast<float>(i % 64) * 5.5f;
        q.y = static_cast<float>(FLOOR - 170 + (i / 64) * 5);
        const float angle = static_cast<float>(i) * 0.618f;
        q.vel_x = 3.0f * std::cos(angle);
        q.vel_y = 3.0f * std::sin(angle);
        q.material = KINDS[i % 5];
        q.life = 40;
        q.active = true;
        q.pierce = q.material == Material::Plasma ? 10 : 0;
    }
}

void BM_SpitUpdateFullListAmongEnemies(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    static SpitState spit;
    double total_ns = 0.0;
    int64_t steps = 0;
    World* w = &fresh_world();
    add_enemies(*w);
    for (auto _ : state) {
        if (steps % 4 == 0) fill_spit(spit);  // the world keeps what settles
        const auto start = Clock::now();
        update_spit_particles(*w, spit);
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        state.SetIterationTime(ns * 1e-9);
        total_ns += ns;
        ++steps;
    }
    state.counters["ms_per_step"] = total_ns / static_cast<double>(steps) * 1e-6;
}

// A barrel bursting against the dragon: its wood cleared and its content spilt.
void BM_BarrelSpillsNextToTheDragon(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    static Level level;
    double total_ns = 0.0;
    int64_t steps = 0;
    for (auto _ : state) {
        World& w = fresh_world();
        level = Level{};
        Barrel& b = level.barrels[0];
        b.x = 120;
        b.y = FLOOR - BARREL_H;
        b.material = Material::Water;
        level.barrel_count = 1;
        Inventory inv = reset_inventory();
        const Player p = make_player(110, FLOOR - PLAYER_H);
        const auto start = Clock::now();
        update_barrels(w, level, p, inv);  // no wood: it bursts at once
        step_world(w);
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        state.SetIterationTime(ns * 1e-9);
        total_ns += ns;
        ++steps;
    }
    state.counters["ms_per_step"] = total_ns / static_cast<double>(steps) * 1e-6;
}

}  // namespace

BENCHMARK(BM_SpitUpdateFullListAmongEnemies)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_BarrelSpillsNextToTheDragon)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_PlayerWalksIntoDeepSand)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(180);
BENCHMARK(BM_PlayerJumpsInAFullTank)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(180);
