// Which cars the three opponents drive, and what the four race-car slots copy.
#include "content/car_loading.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace {

void expectDistinct(int player, const int models[3]) {
    EXPECT_NE(models[0], player);
    EXPECT_NE(models[1], player);
    EXPECT_NE(models[2], player);
    EXPECT_NE(models[0], models[1]);
    EXPECT_NE(models[0], models[2]);
    EXPECT_NE(models[1], models[2]);
}

}  // namespace

TEST(OpponentChoice, QuickRaceAvoidsThePlayersModelAndRepeats) {
    std::set<int> seen;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::srand(seed);
        int models[3] = {-1, -1, -1};
        pickOpponentModels(5, false, 0, models);
        SCOPED_TRACE(seed);
        expectDistinct(5, models);
        for (int m : models) {
            EXPECT_GE(m, 0);
            EXPECT_LE(m, 17);
            seen.insert(m);
        }
    }
    // Every other car turns up sooner or later.
    EXPECT_EQ(seen.size(), 17u);
    EXPECT_EQ(seen.count(5), 0u);
}

TEST(OpponentChoice, CareerRaceDrawsFromTheCurrentClub) {
    for (int club = 0; club < 3; ++club) {
        std::set<int> seen;
        for (unsigned seed = 1; seed <= 200; ++seed) {
            std::srand(seed);
            int models[3] = {-1, -1, -1};
            const int player = 6 * club + 2;  // the player's own car is in the club's range
            pickOpponentModels(player, true, club, models);
            SCOPED_TRACE(seed);
            expectDistinct(player, models);
            for (int m : models) {
                EXPECT_GE(m, 6 * club);
                EXPECT_LE(m, 6 * club + 5);
                seen.insert(m);
            }
        }
        EXPECT_EQ(seen.size(), 5u) << "club " << club;
    }
}

TEST(OpponentChoice, ClubOutsideTheThreeIsKeptInRange) {
    // A career file can carry any club number; the draw must still land on a stock car.
    std::srand(7);
    int models[3] = {};
    pickOpponentModels(0, true, 9, models);
    for (int m : models) {
        EXPECT_GE(m, 12);
        EXPECT_LE(m, 17);
    }
    pickOpponentModels(0, true, -4, models);
    for (int m : models) {
        EXPECT_GE(m, 1);
        EXPECT_LE(m, 5);
    }
}

TEST(OpponentChoice, SlotsCopyThePlayerAndTheStockCars) {
    fillCarPresets(careerState);
    careerState.currentClub = 2;
    workingCar = stockCar(3);
    workingCar.carModel = 14;
    workingCar.spoiler = 5;
    workingCar.paintColor[1] = 0.25f;
    workingCar.neon = 20;
    workingCar.reservedPart = 77;

    std::srand(11);
    fillRaceCarSlots(true, false);

    const CarAppearance& player = raceCarSlots[0];
    EXPECT_EQ(player.carModel, 14);
    EXPECT_EQ(player.spoiler, 5);
    EXPECT_EQ(player.rims, workingCar.rims);
    EXPECT_EQ(player.sideVinyl, workingCar.sideVinyl);
    EXPECT_EQ(player.topVinyl, workingCar.topVinyl);
    EXPECT_FLOAT_EQ(player.paintColor[1], 0.25f);
    EXPECT_EQ(player.neon, 20);
    EXPECT_EQ(player.reservedPart, 77);

    std::set<int> models{14};
    for (int slot = 1; slot < raceCarSlotCount; ++slot) {
        const CarAppearance& car = raceCarSlots[slot];
        SCOPED_TRACE(slot);
        EXPECT_GE(car.carModel, 12);
        EXPECT_LE(car.carModel, 17);
        EXPECT_TRUE(models.insert(car.carModel).second);
        const CarConfig& preset = stockCar(car.carModel);
        EXPECT_EQ(car.roofScoop, preset.roofScoop);
        EXPECT_EQ(car.hoodScoop, preset.hoodScoop);
        EXPECT_EQ(car.spoiler, preset.spoiler);
        EXPECT_EQ(car.bodyKit, preset.bodyKit);
        EXPECT_EQ(car.optics, preset.optics);
        EXPECT_EQ(car.rims, preset.rims);
        EXPECT_EQ(car.sideVinyl, preset.sideVinyl);
        EXPECT_EQ(car.topVinyl, preset.topVinyl);
        EXPECT_FLOAT_EQ(car.paintColor[0], preset.paintColor[0]);
        EXPECT_FLOAT_EQ(car.paintColor[2], preset.paintColor[2]);
        EXPECT_EQ(car.neon, preset.neon);
    }
}

TEST(OpponentChoice, BodyModelsRepeatEverySixCars) {
    EXPECT_EQ(bodyModelOf(2), 2);
    EXPECT_EQ(bodyModelOf(8), 2);
    EXPECT_EQ(bodyModelOf(14), 2);
    EXPECT_EQ(bodyModelOf(17), 5);
    EXPECT_EQ(bodyModelOf(-1), 5);  // a damaged career file must not index outside the sets
    EXPECT_STREQ(carDirectory(8), "base/cars/2/");
}
