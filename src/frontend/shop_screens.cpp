// The shop pages, each for now a titled page with Back to the hub.
#include "frontend/shop_screens.h"

#include "app/bitmap_text.h"
#include "app/game_state.h"
#include "frontend/widgets.h"

namespace {

constexpr int32_t visualTuning = 22;
constexpr int32_t bodyTuning = 24;
constexpr int32_t techTuning = 25;
constexpr int32_t rims = 26;
constexpr int32_t changeCar = 36;

void drawShopPage(const char* title) {
    TopBand();
    footerBar();
    textStyle = textStyles::orange;
    textAlpha = menuLook.alpha;
    printLargeText(20.0f, 474.0f, "%s", title);
    textStyle = textStyles::white;
    cashLine();
}

const MenuButton shopPageButtons[] = {
    {.look = ButtonLook::Text, .slot = 5, .x = 10, .y = 50, .bounces = true, .label = "    Back",
     .click = {20, 530, 140, 570}, .action = [] { goToScreen(gameStates::careerHub); }},
};

}  // namespace

const MenuScreen visualTuningScreen{.id = visualTuning, .name = "visual tuning", .buttons = shopPageButtons,
                                    .drawBack = [] { drawShopPage("Visual Tuning"); }};
const MenuScreen bodyTuningScreen{.id = bodyTuning, .name = "body tuning", .buttons = shopPageButtons,
                                  .drawBack = [] { drawShopPage("Body Tuning"); }};
const MenuScreen techTuningScreen{.id = techTuning, .name = "tech tuning", .buttons = shopPageButtons,
                                  .drawBack = [] { drawShopPage("Tech Tuning"); }};
const MenuScreen rimsScreen{.id = rims, .name = "rims", .buttons = shopPageButtons,
                            .drawBack = [] { drawShopPage("Rims"); }};
const MenuScreen changeCarScreen{.id = changeCar, .name = "change car", .buttons = shopPageButtons,
                                 .drawBack = [] { drawShopPage("Change Car"); }};

void openTechTuning() { goToScreen(techTuning); }
void openBodyTuning() { goToScreen(bodyTuning); }
void openVisualTuning() { goToScreen(visualTuning); }
void openRims() { goToScreen(rims); }
void openChangeCar() { goToScreen(changeCar); }
