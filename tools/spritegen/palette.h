#pragma once
// Materials that appear on more than one sheet share one ramp, so steel,
// wood and iron read the same on every actor and prop.

#include "paint.h"

namespace pal {

// Polished steel: the knight's plate, the barbarian's axe, knight debris.
inline Ramp steel() {
    return {rgb(34, 32, 52), rgb(96, 104, 132), rgb(152, 162, 186), rgb(204, 212, 226), rgb(246, 248, 252)};
}

// Worked wood: barrel staves, the ogre's club, corks.
inline Ramp wood() {
    return {rgb(50, 26, 22), rgb(112, 66, 36), rgb(156, 100, 54), rgb(196, 138, 76), rgb(226, 176, 110)};
}

// Dull iron: barrel hoops, studs.
inline Ramp iron() {
    return {rgb(26, 24, 34), rgb(62, 62, 76), rgb(98, 100, 116), rgb(146, 150, 166), rgb(200, 204, 216)};
}

}  // namespace pal
