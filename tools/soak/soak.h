#pragma once
// Random play that must not break the game: a seeded source of per-frame
// input (keys, clicks, wheel, mouse anywhere, any frame time and window size)
// and the checks every frame has to pass. Used by the soak tool and the tests;
// the caller owns both records, so nothing here allocates.

#include <array>
#include <cstdint>

#include "app/game.h"
#include "app/input.h"

// The input source keeps what a player would keep between frames: keys and
// buttons held, where the mouse is, the window's size, and a current intent
// (walk right, fight, mash keys ...) that lasts for a while so that seeded
// games actually travel through the story instead of jittering in place.
struct RandomInput {
    uint64_t rng;
    std::array<bool, INPUT_KEY_SLOTS> held;
    std::array<bool, 3> buttons_held;
    Vector2 mouse;
    int width;
    int height;
    int64_t intent;
    int64_t intent_frames;  // frames left in the current intent
};

RandomInput make_random_input(uint64_t seed);
uint64_t soak_random(RandomInput& src);  // splitmix64
// The next frame's input. Reads the screen so that it can press Enter on the
// title now and then and start games.
FrameInput next_random_input(RandomInput& src, const Game& game);

// What the checks remember from one frame to the next: the screen and where
// each actor stood, with the Solid cells around it, so that a body found on
// Solid can be told apart from rock that formed inside it.
inline constexpr int64_t WATCH_PLAYER_MARGIN = 24;
inline constexpr int64_t WATCH_ENEMY_MARGIN = 12;
inline constexpr int64_t WATCH_PLAYER_W = 14 + 2 * WATCH_PLAYER_MARGIN;
inline constexpr int64_t WATCH_PLAYER_H = 20 + 2 * WATCH_PLAYER_MARGIN;
inline constexpr int64_t WATCH_ENEMY_W = 20 + 2 * WATCH_ENEMY_MARGIN;  // the widest enemy
inline constexpr int64_t WATCH_ENEMY_H = 37 + 2 * WATCH_ENEMY_MARGIN;  // the tallest

struct ActorWatch {
    bool valid;  // the actor was alive (and, for the dragon, in play) last frame
    int64_t kind;
    int64_t x, y;
    int64_t window_x, window_y;  // top-left cell of `solid`
};

struct PlayWatch {
    bool valid;  // a previous frame of the same game was seen
    GameScreen screen;
    float screen_time;  // how long that screen had shown
    uint32_t tick;
    ActorWatch player;
    std::array<std::array<bool, WATCH_PLAYER_W>, WATCH_PLAYER_H> player_solid;
    std::array<ActorWatch, MAX_ENEMIES> enemies;
    std::array<std::array<std::array<bool, WATCH_ENEMY_W>, WATCH_ENEMY_H>, MAX_ENEMIES> enemy_solid;
    // Body cells on Solid whose past lay outside the remembered window (an
    // actor that moved further in one frame than the margin): not judged.
    int64_t unjudged_cells;
};

struct PlayCheck {
    bool ok;
    char what[192];  // the first broken rule, when not ok
};

// Resets the watch for a game that has not been seen yet.
void reset_play_watch(PlayWatch& watch);
// Every rule that holds after any frame, given the input that frame ran with
// and the screen it started on. Updates the watch for the next frame.
PlayCheck check_play_frame(const Game& game, const FrameInput& input, GameScreen screen_before,
                           PlayWatch& watch);
