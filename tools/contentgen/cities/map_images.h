// Top-down drawings of the cities: the map images the menus and the HUD show
// (BMP 1, 2 and 7), drawn with the front end's track-map transform so that
// path points land on their streets, and full-size circuit previews.
#pragma once

#include "cities/circuits.h"
#include "raster.h"

namespace gen::cities {

// The track-map transform of a map group: map units = k * world + offset;
// the image spans -90..90 map units, its top row at -90 in z.
struct MapTransform {
    float k, ox, oz;
};
MapTransform mapTransform(int map);
// Pixel position of a world point in a size x size map image.
P2 mapPixel(int map, float x, float z, int size);

Raster drawCityMap(int map, int size);
Raster drawCircuitPreview(int slot, int size);

}  // namespace gen::cities
