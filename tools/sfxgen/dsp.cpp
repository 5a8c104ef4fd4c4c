#include "dsp.h"

#include <cmath>

namespace {

constexpr double TWO_PI = 6.283185307179586476925;
constexpr double LN2 = 0.693147180559945309417;
constexpr double LOG2E = 1.442695040888963407360;
constexpr double SQRT_HALF = 0.707106781186547524401;

}  // namespace

double sin_turns(double turns) {
    // Fold into a quarter turn around zero, where the Taylor series needs
    // only eight terms for an error below 1e-11.
    double x = turns - std::floor(turns + 0.5);
    if (x > 0.25) {
        x = 0.5 - x;
    } else if (x < -0.25) {
        x = -0.5 - x;
    }
    const double t = TWO_PI * x;
    const double t2 = t * t;
    return t * (1.0 + t2 * (-1.0 / 6.0 + t2 * (1.0 / 120.0 + t2 * (-1.0 / 5040.0 +
           t2 * (1.0 / 362880.0 + t2 * (-1.0 / 39916800.0 + t2 * (1.0 / 6227020800.0 +
           t2 * (-1.0 / 1307674368000.0))))))));
}

double cos_turns(double turns) { return sin_turns(turns + 0.25); }

double exp_approx(double x) {
    if (x < -700.0) return 0.0;
    if (x > 700.0) x = 700.0;
    const double k = std::floor(x * LOG2E + 0.5);
    const double r = x - k * LN2;  // |r| <= ln2 / 2
    double sum = 1.0;
    double term = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

double log_approx(double x) {
    int e = 0;
    double m = std::frexp(x, &e);  // m in [0.5, 1)
    if (m < SQRT_HALF) {
        m *= 2.0;
        e -= 1;
    }
    // ln m = 2 atanh(s) with |s| < 0.172.
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double power = s;
    double sum = 0.0;
    for (int n = 1; n <= 23; n += 2) {
        sum += power / n;
        power *= s2;
    }
    return e * LN2 + 2.0 * sum;
}

double soft_clip(double x) {
    if (x > 20.0) return 1.0;
    if (x < -20.0) return -1.0;
    const double e = exp_approx(2.0 * x);
    return (e - 1.0) / (e + 1.0);
}

double clamp01(double x) { return x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x); }

double smoothstep(double x) {
    const double u = clamp01(x);
    return u * u * (3.0 - 2.0 * u);
}

double glide(double f0, double f1, double u) {
    return f0 * exp_approx(log_approx(f1 / f0) * clamp01(u));
}

Rng make_rng(uint64_t seed) {
    // splitmix64 walks its state in fixed steps, so neighbouring raw seeds
    // would give the same stream shifted by one draw; hashing the seed first
    // puts them far apart.
    Rng hash{seed};
    return Rng{rng_next(hash)};
}

uint64_t rng_next(Rng& rng) {
    // splitmix64: every seed, even 0, gives a full-quality stream.
    rng.state += 0x9E3779B97F4A7C15ull;
    uint64_t z = rng.state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double rng_unit(Rng& rng) { return static_cast<double>(rng_next(rng) >> 11) * (1.0 / 9007199254740992.0); }

double rng_signed(Rng& rng) { return rng_unit(rng) * 2.0 - 1.0; }

double rng_range(Rng& rng, double lo, double hi) { return lo + (hi - lo) * rng_unit(rng); }

double brown_step(BrownNoise& b, double white) {
    b.y = b.y * 0.996 + white * 0.06;
    return b.y;
}

namespace {

// Advances the phase and returns the phase it started from.
double advance(Osc& o, double freq_hz) {
    const double p = o.phase;
    o.phase += freq_hz / SAMPLE_RATE;
    o.phase -= std::floor(o.phase);
    return p;
}

// Polynomial band-limited step: smooths a waveform jump that falls at phase 0.
double poly_blep(double t, double dt) {
    if (t < dt) {
        const double u = t / dt;
        return u + u - u * u - 1.0;
    }
    if (t > 1.0 - dt) {
        const double u = (t - 1.0) / dt;
        return u * u + u + u + 1.0;
    }
    return 0.0;
}

}  // namespace

double osc_sine(Osc& o, double freq_hz) { return sin_turns(advance(o, freq_hz)); }

double osc_sine_pm(Osc& o, double freq_hz, double offset_turns) {
    return sin_turns(advance(o, freq_hz) + offset_turns);
}

double osc_saw(Osc& o, double freq_hz) {
    const double dt = freq_hz / SAMPLE_RATE;
    const double p = advance(o, freq_hz);
    return 2.0 * p - 1.0 - poly_blep(p, dt);
}

double osc_square(Osc& o, double freq_hz, double duty) {
    const double dt = freq_hz / SAMPLE_RATE;
    const double p = advance(o, freq_hz);
    double v = p < duty ? 1.0 : -1.0;
    v += poly_blep(p, dt);
    double q = p - duty;
    q -= std::floor(q);
    v -= poly_blep(q, dt);
    return v;
}

double osc_triangle(Osc& o, double freq_hz) {
    const double p = advance(o, freq_hz);
    return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
}

double lowpass_step(OnePole& f, double x, double cutoff_hz) {
    const double a = 1.0 - exp_approx(-TWO_PI * cutoff_hz / SAMPLE_RATE);
    f.y += a * (x - f.y);
    return f.y;
}

double highpass_step(OnePole& f, double x, double cutoff_hz) { return x - lowpass_step(f, x, cutoff_hz); }

void biquad_tune(Biquad& f, BiquadShape shape, double freq_hz, double q) {
    const double freq = freq_hz < 10.0 ? 10.0 : (freq_hz > 0.45 * SAMPLE_RATE ? 0.45 * SAMPLE_RATE : freq_hz);
    const double w = freq / SAMPLE_RATE;
    const double c = cos_turns(w);
    const double alpha = sin_turns(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    double b0 = 0.0, b1 = 0.0, b2 = 0.0;
    switch (shape) {
    case BiquadShape::LowPass:
        b0 = (1.0 - c) * 0.5;
        b1 = 1.0 - c;
        b2 = b0;
        break;
    case BiquadShape::HighPass:
        b0 = (1.0 + c) * 0.5;
        b1 = -(1.0 + c);
        b2 = b0;
        break;
    case BiquadShape::BandPass:  // unity gain at the centre
        b0 = alpha;
        b1 = 0.0;
        b2 = -alpha;
        break;
    }
    f.b0 = b0 / a0;
    f.b1 = b1 / a0;
    f.b2 = b2 / a0;
    f.a1 = -2.0 * c / a0;
    f.a2 = (1.0 - alpha) / a0;
}

double biquad_step(Biquad& f, double x) {
    const double y = f.b0 * x + f.b1 * f.x1 + f.b2 * f.x2 - f.a1 * f.y1 - f.a2 * f.y2;
    f.x2 = f.x1;
    f.x1 = x;
    f.y2 = f.y1;
    f.y1 = y;
    return y;
}

Biquad make_biquad(BiquadShape shape, double freq_hz, double q) {
    Biquad f{};
    biquad_tune(f, shape, freq_hz, q);
    return f;
}

double decay(double t, double tau) { return t < 0.0 ? 0.0 : exp_approx(-t / tau); }

double perc(double t, double attack, double tau) {
    if (t < 0.0) return 0.0;
    if (t < attack) return t / attack;
    return exp_approx(-(t - attack) / tau);
}

double gate(double t, double attack, double release_at, double tau) {
    if (t < 0.0) return 0.0;
    if (t < attack) return t / attack;
    if (t < release_at) return 1.0;
    return exp_approx(-(t - release_at) / tau);
}
