#pragma once
// Helpers shared by the tests: a headless Game and an empty world.

#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/game.h"
#include "world/physics.h"

struct GameFixture {
    Game game{};
    GameFixture() { create_game(game); }
    ~GameFixture() { destroy_game(game); }
    GameFixture(const GameFixture&) = delete;
    GameFixture& operator=(const GameFixture&) = delete;
};

// A zero-filled world on the heap with a chosen generator state.
struct WorldDeleter {
    void operator()(World* w) const { std::free(w); }
};
using WorldPtr = std::unique_ptr<World, WorldDeleter>;

inline WorldPtr make_empty_world(uint32_t seed = 12345) {
    WorldPtr w(static_cast<World*>(std::calloc(1, sizeof(World))));
    w->rng_state = seed;
    return w;
}

inline void clear_world(World& w, uint32_t seed = 12345) {
    std::memset(static_cast<void*>(&w), 0, sizeof(World));
    w.rng_state = seed;
}

// A seeded game on the playing screen at a story stage, with what the
// stages before it unlock: the first line seen from stage 3, breath from 5.
inline void start_playing_at(Game& g, int64_t stage, uint32_t seed = 4242) {
    start_new_game_with_seed(g, seed);
    g.screen = GameScreen::Playing;
    g.story_stage = stage;
    g.awakening_seen = stage >= 3;
    g.materials_unlocked = stage >= 5;
}

// A new live enemy standing on the row `floor`, facing left, added to the world's table.
inline Enemy& add_standing_enemy(World& w, EnemyKind kind, int64_t x, int64_t floor) {
    Enemy& e = w.enemies[static_cast<size_t>(w.enemy_count++)];
    e = Enemy{};
    e.kind = static_cast<int64_t>(kind);
    e.x = x;
    e.y = floor - kind_props(kind).height;
    e.hp = kind_props(kind).hp;
    e.facing = -1;
    e.alive = true;
    e.grounded = true;
    return e;
}
