// City traffic cars: a taxi, a van, a small hatch, a pickup and a saloon, sized
// for the traffic axle table and the traffic collision box (6 x 1 x 2.6). Each
// has groups 0 headlights (with the tail lamps and the taxi sign), 1 left and
// 2 right indicators, 3 the body, all drawn with its own texture.
#pragma once

#include "cars/mesh.h"
#include "raster.h"

#include <string>

namespace cars {

constexpr int kCityCars = 5;
constexpr float kCityWheelY = -0.43f;  // wheel centres in the model's frame (drawn 0.05 lower than the body)

Mesh buildCityCar(int model);
gen::Raster cityCarTexture(int model);
std::string cityCarTexturePath(int model);

}  // namespace cars
