#pragma once
// The browser build's edge: the game's state read by the page's tests.
//
// Settings live in the page's local storage (src/app/settings.cpp), as the
// same text the desktop's settings file holds.

#include "app/game.h"

// Remembers the running game for the page's read-only queries.
void web_page_attach(const Game& game);
