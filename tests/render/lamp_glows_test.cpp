// Lamp glows of the generated city cars: found where the lamps are, and shown
// only towards where they shine.
#include "render/lamp_glows.h"

#include "content/sbm_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

TEST(LampGlows, EachCityCarHasHeadAndTailLampsAndIndicatorsOnItsOwnSides) {
    for (int model = 0; model < 4; ++model) {
        const std::string path = std::string(NIGHTRUN_RUN_DIR) + "/base/city/car" + std::to_string(model) + ".sbm";
        if (!std::filesystem::exists(path)) GTEST_SKIP() << "the city cars have not been generated";
        SbmModel car;
        ASSERT_TRUE(car.load(path)) << path;
        const std::vector<LampGlow> glows = findLampGlows(car);
        int head = 0, tail = 0, left = 0, right = 0;
        for (const LampGlow& g : glows) {
            if (g.group == 0 && g.facing.x > 0.9f) {
                ++head;
                EXPECT_GT(g.position.x, 2.0f);
            }
            if (g.group == 0 && g.facing.x < -0.9f) {
                ++tail;
                EXPECT_LT(g.position.x, -2.0f);
            }
            if (g.group == 1) {
                ++left;
                EXPECT_LT(g.position.z, 0.0f) << "left is -z";
            }
            if (g.group == 2) {
                ++right;
                EXPECT_GT(g.position.z, 0.0f);
            }
            EXPECT_LT(g.position.y, 0.6f) << "no glow on a roof sign";
        }
        EXPECT_EQ(head, 2) << model;
        EXPECT_EQ(tail, 2) << model;
        EXPECT_GE(left, 2) << model;  // front and rear, and a side repeater
        EXPECT_EQ(left, right) << model;
    }
}

TEST(LampGlows, ShowOnlyTowardsWhereTheLampShinesAndWithItsValue) {
    LampGlow glow;
    glow.position = {3.0f, 0.0f, 0.5f};
    glow.facing = {1.0f, 0.0f, 0.0f};
    glow.strength = 0.8f;
    Mat4 frame = translationMatrix({100.0f, 0.0f, 0.0f});
    EXPECT_NEAR(lampGlowAlpha(glow, frame, 1.0f, {130.0f, 0.0f, 0.5f}), 0.8f, 1e-5f);  // straight ahead
    EXPECT_EQ(lampGlowAlpha(glow, frame, 1.0f, {70.0f, 0.0f, 0.5f}), 0.0f);             // from behind
    EXPECT_EQ(lampGlowAlpha(glow, frame, 0.0f, {130.0f, 0.0f, 0.5f}), 0.0f);            // lamp off
    EXPECT_NEAR(lampGlowAlpha(glow, frame, 0.5f, {130.0f, 0.0f, 0.5f}), 0.4f, 1e-5f);
    // The frame turns the lamp: turned half round it shines the other way.
    frame = rotationY(3.14159265f) * frame;
    EXPECT_GT(lampGlowAlpha(glow, frame, 1.0f, {70.0f, 0.0f, -0.5f}), 0.7f);
}
