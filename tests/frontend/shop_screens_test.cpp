// The tuning shop driven by clicks: what each purchase costs and stores, what
// Back throws away, and what another car resets.
#include "menu_run.h"

#include "frontend/shop_screens.h"
#include "frontend/widgets.h"

namespace {

// The hub's shop buttons and the shops' own, in the menu space.
constexpr int shopY = 50;
constexpr int techX = 80, bodyX = 240, visualX = 400, rimsX = 560, changeCarX = 720;
constexpr int leftArrowX = 80, rightArrowX = 720, arrowY = 50;
constexpr int buyX = 720;

class ShopRun : public MenuRun {
protected:
    void steps(int x, int n) {
        for (int i = 0; i < n; ++i) click(x, arrowY);
    }
    // The stored car's model is careerState.ownedCar.
    void expectSameLooks(const CarConfig& a, const CarConfig& b) {
        EXPECT_EQ(workingCar.carModel, careerState.ownedCar);
        EXPECT_EQ(a.rims, b.rims);
        EXPECT_EQ(a.topVinyl, b.topVinyl);
        EXPECT_EQ(a.sideVinyl, b.sideVinyl);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(a.paintColor[i], b.paintColor[i]);
    }
};

}  // namespace

TEST_F(ShopRun, TechPacketsCostTheirPriceOnlyWhenTheCashCoversIt) {
    openHubOfANewCareer();
    const float speedBefore = effectiveSpeedRating(workingCar);
    clickAndSettle(techX, shopY);
    ASSERT_EQ(GameState, gameStates::techTuning);
    steps(rightArrowX, 6);  // stops at packet 5
    EXPECT_EQ(carousel.selected, 4);
    EXPECT_EQ(workingCar.techPacket, 4);
    const int clicks = menuSoundCounts.clicks;
    click(buyX, at::bottomRowY);  // $800: too dear, only the click
    EXPECT_EQ(menuSoundCounts.clicks, clicks + 1);
    EXPECT_EQ(GameState, gameStates::techTuning);
    EXPECT_EQ(careerState.cash, 500.0f);

    steps(leftArrowX, 3);  // packet 2, $300
    clickAndSettle(buyX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::careerHub);
    EXPECT_EQ(careerState.cash, 200.0f);
    EXPECT_EQ(careerState.storedCar.techPacket, 1);
    EXPECT_FLOAT_EQ(effectiveSpeedRating(workingCar), speedBefore + 0.05f);

    // A price equal to the cash is paid, leaving nothing; a lower packet costs in full.
    careerState.cash = 250.0f;
    clickAndSettle(techX, shopY);
    EXPECT_EQ(carousel.selected, 1);
    steps(leftArrowX, 2);
    EXPECT_EQ(carousel.selected, 0);
    clickAndSettle(buyX, at::bottomRowY);
    EXPECT_EQ(careerState.cash, 0.0f);
    EXPECT_EQ(careerState.storedCar.techPacket, 0);
}

TEST_F(ShopRun, PartsArePreviewedOnTheWorkingCarAndBackRestoresTheStoredOnes) {
    openHubOfANewCareer();
    const CarConfig stored = careerState.storedCar;
    ASSERT_NE(stored.rims, 7);
    clickAndSettle(rimsX, shopY);
    ASSERT_EQ(GameState, gameStates::rims);
    steps(rightArrowX, 9);
    EXPECT_EQ(workingCar.rims, 7);
    clickAndSettle(leftArrowX, at::bottomRowY);  // Back
    EXPECT_EQ(GameState, gameStates::careerHub);
    EXPECT_EQ(workingCar.rims, stored.rims);
    EXPECT_EQ(careerState.cash, 500.0f);

    // Spoiler 0 is "none" and free.
    clickAndSettle(bodyX, shopY);
    ASSERT_EQ(GameState, gameStates::bodyTuning);
    clickAndSettle(240, shopY);
    ASSERT_EQ(GameState, gameStates::spoiler);
    steps(leftArrowX, 6);
    EXPECT_EQ(workingCar.spoiler, 0);
    clickAndSettle(buyX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::bodyTuning);
    EXPECT_EQ(careerState.cash, 500.0f);
    EXPECT_EQ(careerState.storedCar.spoiler, 0);
    EXPECT_EQ(workingCar.spoiler, 0);

    // Optics 4 bought for $300; the page's own Back keeps it.
    clickAndSettle(720, shopY);
    ASSERT_EQ(GameState, gameStates::optics);
    steps(rightArrowX, 4);
    clickAndSettle(buyX, at::bottomRowY);
    EXPECT_EQ(careerState.cash, 200.0f);
    EXPECT_EQ(careerState.storedCar.optics, 3);
    clickAndSettle(leftArrowX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::careerHub);
    EXPECT_EQ(workingCar.optics, 3);

    // A vinyl previewed, then Back: the stored livery again.
    clickAndSettle(visualX, shopY);
    clickAndSettle(240, shopY);
    ASSERT_EQ(GameState, gameStates::topVinyls);
    steps(rightArrowX, 2);
    EXPECT_EQ(workingCar.topVinyl, std::min(20, stored.topVinyl + 2));
    clickAndSettle(leftArrowX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::visualTuning);
    expectSameLooks(workingCar, careerState.storedCar);
}

TEST_F(ShopRun, PaintingChargesOneColourPriceAndBackRestoresThePaint) {
    openHubOfANewCareer();
    const CarConfig stored = careerState.storedCar;
    clickAndSettle(visualX, shopY);
    clickAndSettle(80, shopY);
    ASSERT_EQ(GameState, gameStates::painting);
    // Column 12, row 2 of the grid: a blue at 60 % brightness.
    click(195, 50);
    const PaintColor blue = colorGridSwatch(12, 2);
    EXPECT_FLOAT_EQ(workingCar.paintColor[0], blue.red);
    EXPECT_FLOAT_EQ(workingCar.paintColor[1], blue.green);
    EXPECT_FLOAT_EQ(workingCar.paintColor[2], blue.blue);
    clickAndSettle(leftArrowX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::visualTuning);
    expectSameLooks(workingCar, stored);

    clickAndSettle(80, shopY);
    click(21, 83);  // the darkest red, lower left
    careerState.cash = 100.0f;
    clickAndSettle(buyX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::visualTuning);
    EXPECT_EQ(careerState.cash, 0.0f);
    EXPECT_FLOAT_EQ(careerState.storedCar.paintColor[0], 0.2f);
    EXPECT_EQ(careerState.storedCar.paintColor[1], 0.0f);
    // With no money left the same colour is not sold again.
    clickAndSettle(80, shopY);
    click(195, 50);
    click(buyX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::painting);
    EXPECT_FLOAT_EQ(careerState.storedCar.paintColor[0], 0.2f);
}

TEST_F(ShopRun, AnotherCarComesStockAndBackRestoresTheOwnCar) {
    openHubOfANewCareer();
    careerState.storedCar.topVinyl = 5;
    careerState.storedCar.sideVinyl = 6;
    careerState.storedCar.neon = 3;
    careerState.storedCar.techPacket = 2;
    applyStoredConfig();
    const CarConfig stored = careerState.storedCar;
    const int owned = careerState.ownedCar;
    ASSERT_EQ(owned, 4);

    // Entering shows the car as the dealer sells it; Back gives the tuned one back.
    clickAndSettle(changeCarX, shopY);
    ASSERT_EQ(GameState, gameStates::changeCar);
    EXPECT_EQ(carousel.selected, owned);
    EXPECT_EQ(workingCar.topVinyl, 0);
    EXPECT_EQ(workingCar.sideVinyl, 0);
    EXPECT_EQ(workingCar.paintColor[0], careerState.CarPreset[owned].paintColor[0]);
    clickAndSettle(leftArrowX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::careerHub);
    expectSameLooks(workingCar, stored);
    EXPECT_EQ(workingCar.neon, 3);

    // Car 3 for $350: stock parts and paint, no vinyls, neon or packet.
    clickAndSettle(changeCarX, shopY);
    steps(leftArrowX, 1);
    EXPECT_EQ(workingCar.carModel, 3);
    clickAndSettle(buyX, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::careerHub);
    EXPECT_EQ(careerState.cash, 150.0f);
    EXPECT_EQ(careerState.ownedCar, 3);
    const CarConfig& stock = careerState.CarPreset[3];
    const CarConfig& car = careerState.storedCar;
    EXPECT_EQ(car.topVinyl, 0);
    EXPECT_EQ(car.sideVinyl, 0);
    EXPECT_EQ(car.neon, 0);
    EXPECT_EQ(car.techPacket, 0);
    for (int32_t CarConfig::*part : {&CarConfig::roofScoop, &CarConfig::hoodScoop, &CarConfig::spoiler,
                                     &CarConfig::bodyKit, &CarConfig::optics, &CarConfig::rims})
        EXPECT_EQ(car.*part, stock.*part);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(car.paintColor[i], stock.paintColor[i]);
    EXPECT_EQ(car.speedRating, stock.speedRating);
    expectSameLooks(workingCar, car);
}
