#include "lettering.h"

#include "pixel_font.h"

// clang-format off
const LabelText LABELS[LABEL_COUNT] = {
    {"assets/ui/menu_play.png",     122, 31, 3, false, "PLAY", ""},
    {"assets/ui/menu_settings.png", 190, 36, 3, false, "SETTINGS", ""},
    {"assets/ui/menu_volume.png",   190, 31, 3, false, "* VOLUME *", ""},
    {"assets/ui/menu_back.png",     107, 36, 3, false, "BACK", ""},
    {"assets/ui/intro_egg.png",     336, 58, 2, true,  "Press any key", "to hatch the egg"},
    {"assets/ui/intro_move.png",    442, 29, 2, true,  "A/D to walk, Space or W to jump", ""},
    {"assets/ui/intro_fire.png",    500, 29, 2, true,  "Hold left mouse button to breathe fire", ""},
    {"assets/ui/intro_fight.png",   154, 29, 2, true,  "Now, fight!", ""},
    {"assets/ui/intro_barrel.png",  408, 29, 2, true,  "Press E near a barrel to eat it", ""},
    {"assets/ui/ending_title.png",  646, 67, 6, false, "THE VALE IS FREE", ""},
    {"assets/ui/menu_quit.png",     116, 31, 3, false, "QUIT", ""},
    {"assets/ui/menu_resume.png",   158, 31, 3, false, "RESUME", ""},
    {"assets/ui/menu_to_title.png", 260, 31, 3, false, "QUIT TO TITLE", ""},
    {"assets/ui/menu_continue.png", 188, 31, 3, false, "CONTINUE", ""},
    {"assets/ui/settings_game_speed.png", 125, 21, 2, false, "GAME SPEED", ""},
    {"assets/ui/settings_damage.png", 149, 21, 2, false, "DAMAGE TAKEN", ""},
    {"assets/ui/hud_assist.png", 77, 21, 2, false, "ASSIST", ""},
};

const DialogueText DIALOGUES[DIALOGUE_COUNT] = {
    {"assets/ui/dialogue_awakening.png",      368, 30, 23,  0, "I am awake. Where am I?", ""},
    {"assets/ui/dialogue_knight.png",         528, 60, 33, 20, "Halt there, wyrm! No dragon shall", "set foot in my vale."},
    {"assets/ui/dialogue_dragon_shock.png",   400, 30, 25,  0, "A knight? What did I do?!", ""},
    {"assets/ui/dialogue_knight_threat.png",  592, 60, 37, 30, "Your kind burned our homes. Kneel, or", "my blade shall end you, beast!"},
    {"assets/ui/dialogue_dragon_vow.png",     560, 60, 35, 21, "I burned nothing! But strike at me,", "and you'll know fire."},
    {"assets/ui/dialogue_boss_question.png",  416, 30, 26,  0, "Why have you come, dragon?", ""},
    {"assets/ui/dialogue_boss_answer.png",    544, 30, 34,  0, "To end the hunt and free the vale.", ""},
    {"assets/ui/dialogue_boss_defiance.png",  480, 30, 30,  0, "Not yet! My fire burns hotter!", ""},
    {"assets/ui/dialogue_boss_farewell.png",  368, 30, 23,  0, "Farewell, knight. Rest.", ""},
};
// clang-format on

PixelImage render_label(const LabelText& label) {
    PixelImage image(label.width, label.height);
    const TextStyle style{label.scale, label.descenders};
    const int h = line_height(style);
    const bool two_rows = label.row2[0] != '\0';
    const int rows = two_rows ? 2 : 1;
    // Rows share the height equally; each is centred in its share.
    for (int r = 0; r < rows; ++r) {
        const char* text = r == 0 ? label.row1 : label.row2;
        const int share_top = label.height * r / rows;
        const int share = label.height * (r + 1) / rows - share_top;
        const int x = (label.width - text_width(text, style)) / 2;
        draw_text(image, text, x, share_top + (share - h) / 2, style);
    }
    return image;
}

PixelImage render_dialogue(const DialogueText& line) {
    PixelImage image(line.width, line.height);
    const TextStyle style{2, true};
    const int top = (DIALOGUE_ROW_HEIGHT - line_height(style)) / 2;
    draw_text_cells(image, line.row1, 0, top, DIALOGUE_CELL_WIDTH, style);
    draw_text_cells(image, line.row2, 0, DIALOGUE_ROW_HEIGHT + top, DIALOGUE_CELL_WIDTH, style);
    return image;
}
