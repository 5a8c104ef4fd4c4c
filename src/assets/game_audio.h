#pragma once
// Short one-shot sound cues with three recorded variants each.

#include <array>
#include <cstdint>

#include "app/raylib_api.h"

enum class SfxCue : int64_t {
    FootStone = 0,
    FootWood,
    FootGrass,
    FootMetal,
    FootSnow,
    FootWater,
    Jump,
    Land,
    Turn,
    DragonBlip,
    KnightBlip,
    HurtPlayer,
    HurtEnemy,
    Slash,
    Charge,
    Projectile,
    FireBreath,
    Plasma,
    Acid,
    Egg,
    Barrel,
    Explosion,
    Pickup,
    UiSelect,
    UiMove,
    UiBack,
    Count,
};

inline constexpr int SFX_CUE_COUNT = static_cast<int>(SfxCue::Count);
inline constexpr int SFX_VARIANTS = 3;
inline constexpr uint32_t SOUND_BANK_SEED = 0x5F11D042u;

struct SfxCueInfo {
    const char* stem;
    float seconds;  // length of each recorded variant
};

// clang-format off
inline constexpr std::array<SfxCueInfo, SFX_CUE_COUNT> SFX_CUES = {{
    {"footstep_stone", 0.11f}, {"footstep_wood", 0.13f}, {"footstep_grass", 0.14f},
    {"footstep_metal", 0.18f}, {"footstep_snow", 0.16f}, {"footstep_water", 0.23f},
    {"jump", 0.24f}, {"land_soft", 0.20f}, {"dash", 0.18f},
    {"dialogue_dragon", 0.085f}, {"dialogue_knight", 0.065f},
    {"hurt_player", 0.25f}, {"hurt_enemy", 0.20f}, {"attack_slash", 0.19f},
    {"enemy_charge", 0.55f}, {"attack_projectile", 0.37f}, {"fire_breath", 0.38f},
    {"plasma_beam", 0.45f}, {"acid_sizzle", 0.38f}, {"egg_crack", 0.24f},
    {"barrel_break", 0.38f}, {"explosion", 0.72f}, {"pickup", 0.30f},
    {"ui_select", 0.13f}, {"ui_move", 0.045f}, {"ui_back", 0.12f},
}};
// clang-format on
static_assert(SFX_CUES.size() == SFX_CUE_COUNT);

// Cool-down lanes in Game::sfx_cooldown.
enum SfxLane : int { LANE_FOOTSTEPS = 0, LANE_SPIT = 1, LANE_BLIPS = 2, LANE_ENEMY_HURT = 3 };
inline constexpr int SFX_LANE_COUNT = 4;

struct SoundBank {
    Sound variants[SFX_CUE_COUNT][SFX_VARIANTS];
    bool ready;
    uint32_t rng_state;
    // Every request per cue, counted with or without a device, so that what
    // the rules ask to hear can be checked in a game without sound.
    std::array<uint32_t, SFX_CUE_COUNT> requested;
};

SoundBank make_sound_bank();

// Writes "assets/sfx/<stem>_<nn>.wav" for variant 1..3 of a cue into out.
void sfx_path(SfxCue cue, int variant, char (&out)[64]);

// Opens nothing itself: marks the bank ready only when the device is up.
void load_sound_bank(SoundBank& bank);
// Draws a variant whether or not the bank is ready, then plays it if it can.
void play_cue(SoundBank& bank, SfxCue cue, float volume);
// Also closes the audio device when the bank was ready.
void unload_sound_bank(SoundBank& bank);
// The pause holds every sound where it is and lets it go on afterwards.
void pause_all_cues(SoundBank& bank);
void resume_all_cues(SoundBank& bank);
// Which variant the next request draws; advances the bank's generator.
int next_variant(SoundBank& bank);
