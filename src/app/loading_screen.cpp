#include "app/loading_screen.h"

void drawLoadingScreen(bool) {}
