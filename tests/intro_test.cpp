// The intro as a player lives it: whole frames of scripted input from the
// title's Enter through the egg, the first walk and line, to the pillar; the
// later stages from games set up in them; the typewriter; falling out.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "story/intro.h"
#include "test_game.h"

namespace {

constexpr float DT = 1.0f / 60.0f;

class Intro : public ::testing::Test {
protected:
    GameFixture fx;
    Game& g = fx.game;

    // One frame with `held` keys down, `pressed` newly pressed (0: none) and
    // optionally a left click in the middle of the picture.
    void frame(std::initializer_list<int> held = {}, int pressed = 0, bool click = false, float dt = DT) {
        FrameInput in = idle_input(dt);
        for (int key : held) in.key_down[static_cast<size_t>(key)] = true;
        if (pressed != 0) press_key(in, pressed);
        in.mouse_pressed[0] = click;
        in.mouse_down[0] = click;
        update_frame(g, in);
    }
    void frames(int n, std::initializer_list<int> held = {}) {
        for (int i = 0; i < n; ++i) frame(held);
    }
    uint32_t cue_count(SfxCue cue) const { return g.sounds.requested[static_cast<size_t>(cue)]; }

    void start_in_stage(int64_t stage, int64_t x, uint32_t seed = 4242) {
        start_new_game_with_seed(g, seed);
        g.screen = GameScreen::Playing;
        g.story_stage = stage;
        g.materials_unlocked = stage >= 5;
        g.awakening_seen = stage >= 3;
        place_player(x);
    }
    // Stands the dragon on the terrain with its left column at x.
    void place_player(int64_t x) {
        int64_t top = WORLD_H;
        for (int64_t c = x; c < x + PLAYER_W; ++c) top = std::min(top, g.level->surface[static_cast<size_t>(c)]);
        g.player.x = x;
        g.player.y = top - PLAYER_H;
        g.player_prev_x = x;
        g.player_prev_y = g.player.y;
        g.camera.pos.x = std::clamp(static_cast<float>(x) - 150.0f, 0.0f, CAMERA_MAX_X);
    }
    // Reveals the open line completely and closes it.
    void read_line() {
        for (int i = 0; i < 400 && g.dialogue_chars < static_cast<float>(dialogue_total(g.dialogue_line)); ++i) {
            frame();
        }
        frame({}, KEY_ENTER);
    }
};

TEST_F(Intro, FromTheTitleThroughTheEggAndTheFirstLineToThePillar) {
    SetRandomSeed(4242);
    frame({KEY_ENTER}, KEY_ENTER);
    ASSERT_EQ(g.screen, GameScreen::Playing);
    EXPECT_EQ(g.story_stage, 0) << "the key that starts the game does not crack the egg";
    const int64_t start_y = g.level->surface[153] - PLAYER_H;
    EXPECT_EQ(g.player.y, start_y);

    frame({KEY_D, KEY_SPACE}, KEY_SPACE);  // the egg cannot walk or jump...
    EXPECT_EQ(g.player.x, PLAYER_START_X);
    EXPECT_EQ(g.story_stage, 1) << "...but any key cracks it";
    EXPECT_EQ(cue_count(SfxCue::Egg), 1u);
    EXPECT_FALSE(g.world->player_present);

    frames(52);
    EXPECT_EQ(g.story_stage, 1) << "the shell takes 0.9 s to open";
    frames(4);
    ASSERT_EQ(g.story_stage, 3);
    EXPECT_EQ(g.player.x, PLAYER_START_X);

    // Walking right: past column 184 the first line opens.
    int walked = 0;
    while (g.dialogue_line == 0 && walked < 300) {
        frame({KEY_D});
        ++walked;
    }
    ASSERT_EQ(g.dialogue_line, 1);
    EXPECT_EQ(g.story_stage, 2);
    EXPECT_GT(g.player.x, 184);
    EXPECT_EQ(g.player.y, start_y) << "the cave floor is level to the first line";

    // While the line is open no logic step runs; an early press is ignored.
    const uint64_t steps = g.logic_steps;
    const int64_t x_at_line = g.player.x;
    frame({KEY_D}, KEY_SPACE);
    EXPECT_EQ(g.dialogue_line, 1);
    EXPECT_GT(g.dialogue_chars, 0.0f);
    read_line();
    EXPECT_EQ(g.dialogue_line, 0);
    EXPECT_EQ(g.story_stage, 3);
    EXPECT_TRUE(g.awakening_seen);
    EXPECT_EQ(g.logic_steps, steps) << "the frame that closes the line runs no step either";
    EXPECT_EQ(g.player.x, x_at_line);
    frame();
    EXPECT_GT(g.logic_steps, steps);

    // Back left of 184 the line does not open again; then on to the fire lesson.
    frames(40, {KEY_A});
    EXPECT_LT(g.player.x, 184);
    EXPECT_EQ(g.dialogue_line, 0);
    for (int i = 0; i < 400 && g.story_stage == 3; ++i) frame({KEY_D});
    EXPECT_EQ(g.story_stage, 4);
    EXPECT_GT(g.player.x, 461);

    // The wooden pillar bars the cave: the dragon's right side stops at 524.
    frames(200, {KEY_D});
    EXPECT_EQ(g.player.x, 511);
    EXPECT_EQ(g.story_stage, 4);
    EXPECT_FALSE(g.materials_unlocked);

    frame({}, 0, true);
    frame();
    EXPECT_EQ(g.story_stage, 5) << "a click is the first breath of fire";
    EXPECT_TRUE(g.materials_unlocked);
}

// Aims with the left button held at world cell (cx, cy), walking `held`.
void spit_frame(Intro& t, Game& g, float cx, float cy, std::initializer_list<int> held, bool click) {
    FrameInput in = idle_input(DT);
    in.mouse = Vector2{(cx - g.camera.pos.x) * 3.0f, (cy - g.camera.pos.y) * 3.0f};
    in.mouse_down[0] = true;
    in.mouse_pressed[0] = click;
    for (int key : held) in.key_down[static_cast<size_t>(key)] = true;
    update_frame(g, in);
    (void)t;
}

TEST_F(Intro, FireOpensTheCaveAndTheBarrelLessonFillsASlot) {
    start_in_stage(4, 511);
    frames(5);
    ASSERT_EQ(g.player.x, 511) << "standing against the pillar";
    EXPECT_FALSE(g.materials_unlocked);
    frames(20, {KEY_A});  // a step back from the wood
    const float mouth_row = static_cast<float>(g.player.y + 8);

    // The first click breathes fire and shows the slot bar.
    spit_frame(*this, g, 528.0f, mouth_row, {}, true);
    EXPECT_EQ(g.story_stage, 5);
    EXPECT_TRUE(g.materials_unlocked);
    EXPECT_EQ(cue_count(SfxCue::FireBreath), 1u);

    // Fire burns the pillar away; the dragon walks through.
    for (int round = 0; round < 40 && g.player.x <= 533; ++round) {
        const float row = static_cast<float>(g.player.y);
        for (int i = 0; i < 60; ++i) spit_frame(*this, g, 527.0f, row + static_cast<float>(i % 24), {}, false);
        frames(30, {KEY_D});
        if (g.player.x <= 533) frames(10, {KEY_A});
    }
    ASSERT_GT(g.player.x, 533) << "the pillar still bars the cave";
    EXPECT_EQ(g.story_stage, 6) << "past 536 the knight is met";
    EXPECT_EQ(g.inventory.slots[0].count, UNLIMITED);

    // The knight comes into view; its lines run into slow motion.
    for (int i = 0; i < 600 && g.dialogue_line == 0; ++i) frame({KEY_D});
    ASSERT_EQ(g.dialogue_line, 2);
    for (int i = 0; i < 4; ++i) read_line();
    ASSERT_EQ(g.story_stage, 11);
    spit_frame(*this, g, static_cast<float>(g.player.x + 60), mouth_row, {}, true);
    for (int i = 0; i < 8 && g.story_stage == 11; ++i) frame();
    EXPECT_EQ(g.story_stage, 12);

    // The knight fights: every blow costs exactly ten hit points, and fire
    // at its body kills it.
    const Enemy& knight = g.world->enemies[static_cast<size_t>(g.knight_index)];
    for (int i = 0; i < 600 && knight.alive && !g.game_over; ++i) {
        const int64_t hp = g.player.hp;
        spit_frame(*this, g, static_cast<float>(knight.x + 4), static_cast<float>(knight.y + 5), {}, false);
        ASSERT_EQ((hp - g.player.hp) % 10, 0);
    }
    EXPECT_FALSE(knight.alive);
    EXPECT_GT(g.player.hp, 0);
    int64_t debris = 0;
    for (const Cell& c : g.world->cells) debris += c.material == Material::KnightDebris;
    EXPECT_GT(debris, 0);

    // On to the barrel at 960; E fills the second slot with its plasma.
    const Barrel& barrel = g.level->barrels[0];
    ASSERT_EQ(barrel.x, 960);
    for (int i = 0; i < 900 && g.player.x + 27 < barrel.x + 6; ++i) {
        const int64_t before = g.player.x;
        frame({KEY_D});
        if (g.player.x == before) frame({KEY_D, KEY_SPACE}, KEY_SPACE);
    }
    EXPECT_EQ(g.story_stage, 13);
    frames(20);
    frame({}, KEY_E);
    EXPECT_EQ(cue_count(SfxCue::Pickup), 1u);
    frames(50);
    EXPECT_TRUE(barrel.eaten);
    EXPECT_EQ(g.inventory.slots[1].material, Material::Plasma);
    EXPECT_EQ(g.inventory.slots[1].count, 2000);

    // Every plasma particle created costs exactly one unit.
    frame({}, KEY_TWO);
    EXPECT_EQ(g.inventory.selected, 1);
    spit_frame(*this, g, static_cast<float>(g.player.x + 80), static_cast<float>(g.player.y - 30), {}, true);
    int64_t plasma = 0;
    for (const SpitParticle& q : g.spit.particles) plasma += q.active && q.material == Material::Plasma;
    EXPECT_GT(plasma, 0);
    EXPECT_EQ(g.inventory.slots[1].count, 2000 - plasma);

    // Past 1100 the camera pans to the boss.
    for (int i = 0; i < 1200 && g.story_stage == 13; ++i) {
        const int64_t before = g.player.x;
        frame({KEY_D});
        if (g.player.x == before) frame({KEY_D, KEY_SPACE}, KEY_SPACE);
    }
    EXPECT_EQ(g.story_stage, 14);
    EXPECT_TRUE(g.camera.pan_active);
}

int64_t pillar_wood(const Game& g) {
    int64_t n = 0;
    for (int64_t y = 0; y < WORLD_H; ++y) {
        for (int64_t x = 525; x <= 532; ++x) n += cell_at(*g.world, x, y).material == Material::Wood;
    }
    return n;
}

// Where the prompt puts the player: snout against the wood. Every spawn cell
// lies inside the pillar, and the breath must still light it.
TEST_F(Intro, BreathFromTouchingDistanceSetsTheFireLessonsPillarAlight) {
    start_in_stage(4, 511);
    frames(5);
    ASSERT_EQ(g.player.x, 511);
    ASSERT_EQ(cell_at(*g.world, g.player.x + PLAYER_W, g.player.y + 8).material, Material::Wood) << "touching";
    const int64_t wood = pillar_wood(g);
    const float mouth_row = static_cast<float>(g.player.y + 8);
    spit_frame(*this, g, 530.0f, mouth_row, {}, true);
    EXPECT_EQ(g.story_stage, 5);
    EXPECT_EQ(cue_count(SfxCue::FireBreath), 1u) << "something left the snout";
    for (int i = 0; i < 600; ++i) spit_frame(*this, g, 530.0f, mouth_row, {}, false);
    EXPECT_LT(pillar_wood(g), wood / 2) << "ten seconds of breath burn most of the pillar";
    for (int64_t y = g.player.y; y < g.player.y + PLAYER_H; ++y) {
        for (int64_t x = g.player.x; x < g.player.x + PLAYER_W; ++x) {
            if (!player_mask_covers(x, y, g.player.x, g.player.y)) continue;
            EXPECT_EQ(cell_at(*g.world, x, y).material, Material::Empty) << "nothing settles inside the dragon";
        }
    }
}

TEST_F(Intro, JumpsBeforeTheHatchingAreIgnored) {
    start_new_game_with_seed(g, 99);
    g.screen = GameScreen::Playing;
    frame({KEY_SPACE}, KEY_SPACE);
    EXPECT_FALSE(g.player_input.jump_request);
    g.story_stage = 3;
    frame({KEY_SPACE}, KEY_SPACE);
    EXPECT_LT(g.player.vel_y, 0.0f);
}

TEST_F(Intro, TheKnightsLinesFollowOneAnotherIntoSlowMotion) {
    start_in_stage(5, 540);
    const int64_t before = g.world->enemy_count;
    frame();
    ASSERT_EQ(g.story_stage, 6);
    ASSERT_TRUE(g.knight_spawned);
    EXPECT_EQ(g.knight_index, before);
    const Enemy& knight = g.world->enemies[static_cast<size_t>(g.knight_index)];
    EXPECT_EQ(enemy_kind(knight), EnemyKind::Knight);
    EXPECT_NEAR(static_cast<double>(knight.x), 790.0, 84.0);
    EXPECT_EQ(g.dialogue_line, 0) << "the knight is not on screen yet";

    place_player(knight.x - 60);
    for (int i = 0; i < 120 && g.dialogue_line == 0; ++i) frame();
    ASSERT_EQ(g.dialogue_line, 2);
    EXPECT_EQ(g.story_stage, 7);

    const int64_t expected[] = {3, 4, 5, 0};
    const int64_t stages[] = {8, 9, 10, 11};
    for (int i = 0; i < 4; ++i) {
        read_line();
        EXPECT_EQ(g.dialogue_line, expected[i]);
        EXPECT_EQ(g.story_stage, stages[i]);
    }
    EXPECT_EQ(cue_count(SfxCue::Charge), 1u);
    EXPECT_TRUE(g.present_with_shader);

    // Slow motion: ten frames of 1/60 s feed 0.04 s of logic, two steps.
    frame();
    const uint64_t steps = g.logic_steps;
    frames(10);
    EXPECT_EQ(g.logic_steps - steps, 2u);

    frame({}, 0, true);
    for (int i = 0; i < 8 && g.story_stage == 11; ++i) frame();
    EXPECT_EQ(g.story_stage, 12);
    EXPECT_FALSE(g.present_with_shader);
}

TEST_F(Intro, AJumpPressedInSlowMotionWaitsForTheNextStep) {
    start_in_stage(11, 700);
    frames(8);
    const uint64_t before = g.logic_steps;
    for (int i = 0; i < 6 && g.logic_steps == before; ++i) frame();  // a step has just run
    const uint64_t steps = g.logic_steps;
    frame({KEY_SPACE}, KEY_SPACE);
    ASSERT_EQ(g.logic_steps, steps) << "a quarter-speed frame that runs no step";
    EXPECT_TRUE(g.player_input.jump_request);
    for (int i = 0; i < 6 && g.logic_steps == steps; ++i) frame({KEY_SPACE});
    EXPECT_FLOAT_EQ(g.player.vel_y, -220.0f);
    EXPECT_FALSE(g.player_input.jump_request);
}

TEST_F(Intro, WithoutAKnightTheStoryGoesOnAtOnce) {
    start_in_stage(5, 540);
    g.world->enemy_count = MAX_ENEMIES;  // no room for the knight
    frame();
    EXPECT_FALSE(g.knight_spawned);
    EXPECT_EQ(g.dialogue_line, 2);
    EXPECT_EQ(g.story_stage, 7);
}

TEST_F(Intro, TheKnightIsMetWithTheDragonAtColumn536) {
    start_in_stage(5, 535);
    frames(2);
    EXPECT_EQ(g.story_stage, 5);
    place_player(536);
    frame();
    EXPECT_EQ(g.story_stage, 6);
    EXPECT_TRUE(g.knight_spawned);
    const Enemy& knight = g.world->enemies[static_cast<size_t>(g.knight_index)];
    EXPECT_EQ(enemy_kind(knight), EnemyKind::Knight);
    EXPECT_EQ(knight.x, 790) << "the first column tried fits a knight";
}

TEST_F(Intro, PastTheBarrelLessonTheCameraPansToTheBoss) {
    start_in_stage(12, 916);
    frames(2);
    EXPECT_EQ(g.story_stage, 12) << "916 is not past 916";
    place_player(917);
    frame();
    EXPECT_EQ(g.story_stage, 13);
    place_player(1100);
    frame();
    EXPECT_EQ(g.story_stage, 13);
    place_player(1101);
    frame();
    EXPECT_EQ(g.story_stage, 14);
    EXPECT_TRUE(g.camera.pan_active || g.camera.pos.x > 1000.0f);
    EXPECT_FLOAT_EQ(g.camera.pan_to.x, 1080.0f);
    for (int i = 0; i < 40 && g.camera.pan_active; ++i) frame();
    EXPECT_FLOAT_EQ(g.camera.pos.x, 1080.0f) << "the pan's last frame lands on the boss area";
}

TEST_F(Intro, ALineOfSixtySevenCharactersTakesOneHundredAndThirtyFramesToType) {
    start_in_stage(8, 600);
    g.dialogue_line = 4;
    g.dialogue_chars = 0.0f;
    frame({}, KEY_ENTER);  // pressed too early: ignored
    EXPECT_EQ(g.dialogue_line, 4);
    int n = 1;
    while (g.dialogue_chars < 67.0f && n < 500) {
        frame();
        ++n;
    }
    EXPECT_EQ(n, 130) << "67 / 31 s = 2.16 s = 129.7 frames, so 130 frames (2.17 s)";
    EXPECT_EQ(cue_count(SfxCue::KnightBlip), 22u) << "one blip per third character";
    EXPECT_EQ(cue_count(SfxCue::DragonBlip), 0u);
}

TEST_F(Intro, ABlipWaitsForItsCoolDown) {
    start_in_stage(2, 200);
    g.dialogue_line = 1;
    g.dialogue_chars = 2.9f;
    g.sfx_cooldown[LANE_BLIPS] = 0.2f;
    frame();
    EXPECT_EQ(cue_count(SfxCue::DragonBlip), 0u);
    g.sfx_cooldown[LANE_BLIPS] = 0.0f;
    g.dialogue_chars = 5.9f;
    frame();
    EXPECT_EQ(cue_count(SfxCue::DragonBlip), 1u);
    EXPECT_FLOAT_EQ(g.sfx_cooldown[LANE_BLIPS], 0.055f);
}

TEST_F(Intro, FallingOutOfTheWorldEndsThePlayAtOnce) {
    start_in_stage(3, 600);
    for (int64_t y = 0; y < WORLD_H; ++y) {
        for (int64_t x = 590; x < 630; ++x) set_cell(*g.world, x, y, Material::Empty);
    }
    int n = 0;
    while (g.screen == GameScreen::Playing && n < 600) {
        frame({}, 0, false, 0.05f);
        ++n;
    }
    EXPECT_EQ(g.screen, GameScreen::GameOver);
    EXPECT_TRUE(g.game_over);
    EXPECT_EQ(g.player.hp, 0);
    EXPECT_GE(g.player.y, WORLD_H);
    EXPECT_FLOAT_EQ(g.step_accumulator, 0.0f);
    const uint64_t steps = g.logic_steps;
    FrameInput in = idle_input(DT);
    update_frame(g, in);
    EXPECT_EQ(g.logic_steps, steps);
}

}  // namespace

namespace {

// The dust and sounds of the dragon's feet, from whole frames of play.
class MovementCues : public Intro {};

int64_t live_dust(const MovementFx& fx) {
    int64_t n = 0;
    for (const DustParticle& d : fx.dust) n += d.life > 0.0f;
    return n;
}

uint32_t footsteps(const Game& g) {
    uint32_t n = 0;
    for (SfxCue c : {SfxCue::FootStone, SfxCue::FootWood, SfxCue::FootGrass, SfxCue::FootMetal, SfxCue::FootSnow,
                     SfxCue::FootWater}) {
        n += g.sounds.requested[static_cast<size_t>(c)];
    }
    return n;
}

TEST_F(MovementCues, RunningKicksUpDustAndFootstepsAtTheirOwnPace) {
    start_in_stage(3, 160);  // the level cave floor
    frames(5);
    ASSERT_TRUE(g.player.grounded);
    const uint32_t before = footsteps(g);
    frames(30, {KEY_D});  // level floor all the way
    EXPECT_GT(live_dust(g.movement_fx), 0);
    // The first cell moved is in frame 2; then one every 0.14 s, i.e. every
    // ninth frame: frames 2, 11, 20 and 29.
    EXPECT_EQ(footsteps(g) - before, 4u);
    EXPECT_EQ(cue_count(SfxCue::FootStone), footsteps(g)) << "the cave floor is stone";
}

TEST_F(MovementCues, AJumpAndItsLandingEachSoundOnceWithDust) {
    start_in_stage(3, 160);
    frames(5);
    const int64_t before = g.movement_fx.dust_next;
    frame({KEY_SPACE}, KEY_SPACE);
    EXPECT_EQ(cue_count(SfxCue::Jump), 1u);
    EXPECT_EQ(g.movement_fx.dust_next, before + 7) << "a jump burst is seven specks";
    for (int i = 0; i < 120 && !g.player.grounded; ++i) frame();
    EXPECT_EQ(cue_count(SfxCue::Land), 1u);
    EXPECT_EQ(g.movement_fx.dust_next, before + 7 + 9) << "a landing burst is nine";
}

TEST_F(MovementCues, TurningAtSpeedSkids) {
    start_in_stage(3, 160);
    frames(20, {KEY_D});
    const int64_t before = g.movement_fx.dust_next;
    frame({KEY_A});

    EXPECT_GE(g.movement_fx.dust_next - before, 11);
}

}  // namespace
