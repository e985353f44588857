// The race flow: the simulation step, clocks, checkpoints, laps, best lap,
// place, the start sequence and the set-up.
#include "race_test_support.h"

#include "app/start_overlay.h"
#include "race/chase_camera.h"

using namespace race_test;

namespace {

class RaceFlow : public RaceFixture {
protected:
    // Four points 100 apart along x; 0, 2 and 3 are checkpoints. The grid stands
    // far away so only the teleported player reaches them.
    void setUpSquarePath() {
        TrackPoint points[4];
        for (int i = 0; i < 4; ++i) {
            points[i].x = 100.0f * float(i);
            points[i].kind = i == 1 ? 0 : 1;
        }
        ASSERT_TRUE(setAiPath(points, 4));
        setUpFlatRace({0.0f, 0.95f, 500.0f});
    }
    // Puts the player on path point i and runs the checkpoint rules.
    bool visit(int i, RaceCar* car = nullptr) {
        RaceCar& c = car ? *car : player();
        physics::setPosition(c.body, pointPosition(aiPath[i]) + Vec3{0.0f, 1.0f, 3.0f});
        return passCheckpoints(c);
    }
    void lap() {
        visit(2);
        visit(3);
        visit(0);
    }
};

}  // namespace

TEST(RaceStep, ASuddenLongFrameChangesTheStepByAtMostAFifth) {
    stepDt = 0.0f;
    EXPECT_TRUE(advanceStep(1.6f));
    EXPECT_FLOAT_EQ(stepDt, 0.016f);
    EXPECT_TRUE(advanceStep(5.0f));
    EXPECT_FLOAT_EQ(stepDt, 0.016f * 1.2f);
    EXPECT_TRUE(advanceStep(0.0f));  // a frozen frame still steps, 20 % shorter
    EXPECT_FLOAT_EQ(stepDt, 0.016f * 1.2f * 0.8f);
    // Long frames in a row climb to the cap, and a frame at the cap is not simulated.
    int simulated = 0;
    for (int i = 0; i < 20; ++i) simulated += advanceStep(9.0f) ? 1 : 0;
    EXPECT_FLOAT_EQ(stepDt, maxStepDt);
    EXPECT_FALSE(advanceStep(9.0f));
    EXPECT_GT(simulated, 0);
    EXPECT_LT(simulated, 20);
    // A first frame above the cap is not simulated either.
    stepDt = 0.0f;
    EXPECT_FALSE(advanceStep(6.0f));
    stepDt = 0.0f;
    EXPECT_TRUE(advanceStep(5.8f));
    stepDt = 0.0f;
}

TEST(RaceClocks, HundredthsCarryIntoSecondsAndSecondsIntoMinutes) {
    RaceClock clock;
    advanceClock(clock, 99.5f);
    EXPECT_EQ(clock.seconds, 0);
    advanceClock(clock, 1.0f);
    EXPECT_EQ(clock.seconds, 1);
    EXPECT_NEAR(clock.hundredths, 0.5f, 1e-4f);
    for (int i = 0; i < 59; ++i) advanceClock(clock, 100.0f);
    EXPECT_EQ(clock.minutes, 1);
    EXPECT_EQ(clock.seconds, 0);
    advanceClock(clock, 1234.0f);
    EXPECT_EQ(formatClock(clock), "1:12.34");
    EXPECT_FLOAT_EQ(clockValue(clock), 10000.0f + 1200.0f + 34.5f);
}

TEST_F(RaceFlow, SetUpPutsFourCarsInARowAlongZ) {
    trafficLevel = 2;
    setUpFlatRace({10.0f, 1.2f, -20.0f}, false);
    EXPECT_TRUE(countdownActive && !raceFinished && lapsTotal == 4 && playerPlace == 1 && phaseTimer == 0.0f);
    EXPECT_TRUE(introPath >= 0 && introPath <= 2);
    for (int i = 0; i < 4; ++i) {
        const RaceCar& car = raceCars[i];
        ASSERT_NE(car.body, nullptr);
        EXPECT_TRUE(car.index == i && car.placeKey == i + 1 && car.nitro == 100.0f && car.lapsDone == 0);
        const Vec3 p = physics::getPosition(car.body);
        EXPECT_NEAR(length(p - Vec3{10.0f, 1.2f, -20.0f + 4.5f * float(i)}), 0.0f, 1e-5f) << i;
        EXPECT_FLOAT_EQ(car.flatForward.x, 1.0f);
    }
    // The computer cars hold their places while no driver steers them.
    countdownActive = false;
    run(300);
    for (int i = 1; i < 4; ++i) EXPECT_NEAR(physics::getPosition(raceCars[i].body).x, 10.0f, 0.1f);
}

TEST_F(RaceFlow, TheFifthPassOfTheStartLineFinishesTheRace) {
    setUpSquarePath();
    EXPECT_TRUE(visit(0));
    EXPECT_EQ(player().lapsDone, 1);  // the first pass opens lap 1
    EXPECT_EQ(player().nextCheckpoint, 2);
    for (int l = 1; l <= 3; ++l) {
        lap();
        EXPECT_EQ(player().lapsDone, l + 1);
        EXPECT_FALSE(raceFinished);
    }
    EXPECT_EQ(playerLapsCompleted, 3);
    phaseTimer = 5.0f;
    lap();
    EXPECT_TRUE(raceFinished);
    EXPECT_EQ(player().lapsDone, 4);
    EXPECT_EQ(phaseTimer, 0.0f);
    EXPECT_EQ(playerLapsCompleted, 4);
    EXPECT_EQ(player().pointsPassed, 13);
}

TEST_F(RaceFlow, OnlyTheNextCheckpointCountsAndMissingTheStartLineKeepsTheLapCount) {
    setUpSquarePath();
    visit(0);
    EXPECT_FALSE(visit(3)) << "passing checkpoints out of order is impossible";
    EXPECT_FALSE(visit(1)) << "a plain point is no checkpoint";
    EXPECT_EQ(player().pointsPassed, 1);
    EXPECT_TRUE(visit(2));
    // Just outside the radius is not a pass.
    physics::setPosition(player().body, pointPosition(aiPath[3]) + Vec3{15.01f, 0.0f, 0.0f});
    EXPECT_FALSE(passCheckpoints(player()));
    physics::setPosition(player().body, pointPosition(aiPath[3]) + Vec3{14.9f, 0.0f, 0.0f});
    EXPECT_TRUE(passCheckpoints(player()));
    EXPECT_EQ(player().nextCheckpoint, 0);
    // Driving round again without crossing the line counts nothing.
    for (int k = 0; k < 3; ++k) {
        EXPECT_FALSE(visit(2));
        EXPECT_FALSE(visit(3));
    }
    EXPECT_EQ(player().lapsDone, 1);
    EXPECT_EQ(player().pointsPassed, 3);
}

TEST_F(RaceFlow, TheFirstLapSetsTheBestLapAndLaterOnlyFasterOrEqualLaps) {
    setUpSquarePath();
    visit(0);
    EXPECT_EQ(clockValue(bestLap), 0.0f);
    auto lapIn = [&](float hundredths) {
        visit(2);
        visit(3);
        lapClock = RaceClock{};
        advanceClock(lapClock, hundredths);
        visit(0);
        EXPECT_EQ(clockValue(lapClock), 0.0f);
    };
    lapIn(6000.0f);  // slower than the 0 left from the grid, still taken
    EXPECT_EQ(formatClock(bestLap), "1:00.00");
    EXPECT_EQ(formatClock(lastLapTime), "1:00.00");
    lapIn(5800.0f);
    EXPECT_EQ(formatClock(bestLap), "0:58.00");
    lapIn(6500.0f);
    EXPECT_EQ(formatClock(bestLap), "0:58.00");
    EXPECT_EQ(formatClock(lastLapTime), "1:05.00");
    lapIn(5800.0f);
    EXPECT_EQ(formatClock(bestLap), "0:58.00");
    EXPECT_TRUE(raceFinished);
}

TEST_F(RaceFlow, ThePlaceChangesOnlyAtThePlayersOwnPasses) {
    setUpSquarePath();
    raceCars[1].pointsPassed = 1;
    raceCars[2].pointsPassed = 0;
    raceCars[3].pointsPassed = 3;
    visit(0);
    EXPECT_EQ(playerPlace, 3);  // car 2 behind; car 1 level; car 3 ahead
    raceCars[3].pointsPassed = 0;
    EXPECT_EQ(playerPlace, 3);
    visit(2);
    EXPECT_EQ(playerPlace, 1);
    // A computer car's own pass leaves the player's place alone.
    visit(0, &raceCars[1]);
    EXPECT_EQ(raceCars[1].pointsPassed, 2);
    EXPECT_EQ(raceCars[1].lapsDone, 1);
    EXPECT_EQ(playerPlace, 1);
    EXPECT_FALSE(raceFinished);
}

TEST(StartOverlay, AFrameOfAtLeast95TicksDoesNotAdvanceTheSequence) {
    phaseTimer = 0.0f;
    advanceCountdownClock(9.6f);
    EXPECT_EQ(phaseTimer, 0.0f);
    advanceCountdownClock(9.4f);
    EXPECT_NEAR(phaseTimer, 0.094f, 1e-6f);
    phaseTimer = 0.0f;
}

// The sequence lasts eleven seconds and its timer is cleared at thirteen; the
// clocks then run at twice the frame time, and stand once the race is finished.
TEST_F(RaceFlow, TheStartSequenceRunsInTheRaceFramesAndThenTheClocks) {
    setUpFlatRace({0.0f, 0.95f, 0.0f}, false);
    int frames = 0;
    while (countdownActive && frames < 2000) {
        run(1, 1.0f);
        ++frames;
    }
    EXPECT_NEAR(frames, 1101, 2);
    run(200, 1.0f);
    EXPECT_EQ(phaseTimer, 0.0f);
    EXPECT_NEAR(clockValue(raceClock), 400.0f, 2.5f);
    EXPECT_NEAR(clockValue(lapClock), 400.0f, 2.5f);
    raceFinished = true;
    const float stopped = clockValue(raceClock);
    run(50, 1.0f);
    EXPECT_EQ(clockValue(raceClock), stopped);
}
