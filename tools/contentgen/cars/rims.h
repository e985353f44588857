// Wheels: a shared tyre and eight rim designs for the race cars, one plain
// steel wheel for the city traffic, and the wheel texture (TGA 12) they share.
// Wheels are centred on the origin, axle along z, outer face towards +z.
#pragma once

#include "cars/mesh.h"
#include "raster.h"

namespace cars {

constexpr int kRimDesigns = 8;

Mesh buildRaceWheel(int design);
Mesh buildCityWheel();
// TGA 12: eight rim cells (4 x 2, 128 px each) in rows 0..256, brake and barrel
// shades plus the city hubcap in rows 256..384, the tyre in rows 384..512.
gen::Raster wheelTexture();

// Revolves a profile (radius, z) about the z axis; quads face along hint(p).
void lathe(Mesh& m, const std::vector<std::pair<float, float>>& profile, int segments, const UvFn& uv,
           const std::function<V3(V3)>& hint, float phase = 0.0f);

}  // namespace cars
