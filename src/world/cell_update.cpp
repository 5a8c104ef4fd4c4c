#include "world/physics.h"

void step_world(World& world) {
    world.tick += 1;
    world.updating = true;
    world.updating = false;
    world.active_count = world.next_count;
    world.next_count = 0;
    world.active_sel = static_cast<uint8_t>(1 - world.active_sel);
}
