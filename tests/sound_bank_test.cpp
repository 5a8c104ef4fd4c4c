// The sound bank's variant draws and the keys of the sound files.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "../tools/common/game_bot.h"
#include "app/replay.h"
#include "assets/game_audio.h"
#include "test_game.h"

namespace {

// The bank's first six draws from its initial state.
constexpr uint32_t FIRST_STATES[6] = {2143474361u, 3982122180u, 1512030547u,
                                      1479399062u, 4008221949u, 1635826232u};
constexpr int FIRST_VARIANTS[6] = {0, 0, 1, 1, 2, 0};

TEST(SoundBankDraws, FirstSixFromTheInitialStateAreFixed) {
    SoundBank bank = make_sound_bank();
    EXPECT_FALSE(bank.ready);
    EXPECT_EQ(bank.rng_state, 1595002946u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(next_variant(bank), FIRST_VARIANTS[i]) << "draw " << i;
        EXPECT_EQ(bank.rng_state, FIRST_STATES[i]) << "draw " << i;
    }
}

TEST(SoundBankDraws, ReadyBankAdvancesOncePerRequestWhateverTheCueAndEvenWhenTheSoundIsEmpty) {
    // No audio device here: every variant is the empty Sound, which raylib
    // reports invalid, so play_cue draws and then plays nothing (a crash here
    // would mean it reached the mixer).
    SoundBank bank = make_sound_bank();
    bank.ready = true;
    const SfxCue cues[6] = {SfxCue::Explosion, SfxCue::FootStone, SfxCue::UiMove,
                            SfxCue::Explosion, SfxCue::Charge,    SfxCue::UiBack};
    for (int i = 0; i < 6; ++i) {
        play_cue(bank, cues[i], 0.5f);
        EXPECT_EQ(bank.rng_state, FIRST_STATES[i]) << "request " << i;
    }
    EXPECT_FALSE(IsSoundValid(bank.variants[static_cast<int>(SfxCue::Explosion)][0]));
}

TEST(SoundBankDraws, ReadyAndUnreadyBanksDrawTheSameSequence) {
    // A machine without a sound card must play the same game as one with it:
    // the draws, the requests and so the hashed state agree either way.
    SoundBank with_device = make_sound_bank();
    SoundBank without = make_sound_bank();
    with_device.ready = true;
    const SfxCue cues[7] = {SfxCue::Jump,  SfxCue::Count, SfxCue::UiMove, SfxCue::Jump,
                            SfxCue::Egg,   SfxCue::Count, SfxCue::FootWater};
    for (int i = 0; i < 7; ++i) {
        play_cue(with_device, cues[i], 1.0f);
        play_cue(without, cues[i], 1.0f);
        EXPECT_EQ(with_device.rng_state, without.rng_state) << "request " << i;
        EXPECT_EQ(without.rng_state, i < 6 ? FIRST_STATES[i] : 2846013495u) << "request " << i;
    }
    EXPECT_EQ(with_device.requested, without.requested);
    // The empty cue draws but is never counted.
    EXPECT_EQ(without.requested[static_cast<size_t>(SfxCue::Jump)], 2u);
    uint32_t total = 0;
    for (uint32_t n : without.requested) total += n;
    EXPECT_EQ(total, 5u);
    with_device.ready = false;  // no device was opened, so none may be closed

    unload_sound_bank(without);  // never opened: touches nothing
    EXPECT_FALSE(without.ready);
    EXPECT_EQ(without.rng_state, with_device.rng_state);
}

TEST(SoundBankDraws, AGameWithAndWithoutADevicePlaysToTheSameStateEveryFrame) {
    // The bot from the title into the grassland, once with the bank marked
    // ready (no real device: every sound is empty) and once without.
    GameFixture with_device;
    GameFixture without;
    with_device.game.sounds.ready = true;
    game_bot::Bot bot_a{with_device.game};
    game_bot::Bot bot_b{without.game};
    uint32_t cues_requested = 0;
    for (int n = 0; n < 2400; ++n) {
        FrameInput in_a = game_bot::to_input(bot_a.decide());
        FrameInput in_b = game_bot::to_input(bot_b.decide());
        // The same start seed for both: it comes from raylib's generator.
        SetRandomSeed(20261208u);
        update_frame(with_device.game, in_a);
        SetRandomSeed(20261208u);
        update_frame(without.game, in_b);
        // The bank is in the game's own records; the world (costly to hash)
        // is compared at the end.
        ASSERT_EQ(game_record_hash(with_device.game), game_record_hash(without.game)) << "frame " << n;
    }
    EXPECT_EQ(play_state_hash(with_device.game), play_state_hash(without.game));
    for (uint32_t c : without.game.sounds.requested) cues_requested += c;
    EXPECT_GT(cues_requested, 20u) << "the stretch should have asked for sounds";
    EXPECT_NE(without.game.sounds.rng_state, SOUND_BANK_SEED);
    with_device.game.sounds.ready = false;
}

TEST(SoundFileKeys, PathIsStemWithTwoDigitVariant) {
    char path[64];
    sfx_path(SfxCue::FootStone, 1, path);
    EXPECT_STREQ(path, "assets/sfx/footstep_stone_01.wav");
    sfx_path(SfxCue::UiBack, 3, path);
    EXPECT_STREQ(path, "assets/sfx/ui_back_03.wav");
    sfx_path(SfxCue::Turn, 2, path);
    EXPECT_STREQ(path, "assets/sfx/dash_02.wav");
    // The longest stem still fits the buffer whole.
    sfx_path(SfxCue::Projectile, 3, path);
    EXPECT_STREQ(path, "assets/sfx/attack_projectile_03.wav");
}

TEST(SoundFileKeys, AllSeventyEightKeysAreDistinct) {
    std::set<std::string> keys;
    for (int c = 0; c < SFX_CUE_COUNT; ++c) {
        for (int v = 1; v <= SFX_VARIANTS; ++v) {
            char path[64];
            sfx_path(static_cast<SfxCue>(c), v, path);
            keys.insert(path);
        }
    }
    EXPECT_EQ(keys.size(), 78u);
}

}  // namespace
