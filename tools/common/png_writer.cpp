#include "png_writer.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void put_chunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    put_u32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start)));
    put_u32(out, crc);
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Per-row filter chosen by the smallest sum of absolute residuals.
std::vector<uint8_t> filtered_rows(const std::vector<uint8_t>& raw, size_t stride, int height, int bpp) {
    std::vector<uint8_t> out;
    out.reserve((stride + 1) * static_cast<size_t>(height));
    std::vector<uint8_t> best(stride), trial(stride);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = raw.data() + static_cast<size_t>(y) * stride;
        const uint8_t* up = y > 0 ? row - stride : nullptr;
        long best_score = -1;
        uint8_t best_type = 0;
        for (uint8_t type = 0; type < 5; ++type) {
            long score = 0;
            for (size_t i = 0; i < stride; ++i) {
                const int a = i >= static_cast<size_t>(bpp) ? row[i - static_cast<size_t>(bpp)] : 0;
                const int b = up ? up[i] : 0;
                const int c = (up && i >= static_cast<size_t>(bpp)) ? up[i - static_cast<size_t>(bpp)] : 0;
                int pred = 0;
                switch (type) {
                    case 1: pred = a; break;
                    case 2: pred = b; break;
                    case 3: pred = (a + b) / 2; break;
                    case 4: pred = paeth(a, b, c); break;
                    default: break;
                }
                const uint8_t v = static_cast<uint8_t>(row[i] - pred);
                trial[i] = v;
                score += v < 128 ? v : 256 - v;
            }
            if (best_score < 0 || score < best_score) {
                best_score = score;
                best_type = type;
                best.swap(trial);
            }
        }
        out.push_back(best_type);
        out.insert(out.end(), best.begin(), best.end());
    }
    return out;
}

}  // namespace

std::vector<uint8_t> encode_png(const PixelImage& image) {
    bool opaque = true;
    for (const Rgba& p : image.pixels) {
        if (p.a != 255) {
            opaque = false;
            break;
        }
    }
    const int bpp = opaque ? 3 : 4;
    const size_t stride = static_cast<size_t>(image.width) * static_cast<size_t>(bpp);
    std::vector<uint8_t> raw;
    raw.reserve(stride * static_cast<size_t>(image.height));
    for (const Rgba& p : image.pixels) {
        raw.push_back(p.r);
        raw.push_back(p.g);
        raw.push_back(p.b);
        if (!opaque) raw.push_back(p.a);
    }
    const std::vector<uint8_t> filtered = filtered_rows(raw, stride, image.height, bpp);

    uLongf packed_size = compressBound(static_cast<uLong>(filtered.size()));
    std::vector<uint8_t> packed(packed_size);
    compress2(packed.data(), &packed_size, filtered.data(), static_cast<uLong>(filtered.size()), 9);
    packed.resize(packed_size);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    put_u32(ihdr, static_cast<uint32_t>(image.width));
    put_u32(ihdr, static_cast<uint32_t>(image.height));
    ihdr.push_back(8);                     // bit depth
    ihdr.push_back(opaque ? 2 : 6);        // RGB or RGBA
    ihdr.push_back(0);
    ihdr.push_back(0);
    ihdr.push_back(0);
    put_chunk(out, "IHDR", ihdr);
    put_chunk(out, "IDAT", packed);
    put_chunk(out, "IEND", {});
    return out;
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path p(path);
    if (p.has_parent_path()) {
        std::error_code ec;
        std::filesystem::create_directories(p.parent_path(), ec);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool write_png(const std::string& path, const PixelImage& image) {
    return write_file(path, encode_png(image));
}
