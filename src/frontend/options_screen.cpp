// The Options screen, for now its title and Back.
#include "frontend/options_screen.h"

#include "app/bitmap_text.h"
#include "app/game_state.h"
#include "app/window.h"
#include "frontend/widgets.h"

namespace {

void drawOptions() {
    centrePanel();
    footerBar();
    textStyle = textStyles::orange;
    textAlpha = menuLook.alpha;
    printLargeText(300.0f, 512.0f, "Options:");
    textStyle = textStyles::white;
}

const MenuButton optionsButtons[] = {
    {.look = ButtonLook::Text, .slot = 1, .x = 650, .y = 50, .bounces = true, .label = "    Back",
     .click = {660, 530, 780, 570}, .action = [] { goToScreen(gameStates::mainMenu); }},
};

}  // namespace

const MenuScreen optionsScreen{
    .id = gameStates::options, .name = "options", .buttons = optionsButtons, .drawBack = drawOptions};

void openOptionsScreen() {
    goToScreen(gameStates::options);
    subPage.target = subPage.shown = 0;
    resolutionChanged = false;
}
