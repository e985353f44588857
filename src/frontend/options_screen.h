// The Options screen (5), opened from the main menu.
#pragma once

#include "frontend/menu_framework.h"

extern const MenuScreen optionsScreen;

// The main menu's Options button: the Graphics tab at once, no resolution change pending.
void openOptionsScreen();
