#include "render/cave_wall.h"

#include <cstdlib>

#include "render/world_render.h"

int64_t cave_wall_width(int64_t tile) {
    if (tile <= 0) return 0;
    return (CAVE_END + tile - 1) / tile * tile;
}

int64_t write_cave_wall_texels(const ImageColors& brick, Color* out) {
    const int64_t tile = brick.width;
    const int64_t width = cave_wall_width(tile);
    int64_t opaque_end = width;
    for (int64_t x = 0; x < width; ++x) {
        const int64_t tile_x = x - x % tile;
        const int64_t fade = cave_brick_alpha(tile_x);
        for (int64_t y = 0; y < tile; ++y) {
            Color c = brick.colors[(y % brick.height) * brick.width + x % tile];
            // The frame multiplies the texel by the brick tint: the fade in
            // the texel's alpha ends up where the tint's alpha put it. Our
            // brick tile is opaque, so this is the fade itself.
            c.a = static_cast<unsigned char>(fade * c.a / 255);
            out[y * width + x] = c;
            if (c.a != 255 && x < opaque_end) opaque_end = x;
        }
    }
    return opaque_end;
}

bool load_cave_wall(CaveWall& wall) {
    wall = CaveWall{};
    ImageColors brick = load_embedded_image_colors(TEXTURE_ASSETS[TEX_CAVE_BRICK].path);
    const int64_t width = cave_wall_width(brick.width);
    if (brick.colors == nullptr || brick.height <= 0 || width <= 0) {
        free_image_colors(brick);
        return false;
    }
    auto* texels = static_cast<Color*>(std::calloc(static_cast<size_t>(width * brick.width), sizeof(Color)));
    if (texels == nullptr) {
        free_image_colors(brick);
        return false;
    }
    const int64_t opaque_end = write_cave_wall_texels(brick, texels);
    const Image image{texels, static_cast<int>(width), static_cast<int>(brick.width), 1,
                      PIXELFORMAT_UNCOMPRESSED_R8G8B8A8};
    const Texture2D texture = LoadTextureFromImage(image);
    std::free(texels);
    const int64_t tile = brick.width;
    free_image_colors(brick);
    if (!IsTextureValid(texture)) return false;
    // Bricks stay sharp at 3 pixels per texel, and the strip is one tile high:
    // the wall's rows of tiles are its repeats.
    SetTextureFilter(texture, TEXTURE_FILTER_POINT);
    SetTextureWrap(texture, TEXTURE_WRAP_REPEAT);
    wall = CaveWall{texture, tile, opaque_end};
    return true;
}

void unload_cave_wall(CaveWall& wall) {
    if (IsTextureValid(wall.texture)) UnloadTexture(wall.texture);
    wall = CaveWall{};
}
