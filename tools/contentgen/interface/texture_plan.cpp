#include "interface/texture_plan.h"

#include "noise.h"

#include <cmath>

namespace gen::ui {

const std::vector<StandIn>& standInTextures() {
    // ---- STAND-INS: remove a line when its real generator writes the file. ----
    static const std::vector<StandIn> list{
        // Car generator: body templates of body models 0..5.
        {"textures/tex03.tga", StandInKind::BodyTemplate, true},
        {"textures/tex11.tga", StandInKind::BodyTemplate, true},
        {"textures/tex16.tga", StandInKind::BodyTemplate, true},
        {"textures/tex18.tga", StandInKind::BodyTemplate, true},
        {"textures/tex34.tga", StandInKind::BodyTemplate, true},
        {"textures/tex32.tga", StandInKind::BodyTemplate, true},
        // Car generator: reflection masks of body models 0..5.
        {"textures/tex13.tga", StandInKind::ReflectionMask, true},
        {"textures/tex14.tga", StandInKind::ReflectionMask, true},
        {"textures/tex15.tga", StandInKind::ReflectionMask, true},
        {"textures/tex19.tga", StandInKind::ReflectionMask, true},
        {"textures/tex35.tga", StandInKind::ReflectionMask, true},
        {"textures/tex33.tga", StandInKind::ReflectionMask, true},
        // Car generator: wheels, glass, scoops, spoilers, driver.
        {"textures/tex31.tga", StandInKind::Glass, true},
        {"textures/tex16.bmp", StandInKind::PartTexture, false},
        {"textures/tex17.bmp", StandInKind::PartTexture, false},
        {"textures/tex26.bmp", StandInKind::Driver, false},
        // City generator: the three map images.
        {"textures/tex01.bmp", StandInKind::MapImage, false},
        {"textures/tex02.bmp", StandInKind::MapImage, false},
        {"textures/tex07.bmp", StandInKind::MapImage, false},
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
        case StandInKind::Wheel: {
            Raster img(256, 256, rgb(0x2a2c30));
            img.fillCircle(128, 128, 100, rgb(0x9aa0aa));
            img.fillCircle(128, 128, 30, rgb(0x50545c));
            return img;
        }
        case StandInKind::Glass:
            return Raster(128, 128, Color{0.55f, 0.62f, 0.7f, 0.5f});
        case StandInKind::PartTexture:
            return Raster(256, 256, rgb(0x26282c));
        case StandInKind::Driver:
            return Raster(128, 128, rgb(0x1c1e24));
        case StandInKind::MapImage: {
            // A dark square with a faint street grid.
            Raster img(512, 512, rgb(0x080a10));
            for (int i = 0; i < 512; i += 64) {
                img.fillRect(static_cast<float>(i), 0, i + 6.0f, 512, rgb(0x2a3040));
                img.fillRect(0, static_cast<float>(i), 512, i + 6.0f, rgb(0x2a3040));
            }
            return img;
        }
    }
    return Raster(64, 64, palette::black);
}

const std::vector<int>& unusedTgaEntries() {
    static const std::vector<int> list{0, 2, 8, 26, 37};
    return list;
}

const std::vector<int>& unusedBmpEntries() {
    static const std::vector<int> list{0,  8,  9,  10, 11, 13, 14, 15, 18, 19, 20, 21, 22, 23, 24,
                                       25, 27, 29, 30, 31, 32, 35, 38, 39, 47, 48, 49, 50};
    return list;
}

}  // namespace gen::ui
