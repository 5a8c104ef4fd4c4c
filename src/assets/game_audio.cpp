#include "assets/game_audio.h"

#include <cstdio>

#include "assets/embedded_assets.h"

SoundBank make_sound_bank() {
    SoundBank bank{};
    bank.ready = false;
    bank.rng_state = SOUND_BANK_SEED;
    return bank;
}

void sfx_path(SfxCue cue, int variant, char (&out)[64]) {
    std::snprintf(out, sizeof out, "assets/sfx/%s_%02d.wav",
                  SFX_CUES[static_cast<size_t>(cue)].stem, variant);
}

void load_sound_bank(SoundBank& bank) {
    if (!IsAudioDeviceReady()) return;
    bank.ready = true;
    SetMasterVolume(0.75f);
    for (int cue = 0; cue < SFX_CUE_COUNT; ++cue) {
        for (int v = 1; v <= SFX_VARIANTS; ++v) {
            char path[64];
            sfx_path(static_cast<SfxCue>(cue), v, path);
            const ByteView view = embedded_file(path);
            if (view.empty()) continue;
            Wave wave = LoadWaveFromMemory(".wav", view.data, static_cast<int>(view.size));
            if (IsWaveValid(wave)) {
                bank.variants[cue][v - 1] = LoadSoundFromWave(wave);
                UnloadWave(wave);
            }
        }
    }
}

int next_variant(SoundBank& bank) {
    bank.rng_state = bank.rng_state * 1664525u + 1013904223u;
    return static_cast<int>((bank.rng_state >> 16) % 3u);
}

void play_cue(SoundBank& bank, SfxCue cue, float volume) {
    if (cue != SfxCue::Count) ++bank.requested[static_cast<size_t>(cue)];
    // Drawn before asking about the device: the generator is part of the
    // game's state, and a replay must not depend on the machine's sound card.
    const int v = next_variant(bank);
    if (!bank.ready || cue == SfxCue::Count) return;
    Sound& sound = bank.variants[static_cast<size_t>(cue)][v];
    if (!IsSoundValid(sound)) return;
    SetSoundVolume(sound, volume);
    PlaySound(sound);
}

void unload_sound_bank(SoundBank& bank) {
    if (!bank.ready) return;
    for (auto& cue : bank.variants) {
        for (Sound& s : cue) {
            if (IsSoundValid(s)) UnloadSound(s);
            s = Sound{};
        }
    }
    CloseAudioDevice();
    bank.ready = false;
}

void pause_all_cues(SoundBank& bank) {
    if (!bank.ready) return;
    for (auto& cue : bank.variants) {
        for (Sound& s : cue) {
            if (IsSoundValid(s) && IsSoundPlaying(s)) PauseSound(s);
        }
    }
}

void resume_all_cues(SoundBank& bank) {
    if (!bank.ready) return;
    // Resuming a sound that was not paused leaves it as it is.
    for (auto& cue : bank.variants) {
        for (Sound& s : cue) {
            if (IsSoundValid(s)) ResumeSound(s);
        }
    }
}
