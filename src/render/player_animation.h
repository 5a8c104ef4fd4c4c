#pragma once
// Which of the dragon's animations shows and at which frame. Advanced once
// per rendered frame, never by the logic steps.

#include <cstdint>

#include "player/player.h"

enum class Animation : int64_t { Idle = 0, Walk = 1, Air = 2 };

struct PlayerAnimation {
    Animation player_anim;
    float anim_time;  // seconds in the current animation
    int64_t anim_frame;  // frame of the base sheet
};

// `dt_scaled` is the frame time as the logic sees it (slowed in slow motion).
void update_player_animation(PlayerAnimation& anim, const Player& player, float dt_scaled);
