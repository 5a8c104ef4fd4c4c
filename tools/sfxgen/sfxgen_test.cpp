// The generator's own building blocks: the libm-free math, the noise
// streams, the filters and the finishing of a take.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp.h"
#include "wav_file.h"

namespace {

TEST(SynthMath, SineExpAndLogMatchTheLibraryClosely) {
    for (double x = -3.0; x <= 3.0; x += 0.00731) {
        EXPECT_NEAR(sin_turns(x), std::sin(6.283185307179586 * x), 1e-10) << x;
        EXPECT_NEAR(cos_turns(x), std::cos(6.283185307179586 * x), 1e-10) << x;
    }
    for (double x = -40.0; x <= 40.0; x += 0.0917) {
        EXPECT_NEAR(exp_approx(x) / std::exp(x), 1.0, 1e-12) << x;
        EXPECT_NEAR(soft_clip(x), std::tanh(x), 1e-12) << x;
    }
    for (double x = 1e-6; x < 1e6; x *= 1.37) EXPECT_NEAR(log_approx(x), std::log(x), 1e-12) << x;
    EXPECT_EQ(exp_approx(-1000.0), 0.0);
}

TEST(SynthMath, GlideHitsBothEndsAndTheGeometricMiddle) {
    EXPECT_NEAR(glide(100.0, 400.0, 0.0), 100.0, 1e-9);
    EXPECT_NEAR(glide(100.0, 400.0, 0.5), 200.0, 1e-9);
    EXPECT_NEAR(glide(100.0, 400.0, 1.0), 400.0, 1e-9);
    EXPECT_NEAR(glide(100.0, 400.0, 7.0), 400.0, 1e-9);
    EXPECT_NEAR(glide(100.0, 400.0, -2.0), 100.0, 1e-9);
}

TEST(SynthNoise, NeighbouringSeedsGiveUnrelatedStreams) {
    // Seeds of one cue's variants differ by one; their noise must not be the
    // same stream shifted by a draw.
    Rng a = make_rng(1000);
    Rng b = make_rng(1001);
    std::vector<double> x(4096), y(4096);
    for (size_t i = 0; i < x.size(); ++i) {
        x[i] = rng_signed(a);
        y[i] = rng_signed(b);
    }
    for (int lag = -3; lag <= 3; ++lag) {
        double sum = 0.0;
        for (size_t i = 3; i + 3 < x.size(); ++i) sum += x[i] * y[static_cast<size_t>(static_cast<int>(i) + lag)];
        EXPECT_LT(std::fabs(sum / 4090.0), 0.03) << "lag " << lag;
    }
}

TEST(SynthNoise, UniformDrawsStayInRangeAndAverageOut) {
    Rng rng = make_rng(7);
    double sum = 0.0;
    for (int i = 0; i < 100000; ++i) {
        const double u = rng_unit(rng);
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        sum += u;
    }
    EXPECT_NEAR(sum / 100000.0, 0.5, 0.01);
}

// Steady-state amplitude of a sine through a filter.
double gain_at(Biquad f, double freq) {
    Osc osc{};
    double peak = 0.0;
    for (int i = 0; i < 44100 / 4; ++i) {
        const double y = biquad_step(f, osc_sine(osc, freq));
        if (i > 44100 / 8) peak = std::fabs(y) > peak ? std::fabs(y) : peak;
    }
    return peak;
}

TEST(SynthFilters, BiquadsPassAndStopWhereTheyShould) {
    EXPECT_NEAR(gain_at(make_biquad(BiquadShape::BandPass, 1000.0, 4.0), 1000.0), 1.0, 0.01);
    EXPECT_LT(gain_at(make_biquad(BiquadShape::BandPass, 1000.0, 4.0), 4000.0), 0.1);
    EXPECT_NEAR(gain_at(make_biquad(BiquadShape::LowPass, 2000.0, 0.7071), 200.0), 1.0, 0.01);
    EXPECT_LT(gain_at(make_biquad(BiquadShape::LowPass, 2000.0, 0.7071), 16000.0), 0.02);
    EXPECT_NEAR(gain_at(make_biquad(BiquadShape::HighPass, 2000.0, 0.7071), 12000.0), 1.0, 0.02);
    EXPECT_LT(gain_at(make_biquad(BiquadShape::HighPass, 2000.0, 0.7071), 200.0), 0.02);
}

TEST(SynthOscillators, StayBoundedAndHaveNoOffset) {
    Osc saw{}, square{}, tri{};
    double saw_sum = 0.0, square_sum = 0.0;
    for (int i = 0; i < 44100; ++i) {
        const double s = osc_saw(saw, 441.0);
        const double q = osc_square(square, 441.0, 0.5);
        const double t = osc_triangle(tri, 441.0);
        ASSERT_LE(std::fabs(s), 1.1);
        ASSERT_LE(std::fabs(q), 1.1);
        ASSERT_LE(std::fabs(t), 1.0);
        saw_sum += s;
        square_sum += q;
    }
    EXPECT_NEAR(saw_sum / 44100.0, 0.0, 0.01);
    EXPECT_NEAR(square_sum / 44100.0, 0.0, 0.01);
}

TEST(TakeFinishing, LengthsRoundHalfSamplesUp) {
    EXPECT_EQ(cue_length_samples(0.11f), 4851);
    EXPECT_EQ(cue_length_samples(0.085f), 3749);
    EXPECT_EQ(cue_length_samples(0.045f), 1985);
    EXPECT_EQ(cue_length_samples(0.72f), 31752);
}

TEST(TakeFinishing, EndsAtRestWithThePeakAtTheTarget) {
    std::vector<double> take(2000);
    Rng rng = make_rng(3);
    for (double& x : take) x = 5.0 * rng_signed(rng) + 2.0;  // loud and off-centre
    finish_take(take);
    double peak = 0.0;
    for (double x : take) peak = std::fabs(x) > peak ? std::fabs(x) : peak;
    EXPECT_NEAR(peak, PEAK_TARGET, 1e-12);
    EXPECT_EQ(take.front(), 0.0);
    EXPECT_EQ(take.back(), 0.0);
    const std::vector<int16_t> pcm = quantise(take);
    for (int16_t v : pcm) ASSERT_LE(std::abs(v), 29205);
}

TEST(TakeFinishing, SilenceStaysSilentAndOverloadsAreClamped) {
    std::vector<double> silent(500, 0.0);
    finish_take(silent);
    for (double x : silent) ASSERT_EQ(x, 0.0);
    const std::vector<int16_t> pcm = quantise({2.0, -2.0, 0.5, -0.5});
    EXPECT_EQ(pcm[0], 32767);
    EXPECT_EQ(pcm[1], -32767);
    EXPECT_EQ(pcm[2], 16384);
    EXPECT_EQ(pcm[3], -16384);
}

TEST(WavEncoding, HeaderDescribesMonoPcm16At44100AndSamplesAreLittleEndian) {
    const std::vector<uint8_t> bytes = encode_wav({1, -2, 0x1234});
    ASSERT_EQ(bytes.size(), 44u + 6u);
    const auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    const auto u16 = [&](size_t at) { return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8); };
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(u32(4), bytes.size() - 8);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(u32(16), 16u);
    EXPECT_EQ(u16(20), 1u);
    EXPECT_EQ(u16(22), 1u);
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(u32(28), 88200u);
    EXPECT_EQ(u16(32), 2u);
    EXPECT_EQ(u16(34), 16u);
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    EXPECT_EQ(u32(40), 6u);
    EXPECT_EQ(u16(44), 1u);
    EXPECT_EQ(u16(46), 0xFFFEu);
    EXPECT_EQ(u16(48), 0x1234u);
}

}  // namespace
