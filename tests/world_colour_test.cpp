// Cell colours (palette, swatches, fades) and the background layer geometry.

#include <gtest/gtest.h>

#include <vector>

#include "render/world_render.h"
#include "test_swatch.h"

namespace {


Cell make_cell(Material m, uint8_t shade = 0) {
    Cell c{};
    c.material = m;
    c.shade = shade;
    return c;
}

Color palette(Material m, int variant) {
    return MATERIAL_COLORS[static_cast<size_t>(m)][static_cast<size_t>(variant)];
}

void expect_colour(Color got, Color want) {
    EXPECT_EQ(got.r, want.r);
    EXPECT_EQ(got.g, want.g);
    EXPECT_EQ(got.b, want.b);
    EXPECT_EQ(got.a, want.a);
}

const ImageColors NO_SWATCH{};

TEST(MaterialPalette, OnlyGlassIsTranslucent) {
    for (int m = 0; m < MATERIAL_COUNT; ++m) {
        for (int v = 0; v < PALETTE_VARIANTS; ++v) {
            const Color c = palette(static_cast<Material>(m), v);
            if (static_cast<Material>(m) == Material::Glass) {
                EXPECT_LT(c.a, 255) << "variant " << v;
            } else {
                EXPECT_EQ(c.a, 255) << "material " << m << " variant " << v;
            }
        }
    }
}

TEST(StoneSwatch, RowsAreAnchoredAtRow242AndWrapBackwards) {
    const TestSwatch stone(24, 16);  // 3 x 2 steps
    const Cell cell = make_cell(Material::Stone, 1);
    const Color at_anchor = cell_colour(cell, 0, 242, stone.image, NO_SWATCH);
    EXPECT_EQ(at_anchor.g, 0);
    const Color above = cell_colour(cell, 0, 241, stone.image, NO_SWATCH);
    EXPECT_EQ(above.g, 8);  // last row step, rows - 1 = 1
    const Color far_above = cell_colour(cell, 0, 0, stone.image, NO_SWATCH);
    EXPECT_EQ(far_above.g, 0);  // -242 is a multiple of 2
    const Color below = cell_colour(cell, 0, 243, stone.image, NO_SWATCH);
    EXPECT_EQ(below.g, 8);
    // Columns repeat every 3 cells from column 0; colour and alpha come
    // from the swatch, not the palette.
    const Color col4 = cell_colour(cell, 4, 242, stone.image, NO_SWATCH);
    EXPECT_EQ(col4.r, 8);
    EXPECT_EQ(col4.b, 7);
    EXPECT_EQ(col4.a, 200);
    EXPECT_EQ(cell_colour(cell, 3399, 242, stone.image, NO_SWATCH).r, 0);
}

TEST(StoneSwatch, RealSizeStaysInsideTheImage) {
    const TestSwatch stone(740, 513);  // 92 x 64 steps, last texel (728, 504)
    const Cell cell = make_cell(Material::Stone);
    const Color last = cell_colour(cell, 91, 241, stone.image, NO_SWATCH);
    EXPECT_EQ(last.r, static_cast<unsigned char>(728));
    EXPECT_EQ(last.g, static_cast<unsigned char>(504));
    const Color wrapped = cell_colour(cell, 92, 242 + 64, stone.image, NO_SWATCH);
    EXPECT_EQ(wrapped.r, 0);
    EXPECT_EQ(wrapped.g, 0);
}

TEST(StoneSwatch, TinySwatchRepeatsItsFirstPixel) {
    const TestSwatch stone(5, 3);  // narrower than one step: one texel
    const Color c = cell_colour(make_cell(Material::Stone), 17, 100, stone.image, NO_SWATCH);
    EXPECT_EQ(c.r, 0);
    EXPECT_EQ(c.g, 0);
    EXPECT_EQ(c.a, 200);
}

TEST(Swatches, UnusableSwatchFallsBackToThePalette) {
    TestSwatch good(16, 16);
    const ImageColors no_pixels{nullptr, 16, 16};
    const ImageColors zero_wide{good.pixels.data(), 0, 16};
    const ImageColors negative_high{good.pixels.data(), 16, -1};
    for (const ImageColors& bad : {no_pixels, zero_wide, negative_high}) {
        expect_colour(cell_colour(make_cell(Material::Stone, 2), 3, 250, bad, bad), palette(Material::Stone, 2));
        expect_colour(cell_colour(make_cell(Material::Wood, 3), 3, 250, bad, bad), palette(Material::Wood, 3));
    }
}

TEST(WoodSwatch, AnchoredAtRowZeroAndUsedOnlyForWood) {
    const TestSwatch wood(16, 24);  // 2 x 3 steps
    const Color c = cell_colour(make_cell(Material::Wood), 3, 7, NO_SWATCH, wood.image);
    EXPECT_EQ(c.r, 8);
    EXPECT_EQ(c.g, 8);
    // The stone swatch never colours wood, nor the wood swatch stone.
    expect_colour(cell_colour(make_cell(Material::Wood, 1), 3, 7, wood.image, NO_SWATCH),
                  palette(Material::Wood, 1));
    expect_colour(cell_colour(make_cell(Material::Stone, 1), 3, 7, NO_SWATCH, wood.image),
                  palette(Material::Stone, 1));
}

TEST(WoodSwatch, BurningWoodWarmsAndSaturates) {
    Cell burning = make_cell(Material::Wood, 0);  // 150, 111, 51
    burning.burning = true;
    expect_colour(cell_colour(burning, 0, 0, NO_SWATCH, NO_SWATCH), Color{205, 129, 33, 255});

    // On a swatch pixel near the limits the channels clamp instead of wrapping.
    std::vector<Color> px(64, Color{230, 250, 10, 255});
    const ImageColors hot{px.data(), 8, 8};
    expect_colour(cell_colour(burning, 0, 0, NO_SWATCH, hot), Color{255, 255, 0, 255});
    burning.burning = false;
    expect_colour(cell_colour(burning, 0, 0, NO_SWATCH, hot), Color{230, 250, 10, 255});
}

TEST(CellFades, SmokeThinsFrom220To40AsItAges) {
    Cell smoke = make_cell(Material::Smoke, 2);
    smoke.life_max = 100;
    smoke.life = 100;
    EXPECT_EQ(cell_colour(smoke, 0, 0, NO_SWATCH, NO_SWATCH).a, 220);
    smoke.life = 50;
    EXPECT_EQ(cell_colour(smoke, 0, 0, NO_SWATCH, NO_SWATCH).a, 130);
    smoke.life = 1;
    EXPECT_EQ(cell_colour(smoke, 0, 0, NO_SWATCH, NO_SWATCH).a, 41);
    smoke.life = 0;
    const Color gone = cell_colour(smoke, 0, 0, NO_SWATCH, NO_SWATCH);
    EXPECT_EQ(gone.a, 40);
    EXPECT_EQ(gone.r, palette(Material::Smoke, 2).r);

    Cell fresh = make_cell(Material::Smoke, 1);  // life_max 0: palette alpha
    fresh.life = 30;
    expect_colour(cell_colour(fresh, 0, 0, NO_SWATCH, NO_SWATCH), palette(Material::Smoke, 1));
}

TEST(CellFades, RemainsBloodAndPotionFadeOverTheirLast40LifeUnits) {
    for (Material m : {Material::KnightDebris, Material::OgreDebris, Material::Blood, Material::Potion}) {
        Cell c = make_cell(m, 3);
        c.life = 40;
        expect_colour(cell_colour(c, 0, 0, NO_SWATCH, NO_SWATCH), palette(m, 3));
        c.life = 39;
        EXPECT_EQ(cell_colour(c, 0, 0, NO_SWATCH, NO_SWATCH).a, 248);
        c.life = 20;
        EXPECT_EQ(cell_colour(c, 0, 0, NO_SWATCH, NO_SWATCH).a, 127);
        c.life = 0;
        EXPECT_EQ(cell_colour(c, 0, 0, NO_SWATCH, NO_SWATCH).a, 0);
        c.life = -5;
        const Color negative = cell_colour(c, 0, 0, NO_SWATCH, NO_SWATCH);
        EXPECT_EQ(negative.a, 0);
        EXPECT_EQ(negative.r, palette(m, 3).r);
    }
    // Materials that do not fade ignore their life.
    Cell sand = make_cell(Material::Sand, 2);
    sand.life = 3;
    expect_colour(cell_colour(sand, 0, 0, NO_SWATCH, NO_SWATCH), palette(Material::Sand, 2));
}

TEST(Panorama, ScrollsAcrossItsWidthWithTheCamera) {
    const float window_w = 725.0f * 1080.0f / 609.0f;
    const Rectangle start = panorama_source(2168.0f, 725.0f, 0.0f);
    EXPECT_FLOAT_EQ(start.x, 0.0f);
    EXPECT_FLOAT_EQ(start.width, window_w);
    EXPECT_FLOAT_EQ(start.height, 725.0f);
    const Rectangle end = panorama_source(2168.0f, 725.0f, 3040.0f);
    EXPECT_FLOAT_EQ(end.x, 2168.0f - window_w);
    EXPECT_FLOAT_EQ(end.x + end.width, 2168.0f);
    const Rectangle middle = panorama_source(2168.0f, 725.0f, 1520.0f);
    EXPECT_FLOAT_EQ(middle.x, 0.5f * (2168.0f - window_w));
    EXPECT_FLOAT_EQ(panorama_source(2168.0f, 725.0f, 5000.0f).x, end.x);
}

TEST(Panorama, NarrowImageIsDrawnUnscrolledAndStretched) {
    const Rectangle narrow = panorama_source(1000.0f, 725.0f, 2000.0f);
    EXPECT_FLOAT_EQ(narrow.x, 0.0f);
    EXPECT_FLOAT_EQ(narrow.width, 1000.0f);
    EXPECT_FLOAT_EQ(narrow.height, 725.0f);
}

TEST(CaveLayer, EndsOnceTheViewPassesColumn1100) {
    EXPECT_LE(cave_edges(1100.0f).right, 0.0f);
    EXPECT_LE(cave_edges(2500.0f).right, 0.0f);
    EXPECT_GT(cave_edges(1099.5f).right, 0.0f);
    const CaveEdges start = cave_edges(0.0f);
    EXPECT_FLOAT_EQ(start.right, 1080.0f);
    EXPECT_FLOAT_EQ(start.fade, 2640.0f);
    const CaveEdges mouth = cave_edges(900.0f);
    EXPECT_FLOAT_EQ(mouth.right, 600.0f);
    EXPECT_FLOAT_EQ(mouth.fade, -60.0f);
}

TEST(CaveLayer, BricksFadeBetweenColumns880And1100) {
    EXPECT_EQ(cave_brick_alpha(0), 255);
    EXPECT_EQ(cave_brick_alpha(868), 255);
    EXPECT_EQ(cave_brick_alpha(880), 255);
    EXPECT_EQ(cave_brick_alpha(882), 252);
    EXPECT_EQ(cave_brick_alpha(990), 127);
    EXPECT_EQ(cave_brick_alpha(1092), 9);
    EXPECT_EQ(cave_brick_alpha(1100), 0);
    EXPECT_EQ(cave_brick_alpha(1106), 0);
}

}  // namespace
