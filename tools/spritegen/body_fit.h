#pragma once
// How the game places each kind of frame over the body it belongs to, and how
// well a frame's opaque pixels cover that body. The placements restate the
// game's drawing rules (screen pixels, three per cell, relative to the body's
// top-left cell), so the art can be checked against them rather than against
// the constants it was drawn with.

#include <cstdint>
#include <vector>

#include "png_writer.h"
#include "sheets.h"

inline constexpr int CELL_PX = 3;

struct BodyMask {
    int w = 0;
    int h = 0;
    std::vector<uint8_t> cells;  // row-major, 1 = body cell
    bool get(int c, int r) const {
        return c >= 0 && r >= 0 && c < w && r < h && cells[static_cast<size_t>(r * w + c)] != 0;
    }
    int count() const;
};

BodyMask body_mask(BodyFit fit);

struct Placement {
    int x;  // frame's top-left in screen pixels
    int y;
    bool mirrored;
};

Placement frame_placement(BodyFit fit, int frame_w, bool facing_left);

struct FitReport {
    int body_cells = 0;
    int covered = 0;       // body cells mostly painted by the frame
    int sprite_cells = 0;  // cells mostly painted by the frame
    int outside = 0;       // of those, cells off the body
    float coverage() const { return body_cells > 0 ? static_cast<float>(covered) / body_cells : 0.0f; }
    float spill() const { return sprite_cells > 0 ? static_cast<float>(outside) / sprite_cells : 0.0f; }
};

// `frame` is one frame as the game shows it (already cut to the shown rows).
FitReport measure_fit(const PixelImage& frame, BodyFit fit, bool facing_left);

// The frame as it lands on screen around its body, at one pixel per screen
// pixel, with the body outline traced over it; `pad` cells of room around
// the union of frame and body.
PixelImage fit_view(const PixelImage& frame, BodyFit fit, bool facing_left);
