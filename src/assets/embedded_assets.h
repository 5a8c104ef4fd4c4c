#pragma once
// Every image, sound and shader is compiled into the executable and found by
// its path relative to the repository root.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/raylib_api.h"

struct ByteView {
    const unsigned char* data;
    size_t size;
    bool empty() const { return size == 0; }
};

struct ImageColors {
    Color* colors;  // width x height, row-major, owned; freed with MemFree
    int64_t width;
    int64_t height;
};

inline constexpr int TEXTURE_COUNT = 49;

enum class TextureFilterChoice { None, Point, Bilinear };

struct TextureAsset {
    const char* path;
    int width;
    int height;
    TextureFilterChoice filter;
};

// Indices into Game::textures, in load order.
enum TextureId : int {
    TEX_VITA = 0,
    TEX_MORT,
    TEX_VITA_JUMP,
    TEX_MORT_JUMP,
    TEX_VITA_SPIT,
    TEX_MORT_SPIT,
    TEX_VITA_SPIT_RUN,
    TEX_MORT_SPIT_RUN,
    TEX_PANORAMA,
    TEX_CAVE_BRICK,
    TEX_MENU_PLAY,
    TEX_MENU_SETTINGS,
    TEX_MENU_VOLUME,
    TEX_MENU_BACK,
    TEX_EGG,
    TEX_DRAGON_ICON,
    TEX_BLUE_KNIGHT_ICON,
    TEX_BOSS_KNIGHT_ICON,
    TEX_DIALOGUE_AWAKENING,
    TEX_DIALOGUE_KNIGHT,
    TEX_DIALOGUE_DRAGON_SHOCK,
    TEX_DIALOGUE_KNIGHT_THREAT,
    TEX_DIALOGUE_DRAGON_VOW,
    TEX_DIALOGUE_BOSS_QUESTION,
    TEX_DIALOGUE_BOSS_ANSWER,
    TEX_DIALOGUE_BOSS_DEFIANCE,
    TEX_DIALOGUE_BOSS_FAREWELL,
    TEX_INTRO_EGG,
    TEX_INTRO_MOVE,
    TEX_INTRO_FIRE,
    TEX_INTRO_FIGHT,
    TEX_INTRO_BARREL,
    TEX_BARREL,
    TEX_VITA_EAT,
    TEX_MORT_EAT,
    TEX_MATERIAL_ICONS,
    TEX_KNIGHT,
    TEX_OGRE,
    TEX_BARBARIAN,
    TEX_BOSS,
    TEX_ENDING,
    TEX_ENDING_TITLE,
    TEX_MENU_QUIT,
    TEX_MENU_RESUME,
    TEX_MENU_TO_TITLE,
    TEX_MENU_CONTINUE,
    TEX_SETTINGS_GAME_SPEED,
    TEX_SETTINGS_DAMAGE,
    TEX_HUD_ASSIST,
};

// clang-format off
inline constexpr TextureAsset TEXTURE_ASSETS[TEXTURE_COUNT] = {
    {"DinoSprites - vita.png", 576, 24, TextureFilterChoice::Point},
    {"dinoCharactersVersion1.1/sheets/DinoSprites - mort.png", 576, 24, TextureFilterChoice::Point},
    {"assets/sprites/dino_vita_jump.png", 48, 24, TextureFilterChoice::Point},
    {"assets/sprites/dino_mort_jump.png", 48, 24, TextureFilterChoice::Point},
    {"assets/sprites/dino_vita_spit.png", 192, 32, TextureFilterChoice::Point},
    {"assets/sprites/dino_mort_spit.png", 192, 32, TextureFilterChoice::Point},
    {"assets/sprites/dino_vita_spit_run.png", 1344, 32, TextureFilterChoice::Point},
    {"assets/sprites/dino_mort_spit_run.png", 1344, 32, TextureFilterChoice::Point},
    {"assets/backgrounds/medieval_panorama.png", 2168, 725, TextureFilterChoice::Bilinear},
    {"assets/backgrounds/cave_brick_seamless.png", 14, 14, TextureFilterChoice::Point},
    {"assets/ui/menu_play.png", 122, 31, TextureFilterChoice::None},
    {"assets/ui/menu_settings.png", 190, 36, TextureFilterChoice::None},
    {"assets/ui/menu_volume.png", 190, 31, TextureFilterChoice::None},
    {"assets/ui/menu_back.png", 107, 36, TextureFilterChoice::None},
    {"assets/sprites/intro_egg.png", 16, 18, TextureFilterChoice::Point},
    {"dragon_icon.png", 1323, 1189, TextureFilterChoice::None},
    {"blue_knight_icon.png", 1359, 1158, TextureFilterChoice::None},
    {"boss_knight_icon.png", 1199, 1312, TextureFilterChoice::None},
    {"assets/ui/dialogue_awakening.png", 368, 30, TextureFilterChoice::None},
    {"assets/ui/dialogue_knight.png", 528, 60, TextureFilterChoice::None},
    {"assets/ui/dialogue_dragon_shock.png", 400, 30, TextureFilterChoice::None},
    {"assets/ui/dialogue_knight_threat.png", 592, 60, TextureFilterChoice::None},
    {"assets/ui/dialogue_dragon_vow.png", 560, 60, TextureFilterChoice::None},
    {"assets/ui/dialogue_boss_question.png", 416, 30, TextureFilterChoice::None},
    {"assets/ui/dialogue_boss_answer.png", 544, 30, TextureFilterChoice::None},
    {"assets/ui/dialogue_boss_defiance.png", 480, 30, TextureFilterChoice::None},
    {"assets/ui/dialogue_boss_farewell.png", 368, 30, TextureFilterChoice::None},
    {"assets/ui/intro_egg.png", 336, 58, TextureFilterChoice::None},
    {"assets/ui/intro_move.png", 442, 29, TextureFilterChoice::None},
    {"assets/ui/intro_fire.png", 500, 29, TextureFilterChoice::None},
    {"assets/ui/intro_fight.png", 154, 29, TextureFilterChoice::None},
    {"assets/ui/intro_barrel.png", 408, 29, TextureFilterChoice::None},
    {"assets/sprites/barrel_break.png", 120, 24, TextureFilterChoice::Point},
    {"assets/sprites/dino_vita_eat.png", 384, 32, TextureFilterChoice::Point},
    {"assets/sprites/dino_mort_eat.png", 384, 32, TextureFilterChoice::Point},
    {"assets/sprites/material_icons.png", 352, 16, TextureFilterChoice::Point},
    {"assets/sprites/knight_blue.png", 500, 20, TextureFilterChoice::Point},
    {"assets/sprites/ogre.png", 352, 22, TextureFilterChoice::Point},
    {"assets/sprites/barbarian.png", 420, 20, TextureFilterChoice::Point},
    {"assets/sprites/free_knight_boss.png", 3840, 80, TextureFilterChoice::Point},
    {"assets/backgrounds/ending_sunset_wide.png", 1080, 609, TextureFilterChoice::None},
    {"assets/ui/ending_title.png", 646, 67, TextureFilterChoice::None},
    {"assets/ui/menu_quit.png", 116, 31, TextureFilterChoice::None},
    {"assets/ui/menu_resume.png", 158, 31, TextureFilterChoice::None},
    {"assets/ui/menu_to_title.png", 260, 31, TextureFilterChoice::None},
    {"assets/ui/menu_continue.png", 188, 31, TextureFilterChoice::None},
    {"assets/ui/settings_game_speed.png", 125, 21, TextureFilterChoice::None},
    {"assets/ui/settings_damage.png", 149, 21, TextureFilterChoice::None},
    {"assets/ui/hud_assist.png", 77, 21, TextureFilterChoice::None},
};
// clang-format on

inline constexpr const char* STONE_SWATCH_PATH = "assets/textures/stone_texture.png";
inline constexpr const char* WOOD_SWATCH_PATH = "assets/textures/wood_texture.png";
#ifdef __EMSCRIPTEN__
// WebGL takes GLSL ES 1.00 only; the web variant grades the same way.
inline constexpr const char* SLOWMO_SHADER_PATH = "assets/shaders/intro_slowmo_web.fs";
#else
inline constexpr const char* SLOWMO_SHADER_PATH = "assets/shaders/intro_slowmo.fs";
#endif
inline constexpr int EMBEDDED_ENTRY_COUNT = 131;

// Exact, case-sensitive lookup; an unknown path gives an empty view.
ByteView embedded_file(std::string_view path);

// The zero-terminated copy of a text entry that the shader loader hands to
// raylib: `out` receives size + 1 bytes. Returns false for a missing entry.
bool copy_with_terminator(ByteView view, unsigned char* out, size_t out_size);

Texture2D load_embedded_texture(const char* path);
ImageColors load_embedded_image_colors(const char* path);
Shader load_embedded_shader(const char* path);

// Start-up and shutdown of the textures, in table order.
void load_all_textures(Texture2D (&textures)[TEXTURE_COUNT]);
void unload_all_textures(Texture2D (&textures)[TEXTURE_COUNT]);
void free_image_colors(ImageColors& image);
