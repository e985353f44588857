#include "frontend/career_screens.h"

#include "app/bitmap_text.h"
#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "content/texture_tables.h"
#include "frontend/career_state.h"
#include "frontend/garage_scene.h"
#include "frontend/shop_screens.h"
#include "frontend/widgets.h"
#include "race/ai_path.h"
#include "race/race_flow.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

SelectionView selectionView;

namespace {

using B = ButtonLook;

constexpr int clubCount = 3;
constexpr int racesPerClub = 10;
constexpr float stakeStep = 50.0f;
constexpr float maxStake = 300.0f;
constexpr int quickRaceTracks = 10;

// The first draw after entering a selection screen shows the track its entry
// already previewed, without loading it again.
bool competitionsEntered = false;
bool quickRaceEntered = false;

// A damaged career file may hold any club or progress: keep them to the tables.
int club() { return std::clamp(careerState.currentClub, 0, clubCount - 1); }
int progressOf(int c) { return std::clamp(careerState.clubProgress[c], 1, racesPerClub); }

void drawCurtainWhileLoading() {
    if (GameState != gameStates::loadingRace) return;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f - menuLook.alpha);
    fullScreenImage(TgaTable[menuImages::curtain].texture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

// ---- Career hub (2) ----

void drawHub() {
    carRatingBars(workingCar);
    TopBand();
    footerBar();
    cashLine();
}

const MenuButton hubButtons[] = {
    {.look = B::Icon, .slot = 0, .x = 10, .y = 550, .icon = 8, .label = "Tech Tuning",
     .click = {20, 20, 140, 80}, .action = openTechTuning},
    {.look = B::Icon, .slot = 1, .x = 170, .y = 550, .icon = 9, .label = "Body Tuning",
     .click = {180, 20, 300, 80}, .action = openBodyTuning},
    {.look = B::Icon, .slot = 2, .x = 330, .y = 550, .icon = 10, .label = "Visual Tuning",
     .click = {340, 20, 460, 80}, .action = openVisualTuning},
    {.look = B::Icon, .slot = 3, .x = 490, .y = 550, .icon = 12, .label = "Rims",
     .click = {500, 20, 620, 80}, .action = openRims},
    {.look = B::Icon, .slot = 4, .x = 650, .y = 550, .icon = 11, .label = "Change Car",
     .click = {660, 20, 780, 80}, .action = openChangeCar},
    {.look = B::Text, .slot = 5, .x = 10, .y = 50, .bounces = true, .label = "    Back",
     .click = {20, 530, 140, 570}, .action = [] { goToScreen(gameStates::mainMenu); }},
    {.look = B::Text, .slot = 6, .x = 650, .y = 50, .bounces = true, .label = "    Race",
     .click = {660, 530, 780, 570}, .action = openCompetitions},
};

// ---- Competitions (21) ----

const char* const clubNames[clubCount] = {"     NIGHT WIND Club", "  MIDNIGHT RACERS Club", "     CRAZY DRIVE Club"};

int chosenClubSlot() { return subPage.target + 2; }

void chooseClub(int c) {
    subPage.target = c;
    careerState.currentClub = c;
    careerState.currentRace = progressOf(c);
    detailItem.target = careerTrack();
}

void stepRace(int direction) {
    const int highest = progressOf(club());
    careerState.currentRace = std::clamp(careerState.currentRace + direction, 1, highest);
    detailItem.target = careerTrack();
}

// While both the club and the race have settled, the map follows the chosen race.
void followPreview(bool& entered, int& previewed, int wanted) {
    if (entered) {
        entered = false;
        previewed = wanted;
    } else if (subPage.settled() && detailItem.settled() && previewed != wanted) {
        previewed = wanted;
        loadAiPath(previewed);
    }
}

void drawCompetitions() {
    centrePanel();
    textAlpha = menuLook.alpha;
    textStyle = textStyles::orange;
    printLargeText(335.0f, 527.0f, "Competitions:");
    // The hovered club's name, else the chosen one's.
    int named = subPage.target;
    for (int c = 0; c < clubCount; ++c) {
        if (c != subPage.target && hoverFlags[c + 2]) named = c;
    }
    printLargeText(250.0f, 502.0f, "%s", clubNames[std::clamp(named, 0, clubCount - 1)]);
    const float progressX[clubCount] = {230.0f, 390.0f, 550.0f};
    for (int c = 0; c < clubCount; ++c) printText(progressX[c], 410.0f, "%2i/10", careerState.clubProgress[c]);

    textAlpha = menuLook.alpha * menuLook.subPageAlpha;
    if (subPage.settled()) selectionView.shownRace = careerState.currentRace;
    printLargeText(333.0f, 350.0f, "  Race %2i", selectionView.shownRace);
    printText(335.0f, 150.0f, "Stake: $%2i", wholeDollars(careerState.stake));
    printText(190.0f, 120.0f, "You can increase the amount of prize money");
    printText(190.0f, 100.0f, "        staking on your victory.");
    textStyle = textStyles::white;
    textAlpha = menuLook.alpha;

    followPreview(competitionsEntered, selectionView.previewedTrack, careerTrack());
    footerBar();
    TrackMap(selectionView.previewedTrack, 400.0f + 140.0f * menuLook.detailSlide, 255.0f);
    cashLine();
}

const MenuButton competitionsButtons[] = {
    {.look = B::Text, .slot = 0, .x = 10, .y = 50, .bounces = true, .label = "    Back",
     .click = {10, 530, 158, 570}, .hover = {20, 530, 140, 570},
     .action = [] { goToScreen(gameStates::careerHub); }},
    {.look = B::Text, .slot = 1, .x = 650, .y = 50, .bounces = true, .label = "    Start",
     .click = {642, 530, 790, 570}, .hover = {660, 530, 780, 570}, .action = [] {
         goToScreen(gameStates::loadingRace);
         prizePending = true;
     }},
    {.look = B::Icon, .slot = 2, .x = 170, .y = 460, .icon = 23, .click = {180, 110, 300, 170},
     .action = [] { chooseClub(0); }},
    {.look = B::Icon, .slot = 3, .x = 330, .y = 460, .icon = 24, .click = {340, 110, 460, 170},
     .action = [] { chooseClub(1); }},
    {.look = B::Icon, .slot = 4, .x = 490, .y = 460, .icon = 25, .click = {500, 110, 620, 170},
     .action = [] { chooseClub(2); }},
    {.look = B::ValueArrow, .slot = 5, .x = 290, .y = 350, .click = {300, 220, 335, 260},
     .sound = ButtonSound::Hover, .navigation = false, .action = [] { stepRace(-1); }},
    {.look = B::ValueArrow, .slot = 6, .x = 450, .y = 350, .mirrored = true, .click = {460, 220, 495, 260},
     .sound = ButtonSound::Hover, .navigation = false, .action = [] { stepRace(+1); }},
    {.look = B::ValueArrow, .slot = 7, .x = 290, .y = 150, .click = {300, 420, 335, 460},
     .sound = ButtonSound::Hover, .navigation = false, .action = [] {
         if (careerState.stake >= stakeStep) careerState.stake -= stakeStep;
     }},
    {.look = B::ValueArrow, .slot = 8, .x = 450, .y = 150, .mirrored = true, .click = {460, 420, 495, 460},
     .sound = ButtonSound::Hover, .navigation = false, .action = [] {
         // Never more than the cash, never above the limit.
         if (careerState.cash - stakeStep - careerState.stake >= 0.0f && careerState.stake < maxStake)
             careerState.stake += stakeStep;
     }},
};

// ---- Quick Race (61) ----

int drawQuickTrack() { return std::rand() % quickRaceTracks + 1; }
int drawQuickCar() { return std::rand() % carPresetCount; }

void putQuickCarInGarage() {
    loadPresetConfig(quickRaceCar);
    paintGarageWithWorkingCar();
}

void drawQuickRace() {
    rightPanel();
    thinStripAt(495.0f);
    if (subPage.settled()) selectionView.shownQuickTrack = quickRaceTrack;
    textAlpha = menuLook.alpha;
    textStyle = textStyles::orange;
    printLargeText(597.0f, 350.0f, "  Race %2i", selectionView.shownQuickTrack);
    textStyle = textStyles::white;
    followPreview(quickRaceEntered, selectionView.previewedQuickTrack, quickRaceTrack);
    footerBar();
    printText(0.0f, 490.0f, "Quick Race: random car and track");
    TrackMap(selectionView.previewedQuickTrack, 667.0f + 140.0f * menuLook.detailSlide, 455.0f);
}

const MenuButton quickRaceButtons[] = {
    {.look = B::Text, .slot = 0, .x = 10, .y = 50, .bounces = true, .label = "    Back",
     .click = {10, 530, 158, 570}, .hover = {20, 530, 140, 570}, .action = [] {
         goToScreen(gameStates::mainMenu);
         applyStoredConfig();
         paintGarageWithWorkingCar();
     }},
    {.look = B::Text, .slot = 1, .x = 650, .y = 50, .bounces = true, .label = "    Start",
     .click = {662, 530, 790, 570}, .hover = {660, 530, 780, 570}, .action = [] {
         goToScreen(gameStates::loadingRace);
         prizePending = false;
     }},
    {.look = B::Text, .slot = 2, .x = 522, .y = 50, .bounces = true, .label = "   Change",
     .click = {532, 530, 652, 570}, .action = [] {
         // Always another track and another car.
         const int previousTrack = quickRaceTrack;
         do quickRaceTrack = drawQuickTrack();
         while (quickRaceTrack == previousTrack);
         detailItem.target = quickRaceTrack;
         const int previousCar = quickRaceCar;
         do quickRaceCar = drawQuickCar();
         while (quickRaceCar == previousCar);
         putQuickCarInGarage();
     }},
};

// ---- Loading transition (88) ----

void drawLoadingTransition() {
    const float scale = 1.0f + 0.25f * std::sin(menuLook.alpha * 3.1416f);
    // Once the picture is fully up the race is loaded; the liveries are painted
    // in the frame buffer, so the picture is drawn over them afterwards.
    if (screenFade >= 0.99f) startChosenRace();
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    centredQuad(BmpTable[menuImages::loading], 400.0f, 300.0f, 800.0f * scale, 600.0f * scale);
    textAlpha = 1.0f;
    printText(680.0f, 10.0f, "Loading...");
    textAlpha = menuLook.alpha;
}

void raceCouldNotStart(bool careerRace) {
    prizePending = false;
    careerRaceActive = false;
    const int32_t origin = careerRace ? gameStates::competitions : gameStates::quickRace;
    GameState = shownScreen = origin;
    screenFade = 0.0f;
    if (gameSettings.music) loopFlags.menuMusicPending = true;
    showMenuNotice("This circuit could not be loaded: its files are damaged.");
}

}  // namespace

void setUpQuickRace() {
    quickRaceTrack = drawQuickTrack();
    loadAiPath(quickRaceTrack);
    quickRaceEntered = true;
    quickRaceCar = drawQuickCar();
    putQuickCarInGarage();
}

void openCompetitions() {
    goToScreen(gameStates::competitions);
    careerState.currentClub = club();
    careerState.currentRace = progressOf(club());
    detailItem.target = careerTrack();
    subPage.target = subPage.shown = club();
    loadAiPath(careerTrack());
    competitionsEntered = true;
    careerState.stake = 0.0f;
}

bool beginRace(int track, bool careerRace) {
    TrackLoadOptions options;
    options.careerRace = careerRace;
    if (startRace(track, options)) return true;
    raceCouldNotStart(careerRace);
    return false;
}

void startChosenRace() {
    GameState = shownScreen = gameStates::racing;
    mouseState.clickPending = false;
    if (prizePending) {
        careerRaceActive = true;
        beginRace(careerTrack(), true);
    } else {
        careerRaceActive = false;
        prizePending = false;
        beginRace(quickRaceTrack, false);
    }
}

const MenuScreen careerHubScreen{.id = gameStates::careerHub, .name = "career hub", .buttons = hubButtons,
                                 .drawBack = drawHub, .labelX = 20.0f, .labelY = 474.0f};
const MenuScreen competitionsScreen{.id = gameStates::competitions, .name = "competitions",
                                    .buttons = competitionsButtons, .drawBack = drawCompetitions,
                                    .drawFront = drawCurtainWhileLoading, .litSlot = chosenClubSlot};
const MenuScreen quickRaceScreen{.id = gameStates::quickRace, .name = "quick race", .buttons = quickRaceButtons,
                                 .drawBack = drawQuickRace, .drawFront = drawCurtainWhileLoading};
const MenuScreen loadingRaceScreen{.id = gameStates::loadingRace, .name = "loading a race",
                                   .drawFront = drawLoadingTransition};
