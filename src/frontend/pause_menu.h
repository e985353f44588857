// The pause screen (4): Escape during a race freezes it behind Continue,
// Restart and Exit.
#pragma once

#include "frontend/menu_framework.h"

extern const MenuScreen pauseScreen;

// Keeps the race frame about to be shown as the paused race's picture; the
// frame driver calls it at the end of the race frame that Escape pauses.
void freezeRaceFrame();
// Forgets the kept picture (its texture belongs to the window's GL context).
void releaseFrozenFrame();
