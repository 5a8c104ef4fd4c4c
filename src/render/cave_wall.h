#pragma once
// The cave's brick wall as one texture: the brick tile repeated along a strip
// as wide as the cave, one texel per cell, each tile column carrying its fade
// toward the cave mouth in its alpha. The wall is then one quad a frame
// instead of several hundred brick quads.

#include <cstdint>

#include "app/raylib_api.h"
#include "assets/embedded_assets.h"

struct CaveWall {
    Texture2D texture;   // strip_width x tile texels; repeats downwards
    int64_t tile;        // the brick tile's size in cells
    int64_t opaque_end;  // first column whose bricks are not all opaque
};

// Width of the strip for a brick tile `tile` cells wide: whole tiles up to
// the cave's end. 0 when the tile is not usable.
int64_t cave_wall_width(int64_t tile);

// Fills `out` (cave_wall_width(brick.width) x brick.width texels, row-major)
// with the bricks and their fade, and returns the first column whose texels
// are not all opaque (the width when all are). The brick image must be
// usable (colours present, positive size).
int64_t write_cave_wall_texels(const ImageColors& brick, Color* out);

// Builds the strip from the embedded brick tile (needs the graphics context).
// On failure nothing is held and the frame draws no cave wall.
bool load_cave_wall(CaveWall& wall);
void unload_cave_wall(CaveWall& wall);
