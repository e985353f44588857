#include "render/world_drawing.h"

void drawEnvironmentView(bool) {}
void drawWorld() {}
