// The city jobs: track textures, the three map images and one job per track
// slot writing base/maps/N/ (the five layers and the AI path).
#include "jobs.h"

#include "cities/ai_path_file.h"
#include "cities/city_geometry.h"
#include "cities/map_images.h"
#include "cities/street_view.h"
#include "cities/slot_files.h"
#include "cities/track_textures.h"
#include "image_writers.h"
#include "previews.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace gen {

namespace cities {

namespace {

void writeModel(const cities::MeshLayer& layer, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    if (!sbm::writeFile(layer.toModel(), path.string())) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

void writeSlotFiles(const std::filesystem::path& base, int slot) {
    const Circuit& ci = circuit(slot);
    if (ci.points.empty()) throw std::runtime_error("no circuit found for slot " + std::to_string(slot));
    SlotMeshes m = buildSlotMeshes(slot);
    std::filesystem::path dir = base / "maps" / std::to_string(slot);
    writeModel(m.collision, dir / "map.sbm");
    writeModel(m.visual, dir / "mapvisual.sbm");
    writeModel(m.glass, dir / "glass.sbm");
    writeModel(m.light, dir / "light.sbm");
    writeModel(m.trees, dir / "trees.sbm");
    std::vector<PathPoint> points;
    for (size_t k = 0; k < ci.points.size(); ++k)
        points.push_back({ci.points[k].x, ci.points[k].y, ci.points[k].z, ci.kinds[k]});
    std::filesystem::create_directories(dir / "points");
    if (!writeBytes(dir / "points" / "level.ai", encodeAiPath(points))) throw std::runtime_error("cannot write level.ai");
    if (previews::enabled()) {
        char name[32];
        std::snprintf(name, sizeof name, "maps/slot%02d", slot);
        previews::save(name, drawCircuitPreview(slot, 1024));
        std::snprintf(name, sizeof name, "maps/slot%02d_street", slot);
        previews::save(name, renderStreetView(slot, 960, 540));
        std::snprintf(name, sizeof name, "maps/slot%02d_lap", slot);
        previews::save(name, renderStreetView(slot, 960, 540, int(ci.points.size() * 2 / 5)));
    }
}

}  // namespace cities

void addCityJobs(JobList& jobs) {
    cities::addTrackTextureJobs(jobs);
    const int images[3] = {1, 2, 7};
    for (int map = 1; map <= 3; ++map) {
        jobs.push_back({"maps/image" + std::to_string(map), [map, images](const std::filesystem::path& base) {
            char name[40];
            std::snprintf(name, sizeof name, "textures/tex%02d.bmp", images[map - 1]);
            saveBmp(base, name, cities::drawCityMap(map, 512));
        }});
    }
    for (int slot = 1; slot <= 30; ++slot)
        jobs.push_back({"maps/" + std::to_string(slot), [slot](const std::filesystem::path& base) { cities::writeSlotFiles(base, slot); }});
}

}  // namespace gen
