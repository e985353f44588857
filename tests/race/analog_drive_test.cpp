// A pad or wheel beside the keys: proportional steering within the keyboard's
// limits, centring, throttle and brake in proportion, and a controller pulled
// out mid-race lets go of everything.
#include "race_test_support.h"

#include "platform/platform.h"
#include "race/car_control.h"

using namespace race_test;

namespace {

using platform::EventType;
using platform::PadAxisId;
using platform::PadButtonId;

constexpr int pad = 7;

void padEvent(EventType type, int control = 0, int value = 0) { handlePadEvent(int(type), pad, control, value); }
void axis(PadAxisId a, int value) { padEvent(EventType::PadAxis, int(a), value); }

// The raw position half way through a stick's live travel (past its dead zone).
int halfStick() {
    int raw = 0;
    while (stickResponse(raw, false) < 0.5f) ++raw;
    return raw;
}

class AnalogDrive : public RaceFixture {
protected:
    void SetUp() override {
        RaceFixture::SetUp();
        releasePads();
        padEvent(EventType::PadAdded);
    }
    void TearDown() override {
        padEvent(EventType::PadRemoved);
        RaceFixture::TearDown();
    }
};

}  // namespace

TEST(StickResponse, DeadZoneCurveAndEnds) {
    EXPECT_EQ(stickResponse(3000, false), 0.0f);   // a worn stick resting off centre
    EXPECT_EQ(stickResponse(-3000, false), 0.0f);
    EXPECT_EQ(stickResponse(32767, false), 1.0f);
    EXPECT_EQ(stickResponse(-32768, false), -1.0f);
    EXPECT_LT(stickResponse(8000, false), 0.1f);   // fine near the centre
    EXPECT_NEAR(stickResponse(16384, true), 0.5f, 0.02f);  // a wheel is linear
    EXPECT_EQ(triggerResponse(1000), 0.0f);
    EXPECT_EQ(triggerResponse(32767), 1.0f);
    float previous = 0.0f;
    for (int raw = 0; raw <= 32767; raw += 512) {
        EXPECT_GE(stickResponse(raw, false), previous);
        previous = stickResponse(raw, false);
    }
}

TEST_F(AnalogDrive, HalfStickSteersToHalfTheKeyboardTargetWithinItsLimitsAndCentresOnRelease) {
    setUpFlatRace();
    // Stick left half way: half the full 0.7 lock of a standing car.
    axis(PadAxisId::LeftX, -halfStick());
    run(200);
    EXPECT_NEAR(player().steerAngle, 0.35f, 0.01f);
    // Full stick right: the keyboard's limit, no further.
    axis(PadAxisId::LeftX, 32767);
    run(200);
    EXPECT_NEAR(player().steerAngle, -0.7f, 0.02f);
    EXPECT_GE(player().steerAngle, -0.7f - 1e-5f);
    // Let go: straight at once, as with the keys.
    axis(PadAxisId::LeftX, 0);
    run(1);
    EXPECT_EQ(player().steerAngle, 0.0f);
    // A held key wins over the stick.
    axis(PadAxisId::LeftX, 32767);
    holdKey(left, true);
    run(50);
    EXPECT_GT(player().steerAngle, 0.0f);
}

TEST_F(AnalogDrive, TriggersDriveAndBrakeInProportion) {
    setUpFlatRace();
    holdKey(accelerate, true);
    run(30);
    const float keyForce = player().driveForce;
    const int gear = player().gear;
    holdKey(accelerate, false);
    axis(PadAxisId::TriggerRight, 16384 + 800);  // about half, past the dead zone
    run(1);
    ASSERT_EQ(player().gear, gear);
    const float share = triggerResponse(16384 + 800);
    EXPECT_NEAR(player().driveForce, keyForce * share, keyForce * 0.02f);
    axis(PadAxisId::TriggerRight, 0);
    axis(PadAxisId::TriggerLeft, 32767);
    run(1);
    EXPECT_EQ(player().brakeLights, 1.0f);
    EXPECT_LT(player().driveForce, 0.0f);
}

TEST_F(AnalogDrive, ADisconnectMidRaceReleasesEveryControl) {
    setUpFlatRace();
    axis(PadAxisId::TriggerRight, 32767);
    axis(PadAxisId::LeftX, -32768);
    padEvent(EventType::PadButtonDown, int(PadButtonId::A));
    run(60);
    ASSERT_GT(speed(), 3.0f);
    ASSERT_TRUE(playerNitroBurning());
    ASSERT_GT(player().steerAngle, 0.3f);
    padEvent(EventType::PadRemoved);
    EXPECT_EQ(connectedPads(), 0);
    run(1);
    EXPECT_EQ(player().driveForce, 0.0f);
    EXPECT_EQ(player().steerAngle, 0.0f);
    EXPECT_FALSE(playerNitroBurning());
    // Events of a controller that is gone change nothing.
    axis(PadAxisId::TriggerRight, 32767);
    EXPECT_EQ(padDrive().throttle, 0.0f);
    padEvent(EventType::PadAdded);  // for TearDown's removal
}
