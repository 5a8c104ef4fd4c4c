#include "render/hud.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/game_menu.h"
#include "render/actors.h"
#include "render/sandbox_menu.h"
#include "story/intro.h"

namespace {

constexpr Color HP_PANEL = {19, 25, 31, 225};
constexpr Color HP_BAR_BACK = {72, 35, 37, 255};
constexpr Color HP_BAR = {225, 68, 76, 255};
constexpr int HP_BAR_W = 180;

constexpr Color PROMPT_PANEL = {9, 15, 24, 206};
constexpr Color SLOWMO_WASH = {34, 79, 189, 76};

constexpr Color DIALOGUE_DIM = {8, 10, 20, 95};
constexpr Color DIALOGUE_BORDER = {207, 175, 116, 255};
constexpr Color DIALOGUE_PANEL = {24, 28, 42, 244};
constexpr Color PORTRAIT_WELL = {9, 12, 23, 255};
constexpr Color CONTINUE_MARKER = {255, 213, 127, 255};
constexpr int GLYPH_W = 16;
constexpr int GLYPH_H = 30;
constexpr int TEXT_X = 214;
constexpr int TEXT_Y = 441;

constexpr Color GAME_OVER_DIM = {7, 9, 16, 190};
constexpr Color ASSIST_BACK = {9, 15, 24, 180};

constexpr Color SLOT_SELECTED = {255, 215, 106, 255};
constexpr Color SLOT_FRAME = {90, 107, 109, 255};
constexpr Color SLOT_WELL = {27, 36, 42, 230};
constexpr Color SLOT_NUMBER = {205, 213, 210, 255};
constexpr int SLOT_FIRST_X = 23;
constexpr int SLOT_SPACING = 60;
constexpr int CURSOR_ARM = 5;

void draw_hp_panel(int64_t hp) {
    DrawRectangle(874, 12, 194, 30, HP_PANEL);
    DrawRectangle(881, 19, HP_BAR_W, 16, HP_BAR_BACK);
    const int64_t h = std::clamp<int64_t>(hp, 0, 100);
    DrawRectangle(881, 19, static_cast<int>(h * HP_BAR_W / 100), 16, HP_BAR);
    DrawText("HP", 884, 20, 12, WHITE);
}

void draw_text_row(Texture2D text, int64_t chars, int row) {
    if (chars <= 0) return;
    const float w = static_cast<float>(chars * GLYPH_W);
    const float src_y = static_cast<float>(row * GLYPH_H);
    DrawTexturePro(text, Rectangle{0.0f, src_y, w, static_cast<float>(GLYPH_H)},
                   Rectangle{static_cast<float>(TEXT_X), static_cast<float>(TEXT_Y + row * GLYPH_H), w,
                             static_cast<float>(GLYPH_H)},
                   Vector2{0, 0}, 0.0f, WHITE);
}

void draw_dialogue_box(const Game& game) {
    const DialogueLine& line = dialogue_line_info(game.dialogue_line);
    DrawRectangle(0, 0, VIRTUAL_W, VIRTUAL_H, DIALOGUE_DIM);
    DrawRectangle(45, 410, 990, 169, DIALOGUE_BORDER);
    DrawRectangle(49, 414, 982, 161, DIALOGUE_PANEL);
    DrawRectangle(61, 426, 134, 134, PORTRAIT_WELL);
    const Texture2D portrait = game.textures[line.portrait];
    if (IsTextureValid(portrait)) {
        DrawTexturePro(portrait,
                       Rectangle{0, 0, static_cast<float>(portrait.width), static_cast<float>(portrait.height)},
                       Rectangle{64, 429, 128, 128}, Vector2{0, 0}, 0.0f, WHITE);
    }
    const RevealedText shown = revealed_text(game.dialogue_line, game.dialogue_chars);
    const Texture2D text = game.textures[line.text];
    if (IsTextureValid(text)) {
        draw_text_row(text, shown.row1, 0);
        draw_text_row(text, shown.row2, 1);
    }
    if (shown.complete) DrawTriangle(Vector2{1005, 546}, Vector2{1011, 556}, Vector2{1018, 546}, CONTINUE_MARKER);
}

void draw_icon(const Game& game, Material m, Rectangle dst) {
    const Texture2D icons = game.textures[TEX_MATERIAL_ICONS];
    if (m == Material::Empty || !IsTextureValid(icons)) return;
    DrawTexturePro(icons, material_icon_source(m), dst, Vector2{0, 0}, 0.0f, WHITE);
}

void draw_slot_bar(const Game& game) {
    const Inventory& inv = game.inventory;
    char text[24];
    for (int64_t i = 0; i < SLOT_COUNT; ++i) {
        const InventorySlot& slot = inv.slots[static_cast<size_t>(i)];
        const int x = SLOT_FIRST_X + SLOT_SPACING * static_cast<int>(i);
        DrawRectangle(x - 11, 12, 54, 54, i == inv.selected ? SLOT_SELECTED : SLOT_FRAME);
        DrawRectangle(x - 8, 15, 48, 48, SLOT_WELL);
        std::snprintf(text, sizeof text, "%d", static_cast<int>(i + 1));
        DrawText(text, x - 6, 16, 12, SLOT_NUMBER);
        if (slot.count == 0) continue;
        draw_icon(game, slot.material, Rectangle{static_cast<float>(x), 19, 32, 32});
        if (slot.count < 0) {
            DrawText("INF", x - 5, 49, 13, WHITE);
        } else {
            std::snprintf(text, sizeof text, "%lld", static_cast<long long>(slot.count));
            DrawText(text, x - 5, 49, 13, WHITE);
        }
    }
}

// The in-play cursor: the selected material's icon, or a white cross when the
// slot is empty.
void draw_cursor(const Game& game) {
    const int mx = game.mouse_virtual.x;
    const int my = game.mouse_virtual.y;
    if (active_count(game.inventory) == 0) {
        DrawLine(mx - CURSOR_ARM, my, mx + CURSOR_ARM, my, WHITE);
        DrawLine(mx, my - CURSOR_ARM, mx, my + CURSOR_ARM, WHITE);
        return;
    }
    const InventorySlot& slot = game.inventory.slots[static_cast<size_t>(game.inventory.selected)];
    draw_icon(game, slot.material, Rectangle{static_cast<float>(mx - 8), static_cast<float>(my - 8), 16, 16});
}

// Top centre, where nothing else of the HUD goes: the game is not being
// played as designed, and the player should be able to see that at a glance.
void draw_assist_tag(const Game& game) {
    const Texture2D tag = game.textures[TEX_HUD_ASSIST];
    if (!IsTextureValid(tag)) return;
    const int x = (VIRTUAL_W - tag.width) / 2;
    DrawRectangle(x - 6, 12, tag.width + 12, tag.height + 8, ASSIST_BACK);
    DrawTexture(tag, x, 16, WHITE);
}

void draw_game_over(const Game& game) {
    DrawRectangle(0, 0, VIRTUAL_W, VIRTUAL_H, GAME_OVER_DIM);
    DrawText("GAME OVER", 417, 280, 42, WHITE);
    draw_leave_hint(game, 540, 340);
}

}  // namespace

RevealedText revealed_text(int64_t line, float dialogue_chars) {
    int64_t l1 = 0;
    int64_t l2 = 0;
    if (line <= DIALOGUE_LINE_COUNT) {
        const DialogueLine& info = dialogue_line_info(line);
        l1 = info.row1;
        l2 = info.row2;
    }
    const auto n = static_cast<int64_t>(std::trunc(dialogue_chars));
    return RevealedText{std::min(std::max<int64_t>(n, 0), l1), std::min(std::max<int64_t>(n - l1, 0), l2),
                        dialogue_chars >= static_cast<float>(l1 + l2)};
}

void draw_stage_prompt(const Game& game) {
    if (game.story_stage == SLOWMO_STAGE) DrawRectangle(0, 0, VIRTUAL_W, VIRTUAL_H, SLOWMO_WASH);
    const int prompt = stage_prompt(game.story_stage);
    if (prompt == NO_PROMPT || !IsTextureValid(game.textures[prompt])) return;
    const Texture2D image = game.textures[prompt];
    const int x = (VIRTUAL_W - image.width) / 2;
    DrawRectangle(x - 12, 577 - image.height, image.width + 24, image.height + 16, PROMPT_PANEL);
    DrawTexture(image, x, 585 - image.height, WHITE);
}

void draw_hud(const Game& game) {
    if (game.story_stage >= 2) {
        if (game.sandbox.sandbox_unlocked) draw_sandbox(game);
        draw_hp_panel(game.player.hp);
        if (assists_on(game)) draw_assist_tag(game);
        if (game.materials_unlocked) {
            draw_slot_bar(game);
            draw_cursor(game);
        }
    }
    draw_stage_prompt(game);
    if (game.dialogue_line != 0) draw_dialogue_box(game);
    if (game.game_over) draw_game_over(game);
}
