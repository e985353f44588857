// The tuning shop's two pages, Body Tuning (24) and Visual Tuning (22), which
// open the part shops, and the Painting screen (23) with its colour grid. The
// carousel shops are in carousel_shops.
#pragma once

#include "frontend/menu_framework.h"

extern const MenuScreen visualTuningScreen;  // 22
extern const MenuScreen paintingScreen;      // 23
extern const MenuScreen bodyTuningScreen;    // 24

// The hub's five shop buttons.
void openTechTuning();
void openBodyTuning();
void openVisualTuning();
void openRims();
void openChangeCar();

// The Painting screen's colour grid: 23 columns (reds through greens and
// blues to magentas, then five greys) by 5 rows of brightness, the lower-left
// swatch at (20, 516), 14 units apart.
constexpr int colorGridColumns = 23;
constexpr int colorGridRows = 5;
struct PaintColor {
    float red, green, blue;
};
PaintColor colorGridSwatch(int column, int row);
