#include "app/scripted_start.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "combat/enemy.h"
#include "story/intro.h"

namespace {

// Close enough that the knights notice the dragon at once, far enough that
// it does not start inside the first of them.
constexpr int64_t GAP_BEFORE_FORMATION = 24;
// Where the dragon stands in the view, as the camera would settle on it.
constexpr float VIEW_LEFT_OF_DRAGON = 150.0f;
constexpr float VIEW_ABOVE_DRAGON = 140.0f;
// The formations are numbered from 1 in the order they stand.
constexpr int64_t FIRST_FORMATION = 1;

}  // namespace

bool scripted_start_requested() {
    const char* value = std::getenv(SCRIPTED_START_VARIABLE);
    return value != nullptr && std::strcmp(value, SCRIPTED_START_FORMATION) == 0;
}

void start_before_first_formation(Game& game) {
    const World& world = *game.world;
    int64_t first_x = WORLD_W;
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        const Enemy& e = world.enemies[static_cast<size_t>(i)];
        if (e.alive && enemy_kind(e) == EnemyKind::Knight && e.group == FIRST_FORMATION) {
            first_x = std::min(first_x, e.x);
        }
    }
    const int64_t x = first_x - GAP_BEFORE_FORMATION - PLAYER_W;
    if (first_x == WORLD_W || x < 0) return;
    int64_t top = WORLD_H;
    for (int64_t c = x; c < x + PLAYER_W; ++c) top = std::min(top, game.level->surface[static_cast<size_t>(c)]);
    // Past the intro and its lessons: every material usable, no lines to wait for.
    game.story_stage = LAST_STORY_STAGE;
    game.awakening_seen = true;
    game.materials_unlocked = true;
    game.player.x = x;
    game.player.y = top - PLAYER_H;
    game.player_prev_x = game.player.x;
    game.player_prev_y = game.player.y;
    game.camera = make_camera();
    game.camera.pos = Vector2{std::clamp(static_cast<float>(x) - VIEW_LEFT_OF_DRAGON, 0.0f, CAMERA_MAX_X),
                              std::clamp(static_cast<float>(game.player.y) - VIEW_ABOVE_DRAGON, 0.0f, CAMERA_MAX_Y)};
}
