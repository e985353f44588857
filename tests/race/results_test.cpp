// The results after the finish: the prize table, paid or taken once; the next
// race of the club; the hand-over to the menus ten seconds after the finish.
#include "race_test_support.h"

#include "app/game_state.h"
#include "frontend/menu_framework.h"
#include "race/results.h"

using namespace race_test;

namespace {

// 60 frames a second.
constexpr float frame = 1.6f;

class Results : public RaceFixture {
protected:
    void SetUp() override {
        RaceFixture::SetUp();
        gameSettings.music = 0;
        setNewCareerValues(careerState);
        careerState.currentClub = 1;
        careerState.currentRace = 3;
        careerState.clubProgress[1] = 3;
        careerState.cash = 500.0f;
        careerState.stake = 100.0f;
        GameState = gameStates::racing;
        setUpFlatRace();
        startCareerRace();
    }
    void TearDown() override {
        prizePending = careerRaceActive = false;
        GameState = gameStates::mainMenu;
        RaceFixture::TearDown();
    }

    // As the race's start buttons leave it: a career race with its prize pending.
    void startCareerRace() {
        prizePending = careerRaceActive = true;
    }
    void startQuickRace() {
        prizePending = careerRaceActive = false;
    }
    // The player crosses the line for the last time in `place`.
    void finish(int32_t place) {
        raceFinished = true;
        phaseTimer = 0.0f;
        playerPlace = place;
    }
    // Results frames until about `seconds` have passed since the finish.
    void runResults(float seconds) {
        while (phaseTimer < seconds) resultsFrame(frame);
    }
};

}  // namespace

TEST_F(Results, EachPlacePaysItsPrizeOnceWhateverTheFramesShown) {
    const float expectedCash[4] = {700.0f, 600.0f, 525.0f, 400.0f};
    for (int32_t place = 1; place <= 4; ++place) {
        careerState.cash = 500.0f;
        // Third place pays twenty-five whatever the stake.
        careerState.stake = place == 3 ? 300.0f : 100.0f;
        careerState.clubProgress[1] = 3;
        startCareerRace();
        finish(place);
        runResults(0.99f);
        EXPECT_EQ(careerState.cash, 500.0f) << "nothing is paid before the panel shows";
        runResults(9.9f);
        EXPECT_EQ(careerState.cash, expectedCash[place - 1]) << "place " << place;
        EXPECT_FALSE(prizePending);
        EXPECT_EQ(careerState.stake, place == 3 ? 300.0f : 100.0f);
        // The highest open race, finished in the first three, opens the next.
        EXPECT_EQ(careerState.clubProgress[1], place <= 3 ? 4 : 3) << "place " << place;
        EXPECT_EQ(careerState.clubProgress[0], 1);
        EXPECT_EQ(GameState, gameStates::racing);
    }
}

TEST_F(Results, OnlyTheClubsHighestOpenRaceOpensTheNext) {
    careerState.clubProgress[1] = 5;  // race 3 of five open ones
    finish(1);
    runResults(5.0f);
    EXPECT_EQ(careerState.cash, 700.0f);
    EXPECT_EQ(careerState.clubProgress[1], 5);

    // The tenth race is the last: winning it opens nothing more.
    careerState.currentRace = careerState.clubProgress[1] = 10;
    startCareerRace();
    finish(1);
    runResults(5.0f);
    EXPECT_EQ(careerState.cash, 900.0f);
    EXPECT_EQ(careerState.clubProgress[1], 10);

    // A damaged club number pays but opens nothing.
    careerState.currentClub = 7;
    careerState.currentRace = careerState.clubProgress[1] = 3;
    startCareerRace();
    finish(2);
    runResults(5.0f);
    EXPECT_EQ(careerState.cash, 1000.0f);
    EXPECT_EQ(careerState.clubProgress[0], 1);
    EXPECT_EQ(careerState.clubProgress[1], 3);
    EXPECT_EQ(careerState.clubProgress[2], 1);
}

TEST_F(Results, ACareerRaceHandsOverToTheHubAfterTenSeconds) {
    // The shops' preview is thrown away: the stored car comes back.
    workingCar.carModel = 11;
    workingCar.rims = 0;
    hoverFlags[3] = true;
    finish(1);
    // The race runs on behind the panel for ten seconds (625 frames at 60 a second).
    int frames = 0;
    for (; frames < 1000 && GameState == gameStates::racing; ++frames) {
        EXPECT_NE(raceWorld, nullptr);
        resultsFrame(frame);
    }
    EXPECT_NEAR(frames, 626, 1);
    EXPECT_EQ(GameState, gameStates::careerHub);
    EXPECT_FALSE(prizePending);
    EXPECT_FALSE(careerRaceActive);
    EXPECT_EQ(raceWorld, nullptr);
    EXPECT_FALSE(raceFinished);
    EXPECT_TRUE(countdownActive);
    EXPECT_EQ(phaseTimer, 0.0f);
    EXPECT_EQ(workingCar.carModel, careerState.ownedCar);
    EXPECT_EQ(workingCar.rims, careerState.storedCar.rims);
    EXPECT_FALSE(hoverFlags[3]);
    EXPECT_EQ(careerState.cash, 700.0f);
}

TEST_F(Results, AQuickRaceChangesNoMoneyAndReturnsToTheMainMenu) {
    startQuickRace();
    finish(1);
    for (int frames = 0; frames < 1000 && GameState == gameStates::racing; ++frames) resultsFrame(frame);
    EXPECT_EQ(careerState.cash, 500.0f);
    EXPECT_EQ(careerState.clubProgress[1], 3);
    EXPECT_EQ(GameState, gameStates::mainMenu);
    EXPECT_EQ(raceWorld, nullptr);
}
