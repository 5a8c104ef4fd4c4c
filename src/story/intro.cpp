#include "story/intro.h"

#include <algorithm>
#include <cmath>

#include "app/game.h"
#include "app/input.h"
#include "combat/enemy.h"

namespace {

constexpr float STEP = 1.0f / 60.0f;

constexpr float HATCH_TIME = 0.9f;
constexpr int64_t AWAKENING_COLUMN = 184;  // line 1 opens past here
constexpr int64_t FIRE_LESSON_COLUMN = 461;
constexpr int64_t KNIGHT_TRIGGER_COLUMN = 536;
constexpr int64_t KNIGHT_SPAWN_COLUMN = 790;
constexpr int64_t BARREL_LESSON_COLUMN = 916;
constexpr int64_t BOSS_PAN_COLUMN = 1100;
constexpr float BOSS_PAN_TARGET_X = 1080.0f;

constexpr float EGG_VOLUME = 0.55f;
constexpr float ADVANCE_VOLUME = 0.24f;
constexpr float BLIP_VOLUME = 0.22f;
constexpr float BLIP_COOLDOWN = 0.055f;
constexpr float SLOWMO_CHARGE_VOLUME = 0.48f;
constexpr float EMPOWER_CHARGE_VOLUME = 0.65f;

bool any_press(FrameInput& input) {
    return take_key_pressed(input) != 0 || input.mouse_pressed[0] || input.mouse_pressed[1];
}

void open_line(Game& game, int64_t line) {
    game.dialogue_line = line;
    game.dialogue_chars = 0.0f;
}

struct EnemyBox {
    int64_t w, h;
};

// The box the script uses to decide that an enemy is on screen.
EnemyBox story_box(const Enemy& e) {
    switch (enemy_kind(e)) {
        case EnemyKind::Boss: return EnemyBox{20, 37};
        case EnemyKind::Ogre:
        case EnemyKind::Barbarian: return EnemyBox{10, 13};
        case EnemyKind::Knight: break;
    }
    return EnemyBox{8, 11};
}

bool on_screen(const Enemy& e, const Camera& camera) {
    const EnemyBox b = story_box(e);
    const float ex = static_cast<float>(e.x);
    const float ey = static_cast<float>(e.y);
    return ex + static_cast<float>(b.w) > camera.pos.x && camera.pos.x + static_cast<float>(VIEW_COLS) > ex &&
           ey + static_cast<float>(b.h) > camera.pos.y && camera.pos.y + static_cast<float>(VIEW_ROWS) > ey;
}

const Enemy* intro_knight(const Game& game) {
    const World& world = *game.world;
    if (!game.knight_spawned || game.knight_index < 0 || game.knight_index >= world.enemy_count) return nullptr;
    const Enemy& e = world.enemies[static_cast<size_t>(game.knight_index)];
    return e.alive ? &e : nullptr;
}

void spawn_intro_knight(Game& game) {
    game.knight_index = game.world->enemy_count;
    game.knight_spawned = spawn_enemy(*game.world, *game.level, KNIGHT_SPAWN_COLUMN, EnemyKind::Knight, 0, 0, 0);
}

// The script's answer to a closed line: the next stage and the next line.
int64_t advance_stage(Game& game) {
    switch (game.story_stage) {
        case 2:
            game.story_stage = 3;
            game.awakening_seen = true;
            return 0;
        case 7: game.story_stage = 8; return 3;
        case 8: game.story_stage = 9; return 4;
        case 9: game.story_stage = 10; return 5;
        case 10:
            play_cue(game.sounds, SfxCue::Charge, SLOWMO_CHARGE_VOLUME);
            game.story_stage = 11;
            return 0;
        default: return 0;
    }
}

// The boss conversation's lines lead on to the fight, the second chance and
// the ending.
int64_t close_boss_line(Game& game, int64_t closed, int64_t next) {
    switch (closed) {
        case 6: return 7;
        case 7:
            game.world->boss_frozen = false;
            game.boss_encounter = BossEncounter::Fighting;
            return next;
        case 8:
            game.player.empowered = true;
            game.player.hp = 100;
            game.player.flash_time = 0.0f;
            play_cue(game.sounds, SfxCue::Charge, EMPOWER_CHARGE_VOLUME);
            game.boss_encounter = BossEncounter::Empowered;
            return next;
        case 9:
            game.screen = GameScreen::Ending;
            return next;
        default: return next;
    }
}

void reveal(Game& game, int64_t total) {
    const float next = std::min(game.dialogue_chars + game.frame_time * DIALOGUE_CHARS_PER_SECOND,
                                static_cast<float>(total));
    const int64_t before = static_cast<int64_t>(std::trunc(game.dialogue_chars)) / 3;
    const int64_t after = static_cast<int64_t>(std::trunc(next)) / 3;
    if (before < after && game.sfx_cooldown[LANE_BLIPS] <= 0.0f) {
        play_cue(game.sounds, dialogue_line_info(game.dialogue_line).blip, BLIP_VOLUME);
        game.sfx_cooldown[LANE_BLIPS] = BLIP_COOLDOWN;
    }
    game.dialogue_chars = next;
}

}  // namespace

const DialogueLine& dialogue_line_info(int64_t line) {
    if (line < 1 || line > DIALOGUE_LINE_COUNT) return DIALOGUE_LINES[0];
    return DIALOGUE_LINES[static_cast<size_t>(line - 1)];
}

int64_t dialogue_total(int64_t line) {
    if (line < 1 || line > DIALOGUE_LINE_COUNT) return 0;
    const DialogueLine& d = DIALOGUE_LINES[static_cast<size_t>(line - 1)];
    return d.row1 + d.row2;
}

int stage_prompt(int64_t stage) {
    if (stage < 0 || stage > LAST_STORY_STAGE) return NO_PROMPT;
    return STAGE_PROMPTS[static_cast<size_t>(stage)];
}

void crack_egg(Game& game, FrameInput& input) {
    if (take_key_pressed(input) == 0) return;
    play_cue(game.sounds, SfxCue::Egg, EGG_VOLUME);
    game.story_stage = 1;
    game.egg_timer = 0.0f;
}

void update_dialogue(Game& game, FrameInput& input) {
    const bool pressed = any_press(input);
    const int64_t total = dialogue_total(game.dialogue_line);
    if (!pressed || game.dialogue_chars < static_cast<float>(total)) {
        reveal(game, total);  // an early press neither skips nor closes the line
        return;
    }
    play_cue(game.sounds, SfxCue::UiSelect, ADVANCE_VOLUME);
    const int64_t next = advance_stage(game);
    open_line(game, close_boss_line(game, game.dialogue_line, next));
}

void step_story(Game& game) {
    const int64_t x = game.player.x;
    switch (game.story_stage) {
        case 1:
            game.egg_timer += STEP;
            if (game.egg_timer >= HATCH_TIME) game.story_stage = 3;
            break;
        case 3:
            if (game.awakening_seen) {
                if (x > FIRE_LESSON_COLUMN) game.story_stage = 4;
            } else if (x > AWAKENING_COLUMN) {
                game.story_stage = 2;
            }
            break;
        case 4:
            if (game.attack_latch) {
                game.materials_unlocked = true;
                game.story_stage = 5;
            }
            break;
        case 5:
            if (x >= KNIGHT_TRIGGER_COLUMN) {
                spawn_intro_knight(game);
                game.story_stage = 6;
            }
            break;
        case 11:
            if (game.attack_latch) game.story_stage = 12;
            break;
        case 12:
            if (x > BARREL_LESSON_COLUMN) game.story_stage = 13;
            break;
        default: break;
    }
}

void check_last_intro_stage(Game& game) {
    if (game.story_stage != 13 || game.player.x <= BOSS_PAN_COLUMN) return;
    game.story_stage = LAST_STORY_STAGE;
    Camera& camera = game.camera;
    start_camera_pan(camera, Vector2{BOSS_PAN_TARGET_X, std::clamp(camera.pos.y, 0.0f, CAMERA_MAX_Y)});
}

void open_story_dialogues(Game& game) {
    if (game.story_stage == 2 && game.dialogue_line == 0) {
        open_line(game, 1);
    } else if (game.story_stage == 6) {
        const Enemy* knight = intro_knight(game);
        // Without a living knight there is nobody to wait for: the knight's
        // lines follow at once rather than leaving the story stuck here.
        if (knight == nullptr || on_screen(*knight, game.camera)) {
            open_line(game, 2);
            game.story_stage = 7;
        }
    }
}
