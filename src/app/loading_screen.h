// The start-up loading screen and the race's start overlay (countdown).
#pragma once

// Draws the start-up screen; `ready` switches it to its finished look.
void drawLoadingScreen(bool ready);
void drawStartOverlay();
