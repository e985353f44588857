#include "app/game_state.h"
#include "app/settings.h"
#include "app/window.h"
#include "platform/test_backend.h"
#include "support/temp_dir.h"

#include <GL/gl.h>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class ProjectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installTestBackend(&backend);
        ASSERT_EQ(platform::createWindow({"test", 640, 480, 32, false}), platform::WindowResult::Ok);
    }
    void TearDown() override {
        platform::destroyWindow();
        platform::installTestBackend(nullptr);
    }
    static void projection(float m[16]) { glGetFloatv(GL_PROJECTION_MATRIX, m); }
    platform::TestBackend backend;
};

}  // namespace

TEST_F(ProjectionTest, ZeroHeightCountsAsOne) {
    GameState = gameStates::mainMenu;
    setProjection(640, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 1);
    float m[16];
    projection(m);
    EXPECT_NEAR(m[5] / m[0], 640.0f, 0.01f);  // aspect width / 1
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(ProjectionTest, RaceViewIsWiderThanTheGarageView) {
    GameState = gameStates::mainMenu;
    setProjection(800, 600);
    float menu[16];
    projection(menu);
    GameState = gameStates::racing;
    setProjection(800, 600);
    float race[16];
    projection(race);
    // m[5] = cot(fov / 2): 25 degrees in the front end, 70 at rest in a race.
    EXPECT_NEAR(menu[5], 1.0f / std::tan(12.5 * M_PI / 180.0), 1e-3);
    EXPECT_NEAR(race[5], 1.0f / std::tan(35.0 * M_PI / 180.0), 1e-3);
    loopFlags.speedBlur = 1.0f;
    EXPECT_FLOAT_EQ(raceFieldOfView(), 77.5f);
    loopFlags.speedBlur = 0.0f;
}
