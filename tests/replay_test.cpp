// Exact replays: the play state hash, the input recorder, and replaying a
// recorded game frame by frame.

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "app/replay.h"
#include "soak.h"
#include "test_game.h"

namespace {

constexpr int64_t REPLAY_FRAMES = 600;

// A game started from the title (raylib's generator picks the level seed, so
// it is seeded first) and played by the random input source.
struct RecordedGame {
    std::vector<FrameInput> buffer;
    InputRecording rec{};
    std::vector<uint64_t> hashes;  // after each frame
    std::vector<bool> playing;  // on the playing screen and not paused: frame time moves the game
    int64_t deepest_stage = 0;
};

// Hashes are taken from frame `hash_from` on (each hash reads the whole grid).
RecordedGame record_game(uint64_t seed, int64_t frames, int64_t hash_from = 0) {
    RecordedGame out;
    out.buffer.resize(static_cast<size_t>(frames));
    out.rec = make_input_recording(out.buffer.data(), frames);
    GameFixture fx;
    SetRandomSeed(static_cast<unsigned int>(seed));
    RandomInput src = make_random_input(seed);
    for (int64_t f = 0; f < frames; ++f) {
        FrameInput in = next_random_input(src, fx.game);
        EXPECT_TRUE(record_input(out.rec, in));
        update_frame(fx.game, in);
        out.hashes.push_back(f >= hash_from ? play_state_hash(fx.game) : 0);
        out.playing.push_back(fx.game.screen == GameScreen::Playing && !fx.game.paused);
        out.deepest_stage = std::max(out.deepest_stage, fx.game.story_stage);
    }
    return out;
}

// Replays into a fresh game; returns the first frame from `hash_from` on
// whose hash differs from the recorded one, or -1.
int64_t first_divergence(uint64_t seed, const InputRecording& rec, const std::vector<uint64_t>& hashes,
                         int64_t hash_from = 0) {
    GameFixture fx;
    SetRandomSeed(static_cast<unsigned int>(seed));
    for (int64_t f = 0; f < rec.count; ++f) {
        EXPECT_TRUE(replay_frame(fx.game, rec, f));
        if (f >= hash_from && play_state_hash(fx.game) != hashes[static_cast<size_t>(f)]) return f;
    }
    return -1;
}

TEST(Replay, RecordedRandomGameReplaysToTheSameHashEveryFrame) {
    const uint64_t seed = 4242;
    const RecordedGame game = record_game(seed, REPLAY_FRAMES);
    ASSERT_EQ(game.rec.count, REPLAY_FRAMES);
    ASSERT_FALSE(game.rec.overflowed);
    // The recording is worth replaying only if it left the title and played.
    EXPECT_GE(game.deepest_stage, 3);
    EXPECT_EQ(first_divergence(seed, game.rec, game.hashes), -1);
}

TEST(Replay, HashMovesWhilePlaying) {
    const RecordedGame game = record_game(99, 300);
    int64_t changes = 0;
    for (size_t f = 1; f < game.hashes.size(); ++f) changes += game.hashes[f] != game.hashes[f - 1] ? 1 : 0;
    EXPECT_GT(changes, 250);
}

TEST(Replay, OneChangedInputFrameChangesTheHashFromThatFrameOn) {
    const uint64_t seed = 77;
    constexpr int64_t HASH_FROM = 790;
    RecordedGame game = record_game(seed, 1000, HASH_FROM);
    // A frame well into play, on the playing screen, gets another frame time.
    int64_t changed = -1;
    for (int64_t f = HASH_FROM + 10; f < game.rec.count; ++f) {
        if (game.playing[static_cast<size_t>(f)] && game.playing[static_cast<size_t>(f - 1)]) {
            changed = f;
            break;
        }
    }
    ASSERT_GE(changed, 0);
    FrameInput& in = game.buffer[static_cast<size_t>(changed)];
    in.raw_frame_time = in.raw_frame_time == 0.03f ? 0.031f : 0.03f;
    EXPECT_EQ(first_divergence(seed, game.rec, game.hashes, HASH_FROM), changed);
}

TEST(Replay, DifferentLevelSeedsHashDifferently) {
    GameFixture a;
    GameFixture b;
    start_new_game_with_seed(a.game, 1);
    start_new_game_with_seed(b.game, 2);
    EXPECT_NE(world_state_hash(*a.game.world), world_state_hash(*b.game.world));
    EXPECT_NE(level_state_hash(*a.game.level), level_state_hash(*b.game.level));
    start_new_game_with_seed(b.game, 1);
    EXPECT_EQ(world_state_hash(*a.game.world), world_state_hash(*b.game.world));
    EXPECT_EQ(level_state_hash(*a.game.level), level_state_hash(*b.game.level));
}

// Every group of the state, down to the last slot of each table, reaches
// the hash: one changed value anywhere changes it.
TEST(Replay, HashSeesAChangeInEveryPartOfThePlayState) {
    GameFixture fx;
    Game& g = fx.game;
    uint64_t base = 0;
    const auto sees = [&](const char* what, auto&& change) {
        change();
        EXPECT_NE(play_state_hash(g), base) << what << " is not in the hash";
    };
    // Every change starts again from the same freshly generated game.
    const auto restore = [&] {
        start_new_game_with_seed(g, 5);
        g.screen = GameScreen::Playing;
        base = play_state_hash(g);
    };
    World& w = *g.world;
    Level& l = *g.level;
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"last cell's material", [&] { w.cells.back().material = Material::Lava; }},
        {"first cell's temperature", [&] { w.cells.front().temperature += 1; }},
        {"a cell's fall fraction", [&] { w.cells[12345].fall_frac += 0.5f; }},
        {"a cell's fling_frac_y", [&] { w.cells[777].fling_frac_y = 0.25f; }},
        {"a cell's stamp", [&] { w.cells[99].stamp += 1; }},
        {"a cell's origin", [&] { w.cells[CELL_COUNT - 3].origin = Material::Sand; }},
        {"a cell queued for the next update", [&] { w.queued_mark[500] = static_cast<int32_t>(w.tick + 1); }},
        {"the wake-up list", [&] { w.active[w.active_sel][0] += 1; }},
        {"the world generator", [&] { w.rng_state ^= 1u; }},
        {"the tick", [&] { w.tick += 1; }},
        {"the last enemy slot", [&] { w.enemies[MAX_ENEMIES - 1].anim_time = 1.0f; }},
        {"an enemy's hit flag", [&] { w.enemies[0].hit_done = !w.enemies[0].hit_done; }},
        {"the boss freeze", [&] { w.boss_frozen = !w.boss_frozen; }},
        {"the last explosion mark", [&] { w.explosion_mark.back() = 3; }},
        {"the world particle count", [&] { w.particle_count = 1; }},
        {"the last swap", [&] { w.last_swap_tick += 1; }},
        {"the surface", [&] { l.surface[WORLD_W - 1] += 1; }},
        {"the last barrel", [&] { l.barrels[MAX_BARRELS - 1].eat_time = 2.0f; }},
        {"the last tank", [&] { l.tanks[MAX_TANKS - 1].material = Material::Acid; }},
        {"the last house", [&] { l.houses[MAX_HOUSES - 1].roof_height += 1; }},
        {"the dragon's empowerment", [&] { g.player.empowered = true; }},
        {"the dragon's wall velocity", [&] { g.player.wall_vel_x = 3.0f; }},
        {"the step start", [&] { g.step_start.grounded = !g.step_start.grounded; }},
        {"the latched jump", [&] { g.player_input.jump_request = true; }},
        {"the last dust speck", [&] { g.movement_fx.dust[DUST_CAPACITY - 1].color[3] = 9; }},
        {"the dust generator", [&] { g.movement_fx.dust_rng += 1; }},
        {"the animation", [&] { g.player_animation.anim_frame += 1; }},
        {"the last inventory slot", [&] { g.inventory.slots[SLOT_COUNT - 1].count = 7; }},
        {"the selected slot", [&] { g.inventory.selected = 3; }},
        {"the last spit particle", [&] { g.spit.particles[MAX_SPIT_PARTICLES - 1].large = true; }},
        {"the spit pose", [&] { g.spit.spit_pose = 0.1f; }},
        {"the camera pan target", [&] { g.camera.pan_to.y = 4.0f; }},
        {"the sandbox code's progress", [&] { g.sandbox.code_pos = 2; }},
        {"the sandbox material", [&] { g.sandbox.sandbox_material = Material::Lava; }},
        {"the story stage", [&] { g.story_stage = 3; }},
        {"the dialogue reveal", [&] { g.dialogue_chars = 2.0f; }},
        {"the boss encounter", [&] { g.boss_encounter = BossEncounter::Fighting; }},
        {"the materials unlock", [&] { g.materials_unlocked = true; }},
        {"the egg timer", [&] { g.egg_timer = 0.5f; }},
        {"the intro knight", [&] { g.knight_index = 4; }},
        {"the carried step time", [&] { g.step_accumulator = 0.01f; }},
        {"a sound lane cooldown", [&] { g.sfx_cooldown[SFX_LANE_COUNT - 1] = 0.1f; }},
        {"the sound variant generator", [&] { g.sounds.rng_state += 1; }},
        {"the last sound request count", [&] { g.sounds.requested.back() += 1; }},
        {"the volume", [&] { g.master_volume = 0.5f; }},
        {"the screen", [&] { g.screen = GameScreen::GameOver; }},
        {"the game over flag", [&] { g.game_over = true; }},
        {"the logic step count", [&] { g.logic_steps += 1; }},
        {"the mouse", [&] { g.mouse_virtual.y += 1; }},
        {"the shader choice", [&] { g.present_with_shader = true; }},
    };
    for (const auto& [what, change] : changes) {
        restore();
        sees(what, change);
    }
}

TEST(Replay, HashIgnoresTheLetterboxAndLoadedHandles) {
    GameFixture fx;
    start_new_game_with_seed(fx.game, 5);
    const uint64_t base = play_state_hash(fx.game);
    fx.game.letterbox = compute_letterbox(3000, 17);
    fx.game.target.id = 12;
    fx.game.textures[0].id = 3;
    fx.game.cave_wall.opaque_end = 40;
    fx.game.sky_cache.holds = true;
    fx.game.sky_cache.column = 7.0f;
    EXPECT_EQ(play_state_hash(fx.game), base);
}

TEST(InputRecording, StoresFramesUntilFullThenMarksTheLoss) {
    std::vector<FrameInput> buffer(2);
    InputRecording rec = make_input_recording(buffer.data(), 2);
    FrameInput in = idle_input(0.02f);
    EXPECT_TRUE(record_input(rec, in));
    EXPECT_TRUE(record_input(rec, in));
    EXPECT_FALSE(rec.overflowed);
    EXPECT_FALSE(record_input(rec, in));
    EXPECT_TRUE(rec.overflowed);
    EXPECT_EQ(rec.count, 2);
}

TEST(InputRecording, ReplayLeavesTheRecordedKeyQueueUnread) {
    std::vector<FrameInput> buffer(1);
    InputRecording rec = make_input_recording(buffer.data(), 1);
    FrameInput in = idle_input(1.0f / 60.0f);
    press_key(in, KEY_ENTER);
    record_input(rec, in);
    GameFixture fx;
    SetRandomSeed(3);
    ASSERT_TRUE(replay_frame(fx.game, rec, 0));
    EXPECT_EQ(fx.game.screen, GameScreen::Playing);
    EXPECT_EQ(buffer[0].key_queue_next, 0);
    EXPECT_FALSE(replay_frame(fx.game, rec, 1));
    EXPECT_FALSE(replay_frame(fx.game, rec, -1));
}

}  // namespace
