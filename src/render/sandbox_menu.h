#pragma once
// The hidden sandbox: a typed code opens a panel of sixteen materials, and a
// click in the world paints a disc of the chosen one.

#include <array>
#include <cstdint>

#include "world/materials.h"

struct Game;
struct FrameInput;

struct SandboxState {
    bool sandbox_unlocked;
    bool panel_open;
    int64_t code_pos;  // keys of the code matched so far; kept across games
    Material sandbox_material;
};

struct PaletteRow {
    const char* label;
    Material material;
};
inline constexpr std::array<PaletteRow, 16> SANDBOX_PALETTE = {{
    {"Sand", Material::Sand},     {"Water", Material::Water},   {"Stone", Material::Stone},
    {"Smoke", Material::Smoke},   {"Wood", Material::Wood},     {"Fire", Material::Fire},
    {"Steam", Material::Steam},   {"Plasma", Material::Plasma}, {"Lava", Material::Lava},
    {"Powder", Material::Powder}, {"Explosion", Material::Boom}, {"Petrol", Material::Petrol},
    {"Acid", Material::Acid},     {"Iron", Material::Iron},     {"Snow", Material::Snow},
    {"Potion", Material::Potion},
}};
static_assert(SANDBOX_PALETTE.size() == 16);

struct PixelBox {
    int x0, y0, x1, y1;  // inclusive
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};
inline constexpr PixelBox SANDBOX_HEADER = {12, 80, 201, 109};
inline constexpr PixelBox SANDBOX_PANEL = {12, 116, 201, 593};

// At every new game: locked, closed, fire selected; the code's progress stays.
void reset_sandbox(SandboxState& s);
// Once per play frame: the code, TAB, clicks on the header and panel, painting.
void update_sandbox(Game& game, FrameInput& input);
// First in the HUD, once unlocked.
void draw_sandbox(const Game& game);
