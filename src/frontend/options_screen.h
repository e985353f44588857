// The Options screen (5), opened from the main menu: three tabs (Graphics,
// Audio, Controls) that change the settings at once, except the resolution,
// which is stored for the next start once the player accepts it. The settings
// file is written at exit.
#pragma once

#include "frontend/menu_framework.h"

#include <cstdint>

extern const MenuScreen optionsScreen;

// The resolution index shown on the Graphics tab (0..4: 640x480 .. 1600x1200).
extern int32_t resolutionChoice;

// The main menu's Options button: the Graphics tab at once, the resolution in
// use shown, no resolution change pending and no key binding waiting.
void openOptionsScreen();
