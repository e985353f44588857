// The computer drivers on flat test ground: the countdown hold, backing off a
// wall, righting, keeping apart, and coasting after the finish.
#include "race/race_test_support.h"

#include "race/ai_driver.h"

#include <cmath>

using namespace race_test;

namespace {

constexpr float tick = 1.6f;  // a 16 ms frame
// Frames for a stretch of frame-clock seconds (each frame adds 0.01 * tick).
int framesFor(float seconds) { return int(std::lround(seconds / (0.01f * tick))); }

// Which computer cars the test drives; the others are held still.
bool drivenCars[4] = {false, true, true, true};
void selectedDrivers(RaceCar& car, float f) {
    if (drivenCars[car.index]) computerDriverFrame(car, f);
    else holdCar(car);
}

class ComputerDriver : public RaceFixture {
protected:
    void SetUp() override {
        RaceFixture::SetUp();
        drivenCars[1] = drivenCars[2] = drivenCars[3] = true;
        computerDriverUpdate = selectedDrivers;
    }
    void onlyCar(int index) {
        for (int i = 1; i < 4; ++i) drivenCars[i] = i == index;
    }
    RaceCar& car(int i) { return raceCars[i]; }
    Vec3 at(int i) { return physics::getPosition(car(i).body); }
    void place(int i, Vec3 p) {
        physics::setPosition(car(i).body, p);
        physics::setLinearVelocity(car(i).body, {});
        physics::setAngularMomentum(car(i).body, {});
    }
};

}  // namespace

TEST_F(ComputerDriver, TheCountdownHoldsEveryCarOnTheGrid) {
    ASSERT_TRUE(useLine(straightLine(40, 8.0f, 6.75f)));
    setUpFlatRace({0.0f, 0.95f, 0.0f}, false);
    // The player's keys do nothing yet either.
    holdKey(accelerate, true);
    holdKey(left, true);
    holdKey(nitro, true);
    run(400);  // 6.4 s of the start sequence
    ASSERT_TRUE(countdownActive);
    for (int i = 0; i < 4; ++i) {
        EXPECT_LT(carSpeed(car(i)), 0.05f) << i;
        EXPECT_EQ(car(i).steerAngle, 0.0f);
        EXPECT_EQ(car(i).driveForce, 0.01f);
        EXPECT_EQ(car(i).stuckTimer, 0.0f);
        EXPECT_FALSE(car(i).reversing);
    }
}

TEST_F(ComputerDriver, AgainstAWallItBacksOffAfterThreeSecondsForOneAndAHalf) {
    ground = flatGround(4000.0f, 0.0f, 250.0f);
    addWall(*ground, 40.0f, 60.0f, 4.0f);
    // The line runs on straight through the wall.
    ASSERT_TRUE(useLine(straightLine(60, 8.0f, 4.5f)));
    setUpRaceAt({0.0f, 0.95f, 0.0f}, ground.get());
    countdownActive = false;
    onlyCar(1);

    // Drive into the wall and wait until the car is slow against it.
    int frame = 0;
    for (; frame < 2000 && !(at(1).x > 30.0f && carSpeed(car(1)) < 1.5f); ++frame) run(1);
    ASSERT_LT(frame, 2000) << "never reached the wall";
    const float nose = at(1).x;
    EXPECT_LT(nose, 40.0f);

    // The reverse timer restarts whenever the car reaches speed 1.5; it backs off
    // after three seconds of slow frames in a row.
    int slowFrames = 0;
    for (int guard = 0; !car(1).reversing && guard < 2000; ++guard) {
        run(1);
        slowFrames = car(1).reverseTimer == 0.0f ? 0 : slowFrames + 1;
    }
    ASSERT_TRUE(car(1).reversing);
    EXPECT_NEAR(float(slowFrames), float(framesFor(3.0f)), 2.0f);
    EXPECT_EQ(car(1).reverseLights, 1.0f);

    int reverseFrames = 0;
    while (car(1).reversing && reverseFrames < 1000) {
        EXPECT_LT(car(1).driveForce, 0.0f);
        run(1);
        ++reverseFrames;
    }
    EXPECT_NEAR(float(reverseFrames), float(framesFor(1.5f)), 3.0f);
    EXPECT_LT(at(1).x, nose - 3.0f) << "backed away from the wall";
    EXPECT_EQ(carsRighted, 0);
}

TEST_F(ComputerDriver, ACarThatCannotMoveIsRightedAfterFourAndAHalfSeconds) {
    ASSERT_TRUE(useLine(straightLine(60, 8.0f, 4.5f)));
    setUpFlatRace();
    onlyCar(1);
    // On its roof: no wheel touches the road, so no drive, reverse or brake helps.
    turnOver(car(1).body);
    place(1, {0.0f, 2.2f, 4.5f});
    run(60);  // settle on the roof
    ASSERT_LT(matRow(physics::getPose(car(1).body), 1).y, -0.9f);

    // The stuck timer has run since the car came to rest on its roof.
    const float stillAlready = car(1).stuckTimer;
    EXPECT_GT(stillAlready, 0.0f);
    int frames = 0;
    for (; carsRighted == 0 && frames < 2000; ++frames) {
        ASSERT_GT(car(1).stuckTimer, 0.0f);
        run(1);
    }
    ASSERT_EQ(carsRighted, 1);
    EXPECT_NEAR(stillAlready + 0.01f * tick * float(frames), 4.5f, 0.02f);
    EXPECT_EQ(car(1).stuckTimer, 0.0f);
    // Upright again, lifted clear of the road, and it drives off.
    EXPECT_GT(matRow(physics::getPose(car(1).body), 1).y, 0.99f);
    EXPECT_GT(at(1).y, 2.0f);
    run(400);
    EXPECT_GT(at(1).x, 20.0f);
    EXPECT_EQ(carsRighted, 1);
}

TEST_F(ComputerDriver, CloseTogetherEarlyInTheRaceTheyDoNotSlowForEachOther) {
    ASSERT_TRUE(useLine(straightLine(80, 8.0f, 4.5f)));
    setUpFlatRace();
    // Three cars nose to tail in one lane, 7 apart, the first at the line's start.
    place(1, {16.0f, 0.95f, 4.5f});
    place(2, {9.0f, 0.95f, 4.5f});
    place(3, {2.0f, 0.95f, 4.5f});
    for (int frame = 0; frame < 200; ++frame) {
        run(1);
        for (int i = 1; i < 4; ++i) {
            // (In the first frame the cars stand exactly still, with no gear yet.)
            if (frame == 0 || car(i).progress >= 10.0f) continue;
            ASSERT_GT(car(i).driveForce, 0.0f) << "car " << i << " frame " << frame;
            ASSERT_EQ(car(i).brakeLights, 0.0f) << "car " << i << " frame " << frame;
        }
    }
    EXPECT_GT(carSpeed(car(3)), 8.0f);
}

TEST_F(ComputerDriver, LaterInTheRaceACarEasesOffBehindAnotherComputerCarOnly) {
    ASSERT_TRUE(useLine(straightLine(80, 8.0f, 4.5f)));
    setUpFlatRace();
    onlyCar(2);
    // Car 2 is on its third lap, cruising at 15 with car 1 standing 20 ahead.
    car(2).lapsDone = 3;
    car(2).targetPoint = car(2).lookAheadPoint = 12;
    auto cruise = [&](Vec3 ahead, int who) {
        place(1, {0.0f, 0.95f, 300.0f});
        place(0, {0.0f, 0.95f, 320.0f});
        place(who, ahead);
        place(2, {110.0f, 0.95f, 4.5f});
        physics::setLinearVelocity(car(2).body, {15.0f, 0.0f, 0.0f});
        run(1);
    };
    cruise({130.0f, 0.95f, 4.5f}, 1);
    // k = (30 - 20) * 10 / 30: the drive gives way to a pull of k times the speed.
    EXPECT_NEAR(car(2).driveForce, -15.0f * 10.0f / 3.0f, 1.5f);
    EXPECT_EQ(car(2).brakeLights, 0.0f);  // not within half the range

    cruise({122.0f, 0.95f, 4.5f}, 1);
    EXPECT_LT(car(2).driveForce, -15.0f * 5.0f);
    EXPECT_EQ(car(2).brakeLights, 1.0f);

    // Beside it, not ahead: no following.
    cruise({110.0f, 0.95f, 14.0f}, 1);
    EXPECT_GT(car(2).driveForce, 0.0f);
    // The player's car ahead is not looked at.
    cruise({122.0f, 0.95f, 4.5f}, 0);
    EXPECT_GT(car(2).driveForce, 0.0f);
}

TEST_F(ComputerDriver, AfterTheFinishTheyCoastToAHalt) {
    ASSERT_TRUE(useLine(straightLine(400, 8.0f, 4.5f)));
    setUpFlatRace();
    run(500);
    for (int i = 1; i < 4; ++i) ASSERT_GT(carSpeed(car(i)), 12.0f) << i;

    raceFinished = true;
    float previous[4] = {};
    for (int i = 1; i < 4; ++i) previous[i] = carSpeed(car(i));
    for (int frame = 0; frame < 6000; ++frame) {
        run(1);
        for (int i = 1; i < 4; ++i) {
            ASSERT_EQ(car(i).steerAngle, 0.0f);
            ASSERT_LE(std::fabs(car(i).driveForce), 1.0f);
            // Coasting, not braking: never faster, never much slower in one frame.
            const float speed = carSpeed(car(i));
            ASSERT_LE(speed, previous[i] + 0.02f) << "car " << i << " frame " << frame;
            ASSERT_GT(speed, previous[i] - 0.2f) << "car " << i << " frame " << frame;
            previous[i] = speed;
        }
    }
    for (int i = 1; i < 4; ++i) EXPECT_LT(carSpeed(car(i)), 0.1f) << i;
}
