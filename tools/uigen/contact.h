#pragma once
// Review pictures: mock-ups of how the generated art appears in the game
// (menus, play view, dialogue, ending, material cells) and one contact
// sheet that lays them all out scaled down.

#include <string>
#include <vector>

#include "assets.h"

struct Preview {
    std::string name;
    PixelImage image;
};

std::vector<Preview> make_previews(const std::vector<GeneratedAsset>& assets);
PixelImage make_contact_sheet(const std::vector<GeneratedAsset>& assets);
