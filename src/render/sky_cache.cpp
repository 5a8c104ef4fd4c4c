#include "render/sky_cache.h"

#include "app/game.h"

bool load_sky_cache(SkyCache& cache) {
    cache = SkyCache{};
    const RenderTexture2D target = LoadRenderTexture(VIRTUAL_W, VIRTUAL_H);
    if (!IsRenderTextureValid(target)) return false;
    // Copied pixel for pixel: it must not be filtered.
    SetTextureFilter(target.texture, TEXTURE_FILTER_POINT);
    cache.target = target;
    return true;
}

void unload_sky_cache(SkyCache& cache) {
    if (IsRenderTextureValid(cache.target)) UnloadRenderTexture(cache.target);
    cache = SkyCache{};
}
