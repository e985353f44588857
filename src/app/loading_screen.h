// The start-up loading screen.
#pragma once

// Draws the start-up screen; `ready` switches it to its finished look.
void drawLoadingScreen(bool ready);
