#pragma once
// Turning a synthesised take into the bytes of a game sound file:
// click-free ends, peak normalisation and a RIFF WAVE container
// (PCM, mono, 16-bit, 44,100 Hz).

#include <cstdint>
#include <vector>

inline constexpr int WAV_SAMPLE_RATE = 44100;
inline constexpr int WAV_HEADER_BYTES = 44;
// -1 dBFS: loud, with a little room for the resampler in the mixer.
inline constexpr double PEAK_TARGET = 0.8912509381337456;
inline constexpr double FADE_IN_SECONDS = 0.0015;
// The fade-out grows with the take, so long tails are eased, not cut.
inline constexpr double FADE_OUT_SECONDS = 0.006;
inline constexpr double FADE_OUT_SHARE = 0.08;

// round(seconds * 44100), halves away from zero, from the table's float.
int cue_length_samples(float seconds);

// Removes DC, fades both ends to exactly zero and scales the peak to
// PEAK_TARGET. A silent take stays silent.
void finish_take(std::vector<double>& samples);

// Full scale is 32767; values are rounded and clamped.
std::vector<int16_t> quantise(const std::vector<double>& samples);

std::vector<uint8_t> encode_wav(const std::vector<int16_t>& samples);
