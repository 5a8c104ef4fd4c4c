// The compiled-in file table: every asset present under its exact key,
// decodable, and of the size the game draws it at.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/raylib_api.h"
#include "assets/embedded_assets.h"
#include "assets/embedded_table.h"
#include "assets/game_audio.h"

namespace {

TEST(EmbeddedTable, HoldsExactlyTheGamesFiles) {
    EXPECT_EQ(EMBEDDED_FILE_COUNT, EMBEDDED_ENTRY_COUNT);
}

TEST(EmbeddedTable, EveryTextureDecodesAtItsSize) {
    for (const TextureAsset& asset : TEXTURE_ASSETS) {
        const ByteView view = embedded_file(asset.path);
        ASSERT_FALSE(view.empty()) << asset.path;
        Image image = LoadImageFromMemory(".png", view.data, static_cast<int>(view.size));
        ASSERT_TRUE(IsImageValid(image)) << asset.path;
        EXPECT_EQ(image.width, asset.width) << asset.path;
        EXPECT_EQ(image.height, asset.height) << asset.path;
        UnloadImage(image);
    }
}

TEST(EmbeddedTable, SwatchesDecodeAsColourArrays) {
    ImageColors stone = load_embedded_image_colors(STONE_SWATCH_PATH);
    ASSERT_NE(stone.colors, nullptr);
    EXPECT_EQ(stone.width, 740);
    EXPECT_EQ(stone.height, 513);
    ImageColors wood = load_embedded_image_colors(WOOD_SWATCH_PATH);
    ASSERT_NE(wood.colors, nullptr);
    EXPECT_EQ(wood.width, 256);
    EXPECT_EQ(wood.height, 256);
    free_image_colors(stone);
    free_image_colors(wood);
    EXPECT_EQ(stone.colors, nullptr);
}

TEST(EmbeddedTable, BothShadersArePresentAsText) {
    const ByteView desktop = embedded_file(SLOWMO_SHADER_PATH);
    ASSERT_FALSE(desktop.empty());
    const std::string text(reinterpret_cast<const char*>(desktop.data), desktop.size);
    EXPECT_NE(text.find("#version 330"), std::string::npos);
    const ByteView web = embedded_file("assets/shaders/intro_slowmo_web.fs");
    ASSERT_FALSE(web.empty());
    const std::string web_text(reinterpret_cast<const char*>(web.data), web.size);
    EXPECT_NE(web_text.find("#version 100"), std::string::npos);
}

TEST(EmbeddedTable, EverySoundVariantIsPresent) {
    for (int cue = 0; cue < SFX_CUE_COUNT; ++cue) {
        for (int v = 1; v <= SFX_VARIANTS; ++v) {
            char path[64];
            sfx_path(static_cast<SfxCue>(cue), v, path);
            EXPECT_FALSE(embedded_file(path).empty()) << path;
        }
    }
}

TEST(EmbeddedLookup, KeysMatchExactlyAndCaseSensitively) {
    EXPECT_FALSE(embedded_file("assets/sprites/ogre.png").empty());
    EXPECT_TRUE(embedded_file("assets/sprites/ogre.png ").empty());
    EXPECT_TRUE(embedded_file("Assets/sprites/ogre.png").empty());
    EXPECT_TRUE(embedded_file("assets/sprites/ogre.pn").empty());
    EXPECT_TRUE(embedded_file("").empty());
    // A key with blanks and no folder is found as it stands.
    EXPECT_FALSE(embedded_file("DinoSprites - vita.png").empty());
    EXPECT_TRUE(embedded_file("DinoSprites - vita.png").data != nullptr);
}

TEST(EmbeddedLookup, MissingEntriesGiveEmptyObjects) {
    EXPECT_EQ(embedded_file("assets/none.png").data, nullptr);
    const ImageColors none = load_embedded_image_colors("assets/none.png");
    EXPECT_EQ(none.colors, nullptr);
    EXPECT_EQ(none.width, 0);
}

TEST(ShaderText, CopyEndsWithAZeroByteWhateverTheLastByteIs) {
    const unsigned char text[] = {'v', 'o', 'i', 'd', 'X'};
    unsigned char out[6];
    std::memset(out, 0xAB, sizeof out);
    ASSERT_TRUE(copy_with_terminator(ByteView{text, sizeof text}, out, sizeof out));
    EXPECT_EQ(out[4], 'X');
    EXPECT_EQ(out[5], 0);
    EXPECT_FALSE(copy_with_terminator(ByteView{text, sizeof text}, out, 5));
    EXPECT_FALSE(copy_with_terminator(ByteView{nullptr, 0}, out, sizeof out));
}

}  // namespace
