// Which cars the three opponents drive, and what the four race-car slots copy.
#include "content/car_loading.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>

TEST(OpponentChoice, ThreeDifferentCarsOtherThanThePlayersFromTheRightRange) {
    struct Draw {
        bool career;
        int club, player, low, high;
    };
    // A quick race draws from all eighteen cars, a career race from its club's six;
    // a club number out of range (a damaged career) still lands on a stock car.
    const Draw draws[] = {{false, 0, 5, 0, 17}, {true, 0, 2, 0, 5},  {true, 1, 8, 6, 11},
                          {true, 2, 14, 12, 17}, {true, 9, 0, 12, 17}, {true, -4, 0, 0, 5}};
    for (const Draw& d : draws) {
        std::set<int> seen;
        for (unsigned seed = 1; seed <= 300; ++seed) {
            std::srand(seed);
            int m[3] = {-1, -1, -1};
            pickOpponentModels(d.player, d.career, d.club, m);
            SCOPED_TRACE(testing::Message() << "club " << d.club << " seed " << seed);
            ASSERT_TRUE(m[0] != m[1] && m[0] != m[2] && m[1] != m[2]);
            for (int model : m) {
                ASSERT_NE(model, d.player);
                ASSERT_GE(model, d.low);
                ASSERT_LE(model, d.high);
                seen.insert(model);
            }
        }
        // Every other car of the range turns up sooner or later.
        const bool playerInRange = d.player >= d.low && d.player <= d.high;
        EXPECT_EQ(int(seen.size()), d.high - d.low + 1 - (playerInRange ? 1 : 0)) << "club " << d.club;
    }
}

TEST(OpponentChoice, SlotsCopyThePlayerAndTheStockCars) {
    auto sameLooks = [](const CarAppearance& a, const CarAppearance& b) {
        return a.carModel == b.carModel && a.roofScoop == b.roofScoop && a.hoodScoop == b.hoodScoop &&
               a.spoiler == b.spoiler && a.bodyKit == b.bodyKit && a.optics == b.optics && a.rims == b.rims &&
               a.sideVinyl == b.sideVinyl && a.topVinyl == b.topVinyl && a.neon == b.neon &&
               a.reservedPart == b.reservedPart && std::memcmp(a.paintColor, b.paintColor, sizeof a.paintColor) == 0;
    };
    fillCarPresets(careerState);
    careerState.currentClub = 2;
    workingCar = stockCar(3);
    workingCar.carModel = 14;
    workingCar.spoiler = 5;
    workingCar.paintColor[1] = 0.25f;
    workingCar.reservedPart = 77;
    std::srand(11);
    fillRaceCarSlots(true, false);

    EXPECT_TRUE(sameLooks(raceCarSlots[0], appearanceOf(workingCar)));
    EXPECT_EQ(raceCarSlots[0].reservedPart, 77);
    for (int slot = 1; slot < raceCarSlotCount; ++slot) {
        const int model = raceCarSlots[slot].carModel;
        SCOPED_TRACE(slot);
        EXPECT_GE(model, 12);
        CarAppearance preset = appearanceOf(stockCar(model));
        preset.carModel = model;
        EXPECT_TRUE(sameLooks(raceCarSlots[slot], preset));
    }
}
