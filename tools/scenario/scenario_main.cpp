// cindervale_scenario <name> <steps> <outdir> [every]
// Runs a named scenario headless and writes PNG snapshots of the cells, one
// pixel per cell (two for the narrow scenarios), for eyeballing the rules.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "png_writer.h"
#include "scenarios.h"
#include "world/physics.h"

namespace {

// A viewer palette only: plain, well separated colours per material.
constexpr Rgba PALETTE[MATERIAL_COUNT] = {
    {18, 20, 30, 255},    // Empty
    {222, 196, 120, 255}, // Sand
    {40, 90, 220, 255},   // Water
    {120, 120, 126, 255}, // Stone
    {70, 70, 76, 255},    // Smoke
    {130, 82, 40, 255},   // Wood
    {255, 120, 20, 255},  // Fire
    {200, 210, 230, 255}, // Steam
    {240, 90, 255, 255},  // Plasma
    {255, 70, 0, 255},    // Lava
    {60, 60, 50, 255},    // Powder
    {255, 255, 160, 255}, // Boom
    {150, 120, 30, 255},  // Petrol
    {120, 255, 40, 255},  // Acid
    {170, 175, 190, 255}, // Iron
    {245, 250, 255, 255}, // Snow
    {150, 150, 160, 255}, // KnightDebris
    {100, 130, 80, 255},  // OgreDebris
    {110, 80, 50, 255},   // Ground
    {60, 160, 50, 255},   // Grass
    {170, 220, 230, 255}, // Glass
    {170, 10, 20, 255},   // Blood
    {230, 50, 160, 255},  // Potion
};

constexpr Rgba SPARK = {255, 230, 120, 255};

struct WorldFree {
    void operator()(World* w) const { std::free(w); }
};

PixelImage snapshot(const World& world, int64_t width, int scale) {
    PixelImage img(static_cast<int>(width) * scale, static_cast<int>(WORLD_H) * scale);
    for (int64_t y = 0; y < WORLD_H; ++y) {
        for (int64_t x = 0; x < width; ++x) {
            const Cell& c = cell_at(world, x, y);
            Rgba col = PALETTE[static_cast<uint8_t>(c.material)];
            // A touch of the cell's shade so piles show their grain.
            const int lift = c.material == Material::Empty ? 0 : c.shade * 6;
            col.r = static_cast<uint8_t>(col.r > 255 - lift ? 255 : col.r + lift);
            col.g = static_cast<uint8_t>(col.g > 255 - lift ? 255 : col.g + lift);
            if (c.burning) col = PALETTE[static_cast<uint8_t>(Material::Fire)];
            for (int sy = 0; sy < scale; ++sy) {
                for (int sx = 0; sx < scale; ++sx) {
                    img.set(static_cast<int>(x) * scale + sx, static_cast<int>(y) * scale + sy, col);
                }
            }
        }
    }
    for (int64_t i = 0; i < world.particle_count; ++i) {
        const Particle& p = world.particles[static_cast<size_t>(i)];
        img.set(static_cast<int>(p.x * static_cast<float>(scale)), static_cast<int>(p.y * static_cast<float>(scale)),
                SPARK);
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <name> <steps> <outdir> [every]\n", argv[0]);
        std::fprintf(stderr,
                     "names: sand_pile water_flood smoke fire_wood acid lava_water_iron powder_chain flood level\n");
        return 2;
    }
    const std::string name = argv[1];
    const long steps = std::strtol(argv[2], nullptr, 10);
    const std::string outdir = argv[3];
    const long every = argc > 4 ? std::max(1L, std::strtol(argv[4], nullptr, 10)) : std::max(1L, steps / 8);

    std::unique_ptr<World, WorldFree> world(static_cast<World*>(std::calloc(1, sizeof(World))));
    std::unique_ptr<Level> level = std::make_unique<Level>();
    world->rng_state = 20240611u;
    if (!scenario::build(name, *world, *level)) {
        std::fprintf(stderr, "unknown scenario '%s'\n", name.c_str());
        return 2;
    }
    const int64_t width = scenario::view_width(name);
    const int scale = width <= 400 ? 2 : 1;

    for (long s = 0; s <= steps; ++s) {
        if (s > 0) step_world(*world);
        if (s % every != 0 && s != steps) continue;
        char file[64];
        std::snprintf(file, sizeof file, "/%s_%05ld.png", name.c_str(), s);
        if (!write_png(outdir + file, snapshot(*world, width, scale))) {
            std::fprintf(stderr, "cannot write %s%s\n", outdir.c_str(), file);
            return 1;
        }
        std::printf("step %5ld  active %8lld  sparks %4lld  explosions %4d  hash %016llx\n", s,
                    static_cast<long long>(world->active_count), static_cast<long long>(world->particle_count),
                    world->explosion_count, static_cast<unsigned long long>(scenario::world_hash(*world)));
    }
    return 0;
}
