#include "assets.h"

#include "lettering.h"
#include "portraits.h"
#include "scenery.h"
#include "shaders.h"
#include "swatches.h"

namespace {

GeneratedAsset image_asset(const char* path, PixelImage image) { return {path, true, std::move(image), {}}; }

GeneratedAsset text_asset(const char* path, const char* text) { return {path, false, {}, text}; }

}  // namespace

std::vector<GeneratedAsset> generate_all() {
    std::vector<GeneratedAsset> out;
    out.push_back(image_asset("assets/backgrounds/medieval_panorama.png", make_panorama()));
    out.push_back(image_asset("assets/backgrounds/cave_brick_seamless.png", make_cave_brick()));
    out.push_back(image_asset("assets/textures/stone_texture.png", make_stone_swatch()));
    out.push_back(image_asset("assets/textures/wood_texture.png", make_wood_swatch()));
    out.push_back(image_asset("assets/backgrounds/ending_sunset_wide.png", make_ending_sunset()));
    for (const LabelText& label : LABELS) out.push_back(image_asset(label.path, render_label(label)));
    for (const DialogueText& line : DIALOGUES) out.push_back(image_asset(line.path, render_dialogue(line)));
    for (const PortraitArt& art : PORTRAITS) out.push_back(image_asset(art.path, make_portrait(art)));
    out.push_back(text_asset(SLOWMO_DESKTOP_PATH, slowmo_shader_text()));
    out.push_back(text_asset(SLOWMO_WEB_PATH, slowmo_web_shader_text()));
    return out;
}

std::vector<uint8_t> asset_bytes(const GeneratedAsset& asset) {
    if (asset.is_image) return encode_png(asset.image);
    return std::vector<uint8_t>(asset.text.begin(), asset.text.end());
}

const GeneratedAsset* find_asset(const std::vector<GeneratedAsset>& assets, const std::string& path) {
    for (const GeneratedAsset& a : assets) {
        if (a.path == path) return &a;
    }
    return nullptr;
}
