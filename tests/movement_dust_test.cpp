// Movement dust: bursts drawn from the dust generator, their motion, and the
// ring that overwrites the oldest specks.

#include <gtest/gtest.h>

#include "player/movement_fx.h"
#include "render/world_render.h"

namespace {

Player at(int64_t x, int64_t y) { return make_player(x, y); }

void expect_colour(const DustParticle& d, Material m, size_t shade) {
    const Color c = MATERIAL_COLORS[static_cast<size_t>(m)][shade];
    EXPECT_EQ(d.color[0], c.r);
    EXPECT_EQ(d.color[1], c.g);
    EXPECT_EQ(d.color[2], c.b);
}

// Values worked out from the generator's first draws after 0xD0571234.
TEST(MovementDust, ARunBurstIsTwoSpecksThrownBehind) {
    MovementFx fx = make_movement_fx();
    emit_movement_dust(fx, at(100, 50), Material::Stone, DustKind::Run, -1);
    EXPECT_EQ(fx.dust_next, 2);
    const DustParticle& d = fx.dust[0];
    EXPECT_NEAR(d.x, 110.75f, 1e-4);
    EXPECT_NEAR(d.y, 69.26f, 1e-4);
    EXPECT_NEAR(d.vel_x, -38.91f, 1e-3);
    EXPECT_NEAR(d.vel_y, -52.168f, 1e-3);
    EXPECT_NEAR(d.life, 0.20178f, 1e-5);
    EXPECT_FLOAT_EQ(d.life_max, d.life);
    EXPECT_EQ(d.size, 1);
    expect_colour(d, Material::Stone, 0);
    EXPECT_NEAR(fx.dust[1].vel_x, -74.19f, 1e-3);
    EXPECT_NEAR(fx.dust[1].life, 0.3141f, 1e-5);
    EXPECT_FLOAT_EQ(fx.dust[2].life, 0.0f);
}

TEST(MovementDust, ASkidOnWaterThrowsForwardAndSplashesHigher) {
    MovementFx fx = make_movement_fx();
    emit_movement_dust(fx, at(100, 50), Material::Stone, DustKind::Run, -1);
    emit_movement_dust(fx, at(100, 50), Material::Water, DustKind::Skid, 1);
    EXPECT_EQ(fx.dust_next, 13);
    const DustParticle& d = fx.dust[2];
    EXPECT_NEAR(d.x, 109.95f, 1e-4);
    EXPECT_NEAR(d.vel_x, 63.11f, 1e-3);
    EXPECT_NEAR(d.vel_y, -127.58f, 1e-3);
    EXPECT_NEAR(d.life, 0.27062f, 1e-5);
    expect_colour(d, Material::Water, 2);
    for (int64_t i = 2; i < 13; ++i) {
        const DustParticle& s = fx.dust[static_cast<size_t>(i)];
        EXPECT_GE(s.vel_x, 25.0f);
        EXPECT_LE(s.vel_x, 155.0f);
        EXPECT_LE(s.vel_y, -110.0f + 65.0f - 35.0f);
        EXPECT_GE(s.life, 0.26f);
        EXPECT_LE(s.life, 0.44f);
    }
}

TEST(MovementDust, BurstSizesAndTheRingOverwritingTheOldest) {
    MovementFx fx = make_movement_fx();
    emit_movement_dust(fx, at(0, 0), Material::Sand, DustKind::Jump, 0);
    EXPECT_EQ(fx.dust_next, 7);
    emit_movement_dust(fx, at(0, 0), Material::Sand, DustKind::Land, 0);
    EXPECT_EQ(fx.dust_next, 16);
    for (int i = 0; i < 16; ++i) emit_movement_dust(fx, at(0, 0), Material::Sand, DustKind::Skid, 1);
    EXPECT_EQ(fx.dust_next, (16 + 16 * 11) % DUST_CAPACITY);
}

TEST(MovementDust, SpecksSlowByFourPercentAndFallEachStep) {
    MovementFx fx = make_movement_fx();
    DustParticle& d = fx.dust[5];
    d = DustParticle{10.0f, 20.0f, 60.0f, -30.0f, 0.1f, 0.3f, {1, 2, 3, 255}, 1};
    update_movement_dust(fx);
    EXPECT_FLOAT_EQ(d.vel_x, 57.6f);
    EXPECT_FLOAT_EQ(d.vel_y, -24.0f);
    EXPECT_FLOAT_EQ(d.x, 10.0f + 57.6f / 60.0f);
    EXPECT_FLOAT_EQ(d.y, 20.0f - 24.0f / 60.0f);
    d.life = 0.01f;
    update_movement_dust(fx);
    EXPECT_LE(d.life, 0.0f);
    EXPECT_FLOAT_EQ(d.vel_x, 57.6f) << "a speck that dies this step stops moving";
}

}  // namespace
