#include "contact.h"

#include <algorithm>

#include "body_fit.h"
#include "paint.h"

namespace {

constexpr int MAX_ROW_WIDTH = 1800;
constexpr int GAP = 6;
constexpr Rgba PAGE = {18, 20, 28, 255};
constexpr Rgba PLAIN_BACK = {56, 60, 78, 255};

PixelImage scaled(const PixelImage& src, int k) {
    PixelImage out(src.width * k, src.height * k);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) out.at(x, y) = src.at(x / k, y / k);
    }
    return out;
}

PixelImage on_backdrop(const PixelImage& src, int k) {
    PixelImage out(src.width * k, src.height * k, PLAIN_BACK);
    const PixelImage big = scaled(src, k);
    for (size_t i = 0; i < out.pixels.size(); ++i) {
        const Rgba c = big.pixels[i];
        if (c.a != 0) out.pixels[i] = mix(out.pixels[i], Rgba{c.r, c.g, c.b, 255}, c.a / 255.0f);
    }
    return out;
}

struct Layout {
    std::vector<std::pair<PixelImage, std::pair<int, int>>> placed;
    int x = GAP, y = GAP, row_h = 0, width = 0;

    void add(PixelImage tile) {
        if (x > GAP && x + tile.width > MAX_ROW_WIDTH) new_row();
        placed.push_back({std::move(tile), {x, y}});
        const PixelImage& t = placed.back().first;
        x += t.width + GAP;
        row_h = std::max(row_h, t.height);
        width = std::max(width, x);
    }
    void new_row() {
        if (x == GAP) return;
        y += row_h + GAP;
        x = GAP;
        row_h = 0;
    }
};

}  // namespace

PixelImage contact_sheet(const std::vector<GeneratedSheet>& sheets, const std::string& filter, int first, int last) {
    Layout lay;
    for (const GeneratedSheet& g : sheets) {
        const SheetSpec& s = *g.spec;
        if (!filter.empty() && std::string(s.key).find(filter) == std::string::npos) continue;
        const int frames = frame_count(s);
        const bool actor = s.fit != BodyFit::None && s.fit != BodyFit::Barrel;
        const bool close_up = last - first < 8;
        const int zoom = (s.fit == BodyFit::Boss ? 1 : 2) * (close_up ? 2 : 1);
        for (int i = std::max(first, 0); i < frames && i <= last; ++i) {
            const PixelImage frame = crop(g.image, i * s.frame_w, 0, s.frame_w, s.frame_h);
            if (s.fit == BodyFit::None) {
                lay.add(on_backdrop(frame, s.frame_w <= 16 ? 6 : 3));
            } else if (!actor) {
                lay.add(scaled(fit_view(frame, s.fit, false), zoom));
            } else {
                // Both facings side by side: the pair must hit the same body.
                const PixelImage right = scaled(fit_view(frame, s.fit, false), zoom);
                const PixelImage left = scaled(fit_view(frame, s.fit, true), zoom);
                PixelImage pair(right.width + left.width + 2, std::max(right.height, left.height), PAGE);
                blit(pair, right, 0, 0);
                blit(pair, left, right.width + 2, 0);
                lay.add(std::move(pair));
            }
        }
        lay.new_row();
        if (s.fit == BodyFit::None && s.frame_w == 16 && s.frame_h == 18) {
            // The egg split into the halves the game pulls apart.
            PixelImage apart(24, 18);
            blit(apart, crop(g.image, 0, 0, 8, 18), 0, 0);
            blit(apart, crop(g.image, 8, 0, 8, 18), 16, 0);
            lay.add(on_backdrop(apart, 6));
            lay.new_row();
        }
    }
    lay.new_row();
    PixelImage page(std::max(lay.width, 1), std::max(lay.y, 1), PAGE);
    for (const auto& [tile, pos] : lay.placed) blit(page, tile, pos.first, pos.second);
    return page;
}

PixelImage preview_sheet(const std::vector<GeneratedSheet>& sheets, const std::string& filter, int zoom) {
    Layout lay;
    for (const GeneratedSheet& g : sheets) {
        const SheetSpec& s = *g.spec;
        if (!filter.empty() && std::string(s.key).find(filter) == std::string::npos) continue;
        for (int i = 0; i < frame_count(s); ++i) {
            lay.add(on_backdrop(crop(g.image, i * s.frame_w, 0, s.frame_w, s.frame_h), zoom));
        }
        lay.new_row();
    }
    lay.new_row();
    PixelImage page(std::max(lay.width, 1), std::max(lay.y, 1), PAGE);
    for (const auto& [tile, pos] : lay.placed) blit(page, tile, pos.first, pos.second);
    return page;
}
