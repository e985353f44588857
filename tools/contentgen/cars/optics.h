// Lamp clusters (optika0..3) of a body: lenses projected onto the shell's
// corners, in groups 0 headlights, 1 brake lights, 2 reverse lights and 3 the
// bezels; glass_optika covers them. Each body has its own lamp texture; lenses
// have alpha 0 there so they glow with the car's light values.
#pragma once

#include "cars/body_shape.h"
#include "raster.h"

#include <string>

namespace cars {

constexpr int kOpticsVariants = 4;

struct OpticsMeshes {
    Mesh lamps;
    Mesh glass;
};

// body: the shell the lamps are projected onto (its triangles).
OpticsMeshes buildOptics(const BodyShape& shape, const Mesh& body, int variant);
// The lamp texture of a body model and the path its materials store.
gen::Raster opticsTexture(int body);
std::string opticsTexturePath(int body);

}  // namespace cars
