#pragma once
// Small painting kit for the scenery generator: float colours, hashed value
// noise (optionally periodic, for seamless tiles), anti-aliased shape
// coverage and a float canvas that is quantised to a PixelImage at the end.
//
// Only + - * / and sqrt are used on floats, so the output does not depend on
// the C library's transcendental functions and regenerates byte for byte.

#include <cstdint>
#include <vector>

#include "png_writer.h"

struct Colf {
    float r, g, b;
};

constexpr Colf rgb(int r, int g, int b) {
    return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}

float clamp01(float v);
float clampf(float v, float lo, float hi);
float smoothstep(float e0, float e1, float x);
float lerpf(float a, float b, float t);
Colf mix(Colf a, Colf b, float t);
Colf scale(Colf c, float k);
Colf add(Colf a, Colf b);
Rgba to_rgba(Colf c, uint8_t alpha = 255);
Colf from_rgba(Rgba c);

// Hashing and noise. Periods of 0 mean "not periodic".
uint32_t hash_u32(uint32_t x);
uint32_t hash2(int x, int y, uint32_t seed);
float hash01(int x, int y, uint32_t seed);  // [0, 1)
float value_noise_1d(float x, uint32_t seed, int period = 0);
float value_noise_2d(float x, float y, uint32_t seed, int period_x = 0, int period_y = 0);
// Sum of octaves, each at twice the frequency and half the weight; result in
// [0, 1]. Periods are in lattice units of the first octave and double with it.
float fbm_1d(float x, uint32_t seed, int octaves, int period = 0);
float fbm_2d(float x, float y, uint32_t seed, int octaves, int period_x = 0, int period_y = 0);

// Colour ramp through evenly spaced stops; t in [0, 1].
Colf ramp(const Colf* stops, int count, float t);

// Opaque float canvas.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Colf> px;

    Canvas(int w, int h, Colf fill);
    Colf& at(int x, int y) { return px[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    const Colf& at(int x, int y) const {
        return px[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    void blend(int x, int y, Colf c, float alpha);
};

PixelImage to_image(const Canvas& canvas);

// Shapes described by an inside test are filled with coverage from an n x n
// grid of samples per pixel over the given bounding box.
struct Box {
    int x0, y0, x1, y1;  // inclusive-exclusive
};

template <typename Inside>
void fill_shape(Canvas& canvas, Box box, Colf colour, float alpha, int samples, Inside inside) {
    const int x0 = box.x0 < 0 ? 0 : box.x0;
    const int y0 = box.y0 < 0 ? 0 : box.y0;
    const int x1 = box.x1 > canvas.width ? canvas.width : box.x1;
    const int y1 = box.y1 > canvas.height ? canvas.height : box.y1;
    const float step = 1.0f / static_cast<float>(samples);
    const float total = static_cast<float>(samples * samples);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) * step;
                    const float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) * step;
                    if (inside(px, py)) ++hits;
                }
            }
            if (hits > 0) canvas.blend(x, y, colour, alpha * static_cast<float>(hits) / total);
        }
    }
}

struct Pt {
    float x, y;
};

// Even-odd rule.
bool point_in_polygon(const std::vector<Pt>& poly, float x, float y);
Box polygon_box(const std::vector<Pt>& poly);
void fill_polygon(Canvas& canvas, const std::vector<Pt>& poly, Colf colour, float alpha = 1.0f);
void fill_ellipse(Canvas& canvas, float cx, float cy, float rx, float ry, Colf colour, float alpha = 1.0f);
// A segment with round ends whose radius goes linearly from r0 to r1.
void fill_capsule(Canvas& canvas, Pt a, Pt b, float r0, float r1, Colf colour, float alpha = 1.0f);
void fill_rect(Canvas& canvas, float x0, float y0, float x1, float y1, Colf colour, float alpha = 1.0f);
// Samples a quadratic Bezier curve into points (end points included).
void append_quad(std::vector<Pt>& out, Pt a, Pt control, Pt b, int steps);

// Area-averaging resize (used for previews and the contact sheet).
PixelImage downscale(const PixelImage& src, int width, int height);
// Nearest-neighbour resize; cell boundaries fall at floor(i * size / n).
PixelImage upscale_cells(const PixelImage& cells, int width, int height);
void blit(PixelImage& dst, const PixelImage& src, int x, int y);
