#pragma once
// A colour swatch for the drawing tests, made up so that each texel says
// where it came from.

#include <cstddef>
#include <vector>

#include "render/world_render.h"

// A synthetic swatch whose pixel at (px, py) has r = px, g = py.
struct TestSwatch {
    std::vector<Color> pixels;
    ImageColors image;
    TestSwatch(int w, int h) : pixels(static_cast<size_t>(w * h)) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                pixels[static_cast<size_t>(y * w + x)] =
                    Color{static_cast<unsigned char>(x), static_cast<unsigned char>(y), 7, 200};
            }
        }
        image = ImageColors{pixels.data(), w, h};
    }
};
