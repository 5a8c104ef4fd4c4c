#pragma once
// Building blocks of the sound generator: math, noise, oscillators, filters
// and envelopes. Only +, -, *, /, floor, frexp and ldexp are used (no libm
// sin/exp/log), so a recipe writes the same bytes on every machine and
// compiler that honours IEEE double arithmetic.

#include <cstdint>

inline constexpr double SAMPLE_RATE = 44100.0;

// --- math -------------------------------------------------------------------
double sin_turns(double turns);  // sin(2 pi turns)
double cos_turns(double turns);
double exp_approx(double x);
double log_approx(double x);  // x > 0
double soft_clip(double x);   // tanh
double clamp01(double x);
double smoothstep(double x);  // 0..1 -> 0..1 with flat ends
// f0 at u = 0 to f1 at u = 1 along an exponential curve (even steps in pitch);
// u is clamped to 0..1.
double glide(double f0, double f1, double u);

// --- noise ------------------------------------------------------------------
struct Rng {
    uint64_t state;
};
Rng make_rng(uint64_t seed);
uint64_t rng_next(Rng& rng);
double rng_unit(Rng& rng);    // [0, 1)
double rng_signed(Rng& rng);  // [-1, 1)
double rng_range(Rng& rng, double lo, double hi);

// Integrated white noise with a leak: a deep rumble source.
struct BrownNoise {
    double y;
};
double brown_step(BrownNoise& b, double white);

// --- oscillators (phase in turns) --------------------------------------------
struct Osc {
    double phase;
};
double osc_sine(Osc& o, double freq_hz);
// Phase-modulated sine: the FM building block; offset in turns.
double osc_sine_pm(Osc& o, double freq_hz, double offset_turns);
double osc_saw(Osc& o, double freq_hz);  // band-limited edges
double osc_square(Osc& o, double freq_hz, double duty);
double osc_triangle(Osc& o, double freq_hz);

// --- filters ----------------------------------------------------------------
struct OnePole {
    double y;
};
double lowpass_step(OnePole& f, double x, double cutoff_hz);
double highpass_step(OnePole& f, double x, double cutoff_hz);

enum class BiquadShape { LowPass, HighPass, BandPass };

struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1, x2, y1, y2;
};
// Retuning keeps the filter's memory, so sweeps glide without clicks.
void biquad_tune(Biquad& f, BiquadShape shape, double freq_hz, double q);
double biquad_step(Biquad& f, double x);
Biquad make_biquad(BiquadShape shape, double freq_hz, double q);

// --- envelopes (t in seconds; silent before 0) -----------------------------
double decay(double t, double tau);
// Linear rise over `attack`, then exponential fall with time constant `tau`.
double perc(double t, double attack, double tau);
// Rise over `attack`, hold at 1, then fall with `tau` from `release_at`.
double gate(double t, double attack, double release_at, double tau);
