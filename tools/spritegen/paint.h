#pragma once
// The small painting kit every sprite is built with: shapes are rasterised
// into masks, each mask becomes a part with a colour ramp, and one render
// pass shades every part from the upper left and outlines the silhouette.
// Sharing this pass is what makes the dragon, the enemies and the props look
// like one game's art.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "png_writer.h"

struct Vec2 {
    float x;
    float y;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
Vec2 rotate(Vec2 v, float radians);
Vec2 lerp(Vec2 a, Vec2 b, float t);
// Point at `length` from `from` in direction `degrees` (0 = right, 90 = down).
Vec2 polar(Vec2 from, float degrees, float length);

// One bit per pixel; pixel (x, y) has its centre at (x + 0.5, y + 0.5).
struct Mask {
    int w = 0;
    int h = 0;
    std::vector<uint8_t> bits;

    Mask() = default;
    Mask(int width, int height) : w(width), h(height), bits(static_cast<size_t>(width * height), 0) {}

    bool get(int x, int y) const {
        return x >= 0 && y >= 0 && x < w && y < h && bits[static_cast<size_t>(y * w + x)] != 0;
    }
    void set(int x, int y, bool on = true) {
        if (x >= 0 && y >= 0 && x < w && y < h) bits[static_cast<size_t>(y * w + x)] = on ? 1 : 0;
    }
    int count() const;
};

void add_ellipse(Mask& m, Vec2 centre, float rx, float ry);
// A stroke whose radius goes from ra at a to rb at b (limbs, tails, blades).
void add_capsule(Mask& m, Vec2 a, Vec2 b, float ra, float rb);
void add_polygon(Mask& m, std::initializer_list<Vec2> points);
void add_polygon(Mask& m, const std::vector<Vec2>& points);
void add_rect(Mask& m, int x, int y, int w, int h);
// One-pixel line from pixel a to pixel b.
void add_line(Mask& m, int x0, int y0, int x1, int y1);
void cut_mask(Mask& m, const Mask& hole);

// Outline, shadow, mid tone, light, highlight.
struct Ramp {
    Rgba outline;
    Rgba shadow;
    Rgba mid;
    Rgba light;
    Rgba highlight;
};

Rgba rgb(int r, int g, int b, int a = 255);
Rgba mix(Rgba a, Rgba b, float t);
// Hue-shifted ramp around a mid colour: shadows lean to violet, lights to
// warm yellow, the outline is a deep plum of the same family.
Ramp make_ramp(Rgba mid, float contrast = 1.0f);

enum class Finish : uint8_t {
    Matte,  // three bands
    Shiny,  // four bands with a hard highlight (metal, glass, wet things)
    Flat,   // mid tone only, for small details
};

enum class Edge : uint8_t {
    None,
    Line,  // dark line where the part lies over an earlier part
};

struct Part {
    Mask shape;
    Ramp ramp;
    Finish finish = Finish::Matte;
    Edge edge = Edge::None;
    int group = 0;       // parts of one group are not separated by edge lines
    bool outline = true;  // takes the silhouette outline
    bool outline_outside = false;  // thin features: the outline grows around them
};

struct Decal {
    int x;
    int y;
    Rgba colour;
};

struct Figure {
    int w = 0;
    int h = 0;
    int rim = 2;  // depth of the lit and shaded bands, outline included
    std::vector<Part> parts;    // back to front
    std::vector<Decal> decals;  // painted last, over the outline

    Figure(int width, int height) : w(width), h(height) {}
    Mask blank() const { return Mask(w, h); }
    Part& add(Mask shape, const Ramp& ramp, Finish finish = Finish::Matte, Edge edge = Edge::None,
              int group = 0);
    void dot(int x, int y, Rgba c) { decals.push_back({x, y, c}); }
    void dot(Vec2 p, Rgba c);
};

PixelImage render(const Figure& f);

// Sheet helpers.
void blit(PixelImage& dst, const PixelImage& src, int dx, int dy);
PixelImage crop(const PixelImage& src, int x, int y, int w, int h);
int opaque_count(const PixelImage& img);

// Hand-drawn pixels: each character of a row names a colour through a key
// table, '.' leaves the pixel alone. Used for the small actors, whose parts
// are drawn pixel by pixel and moved as a paper doll.
struct ColourKeys {
    Rgba colour[128];
    bool used[128];
};
ColourKeys make_keys(std::initializer_list<std::pair<char, Rgba>> entries);
// Adds the five tones of a ramp under the given letters (outline, shadow,
// mid, light, highlight); a '\0' skips a tone.
void add_ramp_keys(ColourKeys& keys, const char letters[6], const Ramp& ramp);

struct Art {
    std::vector<const char*> rows;
    int width() const;
    int height() const { return static_cast<int>(rows.size()); }
};

// The ramp stored under five letters (outline, shadow, mid, light, highlight).
Ramp ramp_from_keys(const ColourKeys& keys, const char letters[6]);

// Paints art with its top-left at (x, y).
void stamp(PixelImage& img, const Art& art, int x, int y, const ColourKeys& keys);

// Paints a shaded, outlined shape over the image (shapes that stretch with a
// pose, between hand-drawn parts).
void paint_shape(PixelImage& img, const Mask& shape, const Ramp& ramp, Finish finish = Finish::Matte);
