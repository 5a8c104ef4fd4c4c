#pragma once
// Dialogue portraits: bold 32 x 32 pixel-art busts (a one-cell frame round
// 30 x 30 cells of drawing) blown up to the stored size. The dialogue box
// squeezes every portrait into 128 x 128 pixels, so the cells are spread
// over the whole image per axis and land on exact 4 x 4 screen blocks.

#include "png_writer.h"

inline constexpr int PORTRAIT_CELLS = 32;
inline constexpr int PORTRAIT_ART = PORTRAIT_CELLS - 2;
inline constexpr int PORTRAIT_COUNT = 3;

struct PaletteEntry {
    char key;
    uint8_t r, g, b;
};

struct PortraitArt {
    const char* path;
    int width, height;
    Rgba background_top, background_bottom, frame;
    const PaletteEntry* palette;
    int palette_size;
    const char* rows[PORTRAIT_ART];  // '.' shows the background
};

extern const PortraitArt PORTRAITS[PORTRAIT_COUNT];

// The 32 x 32 cell picture, frame included.
PixelImage portrait_cells(const PortraitArt& art);
PixelImage make_portrait(const PortraitArt& art);
