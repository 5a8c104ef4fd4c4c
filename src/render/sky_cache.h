#pragma once
// The panorama and its darkening, drawn into a frame-sized texture while the
// camera holds its column and copied from there: the panorama is a filtered
// scaling of a large image, the dearest layer of a grassland frame for a
// software rasteriser, and a plain copy costs a fraction of it.

#include "app/raylib_api.h"

struct SkyCache {
    RenderTexture2D target;  // the sky over the whole frame, nearest filtering
    bool holds;              // target holds the sky for `column`
    float column;            // camera column the sky in target was drawn for
    float last_column;       // camera column of the frame before
};

// Creates the texture (needs the graphics context). On failure nothing is
// held and the sky is always drawn directly.
bool load_sky_cache(SkyCache& cache);
void unload_sky_cache(SkyCache& cache);
