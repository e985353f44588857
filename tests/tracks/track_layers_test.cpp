// Loading and unloading track layers from a scratch base/ of small models:
// which files each layer comes from, the light table, the vinyl images, and
// that nothing of a race outlives it.
#include "content/car_loading.h"
#include "content/texture_tables.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"
#include "race/race_flow.h"
#include "render/lights.h"
#include "tracks_test_support.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tracks_test;

namespace {

// Triangle counts that tell the layer files of a track apart.
struct TrackMarkers {
    int collision, visual, glass, lights, trees;
};

void writeTrack(int track, const TrackMarkers& m) {
    const std::string dir = trackDirectory(track);
    ASSERT_TRUE(writeModel(dir + "map.sbm", markerModel(m.collision, "", 0.5f)));
    ASSERT_TRUE(writeModel(dir + "mapvisual.sbm", markerModel(m.visual, "road" + std::to_string(track) + ".tga")));
    ASSERT_TRUE(writeModel(dir + "glass.sbm", markerModel(m.glass)));
    ASSERT_TRUE(writeModel(dir + "light.sbm", markerModel(m.lights)));
    ASSERT_TRUE(writeModel(dir + "trees.sbm", markerModel(m.trees, "tree.tga")));
    ASSERT_TRUE(
        writeFileBytes("base/maps/textures/road" + std::to_string(track) + ".tga", solidTga32(4, 4, 9, 9, 9, 255)));
}

int triangles(const std::unique_ptr<SbmModel>& layer) { return layer ? layer->triangleCount() : -1; }

// The triangle counts of the five loaded layers, -1 for a layer that is not there.
TrackMarkers loadedMarkers() {
    return {triangles(trackLayers.collision), triangles(trackLayers.visual), triangles(trackLayers.glass),
            triangles(trackLayers.lights), triangles(trackLayers.trees)};
}
bool operator==(const TrackMarkers& a, const TrackMarkers& b) {
    return a.collision == b.collision && a.visual == b.visual && a.glass == b.glass && a.lights == b.lights &&
           a.trees == b.trees;
}

class TrackLayersTest : public ::testing::Test {
protected:
    std::unique_ptr<ScopedTempDir> dir;

    void SetUp() override {
        ASSERT_TRUE(glContext());
        dir = std::make_unique<ScopedTempDir>("layers");
        for (int i = FirstVinylTga; i < TgaTableSize; ++i)
            ASSERT_TRUE(writeFileBytes(tgaTablePath(i), solidTga32(4, 4, uint8_t(i), 0, 0, 255)));
        ASSERT_TRUE(writeFileBytes("base/maps/textures/tree.tga", solidTga32(4, 4, 0, 90, 0, 255)));
        // The garage's two lamps.
        ASSERT_TRUE(writeModel("base/garage/light.sbm",
                               modelOf({{{0, 3, 0}, {3, 3, 0}, {0, 3, 3}}, {{10, 6, 10}, {13, 6, 10}, {10, 6, 13}}})));
        ASSERT_EQ(loadTgaTableVinyls(), TgaTableSize - FirstVinylTga);
        fillCarPresets(careerState);
        workingCar = stockCar(0);
        loadGarageSet();
        ASSERT_EQ(lightTable.count, 2);
    }
    void TearDown() override {
        unloadTrack();
        releaseGarageSet();
        releaseTextureTables();
        dir.reset();
    }
};

}  // namespace

TEST_F(TrackLayersTest, LoadsTheFiveLayersAndUnloadingLeavesNothing) {
    writeTrack(3, {2, 4, 5, 3, 6});
    loadTrack(3);

    EXPECT_EQ(loadedTrack, 3);
    EXPECT_TRUE(loadedMarkers() == (TrackMarkers{2, 4, 5, 3, 6}));
    // The collision layer's material transparency 0.5 is surface class 2.
    EXPECT_EQ(trackLayers.collision->triangles[0].surfaceClass, 2);

    // The visual and tree layers load their textures from base/maps/textures/; glass and lights none.
    const uint32_t road = trackLayers.visual->materials[0].texture;
    const uint32_t tree = trackLayers.trees->materials[0].texture;
    EXPECT_TRUE(glIsTexture(road));
    EXPECT_TRUE(glIsTexture(tree));
    EXPECT_EQ(trackLayers.glass->materials[0].texture, 0u);

    // The track's lamps light the race; the vinyl images are out of memory.
    EXPECT_EQ(lightTable.count, 3);
    EXPECT_EQ(TgaTable[FirstVinylTga].texture, 0u);
    EXPECT_EQ(TgaTable[80].texture, 0u);
    EXPECT_GE(raceMusicChoice, 0);
    EXPECT_LE(raceMusicChoice, 3);

    raceFinished = true;
    phaseTimer = 5.0f;
    leaveRace();

    EXPECT_EQ(loadedTrack, 0);
    EXPECT_TRUE(loadedMarkers() == (TrackMarkers{-1, -1, -1, -1, -1}));
    EXPECT_FALSE(glIsTexture(road));
    EXPECT_FALSE(glIsTexture(tree));
    EXPECT_TRUE(countdownActive);
    EXPECT_FALSE(raceFinished);
    EXPECT_EQ(phaseTimer, 0.0f);

    // The garage's lamps are back, and so are the vinyls.
    ASSERT_EQ(lightTable.count, 2);
    EXPECT_NEAR(lightTable.entries[0].position.x, 1.0f, 1e-3f);
    EXPECT_NEAR(lightTable.entries[1].position.z, 11.0f, 1e-3f);
    for (int i = FirstVinylTga; i < TgaTableSize; ++i) EXPECT_NE(TgaTable[size_t(i)].texture, 0u) << i;
    EXPECT_EQ(TgaTable[41].pixels[0], 41);
}

TEST_F(TrackLayersTest, TwoRacesInARowLeaveNothingOfTheFirstTrack) {
    writeTrack(1, {1, 2, 3, 4, 5});
    writeTrack(2, {7, 8, 9, 10, 11});

    // Loading over a track that is still loaded replaces its layers and frees
    // their textures (a freed name may come back for the new layers).
    loadTrack(2);
    const uint32_t secondRoad = trackLayers.visual->materials[0].texture;
    ASSERT_TRUE(glIsTexture(secondRoad));
    loadTrack(1);
    EXPECT_TRUE(loadedMarkers() == (TrackMarkers{1, 2, 3, 4, 5}));
    EXPECT_EQ(lightTable.count, 4);
    const bool reused = secondRoad == trackLayers.visual->materials[0].texture ||
                        secondRoad == trackLayers.trees->materials[0].texture;
    EXPECT_TRUE(reused || !glIsTexture(secondRoad));
    unloadTrack();
    EXPECT_EQ(TgaTable[60].pixels[0], 60);  // vinyls loaded once again, not lost by the double load
}

TEST_F(TrackLayersTest, SlotThirtyReadsItsOwnDirectoryNumbersOutsideTheThirtyNoneAndMissingFilesNothing) {
    writeTrack(30, {3, 3, 3, 3, 3});
    loadTrack(30);
    EXPECT_TRUE(loadedMarkers() == (TrackMarkers{3, 3, 3, 3, 3}));
    unloadTrack();
    writeTrack(0, {2, 2, 2, 2, 2});
    writeTrack(31, {2, 2, 2, 2, 2});
    for (int track : {0, 31, -1}) {
        SCOPED_TRACE(track);
        loadTrack(track);
        EXPECT_TRUE(loadedMarkers() == (TrackMarkers{0, 0, 0, 0, 0}));
        EXPECT_EQ(lightTable.count, 0);
        unloadTrack();
    }
    // Missing layer files leave their layers empty.
    ASSERT_TRUE(writeModel(trackDirectory(4) + "map.sbm", markerModel(2)));
    loadTrack(4);
    EXPECT_TRUE(loadedMarkers() == (TrackMarkers{2, 0, 0, 0, 0}));
    EXPECT_EQ(lightTable.count, 0);
}

TEST_F(TrackLayersTest, HeadlessLoadsOnlyWhatTheSimulationNeeds) {
    writeTrack(5, {4, 4, 4, 4, 4});
    TrackLoadOptions options;
    options.headless = true;
    options.careerRace = true;
    careerState.currentClub = 1;
    loadTrack(5, options);

    EXPECT_EQ(loadedTrack, 5);
    EXPECT_TRUE(loadedMarkers() == (TrackMarkers{4, -1, -1, -1, -1}));
    // No GL work: the vinyls stay, the garage keeps its lights.
    EXPECT_NE(TgaTable[41].texture, 0u);
    EXPECT_EQ(lightTable.count, 2);
    // The opponents are still chosen.
    for (int slot = 1; slot < 4; ++slot) {
        EXPECT_GE(raceCarSlots[slot].carModel, 6);
        EXPECT_LE(raceCarSlots[slot].carModel, 11);
    }

    unloadTrack();
    EXPECT_FALSE(trackLayers.collision);
    EXPECT_NE(TgaTable[41].texture, 0u);
}

TEST_F(TrackLayersTest, LightTableTakesTheFirstTwoHundredTriangles) {
    std::vector<Tri> lamps;
    for (int k = 0; k < 250; ++k) {
        const float x = float(k) * 10.0f;
        lamps.push_back({{x, 7.5f, 0}, {x + 3, 7.5f, 0}, {x, 7.5f, 3}});
    }
    ASSERT_TRUE(writeModel(trackDirectory(6) + "light.sbm", modelOf(lamps)));
    loadTrack(6);

    ASSERT_EQ(trackLayers.lights->flatCount(), 250);
    ASSERT_EQ(lightTable.count, lightTableCapacity);
    for (int k : {0, 1, 199}) {  // each lamp at its triangle's centre, in file order
        EXPECT_NEAR(lightTable.entries[k].position.x, float(k) * 10.0f + 1.0f, 0.05f) << k;
        EXPECT_NEAR(lightTable.entries[k].position.y, 7.5f, 1e-3f) << k;
        EXPECT_NEAR(lightTable.entries[k].position.z, 1.0f, 1e-3f) << k;
    }
}
