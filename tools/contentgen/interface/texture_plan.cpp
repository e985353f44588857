#include "interface/texture_plan.h"

#include "noise.h"

#include <cmath>

namespace gen::ui {

const std::vector<StandIn>& standInTextures() {
    // ---- STAND-INS: remove a line when its real generator writes the file. ----
    static const std::vector<StandIn> list{
    };
    // ---- end of stand-ins ----
    return list;
}

Raster makeStandIn(const StandIn& s) {
    switch (s.kind) {
        case StandInKind::BodyTemplate: {
            // Paint everywhere (alpha 0) with a few dark panel lines.
            Raster img(1024, 1024, Color{0, 0, 0, 0});
            for (int i = 1; i < 8; ++i) img.fillRect(i * 128.0f - 1, 0, i * 128.0f + 1, 1024, Color{0.02f, 0.02f, 0.02f, 0.6f});
            return img;
        }
        case StandInKind::ReflectionMask:
            return Raster(256, 256, Color{1, 1, 1, 0.7f});
        case StandInKind::Glass:
            return Raster(128, 128, Color{0.55f, 0.62f, 0.7f, 0.5f});
        case StandInKind::PartTexture:
            return Raster(256, 256, rgb(0x26282c));
        case StandInKind::Driver:
            return Raster(128, 128, rgb(0x1c1e24));
    }
    return Raster(64, 64, palette::black);
}

const std::vector<int>& unusedTgaEntries() {
    static const std::vector<int> list{0, 2, 8, 37};
    return list;
}

const std::vector<int>& unusedBmpEntries() {
    static const std::vector<int> list{0,  8,  9,  10, 11, 13, 14, 15, 18, 19, 20, 21, 22, 23, 24,
                                       25, 27, 29, 30, 31, 32, 35, 38, 39, 47, 48, 49, 50};
    return list;
}

}  // namespace gen::ui
