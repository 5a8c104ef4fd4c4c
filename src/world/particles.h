#pragma once
// Explosion sparks: a fixed list of purely visual particles that fly, slow
// down, fall and fade. They never touch cells or actors.

#include "world/world.h"

// Appends a spark unless the list is full. Returns whether it was added.
bool emit_particle(World& world, const Particle& p);

// Ages, moves and compacts the list in place; survivors keep their order.
void update_particles(World& world);
