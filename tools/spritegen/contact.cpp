#include "contact.h"

#include <algorithm>
#include <string>

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

// Every actor's first frame standing on one ground line at the game's scale,
// with a barrel, an icon and the egg: sizes and styles side by side.
PixelImage lineup(const std::vector<GeneratedSheet>& sheets) {
    constexpr int WIDTH = 1200, HEIGHT = 300, GROUND = 250, GAP_PX = 24;
    PixelImage page(WIDTH, HEIGHT, PLAIN_BACK);
    for (int y = GROUND; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) page.at(x, y) = ((x / 3 + y / 3) % 7 == 0) ? Rgba{92, 70, 52, 255} : Rgba{120, 90, 62, 255};
    }
    int cursor = GAP_PX;
    for (const GeneratedSheet& g : sheets) {
        const SheetLayout& s = *g.layout;
        const std::string key = s.key;
        const bool egg = s.fit == BodyFit::None && s.frame_h == 18;
        const bool walker = s.fit != BodyFit::None && s.fit != BodyFit::DragonLarge &&
                            (s.fit != BodyFit::DragonSmall || key.find("DinoSprites") != std::string::npos);
        if (!egg && !walker) continue;
        const PixelImage big = scaled(crop(g.image, 0, 0, s.frame_w, s.frame_h), CELL_PX);
        // Frames stand with their body's bottom on the ground; the egg sits on it.
        const int top = egg ? GROUND - big.height : GROUND - body_mask(s.fit).h * CELL_PX + frame_placement(s.fit, s.frame_w, false).y;
        blit(page, big, cursor, top);
        if (s.fit == BodyFit::Barrel) {
            // With a content icon, where the game puts it.
            const int icons = sheet_index("assets/sprites/material_icons.png");
            if (icons >= 0) {
                const PixelImage icon = scaled(crop(sheets[static_cast<size_t>(icons)].image, 16 * 6 - 16, 0, 16, 16), 2);
                blit(page, icon, cursor + 14, top + 20);
            }
        }
        cursor += big.width + GAP_PX;
    }
    return page;
}

}  // namespace

PixelImage contact_sheet(const std::vector<GeneratedSheet>& sheets, const std::string& filter, int first, int last) {
    Layout lay;
    if (filter.empty()) {
        lay.add(lineup(sheets));
        lay.new_row();
    }
    for (const GeneratedSheet& g : sheets) {
        const SheetLayout& s = *g.layout;
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
        const SheetLayout& s = *g.layout;
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
