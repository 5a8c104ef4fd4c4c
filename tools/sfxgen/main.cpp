// Writes the game's 78 sound files, three variants of every cue, into
// <root>/assets/sfx/. Usage: cindervale_sfxgen [root]   (default: the
// repository). The output depends on nothing but this code, so running it
// twice gives identical bytes.

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "png_writer.h"
#include "recipes.h"
#include "wav_file.h"

namespace {

std::string sound_key(SfxCue cue, int variant) {
    char key[64];
    std::snprintf(key, sizeof key, "assets/sfx/%s_%02d.wav", SFX_CUES[static_cast<size_t>(cue)].stem, variant);
    return key;
}

double peak_dbfs(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t v : samples) peak = std::abs(v) > peak ? std::abs(v) : peak;
    return peak == 0 ? -999.0 : 20.0 * std::log10(peak / 32767.0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : SFXGEN_DEFAULT_ROOT;
    const auto started = std::chrono::steady_clock::now();
    size_t total_bytes = 0;
    int written = 0;
    std::printf("%-20s %8s  %s\n", "cue", "samples", "peak dBFS (variants 1, 2, 3)");
    for (int c = 0; c < SFX_CUE_COUNT; ++c) {
        const SfxCue cue = static_cast<SfxCue>(c);
        const int length = cue_length_samples(SFX_CUES[static_cast<size_t>(c)].seconds);
        std::printf("%-20s %8d ", SFX_CUES[static_cast<size_t>(c)].stem, length);
        for (int v = 0; v < RECIPE_VARIANTS; ++v) {
            std::vector<double> take = render_cue(cue, v, length);
            finish_take(take);
            const std::vector<int16_t> pcm = quantise(take);
            const std::vector<uint8_t> bytes = encode_wav(pcm);
            const std::string path = root + "/" + sound_key(cue, v + 1);
            if (!write_file(path, bytes)) {
                std::fprintf(stderr, "\ncannot write %s\n", path.c_str());
                return 1;
            }
            total_bytes += bytes.size();
            ++written;
            std::printf(" %7.2f", peak_dbfs(pcm));
        }
        std::printf("\n");
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    std::printf("wrote %d files, %zu bytes in %.1f ms\n", written, total_bytes, ms);
    return 0;
}
