#include "sheets.h"

#include "art.h"

int sheet_index(const std::string& key) {
    for (size_t i = 0; i < SHEETS.size(); ++i) {
        if (key == SHEETS[i].key) return static_cast<int>(i);
    }
    return -1;
}

PixelImage generate_sheet(size_t index) {
    switch (index) {
        case 0: return dragon_sheet(DragonSheet::Base, false);
        case 1: return dragon_sheet(DragonSheet::Base, true);
        case 2: return dragon_sheet(DragonSheet::Jump, false);
        case 3: return dragon_sheet(DragonSheet::Jump, true);
        case 4: return dragon_sheet(DragonSheet::Spit, false);
        case 5: return dragon_sheet(DragonSheet::Spit, true);
        case 6: return dragon_sheet(DragonSheet::SpitRun, false);
        case 7: return dragon_sheet(DragonSheet::SpitRun, true);
        case 8: return dragon_sheet(DragonSheet::Eat, false);
        case 9: return dragon_sheet(DragonSheet::Eat, true);
        case 10: return knight_sheet();
        case 11: return ogre_sheet();
        case 12: return barbarian_sheet();
        case 13: return boss_sheet();
        case 14: return barrel_sheet();
        case 15: return material_icon_sheet();
        case 16: return egg_sprite();
        default: return {};
    }
}

std::vector<GeneratedSheet> generate_all() {
    std::vector<GeneratedSheet> out;
    out.reserve(SHEETS.size());
    for (size_t i = 0; i < SHEETS.size(); ++i) out.push_back({&SHEETS[i], generate_sheet(i)});
    return out;
}
