#include "kit.h"

#include <cmath>

namespace {

constexpr float DEG = 3.14159265358979f / 180.0f;

Vec2 dir_of(float degrees) { return {std::cos(degrees * DEG), std::sin(degrees * DEG)}; }

}  // namespace

Px px_of(Vec2 p) { return {static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y))}; }

void draw_line(PixelImage& img, Px a, Px b, Rgba c) {
    Mask m(img.width, img.height);
    add_line(m, a.x, a.y, b.x, b.y);
    for (int y = 0; y < m.h; ++y) {
        for (int x = 0; x < m.w; ++x) {
            if (m.get(x, y)) img.at(x, y) = c;
        }
    }
}

void draw_blade(PixelImage& img, Vec2 hand, float degrees, int length, const BladeLook& look, int width) {
    const Vec2 d = dir_of(degrees);
    const Vec2 side = {-d.y, d.x};  // the blade's right-hand side, shaded
    const float len = static_cast<float>(length);
    const Vec2 base = hand + d * 1.5f, tip = hand + d * (len + 1.0f);
    // Wide blades: outline both flats, then the shaded flat, then the core.
    if (width > 1) {
        for (float s = -1.0f; s <= 1.01f; s += 1.0f) {
            draw_line(img, px_of(base + side * s), px_of(tip - d * 0.5f + side * s * 0.6f), look.outline);
        }
        draw_line(img, px_of(base + side * 0.6f), px_of(tip - d * 1.2f + side * 0.5f), look.edge);
    }
    draw_line(img, px_of(base), px_of(tip), look.core);
    img.set(px_of(tip).x, px_of(tip).y, look.shine);
    draw_line(img, px_of(hand - d * 1.2f), px_of(hand), look.grip);
    const Vec2 g = hand + d * 1.0f;
    const float reach = width > 1 ? 2.0f : 1.2f;
    draw_line(img, px_of(g + side * reach), px_of(g - side * reach), look.guard);
}

Vec2 draw_haft(PixelImage& img, Vec2 hand, float degrees, int length, Rgba outline, Rgba wood, int behind) {
    const Vec2 d = dir_of(degrees);
    const Vec2 side = {-d.y, d.x};
    const Vec2 a = hand - d * static_cast<float>(behind), b = hand + d * static_cast<float>(length);
    draw_line(img, px_of(a + side * 0.9f), px_of(b + side * 0.9f), outline);
    draw_line(img, px_of(a), px_of(b), wood);
    return b;
}

void draw_limb(PixelImage& img, Vec2 a, Vec2 b, Rgba outline, Rgba fill, Rgba lit) {
    draw_line(img, px_of(a + Vec2{0.0f, 1.0f}), px_of(b + Vec2{0.0f, 1.0f}), outline);
    draw_line(img, px_of(a + Vec2{1.0f, 0.0f}), px_of(b + Vec2{1.0f, 0.0f}), outline);
    draw_line(img, px_of(a), px_of(b), fill);
    img.set(px_of(a).x, px_of(a).y, lit);
}

PixelImage strip(const std::vector<PixelImage>& frames) {
    const int fw = frames.front().width, fh = frames.front().height;
    PixelImage out(fw * static_cast<int>(frames.size()), fh);
    for (size_t i = 0; i < frames.size(); ++i) blit(out, frames[i], static_cast<int>(i) * fw, 0);
    return out;
}
