#include "world/physics.h"

#include "world/player_particles.h"

namespace {

struct Birth {
    int32_t temperature;
    int16_t life;
};

// Temperature and lifetime of a fresh cell; draws the lifetime where one varies.
Birth birth_of(World& world, Material m) {
    switch (m) {
        case Material::Smoke: return {80, static_cast<int16_t>(world_rand(world) % 91 + 90)};
        case Material::Fire: return {320, static_cast<int16_t>(world_rand(world) % 31 + 15)};
        case Material::Steam: return {135, static_cast<int16_t>(world_rand(world) % 241 + 240)};
        case Material::Plasma: return {1800, static_cast<int16_t>(world_rand(world) % 21 + 20)};
        case Material::Lava: return {950, 0};
        case Material::Boom: return {600, 8};
        case Material::Acid: return {20, static_cast<int16_t>(world_rand(world) % 61 + 90)};
        case Material::Snow: return {-10, 0};
        case Material::KnightDebris:
        case Material::OgreDebris:
        case Material::Blood:
        case Material::Potion: return {20, static_cast<int16_t>(world_rand(world) % 130 + 130)};
        default: return {AMBIENT_TEMP, 0};
    }
}

bool wakes_neighbours(const Cell& c) { return is_moving(c.material) || c.burning; }

}  // namespace

uint32_t world_rand(World& world) {
    world.rng_state = lcg_next(world.rng_state);
    return world.rng_state;
}

void set_cell(World& world, int64_t x, int64_t y, Material m) {
    if (!in_world(x, y)) return;
    const bool moving = is_moving(m);
    if (moving && cell_in_actor(world, x, y)) return;

    const uint32_t r1 = world_rand(world);
    const Birth birth = birth_of(world, m);

    Cell& c = cell_at(world, x, y);
    c = Cell{};
    c.material = m;
    c.shade = static_cast<uint8_t>(r1 >> 30);
    c.temperature = birth.temperature;
    c.integrity = 10;
    c.life = birth.life;
    c.life_max = birth.life;
    c.origin = m;
    c.stamp = world.updating ? world.tick : 0;

    if (moving) enqueue_cell(world, x, y);
    wake_neighbours(world, x, y);
}

void enqueue_cell(World& world, int64_t x, int64_t y) {
    if (!in_world(x, y)) return;
    const int64_t i = cell_index(x, y);
    const int32_t mark = static_cast<int32_t>(world.tick + 1u);
    int32_t& queued = world.queued_mark[static_cast<size_t>(i)];
    if (queued == mark) return;
    queued = mark;
    const size_t current = world.active_sel;
    if (world.updating) {
        world.active[1 - current][static_cast<size_t>(world.next_count++)] = static_cast<int32_t>(i);
    } else {
        world.active[current][static_cast<size_t>(world.active_count++)] = static_cast<int32_t>(i);
    }
}

void wake_neighbours(World& world, int64_t x, int64_t y) {
    for (int64_t ny = y - 1; ny <= y + 1; ++ny) {
        for (int64_t nx = x - 1; nx <= x + 1; ++nx) {
            if (in_world(nx, ny) && wakes_neighbours(cell_at(world, nx, ny))) {
                enqueue_cell(world, nx, ny);
            }
        }
    }
}

void swap_cells(World& world, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    Cell& a = cell_at(world, x1, y1);
    Cell& b = cell_at(world, x2, y2);
    const Cell tmp = a;
    a = b;
    b = tmp;
    a.stamp = world.tick;
    b.stamp = world.tick;
    wake_neighbours(world, x1, y1);
    wake_neighbours(world, x2, y2);
}

bool can_move_to(const World& world, int64_t sx, int64_t sy, int64_t tx, int64_t ty) {
    if (!in_world(tx, ty) || cell_in_actor(world, tx, ty)) return false;
    const Material target = cell_at(world, tx, ty).material;
    if (target == Material::Empty) return true;
    const Material source = material_at(world, sx, sy, Material::Stone);
    if (target == source || kind_of(target) == MaterialKind::Solid || sy == ty) return false;
    if (sy < ty) return props_of(target).density < props_of(source).density;
    return props_of(source).density < props_of(target).density;
}

bool try_move_cell(World& world, int64_t& x, int64_t& y, int64_t dx, int64_t dy) {
    const int64_t tx = x + dx;
    const int64_t ty = y + dy;
    if (!in_world(tx, ty) || cell_in_actor(world, tx, ty)) return false;
    const Material target = cell_at(world, tx, ty).material;
    if (target != Material::Empty) {
        const Material source = material_at(world, x, y, Material::Stone);
        if (target == source || kind_of(target) == MaterialKind::Solid || dy == 0) return false;
        const uint16_t td = props_of(target).density;
        const uint16_t sd = props_of(source).density;
        if (dy > 0 ? !(td < sd) : !(sd < td)) return false;
    }
    swap_cells(world, x, y, tx, ty);
    x = tx;
    y = ty;
    return true;
}
