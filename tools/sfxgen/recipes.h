#pragma once
// One synthesis recipe per sound cue; each recipe has three variants that
// differ in pitch, timbre and noise seed.

#include <vector>

#include "assets/game_audio.h"

inline constexpr int RECIPE_VARIANTS = 3;

// The raw take of variant 0..2, `length` samples long, before finishing
// (fades and normalisation are applied by the caller).
std::vector<double> render_cue(SfxCue cue, int variant, int length);
