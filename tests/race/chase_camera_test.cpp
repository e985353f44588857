// The chase camera: behind and above the car along a heading that swings round
// gradually (not at all in long frames), closer at speed, and the intro's fly-round
// in place of it for the first eight seconds of the start sequence.
#include "race/chase_camera.h"
#include "race/race_flow.h"

#include <gtest/gtest.h>

TEST(ChaseCamera, FollowsBehindAlongAHeadingThatSwingsGradually) {
    resetChaseCamera();
    countdownActive = false;
    phaseTimer = 0.0f;
    const Vec3 car{10.0f, 2.0f, -5.0f};
    for (int i = 0; i < 2000; ++i) computeChaseCamera(car, {1.0f, 0.0f, 0.0f}, 0.0f, 1.6f);
    EXPECT_NEAR(chaseCamera.headingX, 1.0f, 0.011f);
    // Behind the car along +x and above it, looking ahead of it.
    EXPECT_NEAR(chaseCamera.eye.x, car.x - 7.3f, 0.1f);
    EXPECT_NEAR(chaseCamera.eye.y, car.y + 2.0f, 1e-5f);
    EXPECT_NEAR(chaseCamera.eye.z, car.z, 0.1f);
    EXPECT_GT(chaseCamera.center.x, car.x + 20.0f);
    EXPECT_EQ(cameraPosition.x, chaseCamera.eye.x);
    computeChaseCamera(car, {1.0f, 0.0f, 0.0f}, 1.0f, 1.6f);  // full speed zoom
    EXPECT_NEAR(chaseCamera.eye.x, car.x - 6.3f, 0.1f);

    // A turn to +z: a long frame leaves the heading, a short one moves it a little way.
    const float before = chaseCamera.headingZ;
    computeChaseCamera(car, {0.0f, 0.0f, 1.0f}, 0.0f, 9.5f);
    EXPECT_EQ(chaseCamera.headingZ, before);
    computeChaseCamera(car, {0.0f, 0.0f, 1.0f}, 0.0f, 1.0f);
    EXPECT_GT(chaseCamera.headingZ, before);
    EXPECT_LT(chaseCamera.headingZ, before + 0.05f);

    // During the start sequence's first eight seconds the intro path places the eye.
    countdownActive = true;
    introPath = 1;
    phaseTimer = 6.0f;
    computeChaseCamera(car, {1.0f, 0.0f, 0.0f}, 0.0f, 1.0f);
    EXPECT_NEAR(chaseCamera.eye.y, car.y + 0.5f, 1e-4f);
    EXPECT_NEAR(chaseCamera.eye.z, car.z + 6.15f, 1e-4f);
    phaseTimer = 8.5f;
    computeChaseCamera(car, {1.0f, 0.0f, 0.0f}, 0.0f, 1.0f);
    EXPECT_NEAR(chaseCamera.eye.y, car.y + 2.0f, 1e-5f);
}
