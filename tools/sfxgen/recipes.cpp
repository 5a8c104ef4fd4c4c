#include "recipes.h"

#include <cstddef>
#include <cstdint>
#include <utility>

#include "dsp.h"

namespace {

constexpr uint64_t SEED_BASE = 0xC1DE7A1Eull;
constexpr BiquadShape LOW = BiquadShape::LowPass;
constexpr BiquadShape HIGH = BiquadShape::HighPass;
constexpr BiquadShape BAND = BiquadShape::BandPass;

struct Take {
    std::vector<double> out;
    Rng rng;
    int variant;
};

double pick(const Take& k, double a, double b, double c) { return k.variant == 0 ? a : (k.variant == 1 ? b : c); }
double time_at(size_t i) { return static_cast<double>(i) / SAMPLE_RATE; }
double noise(Take& k) { return rng_signed(k.rng); }

// A struck resonance: a sine that starts at full level and dies away.
struct Mode {
    double ratio;
    double gain;
    double tau;
};

// A pitched note of a chime or menu tone.
struct Note {
    double start;
    double freq;
    double gain;
    double tau;
    Osc osc;
    Osc over;
};

// A short random tick (splinter, shell crack, snow grain) at a given time.
struct Tick {
    double at;
    double gain;
};

// --- footsteps -------------------------------------------------------------

// Hard heel click on stone: a bright band of noise, the toe's gritty echo a
// moment later and a small, high tock from the floor.
void footstep_stone(Take& k) {
    const double p = pick(k, 1.0, 1.2, 0.85);
    const double toe_at = pick(k, 0.022, 0.016, 0.03);
    const double toe_gain = pick(k, 0.45, 0.3, 0.6);
    Biquad click = make_biquad(BAND, 3000.0 * p, 1.3);
    Biquad grit = make_biquad(HIGH, 2500.0 * p, 0.7);
    Osc tock{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        const double hit = perc(t, 0.0005, 0.007) + toe_gain * perc(t - toe_at, 0.0005, 0.005);
        const double c = biquad_step(click, n * hit) * 2.5;
        const double g = biquad_step(grit, n) * perc(t, 0.001, 0.025) * 0.12;
        const double body = osc_sine(tock, 210.0 * p * (1.0 + 0.5 * decay(t, 0.003))) * perc(t, 0.0008, 0.014) * 0.5;
        k.out[i] = c + g + body;
    }
}

// Hollow knock on planks: inharmonic board modes ringing briefly after a
// soft, mallet-like click; heel and toe land separately.
void footstep_wood(Take& k) {
    constexpr Mode MODES[4] = {{1.0, 1.0, 0.04}, {2.32, 0.6, 0.025}, {3.95, 0.3, 0.014}, {6.1, 0.12, 0.008}};
    const double base = pick(k, 205.0, 245.0, 175.0);
    const double toe_at = pick(k, 0.04, 0.03, 0.05);
    const double toe_gain = pick(k, 0.35, 0.25, 0.45);
    Osc osc[4]{};
    Biquad knock = make_biquad(BAND, 5.4 * base, 2.0);
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        const double bend = 1.0 + 0.06 * decay(t, 0.008);
        double body = 0.0;
        for (int m = 0; m < 4; ++m) {
            const double env = perc(t, 0.0004, MODES[m].tau) + toe_gain * perc(t - toe_at, 0.0004, MODES[m].tau);
            body += MODES[m].gain * osc_sine(osc[m], base * MODES[m].ratio * bend) * env;
        }
        const double strike = perc(t, 0.0003, 0.004) + toe_gain * perc(t - toe_at, 0.0003, 0.004);
        k.out[i] = body + biquad_step(knock, n) * strike * 1.5;
    }
}

// Soft rustle: blades brushing past, a cloud of tiny noise grains over a
// gentle swell, with only a faint low press of the foot.
void footstep_grass(Take& k) {
    constexpr int GRAINS = 9;
    const double p = pick(k, 1.0, 1.25, 0.82);
    Tick grains[GRAINS];
    for (Tick& g : grains) {
        g.at = rng_range(k.rng, 0.0, 0.085);
        g.gain = rng_range(k.rng, 0.3, 1.0);
    }
    Biquad leaves = make_biquad(BAND, 3800.0 * p, 0.9);
    Biquad hiss = make_biquad(HIGH, 6000.0, 0.7);
    Osc thump{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        const double swell = perc(t, 0.018, 0.035);
        double grain = 0.0;
        for (const Tick& g : grains) grain += g.gain * perc(t - g.at, 0.0015, 0.006);
        const double rustle = biquad_step(leaves, n) * (0.6 * swell + grain) + biquad_step(hiss, n) * swell * 0.15;
        k.out[i] = rustle + osc_sine(thump, 85.0 * p) * perc(t, 0.006, 0.02) * 0.15;
    }
}

// Boot on iron: a sharp clank followed by a bell-like ring of bar modes, each
// doubled by a slightly detuned twin so the ring beats.
void footstep_metal(Take& k) {
    constexpr Mode MODES[4] = {{1.0, 1.0, 0.06}, {2.76, 0.7, 0.045}, {5.40, 0.45, 0.03}, {8.93, 0.25, 0.02}};
    const double base = pick(k, 520.0, 610.0, 445.0);
    const double detune = pick(k, 1.004, 1.007, 1.003);
    Osc osc[4]{};
    Osc twin[4]{};
    Biquad clank = make_biquad(BAND, 3.5 * base, 1.5);
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        double ring = 0.0;
        for (int m = 0; m < 4; ++m) {
            const double f = base * MODES[m].ratio;
            const double v = osc_sine(osc[m], f) + 0.6 * osc_sine(twin[m], f * detune);
            ring += MODES[m].gain * v * perc(t, 0.0005, MODES[m].tau);
        }
        k.out[i] = 0.5 * ring + biquad_step(clank, n) * perc(t, 0.0003, 0.01) * 2.0;
    }
}

// Crunch of packed snow: dense random crackle whose grain rate swells and
// dies as the foot sinks in, over a muffled press.
void footstep_snow(Take& k) {
    const double p = pick(k, 1.0, 1.15, 0.88);
    const double density = pick(k, 0.35, 0.45, 0.28);
    Biquad crisp = make_biquad(BAND, 2400.0 * p, 2.5);
    Biquad crisp_high = make_biquad(BAND, 5200.0 * p, 2.0);
    Biquad soft = make_biquad(LOW, 900.0 * p, 0.7);
    Osc thump{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        // Fewer and weaker grains as the snow settles.
        const double settle = perc(t, 0.02, 0.045);
        double grain = 0.0;
        if (rng_unit(k.rng) < density * settle) grain = rng_signed(k.rng) * (0.1 + 0.9 * settle);
        const double crunch = biquad_step(crisp, grain) * 3.0 + biquad_step(crisp_high, grain) * 2.0;
        const double press = biquad_step(soft, n) * perc(t, 0.01, 0.035) * 0.5;
        k.out[i] = crunch + press + osc_sine(thump, 120.0 * p) * perc(t, 0.003, 0.02) * 0.25;
    }
}

// Splash: a falling band of noise for the water thrown up, a fine spray on
// top and a few bubbles whose pitch rises as they collapse.
void footstep_water(Take& k) {
    constexpr int BUBBLES = 3;
    constexpr double BUBBLE_AT[BUBBLES] = {0.015, 0.05, 0.1};
    const double p = pick(k, 1.0, 1.15, 0.87);
    Note bubbles[BUBBLES]{};
    for (int b = 0; b < BUBBLES; ++b) {
        bubbles[b].start = BUBBLE_AT[b] + rng_range(k.rng, 0.0, 0.02);
        bubbles[b].freq = rng_range(k.rng, 550.0, 1100.0) * p;
        bubbles[b].gain = rng_range(k.rng, 0.5, 1.0);
    }
    Biquad splash{};
    Biquad spray = make_biquad(HIGH, 5500.0, 0.7);
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        biquad_tune(splash, BAND, glide(3200.0 * p, 700.0 * p, t / 0.14), 1.3);
        double x = biquad_step(splash, n) * perc(t, 0.004, 0.05) * 1.5;
        x += biquad_step(spray, n) * perc(t, 0.008, 0.03) * 0.25;
        for (Note& b : bubbles) {
            const double local = t - b.start;
            if (local < 0.0) continue;
            const double f = b.freq * (1.0 + 1.2 * clamp01(local / 0.04));
            x += b.gain * osc_sine(b.osc, f) * perc(local, 0.002, 0.012) * 0.5;
        }
        k.out[i] = x;
    }
}

// --- movement --------------------------------------------------------------

// Take-off: a springy tone rising fast, with an airy whoosh riding the same
// sweep; the third variant wobbles like a spring.
void jump(Take& k) {
    const double p = pick(k, 1.0, 1.12, 0.9);
    const double bright = pick(k, 0.25, 0.45, 0.15);
    const double wobble = pick(k, 0.0, 0.0, 0.035);
    Osc tone{}, over{}, wob{};
    Biquad air{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        const double f = glide(170.0 * p, 640.0 * p, t / 0.17) * (1.0 + wobble * osc_sine(wob, 17.0));
        const double v = osc_sine(tone, f) + bright * osc_sine(over, 2.0 * f);
        biquad_tune(air, BAND, 3.5 * f, 1.4);
        const double whoosh = biquad_step(air, n) * perc(t, 0.03, 0.05) * 0.6;
        k.out[i] = 0.7 * v * gate(t, 0.006, 0.1, 0.045) + whoosh;
    }
}

// Soft landing: a low thud sagging in pitch as the body settles, a muffled
// burst of impact noise and a little dust.
void land_soft(Take& k) {
    const double p = pick(k, 1.0, 0.85, 1.15);
    Osc thud{};
    Biquad muffle = make_biquad(LOW, 450.0 * p, 0.8);
    Biquad dust = make_biquad(BAND, 2600.0 * p, 1.0);
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        double x = osc_sine(thud, glide(110.0 * p, 45.0 * p, t / 0.08)) * perc(t, 0.003, 0.05);
        x += biquad_step(muffle, n) * perc(t, 0.001, 0.025) * 1.2;
        x += biquad_step(dust, n) * perc(t - 0.012, 0.015, 0.04) * 0.12;
        k.out[i] = soft_clip(1.5 * x);
    }
}

// Dash swish: a band of noise sweeping up and back down under a swelling
// envelope, with a thin whistle above it.
void dash(Take& k) {
    const double p = pick(k, 1.0, 1.2, 0.85);
    const double peak_at = pick(k, 0.06, 0.05, 0.075);
    Biquad band{}, whistle{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        const double u = t / peak_at;
        const double f = t < peak_at ? glide(650.0 * p, 4000.0 * p, u) : glide(4000.0 * p, 1500.0 * p, (t - peak_at) / 0.1);
        const double env = t < peak_at ? u * u : decay(t - peak_at, 0.035);
        biquad_tune(band, BAND, f, 2.2);
        biquad_tune(whistle, BAND, 1.6 * f, 6.0);
        k.out[i] = (biquad_step(band, n) + 0.8 * biquad_step(whistle, n)) * env;
    }
}

// --- voices ----------------------------------------------------------------

// The dragon's speech blip: a warm, low FM tone through a soft vowel formant,
// with a small inflection that differs per variant (rise, fall, slight rise).
void dialogue_dragon(Take& k) {
    const double f0 = pick(k, 235.0, 265.0, 210.0);
    const double bend = pick(k, 0.12, -0.1, 0.06);
    const double formant = pick(k, 700.0, 900.0, 560.0);
    Osc carrier{}, mod{}, octave{};
    Biquad vowel = make_biquad(BAND, formant, 2.5);
    OnePole warm{};
    const double length = static_cast<double>(k.out.size()) / SAMPLE_RATE;
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double f = f0 * (1.0 + bend * t / length);
        const double m = osc_sine(mod, f) * (1.3 * decay(t, 0.04) + 0.4);
        const double v = osc_sine_pm(carrier, f, 0.2 * m) + 0.3 * osc_sine(octave, 2.0 * f);
        const double shaped = 0.6 * v + 1.8 * biquad_step(vowel, v);
        k.out[i] = lowpass_step(warm, shaped, 2600.0) * gate(t, 0.006, 0.045, 0.01);
    }
}

// The knight's speech blip: a bright, narrow pulse with a clangy inharmonic
// FM partial, short and clipped like armour.
void dialogue_knight(Take& k) {
    const double f0 = pick(k, 640.0, 720.0, 570.0);
    const double duty = pick(k, 0.3, 0.22, 0.38);
    Osc pulse{}, carrier{}, mod{};
    Biquad cut = make_biquad(HIGH, 400.0, 0.7);
    Biquad shine = make_biquad(BAND, 4.4 * f0, 3.0);
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double m = osc_sine(mod, 2.76 * f0) * decay(t, 0.02);
        const double v = 0.5 * osc_square(pulse, f0, duty) + 0.6 * osc_sine_pm(carrier, 2.0 * f0, 0.35 * m);
        const double bright = biquad_step(cut, v) + 0.8 * biquad_step(shine, v);
        k.out[i] = bright * gate(t, 0.002, 0.025, 0.01);
    }
}

// The dragon's yelp: a voiced squeak whose pitch jumps up and falls away,
// shaped by vowel formants, with a breath of noise and a quaver.
void hurt_player(Take& k) {
    const double p = pick(k, 1.0, 1.1, 0.9);
    const double f1 = pick(k, 780.0, 850.0, 680.0);
    const double f2 = pick(k, 1350.0, 1700.0, 1150.0);
    Osc voice{}, vibrato{};
    Biquad form1 = make_biquad(BAND, f1, 5.0);
    Biquad form2 = make_biquad(BAND, f2, 6.0);
    Biquad form3 = make_biquad(BAND, 2700.0 * p, 8.0);
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        double f = t < 0.035 ? glide(430.0 * p, 820.0 * p, t / 0.035) : glide(820.0 * p, 340.0 * p, (t - 0.035) / 0.19);
        f *= 1.0 + 0.03 * osc_sine(vibrato, 26.0);
        const double src = osc_saw(voice, f) + 0.15 * n;
        const double v = biquad_step(form1, src) + 0.7 * biquad_step(form2, src) + 0.3 * biquad_step(form3, src) +
                         0.08 * src;
        k.out[i] = v * gate(t, 0.008, 0.15, 0.04);
    }
}

// An enemy is hit: a blunt impact thump, then a short, rough, low grunt.
void hurt_enemy(Take& k) {
    const double p = pick(k, 1.0, 0.85, 1.15);
    Osc thump{}, voice{}, rough{};
    Biquad muffle = make_biquad(LOW, 1100.0, 0.7);
    Biquad form1 = make_biquad(BAND, 520.0 * p, 4.0);
    Biquad form2 = make_biquad(BAND, 1050.0 * p, 5.0);
    Biquad throat = make_biquad(LOW, 2200.0 * p, 0.7);
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        const double impact = osc_sine(thump, glide(90.0 * p, 45.0 * p, t / 0.05)) * perc(t, 0.001, 0.04) +
                              biquad_step(muffle, n) * perc(t, 0.0005, 0.012) * 1.5;
        const double local = t - 0.012;
        const double f = glide(125.0 * p, 82.0 * p, local / 0.16);
        const double src = biquad_step(throat, osc_saw(voice, f)) * (1.0 + 0.35 * osc_sine(rough, 33.0));
        const double grunt = (biquad_step(form1, src) + 0.6 * biquad_step(form2, src) + 0.15 * src) *
                             gate(local, 0.015, 0.11, 0.035);
        k.out[i] = soft_clip(1.4 * (impact + 1.5 * grunt));
    }
}

// --- attacks ---------------------------------------------------------------

// Sword slash: a fast swish of noise sweeping upward through the air, and a
// faint ring of the blade as it ends.
void attack_slash(Take& k) {
    constexpr Mode BLADE[3] = {{1.0, 1.0, 0.05}, {1.48, 0.7, 0.04}, {1.93, 0.5, 0.03}};
    const double p = pick(k, 1.0, 1.15, 0.87);
    const double peak_at = pick(k, 0.07, 0.06, 0.085);
    Biquad air{};
    Biquad edge = make_biquad(HIGH, 6000.0, 0.7);
    Osc ring[3]{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        const double u = t / peak_at;
        const double env = t < peak_at ? u * u * u : decay(t - peak_at, 0.028);
        biquad_tune(air, BAND, glide(1100.0 * p, 6500.0 * p, u), 1.6);
        double x = biquad_step(air, n) * env + biquad_step(edge, n) * env * 0.25;
        for (int m = 0; m < 3; ++m) {
            x += 0.06 * BLADE[m].gain * osc_sine(ring[m], 3100.0 * p * BLADE[m].ratio) *
                 perc(t - 0.9 * peak_at, 0.002, BLADE[m].tau);
        }
        k.out[i] = x;
    }
}

// An enemy charges: a roar climbing in pitch, brightness and loudness, with
// a growling flutter, cut short at the end.
void enemy_charge(Take& k) {
    const double p = pick(k, 1.0, 0.88, 1.12);
    const double flutter = pick(k, 23.0, 19.0, 28.0);
    Osc a{}, b{}, sub{}, growl{};
    Biquad throat{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        const double u = t / 0.5;
        const double f = glide(65.0 * p, 155.0 * p, u);
        const double src = osc_saw(a, f) + osc_saw(b, f * 1.013) + 0.5 * osc_saw(sub, 0.5 * f) + 0.7 * n;
        const double am = 1.0 + 0.4 * osc_sine(growl, flutter * (1.0 + 0.5 * u));
        biquad_tune(throat, LOW, glide(350.0, 2800.0 * p, u), 1.3);
        const double env = (0.15 + 0.85 * smoothstep(t / 0.46)) * (t < 0.5 ? 1.0 : decay(t - 0.5, 0.02));
        k.out[i] = soft_clip(0.8 * biquad_step(throat, src) * am) * env;
    }
}

// Spit: a wet pop at the mouth, a short spray and the blob's whistle as it
// flies away.
void attack_projectile(Take& k) {
    const double p = pick(k, 1.0, 1.15, 0.86);
    Osc pop{};
    Biquad snap = make_biquad(HIGH, 4000.0, 0.7);
    Biquad wet = make_biquad(BAND, 2200.0 * p, 1.5);
    Biquad flight{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        biquad_tune(flight, BAND, glide(2800.0 * p, 650.0 * p, t / 0.33), 3.5);
        double x = osc_sine(pop, glide(560.0 * p, 130.0 * p, t / 0.03)) * perc(t, 0.0008, 0.022);
        x += biquad_step(snap, n) * perc(t, 0.0002, 0.003) * 0.8;
        x += biquad_step(wet, n) * perc(t - 0.006, 0.004, 0.03) * 1.6;
        x += biquad_step(flight, n) * perc(t - 0.025, 0.05, 0.11) * 1.2;
        k.out[i] = x;
    }
}

// Fire breath: a roaring, fluttering burst of low-passed noise over a deep
// rumble, peppered with crackles.
void fire_breath(Take& k) {
    const double p = pick(k, 1.0, 0.85, 1.18);
    Biquad roar{};
    Biquad crackle = make_biquad(HIGH, 3000.0, 0.7);
    BrownNoise deep{};
    Osc flutter{}, flicker{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        const double u = t / 0.38;
        const double cutoff = u < 0.25 ? glide(700.0 * p, 2300.0 * p, u / 0.25) : glide(2300.0 * p, 1200.0 * p, (u - 0.25) / 0.75);
        biquad_tune(roar, LOW, cutoff, 0.9);
        const double r = biquad_step(roar, n) * (1.0 + 0.3 * osc_sine(flutter, 11.0 * p) + 0.15 * osc_sine(flicker, 27.0));
        double spark = 0.0;
        if (rng_unit(k.rng) < 0.0012) spark = rng_signed(k.rng);
        const double d = brown_step(deep, n) * 0.6;
        k.out[i] = (1.4 * r + d + 2.5 * biquad_step(crackle, spark)) * gate(t, 0.035, 0.27, 0.04);
    }
}

// Plasma beam: an electric buzz (frequency-modulated pulse and saw) through
// a resonant filter sweeping down, opened by a quick falling zap.
void plasma_beam(Take& k) {
    const double p = pick(k, 1.0, 1.12, 0.88);
    Osc buzz{}, fifth{}, mod{}, zap{}, ring{};
    Biquad reso{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double fm = 1.0 + 0.08 * osc_sine(mod, 55.0 * p);
        double b = 0.6 * osc_square(buzz, 110.0 * p * fm, 0.5) + 0.5 * osc_saw(fifth, 165.0 * p * fm);
        b *= 0.65 + 0.35 * osc_sine(ring, 233.0 * p);
        biquad_tune(reso, BAND, glide(3200.0 * p, 900.0 * p, t / 0.4), 5.0);
        const double beam = (1.6 * biquad_step(reso, b) + 0.25 * b) * gate(t, 0.004, 0.34, 0.035);
        const double z = osc_sine(zap, glide(2600.0 * p, 420.0 * p, t / 0.13)) * perc(t, 0.001, 0.07) * 0.6;
        k.out[i] = soft_clip(1.3 * (beam + z));
    }
}

// Acid sizzle: a hiss of high noise with a fizzing grain, flickering, and
// small bubbles popping through it.
void acid_sizzle(Take& k) {
    const double p = pick(k, 1.0, 1.2, 0.84);
    const double bubble_rate = pick(k, 0.0006, 0.0004, 0.0009);
    Biquad hiss = make_biquad(HIGH, 3800.0 * p, 0.8);
    Biquad fizz = make_biquad(BAND, 7000.0 * p, 1.2);
    Biquad pops = make_biquad(BAND, 1400.0 * p, 8.0);
    OnePole flicker{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        double grain = 0.0;
        if (rng_unit(k.rng) < 0.02) grain = rng_signed(k.rng);
        double bubble = 0.0;
        if (rng_unit(k.rng) < bubble_rate) bubble = 25.0;
        const double wobble = lowpass_step(flicker, rng_signed(k.rng), 40.0) * 3.0;
        const double sizzle = 0.6 * biquad_step(hiss, n) * (1.0 + wobble) + 4.0 * biquad_step(fizz, grain);
        k.out[i] = sizzle * gate(t, 0.012, 0.02, 0.12) + biquad_step(pops, bubble);
    }
}

// Egg cracking: shell ticks coming faster and louder, ringing in small
// brittle resonances, ending in a bigger break with a low tok.
void egg_crack(Take& k) {
    constexpr int TICKS = 7;
    const double p = pick(k, 1.0, 1.12, 0.9);
    Tick ticks[TICKS];
    double at = rng_range(k.rng, 0.0, 0.02);
    for (int i = 0; i < TICKS; ++i) {
        ticks[i].at = at;
        ticks[i].gain = 0.3 + 0.7 * i / (TICKS - 1.0);
        at += rng_range(k.rng, 0.012, 0.028) * pick(k, 1.0, 0.85, 1.1);
    }
    const double break_at = at;
    Biquad shell[3] = {make_biquad(BAND, 2600.0 * p * rng_range(k.rng, 0.95, 1.05), 14.0),
                       make_biquad(BAND, 3700.0 * p * rng_range(k.rng, 0.95, 1.05), 14.0),
                       make_biquad(BAND, 5200.0 * p * rng_range(k.rng, 0.95, 1.05), 14.0)};
    Biquad snap = make_biquad(HIGH, 2500.0, 0.7);
    Osc tok{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        double excite = 1.4 * perc(t - break_at, 0.0001, 0.004);
        for (const Tick& tick : ticks) excite += tick.gain * perc(t - tick.at, 0.0001, 0.0015);
        const double x = n * excite;
        double ring = 0.0;
        for (Biquad& s : shell) ring += biquad_step(s, x);
        k.out[i] = biquad_step(snap, x) + 3.0 * ring + osc_sine(tok, 420.0 * p) * perc(t - break_at, 0.0005, 0.02) * 0.4;
    }
}

// Barrel smashed: a heavy wooden impact and hollow body knock, then
// splinters cracking off and clattering down, fewer and softer over time.
void barrel_break(Take& k) {
    constexpr Mode MODES[3] = {{1.0, 1.0, 0.09}, {2.25, 0.6, 0.06}, {3.8, 0.35, 0.035}};
    constexpr int SPLINTERS = 10;
    constexpr int WOOD = 4;
    const double p = pick(k, 1.0, 0.88, 1.14);
    Tick splinters[SPLINTERS];
    for (Tick& s : splinters) {
        const double u = rng_unit(k.rng);
        s.at = 0.015 + 0.3 * u * u;
        s.gain = 0.9 * (1.0 - s.at / 0.35) * rng_range(k.rng, 0.5, 1.0);
    }
    Biquad wood[WOOD];
    for (Biquad& w : wood) w = make_biquad(BAND, rng_range(k.rng, 380.0, 1500.0) * p, 12.0);
    Biquad muffle = make_biquad(LOW, 1800.0, 0.7);
    Biquad crackle = make_biquad(HIGH, 3500.0, 0.7);
    Osc thump{};
    Osc body[3]{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        double x = biquad_step(muffle, n) * perc(t, 0.0005, 0.025) * 1.2;
        x += osc_sine(thump, glide(95.0 * p, 50.0 * p, t / 0.08)) * perc(t, 0.001, 0.07);
        for (int m = 0; m < 3; ++m) {
            x += 0.6 * MODES[m].gain * osc_sine(body[m], 210.0 * p * MODES[m].ratio) * perc(t, 0.0005, MODES[m].tau);
        }
        double excite = 0.0;
        for (const Tick& s : splinters) excite += s.gain * perc(t - s.at, 0.0003, 0.004);
        const double chip = n * excite;
        for (Biquad& w : wood) x += 12.0 * biquad_step(w, chip);
        x += biquad_step(crackle, n) * (perc(t, 0.004, 0.07) * 0.12 + 0.5 * excite);
        k.out[i] = soft_clip(1.2 * x);
    }
}

// Explosion: a sharp blast of broadband noise closing down to a dull roar,
// a sub-bass boom sagging in pitch, a long rumble and falling debris.
void explosion(Take& k) {
    const double p = pick(k, 1.0, 0.85, 1.15);
    Biquad blast{};
    Biquad rumble = make_biquad(LOW, 170.0 * p, 0.8);
    Biquad debris = make_biquad(BAND, 1800.0 * p, 2.0);
    double chunk = 0.0;  // level of the debris burst now sounding
    BrownNoise deep{};
    Osc boom{};
    for (size_t i = 0; i < k.out.size(); ++i) {
        const double t = time_at(i);
        const double n = noise(k);
        biquad_tune(blast, LOW, glide(9000.0, 400.0 * p, t / 0.25), 0.8);
        double x = biquad_step(blast, n) * perc(t, 0.0008, 0.07) * 1.4;
        x += osc_sine(boom, glide(72.0 * p, 28.0 * p, t / 0.35)) * perc(t, 0.004, 0.2) * 1.1;
        x += biquad_step(rumble, brown_step(deep, n)) * perc(t, 0.02, 0.28) * 2.5;
        // Debris: short bursts of noise, rarer as the blast dies down.
        if (rng_unit(k.rng) < 0.0015 * decay(t - 0.05, 0.2)) chunk = rng_range(k.rng, 0.3, 1.0);
        chunk *= 0.9985;
        x += 1.2 * biquad_step(debris, n * chunk);
        k.out[i] = soft_clip(1.6 * x);
    }
}

// --- pickups and menus -----------------------------------------------------

// Sums the notes as FM bells: the modulator's brightness fades as they ring.
double ring_notes(Note* notes, int count, double t, double mod_ratio, double index) {
    double x = 0.0;
    for (int j = 0; j < count; ++j) {
        Note& note = notes[j];
        const double local = t - note.start;
        if (local < 0.0) continue;
        const double m = osc_sine(note.over, note.freq * mod_ratio) * index * decay(local, 0.03);
        x += note.gain * osc_sine_pm(note.osc, note.freq, m) * perc(local, 0.0015, note.tau);
    }
    return x;
}

// Pickup chime: three bright bell notes climbing quickly.
void pickup(Take& k) {
    const double base = pick(k, 988.0, 880.0, 1047.0);
    const double second = pick(k, 1.5, 1.335, 1.26);
    const double third = pick(k, 2.0, 1.782, 1.5);
    Note notes[3] = {{0.0, base, 0.8, 0.07, {}, {}},
                     {0.055, base * second, 1.0, 0.08, {}, {}},
                     {0.11, base * third, 0.7, 0.06, {}, {}}};
    for (size_t i = 0; i < k.out.size(); ++i) k.out[i] = ring_notes(notes, 3, time_at(i), 3.5, 0.18);
}

// Clean menu tones: a sine with a soft second harmonic per note.
double menu_notes(Note* notes, int count, double t, double harmonic) {
    double x = 0.0;
    for (int j = 0; j < count; ++j) {
        Note& note = notes[j];
        const double local = t - note.start;
        if (local < 0.0) continue;
        const double v = osc_sine(note.osc, note.freq) + harmonic * osc_sine(note.over, 2.0 * note.freq);
        x += note.gain * v * perc(local, 0.002, note.tau);
    }
    return x;
}

// Menu confirm: two clean notes a fifth apart, rising.
void ui_select(Take& k) {
    const double f = pick(k, 660.0, 700.0, 620.0);
    Note notes[2] = {{0.0, f, 0.8, 0.03, {}, {}}, {0.042, 1.5 * f, 1.0, 0.04, {}, {}}};
    for (size_t i = 0; i < k.out.size(); ++i) k.out[i] = menu_notes(notes, 2, time_at(i), 0.18);
}

// Menu step: one short, high tick.
void ui_move(Take& k) {
    Note note[1] = {{0.0, pick(k, 1250.0, 1330.0, 1180.0), 1.0, 0.012, {}, {}}};
    for (size_t i = 0; i < k.out.size(); ++i) k.out[i] = menu_notes(note, 1, time_at(i), 0.15);
}

// Menu back: two soft notes falling a fifth.
void ui_back(Take& k) {
    const double f = pick(k, 740.0, 700.0, 784.0);
    Note notes[2] = {{0.0, f, 0.9, 0.028, {}, {}}, {0.04, f / 1.5, 1.0, 0.035, {}, {}}};
    for (size_t i = 0; i < k.out.size(); ++i) k.out[i] = menu_notes(notes, 2, time_at(i), 0.1);
}

void render_into(SfxCue cue, Take& k) {
    switch (cue) {
    case SfxCue::FootStone: footstep_stone(k); break;
    case SfxCue::FootWood: footstep_wood(k); break;
    case SfxCue::FootGrass: footstep_grass(k); break;
    case SfxCue::FootMetal: footstep_metal(k); break;
    case SfxCue::FootSnow: footstep_snow(k); break;
    case SfxCue::FootWater: footstep_water(k); break;
    case SfxCue::Jump: jump(k); break;
    case SfxCue::Land: land_soft(k); break;
    case SfxCue::Turn: dash(k); break;
    case SfxCue::DragonBlip: dialogue_dragon(k); break;
    case SfxCue::KnightBlip: dialogue_knight(k); break;
    case SfxCue::HurtPlayer: hurt_player(k); break;
    case SfxCue::HurtEnemy: hurt_enemy(k); break;
    case SfxCue::Slash: attack_slash(k); break;
    case SfxCue::Charge: enemy_charge(k); break;
    case SfxCue::Projectile: attack_projectile(k); break;
    case SfxCue::FireBreath: fire_breath(k); break;
    case SfxCue::Plasma: plasma_beam(k); break;
    case SfxCue::Acid: acid_sizzle(k); break;
    case SfxCue::Egg: egg_crack(k); break;
    case SfxCue::Barrel: barrel_break(k); break;
    case SfxCue::Explosion: explosion(k); break;
    case SfxCue::Pickup: pickup(k); break;
    case SfxCue::UiSelect: ui_select(k); break;
    case SfxCue::UiMove: ui_move(k); break;
    case SfxCue::UiBack: ui_back(k); break;
    case SfxCue::Count: break;
    }
}

}  // namespace

std::vector<double> render_cue(SfxCue cue, int variant, int length) {
    Take k{};
    k.out.assign(static_cast<size_t>(length), 0.0);
    k.variant = variant;
    k.rng = make_rng(SEED_BASE + static_cast<uint64_t>(cue) * 16u + static_cast<uint64_t>(variant));
    render_into(cue, k);
    return std::move(k.out);
}
