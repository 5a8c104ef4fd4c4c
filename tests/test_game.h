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
