// The 78 compiled-in sound files: present, well-formed and audible.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "assets/embedded_assets.h"
#include "assets/embedded_table.h"
#include "assets/game_audio.h"

namespace {

// What the game's loader needs to know about a RIFF WAVE file.
struct WavFile {
    std::string error;  // empty when the file parsed
    uint16_t format = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint32_t byte_rate = 0;
    uint16_t block_align = 0;
    uint16_t bits = 0;
    const unsigned char* data = nullptr;
    size_t data_bytes = 0;
};

uint32_t le16(const unsigned char* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const unsigned char* p) { return le16(p) | (le16(p + 2) << 16); }
bool tag_is(const unsigned char* p, const char* tag) { return std::string_view(reinterpret_cast<const char*>(p), 4) == tag; }

// Walks the chunks the way a tolerant reader would: any order after "fmt ",
// unknown chunks skipped, odd-sized chunks padded.
WavFile parse_wav(ByteView view) {
    WavFile w;
    if (view.size < 12 || !tag_is(view.data, "RIFF") || !tag_is(view.data + 8, "WAVE")) {
        w.error = "no RIFF WAVE header";
        return w;
    }
    if (le32(view.data + 4) != view.size - 8) {
        w.error = "RIFF size does not match the file";
        return w;
    }
    bool have_fmt = false;
    size_t at = 12;
    while (at + 8 <= view.size) {
        const unsigned char* chunk = view.data + at;
        const size_t size = le32(chunk + 4);
        if (at + 8 + size > view.size) {
            w.error = "chunk runs past the end";
            return w;
        }
        if (tag_is(chunk, "fmt ")) {
            if (size < 16) {
                w.error = "short fmt chunk";
                return w;
            }
            w.format = static_cast<uint16_t>(le16(chunk + 8));
            w.channels = static_cast<uint16_t>(le16(chunk + 10));
            w.rate = le32(chunk + 12);
            w.byte_rate = le32(chunk + 16);
            w.block_align = static_cast<uint16_t>(le16(chunk + 20));
            w.bits = static_cast<uint16_t>(le16(chunk + 22));
            have_fmt = true;
        } else if (tag_is(chunk, "data")) {
            if (!have_fmt) {
                w.error = "data before fmt";
                return w;
            }
            w.data = chunk + 8;
            w.data_bytes = size;
            return w;
        }
        at += 8 + size + (size & 1);
    }
    w.error = "no data chunk";
    return w;
}

int16_t sample_at(const WavFile& w, size_t i) {
    return static_cast<int16_t>(le16(w.data + 2 * i));
}

// Each variant lasts round(seconds * 44100) samples, halves rounded away
// from zero, taken from the cue table's float seconds.
long cue_samples(int cue) {
    return std::lround(static_cast<double>(SFX_CUES[static_cast<size_t>(cue)].seconds) * 44100.0);
}

std::string key_of(int cue, int variant) {
    char path[64];
    sfx_path(static_cast<SfxCue>(cue), variant, path);
    return path;
}

TEST(SoundFileTable, HoldsExactlyTheSeventyEightCueFiles) {
    int sounds = 0;
    for (long i = 0; i < EMBEDDED_FILE_COUNT; ++i) {
        const std::string_view key = EMBEDDED_FILES[i].key;
        if (key.substr(0, 11) != "assets/sfx/") continue;
        ++sounds;
        bool known = false;
        for (int c = 0; c < SFX_CUE_COUNT && !known; ++c) {
            for (int v = 1; v <= SFX_VARIANTS; ++v) known = known || key == key_of(c, v);
        }
        EXPECT_TRUE(known) << "stray sound file " << key;
    }
    EXPECT_EQ(sounds, 78);
}

TEST(SoundFileTable, HalfSampleLengthsRoundUp) {
    // 0.085 s and 0.045 s fall on half samples; the float table values lie
    // just above the half.
    EXPECT_EQ(cue_samples(static_cast<int>(SfxCue::DragonBlip)), 3749);
    EXPECT_EQ(cue_samples(static_cast<int>(SfxCue::UiMove)), 1985);
    EXPECT_EQ(cue_samples(static_cast<int>(SfxCue::Explosion)), 31752);
}

class CueSounds : public ::testing::TestWithParam<int> {
protected:
    int cue() const { return GetParam(); }
};

TEST_P(CueSounds, EveryVariantIsMonoPcm16At44100OfTheCueLength) {
    for (int v = 1; v <= SFX_VARIANTS; ++v) {
        const std::string key = key_of(cue(), v);
        const ByteView view = embedded_file(key);
        ASSERT_FALSE(view.empty()) << key << " is not embedded";
        const WavFile w = parse_wav(view);
        ASSERT_EQ(w.error, "") << key;
        EXPECT_EQ(w.format, 1) << key;
        EXPECT_EQ(w.channels, 1) << key;
        EXPECT_EQ(w.rate, 44100u) << key;
        EXPECT_EQ(w.bits, 16) << key;
        EXPECT_EQ(w.block_align, 2) << key;
        EXPECT_EQ(w.byte_rate, 88200u) << key;
        EXPECT_EQ(static_cast<long>(w.data_bytes), 2 * cue_samples(cue())) << key;
    }
}

TEST_P(CueSounds, EveryVariantIsAudibleUnclippedAndStartsAndEndsAtRest) {
    constexpr int LOUDEST_ALLOWED = 30934;  // -0.5 dBFS
    constexpr int QUIETEST_PEAK = 23197;    // -3 dBFS
    constexpr double MIN_RMS = 0.02 * 32767.0;
    for (int v = 1; v <= SFX_VARIANTS; ++v) {
        const std::string key = key_of(cue(), v);
        const WavFile w = parse_wav(embedded_file(key));
        ASSERT_EQ(w.error, "") << key;
        const size_t n = w.data_bytes / 2;
        ASSERT_GT(n, 0u);
        int peak = 0;
        double energy = 0.0;
        for (size_t i = 0; i < n; ++i) {
            const int s = sample_at(w, i);
            peak = std::abs(s) > peak ? std::abs(s) : peak;
            energy += static_cast<double>(s) * s;
        }
        EXPECT_LE(peak, LOUDEST_ALLOWED) << key << " clips";
        EXPECT_GE(peak, QUIETEST_PEAK) << key << " is too quiet";
        EXPECT_GE(std::sqrt(energy / static_cast<double>(n)), MIN_RMS) << key << " is a lone spike";
        // A jump from or to silence at the ends would click when played.
        EXPECT_LE(std::abs(sample_at(w, 0)), 64) << key;
        EXPECT_LE(std::abs(sample_at(w, n - 1)), 64) << key;
    }
}

TEST_P(CueSounds, TheThreeVariantsAreNotNearCopies) {
    WavFile w[SFX_VARIANTS];
    for (int v = 0; v < SFX_VARIANTS; ++v) {
        w[v] = parse_wav(embedded_file(key_of(cue(), v + 1)));
        ASSERT_EQ(w[v].error, "");
    }
    for (int a = 0; a < SFX_VARIANTS; ++a) {
        for (int b = a + 1; b < SFX_VARIANTS; ++b) {
            const size_t n = std::min(w[a].data_bytes, w[b].data_bytes) / 2;
            double diff = 0.0;
            double level = 0.0;
            for (size_t i = 0; i < n; ++i) {
                const int x = sample_at(w[a], i);
                const int y = sample_at(w[b], i);
                diff += std::abs(x - y);
                level += 0.5 * (std::abs(x) + std::abs(y));
            }
            // Unrelated takes differ by about their own level (independent
            // noise by 1.4 times it); a copy, or the same noise shifted by a
            // sample, by far less.
            EXPECT_GE(diff, 0.8 * level) << SFX_CUES[static_cast<size_t>(cue())].stem << " variants " << a + 1
                                         << " and " << b + 1;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllCues, CueSounds, ::testing::Range(0, SFX_CUE_COUNT),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return std::string(SFX_CUES[static_cast<size_t>(param.param)].stem);
                         });

}  // namespace
