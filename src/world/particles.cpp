#include "world/particles.h"

namespace {

constexpr float SPARK_DRAG = 0.94f;
constexpr float SPARK_GRAVITY = 0.09f;

}  // namespace

bool emit_particle(World& world, const Particle& p) {
    if (world.particle_count >= MAX_PARTICLES) return false;
    world.particles[static_cast<size_t>(world.particle_count++)] = p;
    return true;
}

void update_particles(World& world) {
    size_t n = 0;
    const size_t count = static_cast<size_t>(world.particle_count);
    for (size_t i = 0; i < count; ++i) {
        const Particle& p = world.particles[i];
        // A spark whose last update has come is dropped rather than shown at life 0.
        if (p.life <= 1) continue;
        Particle& out = world.particles[n++];
        // Move with the old velocity first, then slow and pull down.
        const Particle old = p;
        out.x = old.x + old.vel_x;
        out.y = old.y + old.vel_y;
        out.vel_x = old.vel_x * SPARK_DRAG;
        out.vel_y = old.vel_y * SPARK_DRAG + SPARK_GRAVITY;
        out.life = static_cast<uint8_t>(old.life - 1);
        out.life_max = old.life_max;
        out.shade = old.shade;
    }
    world.particle_count = static_cast<int64_t>(n);
}
