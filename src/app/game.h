#pragma once
// Game: the one record of all run state, owned by main.

#include <cstdint>

#include "app/input.h"
#include "app/settings.h"
#include "assets/embedded_assets.h"
#include "assets/game_audio.h"
#include "player/movement.h"
#include "player/movement_fx.h"
#include "player/inventory.h"
#include "player/player.h"
#include "player/spit.h"
#include "render/player_animation.h"
#include "render/sandbox_menu.h"
#include "render/sky_cache.h"
#include "app/raylib_api.h"
#include "render/camera.h"
#include "render/cave_wall.h"
#include "render/cell_layer.h"
#include "world/level.h"
#include "world/world.h"

inline constexpr int VIRTUAL_W = 1080;
inline constexpr int VIRTUAL_H = 609;
inline constexpr int TARGET_FPS = 60;
inline constexpr float MAX_FRAME_TIME = 0.05f;
inline constexpr float FIXED_STEP = 1.0f / 60.0f;
inline constexpr float SLOWMO_TIME_SCALE = 0.24f;
inline constexpr int64_t SLOWMO_STAGE = 11;
// The game-over and ending screens ignore presses for a moment, so a key
// mashed in the fight or typed through the last line does not skip them.
inline constexpr float SCREEN_LEAVE_DELAY = 0.5f;
inline constexpr float SCREEN_HINT_DELAY = 1.5f;

enum class GameScreen : int64_t {
    Title = 0,
    Settings = 1,
    Playing = 2,
    GameOver = 3,
    Ending = 4,
};

// Everything a menu can point at; each screen lists its own in screen order.
enum class MenuItem : int64_t {
    Play,
    Continue,
    Settings,
    Quit,
    GameSpeed,
    DamageTaken,
    Volume,
    Back,
    Resume,
    ToTitle,
};

enum class BossEncounter : int64_t {
    Waiting = 0,
    Opening = 1,
    Fighting = 2,
    Defiance = 3,
    Empowered = 4,
    Won = 5,
};

struct Letterbox {
    float scale;
    float offset_x;
    float offset_y;
    float width;
    float height;
};

struct VirtualPoint {
    int x;
    int y;
};

struct Checkpoint;

struct Game {
    World* world;
    Level* level;
    GameScreen screen;
    float master_volume;
    SoundBank sounds;
    RenderTexture2D target;
    Shader slowmo_shader;
    ImageColors stone_pixels;
    ImageColors wood_pixels;
    Texture2D textures[TEXTURE_COUNT];
    CellLayer cell_layer;
    CaveWall cave_wall;
    SkyCache sky_cache;
    Letterbox letterbox;
    VirtualPoint mouse_virtual;  // this frame's mouse in virtual pixels
    float frame_time;
    float sfx_cooldown[SFX_LANE_COUNT];
    float step_accumulator;
    bool game_over;
    int64_t story_stage;
    int64_t dialogue_line;
    float dialogue_chars;
    BossEncounter boss_encounter;
    bool materials_unlocked;

    // The intro script.
    float egg_timer;  // seconds since the egg was cracked
    bool awakening_seen;  // dialogue line 1 has been closed
    int64_t knight_index;  // enemy slot of the knight met in the intro
    bool knight_spawned;

    // Play records, reset by every new game.
    Player player;
    int64_t player_prev_x;  // position before the last logic step, for drawing
    int64_t player_prev_y;
    PlayerInput player_input;
    StepStart step_start;  // the dragon as the current logic step found it
    MovementFx movement_fx;
    PlayerAnimation player_animation;
    Inventory inventory;
    SpitState spit;
    bool attack_latch;
    bool spit_held;
    Camera camera;
    SandboxState sandbox;

    // Bookkeeping of the frame loop.
    uint64_t logic_steps;  // total logic steps run, for tools and tests
    bool present_with_shader;
    float screen_time;  // real seconds the current screen has been showing

    // The pause over a game, and the settings screen opened from it.
    bool paused;
    GameScreen settings_return;  // where the settings screen's Back leads
    bool spit_blocked_until_release;  // the click that resumed must not spit
    bool quit_requested;  // the title's Quit: the loop ends after this frame
    MenuItem menu_focus;  // what the arrows or the d-pad point at on a menu
    bool menu_focus_shown;

    // The last checkpoint of this run of the program, in storage set aside
    // by create_game; Continue on the title goes back to it after a game over.
    Checkpoint* checkpoint;
    bool continue_requested;  // resumed at the end of this frame

    // Assists chosen in the settings, in percent (100: the game as designed).
    int64_t game_speed_pct;
    int64_t damage_taken_pct;

    // Settings kept between runs; no file is touched while the path is empty.
    bool fullscreen;
    Settings saved_settings;  // what the file holds now
    char settings_path[SETTINGS_PATH_MAX];
};

// Allocates World and Level (zero-filled) and sets every field to its start
// value without touching raylib. Returns false when an allocation fails.
bool create_game(Game& game);
void destroy_game(Game& game);

Letterbox compute_letterbox(int window_w, int window_h);
VirtualPoint to_virtual(const Letterbox& lb, Vector2 mouse);
bool mouse_in_view(const Letterbox& lb, Vector2 mouse);

// A new game with a seed from raylib's generator, or with a chosen one.
void start_new_game(Game& game);
void start_new_game_with_seed(Game& game, uint32_t seed);

// Everything one displayed frame decides, without drawing.
void update_frame(Game& game, FrameInput& input);
// One fixed logic step of 1/60 s.
void logic_step(Game& game);
// Draws the current screen into the target and presents it (needs a window).
void draw_frame(Game& game);
void present_frame(const Game& game, bool use_shader);

// The settings as the game holds them now, and taking them over.
Settings current_settings(const Game& game);
void apply_settings(Game& game, const Settings& s);
// Whether any assist is away from its default (the HUD says so).
bool assists_on(const Game& game);

// The play state kept when the intro's last stage begins and when the boss
// conversation opens, taken and resumed at a frame's end so that the game
// goes on exactly as it did from there.
bool create_checkpoint_storage(Game& game);
void free_checkpoint_storage(Game& game);
size_t checkpoint_bytes();
void save_checkpoint(Game& game);
bool checkpoint_saved(const Game& game);
void clear_checkpoint(Game& game);
// Puts the kept play state back and plays on; false when none is kept.
bool restore_checkpoint(Game& game);
// The title offers Continue after a game over while a checkpoint is kept.
bool continue_offered(const Game& game);
// Writes the settings file when they differ from what it holds; a failure
// leaves the game running with one warning line.
void save_settings_if_changed(Game& game);
