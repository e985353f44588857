#include "app/start_overlay.h"

void drawStartOverlay() {}
