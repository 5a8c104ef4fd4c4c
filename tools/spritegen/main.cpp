// cindervale_spritegen [out_root]            write every sheet (default: the repository root)
// cindervale_spritegen --contact out.png [s [first last]]
//                                            contact sheet of the sheets whose key contains s
// cindervale_spritegen --preview out.png [s [zoom]]
//                                            the same sheets plainly, scaled up
// cindervale_spritegen --fit                 how closely the frames cover their bodies
// cindervale_spritegen --check committed scratch
//                                            regenerate into scratch and byte-compare with committed

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "body_fit.h"
#include "contact.h"
#include "paint.h"
#include "output.h"
#include "sheets.h"

#ifndef CINDERVALE_SOURCE_DIR
#define CINDERVALE_SOURCE_DIR "."
#endif

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: cindervale_spritegen [out_root]\n"
                 "       cindervale_spritegen --contact out.png [key_filter [first_frame last_frame]]\n"
                 "       cindervale_spritegen --preview out.png [key_filter [zoom]]\n"
                 "       cindervale_spritegen --fit\n"
                 "       cindervale_spritegen --check committed_root scratch_root\n");
    return 2;
}

// Per sheet and facing, the mean and worst body coverage and the worst spill
// over its frames: how far the art strays from the bodies the game
// hit-tests. A facing is reported apart because a mirrored frame can miss a
// body the unmirrored one fits.
void print_fit_report(const std::vector<GeneratedSheet>& sheets) {
    for (const GeneratedSheet& g : sheets) {
        if (g.layout->fit == BodyFit::None) continue;
        for (const bool left : {false, true}) {
            float worst_cover = 1.0f, worst_spill = 0.0f, sum_cover = 0.0f;
            int worst_frame = 0;
            const int n = frame_count(*g.layout);
            for (int i = 0; i < n; ++i) {
                const PixelImage f = crop(g.image, i * g.layout->frame_w, 0, g.layout->frame_w, g.layout->frame_h);
                const FitReport r = measure_fit(f, g.layout->fit, left);
                if (r.coverage() < worst_cover) {
                    worst_cover = r.coverage();
                    worst_frame = i;
                }
                worst_spill = std::max(worst_spill, r.spill());
                sum_cover += r.coverage();
            }
            std::printf("%-56s %-5s coverage mean %.2f min %.2f (frame %2d)  spill max %.2f\n", g.layout->key,
                        left ? "left" : "right", sum_cover / static_cast<float>(n), worst_cover, worst_frame,
                        worst_spill);
        }
    }
}

int report_failures(const std::vector<std::string>& keys, const char* what) {
    for (const std::string& k : keys) std::fprintf(stderr, "%s: %s\n", what, k.c_str());
    return keys.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const auto start = std::chrono::steady_clock::now();
    const std::vector<GeneratedSheet> sheets = generate_all();
    const double gen_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    if (mode == "--contact") {
        if (argc < 3) return usage();
        const std::string filter = argc > 3 ? argv[3] : "";
        const int first = argc > 4 ? std::atoi(argv[4]) : 0;
        const int last = argc > 5 ? std::atoi(argv[5]) : 1 << 20;
        return write_png(argv[2], contact_sheet(sheets, filter, first, last)) ? 0 : 1;
    }
    if (mode == "--preview") {
        if (argc < 3) return usage();
        const std::string filter = argc > 3 ? argv[3] : "";
        const int zoom = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
        return write_png(argv[2], preview_sheet(sheets, filter, zoom)) ? 0 : 1;
    }
    if (mode == "--fit") {
        print_fit_report(sheets);
        return 0;
    }
    if (mode == "--check") {
        if (argc < 4) return usage();
        if (int rc = report_failures(write_sheets(sheets, argv[3]), "cannot write"); rc != 0) return rc;
        return report_failures(differing_files(sheets, argv[3], argv[2]), "differs from the committed file");
    }
    if (!mode.empty() && mode[0] == '-') return usage();

    const std::string root = mode.empty() ? CINDERVALE_SOURCE_DIR : mode;
    const int rc = report_failures(write_sheets(sheets, root), "cannot write");
    std::printf("generated %zu sheets in %.1f ms into %s\n", sheets.size(), gen_ms, root.c_str());
    return rc;
}
