#pragma once
// The sheets, one drawing procedure per family.

#include "png_writer.h"

enum class DragonSheet {
    Base,     // 24 frames of 24 x 24: idle, walk, run, hurt, crouch
    Jump,     // 2 frames of 24 x 24: rising, falling
    Spit,     // 4 frames of 48 x 32: rest, three spit stages
    SpitRun,  // 28 frames of 48 x 32: 4 spit stages x 7 walk frames
    Eat,      // 8 frames of 48 x 32
};

// `empowered` picks the darker twin; poses and silhouettes are identical.
PixelImage dragon_sheet(DragonSheet which, bool empowered);

// The glow inside the open mouth of the spitting vita dragon.
inline constexpr Rgba VITA_THROAT_GLOW = {255, 190, 70, 255};

PixelImage knight_sheet();
PixelImage ogre_sheet();
PixelImage barbarian_sheet();
PixelImage boss_sheet();

PixelImage barrel_sheet();
PixelImage material_icon_sheet();
PixelImage egg_sprite();
