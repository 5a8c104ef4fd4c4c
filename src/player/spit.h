#pragma once
// The dragon's spit: the selected material flies toward the cursor as a
// stream of particles that hurt enemies and turn back into cells where they
// stop. Fire and plasma vanish when spent; everything else tires, falls and
// settles.

#include <array>
#include <cstdint>

#include "player/inventory.h"
#include "player/player.h"
#include "world/world.h"

inline constexpr int64_t MAX_SPIT_PARTICLES = 2048;

struct SpitParticle {
    float x, y;          // cells
    float vel_x, vel_y;  // cells per step
    Material material;
    uint8_t shade;
    uint16_t age;   // steps lived
    uint16_t life;  // steps before it tires
    bool active;
    bool falling;
    uint8_t pierce;  // plasma: cells it may still destroy
    bool large;      // the empowered dragon's fire
};

struct SpitState {
    std::array<SpitParticle, MAX_SPIT_PARTICLES> particles;
    int64_t spit_next;  // where the search for a free slot starts
    float spit_pose;    // seconds of spitting shown by the drawing, 0..0.21
    bool spit_idle;     // nothing was emitted this step
};

struct SpitAim {
    bool on;  // unlocked, held, not in slow motion, not eating
    float x, y;  // cursor in world cells
};

// Emits this step's particles; returns the material spat, or Empty when
// nothing left the mouth.
Material spit_step(World& world, Player& player, Inventory& inv, SpitState& spit, SpitAim aim);
void update_spit_particles(World& world, SpitState& spit);
