#include "frontend/shop_screens.h"

#include "app/bitmap_text.h"
#include "app/game_state.h"
#include "app/input.h"
#include "frontend/career_state.h"
#include "frontend/carousel_shops.h"
#include "frontend/garage_scene.h"
#include "frontend/shop_prices.h"
#include "frontend/widgets.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

using B = ButtonLook;
namespace gs = gameStates;

// ---- Body Tuning (24) and Visual Tuning (22) ----
// Nothing is previewed on the pages, so their Back restores nothing.

void drawShopPage() {
    TopBand();
    footerBar();
    cashLine();
}

MenuButton pageButton(int slot, int icon, const char* label, void (*action)()) {
    const int left = 20 + 160 * slot;
    return {.look = B::Icon, .slot = slot, .x = float(10 + 160 * slot), .y = 550, .icon = icon, .label = label,
            .click = {left, 20, left + 120, 80}, .action = action};
}

const MenuButton pageBack{.look = B::Text, .slot = 5, .x = 10, .y = 50, .bounces = true, .label = "    Back",
                          .click = {20, 530, 140, 570}, .action = [] { goToScreen(gs::careerHub); }};

const MenuButton bodyTuningButtons[] = {
    pageButton(0, 13, "Body Kit", [] { openCarouselShop(gs::bodyKit); }),
    pageButton(1, 14, "Spoiler", [] { openCarouselShop(gs::spoiler); }),
    pageButton(2, 16, "Hood Scoop", [] { openCarouselShop(gs::hoodScoop); }),
    pageButton(3, 15, "Roof Scoop", [] { openCarouselShop(gs::roofScoop); }),
    pageButton(4, 17, "Optics", [] { openCarouselShop(gs::optics); }),
    pageBack,
};

const MenuButton visualTuningButtons[] = {
    pageButton(0, 18, "Painting", [] { goToScreen(gs::painting); }),
    pageButton(1, 19, "Vinyls on top", [] { openCarouselShop(gs::topVinyls); }),
    pageButton(2, 20, "Vinyls on side", [] { openCarouselShop(gs::sideVinyls); }),
    pageButton(3, 21, "Neon", [] { openCarouselShop(gs::neon); }),
    pageBack,
};

// ---- Painting (23) ----

constexpr float swatchSpacing = 14.0f;
constexpr float swatchSize = 11.0f;
constexpr float gridLeft = 20.0f;
constexpr float gridBottom = 516.0f;
// The grid's click area, y-down: the swatch under a press is picked by its
// cell, gaps included.
constexpr MenuRect gridArea{20, 14, 342, 84};

void drawColorGrid() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (int row = 0; row < colorGridRows; ++row) {
        for (int column = 0; column < colorGridColumns; ++column) {
            const PaintColor c = colorGridSwatch(column, row);
            glColor4f(c.red, c.green, c.blue, menuLook.alpha);
            const float x = gridLeft + swatchSpacing * float(column);
            const float y = gridBottom + swatchSpacing * float(row);
            glRectf(x, y, x + swatchSize, y + swatchSize);
        }
    }
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void drawPainting() {
    TopBand();
    footerBar();
    textStyle = textStyles::orange;
    textAlpha = menuLook.alpha;
    printText(20.0f, 474.0f, "Select color   Cost $%2i", shopPrices.paint);
    textStyle = textStyles::white;
    drawColorGrid();
    cashLine();
}

void pickSwatch() {
    const int column = std::clamp((menuCursor.x - gridArea.left) / int(swatchSpacing), 0, colorGridColumns - 1);
    const int row = std::clamp((gridArea.bottom - menuCursor.y) / int(swatchSpacing), 0, colorGridRows - 1);
    const PaintColor c = colorGridSwatch(column, row);
    workingCar.paintColor[0] = c.red;
    workingCar.paintColor[1] = c.green;
    workingCar.paintColor[2] = c.blue;
    paintGarageWithWorkingCar();
}

// The same price whatever the colour, the car's own included.
void buyPaint() {
    const float price = float(shopPrices.paint);
    if (!(price <= careerState.cash)) return;
    careerState.cash -= price;
    std::copy(workingCar.paintColor, workingCar.paintColor + 3, careerState.storedCar.paintColor);
    goToScreen(gs::visualTuning);
}

const MenuButton paintingButtons[] = {
    {.look = B::Hidden, .click = gridArea, .navigation = false, .action = pickSwatch},
    {.look = B::Text, .slot = 5, .x = 10, .y = 50, .bounces = true, .label = "    Back",
     .click = {20, 530, 140, 570}, .action = [] {
         goToScreen(gs::visualTuning);
         applyStoredConfig();
         paintGarageWithWorkingCar();
     }},
    {.look = B::Text, .slot = 6, .x = 650, .y = 50, .bounces = true, .label = "    Buy",
     .click = {660, 530, 780, 570}, .action = buyPaint},
};

}  // namespace

PaintColor colorGridSwatch(int column, int row) {
    const int c = std::clamp(column, 0, colorGridColumns - 1);
    const float light = 0.2f + 0.2f * float(std::clamp(row, 0, colorGridRows - 1));
    float r, g, b;
    if (c <= 2) {
        r = 1.0f, g = 0.333f * float(c), b = 0.0f;
    } else if (c <= 5) {
        r = 1.0f - 0.333f * float(c - 3), g = 1.0f, b = 0.0f;
    } else if (c <= 8) {
        r = 0.0f, g = 1.0f, b = 0.333f * float(c - 5);
    } else if (c <= 11) {
        r = 0.0f, g = 1.0f - 0.333f * float(c - 8), b = 1.0f;
    } else if (c <= 14) {
        r = 0.333f * float(c - 11), g = 0.0f, b = 1.0f;
    } else if (c <= 17) {
        r = 1.0f, g = 0.0f, b = 1.0f - 0.333f * float(c - 14);
    } else {
        const float greys[5] = {0.2f, 0.4f, 0.6f, 0.8f, 0.999f};
        r = g = b = greys[c - 18];
    }
    return {light * r, light * g, light * b};
}

const MenuScreen visualTuningScreen{.id = gs::visualTuning, .name = "visual tuning", .buttons = visualTuningButtons,
                                    .drawBack = drawShopPage, .labelX = 20.0f, .labelY = 474.0f};
const MenuScreen paintingScreen{.id = gs::painting, .name = "painting", .buttons = paintingButtons,
                                .drawBack = drawPainting};
const MenuScreen bodyTuningScreen{.id = gs::bodyTuning, .name = "body tuning", .buttons = bodyTuningButtons,
                                  .drawBack = drawShopPage, .labelX = 20.0f, .labelY = 474.0f};

void openTechTuning() { openCarouselShop(gs::techTuning); }
void openBodyTuning() { goToScreen(gs::bodyTuning); }
void openVisualTuning() { goToScreen(gs::visualTuning); }
void openRims() { openCarouselShop(gs::rims); }
void openChangeCar() { openCarouselShop(gs::changeCar); }
