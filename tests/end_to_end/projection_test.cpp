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
    platform::TestBackend backend;
};

}  // namespace

TEST_F(ProjectionTest, NarrowGarageViewWideRaceViewAndAZeroHeightCountsAsOne) {
    float m[16];
    GameState = gameStates::mainMenu;
    setProjection(800, 600);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[5], 1.0f / std::tan(12.5 * M_PI / 180.0), 1e-3);  // cot(fov / 2): 25 degrees
    GameState = gameStates::racing;
    setProjection(800, 600);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[5], 1.0f / std::tan(35.0 * M_PI / 180.0), 1e-3);  // 70 degrees at rest
    loopFlags.speedBlur = 1.0f;
    EXPECT_FLOAT_EQ(raceFieldOfView(), 77.5f);
    loopFlags.speedBlur = 0.0f;

    GameState = gameStates::mainMenu;
    setProjection(640, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[5] / m[0], 640.0f, 0.01f);  // aspect width / 1
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}
