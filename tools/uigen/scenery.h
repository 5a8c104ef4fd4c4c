#pragma once
// The painted backdrops: the wide landscape behind the level and the
// sunset of the ending.

#include "png_writer.h"

inline constexpr int PANORAMA_WIDTH = 2168, PANORAMA_HEIGHT = 725;
inline constexpr int SUNSET_WIDTH = 1080, SUNSET_HEIGHT = 609;

PixelImage make_panorama();
PixelImage make_ending_sunset();
