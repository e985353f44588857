#include "frontend/menu_framework.h"

#include "app/input.h"
#include "app/settings.h"
#include "platform/platform.h"

int32_t shownScreen = 1;
float screenFade = 0.0f;
int32_t optionsTab = 0;
bool hoverFlags[hoverSlotCount] = {};

void drawFrontEnd() {}
void playHoverSounds() {}
void dispatchMenuClick() {}

void resetHover() {
    for (bool& flag : hoverFlags) flag = false;
}

void updateMenuCursor() {
    int x = 0, y = 0;
    platform::cursorPosition(x, y);
    menuCursor.x = gameSettings.width > 0 ? x * 800 / gameSettings.width : x;
    menuCursor.y = gameSettings.height > 0 ? y * 600 / gameSettings.height : y;
}
