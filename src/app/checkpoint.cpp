// The checkpoint behind Continue: a whole copy of the play state in storage
// set aside at start-up, so that keeping and resuming one allocates nothing.

#include <cstdlib>
#include <cstring>

#include "app/game.h"

struct Checkpoint {
    bool saved;
    Game game;  // the record as the checkpoint's frame left it
    World world;
    Level level;
};

namespace {

// What belongs to this run of the program and this machine rather than to
// the play: the blocks and raylib objects, the settings, the menus' focus.
void keep_run_state(Game& to, const Game& from) {
    to.world = from.world;
    to.level = from.level;
    to.checkpoint = from.checkpoint;
    to.master_volume = from.master_volume;
    std::memcpy(static_cast<void*>(to.sounds.variants), from.sounds.variants, sizeof to.sounds.variants);
    to.sounds.ready = from.sounds.ready;
    to.target = from.target;
    to.slowmo_shader = from.slowmo_shader;
    to.stone_pixels = from.stone_pixels;
    to.wood_pixels = from.wood_pixels;
    std::memcpy(static_cast<void*>(to.textures), from.textures, sizeof to.textures);
    to.cell_layer = from.cell_layer;
    to.letterbox = from.letterbox;
    to.game_speed_pct = from.game_speed_pct;
    to.damage_taken_pct = from.damage_taken_pct;
    to.fullscreen = from.fullscreen;
    to.saved_settings = from.saved_settings;
    std::memcpy(to.settings_path, from.settings_path, sizeof to.settings_path);
    to.quit_requested = from.quit_requested;
    to.menu_focus = from.menu_focus;
    to.menu_focus_shown = from.menu_focus_shown;
    to.continue_requested = false;
}

}  // namespace

bool create_checkpoint_storage(Game& game) {
    game.checkpoint = static_cast<Checkpoint*>(std::calloc(1, sizeof(Checkpoint)));
    return game.checkpoint != nullptr;
}

void free_checkpoint_storage(Game& game) {
    std::free(game.checkpoint);
    game.checkpoint = nullptr;
}

size_t checkpoint_bytes() { return sizeof(Checkpoint); }

void save_checkpoint(Game& game) {
    Checkpoint* cp = game.checkpoint;
    if (cp == nullptr || game.world == nullptr || game.level == nullptr) return;
    std::memcpy(static_cast<void*>(&cp->game), &game, sizeof(Game));
    std::memcpy(static_cast<void*>(&cp->world), game.world, sizeof(World));
    std::memcpy(static_cast<void*>(&cp->level), game.level, sizeof(Level));
    cp->saved = true;
}

bool checkpoint_saved(const Game& game) { return game.checkpoint != nullptr && game.checkpoint->saved; }

void clear_checkpoint(Game& game) {
    if (game.checkpoint != nullptr) game.checkpoint->saved = false;
}

bool restore_checkpoint(Game& game) {
    if (!checkpoint_saved(game)) return false;
    const Checkpoint& cp = *game.checkpoint;
    std::memcpy(static_cast<void*>(game.world), &cp.world, sizeof(World));
    std::memcpy(static_cast<void*>(game.level), &cp.level, sizeof(Level));
    // The record is rebuilt from the kept one with this run's own parts put
    // back; a copy of the whole record avoids forgetting a play field.
    Game& kept = game.checkpoint->game;
    Checkpoint* storage = game.checkpoint;
    keep_run_state(kept, game);
    std::memcpy(static_cast<void*>(&game), &kept, sizeof(Game));
    game.checkpoint = storage;
    return true;
}

bool continue_offered(const Game& game) { return checkpoint_saved(game) && game.game_over; }
