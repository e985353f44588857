// Textures of the race cars: per body model the livery template (its own
// detail over the paint) and reflection mask, drawn for the livery layout;
// the shared window glass (TGA 31), scoops (BMP 16), spoilers (BMP 17) and
// driver (BMP 26).
#pragma once

#include "cars/body_shape.h"
#include "raster.h"

namespace cars {

// Texture-table numbers of the template and mask of each body model.
constexpr int kTemplateTga[kBodyModels] = {3, 11, 16, 18, 34, 32};
constexpr int kMaskTga[kBodyModels] = {13, 14, 15, 19, 35, 33};

gen::Raster bodyTemplate(const BodyShape& shape);
// The mask follows the template: paint reflects strongly, dark trim little, chrome fully.
gen::Raster reflectionMask(const gen::Raster& bodyTemplate);
gen::Raster glassTexture();
gen::Raster scoopTexture();
gen::Raster spoilerTexture();
gen::Raster driverTexture();

// The livery as the game paints it: paint under the top and side vinyls (inverted
// alpha, may be empty rasters) under the template; alpha from the mask.
gen::Raster composeLivery(gen::Color paint, const gen::Raster& topVinyl, const gen::Raster& sideVinyl,
                          const gen::Raster& bodyTemplate, const gen::Raster& mask);

}  // namespace cars
