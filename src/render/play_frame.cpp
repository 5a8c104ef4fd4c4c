#include "render/play_frame.h"

#include "render/actors.h"
#include "render/hud.h"
#include "render/world_render.h"

Vector2 drawn_player_position(const Game& game) {
    // While the loop runs no step (dialogue, game over) the accumulator is 0,
    // so the dragon is drawn at its previous position.
    const float a = game.step_accumulator / FIXED_STEP;
    const float px = static_cast<float>(game.player_prev_x);
    const float py = static_cast<float>(game.player_prev_y);
    return Vector2{px + (static_cast<float>(game.player.x) - px) * a,
                   py + (static_cast<float>(game.player.y) - py) * a};
}

void draw_play_frame(const Game& game) {
    draw_world(game);
    draw_actors(game);
    draw_hud(game);
}
