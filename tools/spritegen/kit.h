#pragma once
// Drawing helpers shared by the actor sheets: lines, limbs and weapons that
// move freely between hand-drawn parts.

#include "paint.h"

// Pixel containing point p.
struct Px {
    int x;
    int y;
};
Px px_of(Vec2 p);

void draw_line(PixelImage& img, Px a, Px b, Rgba c);

// A one-handed weapon held at `hand`, pointing `degrees` (0 = right,
// -90 = up): pommel behind the hand, a cross-guard, then `length` pixels.
struct BladeLook {
    Rgba outline;
    Rgba edge;    // shaded side of a wide blade
    Rgba core;
    Rgba shine;   // the tip glint
    Rgba guard;
    Rgba grip;
};
void draw_blade(PixelImage& img, Vec2 hand, float degrees, int length, const BladeLook& look, int width = 1);

// A hafted weapon (axe, club): a shaft from the hand, `head` drawn at its end
// by the caller. Returns the end of the shaft.
Vec2 draw_haft(PixelImage& img, Vec2 hand, float degrees, int length, Rgba outline, Rgba wood, int behind = 1);

// A limb two pixels thick from a to b: outline under, fill on top.
void draw_limb(PixelImage& img, Vec2 a, Vec2 b, Rgba outline, Rgba fill, Rgba lit);

PixelImage strip(const std::vector<PixelImage>& frames);
