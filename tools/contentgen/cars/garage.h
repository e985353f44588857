// The garage behind the menus: an octagonal showroom around a turntable at the
// origin (floor y = -0.92), closed and lit all round so the orbiting camera
// (11.5 units out, up to about 4.5 up) always sees walls, lamps and props.
// Its textures live in base/garage/textures/ and are named in the models.
#pragma once

#include "cars/mesh.h"
#include "raster.h"

#include <string>
#include <utility>
#include <vector>

namespace cars {

struct GarageMeshes {
    Mesh room;    // garage.sbm
    Mesh glass;   // glass_garage.sbm
    Mesh trees;   // trees.sbm
    Mesh lights;  // light.sbm: one small triangle per ceiling lamp
};

GarageMeshes buildGarage();
// The room's textures: (path below base/, image, with alpha).
struct GarageTexture {
    std::string path;
    gen::Raster image;
    bool alpha;
};
std::vector<GarageTexture> garageTextures();

constexpr float kGarageApothem = 18.0f;
constexpr float kGarageCeiling = 8.0f;

}  // namespace cars
