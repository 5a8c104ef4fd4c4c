#include "world/level.h"

#include <algorithm>

#include "combat/enemy.h"
#include "world/physics.h"

namespace {

// --- Tuning --------------------------------------------------------------

constexpr int64_t CAVE_FLOOR_HEIGHT = 242;   // also the plain left of the first segment
constexpr int64_t FIRST_SEGMENT_COLUMN = 120;
constexpr int64_t CAVE_END_COLUMN = 1100;    // last column of the stone cave
constexpr int64_t SEAM_END_COLUMN = 1164;    // cave floor blends into the grassland up to here
constexpr int64_t GRASS_COLUMN = 1196;       // first column that is all grass
constexpr int64_t RAMP_COLUMNS = 18;         // shelf ramps on either side of a flattened strip

constexpr int64_t ARENA_START = 3100;        // the boss arena runs to the right edge
constexpr int64_t PROPS_END_COLUMN = 2970;   // no prop starts here or further right

// Cave floor bumps: one random-looking height per 46 columns, from a fixed hash.
constexpr int64_t CAVE_BUMP_WIDTH = 46;
constexpr int64_t CAVE_BUMP_START = 215;
constexpr int64_t CAVE_BUMP_FADE = 36;

struct Shelf {
    int64_t start;
    int64_t end;
};
constexpr std::array<Shelf, 3> CAVE_SHELVES = {{{512, 546}, {778, 826}, {952, 988}}};
static_assert(CAVE_SHELVES.size() == 3);

constexpr int64_t PILLAR_FIRST = 525;
constexpr int64_t PILLAR_LAST = 532;
constexpr int64_t FIRST_BARREL_X = 960;

// A prop stop rolls c = r % 100: houses below this, then tanks, then barrels.
constexpr uint32_t HOUSE_CHANCE_LAST = 29;
constexpr uint32_t TANK_CHANCE_LAST = 54;

constexpr std::array<Material, 6> TANK_CONTENTS = {
    Material::Water, Material::Petrol, Material::Acid,
    Material::Sand,  Material::Powder, Material::Snow,
};
static_assert(TANK_CONTENTS.size() == 6);

// Barrel contents by v = r % 112: each entry holds the last v that gives its material.
struct BarrelContent {
    uint32_t last_v;
    Material material;
};
constexpr uint32_t BARREL_ROLL = 112;
constexpr std::array<BarrelContent, 15> BARREL_CONTENTS = {{
    {2, Material::Sand},   {9, Material::Water},   {10, Material::Stone},  {13, Material::Smoke},
    {14, Material::Wood},  {17, Material::Steam},  {29, Material::Plasma}, {33, Material::Lava},
    {58, Material::Powder}, {61, Material::Boom},  {86, Material::Petrol}, {98, Material::Acid},
    {99, Material::Iron},  {106, Material::Snow},  {111, Material::Potion},
}};
static_assert(BARREL_CONTENTS.size() == 15);
static_assert(BARREL_CONTENTS.back().last_v == BARREL_ROLL - 1);

constexpr bool barrel_contents_ascend() {
    for (size_t i = 1; i < BARREL_CONTENTS.size(); ++i) {
        if (BARREL_CONTENTS[i].last_v <= BARREL_CONTENTS[i - 1].last_v) return false;
    }
    return true;
}
static_assert(barrel_contents_ascend());

// --- Arithmetic helpers ----------------------------------------------------

float smoothstep(float t) { return t * t * (3.0f - 2.0f * t); }

// Heights are whole cells: add a half and cut toward zero.
int64_t rounded(float v) { return static_cast<int64_t>(v + 0.5f); }

uint32_t cave_hash(uint32_t v) { return v ^ (v >> 16); }

uint32_t next_draw(uint32_t& rng) {
    rng = lcg_next(rng);
    return rng;
}

Material barrel_content(uint32_t r) {
    const uint32_t v = r % BARREL_ROLL;
    for (const BarrelContent& entry : BARREL_CONTENTS) {
        if (v <= entry.last_v) return entry.material;
    }
    return BARREL_CONTENTS.back().material;
}

// Shared by the cave roof and the pillar that props it up.
int64_t roof_row(int64_t x) { return (x / 31) % 5 * 2 + (17 * x + x * x / 19) % 7 + 166; }

// --- Terrain (level record only) --------------------------------------------

void shape_boss_arena(std::array<int64_t, WORLD_W>& surface) {
    flatten_terrain(surface, ARENA_START, WORLD_W);
}

int64_t cave_bump(int64_t x) {
    const uint32_t k = static_cast<uint32_t>(x / CAVE_BUMP_WIDTH);
    const float t = static_cast<float>(x % CAVE_BUMP_WIDTH) / static_cast<float>(CAVE_BUMP_WIDTH);
    const int64_t a = cave_hash(k * 747796405u - 1403630843u) % 25;
    const int64_t b = cave_hash(k * 747796405u - 655834438u) % 25;
    int64_t v = static_cast<int64_t>(static_cast<float>(b - a) * smoothstep(t) +
                                     static_cast<float>(a - 12) + 0.5f);
    if (x < CAVE_BUMP_START + CAVE_BUMP_FADE) {
        v = static_cast<int64_t>(static_cast<float>(v * (x - CAVE_BUMP_START)) /
                                     static_cast<float>(CAVE_BUMP_FADE) +
                                 0.5f);
    }
    return v;
}

// The cave is the same in every game: it uses no random draws.
void shape_cave_floor(std::array<int64_t, WORLD_W>& surface) {
    for (int64_t x = 0; x < CAVE_BUMP_START; ++x) surface[static_cast<size_t>(x)] = CAVE_FLOOR_HEIGHT;
    for (int64_t x = CAVE_BUMP_START; x <= CAVE_END_COLUMN; ++x) {
        surface[static_cast<size_t>(x)] = CAVE_FLOOR_HEIGHT + cave_bump(x);
    }
}

void shape_cave_shelves(std::array<int64_t, WORLD_W>& surface) {
    for (const Shelf& shelf : CAVE_SHELVES) flatten_terrain(surface, shelf.start, shelf.end);
}

void blend_cave_seam(std::array<int64_t, WORLD_W>& surface) {
    const int64_t a = surface[static_cast<size_t>(CAVE_END_COLUMN)];
    const int64_t b = surface[static_cast<size_t>(SEAM_END_COLUMN)];
    const float span = static_cast<float>(SEAM_END_COLUMN - CAVE_END_COLUMN);
    for (int64_t x = CAVE_END_COLUMN + 1; x < SEAM_END_COLUMN; ++x) {
        const float t = static_cast<float>(x - CAVE_END_COLUMN) / span;
        surface[static_cast<size_t>(x)] =
            rounded(smoothstep(t) * static_cast<float>(b - a) + static_cast<float>(a));
    }
}

void place_first_barrel(Level& level) {
    Barrel& b = level.barrels[0];
    b = Barrel{};
    b.x = FIRST_BARREL_X;
    b.y = level.surface[static_cast<size_t>(FIRST_BARREL_X)] - BARREL_H;
    b.material = Material::Plasma;
    level.barrel_count = 1;
}

// --- Props walk -------------------------------------------------------------

int64_t place_house(Level& level, int64_t x, uint32_t& rng) {
    const int64_t width = next_draw(rng) % 37 + 54;
    const int64_t p = flatten_terrain(level.surface, x, x + width);
    const int64_t height = next_draw(rng) % 12 + 27;
    const int64_t roof = (next_draw(rng) & 7) + 13;
    level.houses[static_cast<size_t>(level.house_count++)] = House{x, p - height, width, height, roof};
    return width;
}

int64_t place_tank(Level& level, int64_t x, uint32_t& rng) {
    const int64_t width = next_draw(rng) % 15 + 30;
    const int64_t p = flatten_terrain(level.surface, x, x + width);
    const int64_t height = next_draw(rng) % 10 + 24;
    const Material content = TANK_CONTENTS[next_draw(rng) % TANK_CONTENTS.size()];
    level.tanks[static_cast<size_t>(level.tank_count++)] = Tank{x, p - height, width, height, content};
    return width;
}

// A full barrel table still takes up the barrel's width of the walk.
int64_t place_barrel(Level& level, int64_t x, uint32_t& rng) {
    if (level.barrel_count < MAX_BARRELS) {
        const int64_t p = flatten_terrain(level.surface, x, x + BARREL_W);
        Barrel& b = level.barrels[static_cast<size_t>(level.barrel_count++)];
        b = Barrel{};
        b.x = x;
        b.y = p - BARREL_H;
        b.material = barrel_content(next_draw(rng));
    }
    return BARREL_W;
}

// A full house table turns house stops into tank stops, a full tank table
// turns both into barrel stops.
int64_t place_prop(Level& level, int64_t x, uint32_t& rng) {
    const uint32_t c = next_draw(rng) % 100;
    if (c <= HOUSE_CHANCE_LAST && level.house_count < MAX_HOUSES) return place_house(level, x, rng);
    if (c <= TANK_CHANCE_LAST && level.tank_count < MAX_TANKS) return place_tank(level, x, rng);
    return place_barrel(level, x, rng);
}

// --- Cells ----------------------------------------------------------------

// Top material of a column: stone in the cave, a ragged stone-ground-grass
// transition at its mouth, grass beyond.
Material surface_material(int64_t x) {
    if (x <= CAVE_END_COLUMN) return Material::Stone;
    if (x >= GRASS_COLUMN) return Material::Grass;
    // The edge pattern is defined in 16-bit arithmetic.
    const uint16_t q = static_cast<uint16_t>(x / 6);
    const uint16_t q37 = static_cast<uint16_t>(q * 37u);
    const uint16_t q_squared = static_cast<uint16_t>(q * q);
    const uint16_t sum = static_cast<uint16_t>(q37 + q_squared / 11u);
    const int64_t c = x + sum % 23u;
    if (c < 1124) return Material::Stone;
    if (c < 1144) return Material::Ground;
    return Material::Grass;
}

// Depth of the ground layer under the surface material; grows across the cave mouth.
int64_t ground_depth(int64_t x) { return std::min<int64_t>(18, (18 * x - 19800) / 96); }

void fill_ground_column(World& world, const Level& level, int64_t x) {
    const int64_t top = level.surface[static_cast<size_t>(x)];
    const Material top_material = surface_material(x);
    const int64_t depth = ground_depth(x);
    for (int64_t y = std::max<int64_t>(top, 0); y < WORLD_H; ++y) {
        const int64_t d = y - top;
        Material m = Material::Stone;
        if (d < 2) {
            m = top_material;
        } else if (x > CAVE_END_COLUMN && d < depth) {
            m = Material::Ground;
        }
        set_cell(world, x, y, m);
    }
}

void fill_ground(World& world, const Level& level) {
    for (int64_t x = 0; x < WORLD_W; ++x) fill_ground_column(world, level, x);
}

// The roof thins toward the cave mouth over its last 220 columns.
int64_t cave_roof_bottom(int64_t x) {
    int64_t c = roof_row(x);
    if (x >= 880) {
        const float t = static_cast<float>(CAVE_END_COLUMN - x) / 220.0f;
        c = static_cast<int64_t>(static_cast<float>(c) * smoothstep(t) + 0.5f);
    }
    return c;
}

// The left wall: the first columns are closed from the roof down to the floor.
bool in_left_wall(int64_t x) { return x < (7 * x % 256) % 6 + 12; }

void build_cave_roof(World& world, const Level& level) {
    for (int64_t x = 0; x <= CAVE_END_COLUMN; ++x) {
        const int64_t c = cave_roof_bottom(x);
        if (c < 0) continue;
        for (int64_t y = 0; y <= c; ++y) set_cell(world, x, y, Material::Stone);
        if (x < RAMP_COLUMNS && in_left_wall(x)) {
            for (int64_t y = c; y < level.surface[static_cast<size_t>(x)]; ++y) {
                set_cell(world, x, y, Material::Stone);
            }
        }
    }
}

void build_pillar(World& world, const Level& level) {
    for (int64_t x = PILLAR_FIRST; x <= PILLAR_LAST; ++x) {
        for (int64_t y = roof_row(x) + 1; y < level.surface[static_cast<size_t>(x)]; ++y) {
            set_cell(world, x, y, Material::Wood);
        }
    }
}

bool is_house_opening(const House& h, int64_t i, int64_t j) {
    const int64_t mid = h.width / 2;
    const bool door = j >= h.height - 22 && i >= mid - 8 && i < mid + 8;
    const int64_t left = h.width / 4;
    const int64_t right = 3 * h.width / 4;
    const bool window_row = j >= 9 && j <= 16;
    const bool window = window_row && ((i >= left - 4 && i < left + 4) || (i >= right - 4 && i < right + 4));
    return door || window;
}

void draw_house(World& world, const House& h) {
    for (int64_t i = 0; i < h.width; ++i) {
        for (int64_t j = 0; j < h.height; ++j) {
            if (!is_house_opening(h, i, j)) set_cell(world, h.x + i, h.y + j, Material::Wood);
        }
    }
    // A triangle roof whose widest row sits just above the walls.
    const int64_t mid = h.x + h.width / 2;
    for (int64_t k = 0; k < h.roof_height; ++k) {
        const int64_t e = (h.width / 2) * (k + 1) / h.roof_height;
        for (int64_t m = -e; m <= e; ++m) set_cell(world, mid + m, h.y + k - h.roof_height, Material::Wood);
    }
}

void draw_barrel(World& world, const Barrel& b) {
    for (int64_t i = 0; i < BARREL_W; ++i) {
        for (int64_t j = 0; j < BARREL_H; ++j) {
            if (barrel_shape_covers(i, j)) set_cell(world, b.x + i, b.y + j, Material::Wood);
        }
    }
}

bool is_tank_glass(const Tank& t, int64_t i, int64_t j) {
    const bool side = i < 2 || i >= t.width - 2;
    const bool floor = j >= t.height - 2;
    const bool rim = j < 2 && (i < 5 || i >= t.width - 5);
    return side || floor || rim;
}

// The content fills only the lower two thirds, leaving room for it to slosh.
void draw_tank(World& world, const Tank& t) {
    for (int64_t i = 0; i < t.width; ++i) {
        for (int64_t j = 0; j < t.height; ++j) {
            if (is_tank_glass(t, i, j)) set_cell(world, t.x + i, t.y + j, Material::Glass);
        }
    }
    if (t.width <= 4) return;
    for (int64_t i = 2; i < t.width - 2; ++i) {
        for (int64_t j = t.height / 3; j < t.height - 2; ++j) set_cell(world, t.x + i, t.y + j, t.material);
    }
}

void draw_structures(World& world, const Level& level) {
    for (int64_t i = 0; i < level.house_count; ++i) draw_house(world, level.houses[static_cast<size_t>(i)]);
    for (int64_t i = 0; i < level.barrel_count; ++i) draw_barrel(world, level.barrels[static_cast<size_t>(i)]);
    for (int64_t i = 0; i < level.tank_count; ++i) draw_tank(world, level.tanks[static_cast<size_t>(i)]);
}

}  // namespace

int64_t flatten_terrain(std::array<int64_t, WORLD_W>& surface, int64_t start, int64_t end) {
    const int64_t s = std::max<int64_t>(start, 0);
    // Callers keep the middle on the grid; clamp anyway rather than read past it.
    const int64_t middle = std::clamp<int64_t>((s + end) / 2, 0, WORLD_W - 1);
    const int64_t p = surface[static_cast<size_t>(middle)];
    const float pf = static_cast<float>(p);
    const float ramp = static_cast<float>(RAMP_COLUMNS);
    for (int64_t x = std::max<int64_t>(0, s - RAMP_COLUMNS); x < s; ++x) {
        const float w = static_cast<float>(x - (s - RAMP_COLUMNS)) / ramp;
        int64_t& h = surface[static_cast<size_t>(x)];
        h = rounded(w * pf + (1.0f - w) * static_cast<float>(h));
    }
    for (int64_t x = s; x < std::min(end, WORLD_W); ++x) surface[static_cast<size_t>(x)] = p;
    for (int64_t x = end; x < std::min(end + RAMP_COLUMNS, WORLD_W); ++x) {
        const float w = static_cast<float>(RAMP_COLUMNS - (x - end)) / ramp;
        int64_t& h = surface[static_cast<size_t>(x)];
        h = rounded(w * pf + (1.0f - w) * static_cast<float>(h));
    }
    return p;
}

uint32_t shape_base_profile(std::array<int64_t, WORLD_W>& surface, uint32_t rng) {
    for (int64_t x = 0; x < FIRST_SEGMENT_COLUMN; ++x) surface[static_cast<size_t>(x)] = CAVE_FLOOR_HEIGHT;
    int64_t start = FIRST_SEGMENT_COLUMN;
    int64_t h0 = CAVE_FLOOR_HEIGHT;
    for (;;) {
        const int64_t length = next_draw(rng) % 27 + 32;
        const int64_t h1 = next_draw(rng) % 27 + 229;
        const int64_t end = std::min(start + length, WORLD_W);
        const float span = static_cast<float>(end - start);
        for (int64_t x = start; x < end; ++x) {
            const float t = static_cast<float>(x - start) / span;
            surface[static_cast<size_t>(x)] =
                rounded(smoothstep(t) * static_cast<float>(h1 - h0) + static_cast<float>(h0));
        }
        if (start + length > WORLD_W - 1) break;
        start = end;
        h0 = h1;
    }
    return rng;
}

uint32_t place_props(Level& level, uint32_t rng) {
    int64_t x = next_draw(rng) % 35 + 1195;
    uint32_t last = rng;
    while (x < PROPS_END_COLUMN) {
        const int64_t advance = place_prop(level, x, rng);
        last = next_draw(rng);
        x += advance + last % 70 + 78;
    }
    return last;
}

void generate_level(World& world, Level& level) {
    // The level draws from its own copy so the world's generator stays at the seed.
    uint32_t level_rand = world.rng_state;
    level_rand = shape_base_profile(level.surface, level_rand);
    shape_boss_arena(level.surface);
    shape_cave_floor(level.surface);
    shape_cave_shelves(level.surface);
    blend_cave_seam(level.surface);
    place_first_barrel(level);
    const uint32_t enemy_seed = place_props(level, level_rand);
    fill_ground(world, level);
    build_cave_roof(world, level);
    build_pillar(world, level);
    draw_structures(world, level);
    populate_enemies(world, level, enemy_seed);
}
