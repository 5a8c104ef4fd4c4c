#include "render/player_animation.h"

#include <cmath>

namespace {

constexpr float WALK_THRESHOLD = 10.0f;  // cells per second
constexpr float WALK_FRAME_TIME = 0.09f;
constexpr float IDLE_FRAME_TIME = 0.15f;
constexpr int64_t WALK_FIRST_FRAME = 4;
constexpr int64_t WALK_FRAMES = 7;
constexpr int64_t IDLE_FRAMES = 4;

Animation animation_for(const Player& p) {
    if (!p.grounded) return Animation::Air;
    return std::fabs(p.vel_x) > WALK_THRESHOLD ? Animation::Walk : Animation::Idle;
}

int64_t clock_ticks(float time, float frame_time) { return static_cast<int64_t>(std::trunc(time / frame_time)); }

}  // namespace

void update_player_animation(PlayerAnimation& anim, const Player& player, float dt_scaled) {
    const Animation next = animation_for(player);
    if (next != anim.player_anim) anim.anim_time = 0.0f;
    anim.anim_time += dt_scaled;
    anim.player_anim = next;
    switch (next) {
        case Animation::Walk:
            anim.anim_frame = clock_ticks(anim.anim_time, WALK_FRAME_TIME) % WALK_FRAMES + WALK_FIRST_FRAME;
            break;
        case Animation::Idle:
            anim.anim_frame = clock_ticks(anim.anim_time, IDLE_FRAME_TIME) % IDLE_FRAMES;
            break;
        case Animation::Air:
            anim.anim_frame = 0;
            break;
    }
}
