#include "wav_file.h"

#include <cmath>

#include "dsp.h"

int cue_length_samples(float seconds) {
    return static_cast<int>(std::lround(static_cast<double>(seconds) * WAV_SAMPLE_RATE));
}

namespace {

// Raised-cosine ramp: exactly 0 at u = 0 and 1 at u = 1 (the series for
// the cosine is only nearly 1 at the ends).
double ramp(double u) {
    if (u <= 0.0) return 0.0;
    if (u >= 1.0) return 1.0;
    return 0.5 - 0.5 * cos_turns(0.5 * u);
}

void remove_dc(std::vector<double>& s) {
    OnePole low{};
    for (double& x : s) x = highpass_step(low, x, 12.0);
}

void fade_ends(std::vector<double>& s) {
    const int n = static_cast<int>(s.size());
    const int fade_in = static_cast<int>(FADE_IN_SECONDS * WAV_SAMPLE_RATE);
    const int fade_out = static_cast<int>(FADE_OUT_SECONDS * WAV_SAMPLE_RATE + FADE_OUT_SHARE * n);
    for (int i = 0; i < n && i < fade_in; ++i) s[static_cast<size_t>(i)] *= ramp(static_cast<double>(i) / fade_in);
    for (int k = 0; k < n && k < fade_out; ++k) {
        s[static_cast<size_t>(n - 1 - k)] *= ramp(static_cast<double>(k) / fade_out);
    }
}

void normalise(std::vector<double>& s) {
    double peak = 0.0;
    for (double x : s) peak = std::fabs(x) > peak ? std::fabs(x) : peak;
    if (peak <= 0.0) return;
    const double gain = PEAK_TARGET / peak;
    for (double& x : s) x *= gain;
}

void put_u16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    put_u16(out, v & 0xFFFF);
    put_u16(out, v >> 16);
}

void put_tag(std::vector<uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

void finish_take(std::vector<double>& samples) {
    remove_dc(samples);
    fade_ends(samples);
    normalise(samples);
}

std::vector<int16_t> quantise(const std::vector<double>& samples) {
    std::vector<int16_t> out;
    out.reserve(samples.size());
    for (double x : samples) {
        long v = std::lround(x * 32767.0);
        v = v > 32767 ? 32767 : (v < -32767 ? -32767 : v);
        out.push_back(static_cast<int16_t>(v));
    }
    return out;
}

std::vector<uint8_t> encode_wav(const std::vector<int16_t>& samples) {
    const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(WAV_HEADER_BYTES + data_bytes + 1);
    put_tag(out, "RIFF");
    // A data chunk of odd length gets a pad byte; 16-bit samples never need it.
    put_u32(out, 36 + data_bytes);
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put_u32(out, 16);
    put_u16(out, 1);  // PCM
    put_u16(out, 1);  // mono
    put_u32(out, WAV_SAMPLE_RATE);
    put_u32(out, WAV_SAMPLE_RATE * 2);  // bytes per second
    put_u16(out, 2);                    // bytes per frame
    put_u16(out, 16);                   // bits per sample
    put_tag(out, "data");
    put_u32(out, data_bytes);
    for (int16_t v : samples) put_u16(out, static_cast<uint16_t>(v));
    return out;
}
