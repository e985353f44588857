#include "frontend/carousel_shops.h"

#include "app/bitmap_text.h"
#include "app/game_state.h"
#include "frontend/career_state.h"
#include "frontend/garage_scene.h"
#include "frontend/shop_prices.h"
#include "frontend/widgets.h"

#include <algorithm>

namespace {

using B = ButtonLook;

// What an arrow step does besides putting the item on the working car.
enum class StepEffect : uint8_t {
    None,      // the garage draws the part straight from the working car
    Livery,    // vinyls are painted into the car's texture
    StockCar,  // another car, as the dealer sells it
};

struct CarouselShop {
    int32_t screen;
    const char* title;     // with the item number, at (20, 474)
    const char* costLine;  // with the price; its spaces place it after the title
    int32_t CarConfig::*field;
    int icon;              // atlas cell of the carousel's items
    int numberBase;        // the number shown for item 0
    int32_t parent;        // where Back and Buy go
    std::span<const int32_t> prices;
    StepEffect step = StepEffect::None;
    bool ratingBars = false;  // the bars preview what the item does to the car
};

namespace gs = gameStates;

const CarouselShop shops[] = {
    {gs::techTuning, "Packet %2i", "                 Cost $%2i", &CarConfig::techPacket, 3, 1, gs::careerHub,
     shopPrices.packets, StepEffect::None, true},
    {gs::rims, "Rim %2i", "          Cost $%2i", &CarConfig::rims, 12, 1, gs::careerHub, shopPrices.rims},
    {gs::changeCar, "Car %2i", "                Cost $%2i", &CarConfig::carModel, 11, 1, gs::careerHub,
     shopPrices.cars, StepEffect::StockCar, true},
    {gs::bodyKit, "Body Kit %2i", "              Cost $%2i", &CarConfig::bodyKit, 13, 1, gs::bodyTuning,
     shopPrices.bodyKits},
    {gs::spoiler, "Spoiler %2i", "               Cost $%2i", &CarConfig::spoiler, 14, 0, gs::bodyTuning,
     shopPrices.spoilers},
    {gs::hoodScoop, "Hood Scoop %2i", "                       Cost $%2i", &CarConfig::hoodScoop, 16, 0,
     gs::bodyTuning, shopPrices.hoodScoops},
    {gs::roofScoop, "Roof Scoop %2i", "                       Cost $%2i", &CarConfig::roofScoop, 15, 0,
     gs::bodyTuning, shopPrices.roofScoops},
    {gs::optics, "Optics %2i", "                  Cost $%2i", &CarConfig::optics, 17, 1, gs::bodyTuning,
     shopPrices.optics},
    {gs::topVinyls, "Vinyls on top %2i", "                     Cost $%2i", &CarConfig::topVinyl, 19, 0,
     gs::visualTuning, shopPrices.topVinyls, StepEffect::Livery},
    {gs::sideVinyls, "Vinyls on side %2i", "                     Cost $%2i", &CarConfig::sideVinyl, 20, 0,
     gs::visualTuning, shopPrices.sideVinyls, StepEffect::Livery},
    {gs::neon, "Neon %2i", "              Cost $%2i", &CarConfig::neon, 21, 0, gs::visualTuning, shopPrices.neon},
};

const CarouselShop* shopOn(int32_t screen) {
    for (const CarouselShop& shop : shops)
        if (shop.screen == screen) return &shop;
    return nullptr;
}

int itemCount(const CarouselShop& shop) { return int(shop.prices.size()); }
int chosenItem(const CarouselShop& shop) { return std::clamp(carousel.selected, 0, itemCount(shop) - 1); }

// Car k as the dealer sells it: its stock parts, paint and ratings, and none
// of the tuning bought for the car before.
void showStockCar(int k) {
    const CarConfig& stock = careerState.CarPreset[k];
    CarConfig& car = workingCar;
    car.carModel = k;
    car.roofScoop = stock.roofScoop;
    car.hoodScoop = stock.hoodScoop;
    car.spoiler = stock.spoiler;
    car.bodyKit = stock.bodyKit;
    car.optics = stock.optics;
    car.rims = stock.rims;
    car.topVinyl = car.sideVinyl = 0;
    std::copy(stock.paintColor, stock.paintColor + 3, car.paintColor);
    car.neon = 0;
    car.speedRating = stock.speedRating;
    car.accelRating = stock.accelRating;
    car.handlingRating = stock.handlingRating;
    car.techPacket = 0;
    paintGarageWithWorkingCar();
}

void stepItem(int direction) {
    const CarouselShop* shop = shopOn(GameState);
    if (!shop || !stepCarousel(direction, itemCount(*shop))) return;
    workingCar.*(shop->field) = carousel.selected;
    if (shop->step == StepEffect::Livery) paintGarageWithWorkingCar();
    else if (shop->step == StepEffect::StockCar) showStockCar(carousel.selected);
}

// Too little money: nothing happens, the shop stays open.
void buyItem() {
    const CarouselShop* shop = shopOn(GameState);
    if (!shop) return;
    const int item = chosenItem(*shop);
    const float price = float(shop->prices[size_t(item)]);
    if (!(price <= careerState.cash)) return;
    careerState.cash -= price;
    if (shop->step == StepEffect::StockCar) {
        // The whole working car, stock parts and all, becomes the player's car.
        careerState.ownedCar = item;
        storeConfig();
    } else {
        workingCar.*(shop->field) = item;
        careerState.storedCar.*(shop->field) = item;
    }
    goToScreen(shop->parent);
}

void leaveShop() {
    const CarouselShop* shop = shopOn(GameState);
    if (!shop) return;
    goToScreen(shop->parent);
    applyStoredConfig();
    if (shop->step != StepEffect::None) paintGarageWithWorkingCar();
}

void drawCarouselShop() {
    const CarouselShop* shop = shopOn(shownScreen);
    if (!shop) return;
    TopBand();
    footerBar();
    if (shop->ratingBars) carRatingBars(workingCar);
    ItemCarousel(shop->icon, itemCount(*shop), shop->numberBase);
    const int item = chosenItem(*shop);
    textStyle = textStyles::orange;
    textAlpha = menuLook.alpha;
    printText(20.0f, 474.0f, shop->title, item + shop->numberBase);
    printText(20.0f, 474.0f, shop->costLine, shop->prices[size_t(item)]);
    textStyle = textStyles::white;
    cashLine();
}

const MenuButton carouselShopButtons[] = {
    {.look = B::CarouselArrow, .slot = 0, .x = 10, .y = 550, .click = {50, 20, 110, 80}, .navigation = false,
     .action = [] { stepItem(-1); }},
    {.look = B::CarouselArrow, .slot = 1, .x = 650, .y = 550, .mirrored = true, .click = {690, 20, 750, 80},
     .navigation = false, .action = [] { stepItem(+1); }},
    {.look = B::Text, .slot = 2, .x = 10, .y = 50, .bounces = true, .label = "    Back",
     .click = {20, 530, 140, 570}, .action = leaveShop},
    {.look = B::Text, .slot = 3, .x = 650, .y = 50, .bounces = true, .label = "    Buy",
     .click = {660, 530, 780, 570}, .action = buyItem},
};

constexpr MenuScreen carouselShopScreen(int32_t id, const char* name) {
    return MenuScreen{.id = id, .name = name, .buttons = carouselShopButtons, .drawBack = drawCarouselShop};
}

}  // namespace

const MenuScreen techTuningScreen = carouselShopScreen(gs::techTuning, "tech tuning");
const MenuScreen rimsScreen = carouselShopScreen(gs::rims, "rims");
const MenuScreen bodyKitScreen = carouselShopScreen(gs::bodyKit, "body kit");
const MenuScreen spoilerScreen = carouselShopScreen(gs::spoiler, "spoiler");
const MenuScreen hoodScoopScreen = carouselShopScreen(gs::hoodScoop, "hood scoop");
const MenuScreen roofScoopScreen = carouselShopScreen(gs::roofScoop, "roof scoop");
const MenuScreen opticsScreen = carouselShopScreen(gs::optics, "optics");
const MenuScreen topVinylsScreen = carouselShopScreen(gs::topVinyls, "vinyls on top");
const MenuScreen sideVinylsScreen = carouselShopScreen(gs::sideVinyls, "vinyls on side");
const MenuScreen neonScreen = carouselShopScreen(gs::neon, "neon");
const MenuScreen changeCarScreen = carouselShopScreen(gs::changeCar, "change car");

void openCarouselShop(int32_t screen) {
    const CarouselShop* shop = shopOn(screen);
    if (!shop) return;
    goToScreen(screen);
    carousel.selected = std::clamp(workingCar.*(shop->field), 0, itemCount(*shop) - 1);
    carousel.offset = 0.0f;
    if (shop->step == StepEffect::StockCar) showStockCar(carousel.selected);
}

std::span<const int32_t> carouselShopPrices(int32_t screen) {
    const CarouselShop* shop = shopOn(screen);
    return shop ? shop->prices : std::span<const int32_t>{};
}
