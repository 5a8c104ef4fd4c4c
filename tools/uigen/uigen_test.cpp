// Checks of the scenery, lettering and portrait generator: the properties the
// game relies on (sizes, opaque swatches, dialogue cells, seamless repeats)
// and faults a careless edit of the hand-made tables would cause.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "assets.h"
#include "assets/embedded_assets.h"
#include "lettering.h"
#include "paint.h"
#include "pixel_font.h"
#include "portraits.h"
#include "shaders.h"
#include "swatches.h"

namespace {

const std::vector<GeneratedAsset>& all_assets() {
    static const std::vector<GeneratedAsset> assets = generate_all();
    return assets;
}

const PixelImage& asset_image(const std::string& path) {
    const GeneratedAsset* a = find_asset(all_assets(), path);
    EXPECT_NE(a, nullptr) << path;
    static const PixelImage empty;
    return a != nullptr ? a->image : empty;
}

bool same_pixel(const Rgba& a, const Rgba& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

int inked(const PixelImage& img) {
    int n = 0;
    for (const Rgba& p : img.pixels) n += p.a != 0 ? 1 : 0;
    return n;
}

struct InkBox {
    int x0, y0, x1, y1;  // inclusive; x0 > x1 when empty
};

InkBox ink_box(const PixelImage& img) {
    InkBox b{img.width, img.height, -1, -1};
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            if (img.at(x, y).a == 0) continue;
            b.x0 = x < b.x0 ? x : b.x0;
            b.y0 = y < b.y0 ? y : b.y0;
            b.x1 = x > b.x1 ? x : b.x1;
            b.y1 = y > b.y1 ? y : b.y1;
        }
    }
    return b;
}

int luma(const Rgba& p) { return (p.r * 299 + p.g * 587 + p.b * 114) / 1000; }

// Mean absolute luma step between neighbours, across the whole wrapped
// grid, along x (dx = 1) or y (dy = 1).
double mean_step(const PixelImage& cells, int dx, int dy, bool only_wrap) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < cells.height; ++y) {
        for (int x = 0; x < cells.width; ++x) {
            const int nx = x + dx, ny = y + dy;
            const bool wraps = nx >= cells.width || ny >= cells.height;
            if (only_wrap != wraps) continue;
            const Rgba& a = cells.at(x, y);
            const Rgba& b = cells.at(nx % cells.width, ny % cells.height);
            sum += std::abs(luma(a) - luma(b));
            ++n;
        }
    }
    return n > 0 ? sum / n : 0.0;
}

}  // namespace

// ------------------------------------------------------------ asset table

TEST(SceneryAssets, EveryImageHasTheSizeTheGameLoads) {
    int matched = 0;
    for (const TextureAsset& t : TEXTURE_ASSETS) {
        const GeneratedAsset* a = find_asset(all_assets(), t.path);
        if (a == nullptr) continue;  // another generator's sprite
        ASSERT_TRUE(a->is_image) << t.path;
        EXPECT_EQ(a->image.width, t.width) << t.path;
        EXPECT_EQ(a->image.height, t.height) << t.path;
        ++matched;
    }
    // 2 backgrounds, 8 menu labels (with Quit, Resume, Quit to title and
    // Continue), 3 portraits, 9 dialogue lines, 5 prompts, the ending picture
    // and its caption, the two assist rows' names and the HUD's ASSIST tag.
    EXPECT_EQ(matched, 32);
    EXPECT_EQ(asset_image(STONE_SWATCH_PATH).width, 740);
    EXPECT_EQ(asset_image(STONE_SWATCH_PATH).height, 513);
    EXPECT_EQ(asset_image(WOOD_SWATCH_PATH).width, 256);
    EXPECT_EQ(asset_image(WOOD_SWATCH_PATH).height, 256);
    EXPECT_NE(find_asset(all_assets(), SLOWMO_SHADER_PATH), nullptr);
}

TEST(SceneryAssets, PicturesSwatchesAndPortraitsAreFullyOpaque) {
    for (const char* path : {"assets/backgrounds/medieval_panorama.png", "assets/backgrounds/ending_sunset_wide.png",
                             "assets/backgrounds/cave_brick_seamless.png", STONE_SWATCH_PATH, WOOD_SWATCH_PATH,
                             "dragon_icon.png", "blue_knight_icon.png", "boss_knight_icon.png"}) {
        const PixelImage& img = asset_image(path);
        bool opaque = !img.pixels.empty();
        for (const Rgba& p : img.pixels) opaque = opaque && p.a == 255;
        EXPECT_TRUE(opaque) << path;
    }
}

TEST(SceneryAssets, EncodedFilesStayWithinTheEmbeddingBudget) {
    size_t total = 0;
    for (const GeneratedAsset& a : all_assets()) total += asset_bytes(a).size();
    EXPECT_LT(total, 6u * 1024u * 1024u);
    EXPECT_GT(total, 0u);
}

TEST(SceneryAssets, PathsAreUnique) {
    const auto& assets = all_assets();
    for (size_t i = 0; i < assets.size(); ++i) {
        for (size_t j = i + 1; j < assets.size(); ++j) EXPECT_NE(assets[i].path, assets[j].path);
    }
}

// ---------------------------------------------------------------- font

TEST(LetteringFont, NoTwoCharactersShareABitmap) {
    const std::string chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,!?'-:;/*";
    for (size_t i = 0; i < chars.size(); ++i) {
        const Glyph* a = find_glyph(chars[i]);
        ASSERT_NE(a, nullptr) << chars[i];
        for (size_t j = i + 1; j < chars.size(); ++j) {
            const Glyph* b = find_glyph(chars[j]);
            if (a->width != b->width) continue;
            bool same = true;
            for (int r = 0; r < GLYPH_ROWS && same; ++r) same = std::strcmp(a->rows[r], b->rows[r]) == 0;
            EXPECT_FALSE(same) << chars[i] << " and " << chars[j];
        }
    }
}

TEST(LetteringFont, OnlyDescendingLettersReachBelowTheBaseline) {
    const std::string descending = "gjpqy,;";
    for (char c = 33; c < 127; ++c) {
        const Glyph* g = find_glyph(c);
        if (g == nullptr) continue;
        bool below = false;
        for (int col = 0; col < g->width; ++col) below = below || glyph_ink(*g, col, 7) || glyph_ink(*g, col, 8);
        EXPECT_EQ(below, descending.find(c) != std::string::npos) << c;
        bool any = false;
        for (int row = 0; row < GLYPH_ROWS; ++row)
            for (int col = 0; col < g->width; ++col) any = any || glyph_ink(*g, col, row);
        EXPECT_TRUE(any) << "blank glyph " << c;
    }
}

TEST(LetteringFont, MeasuredWidthIsExactlyTheDrawnExtent) {
    for (int scale : {1, 2, 3, 6}) {
        for (const char* text : {"PLAY", "Now, fight!", "I am awake. Where am I?", "j", "W!"}) {
            const TextStyle style{scale, true};
            PixelImage img(text_width(text, style) + 40, line_height(style) + 20);
            draw_text(img, text, 0, 0, style);
            const InkBox box = ink_box(img);
            EXPECT_EQ(box.x0, 0) << text << " at " << scale;
            EXPECT_EQ(box.x1, text_width(text, style) - 1) << text << " at " << scale;
            EXPECT_LE(box.y1, line_height(style) - 1) << text << " at " << scale;
        }
    }
}

TEST(LetteringFont, UnknownCharactersAreReportedNotDrawn) {
    EXPECT_FALSE(text_fits_font("caf\xc3\xa9"));
    EXPECT_FALSE(text_fits_font("50%"));
    EXPECT_TRUE(text_fits_font("A/D to walk, Space or W to jump"));
    PixelImage img(60, 30);
    draw_text(img, "%", 0, 0, TextStyle{2, true});
    EXPECT_EQ(inked(img), 0);
}

// ---------------------------------------------------------- dialogue text

TEST(LetteringDialogue, RowsHoldExactlyTheCharactersTheBoxReveals) {
    for (const DialogueText& d : DIALOGUES) {
        EXPECT_EQ(static_cast<int>(std::strlen(d.row1)), d.row1_chars) << d.path;
        EXPECT_EQ(static_cast<int>(std::strlen(d.row2)), d.row2_chars) << d.path;
        EXPECT_TRUE(text_fits_font(d.row1) && text_fits_font(d.row2)) << d.path;
        EXPECT_GE(d.row1_chars, d.row2_chars) << d.path;
        EXPECT_EQ(d.width, DIALOGUE_CELL_WIDTH * d.row1_chars) << d.path;
        EXPECT_EQ(d.height, DIALOGUE_ROW_HEIGHT * (d.row2_chars > 0 ? 2 : 1)) << d.path;
        // A row never starts or ends with a blank: the reveal would stall.
        for (const char* row : {d.row1, d.row2}) {
            const size_t n = std::strlen(row);
            if (n == 0) continue;
            EXPECT_NE(row[0], ' ') << d.path;
            EXPECT_NE(row[n - 1], ' ') << d.path;
        }
    }
}

TEST(LetteringDialogue, EachCharacterIsDrawnWhollyInsideItsOwnCell) {
    // Rendering a character alone must give exactly the same cell as in the
    // full line, so revealing n cells never shows part of character n + 1.
    for (const DialogueText& d : DIALOGUES) {
        const PixelImage full = render_dialogue(d);
        for (int row = 0; row < (d.row2_chars > 0 ? 2 : 1); ++row) {
            const std::string text = row == 0 ? d.row1 : d.row2;
            for (size_t i = 0; i < text.size(); ++i) {
                DialogueText alone = d;
                std::string one_row(text.size(), ' ');
                one_row[i] = text[i];
                const std::string blank_other(row == 0 ? std::strlen(d.row2) : std::strlen(d.row1), ' ');
                alone.row1 = row == 0 ? one_row.c_str() : blank_other.c_str();
                alone.row2 = row == 1 ? one_row.c_str() : blank_other.c_str();
                const PixelImage single = render_dialogue(alone);
                for (int y = 0; y < full.height; ++y) {
                    for (int x = 0; x < full.width; ++x) {
                        const bool in_cell = x / DIALOGUE_CELL_WIDTH == static_cast<int>(i) && y / DIALOGUE_ROW_HEIGHT == row;
                        if (in_cell) {
                            ASSERT_TRUE(same_pixel(full.at(x, y), single.at(x, y)))
                                << d.path << " char " << i << " row " << row << " at " << x << "," << y;
                        } else {
                            ASSERT_EQ(single.at(x, y).a, 0)
                                << d.path << " char " << i << " row " << row << " spills to " << x << "," << y;
                        }
                    }
                }
            }
        }
    }
}

TEST(LetteringDialogue, BlankCellsStayEmptyAndLettersShowInk) {
    for (const DialogueText& d : DIALOGUES) {
        const PixelImage img = render_dialogue(d);
        for (int row = 0; row < 2; ++row) {
            const std::string text = row == 0 ? d.row1 : d.row2;
            for (int cell = 0; cell < d.width / DIALOGUE_CELL_WIDTH; ++cell) {
                int ink = 0;
                for (int y = row * DIALOGUE_ROW_HEIGHT; y < (row + 1) * DIALOGUE_ROW_HEIGHT && y < img.height; ++y)
                    for (int x = cell * DIALOGUE_CELL_WIDTH; x < (cell + 1) * DIALOGUE_CELL_WIDTH; ++x) ink += img.at(x, y).a != 0;
                const bool letter = cell < static_cast<int>(text.size()) && text[static_cast<size_t>(cell)] != ' ';
                EXPECT_EQ(ink > 0, letter) << d.path << " row " << row << " cell " << cell;
            }
        }
    }
}

// ------------------------------------------------------- labels, prompts

TEST(LetteringLabels, TextIsNeverClippedByItsImage) {
    for (const LabelText& l : LABELS) {
        ASSERT_TRUE(text_fits_font(l.row1) && text_fits_font(l.row2)) << l.path;
        const PixelImage img = render_label(l);
        // The same rows drawn on a roomy canvas must leave as much ink.
        const TextStyle style{l.scale, l.descenders};
        int expected = 0;
        for (const char* row : {l.row1, l.row2}) {
            if (row[0] == '\0') continue;
            PixelImage roomy(text_width(row, style) + 8, line_height(style) + 8);
            draw_text(roomy, row, 4, 4, style);
            expected += inked(roomy);
        }
        EXPECT_EQ(inked(img), expected) << l.path;
        const InkBox box = ink_box(img);
        EXPECT_GE(box.x0, 0) << l.path;
        EXPECT_LE(std::abs(box.x0 - (img.width - 1 - box.x1)), l.scale) << l.path << " is off centre";
    }
}

TEST(LetteringLabels, TwoRowPromptKeepsItsRowsApart) {
    for (const LabelText& l : LABELS) {
        if (l.row2[0] == '\0') continue;
        const PixelImage img = render_label(l);
        const int half = l.height / 2;
        bool upper = false, lower = false;
        for (int x = 0; x < img.width; ++x) {
            for (int y = 0; y < half; ++y) upper = upper || img.at(x, y).a != 0;
            for (int y = half; y < img.height; ++y) lower = lower || img.at(x, y).a != 0;
        }
        EXPECT_TRUE(upper && lower) << l.path;
        // Each row stays in its own half, descenders included.
        const InkBox first = ink_box(render_label({l.path, l.width, l.height, l.scale, l.descenders, l.row1, " "}));
        const InkBox second = ink_box(render_label({l.path, l.width, l.height, l.scale, l.descenders, " ", l.row2}));
        EXPECT_LT(first.y1, half) << l.path;
        EXPECT_GE(second.y0, half) << l.path;
    }
}

// -------------------------------------------------------------- swatches

TEST(ScenerySwatches, StoneCellsRepeatSeamlesslyOverTheWorldPeriod) {
    const PixelImage cells = subsample_cells(make_stone_swatch(), SWATCH_STEP);
    ASSERT_EQ(cells.width, 92);
    ASSERT_EQ(cells.height, 64);
    // The wrap seam may be no rougher than the pattern's own steps.
    EXPECT_LE(mean_step(cells, 1, 0, true), mean_step(cells, 1, 0, false) * 1.5 + 1.0);
    EXPECT_LE(mean_step(cells, 0, 1, true), mean_step(cells, 0, 1, false) * 1.5 + 1.0);
}

TEST(ScenerySwatches, WoodCellsRepeatSeamlesslyOverTheWorldPeriod) {
    const PixelImage cells = subsample_cells(make_wood_swatch(), SWATCH_STEP);
    ASSERT_EQ(cells.width, 32);
    ASSERT_EQ(cells.height, 32);
    EXPECT_LE(mean_step(cells, 1, 0, true), mean_step(cells, 1, 0, false) * 1.5 + 1.0);
    EXPECT_LE(mean_step(cells, 0, 1, true), mean_step(cells, 0, 1, false) * 1.5 + 1.0);
}

TEST(ScenerySwatches, RockAndGrainRunAlongTheRowsAndAreNotFlat) {
    for (const PixelImage& swatch : {make_stone_swatch(), make_wood_swatch()}) {
        const PixelImage cells = subsample_cells(swatch, SWATCH_STEP);
        const double along = mean_step(cells, 1, 0, false);
        const double across = mean_step(cells, 0, 1, false);
        EXPECT_LT(along, across);  // beds and planks are horizontal
        EXPECT_GT(along, 1.0);     // yet not a flat colour
        int lo = 255, hi = 0;
        for (const Rgba& p : cells.pixels) {
            lo = luma(p) < lo ? luma(p) : lo;
            hi = luma(p) > hi ? luma(p) : hi;
        }
        EXPECT_GT(hi - lo, 40);
    }
}

TEST(ScenerySwatches, TexelsBetweenSamplesNeverChangeWhatTheWorldSees) {
    // Texels past the last whole cell repeat the start of the pattern, so a
    // renderer that samples at any whole-cell step still sees the design.
    const PixelImage stone = make_stone_swatch();
    for (int y = 0; y < stone.height; ++y) {
        for (int x = 0; x < stone.width; ++x) {
            const Rgba& expect = stone.at((x / SWATCH_STEP) % STONE_CELLS_X * SWATCH_STEP,
                                          (y / SWATCH_STEP) % STONE_CELLS_Y * SWATCH_STEP);
            ASSERT_TRUE(same_pixel(stone.at(x, y), expect)) << x << "," << y;
        }
    }
}

TEST(ScenerySwatches, BrickTileWrapsWithSingleMortarLines) {
    const PixelImage tile = make_cave_brick();
    ASSERT_EQ(tile.width, BRICK_SIZE);
    auto mortar = [&](int x, int y) { return luma(tile.at(x % BRICK_SIZE, y % BRICK_SIZE)) < 60; };
    // Horizontal mortar every seventh row, also across the wrap.
    for (int y = 0; y < 2 * BRICK_SIZE; ++y) {
        bool full_row = true;
        for (int x = 0; x < BRICK_SIZE; ++x) full_row = full_row && mortar(x, y);
        EXPECT_EQ(full_row, y % 7 == 0) << "row " << y;
    }
    // Each course has exactly one head joint, and neighbouring courses stagger.
    int joint[2] = {-1, -1};
    for (int course = 0; course < 2; ++course) {
        int count = 0;
        for (int x = 0; x < BRICK_SIZE; ++x) {
            bool col = true;
            for (int y = course * 7 + 1; y < course * 7 + 7; ++y) col = col && mortar(x, y);
            if (col) {
                joint[course] = x;
                ++count;
            }
        }
        EXPECT_EQ(count, 1) << "course " << course;
    }
    EXPECT_EQ(std::abs(joint[0] - joint[1]), BRICK_SIZE / 2);
}

// ------------------------------------------------------------- portraits

TEST(SceneryPortraits, EveryDrawnKeyHasAColour) {
    for (const PortraitArt& art : PORTRAITS) {
        for (int r = 0; r < PORTRAIT_ART; ++r) {
            for (int c = 0; c < PORTRAIT_ART; ++c) {
                const char key = art.rows[r][c];
                if (key == '.') continue;
                bool found = false;
                for (int i = 0; i < art.palette_size; ++i) found = found || art.palette[i].key == key;
                EXPECT_TRUE(found) << art.path << " key '" << key << "' at " << c << "," << r;
            }
        }
    }
}

TEST(SceneryPortraits, SqueezedIntoTheDialogueWellEachCellIsAWholeBlock) {
    // The box draws every portrait point-sampled into 128 x 128 pixels; the
    // result must be the cell picture at exactly 4 x 4 pixels per cell.
    for (const PortraitArt& art : PORTRAITS) {
        const PixelImage img = make_portrait(art);
        const PixelImage cells = portrait_cells(art);
        for (int y = 0; y < 128; ++y) {
            const int ty = static_cast<int>((static_cast<int64_t>(y) * 2 + 1) * img.height / 256);
            for (int x = 0; x < 128; ++x) {
                const int tx = static_cast<int>((static_cast<int64_t>(x) * 2 + 1) * img.width / 256);
                ASSERT_TRUE(same_pixel(img.at(tx, ty), cells.at(x / 4, y / 4)))
                    << art.path << " at " << x << "," << y;
            }
        }
    }
}

// --------------------------------------------------------------- shaders

TEST(SlowMotionShaderText, DesktopAndWebVariantsComputeTheSameGrade) {
    auto body_lines = [](const std::string& text) {
        std::string lines;
        for (const char* key : {"float luma", "c.rgb = mix"}) {
            const size_t at = text.find(key);
            EXPECT_NE(at, std::string::npos) << key;
            if (at != std::string::npos) lines += text.substr(at, text.find('\n', at) - at) + "\n";
        }
        return lines;
    };
    EXPECT_EQ(body_lines(slowmo_shader_text()), body_lines(slowmo_web_shader_text()));
}

TEST(SlowMotionShaderText, UsesRaylibsDefaultInputsForEachDialect) {
    const std::string desktop = slowmo_shader_text(), web = slowmo_web_shader_text();
    EXPECT_EQ(desktop.rfind("#version 330\n", 0), 0u);
    EXPECT_EQ(web.rfind("#version 100\n", 0), 0u);
    for (const char* name : {"fragTexCoord", "fragColor", "uniform sampler2D texture0", "uniform vec4 colDiffuse"}) {
        EXPECT_NE(desktop.find(name), std::string::npos) << name;
        EXPECT_NE(web.find(name), std::string::npos) << name;
    }
    EXPECT_NE(desktop.find("out vec4 finalColor"), std::string::npos);
    EXPECT_NE(desktop.find("texture(texture0"), std::string::npos);
    EXPECT_NE(web.find("precision mediump float"), std::string::npos);
    EXPECT_NE(web.find("texture2D(texture0"), std::string::npos);
    EXPECT_NE(web.find("gl_FragColor"), std::string::npos);
}

TEST(SlowMotionShaderText, GradeTurnsColdAndKeepsAlpha) {
    const GradeColour warm = slowmo_grade({1.0f, 0.6f, 0.2f, 0.4f});
    EXPECT_FLOAT_EQ(warm.a, 0.4f);
    EXPECT_GT(warm.b, 0.2f);
    EXPECT_LT(warm.r, 1.0f);
    const GradeColour black = slowmo_grade({0.0f, 0.0f, 0.0f, 1.0f});
    EXPECT_FLOAT_EQ(black.r + black.g + black.b, 0.0f);
}
