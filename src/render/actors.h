#pragma once
// What moves on top of the cell world: the dragon (or its egg) and the dust
// of its steps, drawn in frame pixels over the cells.

#include "app/game.h"

void draw_actors(const Game& game);
// Where material m's icon sits on the icon sheet.
Rectangle material_icon_source(Material m);
