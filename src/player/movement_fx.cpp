#include "player/movement_fx.h"

#include "render/world_render.h"
#include "world/physics.h"

namespace {

constexpr float STEP = 1.0f / 60.0f;
constexpr std::array<int64_t, 4> BURST_SIZE = {2, 7, 9, 11};  // Run, Jump, Land, Skid
static_assert(BURST_SIZE.size() == 4);
constexpr float DRAG_PER_STEP = 0.96f;
constexpr float FALL_PER_STEP = 6.0f;
constexpr float WATER_SPLASH_LIFT = 35.0f;
constexpr float LINGER = 0.08f;  // landing and skid dust hangs a little longer

// A uniform value in [0, 1) from a fresh generator state.
float draw_unit(MovementFx& fx) {
    fx.dust_rng = lcg_next(fx.dust_rng);
    return static_cast<float>(fx.dust_rng % 1000u) / 1000.0f;
}

}  // namespace

MovementFx make_movement_fx() {
    MovementFx fx{};
    fx.dust_rng = DUST_SEED;
    return fx;
}

void emit_movement_dust(MovementFx& fx, const Player& player, Material material, DustKind kind, int64_t dir) {
    const float fdir = static_cast<float>(dir);
    const bool steered = kind == DustKind::Run || kind == DustKind::Skid;
    const bool lingering = kind == DustKind::Land || kind == DustKind::Skid;
    for (int64_t i = 0; i < BURST_SIZE[static_cast<size_t>(kind)]; ++i) {
        DustParticle& d = fx.dust[static_cast<size_t>(fx.dust_next)];
        fx.dust_next = (fx.dust_next + 1) % DUST_CAPACITY;
        d.x = static_cast<float>(player.x) + 7.0f + (10.0f * draw_unit(fx) - 5.0f);
        d.y = static_cast<float>(player.y) + 19.0f + (2.0f * draw_unit(fx) - 1.0f);
        d.vel_x = 90.0f * draw_unit(fx) - 45.0f;
        if (steered) d.vel_x += (50.0f * draw_unit(fx) + 35.0f) * fdir;
        d.vel_y = 55.0f * draw_unit(fx) - 90.0f;
        switch (kind) {
            case DustKind::Run:
                d.vel_y = 36.0f * draw_unit(fx) - 58.0f;
                break;
            case DustKind::Skid: {
                const float spread = 60.0f * draw_unit(fx) - 30.0f;
                d.vel_x = spread + (70.0f * draw_unit(fx) + 55.0f) * fdir;
                d.vel_y = 65.0f * draw_unit(fx) - 110.0f;
                break;
            }
            case DustKind::Land:
                d.vel_x = 210.0f * draw_unit(fx) - 105.0f;
                break;
            case DustKind::Jump:
                break;
        }
        if (material == Material::Water) d.vel_y -= WATER_SPLASH_LIFT;
        d.life = 0.18f * draw_unit(fx) + 0.18f;
        if (lingering) d.life += LINGER;
        d.life_max = d.life;
        const Color c = MATERIAL_COLORS[static_cast<size_t>(material)][(fx.dust_rng - 1u) % 4u];
        d.color[0] = c.r;
        d.color[1] = c.g;
        d.color[2] = c.b;
        d.color[3] = c.a;
        fx.dust_rng = lcg_next(fx.dust_rng);
        d.size = fx.dust_rng % 5u == 0 ? 2 : 1;
    }
}

void update_movement_dust(MovementFx& fx) {
    for (DustParticle& d : fx.dust) {
        if (d.life <= 0.0f) continue;
        d.life -= STEP;
        if (d.life <= 0.0f) continue;
        d.vel_x *= DRAG_PER_STEP;
        d.vel_y += FALL_PER_STEP;
        d.x += d.vel_x / 60.0f;
        d.y += d.vel_y / 60.0f;
    }
}
