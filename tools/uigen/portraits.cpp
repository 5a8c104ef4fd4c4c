#include "portraits.h"

#include "paint.h"

namespace {

// clang-format off
// The hatchling: ember scales, cream throat, bone horns, a gold eye.
constexpr PaletteEntry DRAGON_PALETTE[] = {
    {'K', 34, 14, 18},   {'r', 118, 32, 30},  {'R', 178, 58, 38},  {'o', 222, 108, 50}, {'y', 250, 170, 88},
    {'c', 238, 200, 142}, {'C', 196, 146, 100}, {'h', 234, 218, 184}, {'H', 160, 130, 104}, {'w', 255, 250, 236},
    {'e', 255, 206, 64},  {'p', 28, 10, 10},
};

// The blue knight: a great helm with a cross-shaped visor, red plume,
// gold trim and a blue tabard.
constexpr PaletteEntry KNIGHT_PALETTE[] = {
    {'K', 14, 16, 28},   {'d', 40, 56, 98},    {'b', 72, 104, 162},  {'B', 124, 160, 214}, {'l', 200, 222, 246},
    {'v', 6, 6, 12},     {'r', 122, 24, 34},   {'R', 192, 46, 50},   {'P', 238, 100, 86},  {'g', 222, 176, 78},
    {'G', 148, 104, 40}, {'t', 34, 56, 124},   {'T', 52, 84, 168},
};

// The lord of the keep: blackened plate, horned helm, eyes like coals,
// a crimson cloak.
constexpr PaletteEntry BOSS_PALETTE[] = {
    {'K', 10, 8, 12},    {'d', 34, 32, 44},    {'m', 62, 60, 78},    {'l', 106, 104, 126}, {'s', 166, 164, 184},
    {'e', 255, 72, 40},  {'E', 255, 186, 100}, {'c', 104, 18, 30},   {'C', 158, 34, 42},   {'g', 196, 146, 62},
    {'h', 206, 190, 160}, {'H', 132, 112, 96},
};
// clang-format on

template <size_t N>
constexpr int count_of(const PaletteEntry (&)[N]) {
    return static_cast<int>(N);
}

}  // namespace

// clang-format off
constexpr PortraitArt PORTRAITS[PORTRAIT_COUNT] = {
    {"dragon_icon.png", 1323, 1189, {92, 40, 30, 255}, {36, 18, 22, 255}, {26, 14, 16, 255},
     DRAGON_PALETTE, count_of(DRAGON_PALETTE), {
        "..............................",
        "......KK......................",
        "..KK..KhK.....................",
        "..KhK.KhhK....................",
        "..KhhKKHhhK...................",
        "...KhhKKHhhK..................",
        "...KHhhKKHhhK.................",
        "....KHHhhKHHhK................",
        ".....KKHHhKHHRKKKK............",
        "....KrRKKKRRRooooRRKK.........",
        "....KrRRoooyyyyyoooooRKK......",
        "...KrRRooKKKKoooyyyoooooKK....",
        "...KrRoooKwepKoooooooooooRK...",
        "...KrRoooKeepKooooooooooKooK..",
        "...KrRRoooKKKoooooooooooooooK.",
        "...KrrRRooooooooooooooooooRRK.",
        "..KrrRRRRoooooKKKKKKKKKKKKKKK.",
        "..KrrRRRRRRRKcwccwccccccwcK...",
        "..KrrRRRRRRRRKCCccccccccKK....",
        ".KHKrRRRRRRRRRKKKKKKKKKK......",
        "KHhKrRRRRRRRRRcccK......KK....",
        ".KKrrRRoRRRRRRcCcK.....KhK....",
        "..KrrRooRRRRRcccccK...KrRK....",
        ".KHKrRRRRRRRRcCcccK..KrRRK....",
        "KHhKrRRoRRRRRcccccK.KrrRRK....",
        ".KKrrRRRRRRRcccCcccKrrRRRKK...",
        "..KrrRRoRRRRcccccccKrrrRRRrK..",
        ".KHKrRRRRRRRccCccccKrrrrRRRrK.",
        "KHhKrRRRRRRcccccccCKrrrrrRRrrK",
        ".KKrRRRRRRcccccccccKrrrrrrRrrr",
    }},
    {"blue_knight_icon.png", 1359, 1158, {54, 70, 104, 255}, {20, 24, 40, 255}, {12, 14, 24, 255},
     KNIGHT_PALETTE, count_of(KNIGHT_PALETTE), {
        "..............................",
        "..............KrRK............",
        ".............KrRPPRK..........",
        ".............KRPPPRRKK........",
        "..............KRRPRRRrK.......",
        "..........KKKKKRRKKrRRrK......",
        ".........KBllBBbbbbdK.KrrK....",
        "........KBllBBbbbbbbdK.KK.....",
        "........KlBBbbbbbbbbdK........",
        "........KBBbbbbbbbbbdK........",
        "........KGggggggggggGK........",
        "........KBbbbbKKbbbbdK........",
        "........KvvvvvvvvvvvvK........",
        "........KBbbbvvvvbbbdK........",
        "........KBbbbbvvbbbbdK........",
        "........KBbbvbvvbvbbdK........",
        "........KBbbbbvvbbbbdK........",
        "........KBbbbbbbbbbbdK........",
        ".........KBbbbbbbbbdK.........",
        "......KKKKdBbbbbbbdKKKK.......",
        "....KKBBlBKddddddddKBbbdKK....",
        "...KBlllBbbKGGGGGGKbbbbbddK...",
        "..KBllBBbbbbKTTTTKbbbbbbbddK..",
        "..KlBBbbbbbdKTggTKdbbbbbbddK..",
        ".KBBbbbbbbddKTggTKddbbbbbbddK.",
        ".KBbbbbbbdddKTTTTKdddbbbbdddK.",
        ".KddddddddddKTTTTKddddddddddK.",
        ".KBbbbbbbbbKTTggTTKbbbbbbbbdK.",
        ".KBbbbbbbbbKTggggTKbbbbbbbbdK.",
        ".KBbbbbbbbbKTTggTTKbbbbbbbbdK.",
    }},
    {"boss_knight_icon.png", 1199, 1312, {70, 20, 34, 255}, {16, 8, 16, 255}, {10, 6, 10, 255},
     BOSS_PALETTE, count_of(BOSS_PALETTE), {
        "..............................",
        "..hK......................Kh..",
        "..hhK....................Khh..",
        "...hhK..................Khh...",
        "...HhhK................KhhH...",
        "....HhhK....KKKKKK....KhhH....",
        ".....HhhKKKmlllmmmdKKKhhH.....",
        "......HHhKmlsslmmmmdKhHH......",
        ".......KKmlsllmmmmmddKK.......",
        "........KlllmmmmmmmddK........",
        "........KmmmmmmmmmmddK........",
        "........KggggggggggggK........",
        "........KdeeEddddEeedK........",
        "........KmddddddddddmK........",
        "........KmmdKmmmmKdmmK........",
        "........KmmdmKmmKmdmmK........",
        "........KmmmdmKKmdmmmK........",
        ".........KmmmmmmmmmmK.........",
        "....cc....KKddddddKK....cc....",
        "...cCK.KKKKmmmmmmmmKKKK.KCc...",
        "..cCKlKsllmKddddddKmllmdKKCc..",
        "..cKsllllmmmKggggKmmmmmmddKc..",
        ".cCKlllmmmmmKgddgKmmmmmmddKCc.",
        ".cCKmmmmmmmdKgddgKdmmmmmddKCc.",
        ".cCKKdmmmmddKggggKddmmmddKKCc.",
        "cCCcKKdddddKmmmmmmKdddddKKcCCc",
        "cCCccKKKKKKlmmmmmmdKKKKKKccCCc",
        "cCCcccKmmmlmmmggmmmddKcccccCCc",
        "cCCcccKmmlmmmgddgmmmdKcccccCCc",
        "cCCcccKmmmmmmmggmmmmdKcccccCCc",
    }},
};
// clang-format on

namespace {

constexpr bool rows_are_square() {
    for (const PortraitArt& art : PORTRAITS) {
        for (const char* row : art.rows) {
            int n = 0;
            while (row[n] != '\0') ++n;
            if (n != PORTRAIT_ART) return false;
        }
    }
    return true;
}
static_assert(rows_are_square(), "every portrait row must be exactly as wide as the drawing");

Rgba palette_colour(const PortraitArt& art, char key, bool& found) {
    for (int i = 0; i < art.palette_size; ++i) {
        if (art.palette[i].key == key) {
            found = true;
            return {art.palette[i].r, art.palette[i].g, art.palette[i].b, 255};
        }
    }
    found = false;
    return {0, 0, 0, 0};
}

// A darkening gradient with a soft light behind the head, quantised in
// cells so it stays part of the pixel art.
Rgba background_cell(const PortraitArt& art, int x, int y) {
    const float t = static_cast<float>(y) / static_cast<float>(PORTRAIT_CELLS - 1);
    Colf c = mix(from_rgba(art.background_top), from_rgba(art.background_bottom), t);
    const float dx = (static_cast<float>(x) - 15.5f) / 16.0f, dy = (static_cast<float>(y) - 11.0f) / 16.0f;
    const float glow = clamp01(1.0f - (dx * dx + dy * dy));
    c = mix(c, scale(from_rgba(art.background_top), 1.35f), glow * 0.45f);
    // Step the gradient into a few bands like hand-placed dithering.
    const float band = static_cast<float>(static_cast<int>(glow * 4.0f)) / 4.0f;
    c = mix(c, scale(c, 1.08f), band);
    return to_rgba(c);
}

}  // namespace

PixelImage portrait_cells(const PortraitArt& art) {
    PixelImage cells(PORTRAIT_CELLS, PORTRAIT_CELLS);
    for (int y = 0; y < PORTRAIT_CELLS; ++y) {
        for (int x = 0; x < PORTRAIT_CELLS; ++x) {
            const bool frame = x == 0 || y == 0 || x == PORTRAIT_CELLS - 1 || y == PORTRAIT_CELLS - 1;
            if (frame) {
                cells.at(x, y) = art.frame;
                continue;
            }
            const char key = art.rows[y - 1][x - 1];
            bool found = false;
            const Rgba c = palette_colour(art, key, found);
            cells.at(x, y) = found ? c : background_cell(art, x, y);
        }
    }
    return cells;
}

PixelImage make_portrait(const PortraitArt& art) {
    return upscale_cells(portrait_cells(art), art.width, art.height);
}
