#include "assets/embedded_assets.h"

#include <cstdlib>
#include <cstring>

#include "assets/embedded_table.h"

namespace {

Image decode_png(const char* path) {
    const ByteView view = embedded_file(path);
    if (view.empty()) return Image{};
    return LoadImageFromMemory(".png", view.data, static_cast<int>(view.size));
}

int raylib_filter(TextureFilterChoice f) {
    return f == TextureFilterChoice::Bilinear ? TEXTURE_FILTER_BILINEAR : TEXTURE_FILTER_POINT;
}

}  // namespace

ByteView embedded_file(std::string_view path) {
    for (long i = 0; i < EMBEDDED_FILE_COUNT; ++i) {
        const EmbeddedEntry& e = EMBEDDED_FILES[i];
        if (path == e.key) {
            return ByteView{e.begin, static_cast<size_t>(e.end - e.begin)};
        }
    }
    return ByteView{nullptr, 0};
}

bool copy_with_terminator(ByteView view, unsigned char* out, size_t out_size) {
    if (view.empty() || out_size < view.size + 1) return false;
    std::memcpy(out, view.data, view.size);
    out[view.size] = 0;
    return true;
}

Texture2D load_embedded_texture(const char* path) {
    Image image = decode_png(path);
    if (!IsImageValid(image)) return Texture2D{};
    const Texture2D texture = LoadTextureFromImage(image);
    UnloadImage(image);
    return texture;
}

ImageColors load_embedded_image_colors(const char* path) {
    Image image = decode_png(path);
    if (!IsImageValid(image)) return ImageColors{};
    ImageColors out{LoadImageColors(image), image.width, image.height};
    UnloadImage(image);
    return out;
}

Shader load_embedded_shader(const char* path) {
    const ByteView view = embedded_file(path);
    if (view.empty()) return Shader{};
    // raylib wants zero-terminated text; the embedded bytes are not.
    auto* text = static_cast<unsigned char*>(std::calloc(view.size + 1, 1));
    if (text == nullptr) return Shader{};
    copy_with_terminator(view, text, view.size + 1);
    const Shader shader = LoadShaderFromMemory(nullptr, reinterpret_cast<const char*>(text));
    std::free(text);
    return shader;
}

void load_all_textures(Texture2D (&textures)[TEXTURE_COUNT]) {
    for (int i = 0; i < TEXTURE_COUNT; ++i) {
        textures[i] = load_embedded_texture(TEXTURE_ASSETS[i].path);
        if (IsTextureValid(textures[i]) && TEXTURE_ASSETS[i].filter != TextureFilterChoice::None) {
            SetTextureFilter(textures[i], raylib_filter(TEXTURE_ASSETS[i].filter));
        }
    }
}

void unload_all_textures(Texture2D (&textures)[TEXTURE_COUNT]) {
    for (Texture2D& t : textures) {
        if (IsTextureValid(t)) UnloadTexture(t);
        t = Texture2D{};
    }
}

void free_image_colors(ImageColors& image) {
    if (image.colors != nullptr) MemFree(image.colors);
    image = ImageColors{};
}
