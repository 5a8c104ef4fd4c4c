#pragma once
// Every sheet the generator writes: its key (path relative to the repository
// root), its size, how it is cut into frames, and which body the game lines
// it up with when it draws it.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "png_writer.h"

enum class BodyFit {
    None,         // props without a body box (icons, egg)
    DragonSmall,  // 24 x 24 dragon frames
    DragonLarge,  // 48 x 32 dragon frames
    Knight,
    Ogre,
    Barbarian,
    Boss,
    Barrel,
};

struct SheetLayout {
    const char* key;
    int width;
    int height;
    int frame_w;
    int frame_h;  // rows the game shows of each frame
    BodyFit fit;
};

inline constexpr std::array<SheetLayout, 17> SHEETS = {{
    {"DinoSprites - vita.png", 576, 24, 24, 24, BodyFit::DragonSmall},
    {"dinoCharactersVersion1.1/sheets/DinoSprites - mort.png", 576, 24, 24, 24, BodyFit::DragonSmall},
    {"assets/sprites/dino_vita_jump.png", 48, 24, 24, 24, BodyFit::DragonSmall},
    {"assets/sprites/dino_mort_jump.png", 48, 24, 24, 24, BodyFit::DragonSmall},
    {"assets/sprites/dino_vita_spit.png", 192, 32, 48, 32, BodyFit::DragonLarge},
    {"assets/sprites/dino_mort_spit.png", 192, 32, 48, 32, BodyFit::DragonLarge},
    {"assets/sprites/dino_vita_spit_run.png", 1344, 32, 48, 32, BodyFit::DragonLarge},
    {"assets/sprites/dino_mort_spit_run.png", 1344, 32, 48, 32, BodyFit::DragonLarge},
    {"assets/sprites/dino_vita_eat.png", 384, 32, 48, 32, BodyFit::DragonLarge},
    {"assets/sprites/dino_mort_eat.png", 384, 32, 48, 32, BodyFit::DragonLarge},
    {"assets/sprites/knight_blue.png", 500, 20, 20, 20, BodyFit::Knight},
    {"assets/sprites/ogre.png", 352, 22, 22, 20, BodyFit::Ogre},
    {"assets/sprites/barbarian.png", 420, 20, 20, 20, BodyFit::Barbarian},
    {"assets/sprites/free_knight_boss.png", 3840, 80, 120, 80, BodyFit::Boss},
    {"assets/sprites/barrel_break.png", 120, 24, 20, 24, BodyFit::Barrel},
    {"assets/sprites/material_icons.png", 352, 16, 16, 16, BodyFit::None},
    {"assets/sprites/intro_egg.png", 16, 18, 16, 18, BodyFit::None},
}};

inline constexpr int frame_count(const SheetLayout& s) { return s.width / s.frame_w; }

// Index into SHEETS of a key, or -1.
int sheet_index(const std::string& key);

PixelImage generate_sheet(size_t index);

struct GeneratedSheet {
    const SheetLayout* layout;
    PixelImage image;
};
std::vector<GeneratedSheet> generate_all();
