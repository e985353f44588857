// A street-level software render of a slot's drawn layers (visual and trees,
// lit by its lamps, glowing where the textures glow), so people can look at a
// circuit without the game.
#pragma once

#include "raster.h"

namespace gen::cities {

// The view from behind the start grid along +x (pathIndex < 0), or from a point
// of the AI path looking along it.
Raster renderStreetView(int slot, int width, int height, int pathIndex = -1);

}  // namespace gen::cities
