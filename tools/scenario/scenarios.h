#pragma once
// Named test worlds for the scenario viewer, the benchmarks and the tests:
// each builds a small, repeatable piece of the world through the ordinary
// grid primitives, so it exercises the same code paths as play.

#include <cstdint>
#include <cstring>
#include <string_view>

#include "world/level.h"
#include "world/physics.h"

namespace scenario {

inline void fill_rect(World& w, int64_t x0, int64_t y0, int64_t width, int64_t height, Material m) {
    for (int64_t y = y0; y < y0 + height; ++y) {
        for (int64_t x = x0; x < x0 + width; ++x) set_cell(w, x, y, m);
    }
}

// A stone tub: floor and two walls, open at the top. Inside spans x0+1..x0+width-2.
inline void build_tub(World& w, int64_t x0, int64_t floor_y, int64_t width, int64_t wall_h,
                      Material m = Material::Stone) {
    fill_rect(w, x0, floor_y, width, 3, m);
    fill_rect(w, x0, floor_y - wall_h, 2, wall_h, m);
    fill_rect(w, x0 + width - 2, floor_y - wall_h, 2, wall_h, m);
}

inline void sand_pile(World& w) {
    fill_rect(w, 0, 290, 400, 10, Material::Stone);
    fill_rect(w, 190, 40, 20, 200, Material::Sand);
    fill_rect(w, 60, 100, 12, 120, Material::Snow);
    fill_rect(w, 320, 150, 30, 80, Material::Powder);
}

inline void water_flood(World& w) {
    build_tub(w, 20, 290, 360, 60);
    fill_rect(w, 40, 120, 60, 160, Material::Water);
    fill_rect(w, 200, 200, 40, 40, Material::Sand);
    fill_rect(w, 300, 240, 20, 50, Material::Petrol);
}

inline void smoke(World& w) {
    fill_rect(w, 0, 290, 400, 10, Material::Stone);
    fill_rect(w, 150, 60, 100, 6, Material::Stone);  // a ledge to gather under
    fill_rect(w, 160, 220, 80, 60, Material::Smoke);
    fill_rect(w, 40, 240, 40, 40, Material::Steam);
}

inline void fire_wood(World& w) {
    fill_rect(w, 0, 290, 400, 10, Material::Ground);
    fill_rect(w, 0, 288, 400, 2, Material::Grass);
    fill_rect(w, 100, 230, 8, 58, Material::Wood);
    fill_rect(w, 60, 222, 90, 8, Material::Wood);
    fill_rect(w, 250, 200, 50, 40, Material::Wood);
    fill_rect(w, 100, 280, 1, 1, Material::Fire);
    fill_rect(w, 270, 190, 3, 3, Material::Fire);
}

inline void acid(World& w) {
    fill_rect(w, 0, 290, 400, 10, Material::Stone);
    fill_rect(w, 40, 250, 120, 40, Material::Stone);
    fill_rect(w, 240, 280, 120, 10, Material::Glass);
    fill_rect(w, 80, 200, 40, 20, Material::Acid);
    fill_rect(w, 280, 240, 40, 20, Material::Acid);
}

inline void lava_water_iron(World& w) {
    build_tub(w, 20, 290, 360, 80);
    fill_rect(w, 22, 250, 356, 40, Material::Water);
    fill_rect(w, 100, 180, 8, 70, Material::Iron);
    fill_rect(w, 260, 200, 40, 12, Material::Iron);
    fill_rect(w, 150, 100, 80, 40, Material::Lava);
}

inline void powder_chain(World& w) {
    fill_rect(w, 0, 270, 400, 30, Material::Stone);
    fill_rect(w, 20, 230, 360, 40, Material::Powder);
    fill_rect(w, 120, 200, 60, 30, Material::Sand);
    fill_rect(w, 250, 180, 10, 50, Material::Wood);
    fill_rect(w, 60, 210, 30, 20, Material::Water);
    set_cell(w, 30, 229, Material::Fire);
}

// Roughly 100,000 moving cells: a sand slab and a water slab falling into a
// wide basin, with a smoke cloud rising through the middle.
inline void flood(World& w) {
    build_tub(w, 100, 290, 1600, 120);
    fill_rect(w, 200, 40, 500, 80, Material::Sand);
    fill_rect(w, 900, 40, 500, 80, Material::Water);
    fill_rect(w, 700, 200, 200, 50, Material::Smoke);
}

// A flat terrain with caves of air, as a stand-in until the level generator is in.
inline void plain_terrain(World& w, Level& level) {
    for (int64_t x = 0; x < WORLD_W; ++x) {
        const int64_t surface = 230 + (x * 7 / 100) % 20;
        level.surface[static_cast<size_t>(x)] = surface;
        set_cell(w, x, surface, Material::Grass);
        for (int64_t y = surface + 1; y < WORLD_H; ++y) {
            set_cell(w, x, y, y < surface + 18 ? Material::Ground : Material::Stone);
        }
    }
}

inline bool world_has_cells(const World& w) {
    for (const Cell& c : w.cells) {
        if (c.material != Material::Empty) return true;
    }
    return false;
}

inline void level(World& w, Level& lvl) {
    generate_level(w, lvl);
    if (!world_has_cells(w)) plain_terrain(w, lvl);
}

// Columns worth looking at: the scenarios stay near the left edge.
inline int64_t view_width(std::string_view name) {
    if (name == "level") return WORLD_W;
    if (name == "flood") return 1800;
    return 400;
}

// Builds the named scenario; false for an unknown name.
inline bool build(std::string_view name, World& w, Level& lvl) {
    if (name == "sand_pile") sand_pile(w);
    else if (name == "water_flood") water_flood(w);
    else if (name == "smoke") smoke(w);
    else if (name == "fire_wood") fire_wood(w);
    else if (name == "acid") acid(w);
    else if (name == "lava_water_iron") lava_water_iron(w);
    else if (name == "powder_chain") powder_chain(w);
    else if (name == "flood") flood(w);
    else if (name == "level") level(w, lvl);
    else return false;
    return true;
}

// FNV-1a over every field of every cell (never the padding) and the world's
// counters: equal hashes mean the simulation took exactly the same course.
struct Fnv {
    uint64_t h = 1469598103934665603ull;
    template <typename T>
    void add(const T& v) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof(T));
        for (unsigned char b : bytes) {
            h ^= b;
            h *= 1099511628211ull;
        }
    }
};

inline uint64_t world_hash(const World& w) {
    Fnv f;
    for (const Cell& c : w.cells) {
        f.add(c.material);
        f.add(c.shade);
        f.add(c.temperature);
        f.add(c.integrity);
        f.add(c.life);
        f.add(c.life_max);
        f.add(c.progress);
        f.add(c.rest_frames);
        f.add(c.burning);
        f.add(c.vel_x);
        f.add(c.vel_y);
        f.add(c.fall_frac);
        f.add(c.fling_frac_x);
        f.add(c.fling_frac_y);
        f.add(c.fling_frames);
        f.add(c.origin);
        f.add(c.stamp);
    }
    f.add(w.tick);
    f.add(w.rng_state);
    f.add(w.active_count);
    // The list order decides who moves first next update, so it is state too.
    const auto& list = w.active[w.active_sel];
    for (int64_t i = 0; i < w.active_count; ++i) f.add(list[static_cast<size_t>(i)]);
    f.add(w.particle_count);
    f.add(w.explosion_count);
    for (int64_t i = 0; i < w.particle_count; ++i) {
        const Particle& p = w.particles[static_cast<size_t>(i)];
        f.add(p.x);
        f.add(p.y);
        f.add(p.vel_x);
        f.add(p.vel_y);
        f.add(p.life);
        f.add(p.shade);
    }
    return f.h;
}

}  // namespace scenario
