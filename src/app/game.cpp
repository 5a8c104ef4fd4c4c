#include "app/game.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/game_menu.h"
#include "combat/barrels.h"
#include "combat/enemy_update.h"
#include "combat/player_damage.h"
#include "player/movement_cues.h"
#include "render/play_frame.h"
#include "story/boss_encounter.h"
#include "story/intro.h"
#include "world/physics.h"

namespace {

constexpr int64_t PLACEHOLDER_PLAYER_Y = 222;
constexpr float UI_SELECT_VOLUME = 0.34f;
constexpr float UI_BACK_VOLUME = 0.32f;
constexpr float EXPLOSION_VOLUME = 0.72f;
constexpr float SLOT_MOVE_VOLUME = 0.2f;
constexpr float PICKUP_VOLUME = 0.4f;
constexpr float BARREL_BREAK_VOLUME = 0.49f;
constexpr float HURT_PLAYER_VOLUME = 0.65f;
constexpr float HURT_ENEMY_VOLUME = 0.28f;
constexpr float HURT_ENEMY_COOLDOWN = 0.14f;
constexpr float SLASH_VOLUME = 0.36f;
constexpr int64_t KNIGHT_TALK_STAGE = 6;  // everyone waits while the knight comes into view
constexpr float SPIT_CUE_VOLUME = 0.32f;
constexpr float SPIT_CUE_COOLDOWN = 0.28f;

void reset_play_records(Game& game, int64_t player_top) {
    game.player = make_player(PLAYER_START_X, player_top);
    game.player_prev_x = game.player.x;
    game.player_prev_y = game.player.y;
    game.player_input = PlayerInput{};
    game.step_start = StepStart{};
    game.movement_fx = make_movement_fx();
    game.player_animation = PlayerAnimation{};
    game.inventory = reset_inventory();
    std::memset(static_cast<void*>(&game.spit), 0, sizeof(SpitState));
    game.attack_latch = false;
    game.spit_held = false;
    game.camera = make_camera();
    reset_sandbox(game.sandbox);
}

void reset_story(Game& game) {
    game.story_stage = 0;
    game.dialogue_line = 0;
    game.dialogue_chars = 0.0f;
    game.egg_timer = 0.0f;
    game.awakening_seen = false;
    game.knight_index = 0;
    game.knight_spawned = false;
    game.boss_encounter = BossEncounter::Waiting;
}

bool any_press(FrameInput& input) {
    return take_key_pressed(input) != 0 || input.mouse_pressed[0] || input.mouse_pressed[1];
}

void leave_for_title(Game& game) {
    play_cue(game.sounds, SfxCue::UiBack, UI_BACK_VOLUME);
    game.screen = GameScreen::Title;
}

// The game-over and ending screens take a press only once they have been
// seen; an earlier press is used up and does nothing.
bool leave_press(Game& game, FrameInput& input) {
    return any_press(input) && game.screen_time >= SCREEN_LEAVE_DELAY;
}

MenuState menu_state_of(const Game& game) {
    return MenuState{current_settings(game), game.menu_focus, game.menu_focus_shown, continue_offered(game)};
}

void apply_menu_result(Game& game, const MenuResult& result) {
    GameScreen next = result.next_screen;
    const bool leaving_settings = game.screen == GameScreen::Settings && next != GameScreen::Settings;
    game.menu_focus = result.focus;
    game.menu_focus_shown = result.focus_shown;
    if (leaving_settings) {
        next = game.settings_return;
        if (game.paused) game.menu_focus = MenuItem::Settings;  // back where the pause left off
    }
    if (game.screen == GameScreen::Title && next == GameScreen::Settings) game.settings_return = GameScreen::Title;
    game.screen = next;
    if (result.master_volume != game.master_volume) {
        game.master_volume = result.master_volume;
        if (game.sounds.ready) SetMasterVolume(game.master_volume);
    }
    game.game_speed_pct = result.game_speed_pct;
    game.damage_taken_pct = result.damage_taken_pct;
    if (leaving_settings) save_settings_if_changed(game);
    if (result.quit) game.quit_requested = true;
    if (result.continue_game) {
        play_cue(game.sounds, SfxCue::UiSelect, UI_SELECT_VOLUME);
        game.continue_requested = true;
    }
}

// --- The pause ------------------------------------------------------------------

bool pause_pressed(const FrameInput& input) { return key_pressed(input, KEY_ESCAPE) || key_pressed(input, KEY_P); }

void pause_game(Game& game) {
    game.paused = true;
    game.menu_focus = MenuItem::Resume;
    game.menu_focus_shown = false;
    game.player_input.jump_request = false;
    game.attack_latch = false;
    pause_all_cues(game.sounds);
}

void resume_game(Game& game) {
    game.paused = false;
    // The button that was held for the pause (or the click on Resume) must
    // not spit the moment play goes on.
    game.spit_blocked_until_release = true;
    game.spit_held = false;
    resume_all_cues(game.sounds);
}

void paused_frame(Game& game, const FrameInput& input) {
    switch (pause_input(input, game.letterbox, game.menu_focus, game.menu_focus_shown)) {
        case PauseChoice::Stay: break;
        case PauseChoice::Resume:
            play_cue(game.sounds, SfxCue::UiSelect, UI_SELECT_VOLUME);
            resume_game(game);
            break;
        case PauseChoice::Settings:
            game.screen = GameScreen::Settings;
            game.settings_return = GameScreen::Playing;
            game.menu_focus = default_focus(GameScreen::Settings);
            game.menu_focus_shown = false;
            break;
        case PauseChoice::QuitToTitle:
            game.paused = false;
            resume_all_cues(game.sounds);
            leave_for_title(game);
            break;
    }
}

bool eating(const Game& game) { return barrel_being_eaten(*game.level) != NO_BARREL; }

// The dragon stands still while the egg has not hatched and while eating.
bool player_held(const Game& game) { return game.story_stage < 2 || eating(game); }

// Falling out of the bottom of the world ends the play at once: nothing later
// in the step may turn the fall into anything else.
void end_play_by_falling(Game& game) {
    game.player.hp = 0;
    game.game_over = true;
    game.screen = GameScreen::GameOver;
    game.step_accumulator = 0.0f;
}

// --- Steps that later features fill in ----------------------------------------
// Each is called in its place in the frame or the logic step already, so the
// order of the whole script is fixed here and a feature only fills its body.

EnemyStepReport run_enemies(Game& game) {
    if (game.story_stage == KNIGHT_TALK_STAGE) return EnemyStepReport{};
    return update_enemies(*game.world, game.player, game.damage_taken_pct);
}

// Time as the world lives it: slowed in the slow-motion stage and by the
// game-speed assist. The logic still runs in whole fixed steps.
float world_time(const Game& game, float dt) {
    if (game.story_stage == SLOWMO_STAGE) dt *= SLOWMO_TIME_SCALE;
    // At 100 % the factor is exactly 1: a default game runs as designed.
    return dt * (static_cast<float>(game.game_speed_pct) / 100.0f);
}

void select_inventory_slot(Game& game, const FrameInput& input) {
    if (select_slot_input(game.inventory, input)) play_cue(game.sounds, SfxCue::UiMove, SLOT_MOVE_VOLUME);
}

// The cursor in world cells, for aiming.
Vector2 aim_point(const Game& game) {
    return Vector2{game.camera.pos.x + static_cast<float>(game.mouse_virtual.x) / 3.0f,
                   game.camera.pos.y + static_cast<float>(game.mouse_virtual.y) / 3.0f};
}

SfxCue spit_cue(Material m) {
    switch (m) {
        case Material::Acid: return SfxCue::Acid;
        case Material::Plasma: return SfxCue::Plasma;
        case Material::Fire: return SfxCue::FireBreath;
        default: return SfxCue::Projectile;
    }
}

void update_spit(Game& game) {
    const Vector2 aim = aim_point(game);
    const bool on = game.materials_unlocked && game.spit_held && game.story_stage != SLOWMO_STAGE && !eating(game);
    const Material spat = spit_step(*game.world, game.player, game.inventory, game.spit, SpitAim{on, aim.x, aim.y});
    update_spit_particles(*game.world, game.spit);
    if (spat != Material::Empty && game.sfx_cooldown[LANE_SPIT] <= 0.0f) {
        play_cue(game.sounds, spit_cue(spat), SPIT_CUE_VOLUME);
        game.sfx_cooldown[LANE_SPIT] = SPIT_CUE_COOLDOWN;
    }
}

void play_hurt_and_slash_cues(Game& game, const EnemyStepReport& enemies) {
    if (game.player.hp < game.step_start.hp) play_cue(game.sounds, SfxCue::HurtPlayer, HURT_PLAYER_VOLUME);
    if (enemies.enemy_hurt && game.sfx_cooldown[LANE_ENEMY_HURT] <= 0.0f) {
        play_cue(game.sounds, SfxCue::HurtEnemy, HURT_ENEMY_VOLUME);
        game.sfx_cooldown[LANE_ENEMY_HURT] = HURT_ENEMY_COOLDOWN;
    }
    for (int64_t i = 0; i < enemies.attacks_started; ++i) play_cue(game.sounds, SfxCue::Slash, SLASH_VOLUME);
}

void update_barrels_with_cues(Game& game) {
    const BarrelBreaks breaks = update_barrels(*game.world, *game.level, game.player, game.inventory);
    for (int64_t i = 0; i < breaks.count; ++i) {
        const bool eaten = breaks.eaten_in_order[static_cast<size_t>(i)];
        play_cue(game.sounds, eaten ? SfxCue::Pickup : SfxCue::Barrel, BARREL_BREAK_VOLUME);
    }
}

void count_down_hurt_flash(Player& player) {
    player.flash_time = std::max(player.flash_time - FIXED_STEP, 0.0f);
}

void read_attack_input(Game& game, const FrameInput& input, bool dialogue_open_at_start) {
    if (game.spit_blocked_until_release && !input.mouse_down[0]) game.spit_blocked_until_release = false;
    const VirtualPoint m = to_virtual(game.letterbox, input.mouse);
    const bool over_slots = m.x >= 12 && m.x <= 311 && m.y >= 12 && m.y <= 65;
    const bool over_hp_panel = m.x >= 874 && m.y >= 12 && m.y <= 41;
    const SandboxState& sandbox = game.sandbox;
    const bool over_sandbox = sandbox.panel_open || (sandbox.sandbox_unlocked && SANDBOX_HEADER.contains(m.x, m.y));
    game.spit_held = !dialogue_open_at_start && !game.spit_blocked_until_release &&
                     mouse_in_view(game.letterbox, input.mouse) &&
                     input.mouse_down[0] && !over_slots && !over_hp_panel && !over_sandbox;
    if (game.spit_held && input.mouse_pressed[0]) game.attack_latch = true;
}

void run_logic_time(Game& game, bool dialogue_open_at_start) {
    if (game.game_over || game.dialogue_line != 0 || dialogue_open_at_start) {
        game.step_accumulator = 0.0f;
        game.player_input.jump_request = false;
        game.attack_latch = false;
        return;
    }
    game.step_accumulator += world_time(game, game.frame_time);
    while (game.step_accumulator >= FIXED_STEP) {
        logic_step(game);
        game.step_accumulator -= FIXED_STEP;
        if (game.game_over) {
            game.step_accumulator = 0.0f;
            break;
        }
        // A line opened by the step's outcome holds the rest of the frame,
        // and the dragon is drawn where the step left it.
        if (game.screen != GameScreen::Playing || game.dialogue_line != 0) {
            game.step_accumulator = 0.0f;
            break;
        }
    }
}

// Walk, jump and eat keys. Jumps count from the hatching on, and not while
// the game is over or a line holds the input.
void read_movement_input(Game& game, const FrameInput& input, bool dialogue_open_at_start) {
    const bool suspended = game.game_over || dialogue_open_at_start || game.dialogue_line != 0;
    game.player_input = read_player_input(input, game.story_stage >= 2 && !suspended,
                                          game.player_input.jump_request);
    if (key_pressed(input, KEY_E) && game.materials_unlocked && !suspended &&
        try_eat_barrel(*game.level, game.player, game.inventory)) {
        play_cue(game.sounds, SfxCue::Pickup, PICKUP_VOLUME);
    }
}

// A line or the game's end freezes the dragon mid-stride instead of letting
// its held speed run the walk on the spot.
void animate_player(Game& game) {
    if (game.dialogue_line != 0 || game.game_over) return;
    update_player_animation(game.player_animation, game.player, world_time(game, game.frame_time));
}

void update_play_camera(Game& game) {
    const Vector2 drawn = drawn_player_position(game);
    update_camera(game.camera, Vector2{drawn.x + 7.0f, drawn.y + 10.0f}, game.player.grounded,
                  game.frame_time);
}

// Step 9 of the frame: input, logic steps, camera, story openings. The frame
// that starts a new game joins at the aiming input: the key that started it
// must not also crack the egg.
void playing_frame(Game& game, FrameInput& input, bool new_game_frame) {
    const bool dialogue_open_at_start = game.dialogue_line != 0;
    if (!new_game_frame) {
        if (!dialogue_open_at_start && game.materials_unlocked && !game.game_over) select_inventory_slot(game, input);
        if (dialogue_open_at_start) update_dialogue(game, input);
        if (game.story_stage == 0) crack_egg(game, input);
    }
    read_attack_input(game, input, dialogue_open_at_start);
    read_movement_input(game, input, dialogue_open_at_start);
    run_logic_time(game, dialogue_open_at_start);
    animate_player(game);
    update_play_camera(game);
    if (!game.game_over) {
        open_story_dialogues(game);
        check_boss_opening(game);
    }
    // Input that went to a line this frame is not used a second time.
    if (!dialogue_open_at_start) update_sandbox(game, input);
}

// Escape or P pauses a running game, never over a line: there every key
// belongs to the line.
bool may_pause(const Game& game) {
    return game.screen == GameScreen::Playing && !game.game_over && game.dialogue_line == 0;
}

}  // namespace

bool create_game(Game& game) {
    game = Game{};
    game.world = static_cast<World*>(std::calloc(1, sizeof(World)));
    game.level = static_cast<Level*>(std::calloc(1, sizeof(Level)));
    if (game.world == nullptr || game.level == nullptr) {
        destroy_game(game);
        return false;
    }
    game.screen = GameScreen::Title;
    game.settings_return = GameScreen::Title;
    apply_settings(game, DEFAULT_SETTINGS);
    game.saved_settings = current_settings(game);
    game.sounds = make_sound_bank();
    game.boss_encounter = BossEncounter::Waiting;
    reset_play_records(game, PLACEHOLDER_PLAYER_Y);
    game.letterbox = compute_letterbox(VIRTUAL_W, VIRTUAL_H);
    game.menu_focus = default_focus(GameScreen::Title);
    // Without this storage the game still plays; only Continue is never offered.
    create_checkpoint_storage(game);
    return true;
}

void destroy_game(Game& game) {
    free_checkpoint_storage(game);
    std::free(game.level);
    std::free(game.world);
    game.level = nullptr;
    game.world = nullptr;
}

Letterbox compute_letterbox(int window_w, int window_h) {
    const float w = static_cast<float>(std::max(window_w, 1));
    const float h = static_cast<float>(std::max(window_h, 1));
    const float sx = w / static_cast<float>(VIRTUAL_W);
    const float sy = h / static_cast<float>(VIRTUAL_H);
    const float scale = std::isnan(sx) ? sy : std::min(sx, sy);
    Letterbox lb{};
    lb.scale = scale;
    lb.width = static_cast<float>(VIRTUAL_W) * scale;
    lb.height = static_cast<float>(VIRTUAL_H) * scale;
    lb.offset_x = (w - lb.width) * 0.5f;
    lb.offset_y = (h - lb.height) * 0.5f;
    return lb;
}

VirtualPoint to_virtual(const Letterbox& lb, Vector2 mouse) {
    return VirtualPoint{static_cast<int>((mouse.x - lb.offset_x) / lb.scale),
                        static_cast<int>((mouse.y - lb.offset_y) / lb.scale)};
}

bool mouse_in_view(const Letterbox& lb, Vector2 mouse) {
    return mouse.x >= lb.offset_x && mouse.x < lb.offset_x + lb.width && mouse.y >= lb.offset_y &&
           mouse.y < lb.offset_y + lb.height;
}

void start_new_game(Game& game) {
    start_new_game_with_seed(game, static_cast<uint32_t>(GetRandomValue(1, 2000000000)));
}

void start_new_game_with_seed(Game& game, uint32_t seed) {
    play_cue(game.sounds, SfxCue::UiSelect, UI_SELECT_VOLUME);
    std::memset(static_cast<void*>(game.world), 0, sizeof(World));
    game.world->rng_state = seed;
    std::memset(static_cast<void*>(game.level), 0, sizeof(Level));
    generate_level(*game.world, *game.level);
    game.world->boss_frozen = true;
    reset_play_records(game, game.level->surface[153] - PLAYER_H);
    reset_story(game);
    game.game_over = false;
    game.materials_unlocked = false;
    game.step_accumulator = 0.0f;
    game.paused = false;
    game.spit_blocked_until_release = false;
    clear_checkpoint(game);
}

void logic_step(Game& game) {
    World& world = *game.world;
    const int32_t explosions_before = world.explosion_count;
    game.player_prev_x = game.player.x;
    game.player_prev_y = game.player.y;
    ++game.logic_steps;

    game.step_start = snapshot_step_start(world, game.player);
    player_step(world, game.player, game.player_input, player_held(game));
    game.player_input.jump_request = false;
    if (player_fell_out(game.player)) {
        end_play_by_falling(game);
        return;
    }
    step_story(game);
    update_spit(game);
    step_world(world);
    potion_heal(world, game.player);
    const EnemyStepReport enemies = run_enemies(game);
    play_hurt_and_slash_cues(game, enemies);
    check_last_intro_stage(game);
    count_down_hurt_flash(game.player);
    update_barrels_with_cues(game);
    update_movement_dust(game.movement_fx);
    play_movement_cues(game);
    if (world.explosion_count != explosions_before) {
        play_cue(game.sounds, SfxCue::Explosion, EXPLOSION_VOLUME);
    }
    game.attack_latch = false;
    check_boss_outcome(game);
}

namespace {

// The gamepad speaks the menus' language on the title, the settings and the
// pause, and the player's everywhere else.
PadContext pad_context(const Game& game) {
    const bool menu = game.screen == GameScreen::Title || game.screen == GameScreen::Settings || game.paused;
    return menu ? PadContext::Menu : PadContext::Play;
}

}  // namespace

void update_frame(Game& game, FrameInput& input) {
    apply_gamepad(input, pad_context(game));
    game.letterbox = compute_letterbox(input.screen_width, input.screen_height);
    game.frame_time = std::min(input.raw_frame_time, MAX_FRAME_TIME);
    for (float& cooldown : game.sfx_cooldown) cooldown = std::max(cooldown - game.frame_time, 0.0f);
    game.mouse_virtual = to_virtual(game.letterbox, input.mouse);
    const GameScreen screen_at_start = game.screen;
    const int64_t stage_at_start = game.story_stage;
    const BossEncounter encounter_at_start = game.boss_encounter;
    game.screen_time += game.frame_time;

    switch (game.screen) {
        case GameScreen::Ending:
            if (leave_press(game, input)) leave_for_title(game);
            break;
        case GameScreen::GameOver:
            if (leave_press(game, input)) {
                leave_for_title(game);
            } else {
                playing_frame(game, input, false);
            }
            break;
        case GameScreen::Playing:
            if (game.paused) {
                paused_frame(game, input);
            } else if (may_pause(game) && pause_pressed(input)) {
                pause_game(game);
            } else {
                playing_frame(game, input, false);
            }
            break;
        case GameScreen::Title:
        case GameScreen::Settings: {
            const MenuResult result = menu_input(input, game.letterbox, game.screen, menu_state_of(game));
            apply_menu_result(game, result);
            if (result.start_game) {
                start_new_game(game);
                playing_frame(game, input, true);
            }
            break;
        }
    }
    if (game.screen != screen_at_start) game.screen_time = 0.0f;
    game.present_with_shader =
        (game.screen == GameScreen::Playing || game.screen == GameScreen::GameOver) &&
        game.story_stage == SLOWMO_STAGE;

    // Checkpoints, last of all, so that a resumed game starts from a whole frame.
    const bool left_the_cave = stage_at_start < LAST_STORY_STAGE && game.story_stage == LAST_STORY_STAGE;
    const bool boss_talks = encounter_at_start == BossEncounter::Waiting && game.boss_encounter == BossEncounter::Opening;
    if (game.screen == GameScreen::Playing && !game.game_over && (left_the_cave || boss_talks)) save_checkpoint(game);
    if (game.continue_requested) {
        game.continue_requested = false;
        if (!restore_checkpoint(game)) game.screen = GameScreen::Title;
    }
}

Settings current_settings(const Game& game) {
    return Settings{game.master_volume, game.fullscreen, game.game_speed_pct, game.damage_taken_pct};
}

void apply_settings(Game& game, const Settings& s) {
    game.master_volume = s.volume;
    game.fullscreen = s.fullscreen;
    game.game_speed_pct = s.game_speed_pct;
    game.damage_taken_pct = s.damage_taken_pct;
}

bool assists_on(const Game& game) {
    return game.game_speed_pct != DEFAULT_SETTINGS.game_speed_pct ||
           game.damage_taken_pct != DEFAULT_SETTINGS.damage_taken_pct;
}

void save_settings_if_changed(Game& game) {
    const Settings now = current_settings(game);
    if (game.settings_path[0] == '\0' || same_settings(now, game.saved_settings)) return;
    char problem[SETTINGS_PROBLEM_MAX];
    if (!store_settings(game.settings_path, now, problem)) {
        std::fprintf(stderr, "cindervale: settings not saved to %s: %s\n", game.settings_path, problem);
    }
    // Either way the game goes on with what it holds; a failed write is not
    // retried every frame.
    game.saved_settings = now;
}
