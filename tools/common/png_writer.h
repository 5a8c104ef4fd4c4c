#pragma once
// Minimal deterministic PNG encoder for the asset generators (8-bit RGBA or
// RGB, zlib level 9, one IDAT, no ancillary chunks, so the same pixels always
// give the same bytes).

#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    uint8_t r, g, b, a;
};

struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;  // row-major, top row first

    PixelImage() = default;
    PixelImage(int w, int h, Rgba fill = {0, 0, 0, 0})
        : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgba& at(int x, int y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    const Rgba& at(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    void set(int x, int y, Rgba c) {
        if (inside(x, y)) at(x, y) = c;
    }
};

// Encodes the image; drops the alpha channel when every pixel is opaque.
std::vector<uint8_t> encode_png(const PixelImage& image);

// Writes the PNG, creating parent folders. Returns false on I/O failure.
bool write_png(const std::string& path, const PixelImage& image);

// Writes raw bytes, creating parent folders.
bool write_file(const std::string& path, const std::vector<uint8_t>& bytes);
