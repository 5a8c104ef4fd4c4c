#pragma once
// The game's own lettering: a hand-drawn bitmap font of 9-row glyphs (cap
// height 7, two rows of descender) rendered at an integer scale in warm
// parchment and gold with a dark outline and a drop shadow.

#include <string_view>

#include "png_writer.h"

inline constexpr int GLYPH_ROWS = 9;
inline constexpr int GLYPH_CAP_ROWS = 7;
inline constexpr int GLYPH_MAX_WIDTH = 5;

struct Glyph {
    char ch;
    int width;
    const char* rows[GLYPH_ROWS];  // '#' is ink
};

// nullptr for characters the font does not have.
const Glyph* find_glyph(char ch);
bool glyph_ink(const Glyph& glyph, int col, int row);

struct TextStyle {
    int scale;         // screen pixels per font pixel
    bool descenders;   // reserve the two descender rows in the line height
};

// Proportional layout: glyph width plus one font pixel between glyphs, a
// space is three font pixels. Widths and heights include outline and shadow.
int text_width(std::string_view text, const TextStyle& style);
int line_height(const TextStyle& style);

// Draws one line with its box's top-left at (x, y). Characters without a
// glyph are skipped (text_fits_font tells whether any exist).
void draw_text(PixelImage& image, std::string_view text, int x, int y, const TextStyle& style);
// The same in fixed cells of cell_width pixels, each glyph centred in its
// cell, so a left part of the image shows exactly the first n characters.
void draw_text_cells(PixelImage& image, std::string_view text, int x, int y, int cell_width,
                     const TextStyle& style);

bool text_fits_font(std::string_view text);
