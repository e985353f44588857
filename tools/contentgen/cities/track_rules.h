// The rules every track slot must meet, checked on the files as the game
// loads them: budgets, the AI path (closed, evenly spaced, checkpoints), the
// start grid standing on the road, the path lying on road with room to both
// sides and no wall between neighbouring points. Shared by the
// nightrun-lab check-tracks command and the tests.
#pragma once

#include "cities/ai_path_file.h"
#include "cities/city_layout.h"

#include <string>
#include <vector>

namespace gen::cities {

struct TrackTriangle {
    V3 a, b, c;
    int surfaceClass = 0;
};

struct TrackBudgets {
    int visual = 40000, collision = 20000, trees = 8000, lights = 200;
};

struct TrackFiles {
    int slot = 0;
    bool collisionLoaded = false, visualLoaded = false, glassLoaded = false, lightLoaded = false, treesLoaded = false;
    bool pathLoaded = false;
    int collisionTriangles = 0, visualTriangles = 0, glassTriangles = 0, lightTriangles = 0, treeTriangles = 0;
    std::vector<TrackTriangle> collision;  // with surface classes
    std::vector<PathPoint> path;
    V3 start;                              // grid slot 0
};

struct TrackReport {
    bool ok = false;
    std::string failure;  // the first rule that fails
    float length = 0;
    int points = 0;
    int checkpoints = 0;
};

TrackReport checkTrack(const TrackFiles& files, const TrackBudgets& budgets = {});
// "slot N: ok length=L points=P checkpoints=C" or "slot N: FAIL <rule>".
std::string reportLine(int slot, const TrackReport& report);

// Surface class of road triangles (the others: 2 kerbs and pavements, 3 walls and barriers).
constexpr int kRoadClass = 1;
constexpr int kWallClass = 3;

// Collision triangles of a loaded model (anything with vertices[].position and
// triangles[].vertexIndices / surfaceClass, such as the game's SbmModel).
template <class Model>
std::vector<TrackTriangle> trackTriangles(const Model& m) {
    std::vector<TrackTriangle> out;
    out.reserve(m.triangles.size());
    for (const auto& t : m.triangles) {
        TrackTriangle tt;
        V3* corners[3] = {&tt.a, &tt.b, &tt.c};
        bool ok = true;
        for (int k = 0; k < 3; ++k) {
            auto idx = t.vertexIndices[k];
            if (idx < 0 || size_t(idx) >= m.vertices.size()) {
                ok = false;
                break;
            }
            const auto& p = m.vertices[size_t(idx)].position;
            *corners[k] = {p.x, p.y, p.z};
        }
        tt.surfaceClass = t.surfaceClass;
        if (ok) out.push_back(tt);
    }
    return out;
}

// Loads slot's files under base/maps/N/ with the given model type (the game's
// SbmModel: load, classifySurfaces, flatten, triangleCount, flatCount).
template <class Model>
TrackFiles loadTrackFiles(const std::string& base, int slot) {
    TrackFiles f;
    f.slot = slot;
    std::string dir = base + "/maps/" + std::to_string(slot) + "/";
    {
        Model m;
        f.collisionLoaded = m.load(dir + "map.sbm");
        m.classifySurfaces();
        f.collisionTriangles = m.triangleCount();
        f.collision = trackTriangles(m);
    }
    auto count = [&](const char* file, bool& loaded, int& triangles) {
        Model m;
        loaded = m.load(dir + file);
        triangles = m.triangleCount();
    };
    count("mapvisual.sbm", f.visualLoaded, f.visualTriangles);
    count("glass.sbm", f.glassLoaded, f.glassTriangles);
    count("trees.sbm", f.treesLoaded, f.treeTriangles);
    {
        Model m;
        f.lightLoaded = m.load(dir + "light.sbm");
        m.flatten();
        f.lightTriangles = m.flatCount();  // each flattened triangle becomes one light
    }
    f.pathLoaded = readAiPath(dir + "points/level.ai", f.path);
    f.start = startPosition(slot);
    return f;
}

// Ray queries over a triangle soup (uniform grid in x and z).
class TriangleGrid {
public:
    explicit TriangleGrid(const std::vector<TrackTriangle>& tris, float cell = 16.0f);
    // Nearest hit along origin + t * dir for t in [0, maxT]; false when nothing is hit.
    // classMask bit c set: triangles of surface class c count.
    bool raycast(const V3& origin, const V3& dir, float maxT, float& t, int& surfaceClass, unsigned classMask = 0xF) const;

private:
    const std::vector<TrackTriangle>& tris_;
    float cell_, x0_ = 0, z0_ = 0;
    int w_ = 0, h_ = 0;
    std::vector<std::vector<int>> cells_;
};

}  // namespace gen::cities
