#pragma once
// Colours shared across sheets, so steel, wood and skin read the same on
// every actor.

#include "paint.h"

namespace pal {

// The darkest line colour of the whole art: a deep plum, also used for the
// cracks the game draws over the egg.
inline const Rgba INK = rgb(38, 20, 36);
inline const Rgba EYE_WHITE = rgb(246, 240, 220);
inline const Rgba BLACK_EYE = rgb(24, 14, 26);

inline Ramp steel() { return make_ramp(rgb(150, 160, 178)); }
inline Ramp dark_steel() { return make_ramp(rgb(72, 74, 92), 0.9f); }
inline Ramp gold() { return make_ramp(rgb(222, 170, 64)); }
inline Ramp wood() { return make_ramp(rgb(150, 98, 52)); }
inline Ramp dark_wood() { return make_ramp(rgb(104, 66, 40)); }
inline Ramp leather() { return make_ramp(rgb(120, 72, 46)); }
inline Ramp skin() { return make_ramp(rgb(222, 160, 118)); }
inline Ramp cloth_red() { return make_ramp(rgb(176, 46, 52)); }

}  // namespace pal
