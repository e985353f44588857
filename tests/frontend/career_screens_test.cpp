// Career, Competitions, Quick Race and the loading transition, driven by clicks.
#include "menu_run.h"

#include "content/car_loading.h"
#include "content/track_loading.h"
#include "frontend/career_screens.h"
#include "frontend/widgets.h"
#include "race/ai_path.h"

#include <filesystem>
#include <fstream>
#include <limits>

namespace fs = std::filesystem;

TEST_F(MenuRun, NewCareerThenRaceOpensTheFirstRaceOfTheFirstClubWithoutStake) {
    careerState.cash = 1234.0f;
    careerState.stake = 150.0f;
    openCompetitionsOfANewCareer();
    EXPECT_EQ(GameState, gameStates::competitions);
    EXPECT_EQ(careerState.cash, 500.0f);
    EXPECT_EQ(careerState.stake, 0.0f);
    EXPECT_EQ(careerState.currentClub, 0);
    EXPECT_EQ(careerState.currentRace, 1);
    for (int progress : careerState.clubProgress) EXPECT_EQ(progress, 1);
    EXPECT_EQ(subPage.shown, 0);
    EXPECT_EQ(selectionView.shownRace, 1);
    EXPECT_EQ(selectionView.previewedTrack, 1);
    // The map shows track 1's checkpoints, read by the path loader.
    EXPECT_GT(aiPathLast, 0);
    // New career wrote the file at once.
    EXPECT_EQ(fs::file_size(careerPath), 1408u);
}

TEST_F(MenuRun, TheStakeMovesInFiftiesUpToThreeHundredAndNeverPastTheCash) {
    openCompetitionsOfANewCareer();
    careerState.cash = 120.0f;
    for (int i = 0; i < 3; ++i) click(at::stakePlusX, at::stakeY);
    EXPECT_EQ(careerState.stake, 100.0f);  // a third step would leave less than nothing
    careerState.cash = 1000.0f;
    for (int i = 0; i < 8; ++i) click(at::stakePlusX, at::stakeY);
    EXPECT_EQ(careerState.stake, 300.0f);
    for (int i = 0; i < 8; ++i) click(at::stakeMinusX, at::stakeY);
    EXPECT_EQ(careerState.stake, 0.0f);
    // Value arrows keep the click for the garage camera and sound like a hover.
    EXPECT_TRUE(mouseState.clickPending);
}

TEST_F(MenuRun, RaceArrowsStayWithinTheClubsProgressAndAClubStartsAtItsHighestRace) {
    openCompetitionsOfANewCareer();
    click(at::racePlusX, at::raceY);
    EXPECT_EQ(careerState.currentRace, 1);
    click(at::raceMinusX, at::raceY);
    EXPECT_EQ(careerState.currentRace, 1);

    careerState.clubProgress[0] = 3;
    careerState.clubProgress[2] = 7;
    for (int i = 0; i < 5; ++i) click(at::racePlusX, at::raceY);
    EXPECT_EQ(careerState.currentRace, 3);
    EXPECT_EQ(detailItem.target, 3);
    click(at::raceMinusX, at::raceY);
    EXPECT_EQ(careerState.currentRace, 2);

    clickAndSettle(at::clubX[2], at::clubY);
    EXPECT_EQ(careerState.currentClub, 2);
    EXPECT_EQ(careerState.currentRace, 7);
    EXPECT_EQ(detailItem.target, 27);
    EXPECT_EQ(selectionView.shownRace, 7);
    EXPECT_EQ(selectionView.previewedTrack, 27);
    clickAndSettle(at::clubX[0], at::clubY);
    EXPECT_EQ(careerState.currentRace, 3);
    EXPECT_EQ(selectionView.previewedTrack, 3);
}

TEST_F(MenuRun, QuickRaceDrawsOnlyTheFirstTenTracksAndChangeNeverRepeats) {
    const CarConfig stored = careerState.storedCar;
    for (int round = 0; round < 10; ++round) {
        click(240, at::bottomRowY);
        ASSERT_EQ(GameState, gameStates::quickRace);
        EXPECT_GE(quickRaceTrack, 1);
        EXPECT_LE(quickRaceTrack, 10);
        EXPECT_EQ(workingCar.carModel, quickRaceCar);
        for (int k = 0; k < 10; ++k) {
            const int track = quickRaceTrack, car = quickRaceCar;
            click(at::change, at::bottomRowY);
            EXPECT_NE(quickRaceTrack, track);
            EXPECT_NE(quickRaceCar, car);
            EXPECT_GE(quickRaceTrack, 1);
            EXPECT_LE(quickRaceTrack, 10);
            EXPECT_EQ(detailItem.target, quickRaceTrack);
            // The stock car, without tech tuning.
            EXPECT_EQ(workingCar.carModel, quickRaceCar);
            EXPECT_EQ(workingCar.spoiler, careerState.CarPreset[quickRaceCar].spoiler);
            EXPECT_EQ(workingCar.techPacket, 0);
        }
        click(at::back, at::bottomRowY);
        ASSERT_EQ(GameState, gameStates::mainMenu);
        // Back puts the player's own car in the garage again.
        EXPECT_EQ(workingCar.carModel, careerState.ownedCar);
        EXPECT_EQ(workingCar.rims, stored.rims);
        EXPECT_EQ(workingCar.paintColor[0], stored.paintColor[0]);
    }
}

TEST_F(MenuRaceRun, StartLoadsTheChosenCareerRaceBehindTheLoadingPicture) {
    openCompetitionsOfANewCareer();
    click(at::start, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::loadingRace);
    EXPECT_TRUE(prizePending);
    ASSERT_TRUE(runUntil(gameStates::racing, 200));
    EXPECT_EQ(shownScreen, gameStates::racing);
    EXPECT_TRUE(careerRaceActive);
    EXPECT_TRUE(prizePending);
    EXPECT_EQ(loadedTrack, 1);
    EXPECT_NE(raceWorld, nullptr);
    EXPECT_FALSE(mouseState.clickPending);
    // The opponents come from the first club's six cars.
    for (int slot = 1; slot < 4; ++slot) EXPECT_LT(raceCarSlots[slot].carModel, 6);
}

// A circuit whose driving line is damaged: the race is not started, the player
// is back where the race was chosen, told why, and no money moves.
class DamagedCircuit : public MenuRaceRun {
protected:
    void prepareBase() override {
        MenuRaceRun::prepareBase();
        const fs::path base = dir->path() / "base";
        const fs::path generated = fs::read_symlink(base / "maps");
        fs::remove(base / "maps");
        fs::create_directories(base / "maps");
        for (const fs::directory_entry& entry : fs::directory_iterator(generated))
            fs::create_directory_symlink(entry.path(), base / "maps" / entry.path().filename());
        for (int track = 1; track <= 10; ++track) {
            const fs::path slot = base / "maps" / std::to_string(track);
            fs::remove(slot);
            fs::create_directories(slot / "points");
            for (const char* layer : {"map.sbm", "mapvisual.sbm", "glass.sbm", "light.sbm", "trees.sbm"})
                fs::create_symlink(generated / std::to_string(track) / layer, slot / layer);
            std::ofstream(slot / "points" / "level.ai", std::ios::binary) << "\xff\xff\xff\x7f";
        }
    }
};

TEST_F(DamagedCircuit, ACareerRaceThatCannotLoadReturnsToCompetitionsWithTheCashKept) {
    openCompetitionsOfANewCareer();
    click(at::stakePlusX, at::stakeY);
    click(at::start, at::bottomRowY);
    ASSERT_TRUE(runUntil(gameStates::competitions, 200));
    EXPECT_EQ(shownScreen, gameStates::competitions);
    EXPECT_EQ(careerState.cash, 500.0f);
    EXPECT_EQ(careerState.stake, 50.0f);
    EXPECT_FALSE(prizePending);
    EXPECT_FALSE(careerRaceActive);
    EXPECT_EQ(raceWorld, nullptr);
    EXPECT_EQ(loadedTrack, 0);
    EXPECT_NE(std::string(menuNotice()), "");
    // The menus still work: back to the hub.
    settle();
    clickAndSettle(at::back, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::careerHub);
}

TEST_F(DamagedCircuit, AQuickRaceThatCannotLoadReturnsToQuickRace) {
    clickAndSettle(240, at::bottomRowY);
    click(at::start, at::bottomRowY);
    ASSERT_TRUE(runUntil(gameStates::quickRace, 200));
    EXPECT_EQ(raceWorld, nullptr);
    EXPECT_NE(std::string(menuNotice()), "");
}

TEST_F(MenuRun, ADamagedCareerIsKeptToTheTablesByTheScreens) {
    careerState.currentClub = 7;
    careerState.currentRace = -3;
    careerState.clubProgress[0] = 0;
    careerState.clubProgress[1] = 99;
    careerState.clubProgress[2] = -5;
    careerState.cash = std::numeric_limits<float>::quiet_NaN();
    careerState.stake = 1e30f;
    clickAndSettle(80, at::bottomRowY);
    clickAndSettle(560, at::bottomRowY);  // Continue career
    ASSERT_EQ(GameState, gameStates::careerHub);
    clickAndSettle(at::race, at::bottomRowY);
    ASSERT_EQ(GameState, gameStates::competitions);
    EXPECT_EQ(careerState.currentClub, 2);
    EXPECT_EQ(careerState.currentRace, 1);
    EXPECT_EQ(careerState.stake, 0.0f);
    click(at::stakePlusX, at::stakeY);  // no cash to stake
    EXPECT_EQ(careerState.stake, 0.0f);
    clickAndSettle(at::clubX[1], at::clubY);
    EXPECT_EQ(careerState.currentRace, 10);
    EXPECT_EQ(selectionView.previewedTrack, 20);
}
