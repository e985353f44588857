// Shadows under the cars and the neon glow, seen from straight above.
#include "app/frame_timer.h"
#include "content/car_loading.h"
#include "content/texture_tables.h"
#include "tracks_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tracks_test;

namespace {

using Rgba = std::array<uint8_t, 4>;

class ShadowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(glContext());
        BmpTable[5] = solidTexture(128, 128, 128, 255);
        BmpTable[3] = solidTexture(255, 255, 255, 255);
        for (CarPlacement& p : raceCarPlacements) p = CarPlacement{};
        for (CarPlacement& p : trafficPlacements) p = CarPlacement{};
    }
    void TearDown() override {
        for (int k : {3, 5}) {
            GLuint name = BmpTable[size_t(k)];
            glDeleteTextures(1, &name);
            BmpTable[size_t(k)] = 0;
        }
        for (CarPlacement& p : raceCarPlacements) p = CarPlacement{};
        for (CarPlacement& p : trafficPlacements) p = CarPlacement{};
    }

    // World x -8..8, z -8..8 seen from above on a mid-grey ground.
    static void topView() {
        orthoWindowView();
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    static Rgba ground(float x, float z) { return pixelAt(int((x + 8.0f) * 20.0f), int((-z + 8.0f) * 20.0f)); }
};

void expectGrey(const std::array<uint8_t, 4>& rgba, int level, const char* where) {
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(rgba[size_t(c)], level, 3) << where << " channel " << c;
}

}  // namespace

TEST_F(ShadowsTest, ShadowDarkensAndNeonAddsItsColour) {
    frameTiming.gameClock = 3.14159265f / 10.0f;  // neon 1 at full strength
    raceCarSlots[0].neon = 1;
    raceCarPlacements[0].shown = true;
    raceCarSlots[1].neon = 3;  // not shown: nothing at all
    raceCarPlacements[1].shown = false;
    raceCarPlacements[1].body = translationMatrix({0.0f, 0.0f, 5.5f});
    trafficPlacements[2].shown = true;
    trafficPlacements[2].body = translationMatrix({0.0f, 0.0f, -5.0f});

    topView();
    glDepthMask(GL_TRUE);
    drawCarShadowsAndNeon();

    const Rgba centre = ground(0.0f, 0.0f);
    EXPECT_GE(centre[0], 250);               // red glow on the shadow
    EXPECT_NEAR(centre[1], 64, 3);           // the shadow halves the grey
    EXPECT_NEAR(centre[2], 64, 3);
    expectGrey(ground(0.0f, 2.0f), 64, "shadow beyond the glow");
    expectGrey(ground(0.0f, 2.6f), 128, "beyond the shadow");
    expectGrey(ground(0.0f, 5.5f), 128, "car not shown");
    expectGrey(ground(3.5f, -5.0f), 64, "traffic shadow");
    expectGrey(ground(4.4f, -5.0f), 128, "beyond the traffic shadow");
    expectGrey(ground(0.0f, -5.0f), 64, "traffic has no neon");

    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    raceCarSlots[0].neon = 0;  // no neon: only the shadow
    topView();
    drawCarShadowsAndNeon();
    expectGrey(ground(0.0f, 0.0f), 64, "centre without neon");
}
