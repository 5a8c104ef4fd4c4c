#include "story/boss_encounter.h"

#include "app/game.h"

namespace {

constexpr int64_t QUESTION_LINE = 6;
constexpr int64_t DEFIANCE_LINE = 8;
constexpr int64_t FAREWELL_LINE = 9;

// The boss is the first boss-kind entry of the enemy table.
const Enemy* find_boss(const World& world) {
    for (int64_t i = 0; i < world.enemy_count; ++i) {
        const Enemy& e = world.enemies[static_cast<size_t>(i)];
        if (enemy_kind(e) == EnemyKind::Boss) return &e;
    }
    return nullptr;
}

bool fight_running(BossEncounter phase) {
    return phase == BossEncounter::Fighting || phase == BossEncounter::Empowered;
}

void open_line(Game& game, int64_t line) {
    game.dialogue_line = line;
    game.dialogue_chars = 0.0f;
}

void drop_pending_input(Game& game) {
    game.attack_latch = false;
    game.player_input.jump_request = false;
}

constexpr float OPENING_CHARGE_VOLUME = 0.38f;
constexpr float VIEW_MARGIN = 8.0f;  // the boss must be this far into the view

}  // namespace

void check_boss_opening(Game& game) {
    if (game.boss_encounter != BossEncounter::Waiting || game.story_stage != 14) return;
    const Enemy* boss = find_boss(*game.world);
    if (boss == nullptr || !boss->alive) {
        // Without a boss to meet there is no fight to wait for: say farewell
        // and let the game end rather than leave it without a way on.
        game.boss_encounter = BossEncounter::Won;
        open_line(game, FAREWELL_LINE);
        return;
    }
    const float cam_x = game.camera.pos.x;
    const auto bx = static_cast<float>(boss->x);
    if (bx < cam_x + static_cast<float>(VIEW_COLS) - VIEW_MARGIN && bx + 20.0f > cam_x + VIEW_MARGIN) {
        play_cue(game.sounds, SfxCue::Charge, OPENING_CHARGE_VOLUME);
        game.boss_encounter = BossEncounter::Opening;
        open_line(game, QUESTION_LINE);
    }
}

bool check_boss_outcome(Game& game) {
    const Enemy* boss = find_boss(*game.world);
    if (fight_running(game.boss_encounter) && boss != nullptr && !boss->alive) {
        game.boss_encounter = BossEncounter::Won;
        open_line(game, FAREWELL_LINE);
        drop_pending_input(game);
        game.game_over = false;
        return true;
    }
    if (game.player.hp >= 1) return false;
    if (game.boss_encounter == BossEncounter::Fighting) {
        game.boss_encounter = BossEncounter::Defiance;
        open_line(game, DEFIANCE_LINE);
        drop_pending_input(game);
        game.step_accumulator = 0.0f;
        return true;
    }
    game.game_over = true;
    game.screen = GameScreen::GameOver;
    drop_pending_input(game);
    game.step_accumulator = 0.0f;
    return true;
}
