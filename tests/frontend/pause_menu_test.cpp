// Escape during a race and the pause screen's Continue, Restart and Exit.
#include "menu_run.h"

#include "app/input.h"

namespace {

constexpr int continueX = 400, restartX = 560, exitX = 720;

class PausedRace : public MenuRaceRun {
protected:
    // A career race on the first circuit with a stake of 50.
    void startACareerRace() {
        openCompetitionsOfANewCareer();
        click(at::stakePlusX, at::stakeY);
        click(at::start, at::bottomRowY);
        ASSERT_TRUE(runUntil(gameStates::racing, 200));
    }
    void pause() {
        key(keyCodes::escape);
        ASSERT_EQ(GameState, gameStates::pause);
        settle();
    }
};

}  // namespace

TEST_F(PausedRace, PauseFreezesACareerRaceWhichContinuesRestartsAndLeavesWithTheCashKept) {
    startACareerRace();
    frames(10);
    pause();
    EXPECT_EQ(shownScreen, gameStates::pause);
    const float phase = phaseTimer;
    frames(20);
    EXPECT_EQ(phaseTimer, phase);  // nothing of the race runs behind the pause screen

    const int clicks = menuSoundCounts.clicks;
    click(continueX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::racing);
    EXPECT_EQ(shownScreen, gameStates::racing);
    EXPECT_EQ(menuSoundCounts.clicks, clicks);  // Continue is silent
    frames(5);
    EXPECT_GT(phaseTimer, phase);

    pause();
    const int32_t races = raceSetUpCount;
    click(restartX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::racing);
    EXPECT_EQ(raceSetUpCount, races + 1);
    EXPECT_EQ(loadedTrack, 1);
    EXPECT_TRUE(countdownActive);
    EXPECT_LT(phaseTimer, 0.1f);  // from the grid again
    EXPECT_TRUE(careerRaceActive);
    EXPECT_TRUE(prizePending);

    pause();
    click(exitX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::careerHub);
    EXPECT_EQ(raceWorld, nullptr);
    EXPECT_EQ(loadedTrack, 0);
    EXPECT_FALSE(prizePending);
    EXPECT_FALSE(careerRaceActive);
    EXPECT_EQ(careerState.cash, 500.0f);
    EXPECT_EQ(careerState.clubProgress[0], 1);
    EXPECT_EQ(workingCar.carModel, careerState.ownedCar);
    settle();
    EXPECT_EQ(shownScreen, gameStates::careerHub);
}

TEST_F(PausedRace, ExitLeavesAQuickRaceForTheMainMenuWithTheOwnCarBack) {
    clickAndSettle(240, at::bottomRowY);
    click(at::start, at::bottomRowY);
    ASSERT_TRUE(runUntil(gameStates::racing, 200));
    EXPECT_FALSE(careerRaceActive);
    EXPECT_FALSE(prizePending);
    pause();
    click(exitX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::mainMenu);
    EXPECT_EQ(workingCar.carModel, careerState.ownedCar);
    EXPECT_EQ(careerState.cash, 500.0f);
}

// The results settle the prize once, however often the race was restarted.
TEST_F(PausedRace, ARestartedCareerRaceWonPaysItsPrizeOnce) {
    startACareerRace();
    pause();
    click(restartX, at::bottomRowY);
    // The player crosses the line for the last time in first place.
    raceFinished = true;
    playerPlace = 1;
    phaseTimer = 0.0f;
    // Ten seconds of results in frames of 90 ms.
    ASSERT_TRUE(runUntil(gameStates::careerHub, 200, 90)) << "the results never handed back to the hub";
    EXPECT_EQ(careerState.cash, 500.0f + 50.0f + 100.0f);
    EXPECT_EQ(careerState.clubProgress[0], 2);
    EXPECT_FALSE(prizePending);
    EXPECT_FALSE(careerRaceActive);
}
