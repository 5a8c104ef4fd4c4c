#include "render/cell_layer.h"

#include <cstdlib>

bool load_cell_layer(CellLayer& layer) {
    layer = CellLayer{};
    auto* texels = static_cast<Color*>(std::calloc(static_cast<size_t>(CELL_LAYER_W) * CELL_LAYER_H, sizeof(Color)));
    if (texels == nullptr) return false;
    const Image image{texels, CELL_LAYER_W, CELL_LAYER_H, 1, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8};
    const Texture2D texture = LoadTextureFromImage(image);
    if (!IsTextureValid(texture)) {
        std::free(texels);
        return false;
    }
    // Each texel is one cell scaled up 3 times: it must stay a sharp square.
    SetTextureFilter(texture, TEXTURE_FILTER_POINT);
    SetTextureWrap(texture, TEXTURE_WRAP_CLAMP);
    layer = CellLayer{texels, texture};
    return true;
}

void unload_cell_layer(CellLayer& layer) {
    if (IsTextureValid(layer.texture)) UnloadTexture(layer.texture);
    std::free(layer.texels);
    layer = CellLayer{};
}
