#include "paint.h"

float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float clampf(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

float smoothstep(float e0, float e1, float x) {
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

float lerpf(float a, float b, float t) { return a + (b - a) * t; }

Colf mix(Colf a, Colf b, float t) { return {lerpf(a.r, b.r, t), lerpf(a.g, b.g, t), lerpf(a.b, b.b, t)}; }

Colf scale(Colf c, float k) { return {c.r * k, c.g * k, c.b * k}; }

Colf add(Colf a, Colf b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

namespace {

uint8_t quantise(float v) {
    const float c = clampf(v, 0.0f, 255.0f);
    return static_cast<uint8_t>(static_cast<int>(c + 0.5f));
}

float fade(float t) { return t * t * (3.0f - 2.0f * t); }

int wrap(int v, int period) {
    if (period <= 0) return v;
    const int m = v % period;
    return m < 0 ? m + period : m;
}

int floor_int(float v) {
    const int i = static_cast<int>(v);
    return static_cast<float>(i) > v ? i - 1 : i;
}

}  // namespace

Rgba to_rgba(Colf c, uint8_t alpha) { return {quantise(c.r), quantise(c.g), quantise(c.b), alpha}; }

Colf from_rgba(Rgba c) { return rgb(c.r, c.g, c.b); }

uint32_t hash_u32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

uint32_t hash2(int x, int y, uint32_t seed) {
    return hash_u32(static_cast<uint32_t>(x) * 0x9E3779B1U ^ hash_u32(static_cast<uint32_t>(y) + seed * 0x85EBCA77U));
}

float hash01(int x, int y, uint32_t seed) {
    return static_cast<float>(hash2(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float value_noise_1d(float x, uint32_t seed, int period) {
    const int i = floor_int(x);
    const float t = fade(x - static_cast<float>(i));
    const float a = hash01(wrap(i, period), 0, seed);
    const float b = hash01(wrap(i + 1, period), 0, seed);
    return lerpf(a, b, t);
}

float value_noise_2d(float x, float y, uint32_t seed, int period_x, int period_y) {
    const int ix = floor_int(x);
    const int iy = floor_int(y);
    const float tx = fade(x - static_cast<float>(ix));
    const float ty = fade(y - static_cast<float>(iy));
    const int x0 = wrap(ix, period_x), x1 = wrap(ix + 1, period_x);
    const int y0 = wrap(iy, period_y), y1 = wrap(iy + 1, period_y);
    const float top = lerpf(hash01(x0, y0, seed), hash01(x1, y0, seed), tx);
    const float bottom = lerpf(hash01(x0, y1, seed), hash01(x1, y1, seed), tx);
    return lerpf(top, bottom, ty);
}

float fbm_1d(float x, uint32_t seed, int octaves, int period) {
    float sum = 0.0f, weight = 1.0f, norm = 0.0f, freq = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += value_noise_1d(x * freq, seed + static_cast<uint32_t>(o) * 101U, period > 0 ? period << o : 0) * weight;
        norm += weight;
        weight *= 0.5f;
        freq *= 2.0f;
    }
    return sum / norm;
}

float fbm_2d(float x, float y, uint32_t seed, int octaves, int period_x, int period_y) {
    float sum = 0.0f, weight = 1.0f, norm = 0.0f, freq = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += value_noise_2d(x * freq, y * freq, seed + static_cast<uint32_t>(o) * 101U,
                              period_x > 0 ? period_x << o : 0, period_y > 0 ? period_y << o : 0) *
               weight;
        norm += weight;
        weight *= 0.5f;
        freq *= 2.0f;
    }
    return sum / norm;
}

Colf ramp(const Colf* stops, int count, float t) {
    const float f = clamp01(t) * static_cast<float>(count - 1);
    int i = static_cast<int>(f);
    if (i >= count - 1) i = count - 2;
    return mix(stops[i], stops[i + 1], f - static_cast<float>(i));
}

Canvas::Canvas(int w, int h, Colf fill)
    : width(w), height(h), px(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

void Canvas::blend(int x, int y, Colf c, float alpha) {
    if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0.0f) return;
    Colf& d = at(x, y);
    d = alpha >= 1.0f ? c : mix(d, c, alpha);
}

PixelImage to_image(const Canvas& canvas) {
    PixelImage image(canvas.width, canvas.height);
    for (size_t i = 0; i < canvas.px.size(); ++i) image.pixels[i] = to_rgba(canvas.px[i]);
    return image;
}

bool point_in_polygon(const std::vector<Pt>& poly, float x, float y) {
    bool inside = false;
    const size_t n = poly.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Pt& a = poly[i];
        const Pt& b = poly[j];
        if ((a.y > y) != (b.y > y)) {
            const float cross_x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x < cross_x) inside = !inside;
        }
    }
    return inside;
}

Box polygon_box(const std::vector<Pt>& poly) {
    float x0 = poly[0].x, y0 = poly[0].y, x1 = x0, y1 = y0;
    for (const Pt& p : poly) {
        x0 = p.x < x0 ? p.x : x0;
        y0 = p.y < y0 ? p.y : y0;
        x1 = p.x > x1 ? p.x : x1;
        y1 = p.y > y1 ? p.y : y1;
    }
    return {floor_int(x0), floor_int(y0), floor_int(x1) + 1, floor_int(y1) + 1};
}

void fill_polygon(Canvas& canvas, const std::vector<Pt>& poly, Colf colour, float alpha) {
    if (poly.size() < 3) return;
    fill_shape(canvas, polygon_box(poly), colour, alpha, 4,
               [&](float x, float y) { return point_in_polygon(poly, x, y); });
}

void fill_ellipse(Canvas& canvas, float cx, float cy, float rx, float ry, Colf colour, float alpha) {
    const Box box{floor_int(cx - rx) - 1, floor_int(cy - ry) - 1, floor_int(cx + rx) + 2, floor_int(cy + ry) + 2};
    fill_shape(canvas, box, colour, alpha, 4, [&](float x, float y) {
        const float dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0f;
    });
}

void fill_capsule(Canvas& canvas, Pt a, Pt b, float r0, float r1, Colf colour, float alpha) {
    const float rmax = r0 > r1 ? r0 : r1;
    const float minx = (a.x < b.x ? a.x : b.x) - rmax, maxx = (a.x > b.x ? a.x : b.x) + rmax;
    const float miny = (a.y < b.y ? a.y : b.y) - rmax, maxy = (a.y > b.y ? a.y : b.y) + rmax;
    const Box box{floor_int(minx) - 1, floor_int(miny) - 1, floor_int(maxx) + 2, floor_int(maxy) + 2};
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len2 = dx * dx + dy * dy;
    fill_shape(canvas, box, colour, alpha, 4, [&](float x, float y) {
        float t = len2 > 0.0f ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0f;
        t = clamp01(t);
        const float qx = a.x + dx * t - x, qy = a.y + dy * t - y;
        const float r = lerpf(r0, r1, t);
        return qx * qx + qy * qy <= r * r;
    });
}

void fill_rect(Canvas& canvas, float x0, float y0, float x1, float y1, Colf colour, float alpha) {
    const Box box{floor_int(x0), floor_int(y0), floor_int(x1) + 1, floor_int(y1) + 1};
    fill_shape(canvas, box, colour, alpha, 4,
               [&](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

void append_quad(std::vector<Pt>& out, Pt a, Pt control, Pt b, int steps) {
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        const float u = 1.0f - t;
        out.push_back({u * u * a.x + 2.0f * u * t * control.x + t * t * b.x,
                       u * u * a.y + 2.0f * u * t * control.y + t * t * b.y});
    }
}

PixelImage downscale(const PixelImage& src, int width, int height) {
    PixelImage out(width, height);
    for (int y = 0; y < height; ++y) {
        const int sy0 = static_cast<int>(static_cast<int64_t>(y) * src.height / height);
        int sy1 = static_cast<int>(static_cast<int64_t>(y + 1) * src.height / height);
        if (sy1 <= sy0) sy1 = sy0 + 1;
        for (int x = 0; x < width; ++x) {
            const int sx0 = static_cast<int>(static_cast<int64_t>(x) * src.width / width);
            int sx1 = static_cast<int>(static_cast<int64_t>(x + 1) * src.width / width);
            if (sx1 <= sx0) sx1 = sx0 + 1;
            // Premultiplied average so transparent texels do not darken edges.
            double r = 0, g = 0, b = 0, a = 0;
            int n = 0;
            for (int sy = sy0; sy < sy1; ++sy) {
                for (int sx = sx0; sx < sx1; ++sx) {
                    const Rgba& p = src.at(sx, sy);
                    r += p.r * p.a;
                    g += p.g * p.a;
                    b += p.b * p.a;
                    a += p.a;
                    ++n;
                }
            }
            if (a <= 0.0) continue;
            out.at(x, y) = {static_cast<uint8_t>(r / a + 0.5), static_cast<uint8_t>(g / a + 0.5),
                            static_cast<uint8_t>(b / a + 0.5), static_cast<uint8_t>(a / n + 0.5)};
        }
    }
    return out;
}

PixelImage upscale_cells(const PixelImage& cells, int width, int height) {
    PixelImage out(width, height);
    std::vector<int> col(static_cast<size_t>(width));
    for (int c = 0; c < cells.width; ++c) {
        const int x0 = static_cast<int>(static_cast<int64_t>(c) * width / cells.width);
        const int x1 = static_cast<int>(static_cast<int64_t>(c + 1) * width / cells.width);
        for (int x = x0; x < x1; ++x) col[static_cast<size_t>(x)] = c;
    }
    for (int r = 0; r < cells.height; ++r) {
        const int y0 = static_cast<int>(static_cast<int64_t>(r) * height / cells.height);
        const int y1 = static_cast<int>(static_cast<int64_t>(r + 1) * height / cells.height);
        for (int y = y0; y < y1; ++y) {
            for (int x = 0; x < width; ++x) out.at(x, y) = cells.at(col[static_cast<size_t>(x)], r);
        }
    }
    return out;
}

void blit(PixelImage& dst, const PixelImage& src, int x, int y) {
    for (int sy = 0; sy < src.height; ++sy) {
        for (int sx = 0; sx < src.width; ++sx) {
            const Rgba s = src.at(sx, sy);
            if (s.a == 0 || !dst.inside(x + sx, y + sy)) continue;
            Rgba& d = dst.at(x + sx, y + sy);
            if (s.a == 255) {
                d = s;
                continue;
            }
            const float a = static_cast<float>(s.a) / 255.0f;
            const Colf c = mix(from_rgba(d), from_rgba(s), a);
            const float da = static_cast<float>(d.a) / 255.0f;
            d = to_rgba(c, static_cast<uint8_t>((a + da * (1.0f - a)) * 255.0f + 0.5f));
        }
    }
}
