// The sound bank's variant draws and the keys of the sound files.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "assets/game_audio.h"

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

TEST(SoundBankDraws, UnreadyBankDoesNotAdvanceAndLaterResumesFromItsState) {
    SoundBank bank = make_sound_bank();
    for (int i = 0; i < 10; ++i) play_cue(bank, SfxCue::Jump, 1.0f);
    EXPECT_EQ(bank.rng_state, SOUND_BANK_SEED);
    unload_sound_bank(bank);  // never opened: touches nothing
    EXPECT_FALSE(bank.ready);
    EXPECT_EQ(bank.rng_state, SOUND_BANK_SEED);

    bank.ready = true;
    play_cue(bank, SfxCue::Jump, 1.0f);
    EXPECT_EQ(bank.rng_state, FIRST_STATES[0]);
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
