#include "render/sandbox_menu.h"

#include "app/game.h"
#include "render/actors.h"
#include "world/physics.h"
#include "world/player_particles.h"

namespace {

// Typed anywhere in play, in this order.
constexpr std::array<int, 5> UNLOCK_CODE = {KEY_K, KEY_I, KEY_L, KEY_N, KEY_S};
static_assert(UNLOCK_CODE.size() == 5);

constexpr int ROW_TOP = 128;
constexpr int ROW_PITCH = 29;
constexpr int ROW_LEFT = 18;
constexpr int ROW_RIGHT = 195;
constexpr int64_t BRUSH_RADIUS = 10;
constexpr int64_t BRUSH_RADIUS_SQ = 99;

constexpr Color HEADER_FILL = {32, 42, 49, 235};
constexpr Color PANEL_FILL = {25, 33, 39, 238};
constexpr Color ROW_CHOSEN = {91, 113, 91, 255};
constexpr Color ROW_FILL = {55, 67, 72, 255};

int row_y(size_t i) { return ROW_TOP + ROW_PITCH * static_cast<int>(i); }

PixelBox row_box(size_t i) { return PixelBox{ROW_LEFT, row_y(i) - 5, ROW_RIGHT, row_y(i) + 20}; }

void match_code(SandboxState& s, int key) {
    if (key == UNLOCK_CODE[static_cast<size_t>(s.code_pos)]) {
        if (++s.code_pos < static_cast<int64_t>(UNLOCK_CODE.size())) return;
        s.sandbox_unlocked = true;
        s.panel_open = true;
        s.code_pos = 0;
        return;
    }
    // A fresh start of the code restarts the match rather than losing it.
    s.code_pos = key == UNLOCK_CODE[0] ? 1 : 0;
}

bool in_player_box(const Player& p, int64_t x, int64_t y) {
    return x >= p.x && x < p.x + PLAYER_W && y >= p.y && y < p.y + PLAYER_H;
}

// A disc of the chosen material around the clicked cell, clipped at the
// grid's edge and kept off every body.
void paint(Game& game, int mx, int my) {
    const CamPx px = cam_px(game.camera);
    const int64_t cx = (mx + px.x) / 3;
    const int64_t cy = (my + px.y) / 3;
    World& world = *game.world;
    for (int64_t dy = -BRUSH_RADIUS; dy < BRUSH_RADIUS; ++dy) {
        for (int64_t dx = -BRUSH_RADIUS; dx < BRUSH_RADIUS; ++dx) {
            if (dx * dx + dy * dy > BRUSH_RADIUS_SQ) continue;
            const int64_t x = cx + dx;
            const int64_t y = cy + dy;
            if (!in_world(x, y) || in_player_box(game.player, x, y)) continue;
            set_cell(world, x, y, game.sandbox.sandbox_material);
        }
    }
}

void click(Game& game, int mx, int my) {
    SandboxState& s = game.sandbox;
    if (SANDBOX_HEADER.contains(mx, my)) {
        s.panel_open = !s.panel_open;
        return;
    }
    if (!s.panel_open) return;
    if (!SANDBOX_PANEL.contains(mx, my)) {
        paint(game, mx, my);
        return;
    }
    for (size_t i = 0; i < SANDBOX_PALETTE.size(); ++i) {
        if (row_box(i).contains(mx, my)) s.sandbox_material = SANDBOX_PALETTE[i].material;
    }
}

}  // namespace

void reset_sandbox(SandboxState& s) {
    s.sandbox_unlocked = false;
    s.panel_open = false;
    s.sandbox_material = Material::Fire;
}

void update_sandbox(Game& game, FrameInput& input) {
    if (game.story_stage < 2 || game.dialogue_line != 0 || game.game_over) return;
    SandboxState& s = game.sandbox;
    for (int key = take_key_pressed(input); key != 0; key = take_key_pressed(input)) {
        if (!s.sandbox_unlocked) match_code(s, key);
    }
    if (!s.sandbox_unlocked) return;
    if (key_pressed(input, KEY_TAB)) s.panel_open = !s.panel_open;
    if (input.mouse_pressed[0] && mouse_in_view(game.letterbox, input.mouse)) {
        const VirtualPoint m = to_virtual(game.letterbox, input.mouse);
        click(game, m.x, m.y);
    }
}

void draw_sandbox(const Game& game) {
    const SandboxState& s = game.sandbox;
    const Texture2D icons = game.textures[TEX_MATERIAL_ICONS];
    const bool has_icons = IsTextureValid(icons);
    DrawRectangle(12, 80, 190, 30, HEADER_FILL);
    if (s.sandbox_material != Material::Empty && has_icons) {
        DrawTexturePro(icons, material_icon_source(s.sandbox_material), Rectangle{18, 87, 16, 16}, Vector2{0, 0},
                       0.0f, WHITE);
    }
    DrawText("MATERIALS  [TAB]", 43, 88, 15, WHITE);
    if (!s.panel_open) return;
    DrawRectangle(12, 116, 190, 478, PANEL_FILL);
    for (size_t i = 0; i < SANDBOX_PALETTE.size(); ++i) {
        const PaletteRow& row = SANDBOX_PALETTE[i];
        const int y = row_y(i);
        DrawRectangle(ROW_LEFT, y - 5, 178, 26, row.material == s.sandbox_material ? ROW_CHOSEN : ROW_FILL);
        if (has_icons) {
            DrawTexturePro(icons, material_icon_source(row.material),
                           Rectangle{24, static_cast<float>(y), 16, 16}, Vector2{0, 0}, 0.0f, WHITE);
        }
        DrawText(row.label, 48, y + 1, 14, WHITE);
    }
}
