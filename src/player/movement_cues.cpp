#include "player/movement_cues.h"

#include <cmath>

#include "app/game.h"

namespace {

constexpr float STEP = 1.0f / 60.0f;
constexpr float DUST_COOLDOWN = 0.075f;
constexpr float SKID_SPEED = 45.0f;  // reversing faster than this throws skid dust
constexpr float RUN_DUST_SPEED = 55.0f;

constexpr float JUMP_VOLUME = 0.35f;
constexpr float LAND_VOLUME = 0.4f;
constexpr float FOOTSTEP_VOLUME = 0.23f;
constexpr float JUMP_LAND_PAUSE = 0.12f;
constexpr float FOOTSTEP_PAUSE = 0.14f;

SfxCue footstep_cue(Material m) {
    switch (m) {
        case Material::Water: return SfxCue::FootWater;
        case Material::Wood: return SfxCue::FootWood;
        case Material::Iron: return SfxCue::FootMetal;
        case Material::Snow: return SfxCue::FootSnow;
        case Material::Ground:
        case Material::Grass: return SfxCue::FootGrass;
        default: return SfxCue::FootStone;
    }
}

bool took_off(const StepStart& start, const Player& p) { return start.vel_y >= 0.0f && p.vel_y < 0.0f; }
bool landed(const StepStart& start, const Player& p) { return p.grounded && !start.grounded; }

void emit(Game& game, const Player& at, DustKind kind, int64_t dir) {
    MovementFx& fx = game.movement_fx;
    emit_movement_dust(fx, at, footing_material(*game.world, at), kind, dir);
    fx.dust_cooldown = DUST_COOLDOWN;
}

void throw_dust(Game& game) {
    const StepStart& start = game.step_start;
    const Player& p = game.player;
    const int64_t move = game.player_input.move;
    MovementFx& fx = game.movement_fx;
    if (fx.dust_cooldown > 0.0f) fx.dust_cooldown -= STEP;
    if (took_off(start, p)) {
        Player before = p;  // the dust rises from where the jump began
        before.x = start.x;
        before.y = start.y;
        emit(game, before, DustKind::Jump, 0);
    } else if (landed(start, p)) {
        emit(game, p, DustKind::Land, 0);
    }
    if (move != 0 && move != fx.last_move && start.grounded &&
        start.vel_x * static_cast<float>(move) < -SKID_SPEED) {
        emit(game, p, DustKind::Skid, start.vel_x >= 0.0f ? 1 : -1);
    }
    if (move != 0) fx.last_move = move;
    if (p.grounded && p.x != start.x && std::fabs(p.vel_x) > RUN_DUST_SPEED && fx.dust_cooldown <= 0.0f) {
        emit(game, p, DustKind::Run, p.vel_x > 0.0f ? -1 : 1);
    }
}

void play_step_sounds(Game& game) {
    const StepStart& start = game.step_start;
    const Player& p = game.player;
    float& pause = game.sfx_cooldown[LANE_FOOTSTEPS];
    if (took_off(start, p)) {
        play_cue(game.sounds, SfxCue::Jump, JUMP_VOLUME);
        pause = JUMP_LAND_PAUSE;
    } else if (start.grounded) {
        if (p.grounded && p.x != start.x && pause <= 0.0f) {
            play_cue(game.sounds, footstep_cue(footing_material(*game.world, p)), FOOTSTEP_VOLUME);
            pause = FOOTSTEP_PAUSE;
        }
    } else if (p.grounded) {
        play_cue(game.sounds, SfxCue::Land, LAND_VOLUME);
        pause = JUMP_LAND_PAUSE;
    }
}

}  // namespace

void play_movement_cues(Game& game) {
    throw_dust(game);
    play_step_sounds(game);
}
