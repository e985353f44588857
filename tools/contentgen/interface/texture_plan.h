// Which table entries this generator writes besides its own art: plain stand-ins
// for entries whose real content comes from the car generator, and
// quiet fillers for the entries the game never refers to by number (the BMP table
// only loads when all 51 files exist).
#pragma once

#include "raster.h"

#include <string>
#include <vector>

namespace gen::ui {

enum class StandInKind { BodyTemplate, ReflectionMask, Glass, PartTexture, Driver };

struct StandIn {
    std::string file;  // relative to base/, e.g. "textures/tex03.tga"
    StandInKind kind;
    bool alpha;        // 32-bit TGA
};

// The stand-in list. A generator that starts writing one of these files removes
// its line here in the same change, so no file ever has two writers.
const std::vector<StandIn>& standInTextures();
Raster makeStandIn(const StandIn& s);

// Entries nothing in the game refers to by number.
const std::vector<int>& unusedTgaEntries();
const std::vector<int>& unusedBmpEntries();

}  // namespace gen::ui
