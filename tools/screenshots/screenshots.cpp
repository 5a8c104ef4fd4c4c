// Screenshots of the title, the settings, the first frame of a seeded game,
// views along the whole level and the same views once the world has run for
// a few seconds. Everything is drawn by the game's own frame code into its
// render target and read back from there.
//
//   cindervale_screenshots <out-dir> [seed]

#include <algorithm>
#include <initializer_list>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../common/game_bot.h"
#include "app/game.h"
#include "assets/embedded_assets.h"
#include "render/camera.h"

namespace {

constexpr uint32_t DEFAULT_SEED = 12345;
constexpr int SETTLE_STEPS = 300;
constexpr float STEP_DT = 1.0f / 60.0f;
// Left columns of the views along the level (the last one is the far edge).
constexpr float VIEW_COLUMNS[] = {0.0f, 400.0f, 800.0f, 1100.0f, 1500.0f, 2000.0f, 2500.0f, 3040.0f};

struct ShotLog {
    std::string dir;
    int written;
    int failed;
};

// Draws the current screen through the game's own frame code and saves the
// render target.
void shot(Game& game, ShotLog& log, const std::string& name) {
    draw_frame(game);
    Image image = LoadImageFromTexture(game.target.texture);
    ImageFlipVertical(&image);  // render textures are stored upside down
    // The window shows the target's colours as they are (its alpha is only
    // a by-product of translucent drawing), so the file keeps colour only.
    ImageFormat(&image, PIXELFORMAT_UNCOMPRESSED_R8G8B8);
    const std::string path = log.dir + "/" + name + ".png";
    if (ExportImage(image, path.c_str())) {
        ++log.written;
    } else {
        ++log.failed;
    }
    UnloadImage(image);
}

// One frame of the real frame loop with the mouse at a virtual position.
void run_frame(Game& game, Vector2 mouse) {
    FrameInput input = idle_input(STEP_DT);
    input.mouse = mouse;
    update_frame(game, input);
}

// Frames the ground of the view's middle column like the follow camera
// frames a dragon standing there.
void place_camera(Game& game, float column) {
    const auto middle = std::min<int64_t>(static_cast<int64_t>(column) + VIEW_COLS / 2, WORLD_W - 1);
    const float ground = static_cast<float>(game.level->surface[static_cast<size_t>(middle)]);
    game.camera = make_camera();
    game.camera.pos = Vector2{column, std::clamp(ground - 152.0f, 0.0f, CAMERA_MAX_Y)};
}

void shoot_views(Game& game, ShotLog& log, const char* prefix) {
    const Camera kept = game.camera;
    for (float column : VIEW_COLUMNS) {
        place_camera(game, column);
        char name[64];
        std::snprintf(name, sizeof name, "%s_col%04d", prefix, static_cast<int>(column));
        shot(game, log, name);
    }
    game.camera = kept;
}

// One frame with `held` keys down and `pressed` (0 for none) newly pressed.
void run_keys(Game& game, std::initializer_list<int> held, int pressed = 0) {
    FrameInput input = idle_input(STEP_DT);
    input.mouse = Vector2{700.0f, 300.0f};
    for (int key : held) input.key_down[static_cast<size_t>(key)] = true;
    if (pressed != 0) press_key(input, pressed);
    update_frame(game, input);
}

// The intro as a player meets it: the egg, its cracking, the first steps
// with their dust, a jump, the first line of dialogue, and the overlays.
void shoot_intro(Game& game, ShotLog& log, uint32_t seed) {
    start_new_game_with_seed(game, seed);
    game.screen = GameScreen::Playing;
    run_keys(game, {});
    shot(game, log, "intro_egg");
    run_keys(game, {}, KEY_ENTER);
    while (game.egg_timer < 0.45f) run_keys(game, {});
    shot(game, log, "intro_cracks");
    while (game.egg_timer < 0.75f) run_keys(game, {});
    shot(game, log, "intro_hatching");
    for (int i = 0; i < 40; ++i) run_keys(game, {});
    shot(game, log, "intro_standing");
    for (int i = 0; i < 14; ++i) run_keys(game, {KEY_D});
    shot(game, log, "intro_walk");
    run_keys(game, {KEY_D, KEY_SPACE}, KEY_SPACE);
    for (int i = 0; i < 8; ++i) run_keys(game, {KEY_D, KEY_SPACE});
    shot(game, log, "intro_jump");
    for (int i = 0; i < 600 && game.dialogue_line == 0; ++i) run_keys(game, {KEY_D});
    for (int i = 0; i < 20; ++i) run_keys(game, {});
    shot(game, log, "intro_line1_typing");
    for (int i = 0; i < 60; ++i) run_keys(game, {});
    shot(game, log, "intro_line1_full");
    run_keys(game, {}, KEY_ENTER);
    for (int i = 0; i < 10; ++i) run_keys(game, {KEY_A});
    game.player.flash_time = 1.0f;
    run_keys(game, {KEY_A});
    shot(game, log, "intro_hurt_left");
    game.story_stage = SLOWMO_STAGE;
    run_keys(game, {});
    shot(game, log, "intro_slowmo");
    game.story_stage = 3;
    game.game_over = true;
    game.screen = GameScreen::GameOver;
    run_keys(game, {});
    shot(game, log, "game_over");
    for (int i = 0; i < 100; ++i) run_keys(game, {});
    shot(game, log, "game_over_hint");
}

// One frame with the left button held at a virtual position.
void run_spitting(Game& game, Vector2 mouse, std::initializer_list<int> held = {}, int pressed = 0) {
    FrameInput input = idle_input(STEP_DT);
    input.mouse = mouse;
    input.mouse_down[0] = true;
    for (int key : held) input.key_down[static_cast<size_t>(key)] = true;
    if (pressed != 0) press_key(input, pressed);
    update_frame(game, input);
}

// The snout against the fire lesson's pillar, breathing, and the pause over
// the play that follows.
void shoot_door_and_pause(Game& game, ShotLog& log, uint32_t seed) {
    start_new_game_with_seed(game, seed);
    game.screen = GameScreen::Playing;
    game.story_stage = 4;
    game.awakening_seen = true;
    int64_t top = WORLD_H;
    for (int64_t c = 511; c < 511 + PLAYER_W; ++c) top = std::min(top, game.level->surface[static_cast<size_t>(c)]);
    game.player.x = 511;
    game.player.y = top - PLAYER_H;
    game.player_prev_x = game.player.x;
    game.player_prev_y = game.player.y;
    game.camera.pos = Vector2{static_cast<float>(game.player.x) - 150.0f, static_cast<float>(game.player.y) - 140.0f};
    for (int i = 0; i < 30; ++i) run_keys(game, {});
    const Vector2 at_pillar{(530.0f - game.camera.pos.x) * 3.0f,
                            (static_cast<float>(game.player.y) + 8.0f - game.camera.pos.y) * 3.0f};
    FrameInput click = idle_input(STEP_DT);
    click.mouse = at_pillar;
    click.mouse_down[0] = true;
    click.mouse_pressed[0] = true;
    update_frame(game, click);
    for (int i = 0; i < 420; ++i) run_spitting(game, at_pillar);
    shot(game, log, "door_burning");
    run_keys(game, {}, KEY_ESCAPE);
    run_frame(game, Vector2{540.0f, 296.0f});
    shot(game, log, "pause");
    run_keys(game, {}, KEY_ESCAPE);
}

// Breath, the barrel lesson and the slot bar: the dragon set down before the
// first barrel with fire unlocked.
void shoot_spit_and_barrels(Game& game, ShotLog& log, uint32_t seed) {
    start_new_game_with_seed(game, seed);
    game.screen = GameScreen::Playing;
    game.story_stage = 12;
    game.materials_unlocked = true;
    const Barrel& barrel = game.level->barrels[0];
    game.player.x = barrel.x - 24;
    game.player.y = game.level->surface[static_cast<size_t>(game.player.x + 7)] - PLAYER_H - 2;
    game.player_prev_x = game.player.x;
    game.player_prev_y = game.player.y;
    game.camera.pos = Vector2{static_cast<float>(game.player.x) - 150.0f, static_cast<float>(game.player.y) - 140.0f};
    for (int i = 0; i < 30; ++i) run_keys(game, {});
    const float mouth_y = (static_cast<float>(game.player.y) + 8.0f - game.camera.pos.y) * 3.0f;
    for (int i = 0; i < 16; ++i) run_spitting(game, Vector2{100.0f, mouth_y - 150.0f});
    shot(game, log, "spit_fire");
    for (int i = 0; i < 40; ++i) run_keys(game, {});
    run_keys(game, {KEY_E}, KEY_E);
    for (int i = 0; i < 12; ++i) run_keys(game, {});
    shot(game, log, "eating_barrel");
    for (int i = 0; i < 40; ++i) run_keys(game, {});
    run_keys(game, {}, KEY_TWO);
    for (int i = 0; i < 10; ++i) run_spitting(game, Vector2{1000.0f, mouth_y + 20.0f});
    shot(game, log, "spit_plasma");
    game.inventory.slots[2] = InventorySlot{Material::Sand, 40};
    game.inventory.selected = 2;
    for (int i = 0; i < 12; ++i) run_spitting(game, Vector2{150.0f, mouth_y - 60.0f}, {KEY_A});
    shot(game, log, "spit_sand_left");
    for (int i = 0; i < 60; ++i) run_keys(game, {});
    shot(game, log, "empty_slot_cursor");
}

// Stands the dragon on the ground with its left column at x and frames it.
void place_dragon(Game& game, int64_t x) {
    int64_t top = WORLD_H;
    for (int64_t c = x; c < x + PLAYER_W; ++c) top = std::min(top, game.level->surface[static_cast<size_t>(c)]);
    game.player.x = x;
    game.player.y = top - PLAYER_H;
    game.player_prev_x = x;
    game.player_prev_y = game.player.y;
    game.camera.pos = Vector2{std::clamp(static_cast<float>(x) - 170.0f, 0.0f, CAMERA_MAX_X),
                              std::clamp(static_cast<float>(game.player.y) - 140.0f, 0.0f, CAMERA_MAX_Y)};
}

// The first formation meeting the dragon, a fight, a death, and the boss
// waiting in its arena.
void shoot_enemies(Game& game, ShotLog& log, uint32_t seed) {
    start_new_game_with_seed(game, seed);
    game.screen = GameScreen::Playing;
    game.story_stage = 12;
    game.materials_unlocked = true;
    const World& world = *game.world;
    int64_t first = -1;  // the first barbarian: it charges
    for (int64_t i = 0; i < world.enemy_count && first < 0; ++i) {
        if (enemy_kind(world.enemies[static_cast<size_t>(i)]) == EnemyKind::Barbarian) first = i;
    }
    if (first < 0) return;
    const Enemy& knight = world.enemies[static_cast<size_t>(first)];
    place_dragon(game, knight.x - 80);
    for (int i = 0; i < 4; ++i) run_keys(game, {});
    shot(game, log, "enemies_idle");
    for (int i = 0; i < 40; ++i) run_keys(game, {});
    shot(game, log, "enemies_alerted");
    for (int i = 0; i < 30; ++i) run_keys(game, {});
    shot(game, log, "enemies_fight");
    const float mouth_y = (static_cast<float>(game.player.y) + 8.0f - game.camera.pos.y) * 3.0f;
    const float mouth_x = (static_cast<float>(game.player.x) + 40.0f - game.camera.pos.x) * 3.0f;
    for (int i = 0; i < 150; ++i) run_spitting(game, Vector2{mouth_x, mouth_y});
    shot(game, log, "enemies_burning");
    for (int i = 0; i < 20; ++i) run_keys(game, {});
    shot(game, log, "enemies_after");

    // An ogre and a barbarian facing either way beside the dragon.
    for (const EnemyKind kind : {EnemyKind::Ogre, EnemyKind::Barbarian}) {
        start_new_game_with_seed(game, seed);
        game.screen = GameScreen::Playing;
        game.story_stage = 12;
        World& w = *game.world;
        int64_t found = -1;
        for (int64_t i = 0; i < w.enemy_count && found < 0; ++i) {
            if (enemy_kind(w.enemies[static_cast<size_t>(i)]) == kind) found = i;
        }
        if (found < 0) continue;
        Enemy& e = w.enemies[static_cast<size_t>(found)];
        place_dragon(game, e.x - 40);
        for (int i = 0; i < 50; ++i) run_keys(game, {});
        shot(game, log, kind == EnemyKind::Ogre ? "ogre_facing" : "barbarian_facing");
        place_dragon(game, e.x + 30);
        for (int i = 0; i < 50; ++i) run_keys(game, {});
        shot(game, log, kind == EnemyKind::Ogre ? "ogre_facing_right" : "barbarian_facing_right");
    }

    start_new_game_with_seed(game, seed);
    game.screen = GameScreen::Playing;
    game.story_stage = 12;
    const Enemy& boss = game.world->enemies[0];
    place_dragon(game, boss.x - 100);
    game.camera.pos.x = static_cast<float>(boss.x) - 200.0f;
    run_keys(game, {});
    shot(game, log, "boss_arena");
}

// A whole game played by the bot, drawn at the moments a player remembers:
// the boss's question, the fall before the second chance, the farewell and
// the ending.
void shoot_whole_game(Game& game, ShotLog& log) {
    game.screen = GameScreen::Title;
    SetRandomSeed(20261208u);
    game_bot::Bot bot{game};
    int64_t last_line = 0;
    bool ended = false;
    for (int n = 0; n < 60 * 60 * 6 && !(ended && game.screen == GameScreen::Title); ++n) {
        FrameInput input = game_bot::to_input(bot.decide());
        update_frame(game, input);
        if (game.dialogue_line != last_line && game.dialogue_line >= 6) {
            char name[32];
            std::snprintf(name, sizeof name, "game_line%lld", static_cast<long long>(game.dialogue_line));
            for (int i = 0; i < 90; ++i) {  // let the line type out
                FrameInput idle = idle_input(STEP_DT);
                update_frame(game, idle);
            }
            shot(game, log, name);
        }
        last_line = game.dialogue_line;
        if (game.screen == GameScreen::Ending && !ended) {
            ended = true;
            shot(game, log, "game_ending");
            for (int i = 0; i < 100; ++i) {
                FrameInput idle = idle_input(STEP_DT);
                update_frame(game, idle);
            }
            shot(game, log, "game_ending_hint");
        }
    }
}

// The assists on the settings screen and in play, and Continue after a game
// over, back at the checkpoint the cave's end left.
void shoot_assists_and_continue(Game& game, ShotLog& log, uint32_t seed) {
    start_new_game_with_seed(game, seed);
    game.screen = GameScreen::Settings;
    game.game_speed_pct = 70;
    game.damage_taken_pct = 50;
    game.menu_focus = MenuItem::DamageTaken;
    game.menu_focus_shown = true;
    run_frame(game, Vector2{900.0f, 560.0f});
    shot(game, log, "settings_assists");

    game.screen = GameScreen::Playing;
    game.story_stage = 13;
    game.materials_unlocked = true;
    game.awakening_seen = true;
    place_dragon(game, 1101);
    for (int i = 0; i < 30; ++i) run_keys(game, {});
    shot(game, log, "assist_tag");
    game.player.hp = 0;
    for (int i = 0; i < 40; ++i) run_keys(game, {});
    run_keys(game, {}, KEY_ENTER);
    run_frame(game, Vector2{860.0f, 296.0f});
    shot(game, log, "title_continue");
    run_keys(game, {}, KEY_C);
    shot(game, log, "continued");
    game.game_speed_pct = 100;
    game.damage_taken_pct = 100;
}

void load_graphics(Game& game) {
    SetTextureFilter(game.target.texture, TEXTURE_FILTER_POINT);
    game.slowmo_shader = load_embedded_shader(SLOWMO_SHADER_PATH);
    game.stone_pixels = load_embedded_image_colors(STONE_SWATCH_PATH);
    game.wood_pixels = load_embedded_image_colors(WOOD_SWATCH_PATH);
    load_all_textures(game.textures);
    load_cell_layer(game.cell_layer);
    load_cave_wall(game.cave_wall);
    load_sky_cache(game.sky_cache);
}

void unload_graphics(Game& game) {
    unload_sky_cache(game.sky_cache);
    unload_cave_wall(game.cave_wall);
    unload_cell_layer(game.cell_layer);
    unload_all_textures(game.textures);
    free_image_colors(game.stone_pixels);
    free_image_colors(game.wood_pixels);
    UnloadShader(game.slowmo_shader);
    UnloadRenderTexture(game.target);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <out-dir> [seed]\n", argv[0]);
        return 2;
    }
    const uint32_t seed = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : DEFAULT_SEED;
    static Game game;
    if (!create_game(game)) return 1;

    InitWindow(VIRTUAL_W, VIRTUAL_H, "Cindervale screenshots");
    game.target = LoadRenderTexture(VIRTUAL_W, VIRTUAL_H);
    if (!IsRenderTextureValid(game.target)) {
        CloseWindow();
        destroy_game(game);
        return 1;
    }
    load_graphics(game);
    MakeDirectory(argv[1]);
    ShotLog log{argv[1], 0, 0};

    // Menus, the mouse resting on a button and on the slider.
    run_frame(game, Vector2{540.0f, 296.0f});
    shot(game, log, "title");
    game.screen = GameScreen::Settings;
    run_frame(game, Vector2{640.0f, 420.0f});
    shot(game, log, "settings");

    // The first frame of a new game, as the title's start action leaves it.
    start_new_game_with_seed(game, seed);
    game.screen = GameScreen::Playing;
    run_frame(game, Vector2{540.0f, 300.0f});
    shot(game, log, "new_game");
    shoot_views(game, log, "level");

    for (int i = 0; i < SETTLE_STEPS; ++i) run_frame(game, Vector2{540.0f, 300.0f});
    shot(game, log, "settled");
    shoot_views(game, log, "settled");

    shoot_intro(game, log, seed);
    shoot_door_and_pause(game, log, seed);
    shoot_spit_and_barrels(game, log, seed);
    shoot_enemies(game, log, seed);
    shoot_assists_and_continue(game, log, seed);
    shoot_whole_game(game, log);

    std::printf("%d screenshots written to %s (seed %u, %llu logic steps)%s\n", log.written, argv[1], seed,
                static_cast<unsigned long long>(game.logic_steps), log.failed ? ", some failed" : "");
    unload_graphics(game);
    CloseWindow();
    destroy_game(game);
    return log.failed == 0 ? 0 : 1;
}
