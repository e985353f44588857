// A small software rasteriser for looking at the generated models: perspective,
// z-buffered, back faces culled, Lambert-lit with the models' own normals and
// optionally textured. Used only to write preview pictures.
#pragma once

#include "cars/mesh.h"
#include "raster.h"
#include "sbm_writer.h"

#include <filesystem>
#include <string>
#include <vector>

namespace cars::preview {

struct Item {
    const sbm::Model* model = nullptr;
    const gen::Raster* texture = nullptr;  // null: plain colour
    Xform place;
    gen::Color colour{1, 1, 1, 1};         // multiplies the texture
    float opacity = 1.0f;                  // below 1: blended after the opaque items
    bool cull = true;
    bool glow = false;                     // unlit (lamps switched on)
};

struct Camera {
    V3 eye{8, 3, 8};
    V3 target{0, 0, 0};
    float fovDeg = 32.0f;
};

gen::Raster render(const std::vector<Item>& items, const Camera& camera, int width, int height,
                   gen::Color background = gen::rgb(0x2a2e36));

// Camera looking at the target from a yaw (degrees, 0 = from +x) and pitch at a distance.
Camera orbit(V3 target, float yawDeg, float pitchDeg, float distance, float fovDeg = 30.0f);

// True when previews are asked for (contentgen --previews DIR or --contact-sheet).
bool enabled();
// Writes DIR/cars/name.png and adds a thumbnail to the contact sheet.
void save(const std::string& name, const gen::Raster& image);

// Pictures laid side by side (each the same size) into one.
gen::Raster tile(const std::vector<gen::Raster>& images, int columns);

}  // namespace cars::preview
