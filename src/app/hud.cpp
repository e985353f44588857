#include "app/hud.h"

void drawHud() {}
