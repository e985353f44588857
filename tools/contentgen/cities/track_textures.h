// The track textures in base/maps/textures/. Self-illumination follows the
// renderer's rule: a texel glows by (1 - alpha), so lit windows, shop fronts,
// neon and lamp heads carry low alpha in 32-bit TGAs; everything unlit is a BMP
// (alpha 1, never glows).
#pragma once

#include "jobs.h"
#include "raster.h"

#include <string>

namespace gen::cities {

void addTrackTextureJobs(JobList& jobs);
// One track texture by file name (as written to base/maps/textures/); empty when unknown.
Raster trackTexture(const std::string& file);

}  // namespace gen::cities
