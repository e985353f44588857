// The front end's screen machine: fades, buttons, hover, clicks.
#pragma once

#include <cstdint>

extern int32_t shownScreen;   // the screen on view; follows GameState through a fade
extern float screenFade;
extern int32_t optionsTab;    // 0 graphics, 1 audio, 2 controls

// Draws the shown screen and its buttons.
void drawFrontEnd();
// The hover sounds of the buttons under the cursor.
void playHoverSounds();
// A left press at menuCursor: the first button of the screen under it acts.
void dispatchMenuClick();
// Clears every button's hover flag, so that no button of the next screen starts lit.
constexpr int hoverSlotCount = 20;
extern bool hoverFlags[hoverSlotCount];
void resetHover();
// Converts the window cursor position into the 800 x 600 menu space.
void updateMenuCursor();
