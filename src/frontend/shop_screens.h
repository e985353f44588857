// The tuning shop's pages, opened from the career hub.
#pragma once

#include "frontend/menu_framework.h"

extern const MenuScreen visualTuningScreen;  // 22
extern const MenuScreen bodyTuningScreen;    // 24
extern const MenuScreen techTuningScreen;    // 25
extern const MenuScreen rimsScreen;          // 26
extern const MenuScreen changeCarScreen;     // 36

// The hub's five shop buttons.
void openTechTuning();
void openBodyTuning();
void openVisualTuning();
void openRims();
void openChangeCar();
