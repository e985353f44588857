#include "app/frame_timer.h"
#include "platform/test_backend.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class FrameTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installTestBackend(&backend);
        resetFrameTimer();
        frameTiming = FrameTiming{};
    }
    void TearDown() override { platform::installTestBackend(nullptr); }
    void frame(uint32_t ms) {
        backend.clockMs += ms;
        updateFrameTiming();
    }
    platform::TestBackend backend;
};

}  // namespace

TEST_F(FrameTimerTest, HundredMillisecondsIsTenTicksAndOneMoreFreezes) {
    updateFrameTiming();
    frame(100);
    EXPECT_FLOAT_EQ(frameTiming.frameTicks, 10.0f);
    EXPECT_FLOAT_EQ(frameTiming.fps, 10.0f);
    EXPECT_FLOAT_EQ(frameTiming.gameClock, 0.1f);
    frame(101);
    EXPECT_EQ(frameTiming.frameTicks, 0.0f);
    EXPECT_FLOAT_EQ(frameTiming.gameClock, 0.1f);  // a frozen frame adds nothing
    // The blink phase grows 5 radians per second of unfrozen time.
    for (int i = 0; i < 90; ++i) frame(10);
    EXPECT_NEAR(frameTiming.blinkPhase, 5.0f, 1e-3f);
    EXPECT_NEAR(frameTiming.blinkValue, std::sin(5.0f), 1e-3f);
}

TEST_F(FrameTimerTest, FirstAndZeroMillisecondFramesHaveInfiniteRateAndNoTicks) {
    backend.clockMs = 123456;
    updateFrameTiming();
    EXPECT_EQ(frameTiming.frameTicks, 0.0f);
    EXPECT_EQ(frameTiming.gameClock, 0.0f);
    EXPECT_TRUE(std::isinf(frameTiming.fps));
    frame(16);
    frame(0);
    EXPECT_EQ(frameTiming.frameTicks, 0.0f);
    EXPECT_TRUE(std::isinf(frameTiming.fps));
    // F1 shows a figure a player can read, never a converted infinity.
    EXPECT_EQ(shownFrameRate(frameTiming.fps), 999);
    EXPECT_EQ(shownFrameRate(59.9f), 59);
    EXPECT_EQ(shownFrameRate(std::nanf("")), 0);
}

TEST_F(FrameTimerTest, ClockWrapStillMeasuresTheTrueLength) {
    backend.clockMs = 0xFFFFFFF0u;
    updateFrameTiming();
    frame(0x20);  // wraps to 0x10
    EXPECT_EQ(backend.clockMs, 0x10u);
    EXPECT_FLOAT_EQ(frameTiming.frameSeconds, 0.032f);
    EXPECT_FLOAT_EQ(frameTiming.frameTicks, 3.2f);
}
