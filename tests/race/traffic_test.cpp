// City traffic on flat test ground: the world without and with traffic, where
// and when cars are put on the line, the wrap of their path, backing off a
// wall, and the signals they give the player.
#include "race_test_support.h"

#include "content/car_loading.h"

#include <cmath>

using namespace race_test;

namespace {

// The computer cars stay on the grid: only the player and the traffic move.
void holdStill(RaceCar& car, float) { holdCar(car); }

class Traffic : public RaceFixture {
protected:
    void SetUp() override {
        RaceFixture::SetUp();
        computerDriverUpdate = holdStill;
    }
    // One traffic car on a straight line of `points`, with the grid at z.
    TrafficCar& oneCar(int points, float gridZ) {
        EXPECT_TRUE(useLine(straightLine(points)));
        trafficLevel = 1;
        setUpFlatRace({0.0f, 0.95f, gridZ});
        return trafficCars[0];
    }
    Vec3 at(const TrafficCar& car) { return physics::getPosition(car.body); }
    void putPlayer(Vec3 p) {
        physics::setPosition(player().body, p);
        physics::setLinearVelocity(player().body, {});
    }
    // Bodies the world still takes after the set-up.
    int spareBodies() {
        int spare = 0;
        testing::internal::CaptureStderr();  // the refusal is said on stderr
        while (spare < 20 && physics::createRigidBody(raceWorld)) ++spare;
        testing::internal::GetCapturedStderr();
        return spare;
    }
};

}  // namespace

TEST_F(Traffic, TheOptionSetsHowManyRecordsAreUsedAndTheWorldIsSizedForThem) {
    ASSERT_TRUE(useLine(straightLine(100)));
    for (int32_t option : {0, 1, 2}) {
        trafficLevel = option;
        setUpFlatRace();
        EXPECT_EQ(trafficInPlay, option);
        for (int i = 0; i < trafficCapacity; ++i) EXPECT_EQ(trafficCars[i].body != nullptr, i < option) << i;
        // Four race cars, the traffic and one spare body.
        EXPECT_EQ(spareBodies(), 1) << "option " << option;
        for (int i = 0; i < option; ++i) {
            EXPECT_TRUE(trafficCars[i].needsPlacing);
            EXPECT_FLOAT_EQ(at(trafficCars[i]).y, -10000.0f);
            EXPECT_GE(trafficCars[i].model, 0);
            EXPECT_LE(trafficCars[i].model, 3);
        }
        releaseRaceWorld();
    }
}

TEST_F(Traffic, CarsArePutOnTheLineAheadOfThePlayerNeverWithinTheSpacingAndTakenAwayFarBehind) {
    // A long circuit: out along z = 0 and back along z = 40.
    std::vector<TrackPoint> line = straightLine(300);
    std::vector<TrackPoint> back = straightLine(300, 0.0f, 40.0f);
    line.insert(line.end(), back.rbegin(), back.rend());
    ASSERT_TRUE(useLine(line));
    trafficLevel = 2;
    setUpFlatRace({0.0f, 0.95f, 0.0f});

    int32_t placements = 0;
    float playerX = 0.0f;
    for (int frame = 0; frame < 900; ++frame) {
        playerX += 3.0f;
        putPlayer({playerX, 0.95f, 0.0f});
        const Vec3 before[2] = {at(trafficCars[0]), at(trafficCars[1])};
        run(1);
        for (int i = 0; i < 2; ++i) {
            const TrafficCar& car = trafficCars[i];
            if (car.needsPlacing) {
                // Waiting off the track, held rather than falling, and not drawn.
                EXPECT_LT(at(car).y, -9990.0f);
                EXPECT_LT(length(physics::getLinearVelocity(car.body)), 1.0f);
                EXPECT_FALSE(trafficPlacements[i].shown);
                continue;
            }
            if (length(at(car) - before[i]) < 10.0f) {
                EXPECT_LE(length(at(car) - position()), trafficTakenAwayBeyond + 5.0f) << "not taken away";
                continue;
            }
            // Just placed: 190..240 from the player (five units off the line), 80
            // from the other car, 0.5 above the line.
            ++placements;
            const Vec3 p = at(car);
            EXPECT_GT(length(p - position()), trafficPlacedBeyond - 5.1f);
            EXPECT_LT(length(p - position()), trafficPlacedWithin + 5.1f);
            EXPECT_NEAR(std::fabs(p.z - std::round(p.z / 40.0f) * 40.0f), 5.0f, 0.6f);
            const TrafficCar& other = trafficCars[1 - i];
            if (!other.needsPlacing) {
                EXPECT_GE(length(at(other) - p), trafficSpacing - 5.1f);
            }
        }
    }
    EXPECT_GE(placements, 4) << "cars are placed again as the player moves on";
    EXPECT_EQ(placements, trafficPlacementCount);
}

TEST_F(Traffic, ThePathIndexWrapsAtTheLastPointInBothDirections) {
    TrafficCar& car = oneCar(30, 200.0f);

    placeTrafficCar(car, 29, 0);
    EXPECT_EQ(car.pathIndex, 0);
    placeTrafficCar(car, 0, 1);
    EXPECT_EQ(car.pathIndex, 29);
    // Driving against the order, it turns past point 0 to the last point...
    placeTrafficCar(car, 1, 1);
    EXPECT_EQ(car.pathIndex, 0);
    physics::setPosition(car.body, pointPosition(aiPath[0]) + Vec3{0.0f, 0.0f, -3.0f});
    trafficControl(car, 1.6f);
    EXPECT_EQ(car.pathIndex, 29);
    // ... and along it from the last point to point 0.
    car.direction = 0;
    physics::setPosition(car.body, pointPosition(aiPath[29]) + Vec3{0.0f, 0.0f, 3.0f});
    trafficControl(car, 1.6f);
    EXPECT_EQ(car.pathIndex, 0);
}

TEST_F(Traffic, ACarStuckAgainstAWallBacksOffAndDrivesFree) {
    ground = flatGround(4000.0f, 0.0f, 250.0f);
    addWall(*ground, 60.0f, 40.0f);
    const std::vector<TrackPoint> line = straightLine(40, -200.0f);  // runs on through the wall
    ASSERT_TRUE(useLine(line));
    trafficLevel = 1;
    setUpRaceAt({0.0f, 0.95f, 150.0f}, ground.get());
    countdownActive = false;
    TrafficCar& car = trafficCars[0];
    placeTrafficCar(car, 24, 0);  // point 24 at x = 40, facing the wall 20 ahead

    int frame = 0;
    for (; frame < 3000 && !car.reversing; ++frame) run(1);
    ASSERT_TRUE(car.reversing) << "never backed off";
    const float nose = at(car).x;
    EXPECT_GT(nose, 50.0f) << "it had driven up to the wall";
    EXPECT_LT(nose, 60.0f);
    float furthest = nose;
    for (int k = 0; k < 200 && car.reversing; ++k) {
        EXPECT_EQ(car.driveForce, -70.0f);
        run(1);
        furthest = std::min(furthest, at(car).x);
    }
    EXPECT_FALSE(car.reversing) << "backing off lasts a second and a half";
    EXPECT_LT(furthest, nose - 2.0f) << "it backed away from the wall";
    EXPECT_FALSE(car.needsPlacing);
}

TEST_F(Traffic, ItHootsOnlyBetween15And25FromThePlayerAndFlashesBetween10And70) {
    TrafficCar& car = oneCar(60, 300.0f);
    placeTrafficCar(car, 30, 0);
    const Vec3 p = at(car);
    for (float d : {9.0f, 11.0f, 14.0f, 16.0f, 24.0f, 26.0f, 69.0f, 71.0f}) {
        car.hornTimer = car.flashTimer = 0.0f;
        putPlayer(p + Vec3{-d, 0.0f, 0.0f});
        trafficControl(car, 0.0f);
        EXPECT_EQ(car.hornTimer == 1.0f, d > 15.0f && d < 25.0f) << d;
        EXPECT_EQ(car.flashTimer == 1.0f, d > 10.0f && d < 70.0f) << d;
    }
    // The flash blinks the headlights; without it they are full on.
    car.flashTimer = 1.0f;
    trafficControl(car, 1.6f);
    EXPECT_LT(car.headlight, 1.0f);
    car.flashTimer = 0.0f;
    putPlayer(p + Vec3{-150.0f, 0.0f, 0.0f});
    trafficControl(car, 1.6f);
    EXPECT_EQ(car.headlight, 1.0f);
}

TEST_F(Traffic, ItBlinksTowardsATurnAndTheBlinkerRunsOut) {
    TrafficCar& car = oneCar(60, 300.0f);
    placeTrafficCar(car, 30, 0);
    // Moving along +x with its aim far to the left (-z).
    physics::setLinearVelocity(car.body, {5.0f, 0.0f, 0.0f});
    physics::setPosition(car.body, at(car) + Vec3{0.0f, 0.0f, 30.0f});
    trafficControl(car, 1.6f);
    EXPECT_GT(car.leftBlinker, 0.9f);
    EXPECT_EQ(car.rightBlinker, 0.0f);
    EXPECT_GT(car.steerAngle, 0.0f);
    // Back on its lane the blinker runs out after about two seconds.
    float lampSum = 0.0f;
    for (int k = 0; k < 200; ++k) {
        physics::setPosition(car.body, trafficLanePoint(car.pathIndex - 1, car.pathIndex) - Vec3{20.0f, 0.0f, 0.0f});
        physics::setLinearVelocity(car.body, {5.0f, 0.0f, 0.0f});
        trafficControl(car, 1.6f);
        lampSum += car.leftLamp;
    }
    EXPECT_LE(car.leftBlinker, 0.0f);
    EXPECT_EQ(car.leftLamp, 0.0f);
    EXPECT_GT(lampSum, 10.0f) << "the lamp blinked meanwhile";
}
