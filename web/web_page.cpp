#include "web/web_page.h"

#include <emscripten/emscripten.h>

namespace {

const Game* page_game = nullptr;

}  // namespace

void web_page_attach(const Game& game) { page_game = &game; }

// Read from JavaScript as Module._cv_page_*(); -1 before the game runs.
extern "C" {

EMSCRIPTEN_KEEPALIVE int cv_page_screen() {
    return page_game == nullptr ? -1 : static_cast<int>(page_game->screen);
}

EMSCRIPTEN_KEEPALIVE int cv_page_story_stage() {
    return page_game == nullptr ? -1 : static_cast<int>(page_game->story_stage);
}

EMSCRIPTEN_KEEPALIVE int cv_page_dialogue_line() {
    return page_game == nullptr ? -1 : static_cast<int>(page_game->dialogue_line);
}

EMSCRIPTEN_KEEPALIVE double cv_page_player_x() {
    return page_game == nullptr ? -1.0 : static_cast<double>(page_game->player.x);
}

EMSCRIPTEN_KEEPALIVE int cv_page_game_speed() {
    return page_game == nullptr ? -1 : static_cast<int>(page_game->game_speed_pct);
}

EMSCRIPTEN_KEEPALIVE double cv_page_logic_steps() {
    return page_game == nullptr ? -1.0 : static_cast<double>(page_game->logic_steps);
}

}  // extern "C"
