// The game's icon for desktop menus: a night street running into a lit
// skyline, with neon edges, on a rounded tile with transparent corners.
#pragma once

#include "raster.h"

namespace gen {

Raster desktopIcon(int size);

}  // namespace gen
