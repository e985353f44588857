// The chase camera: heading, distance, speed zoom and the intro.
#include "race/chase_camera.h"
#include "race/race_flow.h"

#include <gtest/gtest.h>

namespace {

class ChaseCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetChaseCamera();
        countdownActive = false;
        phaseTimer = 0.0f;
    }
    void TearDown() override { countdownActive = true; }

    void settle(Vec3 forward) {
        for (int i = 0; i < 2000; ++i) computeChaseCamera(position, forward, 0.0f, 1.6f);
    }
    Vec3 position{10.0f, 2.0f, -5.0f};
};

}  // namespace

TEST_F(ChaseCameraTest, AtAStandstillTheEyeSitsBehindAndAboveAlongTheHeading) {
    settle({1.0f, 0.0f, 0.0f});
    EXPECT_NEAR(chaseCamera.headingX, 1.0f, 0.011f);
    EXPECT_NEAR(chaseCamera.headingZ, 0.0f, 0.011f);
    computeChaseCamera(position, {1.0f, 0.0f, 0.0f}, 0.0f, 1.6f);
    EXPECT_NEAR(chaseCamera.eye.x, position.x - 7.3f, 0.1f);
    EXPECT_NEAR(chaseCamera.eye.y, position.y + 2.0f, 1e-5f);
    EXPECT_NEAR(chaseCamera.eye.z, position.z, 0.1f);
    EXPECT_NEAR(chaseCamera.center.x, position.x + 30.0f, 0.4f);
    EXPECT_NEAR(chaseCamera.center.y, position.y, 1e-5f);
    EXPECT_EQ(cameraPosition.x, chaseCamera.eye.x);
    // At full zoom (speed 20 and above) the eye pulls in to 6.3.
    computeChaseCamera(position, {1.0f, 0.0f, 0.0f}, 1.0f, 1.6f);
    EXPECT_NEAR(chaseCamera.eye.x, position.x - 6.3f, 0.1f);
}

TEST_F(ChaseCameraTest, TheHeadingSwingsGraduallyAndNotInLongFrames) {
    settle({1.0f, 0.0f, 0.0f});
    const float before = chaseCamera.headingZ;
    computeChaseCamera(position, {0.0f, 0.0f, 1.0f}, 0.0f, 9.5f);
    EXPECT_EQ(chaseCamera.headingZ, before) << "a frame of 9.5 ticks leaves the heading";
    computeChaseCamera(position, {0.0f, 0.0f, 1.0f}, 0.0f, 1.0f);
    EXPECT_NEAR(chaseCamera.headingZ, before + (1.0f - before) * 0.015f, 1e-5f);
    // Within 0.01 of the target it stops moving.
    chaseCamera.headingX = 0.005f;
    computeChaseCamera(position, {0.0f, 0.0f, 1.0f}, 0.0f, 1.0f);
    EXPECT_EQ(chaseCamera.headingX, 0.005f);
}

TEST_F(ChaseCameraTest, TheIntroReplacesTheChaseViewForEightSeconds) {
    countdownActive = true;
    introPath = 1;
    phaseTimer = 6.0f;
    computeChaseCamera(position, {1.0f, 0.0f, 0.0f}, 0.0f, 1.0f);
    EXPECT_NEAR(chaseCamera.eye.x, position.x - 3.5f, 1e-4f);
    EXPECT_NEAR(chaseCamera.eye.y, position.y + 0.5f, 1e-4f);
    EXPECT_NEAR(chaseCamera.eye.z, position.z + 6.15f, 1e-4f);
    EXPECT_NEAR(chaseCamera.center.x, position.x - 1.5f, 1e-4f);
    EXPECT_NEAR(chaseCamera.center.z, position.z + 7.75f, 1e-4f);
    // The heading keeps converging underneath.
    EXPECT_NE(chaseCamera.headingX, -5.5f);
    phaseTimer = 8.5f;
    computeChaseCamera(position, {1.0f, 0.0f, 0.0f}, 0.0f, 1.0f);
    EXPECT_NEAR(chaseCamera.eye.y, position.y + 2.0f, 1e-5f);
}
