// Explosion sparks: ageing, motion and the in-place compaction of the list.

#include <gtest/gtest.h>

#include "test_game.h"
#include "world/particles.h"

namespace {

Particle spark(float x, uint8_t life) {
    Particle p{};
    p.x = x;
    p.life = life;
    p.life_max = life;
    return p;
}

TEST(Sparks, ASparkOfLifetimeTenSurvivesNineUpdates) {
    WorldPtr world = make_empty_world();
    ASSERT_TRUE(emit_particle(*world, spark(0.0f, 10)));
    for (int i = 0; i < 9; ++i) {
        update_particles(*world);
        ASSERT_EQ(world->particle_count, 1) << "update " << i;
    }
    EXPECT_EQ(world->particles[0].life, 1);
    update_particles(*world);
    EXPECT_EQ(world->particle_count, 0);
}

TEST(Sparks, MovesWithTheOldVelocityThenSlowsAndFalls) {
    WorldPtr world = make_empty_world();
    Particle p = spark(10.0f, 20);
    p.y = 5.0f;
    p.vel_x = 2.0f;
    p.vel_y = -3.0f;
    p.shade = 2;
    emit_particle(*world, p);
    update_particles(*world);
    const Particle& q = world->particles[0];
    EXPECT_EQ(q.x, 12.0f);
    EXPECT_EQ(q.y, 2.0f);
    EXPECT_EQ(q.vel_x, 2.0f * 0.94f);
    EXPECT_EQ(q.vel_y, -3.0f * 0.94f + 0.09f);
    EXPECT_EQ(q.life, 19);
    EXPECT_EQ(q.life_max, 20);
    EXPECT_EQ(q.shade, 2);
}

TEST(Sparks, DroppingSparksKeepsTheSurvivorsInOrder) {
    WorldPtr world = make_empty_world();
    const uint8_t lives[] = {1, 5, 0, 1, 3, 2, 1, 4, 1};
    float tag = 0.0f;
    for (uint8_t life : lives) emit_particle(*world, spark(tag++, life));
    update_particles(*world);
    ASSERT_EQ(world->particle_count, 4);
    EXPECT_EQ(world->particles[0].x, 1.0f);
    EXPECT_EQ(world->particles[1].x, 4.0f);
    EXPECT_EQ(world->particles[2].x, 5.0f);
    EXPECT_EQ(world->particles[3].x, 7.0f);
    update_particles(*world);
    ASSERT_EQ(world->particle_count, 3);
    EXPECT_EQ(world->particles[0].x, 1.0f);
    EXPECT_EQ(world->particles[1].x, 4.0f);
    EXPECT_EQ(world->particles[2].x, 7.0f);
}

TEST(Sparks, AFullListRefusesNewSparks) {
    WorldPtr world = make_empty_world();
    for (int64_t i = 0; i < MAX_PARTICLES; ++i) ASSERT_TRUE(emit_particle(*world, spark(0.0f, 30)));
    EXPECT_FALSE(emit_particle(*world, spark(1.0f, 30)));
    EXPECT_EQ(world->particle_count, MAX_PARTICLES);
    EXPECT_EQ(world->particles[MAX_PARTICLES - 1].x, 0.0f);
}

TEST(Sparks, TheWorldUpdateAgesSparksBeforeAnyCellRuns) {
    WorldPtr world = make_empty_world();
    emit_particle(*world, spark(7.0f, 1));
    emit_particle(*world, spark(8.0f, 3));
    set_cell(*world, 50, 50, Material::Boom);
    step_world(*world);
    // The first old spark had its last update, the second aged; the burst's
    // 48 come after it, fresh and unmoved.
    ASSERT_EQ(world->particle_count, 49);
    EXPECT_EQ(world->particles[0].x, 8.0f);
    EXPECT_EQ(world->particles[0].life, 2);
    EXPECT_EQ(world->particles[1].x, 50.5f);
    EXPECT_EQ(world->particles[1].life, world->particles[1].life_max);
}

}  // namespace
