// Every screen the front end knows, by number.
#include "frontend/career_screens.h"
#include "frontend/carousel_shops.h"
#include "frontend/main_menu_screens.h"
#include "frontend/menu_framework.h"
#include "frontend/options_screen.h"
#include "frontend/pause_menu.h"
#include "frontend/shop_screens.h"

namespace {

const MenuScreen* const allScreens[] = {
    &mainMenuScreen,     &careerHubScreen,   &pauseScreen,     &optionsScreen,    &careerMenuScreen,
    &competitionsScreen, &visualTuningScreen, &paintingScreen,  &bodyTuningScreen, &techTuningScreen,
    &rimsScreen,         &bodyKitScreen,     &spoilerScreen,   &hoodScoopScreen,  &roofScoopScreen,
    &opticsScreen,       &topVinylsScreen,   &sideVinylsScreen, &neonScreen,      &changeCarScreen,
    &informationScreen,  &quickRaceScreen,   &loadingRaceScreen, &quitScreen,
};

}  // namespace

std::span<const MenuScreen* const> menuScreens() { return allScreens; }
