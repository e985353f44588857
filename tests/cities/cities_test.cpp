// The generated cities and circuits: every built slot checked with the game's
// loader, one written again, and the plan of all thirty circuits.
#include "cities/circuits.h"
#include "cities/city_geometry.h"
#include "cities/map_images.h"
#include "cities/slot_files.h"
#include "cities/track_rules.h"
#include "content/sbm_model.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

using namespace gen::cities;

namespace {

std::vector<uint8_t> fileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(Cities, EveryBuiltSlotPassesTheTrackRulesAndSlotFourIsRewrittenByteForByte) {
    // The build writes base/ into the run directory before the tests run.
    const std::string base = std::string(NIGHTRUN_RUN_DIR) + "/base";
    for (int slot = 1; slot <= 30; ++slot) {
        TrackReport r = checkTrack(loadTrackFiles<SbmModel>(base, slot));
        EXPECT_TRUE(r.ok) << reportLine(slot, r);
        EXPECT_TRUE(r.length >= 1200 && r.length <= 3000) << reportLine(slot, r);
    }
    // Every surface class is in the collision layer; lamps stand 7.5 above the road.
    TrackFiles f = loadTrackFiles<SbmModel>(base, 4);
    std::set<int> classes;
    for (const TrackTriangle& t : f.collision) classes.insert(t.surfaceClass);
    EXPECT_EQ(classes, (std::set<int>{1, 2, 3}));
    const std::string dir = base + "/maps/4/";
    SbmModel light, visual;
    ASSERT_TRUE(light.load(dir + "light.sbm"));
    ASSERT_TRUE(visual.load(dir + "mapvisual.sbm"));
    light.flatten();
    TriangleGrid grid(f.collision);
    int measured = 0;
    for (const FlatTriangle& l : light.flat) {
        float t;
        int cls;
        if (!grid.raycast({l.centroid.x, l.centroid.y, l.centroid.z}, {0, -1, 0}, 20, t, cls, 1u << kRoadClass)) continue;
        EXPECT_NEAR(t, 7.5f, 0.6f);
        ++measured;
    }
    EXPECT_GT(measured, 20);
    // Neon signs blink through their material: some visual materials do, the road does not.
    bool blinking = false, roadSteady = false;
    for (const SbmMaterial& m : visual.materials) {
        if (m.transparency <= 0.5f) blinking = true;
        if (m.textureFile == "street.bmp" && m.transparency > 0.5f) roadSteady = true;
    }
    EXPECT_TRUE(blinking && roadSteady);
    // Written again, the slot comes out byte for byte the same.
    TempDir again("cities");
    writeSlotFiles(again.path(), 4);
    for (const char* name : {"map.sbm", "mapvisual.sbm", "glass.sbm", "light.sbm", "trees.sbm", "points/level.ai"})
        EXPECT_EQ(fileBytes(again.path() / "maps" / "4" / name), fileBytes(dir + name)) << name;
}

TEST(Cities, ThirtyDistinctCircuitsGrowHarderWithinEachClub) {
    std::set<std::vector<int>> regions[3];
    for (int slot = 1; slot <= 30; ++slot) {
        const Circuit& c = circuit(slot);
        ASSERT_FALSE(c.points.empty()) << "slot " << slot;
        EXPECT_EQ(c.map, mapOfSlot(slot));
        EXPECT_LE(c.points.size(), size_t(kMaxPathPoints));
        EXPECT_TRUE(regions[c.map - 1].insert(c.region).second) << "slot " << slot << " repeats a circuit";
        V3 s = startPosition(slot);
        // Point 0 ahead of the grid, on the grid road's centre line.
        EXPECT_NEAR(c.points[0].z, s.z + kGridRoadOffset, 0.01f);
        EXPECT_GT(c.points[0].x, s.x);
        EXPECT_NEAR(c.points[0].y - kLineLift, s.y - kGroundBelowStart, 0.01f);
        if (raceNumber(slot) > 1) {
            const Circuit& prev = circuit(slot - 1);
            EXPECT_GT(c.length, prev.length) << "slot " << slot;
            EXPECT_GE(c.corners, prev.corners) << "slot " << slot;
        }
    }
    // The hardest club drives further on average than the first.
    float first = 0, last = 0;
    for (int r = 1; r <= 10; ++r) {
        first += circuit(r).length;
        last += circuit(20 + r).length;
    }
    EXPECT_GT(last, first);
}

TEST(Cities, StartRoadsRunStraightAndLevel) {
    for (int map = 1; map <= 3; ++map) {
        const City& c = city(map);
        EXPECT_EQ(c.starts.size(), 3u);
        for (const V3& s : c.starts) {
            float v = s.z + kGridRoadOffset;
            for (float u = s.x - 30; u <= s.x + 40; u += 2) {
                P2 w = c.toWorld(u, v);
                EXPECT_NEAR(w.x, u, 1e-3f);
                EXPECT_NEAR(w.z, v, 1e-3f);
                EXPECT_NEAR(c.height(u, v), s.y - kGroundBelowStart, 1e-3f);
            }
            // No side street joins the grid road near the grid.
            int j = 0;
            while (j < c.nv() && c.V[size_t(j)] != v) ++j;
            ASSERT_LT(j, c.nv());
            for (int i = 0; i < c.nu(); ++i)
                if (c.U[size_t(i)] > s.x - 30 && c.U[size_t(i)] < s.x + 40) {
                    EXPECT_FALSE(c.segU(i, j)) << "map " << map;
                    EXPECT_FALSE(c.segU(i, j + 1)) << "map " << map;
                }
        }
    }
}

TEST(Cities, CheckpointDotsLandOnTheMapStreets) {
    const int imageSize = 512;
    for (int map = 1; map <= 3; ++map) {
        gen::Raster img = drawCityMap(map, imageSize);
        for (int slot = 1; slot <= 30; ++slot) {
            const Circuit& c = circuit(slot);
            if (c.map != map) continue;
            for (size_t k = 0; k < c.points.size(); k += 7) {
                P2 p = mapPixel(map, c.points[k].x, c.points[k].z, imageSize);
                ASSERT_GE(p.x, 0);
                ASSERT_LT(p.x, imageSize);
                ASSERT_GE(p.z, 0);
                ASSERT_LT(p.z, imageSize);
                gen::Color px = img.at(int(p.x), int(p.z));
                // Streets are drawn light grey-blue, blocks near black.
                EXPECT_GT(px.r + px.g + px.b, 0.45f) << "slot " << slot << " point " << k;
            }
        }
    }
}
