#include "scenery.h"

#include <cmath>
#include <vector>

#include "paint.h"

namespace {

// ---------------------------------------------------------------- helpers

struct Light {
    float x, y;        // where the sun sits
    Colf glow;         // its light on sky and rims
};

float absf(float v) { return v < 0.0f ? -v : v; }

// +1 left of the sun, -1 right of it, easing through zero beneath it so
// no seam runs down from the sun.
float toward_sun(const Light& sun, int x) { return clampf((sun.x - static_cast<float>(x)) / 160.0f, -1.0f, 1.0f); }

// Mountain or hill outline: y of the crest per column. Sharp ridges fold
// the noise so peaks come to points.
std::vector<float> crest_line(int width, float base, float amplitude, float wavelength, uint32_t seed, int octaves,
                              float sharpness) {
    std::vector<float> crest(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        const float n = fbm_1d(static_cast<float>(x) / wavelength, seed, octaves);
        const float folded = 1.0f - absf(2.0f * n - 1.0f);
        const float m = lerpf(n, folded * folded, sharpness);
        crest[static_cast<size_t>(x)] = base - amplitude * m;
    }
    return crest;
}

// Lifts the crest into a smooth mound centred on cx (a seat for a castle);
// a negative height cuts a pass instead.
void raise_mound(std::vector<float>& crest, float cx, float half_width, float height) {
    for (size_t x = 0; x < crest.size(); ++x) {
        const float d = absf(static_cast<float>(x) - cx) / half_width;
        if (d >= 1.0f) continue;
        const float k = 1.0f - d * d;
        crest[x] -= height * k * k;
    }
}

float slope_at(const std::vector<float>& crest, int x, int reach) {
    const int w = static_cast<int>(crest.size());
    const int a = x - reach < 0 ? 0 : x - reach;
    const int b = x + reach >= w ? w - 1 : x + reach;
    return (crest[static_cast<size_t>(b)] - crest[static_cast<size_t>(a)]) / static_cast<float>(b - a);
}

// Fills everything below a crest; colour_at(x, y, depth below the crest).
template <typename ColourAt>
void fill_below_crest(Canvas& canvas, const std::vector<float>& crest, ColourAt colour_at) {
    for (int x = 0; x < canvas.width; ++x) {
        const float r = crest[static_cast<size_t>(x)];
        int y = static_cast<int>(r) - 1;
        if (y < 0) y = 0;
        for (; y < canvas.height; ++y) {
            const float cover = clamp01(static_cast<float>(y + 1) - r);
            if (cover <= 0.0f) continue;
            canvas.blend(x, y, colour_at(x, y, static_cast<float>(y) + 0.5f - r), cover);
        }
    }
}

float crest_at(const std::vector<float>& crest, float x) {
    int i = static_cast<int>(x);
    if (i < 0) i = 0;
    if (i >= static_cast<int>(crest.size())) i = static_cast<int>(crest.size()) - 1;
    return crest[static_cast<size_t>(i)];
}

// Lowest crest point under a footprint, so buildings never float.
float footing(const std::vector<float>& crest, float x0, float x1) {
    float y = crest_at(crest, x0);
    for (float x = x0; x <= x1; x += 1.0f) {
        const float c = crest_at(crest, x);
        y = c > y ? c : y;
    }
    return y;
}

void window_light(Canvas& canvas, float x, float y, float w, float h, Colf lit) {
    fill_rect(canvas, x, y, x + w, y + h, lit, 0.95f);
    fill_rect(canvas, x - w, y - h * 0.5f, x + 2.0f * w, y + h * 1.5f, lit, 0.12f);
}

void merlons(Canvas& canvas, float x0, float x1, float top, float u, Colf colour) {
    for (float x = x0; x + 2.0f * u <= x1 + 0.01f; x += 4.0f * u) fill_rect(canvas, x, top - 2.5f * u, x + 2.0f * u, top + 0.5f, colour);
}

void spire(Canvas& canvas, float x0, float x1, float base, float height, Colf colour) {
    const float overhang = (x1 - x0) * 0.12f;
    fill_polygon(canvas, {{x0 - overhang, base}, {(x0 + x1) * 0.5f, base - height}, {x1 + overhang, base}}, colour);
}

// A castle silhouette: curtain wall, two roofed towers and a central keep
// with a pennant; u is the size of one masonry unit in pixels.
void draw_castle(Canvas& canvas, float cx, float base, float u, Colf wall, Colf roof, Colf lit, uint32_t seed) {
    const float ground = base + 14.0f * u;  // foundations run into the hill
    fill_rect(canvas, cx - 28.0f * u, base - 16.0f * u, cx + 28.0f * u, ground, wall);
    merlons(canvas, cx - 28.0f * u, cx + 28.0f * u, base - 16.0f * u, u, wall);
    // Keep.
    fill_rect(canvas, cx - 9.0f * u, base - 38.0f * u, cx + 9.0f * u, ground, wall);
    merlons(canvas, cx - 9.0f * u, cx + 9.0f * u, base - 38.0f * u, u, wall);
    fill_rect(canvas, cx - 0.3f * u, base - 52.0f * u, cx + 0.3f * u, base - 38.0f * u, wall);
    fill_polygon(canvas, {{cx + 0.3f * u, base - 52.0f * u}, {cx + 7.0f * u, base - 50.0f * u}, {cx + 0.3f * u, base - 48.0f * u}},
                 roof);
    // Towers.
    for (int side = -1; side <= 1; side += 2) {
        const float tx0 = cx + static_cast<float>(side) * 24.0f * u - 5.0f * u;
        const float tx1 = tx0 + 10.0f * u;
        fill_rect(canvas, tx0, base - 30.0f * u, tx1, ground, wall);
        spire(canvas, tx0, tx1, base - 30.0f * u, 15.0f * u, roof);
        window_light(canvas, (tx0 + tx1) * 0.5f - 0.7f * u, base - 24.0f * u, 1.4f * u, 2.6f * u, lit);
    }
    // A small inner tower beside the keep.
    fill_rect(canvas, cx + 9.0f * u, base - 27.0f * u, cx + 15.0f * u, ground, wall);
    spire(canvas, cx + 9.0f * u, cx + 15.0f * u, base - 27.0f * u, 9.0f * u, roof);
    // Lit windows, a few per face.
    for (int i = 0; i < 7; ++i) {
        const float wx = cx - 7.0f * u + 3.0f * u * static_cast<float>(i % 5) + hash01(i, 1, seed) * u;
        const float wy = base - 33.0f * u + 7.0f * u * static_cast<float>(i / 5) + hash01(i, 2, seed) * 3.0f * u;
        if (hash01(i, 3, seed) < 0.7f) window_light(canvas, wx, wy, 1.2f * u, 2.2f * u, lit);
    }
    for (int i = 0; i < 6; ++i) {
        const float wx = cx - 26.0f * u + 9.5f * u * static_cast<float>(i);
        if (hash01(i, 4, seed) < 0.5f) window_light(canvas, wx, base - 11.0f * u, 1.1f * u, 2.0f * u, lit);
    }
}

void draw_house(Canvas& canvas, float x, float base, float w, float h, Colf wall, Colf roof, Colf lit, uint32_t seed,
                int index) {
    const float roof_h = h * (0.7f + 0.4f * hash01(index, 0, seed));
    fill_rect(canvas, x, base - h, x + w, base + 6.0f, wall);
    fill_polygon(canvas, {{x - 2.0f, base - h + 0.5f}, {x + w * 0.5f, base - h - roof_h}, {x + w + 2.0f, base - h + 0.5f}},
                 roof);
    if (hash01(index, 1, seed) < 0.5f) fill_rect(canvas, x + w * 0.7f, base - h - roof_h * 0.9f, x + w * 0.7f + 2.5f,
                                                 base - h - roof_h * 0.3f, roof);
    if (hash01(index, 2, seed) < 0.75f) window_light(canvas, x + w * 0.3f, base - h * 0.65f, 2.0f, 2.5f, lit);
    if (w > 16.0f && hash01(index, 3, seed) < 0.5f) window_light(canvas, x + w * 0.65f, base - h * 0.6f, 2.0f, 2.5f, lit);
}

void draw_church(Canvas& canvas, float x, float base, float s, Colf wall, Colf roof, Colf lit) {
    fill_rect(canvas, x, base - 12.0f * s, x + 20.0f * s, base + 6.0f, wall);
    fill_polygon(canvas, {{x - 1.0f, base - 12.0f * s}, {x + 10.0f * s, base - 20.0f * s}, {x + 20.0f * s + 1.0f, base - 12.0f * s}},
                 roof);
    fill_rect(canvas, x + 14.0f * s, base - 26.0f * s, x + 21.0f * s, base + 6.0f, wall);
    spire(canvas, x + 14.0f * s, x + 21.0f * s, base - 26.0f * s, 18.0f * s, roof);
    window_light(canvas, x + 16.5f * s, base - 22.0f * s, 1.8f * s, 3.0f * s, lit);
    window_light(canvas, x + 5.0f * s, base - 8.0f * s, 1.5f * s, 3.0f * s, lit);
}

void draw_conifer(Canvas& canvas, float x, float base, float h, Colf colour) {
    fill_rect(canvas, x - h * 0.04f, base - h * 0.2f, x + h * 0.04f, base + 4.0f, colour);
    for (int tier = 0; tier < 3; ++tier) {
        const float t = static_cast<float>(tier);
        const float top = base - h + t * h * 0.22f;
        const float bottom = base - h * 0.42f + t * h * 0.2f;
        const float half = h * (0.13f + 0.06f * t);
        fill_polygon(canvas, {{x, top}, {x + half, bottom}, {x - half, bottom}}, colour);
    }
}

void draw_broadleaf(Canvas& canvas, float x, float base, float h, Colf colour, uint32_t seed, int index) {
    fill_rect(canvas, x - h * 0.05f, base - h * 0.45f, x + h * 0.05f, base + 4.0f, colour);
    for (int k = 0; k < 5; ++k) {
        const float ox = (hash01(index, k, seed) - 0.5f) * h * 0.5f;
        const float oy = hash01(index, k + 9, seed) * h * 0.3f;
        const float r = h * (0.2f + 0.1f * hash01(index, k + 17, seed));
        fill_ellipse(canvas, x + ox, base - h * 0.62f + oy, r, r * 0.9f, colour);
    }
}

// A row of trees along a crest, mostly firs with some broadleaves.
void draw_treeline(Canvas& canvas, const std::vector<float>& crest, float x0, float x1, float spacing, float h_min,
                   float h_max, Colf colour, uint32_t seed) {
    int i = 0;
    for (float x = x0; x < x1; x += spacing * (0.55f + 0.9f * hash01(i, 0, seed)), ++i) {
        const float h = lerpf(h_min, h_max, hash01(i, 1, seed));
        const float base = crest_at(crest, x) + 3.0f;
        if (hash01(i, 2, seed) < 0.72f) {
            draw_conifer(canvas, x, base, h, colour);
        } else {
            draw_broadleaf(canvas, x, base, h * 0.8f, colour, seed, i);
        }
    }
}

Colf sky_at(const Colf* stops, int count, float y, float horizon) { return ramp(stops, count, y / horizon); }

void add_glow(Canvas& canvas, const Light& sun, float radius, float strength, int y_limit) {
    for (int y = 0; y < y_limit && y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const float dx = (static_cast<float>(x) - sun.x) / radius;
            const float dy = (static_cast<float>(y) - sun.y) / (radius * 0.55f);
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d >= 1.0f) continue;
            const float k = (1.0f - d) * (1.0f - d);
            Colf& p = canvas.at(x, y);
            p = add(p, scale(sun.glow, k * strength));
        }
    }
}

// Long horizontal clouds: dark plum above, lit from below by the sun.
void draw_clouds(Canvas& canvas, const Light& sun, float y0, float y1, float wavelength, uint32_t seed, float amount,
                 Colf shade, Colf lit) {
    for (int y = static_cast<int>(y0); y < static_cast<int>(y1); ++y) {
        const float band = smoothstep(y0, y0 + 40.0f, static_cast<float>(y)) * (1.0f - smoothstep(y1 - 60.0f, y1, static_cast<float>(y)));
        for (int x = 0; x < canvas.width; ++x) {
            const float n = fbm_2d(static_cast<float>(x) / wavelength, static_cast<float>(y) / (wavelength * 0.11f), seed, 5);
            const float d = smoothstep(1.0f - amount, 1.0f - amount + 0.16f, n) * band;
            if (d <= 0.0f) continue;
            // Thin cloud edges and the lower side catch the light.
            const float below = fbm_2d(static_cast<float>(x) / wavelength, static_cast<float>(y + 6) / (wavelength * 0.11f), seed, 5);
            const float edge = clamp01((n - below) * 6.0f + 0.35f);
            const float near_sun = 1.0f - clamp01(absf(static_cast<float>(x) - sun.x) / (static_cast<float>(canvas.width) * 0.6f));
            const Colf c = mix(shade, lit, clamp01(edge * (0.45f + 0.55f * near_sun) + (static_cast<float>(y) / y1) * 0.3f));
            canvas.blend(x, y, c, d * 0.85f);
        }
    }
}

void draw_stars(Canvas& canvas, float y_limit, uint32_t seed) {
    for (int y = 0; y < static_cast<int>(y_limit); ++y) {
        const float fade = 1.0f - static_cast<float>(y) / y_limit;
        for (int x = 0; x < canvas.width; ++x) {
            const float h = hash01(x, y, seed);
            if (h > 0.0007f) continue;
            canvas.blend(x, y, rgb(255, 236, 214), fade * (0.35f + 500.0f * h));
        }
    }
}

// --------------------------------------------------------------- panorama

constexpr Colf PANORAMA_SKY[] = {
    rgb(24, 22, 46), rgb(44, 36, 70), rgb(82, 54, 90), rgb(146, 80, 96), rgb(206, 118, 94), rgb(238, 164, 108),
    rgb(250, 200, 138),
};
constexpr int PANORAMA_SKY_STOPS = static_cast<int>(sizeof(PANORAMA_SKY) / sizeof(PANORAMA_SKY[0]));
constexpr Colf WINDOW_LIGHT = rgb(255, 196, 112);

Colf mountain_colour(const std::vector<float>& crest, const Light& sun, int x, int y, float depth, Colf dark, Colf lit,
                     Colf haze, float haze_depth, uint32_t seed) {
    // Faces turned toward the sun are lit near the crest; further down the
    // face is judged over a wider stretch so the light spreads into broad
    // shoulders instead of stripes.
    const float toward = toward_sun(sun, x);
    const int reach = 4 + static_cast<int>(depth * 0.6f);
    const float face = clamp01(0.5f + slope_at(crest, x, reach) * toward * 1.5f);
    const float near_crest = 1.0f - smoothstep(0.0f, 120.0f, depth);
    const float rock = fbm_2d(static_cast<float>(x) / 90.0f, static_cast<float>(y) / 40.0f, seed, 4);
    const float light = clamp01(face * (0.25f + 0.75f * near_crest) + (rock - 0.5f) * 0.45f - 0.1f);
    const Colf c = mix(dark, lit, light);
    return mix(c, haze, smoothstep(0.0f, haze_depth, depth) * 0.65f);
}

// A mountain range: the main crest and a lower inner ridge that gives the
// range depth.
template <typename Snow>
void draw_range(Canvas& canvas, const std::vector<float>& crest, const std::vector<float>& inner, const Light& sun,
                Colf dark, Colf lit, Colf haze, float haze_depth, uint32_t seed, Snow snow) {
    fill_below_crest(canvas, crest, [&](int x, int y, float depth) {
        return snow(x, y, depth, crest, mountain_colour(crest, sun, x, y, depth, dark, lit, haze, haze_depth, seed));
    });
    // The inner ridge fades out where it would climb over the main crest.
    std::vector<float> inner_below(inner.size()), opacity(inner.size());
    for (size_t x = 0; x < inner.size(); ++x) {
        inner_below[x] = inner[x] > crest[x] ? inner[x] : crest[x];
        opacity[x] = smoothstep(6.0f, 40.0f, inner[x] - crest[x]);
    }
    fill_below_crest(canvas, inner_below, [&](int x, int y, float depth) {
        const float below_crest = static_cast<float>(y) - crest[static_cast<size_t>(x)];
        const Colf c = mountain_colour(inner, sun, x, y, depth, dark, lit, haze, haze_depth, seed + 1U);
        const Colf under = canvas.at(x, y);
        return mix(under, mix(c, haze, smoothstep(0.0f, haze_depth, below_crest) * 0.45f), opacity[static_cast<size_t>(x)]);
    });
}

}  // namespace

PixelImage make_panorama() {
    const int W = PANORAMA_WIDTH, H = PANORAMA_HEIGHT;
    const float h = static_cast<float>(H);
    const float horizon = h * 0.7f;
    const Light sun{1010.0f, h * 0.47f, rgb(255, 170, 100)};
    Canvas canvas(W, H, rgb(0, 0, 0));

    for (int y = 0; y < H; ++y) {
        const Colf c = sky_at(PANORAMA_SKY, PANORAMA_SKY_STOPS, static_cast<float>(y), horizon);
        for (int x = 0; x < W; ++x) canvas.at(x, y) = c;
    }
    draw_stars(canvas, h * 0.3f, 0x5747U);
    add_glow(canvas, sun, 900.0f, 0.55f, H);
    add_glow(canvas, sun, 260.0f, 0.5f, H);
    fill_ellipse(canvas, sun.x, sun.y, 44.0f, 44.0f, rgb(255, 236, 192));
    draw_clouds(canvas, sun, h * 0.06f, h * 0.5f, 520.0f, 0xC10D5U, 0.42f, rgb(60, 42, 76), rgb(248, 166, 118));

    // Far range with snow on the high peaks; a pass lets the sun through.
    std::vector<float> far = crest_line(W, h * 0.5f, h * 0.27f, 260.0f, 0xFA4U, 5, 0.75f);
    raise_mound(far, sun.x, 260.0f, -h * 0.13f);
    std::vector<float> far_inner = crest_line(W, h * 0.56f, h * 0.16f, 150.0f, 0xFA7U, 4, 0.6f);
    draw_range(canvas, far, far_inner, sun, rgb(92, 74, 118), rgb(200, 138, 146), rgb(206, 140, 122), 170.0f, 0xFA5U,
               [&](int x, int y, float depth, const std::vector<float>& crest, Colf c) {
                   const float top = crest[static_cast<size_t>(x)];
                   const float peak = clamp01((h * 0.4f - top) / (h * 0.14f));
                   const float reach = 36.0f * peak * (0.45f + 0.9f * fbm_2d(x / 14.0f, y / 10.0f, 0xFA6U, 3));
                   if (depth >= reach) return c;
                   const float toward = toward_sun(sun, x);
                   const float face = clamp01(0.5f + slope_at(crest, x, 4) * toward * 2.0f);
                   return mix(c, mix(rgb(168, 148, 186), rgb(252, 214, 200), face), 0.85f);
               });

    std::vector<float> mid = crest_line(W, h * 0.6f, h * 0.17f, 190.0f, 0x41DU, 4, 0.55f);
    raise_mound(mid, sun.x - 60.0f, 200.0f, -h * 0.05f);
    std::vector<float> mid_inner = crest_line(W, h * 0.65f, h * 0.09f, 120.0f, 0x41FU, 3, 0.5f);
    draw_range(canvas, mid, mid_inner, sun, rgb(66, 52, 88), rgb(150, 98, 118), rgb(176, 112, 110), 140.0f, 0x41EU,
               [](int, int, float, const std::vector<float>&, Colf c) { return c; });

    // Rolling far hills: a castle on a knoll to the west, a hamlet to the
    // east. Buildings and trees go down first so the hill covers their feet.
    std::vector<float> hills = crest_line(W, h * 0.68f, h * 0.07f, 240.0f, 0x4177U, 3, 0.0f);
    raise_mound(hills, 380.0f, 150.0f, 34.0f);
    const Colf hill_colour = rgb(60, 48, 74);
    draw_castle(canvas, 380.0f, footing(hills, 340.0f, 420.0f) + 3.0f, 2.0f, rgb(52, 40, 64), rgb(44, 32, 56), WINDOW_LIGHT,
                11U);
    for (int i = 0; i < 9; ++i) {
        const float x = 1290.0f + static_cast<float>(i) * 21.0f + hash01(i, 5, 0x7A3U) * 8.0f;
        const float w = 12.0f + hash01(i, 6, 0x7A3U) * 8.0f;
        draw_house(canvas, x, footing(hills, x, x + w) + 2.0f, w, 8.0f + hash01(i, 7, 0x7A3U) * 5.0f, rgb(52, 40, 64),
                   rgb(46, 34, 58), WINDOW_LIGHT, 0x7A3U, i);
    }
    draw_treeline(canvas, hills, 560.0f, 1180.0f, 9.0f, 12.0f, 22.0f, rgb(50, 40, 64), 0x7E1U);
    draw_treeline(canvas, hills, 1560.0f, 2168.0f, 9.0f, 12.0f, 22.0f, rgb(50, 40, 64), 0x7E2U);
    fill_below_crest(canvas, hills, [&](int x, int, float depth) {
        const float toward = toward_sun(sun, x);
        const float face = clamp01(0.5f + slope_at(hills, x, 10) * toward * 3.0f);
        const Colf c = mix(hill_colour, rgb(104, 70, 86), face * (1.0f - smoothstep(0.0f, 30.0f, depth)));
        return mix(c, rgb(150, 96, 100), smoothstep(0.0f, 120.0f, depth) * 0.55f);
    });

    // The lake in the vale mirrors the sky, with the sun's glint on it.
    const float lake_top = h * 0.735f;
    for (int y = static_cast<int>(lake_top); y < static_cast<int>(h * 0.8f); ++y) {
        const float mirror = 2.0f * lake_top - static_cast<float>(y) - 60.0f;
        const Colf sky = sky_at(PANORAMA_SKY, PANORAMA_SKY_STOPS, mirror, horizon);
        for (int x = 700; x < 1420; ++x) {
            const float fx = (static_cast<float>(x) - 1060.0f) / 360.0f;
            const float fy = (static_cast<float>(y) - lake_top) / (h * 0.065f);
            const float inside = 1.0f - (fx * fx + (fy - 0.6f) * (fy - 0.6f) * 2.2f);
            if (inside <= 0.0f) continue;
            const float ripple = value_noise_2d(x / 30.0f, static_cast<float>(y) / 1.5f, 0x1A4EU);
            const float glint = (1.0f - clamp01(absf(static_cast<float>(x) - sun.x) / 50.0f)) * ripple;
            Colf c = mix(scale(sky, 0.5f), rgb(255, 214, 150), glint * 0.6f);
            c = mix(c, scale(sky, 0.4f), ripple * 0.35f);
            canvas.blend(x, y, c, clamp01(inside * 6.0f));
        }
    }

    // Near hills: the village by the lake and the dark keep in the east.
    std::vector<float> near = crest_line(W, h * 0.77f, h * 0.08f, 200.0f, 0x4EA4U, 3, 0.0f);
    raise_mound(near, 1800.0f, 230.0f, 80.0f);
    for (size_t x = 700; x < 1420; ++x) {
        // Let the ground dip so the lake shows between the hills.
        const float fx = (static_cast<float>(x) - 1060.0f) / 360.0f;
        near[x] += (1.0f - fx * fx) * h * 0.05f;
    }
    const Colf near_colour = rgb(40, 34, 52);
    const Colf village_wall = rgb(36, 30, 46), village_roof = rgb(30, 24, 38);
    for (int i = 0; i < 12; ++i) {
        const float x = 520.0f + static_cast<float>(i) * 24.0f + hash01(i, 5, 0xB11U) * 10.0f;
        const float w = 14.0f + hash01(i, 6, 0xB11U) * 10.0f;
        draw_house(canvas, x, footing(near, x, x + w) + 2.0f, w, 10.0f + hash01(i, 7, 0xB11U) * 6.0f, village_wall,
                   village_roof, WINDOW_LIGHT, 0xB11U, i);
    }
    draw_church(canvas, 660.0f, footing(near, 660.0f, 690.0f) + 2.0f, 1.6f, village_wall, village_roof, WINDOW_LIGHT);
    draw_castle(canvas, 1800.0f, footing(near, 1750.0f, 1850.0f) + 4.0f, 3.0f, rgb(30, 24, 38), rgb(24, 18, 32),
                rgb(255, 120, 80), 23U);
    draw_treeline(canvas, near, 0.0f, 500.0f, 11.0f, 18.0f, 34.0f, rgb(34, 28, 44), 0x7E3U);
    draw_treeline(canvas, near, 1400.0f, 1640.0f, 11.0f, 18.0f, 34.0f, rgb(34, 28, 44), 0x7E4U);
    draw_treeline(canvas, near, 1960.0f, 2168.0f, 11.0f, 18.0f, 34.0f, rgb(34, 28, 44), 0x7E5U);
    fill_below_crest(canvas, near, [&](int x, int, float depth) {
        const float toward = toward_sun(sun, x);
        const float face = clamp01(0.5f + slope_at(near, x, 10) * toward * 3.0f);
        const Colf c = mix(near_colour, rgb(88, 58, 70), face * (1.0f - smoothstep(0.0f, 24.0f, depth)));
        return mix(c, rgb(96, 66, 82), smoothstep(10.0f, 110.0f, depth) * 0.4f);
    });

    // Forest edge and the dark foreground.
    const std::vector<float> forest = crest_line(W, h * 0.87f, h * 0.04f, 150.0f, 0xF0AU, 3, 0.0f);
    draw_treeline(canvas, forest, -10.0f, 2180.0f, 13.0f, 30.0f, 64.0f, rgb(26, 22, 36), 0x7E6U);
    fill_below_crest(canvas, forest, [&](int, int, float depth) {
        return mix(rgb(26, 22, 36), rgb(18, 16, 26), smoothstep(0.0f, 60.0f, depth));
    });
    const std::vector<float> front = crest_line(W, h * 0.95f, h * 0.03f, 120.0f, 0xF0BU, 2, 0.0f);
    draw_treeline(canvas, front, 40.0f, 2168.0f, 160.0f, 80.0f, 130.0f, rgb(16, 14, 22), 0x7E7U);
    fill_below_crest(canvas, front, [&](int, int, float) { return rgb(16, 14, 22); });

    return to_image(canvas);
}

// ---------------------------------------------------------------- ending

namespace {

constexpr Colf SUNSET_SKY[] = {
    rgb(40, 20, 58), rgb(78, 30, 78), rgb(138, 44, 84), rgb(200, 78, 78), rgb(240, 128, 74), rgb(252, 184, 104),
    rgb(255, 222, 150),
};
constexpr int SUNSET_SKY_STOPS = static_cast<int>(sizeof(SUNSET_SKY) / sizeof(SUNSET_SKY[0]));

// The grown dragon in silhouette, standing on the crag with wings raised,
// facing the sun; (ox, oy) is the point between its feet, y grows down.
struct WingShape {
    Pt shoulder, elbow, wrist;
    Pt tips[4];   // finger tips along the trailing edge, wrist side first
    Pt root;      // where the membrane meets the flank
};

void draw_wing(Canvas& mask, const WingShape& w, float bone, Colf ink) {
    std::vector<Pt> membrane = {w.shoulder, w.elbow, w.wrist};
    Pt from = w.wrist;
    // Each span of membrane sags toward the wrist between two fingers.
    for (int i = 0; i <= 4; ++i) {
        const Pt to = i < 4 ? w.tips[i] : w.root;
        const Pt mid{(from.x + to.x) * 0.5f, (from.y + to.y) * 0.5f};
        const Pt sag{mid.x + (w.wrist.x - mid.x) * 0.22f, mid.y + (w.wrist.y - mid.y) * 0.22f};
        append_quad(membrane, from, i == 0 ? mid : sag, to, 10);
        from = to;
    }
    fill_polygon(mask, membrane, ink);
    fill_capsule(mask, w.shoulder, w.elbow, bone * 1.6f, bone * 1.2f, ink);
    fill_capsule(mask, w.elbow, w.wrist, bone * 1.2f, bone, ink);
    for (const Pt& tip : w.tips) fill_capsule(mask, w.wrist, tip, bone * 0.7f, bone * 0.35f, ink);
    // A claw on the wrist.
    fill_polygon(mask, {{w.wrist.x - bone, w.wrist.y}, {w.wrist.x + bone * 0.6f, w.wrist.y - bone * 4.0f},
                        {w.wrist.x + bone, w.wrist.y + bone * 0.5f}},
                 ink);
}

void draw_dragon(Canvas& mask, float ox, float oy, float s) {
    const Colf ink = rgb(255, 255, 255);
    auto P = [&](float x, float y) { return Pt{ox + x * s, oy + y * s}; };
    // Far wing, raised behind the neck.
    draw_wing(mask, {P(18, -66), P(54, -128), P(72, -200), {P(30, -214), P(-8, -198), P(-24, -158), P(-12, -112)},
                     P(6, -74)},
              3.0f * s, ink);
    // Tail curling along the rock.
    const Pt tail[] = {P(-40, -34), P(-74, -22), P(-104, -10), P(-134, -4), P(-160, -8), P(-178, -18)};
    for (int i = 0; i + 1 < 6; ++i) {
        const float r0 = (14.0f - 2.3f * static_cast<float>(i)) * s;
        fill_capsule(mask, tail[i], tail[i + 1], r0, r0 - 2.3f * s, ink);
    }
    fill_polygon(mask, {P(-176, -14), P(-196, -30), P(-186, -10), P(-194, 0)}, ink);
    // Legs.
    fill_capsule(mask, P(-26, -38), P(-34, -14), 18.0f * s, 10.0f * s, ink);
    fill_capsule(mask, P(-34, -14), P(-22, 0), 9.0f * s, 6.0f * s, ink);
    fill_capsule(mask, P(24, -36), P(30, -12), 13.0f * s, 8.0f * s, ink);
    fill_capsule(mask, P(30, -12), P(40, 0), 7.0f * s, 5.0f * s, ink);
    // Body.
    fill_ellipse(mask, ox - 22.0f * s, oy - 42.0f * s, 36.0f * s, 25.0f * s, ink);
    fill_ellipse(mask, ox + 16.0f * s, oy - 48.0f * s, 31.0f * s, 28.0f * s, ink);
    // Back spines.
    for (int i = 0; i < 6; ++i) {
        const float x = -60.0f + 13.0f * static_cast<float>(i);
        const float y = -54.0f - 4.0f * static_cast<float>(i);
        fill_polygon(mask, {P(x - 5, y + 6), P(x - 3, y - 8), P(x + 5, y + 6)}, ink);
    }
    // Neck rising to the head, which looks toward the sun.
    fill_capsule(mask, P(26, -60), P(44, -94), 19.0f * s, 14.0f * s, ink);
    fill_capsule(mask, P(44, -94), P(56, -118), 14.0f * s, 11.0f * s, ink);
    fill_ellipse(mask, ox + 66.0f * s, oy - 124.0f * s, 17.0f * s, 12.0f * s, ink);
    fill_capsule(mask, P(68, -126), P(96, -116), 9.0f * s, 6.0f * s, ink);   // snout
    fill_capsule(mask, P(66, -116), P(92, -110), 6.0f * s, 4.0f * s, ink);   // jaw
    fill_polygon(mask, {P(58, -130), P(30, -152), P(64, -134)}, ink);        // horns
    fill_polygon(mask, {P(64, -134), P(46, -160), P(72, -132)}, ink);
    // Near wing, spread wide and back.
    draw_wing(mask, {P(2, -62), P(-40, -126), P(-22, -214),
                     {P(-74, -222), P(-136, -190), P(-160, -128), P(-120, -78)}, P(-52, -52)},
              3.6f * s, ink);
}

}  // namespace

PixelImage make_ending_sunset() {
    const int W = SUNSET_WIDTH, H = SUNSET_HEIGHT;
    const float h = static_cast<float>(H);
    const float horizon = h * 0.56f;
    const Light sun{640.0f, h * 0.5f, rgb(255, 170, 90)};
    Canvas canvas(W, H, rgb(0, 0, 0));
    for (int y = 0; y < H; ++y) {
        const Colf c = sky_at(SUNSET_SKY, SUNSET_SKY_STOPS, static_cast<float>(y), horizon);
        for (int x = 0; x < W; ++x) canvas.at(x, y) = c;
    }
    draw_stars(canvas, h * 0.22f, 0x5748U);
    add_glow(canvas, sun, 760.0f, 0.45f, H);
    add_glow(canvas, sun, 200.0f, 0.6f, H);
    fill_ellipse(canvas, sun.x, sun.y, 54.0f, 54.0f, rgb(255, 236, 186));
    draw_clouds(canvas, sun, h * 0.08f, h * 0.46f, 380.0f, 0xC10D6U, 0.45f, rgb(82, 30, 70), rgb(255, 170, 112));

    std::vector<float> far = crest_line(W, h * 0.58f, h * 0.14f, 170.0f, 0xE4AU, 5, 0.7f);
    raise_mound(far, sun.x, 160.0f, -h * 0.05f);
    const std::vector<float> far_inner = crest_line(W, h * 0.62f, h * 0.08f, 110.0f, 0xE4EU, 4, 0.6f);
    draw_range(canvas, far, far_inner, sun, rgb(104, 48, 92), rgb(206, 104, 110), rgb(220, 120, 100), 90.0f, 0xE4BU,
               [](int, int, float, const std::vector<float>&, Colf c) { return c; });

    std::vector<float> hills = crest_line(W, h * 0.66f, h * 0.06f, 150.0f, 0xE4CU, 3, 0.0f);
    raise_mound(hills, 900.0f, 130.0f, 34.0f);
    draw_castle(canvas, 900.0f, footing(hills, 870.0f, 930.0f) + 3.0f, 1.6f, rgb(62, 30, 60), rgb(54, 26, 54),
                rgb(255, 206, 120), 31U);
    draw_treeline(canvas, hills, 700.0f, 820.0f, 8.0f, 10.0f, 18.0f, rgb(62, 30, 60), 0x7E8U);
    fill_below_crest(canvas, hills, [&](int x, int, float depth) {
        const float toward = toward_sun(sun, x);
        const float face = clamp01(0.5f + slope_at(hills, x, 8) * toward * 3.0f);
        const Colf c = mix(rgb(70, 34, 66), rgb(150, 70, 84), face * (1.0f - smoothstep(0.0f, 20.0f, depth)));
        return mix(c, rgb(160, 80, 86), smoothstep(0.0f, 90.0f, depth) * 0.5f);
    });

    // Meadows of the vale; the river winds through them toward the viewer
    // and carries the sun's path of light.
    const std::vector<float> meadow = crest_line(W, h * 0.72f, h * 0.03f, 120.0f, 0xE4DU, 3, 0.0f);
    draw_treeline(canvas, meadow, 790.0f, 1090.0f, 14.0f, 24.0f, 44.0f, rgb(60, 28, 52), 0x7E9U);
    for (int i = 0; i < 5; ++i) {
        const float x = 850.0f + static_cast<float>(i) * 34.0f;
        draw_house(canvas, x, footing(meadow, x, x + 18.0f) + 4.0f, 18.0f, 12.0f, rgb(60, 28, 52), rgb(50, 24, 46),
                   rgb(255, 206, 120), 0xB12U, i);
    }
    fill_below_crest(canvas, meadow, [&](int, int, float depth) {
        return mix(rgb(86, 38, 62), rgb(40, 20, 40), smoothstep(0.0f, 160.0f, depth));
    });
    const float river_top = crest_at(meadow, 640.0f) + 2.0f;
    for (int y = static_cast<int>(river_top); y < H; ++y) {
        const float t = (static_cast<float>(y) - river_top) / (h - river_top);
        const float centre = 640.0f + (value_noise_1d(t * 3.0f, 0x21AU) - 0.5f) * 260.0f * t;
        const float half = 6.0f + 200.0f * t * t + 50.0f * t;
        const float mirror = 2.0f * horizon - static_cast<float>(y);
        const Colf sky = sky_at(SUNSET_SKY, SUNSET_SKY_STOPS, mirror < 0.0f ? 0.0f : mirror, horizon);
        for (int x = static_cast<int>(centre - half) - 8; x <= static_cast<int>(centre + half) + 8; ++x) {
            if (x < 0 || x >= W) continue;
            const float off = absf(static_cast<float>(x) + 0.5f - centre);
            // A dark wet bank edges the water.
            canvas.blend(x, y, rgb(34, 16, 34), clamp01(half + 2.0f + 4.0f * t - off) * 0.8f);
            const float edge = clamp01(half - off);
            if (edge <= 0.0f) continue;
            const float ripple = value_noise_2d(x / 26.0f, static_cast<float>(y) / 1.8f, 0x21BU);
            const float path = (1.0f - clamp01(absf(static_cast<float>(x) - sun.x) / (30.0f + 90.0f * t))) * ripple;
            const Colf c = mix(scale(sky, 0.8f), rgb(255, 224, 160), path * 0.85f);
            canvas.blend(x, y, c, edge);
        }
    }

    // The crag and the dragon upon it, rim-lit by the sun.
    Canvas mask(W, H, rgb(0, 0, 0));
    std::vector<Pt> crag = {{-10.0f, 620.0f}, {-10.0f, 430.0f}, {30.0f, 418.0f}, {70.0f, 404.0f}, {120.0f, 396.0f},
                            {170.0f, 388.0f}, {230.0f, 384.0f}, {290.0f, 388.0f}, {330.0f, 396.0f}, {372.0f, 412.0f},
                            {410.0f, 440.0f}, {452.0f, 470.0f}, {500.0f, 520.0f}, {540.0f, 620.0f}};
    fill_polygon(mask, crag, rgb(255, 255, 255));
    draw_dragon(mask, 250.0f, 388.0f, 0.95f);
    const Colf silhouette = rgb(26, 12, 28), rim = rgb(255, 150, 84);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const float cover = mask.at(x, y).r / 255.0f;
            if (cover <= 0.0f) continue;
            // Edges that face the sun catch a thin line of light.
            const int lx = x + 3 < W ? x + 3 : W - 1, ly = y - 2 > 0 ? y - 2 : 0;
            const float open = 1.0f - mask.at(lx, ly).r / 255.0f;
            const float dist = clamp01(1.0f - (absf(static_cast<float>(x) - sun.x) / 900.0f));
            const Colf c = mix(silhouette, rim, open * (0.5f + 0.5f * dist));
            canvas.blend(x, y, c, cover);
        }
    }
    // An ember of an eye.
    fill_ellipse(canvas, 250.0f + 70.0f * 0.95f, 388.0f - 128.0f * 0.95f, 2.2f, 1.6f, rgb(255, 190, 96));

    // A few birds heading home.
    const Pt birds[] = {{760.0f, 180.0f}, {790.0f, 196.0f}, {742.0f, 206.0f}, {820.0f, 170.0f}, {700.0f, 150.0f}};
    for (const Pt& b : birds) {
        fill_capsule(canvas, {b.x - 7.0f, b.y - 3.0f}, {b.x, b.y}, 1.1f, 1.0f, rgb(40, 16, 38));
        fill_capsule(canvas, {b.x, b.y}, {b.x + 7.0f, b.y - 3.0f}, 1.0f, 1.1f, rgb(40, 16, 38));
    }
    return to_image(canvas);
}
