#include "frontend/main_menu_screens.h"

#include "app/bitmap_text.h"
#include "app/frame_timer.h"
#include "app/game_state.h"
#include "content/texture_tables.h"
#include "frontend/career_screens.h"
#include "frontend/career_state.h"
#include "frontend/options_screen.h"
#include "frontend/widgets.h"

#include <GL/gl.h>

#include <cmath>

namespace {

using B = ButtonLook;

// ---- Main menu (1) ----

void drawLogo() {
    const float a = menuLook.alpha;
    const float t = frameTiming.gameClock;
    const float s = menuLook.titleScale;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPushMatrix();
    glTranslatef(0.0f, 480.0f, 0.0f);
    glScalef(s, s, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, a);
    centredQuad(TgaTable[menuImages::logo].texture, 200.0f, 50.0f, 400.0f, 100.0f);
    // The neon layer buzzes.
    const float flicker = std::sin(4.0f * t) * std::sin(6.5f * t) * a;
    glColor4f(1.0f, 1.0f, 1.0f, flicker > 0.0f ? flicker : 0.0f);
    centredQuad(TgaTable[menuImages::logoFlicker].texture, 200.0f, 50.0f, 400.0f, 100.0f);
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void drawMainMenu() {
    drawLogo();
    BottomBand();
}

const MenuButton mainMenuButtons[] = {
    {.look = B::Icon, .slot = 0, .x = 10, .y = 50, .icon = 0, .label = "       Career",
     .click = {20, 520, 140, 580}, .action = [] { goToScreen(gameStates::careerMenu); }},
    {.look = B::Icon, .slot = 1, .x = 170, .y = 50, .icon = 1, .label = "   Quick Race",
     .click = {180, 520, 300, 580}, .action = [] {
         setUpQuickRace();
         goToScreen(gameStates::quickRace);
     }},
    {.look = B::Icon, .slot = 2, .x = 330, .y = 50, .icon = 2, .label = "   Information",
     .click = {340, 520, 460, 580}, .action = [] { goToScreen(gameStates::information); }},
    {.look = B::Icon, .slot = 3, .x = 490, .y = 50, .icon = 3, .label = "      Options",
     .click = {500, 520, 620, 580}, .action = openOptionsScreen},
    {.look = B::Icon, .slot = 4, .x = 650, .y = 50, .icon = 4, .label = "         Quit",
     .click = {660, 520, 780, 580}, .action = [] { goToScreen(gameStates::quitQuestion); }},
};

// ---- Quit question (90) ----

void drawQuitQuestion() {
    footerBar();
    printLargeText(40.0f, 40.0f + menuLook.bounce, "Do you realy want to quit?");
}

const MenuButton quitButtons[] = {
    {.look = B::Text, .slot = 0, .x = 490, .y = 50, .bounces = true, .label = "     Yes",
     .click = {500, 530, 620, 570}, .action = [] { loopFlags.quitRequested = true; }},
    {.look = B::Text, .slot = 1, .x = 650, .y = 50, .bounces = true, .label = "     No",
     .click = {660, 530, 780, 570}, .action = [] { goToScreen(gameStates::mainMenu); }},
};

// ---- Career menu (20) ----

void drawCareerMenu() {
    BottomBand();
    printLargeText(40.0f, 40.0f, "Nightrun Career");
}

const MenuButton careerMenuButtons[] = {
    {.look = B::Icon, .slot = 2, .x = 330, .y = 50, .icon = 5, .label = "    New career",
     .click = {340, 520, 460, 580}, .action = [] {
         goToScreen(gameStates::careerHub);
         resetCareer();
     }},
    {.look = B::Icon, .slot = 3, .x = 490, .y = 50, .icon = 6, .label = "Continue career",
     .click = {500, 520, 620, 580}, .action = [] { goToScreen(gameStates::careerHub); }},
    {.look = B::Icon, .slot = 4, .x = 650, .y = 50, .icon = 7, .label = "         Back",
     .click = {660, 520, 780, 580}, .action = [] { goToScreen(gameStates::mainMenu); }},
};

// ---- Information (50) ----

void drawInformation() {
    footerBar();
    centrePanel();
    textStyle = textStyles::orange;
    printLargeText(330.0f, 510.0f, "Information");
    static const struct {
        float y;
        const char* text;
    } lines[] = {
        {450, "Career race set cash prizes:"},
        {430, "1 place - $100,"},
        {410, "2 place - $50,"},
        {390, "3 place - $25."},
        {350, "To move up the career ladder and move"},
        {330, "to the next race - take prize place"},
        {310, "in previous race."},
        {270, "Participate in competitions of different"},
        {250, "racing clubs."},
        {230, "Possible the multiple participate in races"},
        {210, "with winning prizes."},
        {170, "Cash won the competition can be spent on"},
        {150, "tech tuning, body tuning, visual tuning"},
        {130, "or car change."},
    };
    for (const auto& line : lines) printText(160.0f, line.y, "%s", line.text);
    textStyle = textStyles::white;
}

const MenuButton informationButtons[] = {
    {.look = B::Text, .slot = 2, .x = 330, .y = 50, .bounces = true, .label = "    Back",
     .click = {340, 530, 460, 570}, .action = [] { goToScreen(gameStates::mainMenu); }},
};

}  // namespace

const MenuScreen mainMenuScreen{
    .id = gameStates::mainMenu, .name = "main menu", .buttons = mainMenuButtons, .drawBack = drawMainMenu};
const MenuScreen quitScreen{
    .id = gameStates::quitQuestion, .name = "quit question", .buttons = quitButtons, .drawBack = drawQuitQuestion};
const MenuScreen careerMenuScreen{
    .id = gameStates::careerMenu, .name = "career menu", .buttons = careerMenuButtons, .drawBack = drawCareerMenu};
const MenuScreen informationScreen{
    .id = gameStates::information, .name = "information", .buttons = informationButtons, .drawBack = drawInformation};
