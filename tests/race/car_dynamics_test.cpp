// The car on flat ground: springs, gears, brakes and reverse, nitro, steering,
// the countdown hold, flight and righting.
#include "race_test_support.h"

#include "content/car_loading.h"
#include "race/car_control.h"

#include <algorithm>
#include <vector>

using namespace race_test;

namespace {

class CarDynamics : public RaceFixture {};

// Holds the throttle for `frames` frames: the top speed, and each gear in the order reached.
float driveToTopSpeed(int frames, std::vector<int>& gears) {
    holdKey(accelerate, true);
    float top = 0.0f;
    for (int i = 0; i < frames; ++i) {
        headlessRaceFrame(1.6f);
        top = std::max(top, carSpeed(raceCars[0]));
        if (gears.empty() || gears.back() != raceCars[0].gear) gears.push_back(raceCars[0].gear);
    }
    return top;
}

}  // namespace

TEST_F(CarDynamics, AtRestTheCarSettlesLevelOnItsSpringsWithTheBoxClearOfTheRoad) {
    setUpFlatRace();
    run(400);
    const RaceCar& car = player();
    EXPECT_LT(speed(), 0.05f);
    // Each axle carries half the weight: the stiffer rear springs compress less.
    const float frontDepth = 1.0f - car.suspension[0];
    const float rearDepth = 1.0f - car.suspension[2];
    EXPECT_NEAR(frontDepth, 490.5f / 3600.0f, 0.02f);
    EXPECT_NEAR(rearDepth, 490.5f / 6000.0f, 0.02f);
    EXPECT_NEAR(car.suspension[0], car.suspension[1], 0.005f);
    EXPECT_NEAR(car.suspension[2], car.suspension[3], 0.005f);

    const Mat4 pose = physics::getPose(car.body);
    EXPECT_LT(std::fabs(pose.m[0][1]), 0.03f) << "pitch";
    EXPECT_LT(std::fabs(pose.m[2][1]), 0.01f) << "roll";
    // The box's bottom (0.3 below the body origin) stays well above the road.
    EXPECT_GT(position().y - 0.3f, 0.4f);
    EXPECT_NEAR(position().y, 0.9f, 0.06f);
}

TEST_F(CarDynamics, AcceleratingShiftsUpThroughTheGearsToATopSpeedSetByTheRating) {
    // Full rating: two rear wheels of 1.75 * 60 in fifth against 0.15 S^2 + 1.5 S.
    // Half rating, fourth gear: 2 * 0.875 * 80 against the drag would give 26.2; the
    // nose-down pitch at speed costs a little through the dampers and the tyres.
    const struct {
        float rating, top, ceiling;
        int gear;
    } cases[] = {{1.0f, 32.7f, 34.2f, 5}, {0.5f, 25.0f, 26.3f, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rating);
        workingCar.speedRating = c.rating;
        setUpFlatRace();
        std::vector<int> gears;
        const float top = driveToTopSpeed(2500, gears);
        EXPECT_NEAR(top, c.top, 1.5f);
        EXPECT_LT(top, c.ceiling);
        EXPECT_EQ(player().gear, c.gear);
        // Up through every gear in turn, never down.
        std::vector<int> expected;
        for (int g = 1; g <= c.gear; ++g) expected.push_back(g);
        ASSERT_GE(gears.size(), expected.size());
        EXPECT_EQ(std::vector<int>(gears.end() - c.gear, gears.end()), expected);
        EXPECT_TRUE(std::is_sorted(gears.begin(), gears.end()));
        // The gear sound has announced the gear (shown gear trails by at most a frame).
        EXPECT_EQ(player().shownGear, c.gear);
        // Straight ahead: the car has not wandered sideways.
        EXPECT_NEAR(position().z, 0.0f, 1.0f);
        EXPECT_GT(position().x, 100.0f);
        releaseRaceWorld();
        releaseAllKeys();
    }
}

TEST_F(CarDynamics, BrakingToAStopThenBrakingAgainReversesAtUpToAboutNine) {
    setUpFlatRace();
    holdKey(accelerate, true);
    while (speed() < 15.0f) run(1);
    holdKey(accelerate, false);
    holdKey(brake, true);
    int frames = 0;
    while (speed() >= 0.5f && frames < 2000) {
        run(1);
        ++frames;
        if (speed() > 1.0f) {
            EXPECT_EQ(player().brakeLights, 1.0f);
        }
    }
    ASSERT_LT(speed(), 0.5f);
    EXPECT_FALSE(player().reverseArmed);
    // Letting go near a stop arms reverse; the next press drives backwards.
    holdKey(brake, false);
    run(1);
    EXPECT_TRUE(player().reverseArmed);
    holdKey(brake, true);
    const float xBefore = position().x;
    float top = 0.0f;
    for (int i = 0; i < 1200; ++i) {
        run(1);
        top = std::max(top, speed());
    }
    EXPECT_EQ(player().gear, -1);
    EXPECT_EQ(player().reverseLights, 1.0f);
    EXPECT_LT(position().x, xBefore - 20.0f);
    EXPECT_FALSE(movingForwards(player()));
    EXPECT_GT(top, 8.0f);
    EXPECT_LT(top, 10.0f);
    // Accelerating ends reversing.
    holdKey(brake, false);
    holdKey(accelerate, true);
    run(1);
    EXPECT_FALSE(player().reverseArmed);
    EXPECT_EQ(player().reverseLights, 0.0f);
}

TEST_F(CarDynamics, NitroPushesHarderForAboutThreeSecondsAndRefillsInAboutThirtyThree) {
    setUpFlatRace();
    EXPECT_EQ(player().nitro, 100.0f);
    holdKey(accelerate, true);
    run(60);
    const float plain = player().driveForce;
    const int gear = player().gear;
    holdKey(nitro, true);
    run(1);
    if (player().gear == gear) EXPECT_NEAR(player().driveForce, plain * 1.25f, 0.5f);
    int frames = 1;
    while (player().nitro > 0.0f && frames < 10000) {
        run(1, 1.0f);
        ++frames;
        if (frames == 60) EXPECT_NEAR(fieldOfViewBoost, 1.0f, 1e-5f);
    }
    EXPECT_NEAR(frames * 0.01f, 3.33f, 0.03f);
    holdKey(nitro, false);
    frames = 0;
    while (player().nitro < 100.0f && frames < 100000) {
        run(1, 1.0f);
        ++frames;
    }
    EXPECT_NEAR(frames * 0.01f, 33.3f, 0.1f);
    EXPECT_EQ(fieldOfViewBoost, 0.0f);
}

TEST_F(CarDynamics, SteeringKeysTurnBothWaysWithinTheLockAndLeftWinsWhenBothAreHeld) {
    // The standing lock and the centring on release are the stick's too (analog_drive_test).
    setUpFlatRace();
    holdKey(left, true);
    holdKey(right, true);
    run(5);
    EXPECT_GT(player().steerAngle, 0.0f);
    holdKey(left, false);
    run(200);
    EXPECT_LT(player().steerAngle, -0.5f);
    EXPECT_GE(player().steerAngle, -0.7f - 1e-5f);
}

TEST_F(CarDynamics, TheLockNarrowsWithSpeedAndSteeringLeftTurnsLeft) {
    setUpFlatRace();
    holdKey(accelerate, true);
    while (speed() < 20.0f) run(1);
    holdKey(left, true);
    float largest = 0.0f;
    for (int i = 0; i < 100; ++i) {
        run(1);
        largest = std::max(largest, player().steerAngle);
        EXPECT_LE(player().steerAngle, 0.7f * (50.0f - playerCarSpeed) * 0.02f + 1e-4f);
    }
    EXPECT_LT(largest, 0.5f);
    // The car's left is -z.
    EXPECT_LT(position().z, -5.0f);
    EXPECT_LT(player().flatForward.z, -0.3f);
}

TEST_F(CarDynamics, ACarInTheAirFeelsOnlyDragRollingResistanceAndGravity) {
    setUpFlatRace();
    RaceCar& car = player();
    physics::setPosition(car.body, {0.0f, 50.0f, 0.0f});
    const Vec3 velocity{12.0f, -3.0f, 4.0f};
    physics::setLinearVelocity(car.body, velocity);
    car.driveForce = 500.0f;
    car.steerAngle = 0.5f;
    run(1);  // the sensors now see nothing
    physics::setPosition(car.body, {0.0f, 50.0f, 0.0f});
    physics::setLinearVelocity(car.body, velocity);
    physics::setAngularMomentum(car.body, {});
    car.driveForce = 500.0f;

    Vec3 force, torque;
    computeCarForces(car, force, torque);
    const float s = length(velocity);
    const Vec3 expected = normalise(velocity) * (-0.15f * s * s - 1.5f * s);
    EXPECT_NEAR(force.x, expected.x, 1e-2f);
    EXPECT_NEAR(force.y, expected.y, 1e-2f);
    EXPECT_NEAR(force.z, expected.z, 1e-2f);
    EXPECT_NEAR(length(torque), 0.0f, 1e-4f);
    for (float suspension : car.suspension) EXPECT_EQ(suspension, 0.9f);

    // Standing still in the air: nothing at all.
    physics::setLinearVelocity(car.body, {});
    computeCarForces(car, force, torque);
    EXPECT_EQ(length(force), 0.0f);
}

TEST_F(CarDynamics, TheFinishedCarBrakesItselfToAHalt) {
    setUpFlatRace();
    holdKey(accelerate, true);
    while (speed() < 20.0f) run(1);
    raceFinished = true;
    run(1);
    EXPECT_EQ(player().driveForce, -100.0f);
    run(1500);
    EXPECT_LT(speed(), 0.3f);
}

TEST_F(CarDynamics, RightingPutsAnUpsetCarBackOnItsWheels) {
    setUpFlatRace();
    run(100);
    RaceCar& car = player();
    turnOver(car.body);
    physics::setLinearVelocity(car.body, {});
    physics::setAngularMomentum(car.body, {});
    car.driveForce = 50.0f;

    EXPECT_FALSE(rightCar(car, 9.5f)) << "not in a frame of 9.5 ticks";
    const Vec3 before = position();
    ASSERT_TRUE(rightCar(car, 1.6f));
    EXPECT_EQ(car.driveForce, 0.0f);
    EXPECT_NEAR(position().y, before.y + 2.0f, 1e-4f);
    const Mat4 pose = physics::getPose(car.body);
    EXPECT_NEAR(pose.m[1][1], 1.0f, 1e-4f);

    physics::setLinearVelocity(car.body, {5.0f, 0.0f, 0.0f});
    EXPECT_FALSE(rightCar(car, 1.6f)) << "only a nearly still car";
}

TEST_F(CarDynamics, WheelFramesFollowTheSteeringAndTheLeftWheelsTurnRound) {
    setUpFlatRace();
    run(50);
    holdKey(left, true);
    run(30);
    const RaceCar& car = player();
    const CarPlacement& placement = raceCarPlacements[0];
    ASSERT_TRUE(placement.shown);
    // The front wheels point along the steering, to the left (-z).
    EXPECT_LT(car.frontWheelDirection.z, -0.3f);
    // A wheel sits at its anchor, lowered to the ride height.
    const Vec3 rearRight = transformPoint(inverseRigid(placement.body), posePosition(placement.wheels[2]));
    EXPECT_NEAR(rearRight.x, -2.0f, 1e-4f);
    EXPECT_NEAR(rearRight.z, 1.25f, 1e-4f);
    EXPECT_NEAR(rearRight.y, -(car.suspension[2] - 0.45f), 1e-4f);
    // Left wheels face their outer side to -z.
    EXPECT_LT(placement.wheels[1].m[2][2], -0.7f);
    EXPECT_GT(placement.wheels[0].m[2][2], 0.7f);
    EXPECT_EQ(placement.lights[0], 1.0f);
}
