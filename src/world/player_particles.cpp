#include "world/player_particles.h"

#include <algorithm>
#include <array>

#include "player/player.h"
#include "world/physics.h"

namespace {

constexpr int64_t DISPLACE_RADIUS = 32;
constexpr int64_t DISPLACE_SPAN = 2 * DISPLACE_RADIUS + 1;
constexpr int64_t DISPLACE_WINDOW = DISPLACE_SPAN * DISPLACE_SPAN;
static_assert(DISPLACE_WINDOW == 4225);

// Search order of the breadth-first push: up, left, right, down.
constexpr std::array<int64_t, 4> STEP_DX = {0, -1, 1, 0};
constexpr std::array<int64_t, 4> STEP_DY = {-1, 0, 0, 1};

bool covered_by_enemy(const World& world, int64_t x, int64_t y, int64_t skip_index) {
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        if (i == skip_index) continue;
        const Enemy& e = world.enemies[static_cast<size_t>(i)];
        if (e.alive && enemy_covers(enemy_kind(e), x, y, e.x, e.y)) return true;
    }
    return false;
}

bool covered_by_player(const World& world, int64_t x, int64_t y) {
    return world.player_present && player_mask_covers(x, y, world.player_x, world.player_y);
}

// The live enemies whose bodies reach into a push's search window, other
// than the mover: a search asks about thousands of cells, and most of the
// enemy table stands far away.
struct NearbyEnemies {
    std::array<int16_t, MAX_ENEMIES> index;
    int64_t count;
};

NearbyEnemies enemies_near(const World& world, int64_t left, int64_t top, int64_t skip_index) {
    NearbyEnemies near{};
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        const Enemy& e = world.enemies[static_cast<size_t>(i)];
        if (i == skip_index || !e.alive) continue;
        const EnemyMask& m = enemy_mask(enemy_kind(e));
        if (e.x + m.width <= left || e.x >= left + DISPLACE_SPAN) continue;
        if (e.y + m.height <= top || e.y >= top + DISPLACE_SPAN) continue;
        near.index[static_cast<size_t>(near.count++)] = static_cast<int16_t>(i);
    }
    return near;
}

bool covered_by_nearby(const World& world, const NearbyEnemies& near, int64_t x, int64_t y) {
    for (int64_t k = 0; k < near.count; ++k) {
        const Enemy& e = world.enemies[static_cast<size_t>(near.index[static_cast<size_t>(k)])];
        if (enemy_covers(enemy_kind(e), x, y, e.x, e.y)) return true;
    }
    return false;
}

bool passable(const World& world, const NearbyEnemies& near, int64_t x, int64_t y, int64_t mover_x,
              int64_t mover_y, DisplaceMode mode, int64_t enemy_index) {
    if (kind_of(cell_at(world, x, y).material) == MaterialKind::Solid) return false;
    switch (mode) {
        case DisplaceMode::Player:
            if (player_mask_covers(x, y, mover_x, mover_y)) return false;
            break;
        case DisplaceMode::Enemy: {
            const Enemy& mover = world.enemies[static_cast<size_t>(enemy_index)];
            if (enemy_covers(enemy_kind(mover), x, y, mover_x, mover_y)) return false;
            if (covered_by_player(world, x, y)) return false;
            break;
        }
        case DisplaceMode::SingleCell:
            if (x == mover_x && y == mover_y) return false;
            if (covered_by_player(world, x, y)) return false;
            break;
    }
    return !covered_by_nearby(world, near, x, y);
}

}  // namespace

bool cell_in_banded_bodies(const World& world, int64_t x, int64_t y) {
    if (covered_by_player(world, x, y)) return true;
    const auto band = static_cast<size_t>(x / ACTOR_BAND_COLUMNS);
    const ActorBands& bands = world.actor_bands;
    if (y < bands.top[band] || y >= bands.bottom[band]) return false;
    for (int8_t k = 0; k < bands.count[band]; ++k) {
        const Enemy& e = world.enemies[static_cast<size_t>(bands.index[band][static_cast<size_t>(k)])];
        if (enemy_covers(enemy_kind(e), x, y, e.x, e.y)) return true;
    }
    return false;
}

bool cell_in_actor_bodies(const World& world, int64_t x, int64_t y) {
    if (world.updating && in_world(x, y)) return cell_in_banded_bodies(world, x, y);
    return covered_by_player(world, x, y) || covered_by_enemy(world, x, y, -1);
}

void index_actor_bands(World& world) {
    ActorBands& bands = world.actor_bands;
    bands.count.fill(0);
    bands.top.fill(static_cast<int16_t>(WORLD_H));
    bands.bottom.fill(0);
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        const Enemy& e = world.enemies[static_cast<size_t>(i)];
        if (!e.alive) continue;
        const int64_t width = enemy_mask(enemy_kind(e)).width;
        const int64_t first = std::clamp<int64_t>(e.x, 0, WORLD_W - 1) / ACTOR_BAND_COLUMNS;
        const int64_t last = std::clamp<int64_t>(e.x + width - 1, 0, WORLD_W - 1) / ACTOR_BAND_COLUMNS;
        const int64_t height = enemy_mask(enemy_kind(e)).height;
        for (int64_t b = first; b <= last; ++b) {
            const auto band = static_cast<size_t>(b);
            int8_t& n = bands.count[band];
            bands.index[band][static_cast<size_t>(n++)] = static_cast<int8_t>(i);
            bands.top[band] = static_cast<int16_t>(std::min<int64_t>(bands.top[band], e.y));
            bands.bottom[band] = static_cast<int16_t>(std::max<int64_t>(bands.bottom[band], e.y + height));
        }
    }
}

bool displace_cell(World& world, int64_t cx, int64_t cy, int64_t mover_x, int64_t mover_y,
                   DisplaceMode mode, int64_t enemy_index) {
    // The centre must be a cell of the grid, and a moving enemy one of the list.
    if (!in_world(cx, cy)) return false;
    if (mode == DisplaceMode::Enemy && (enemy_index < 0 || enemy_index >= world.enemy_count)) return false;
    // Window-local indices; predecessor -1 marks "not entered".
    std::array<int16_t, DISPLACE_WINDOW> prev;
    std::array<int16_t, DISPLACE_WINDOW> queue;
    prev.fill(-1);
    const int64_t left = cx - DISPLACE_RADIUS;
    const int64_t top = cy - DISPLACE_RADIUS;
    const auto local = [&](int64_t x, int64_t y) {
        return static_cast<int16_t>((y - top) * DISPLACE_SPAN + (x - left));
    };

    const NearbyEnemies near =
        enemies_near(world, left, top, mode == DisplaceMode::Enemy ? enemy_index : -1);
    const int16_t start = local(cx, cy);
    prev[static_cast<size_t>(start)] = start;
    size_t head = 0;
    size_t tail = 0;
    queue[tail++] = start;
    int16_t target = -1;

    while (head < tail && target < 0) {
        const int16_t cur = queue[head++];
        const int64_t x = left + cur % DISPLACE_SPAN;
        const int64_t y = top + cur / DISPLACE_SPAN;
        for (size_t d = 0; d < STEP_DX.size(); ++d) {
            const int64_t nx = x + STEP_DX[d];
            const int64_t ny = y + STEP_DY[d];
            if (nx < left || nx >= left + DISPLACE_SPAN || ny < top || ny >= top + DISPLACE_SPAN) continue;
            if (!in_world(nx, ny)) continue;
            const int16_t n = local(nx, ny);
            if (prev[static_cast<size_t>(n)] >= 0) continue;
            if (!passable(world, near, nx, ny, mover_x, mover_y, mode, enemy_index)) continue;
            prev[static_cast<size_t>(n)] = cur;
            if (cell_at(world, nx, ny).material == Material::Empty) {
                target = n;
                break;
            }
            queue[tail++] = n;
        }
    }
    if (target < 0) return false;

    // Walk back from the empty target: each cell takes its predecessor's content.
    for (int16_t at = target; at != start;) {
        const int16_t from = prev[static_cast<size_t>(at)];
        swap_cells(world, left + at % DISPLACE_SPAN, top + at / DISPLACE_SPAN,
                   left + from % DISPLACE_SPAN, top + from / DISPLACE_SPAN);
        at = from;
    }
    return true;
}
