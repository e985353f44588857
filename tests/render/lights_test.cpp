// The lamps' choice each frame (slots, parking, halos, order) and how their
// positions reach a model's own coordinates; the speed-driven blur values.
#include "render/lights.h"
#include "render/post_processing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Fills the table directly (what buildLightTable does from a lights layer).
void setLamps(const std::vector<Vec3>& positions) {
    clearLightTable();
    for (size_t k = 0; k < positions.size(); ++k) lightTable.entries[k].position = positions[k];
    lightTable.count = int(positions.size());
}

const Vec3 origin{0, 0, 0};
const Vec3 lookingAlongX{1, 0, 0};

}  // namespace

TEST(ActiveLights, NearestUsableLampsFillTheSlotsAndTheRestAreParked) {
    // Two lamps ahead, one just behind (within 40 units), one far behind.
    setLamps({{100, 7.5f, 0}, {-30, 7.5f, 0}, {50, 7.5f, 5}, {-200, 7.5f, 0}});
    chooseActiveLights(origin, lookingAlongX, true);
    EXPECT_FLOAT_EQ(activeLights.slots[0].x, -30.0f);  // near enough whichever way it lies
    EXPECT_FLOAT_EQ(activeLights.slots[1].x, 50.0f);
    EXPECT_FLOAT_EQ(activeLights.slots[2].x, 100.0f);
    // The far lamp behind the camera is left out; slot 3 is parked at the origin.
    EXPECT_FLOAT_EQ(activeLights.slots[3].x, 0.0f);
    for (int slot = 3; slot < lightSlotCount; ++slot) EXPECT_FLOAT_EQ(activeLights.slots[slot].y, parkedLightY);

    // Every lamp far away behind the camera, or none at all: every slot parked.
    for (const std::vector<Vec3>& lamps : {std::vector<Vec3>{{-300, 7.5f, 10}, {-500, 7.5f, -40}, {-90, 7.5f, 0}},
                                           std::vector<Vec3>{}}) {
        setLamps(lamps);
        chooseActiveLights(origin, lookingAlongX, true);
        for (int slot = 0; slot < lightSlotCount; ++slot) EXPECT_FLOAT_EQ(activeLights.slots[slot].y, parkedLightY);
        for (int slot = 0; slot < 4; ++slot) EXPECT_FLOAT_EQ(activeLights.slots[slot].x, 0.0f);
    }
    EXPECT_EQ(haloCount(), 0);
}

TEST(ActiveLights, HalosGoToTheThirtyNearestInThePlaneAndEqualDistancesKeepTheirOrder) {
    // Fifty lamps, furthest first; height does not count towards the distance.
    std::vector<Vec3> lamps;
    for (int k = 49; k >= 0; --k) lamps.push_back({float(k + 1) * 10.0f, k == 3 ? 500.0f : 7.5f, 0});
    setLamps(lamps);
    chooseActiveLights(origin, lookingAlongX, true);
    ASSERT_EQ(haloCount(), haloLimit);
    for (int k = 0; k < haloLimit; ++k) EXPECT_FLOAT_EQ(lightTable.entries[k].position.x, float(k + 1) * 10.0f);

    // Four lamps at the same distance, in a known order, then a nearer one.
    setLamps({{0, 7.5f, 20}, {20, 7.5f, 0}, {0, 7.5f, -20}, {-20, 7.5f, 0}, {5, 7.5f, 0}});
    for (int frame = 0; frame < 3; ++frame) {
        chooseActiveLights(origin, lookingAlongX, true);
        EXPECT_FLOAT_EQ(lightTable.entries[0].position.x, 5.0f);
        EXPECT_FLOAT_EQ(lightTable.entries[1].position.z, 20.0f);
        EXPECT_FLOAT_EQ(lightTable.entries[2].position.x, 20.0f);
        EXPECT_FLOAT_EQ(lightTable.entries[3].position.z, -20.0f);
        EXPECT_FLOAT_EQ(lightTable.entries[4].position.x, -20.0f);
    }
}

TEST(ActiveLights, ModelsSeeTheLightsInTheirOwnCoordinates) {
    setLamps({{10, 7.5f, 0}});
    chooseActiveLights({2, 1, 0}, lookingAlongX, true);
    // A model turned a quarter about y, scaled by 2 and moved to (10, 0, 5).
    const Mat4 model = multiply(multiply(rotationY(1.5707964f), Mat4{{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0},
                                                                        {0, 0, 0, 1}}}),
                                translationMatrix({10, 0, 5}));
    const ModelLights seen = lightsInModelSpace(model);
    // Mapping back to the world gives the world positions again.
    const Vec3 lamp = transformPoint(model, seen.slots[0]);
    EXPECT_NEAR(lamp.x, 10.0f, 1e-4f);
    EXPECT_NEAR(lamp.y, 7.5f, 1e-4f);
    EXPECT_NEAR(lamp.z, 0.0f, 1e-4f);
    const Vec3 eye = transformPoint(model, seen.camera);
    EXPECT_NEAR(eye.x, 2.0f, 1e-4f);
    EXPECT_NEAR(eye.y, 1.0f, 1e-4f);
    // The shining direction is turned and scaled, never moved.
    const Vec3 down = transformDirection(model, seen.direction);
    EXPECT_NEAR(down.y, -1.0f, 1e-4f);
    EXPECT_NEAR(seen.direction.y, -0.5f, 1e-4f);

    Mat4 inverse;
    EXPECT_FALSE(invertMatrix(Mat4{{{1, 0, 0, 0}, {2, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}, inverse));
}

TEST(SpeedBlur, FallsAtRestAndFollowsTheSpeedUpToOneFromTwentyUnits) {
    // At rest the factor falls, never below 0; a frozen frame changes nothing.
    EXPECT_LT(nextBlurFactor(0.5f, 0.0f, 10.0f), 0.5f);
    EXPECT_FLOAT_EQ(nextBlurFactor(0.01f, 0.0f, 10.0f), 0.0f);
    EXPECT_FLOAT_EQ(nextBlurFactor(0.3f, 0.0f, 0.0f), 0.3f);
    // From 20 units a second the target is 1 and held there.
    float factor = 0.0f;
    for (int frame = 0; frame < 300; ++frame) factor = nextBlurFactor(factor, 20.0f, 1.0f);
    EXPECT_FLOAT_EQ(factor, 1.0f);
    EXPECT_FLOAT_EQ(nextBlurFactor(1.0f, 35.0f, 1.0f), 1.0f);
    // At 15 units the target is 0.5: the factor stops there from either side.
    EXPECT_FLOAT_EQ(nextBlurFactor(0.498f, 15.0f, 1.0f), 0.5f);
    EXPECT_FLOAT_EQ(nextBlurFactor(0.502f, 15.0f, 1.0f), 0.5f);

    EXPECT_FLOAT_EQ(radialBlurSpeed(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(radialBlurSpeed(60.0f), 1.0f);
}
