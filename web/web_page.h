#pragma once
// The browser build's edge: the game's state read by the page's tests.
//
// Settings: when the settings file of the pause/settings work lands, the
// browser keeps it in local storage; mount it here (an IDBFS folder at the
// config path, synced after each save) before the game reads it. Until then
// the web build starts from the defaults.

#include "app/game.h"

// Remembers the running game for the page's read-only queries.
void web_page_attach(const Game& game);
