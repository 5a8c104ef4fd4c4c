#pragma once
// The one way the game includes raylib. raylib's own Material (a 3D shading
// record) and Camera (its 3D camera) are never used here, and their names
// belong to the world's cell materials and the play camera; they are renamed
// on the way in. The rename only touches type names, so the C ABI is unchanged.

#define Material RaylibMaterial
#define Camera RaylibCamera
#include <raylib.h>
#undef Camera
#undef Material
