// The start-up loading screen.
#pragma once

// The start-up screen, drawn every frame while it is up: the first image
// until `ready` (seven seconds in), then the second image fading in from black
// during the eighth second, with "Loading..." in the lower right.
void drawLoadingScreen(bool ready);
