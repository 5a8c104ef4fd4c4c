#include "pixel_font.h"

#include <vector>

namespace {

// clang-format off
constexpr Glyph GLYPHS[] = {
    {'A', 5, {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", ".....", "....."}},
    {'B', 5, {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####.", ".....", "....."}},
    {'C', 5, {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###.", ".....", "....."}},
    {'D', 5, {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####.", ".....", "....."}},
    {'E', 5, {"#####", "#....", "#....", "####.", "#....", "#....", "#####", ".....", "....."}},
    {'F', 5, {"#####", "#....", "#....", "####.", "#....", "#....", "#....", ".....", "....."}},
    {'G', 5, {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####", ".....", "....."}},
    {'H', 5, {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", ".....", "....."}},
    {'I', 3, {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###", "...", "..."}},
    {'J', 5, {"..###", "...#.", "...#.", "...#.", "#..#.", "#..#.", ".##..", ".....", "....."}},
    {'K', 5, {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#", ".....", "....."}},
    {'L', 5, {"#....", "#....", "#....", "#....", "#....", "#....", "#####", ".....", "....."}},
    {'M', 5, {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#", ".....", "....."}},
    {'N', 5, {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#", ".....", "....."}},
    {'O', 5, {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###.", ".....", "....."}},
    {'P', 5, {"####.", "#...#", "#...#", "####.", "#....", "#....", "#....", ".....", "....."}},
    {'Q', 5, {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#", ".....", "....."}},
    {'R', 5, {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#", ".....", "....."}},
    {'S', 5, {".####", "#....", "#....", ".###.", "....#", "....#", "####.", ".....", "....."}},
    {'T', 5, {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", ".....", "....."}},
    {'U', 5, {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###.", ".....", "....."}},
    {'V', 5, {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#..", ".....", "....."}},
    {'W', 5, {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#", ".....", "....."}},
    {'X', 5, {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#", ".....", "....."}},
    {'Y', 5, {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#..", ".....", "....."}},
    {'Z', 5, {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####", ".....", "....."}},

    {'a', 5, {".....", ".....", ".###.", "....#", ".####", "#...#", ".####", ".....", "....."}},
    {'b', 5, {"#....", "#....", "####.", "#...#", "#...#", "#...#", "####.", ".....", "....."}},
    {'c', 5, {".....", ".....", ".###.", "#....", "#....", "#....", ".###.", ".....", "....."}},
    {'d', 5, {"....#", "....#", ".####", "#...#", "#...#", "#...#", ".####", ".....", "....."}},
    {'e', 5, {".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", ".....", "....."}},
    {'f', 4, {"..##", ".#..", "####", ".#..", ".#..", ".#..", ".#..", "....", "...."}},
    {'g', 5, {".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'h', 5, {"#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#", ".....", "....."}},
    {'i', 3, {".#.", "...", "##.", ".#.", ".#.", ".#.", "###", "...", "..."}},
    {'j', 3, {"..#", "...", ".##", "..#", "..#", "..#", "..#", "#.#", ".#."}},
    {'k', 4, {"#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#", "....", "...."}},
    {'l', 3, {"##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###", "...", "..."}},
    {'m', 5, {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#...#", ".....", "....."}},
    {'n', 5, {".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#", ".....", "....."}},
    {'o', 5, {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###.", ".....", "....."}},
    {'p', 5, {".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."}},
    {'q', 5, {".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", "....#"}},
    {'r', 5, {".....", ".....", "#.##.", "##..#", "#....", "#....", "#....", ".....", "....."}},
    {'s', 5, {".....", ".....", ".####", "#....", ".###.", "....#", "####.", ".....", "....."}},
    {'t', 4, {".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##", "....", "...."}},
    {'u', 5, {".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####", ".....", "....."}},
    {'v', 5, {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#..", ".....", "....."}},
    {'w', 5, {".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#.", ".....", "....."}},
    {'x', 5, {".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", ".....", "....."}},
    {'y', 5, {".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'z', 5, {".....", ".....", "#####", "...#.", "..#..", ".#...", "#####", ".....", "....."}},

    {'0', 5, {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###.", ".....", "....."}},
    {'1', 5, {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {'2', 5, {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####", ".....", "....."}},
    {'3', 5, {"####.", "....#", "....#", ".###.", "....#", "....#", "####.", ".....", "....."}},
    {'4', 5, {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#.", ".....", "....."}},
    {'5', 5, {"#####", "#....", "####.", "....#", "....#", "#...#", ".###.", ".....", "....."}},
    {'6', 5, {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###.", ".....", "....."}},
    {'7', 5, {"#####", "....#", "...#.", "..#..", "..#..", "..#..", "..#..", ".....", "....."}},
    {'8', 5, {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###.", ".....", "....."}},
    {'9', 5, {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###.", ".....", "....."}},

    {'.', 1, {".", ".", ".", ".", ".", ".", "#", ".", "."}},
    {',', 2, {"..", "..", "..", "..", "..", "..", ".#", "#.", ".."}},
    {'!', 1, {"#", "#", "#", "#", "#", ".", "#", ".", "."}},
    {'?', 5, {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#..", ".....", "....."}},
    {'\'', 1, {"#", "#", ".", ".", ".", ".", ".", ".", "."}},
    {'-', 3, {"...", "...", "...", "###", "...", "...", "...", "...", "..."}},
    {':', 1, {".", ".", ".", "#", ".", ".", "#", ".", "."}},
    {';', 2, {"..", "..", "..", ".#", "..", "..", ".#", "#.", ".."}},
    {'/', 5, {"....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#....", ".....", "....."}},
    // A small diamond used as an ornament beside headings.
    {'*', 5, {".....", "..#..", ".###.", "#####", ".###.", "..#..", ".....", ".....", "....."}},
};
// clang-format on

constexpr int GLYPH_COUNT = static_cast<int>(sizeof(GLYPHS) / sizeof(GLYPHS[0]));

constexpr bool glyph_rows_match_widths() {
    for (const Glyph& g : GLYPHS) {
        if (g.width < 1 || g.width > GLYPH_MAX_WIDTH) return false;
        for (const char* row : g.rows) {
            int n = 0;
            while (row[n] != '\0') {
                if (row[n] != '#' && row[n] != '.') return false;
                ++n;
            }
            if (n != g.width) return false;
        }
    }
    return true;
}
static_assert(glyph_rows_match_widths(), "every glyph row must be exactly as wide as its glyph");
static_assert(GLYPH_COUNT == 26 + 26 + 10 + 10, "letters, digits, punctuation and the ornament");

constexpr int SPACE_WIDTH = 3;

// Ink colour per font row: parchment at the top warming to gold at the foot.
constexpr Rgba INK_ROWS[GLYPH_ROWS] = {
    {255, 244, 214, 255}, {255, 236, 190, 255}, {252, 224, 160, 255}, {248, 210, 136, 255}, {244, 196, 114, 255},
    {236, 180, 96, 255},  {222, 160, 80, 255},  {206, 142, 70, 255},  {190, 126, 62, 255},
};
constexpr Rgba OUTLINE = {46, 26, 20, 255};
constexpr Rgba SHADOW = {8, 6, 12, 170};

int rows_for(const TextStyle& style) { return style.descenders ? GLYPH_ROWS : GLYPH_CAP_ROWS; }

int shadow_dx(const TextStyle& style) { return style.scale / 2; }

// Pixel layers of one line before compositing: ink carries its font row + 1.
struct Layers {
    int width, height;
    std::vector<int> ink;
};

void stamp_glyph(Layers& layers, const Glyph& g, int x, int y, const TextStyle& style) {
    const int s = style.scale;
    for (int row = 0; row < rows_for(style); ++row) {
        for (int col = 0; col < g.width; ++col) {
            if (!glyph_ink(g, col, row)) continue;
            for (int dy = 0; dy < s; ++dy) {
                for (int dx = 0; dx < s; ++dx) {
                    const int px = x + col * s + dx, py = y + row * s + dy;
                    if (px < 0 || py < 0 || px >= layers.width || py >= layers.height) continue;
                    layers.ink[static_cast<size_t>(py) * static_cast<size_t>(layers.width) + static_cast<size_t>(px)] =
                        row + 1;
                }
            }
        }
    }
}

bool covered(const Layers& l, int x, int y, int radius) {
    for (int yy = y - radius; yy <= y + radius; ++yy) {
        if (yy < 0 || yy >= l.height) continue;
        for (int xx = x - radius; xx <= x + radius; ++xx) {
            if (xx < 0 || xx >= l.width) continue;
            if (l.ink[static_cast<size_t>(yy) * static_cast<size_t>(l.width) + static_cast<size_t>(xx)] != 0) return true;
        }
    }
    return false;
}

// Outline is the ink grown by one font pixel; the shadow is the outlined
// shape moved down a font pixel and right half of one.
void composite(PixelImage& image, const Layers& l, const TextStyle& style) {
    const int s = style.scale, sdx = shadow_dx(style);
    for (int y = 0; y < l.height; ++y) {
        for (int x = 0; x < l.width; ++x) {
            const int ink = l.ink[static_cast<size_t>(y) * static_cast<size_t>(l.width) + static_cast<size_t>(x)];
            Rgba c{0, 0, 0, 0};
            if (ink != 0) {
                c = INK_ROWS[ink - 1];
            } else if (covered(l, x, y, s)) {
                c = OUTLINE;
            } else if (covered(l, x - sdx, y - s, s)) {
                c = SHADOW;
            }
            if (c.a != 0) image.set(x, y, c);
        }
    }
}

}  // namespace

const Glyph* find_glyph(char ch) {
    for (const Glyph& g : GLYPHS) {
        if (g.ch == ch) return &g;
    }
    return nullptr;
}

bool glyph_ink(const Glyph& glyph, int col, int row) {
    if (col < 0 || col >= glyph.width || row < 0 || row >= GLYPH_ROWS) return false;
    return glyph.rows[row][col] == '#';
}

bool text_fits_font(std::string_view text) {
    for (char ch : text) {
        if (ch != ' ' && find_glyph(ch) == nullptr) return false;
    }
    return true;
}

int text_width(std::string_view text, const TextStyle& style) {
    int units = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph* g = find_glyph(text[i]);
        units += text[i] == ' ' ? SPACE_WIDTH : (g != nullptr ? g->width : 0);
        if (i + 1 < text.size()) units += 1;
    }
    return units * style.scale + 2 * style.scale + shadow_dx(style);
}

int line_height(const TextStyle& style) { return (rows_for(style) + 3) * style.scale; }

void draw_text(PixelImage& image, std::string_view text, int x, int y, const TextStyle& style) {
    Layers l{image.width, image.height, std::vector<int>(image.pixels.size(), 0)};
    int pen = x + style.scale;  // room for the outline
    for (char ch : text) {
        const Glyph* g = find_glyph(ch);
        if (ch == ' ') {
            pen += (SPACE_WIDTH + 1) * style.scale;
        } else if (g != nullptr) {
            stamp_glyph(l, *g, pen, y + style.scale, style);
            pen += (g->width + 1) * style.scale;
        }
    }
    composite(image, l, style);
}

void draw_text_cells(PixelImage& image, std::string_view text, int x, int y, int cell_width, const TextStyle& style) {
    Layers l{image.width, image.height, std::vector<int>(image.pixels.size(), 0)};
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph* g = find_glyph(text[i]);
        if (g == nullptr) continue;
        // Centre the ink with its outline and shadow in the cell.
        const int box = g->width * style.scale + 2 * style.scale + shadow_dx(style);
        const int left = x + static_cast<int>(i) * cell_width + (cell_width - box) / 2;
        stamp_glyph(l, *g, left + style.scale, y + style.scale, style);
    }
    composite(image, l, style);
}
