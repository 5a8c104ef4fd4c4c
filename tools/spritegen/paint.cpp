#include "paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr float PI = 3.14159265358979f;

// Shading looks this many pixels along the light direction; further than
// that every interior pixel is plain mid tone, which keeps big parts calm.
constexpr int SHADE_REACH = 6;

// Where lit fractions turn into bands. The light comes from the upper left.
constexpr float MATTE_LIGHT = 0.66f;
constexpr float MATTE_MID = 0.30f;
constexpr float SHINY_HIGHLIGHT = 0.80f;
constexpr float SHINY_LIGHT = 0.60f;

// A silhouette edge facing the light gets a softer outline.
constexpr float LIT_OUTLINE_SOFTEN = 0.35f;

struct Hsv {
    float h, s, v;  // h in degrees
};

Hsv to_hsv(Rgba c) {
    const float r = c.r / 255.0f, g = c.g / 255.0f, b = c.b / 255.0f;
    const float mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const float d = mx - mn;
    float h = 0.0f;
    if (d > 0.0f) {
        if (mx == r) {
            h = 60.0f * std::fmod((g - b) / d + 6.0f, 6.0f);
        } else if (mx == g) {
            h = 60.0f * ((b - r) / d + 2.0f);
        } else {
            h = 60.0f * ((r - g) / d + 4.0f);
        }
    }
    return {h, mx > 0.0f ? d / mx : 0.0f, mx};
}

uint8_t unit_to_byte(float v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v * 255.0f), 0l, 255l));
}

Rgba from_hsv(Hsv c, uint8_t a) {
    const float h = std::fmod(c.h + 360.0f, 360.0f);
    const float s = std::clamp(c.s, 0.0f, 1.0f), v = std::clamp(c.v, 0.0f, 1.0f);
    const float k = v * s;
    const float x = k * (1.0f - std::fabs(std::fmod(h / 60.0f, 2.0f) - 1.0f));
    float r = 0, g = 0, b = 0;
    switch (static_cast<int>(h / 60.0f)) {
        case 0: r = k; g = x; break;
        case 1: r = x; g = k; break;
        case 2: g = k; b = x; break;
        case 3: g = x; b = k; break;
        case 4: r = x; b = k; break;
        default: r = k; b = x; break;
    }
    const float m = v - k;
    return {unit_to_byte(r + m), unit_to_byte(g + m), unit_to_byte(b + m), a};
}

// Moves a hue towards a target hue by at most `step` degrees.
float hue_toward(float h, float target, float step) {
    float d = std::fmod(target - h + 540.0f, 360.0f) - 180.0f;
    d = std::clamp(d, -step, step);
    return h + d;
}

int run_length(const Mask& m, int x, int y, int dx, int dy) {
    int k = 0;
    while (k < SHADE_REACH && m.get(x + (k + 1) * dx, y + (k + 1) * dy)) ++k;
    return k;
}

// 0 = facing away from the light, 1 = facing it.
float lit_fraction(const Mask& m, int x, int y) {
    constexpr int DIRS[3][2] = {{-1, -1}, {-1, 0}, {0, -1}};
    float sum = 0.0f;
    for (const auto& d : DIRS) {
        const int toward = run_length(m, x, y, d[0], d[1]);
        const int away = run_length(m, x, y, -d[0], -d[1]);
        sum += (static_cast<float>(away) + 0.5f) / static_cast<float>(toward + away + 1);
    }
    return sum / 3.0f;
}

int min_run(const Mask& m, int x, int y, int sign) {
    constexpr int DIRS[3][2] = {{-1, -1}, {-1, 0}, {0, -1}};
    int best = SHADE_REACH;
    for (const auto& d : DIRS) best = std::min(best, run_length(m, x, y, sign * d[0], sign * d[1]));
    return best;
}

// Light and shadow hug the edges: a band just inside the top-left edge is
// lit, a band inside the bottom-right edge is shaded, the inside stays mid
// tone unless the part is big enough for the lit fraction to say otherwise.
// Parts too thin for both bands take whichever side they mostly face.
Rgba shade(const Part& p, const Mask& m, int x, int y, int rim) {
    if (p.finish == Finish::Flat) return p.ramp.mid;
    const float lit = lit_fraction(m, x, y);
    const bool near_light = min_run(m, x, y, 1) < rim;
    const bool near_dark = min_run(m, x, y, -1) < rim;
    bool light = false, dark = false;
    if (near_light != near_dark) {
        light = near_light;
        dark = near_dark;
    } else if (near_light) {
        light = lit >= 0.5f;
        dark = !light;
    } else {
        light = lit >= (p.finish == Finish::Shiny ? SHINY_LIGHT : MATTE_LIGHT) + 0.12f;
        dark = lit < MATTE_MID - 0.1f;
    }
    if (light && p.finish == Finish::Shiny && lit >= SHINY_HIGHLIGHT) return p.ramp.highlight;
    if (light) return p.ramp.light;
    if (dark) return p.ramp.shadow;
    return p.ramp.mid;
}

bool separated(const Part& front, const Part& back) {
    return front.group == 0 || front.group != back.group;
}

}  // namespace

Vec2 rotate(Vec2 v, float radians) {
    const float c = std::cos(radians), s = std::sin(radians);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

Vec2 lerp(Vec2 a, Vec2 b, float t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

Vec2 polar(Vec2 from, float degrees, float length) {
    const float r = degrees * PI / 180.0f;
    return {from.x + std::cos(r) * length, from.y + std::sin(r) * length};
}

int Mask::count() const {
    int n = 0;
    for (uint8_t b : bits) n += b;
    return n;
}

void add_ellipse(Mask& m, Vec2 c, float rx, float ry) {
    if (rx <= 0.0f || ry <= 0.0f) return;
    const int x0 = static_cast<int>(std::floor(c.x - rx)), x1 = static_cast<int>(std::ceil(c.x + rx));
    const int y0 = static_cast<int>(std::floor(c.y - ry)), y1 = static_cast<int>(std::ceil(c.y + ry));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - c.x) / rx;
            const float dy = (static_cast<float>(y) + 0.5f - c.y) / ry;
            if (dx * dx + dy * dy <= 1.0f) m.set(x, y);
        }
    }
}

void add_capsule(Mask& m, Vec2 a, Vec2 b, float ra, float rb) {
    const float r = std::max(ra, rb);
    const int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - r));
    const int x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + r));
    const int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - r));
    const int y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + r));
    const Vec2 ab = b - a;
    const float len2 = ab.x * ab.x + ab.y * ab.y;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const Vec2 p = {static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            const Vec2 ap = p - a;
            float t = len2 > 0.0f ? (ap.x * ab.x + ap.y * ab.y) / len2 : 0.0f;
            t = std::clamp(t, 0.0f, 1.0f);
            const Vec2 q = a + ab * t;
            const float dx = p.x - q.x, dy = p.y - q.y;
            const float rad = ra + (rb - ra) * t;
            if (dx * dx + dy * dy <= rad * rad) m.set(x, y);
        }
    }
}

void add_polygon(Mask& m, const std::vector<Vec2>& pts) {
    if (pts.size() < 3) return;
    for (int y = 0; y < m.h; ++y) {
        for (int x = 0; x < m.w; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            bool in = false;
            for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                const Vec2 a = pts[i], b = pts[j];
                if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x) in = !in;
            }
            if (in) m.set(x, y);
        }
    }
}

void add_polygon(Mask& m, std::initializer_list<Vec2> points) {
    add_polygon(m, std::vector<Vec2>(points));
}

void add_rect(Mask& m, int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) m.set(i, j);
    }
}

void add_line(Mask& m, int x0, int y0, int x1, int y1) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        m.set(x0, y0);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void cut_mask(Mask& m, const Mask& hole) {
    for (int y = 0; y < m.h; ++y) {
        for (int x = 0; x < m.w; ++x) {
            if (hole.get(x, y)) m.set(x, y, false);
        }
    }
}

Rgba rgb(int r, int g, int b, int a) {
    return {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), static_cast<uint8_t>(a)};
}

Rgba mix(Rgba a, Rgba b, float t) {
    auto ch = [t](uint8_t u, uint8_t v) {
        return static_cast<uint8_t>(std::lround(static_cast<float>(u) + (static_cast<float>(v) - u) * t));
    };
    return {ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b), ch(a.a, b.a)};
}

Ramp make_ramp(Rgba mid, float contrast) {
    const Hsv c = to_hsv(mid);
    constexpr float COOL = 275.0f, WARM = 55.0f;
    // Greys stay grey instead of picking up a hue from rounding.
    const float tint = c.s < 0.08f ? 0.25f : 1.0f;
    Ramp r{};
    r.mid = mid;
    r.shadow = from_hsv({hue_toward(c.h, COOL, 10.0f * tint), std::min(1.0f, c.s * 1.08f + 0.04f * tint),
                         c.v * (1.0f - 0.24f * contrast)},
                        mid.a);
    r.outline = from_hsv({hue_toward(c.h, COOL, 22.0f * tint), std::min(1.0f, c.s * 0.9f + 0.22f * tint),
                          std::max(0.09f, c.v * (1.0f - 0.70f * contrast))},
                         mid.a);
    r.light = from_hsv({hue_toward(c.h, WARM, 8.0f * tint), c.s * (1.0f - 0.14f * contrast),
                        std::min(1.0f, c.v * (1.0f + 0.18f * contrast) + 0.04f)},
                       mid.a);
    r.highlight = from_hsv({hue_toward(c.h, WARM, 14.0f * tint), c.s * (1.0f - 0.45f * contrast),
                            std::min(1.0f, c.v * (1.0f + 0.36f * contrast) + 0.10f)},
                           mid.a);
    return r;
}

Part& Figure::add(Mask shape, const Ramp& ramp, Finish finish, Edge edge, int group) {
    Part p;
    p.shape = std::move(shape);
    p.ramp = ramp;
    p.finish = finish;
    p.edge = edge;
    p.group = group;
    parts.push_back(std::move(p));
    return parts.back();
}

void Figure::dot(Vec2 p, Rgba c) {
    decals.push_back({static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y)), c});
}

PixelImage render(const Figure& f) {
    PixelImage img(f.w, f.h);
    std::vector<int> owner(static_cast<size_t>(f.w * f.h), -1);
    auto own = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= f.w || y >= f.h) return -1;
        return owner[static_cast<size_t>(y * f.w + x)];
    };

    std::vector<uint8_t> ring(static_cast<size_t>(f.w * f.h), 0);
    for (size_t i = 0; i < f.parts.size(); ++i) {
        const Part& p = f.parts[i];
        for (int y = 0; y < f.h; ++y) {
            for (int x = 0; x < f.w; ++x) {
                const size_t k = static_cast<size_t>(y * f.w + x);
                if (p.shape.get(x, y)) {
                    img.at(x, y) = shade(p, p.shape, x, y, f.rim);
                    owner[k] = static_cast<int>(i);
                    ring[k] = 0;
                } else if (p.outline_outside && (p.shape.get(x - 1, y) || p.shape.get(x + 1, y) ||
                                                 p.shape.get(x, y - 1) || p.shape.get(x, y + 1))) {
                    img.at(x, y) = p.ramp.outline;
                    owner[k] = static_cast<int>(i);
                    ring[k] = 1;
                }
            }
        }
    }

    // Lines and outlines are decided on the finished composite, then applied,
    // so one line never decides another.
    PixelImage out = img;
    constexpr int N4[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int y = 0; y < f.h; ++y) {
        for (int x = 0; x < f.w; ++x) {
            const int o = own(x, y);
            if (o < 0 || ring[static_cast<size_t>(y * f.w + x)] != 0) continue;
            const Part& p = f.parts[static_cast<size_t>(o)];
            bool open_lit = false, open_dark = false, over_back = false;
            for (int k = 0; k < 4; ++k) {
                const int n = own(x + N4[k][0], y + N4[k][1]);
                if (n < 0) {
                    (k < 2 ? open_lit : open_dark) = true;
                } else if (n < o && separated(p, f.parts[static_cast<size_t>(n)])) {
                    over_back = true;
                }
            }
            if (p.outline && open_dark) {
                out.at(x, y) = p.ramp.outline;
            } else if (p.outline && open_lit) {
                out.at(x, y) = mix(p.ramp.outline, p.ramp.shadow, LIT_OUTLINE_SOFTEN);
            } else if (over_back && p.edge == Edge::Line) {
                out.at(x, y) = p.ramp.outline;
            }
        }
    }
    for (const Decal& d : f.decals) out.set(d.x, d.y, d.colour);
    return out;
}

void blit(PixelImage& dst, const PixelImage& src, int dx, int dy) {
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) {
            const Rgba c = src.at(x, y);
            if (c.a != 0) dst.set(dx + x, dy + y, c);
        }
    }
}

PixelImage crop(const PixelImage& src, int x, int y, int w, int h) {
    PixelImage out(w, h);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (src.inside(x + i, y + j)) out.at(i, j) = src.at(x + i, y + j);
        }
    }
    return out;
}

int opaque_count(const PixelImage& img) {
    int n = 0;
    for (const Rgba& p : img.pixels) n += p.a != 0 ? 1 : 0;
    return n;
}

ColourKeys make_keys(std::initializer_list<std::pair<char, Rgba>> entries) {
    ColourKeys k{};
    for (const auto& [c, colour] : entries) {
        k.colour[static_cast<unsigned char>(c) & 127] = colour;
        k.used[static_cast<unsigned char>(c) & 127] = true;
    }
    return k;
}

void add_ramp_keys(ColourKeys& keys, const char letters[6], const Ramp& ramp) {
    const Rgba tones[5] = {ramp.outline, ramp.shadow, ramp.mid, ramp.light, ramp.highlight};
    for (int i = 0; i < 5 && letters[i] != '\0'; ++i) {
        if (letters[i] == '_') continue;
        const int c = static_cast<unsigned char>(letters[i]) & 127;
        keys.colour[c] = tones[i];
        keys.used[c] = true;
    }
}

int Art::width() const {
    int w = 0;
    for (const char* r : rows) w = std::max(w, static_cast<int>(std::char_traits<char>::length(r)));
    return w;
}

void stamp(PixelImage& img, const Art& art, int x, int y, const ColourKeys& keys) {
    for (int j = 0; j < art.height(); ++j) {
        const char* row = art.rows[static_cast<size_t>(j)];
        for (int i = 0; row[i] != '\0'; ++i) {
            const int c = static_cast<unsigned char>(row[i]) & 127;
            if (row[i] == '.' || row[i] == ' ') continue;
            if (!keys.used[c]) {
                std::fprintf(stderr, "art uses colour key '%c' that has no colour\n", row[i]);
                std::abort();
            }
            img.set(x + i, y + j, keys.colour[c]);
        }
    }
}

Ramp ramp_from_keys(const ColourKeys& keys, const char letters[6]) {
    auto tone = [&](int i) { return keys.colour[static_cast<unsigned char>(letters[i]) & 127]; };
    return {tone(0), tone(1), tone(2), tone(3), tone(4)};
}

void paint_shape(PixelImage& img, const Mask& shape, const Ramp& ramp, Finish finish) {
    Figure f(img.width, img.height);
    f.add(shape, ramp, finish);
    blit(img, render(f), 0, 0);
}
