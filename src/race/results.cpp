#include "race/results.h"

#include "app/bitmap_text.h"
#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/settings.h"
#include "audio/sound_device.h"
#include "content/texture_tables.h"
#include "frontend/career_state.h"
#include "frontend/garage_scene.h"
#include "frontend/menu_framework.h"
#include "race/race_flow.h"
#include "render/screen_space.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int highestRace = 10;
constexpr int panelImage = 30;   // TGA: the panel
constexpr int stripeImage = 28;  // TGA: the scrolling stripe across its top

// Fades in over two seconds once the panel is due.
float panelAlpha() { return std::clamp((phaseTimer - resultsPanelDelay) * 0.5f, 0.0f, 1.0f); }

void drawPanel() {
    const float alpha = panelAlpha();
    const float scroll = -0.04f * frameTiming.gameClock;

    beginScreenSpace();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glTranslatef(400.0f, 330.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, TgaTable[panelImage].texture);
    texturedQuad(-256.0f, -64.0f, 256.0f, 64.0f);
    glBindTexture(GL_TEXTURE_2D, TgaTable[stripeImage].texture);
    glBegin(GL_QUADS);
    glTexCoord2f(scroll, 0.0f);
    glVertex2f(-256.0f, 26.0f);
    glTexCoord2f(0.64f + scroll, 0.0f);
    glVertex2f(256.0f, 26.0f);
    glTexCoord2f(0.64f + scroll, 1.0f);
    glVertex2f(256.0f, 62.0f);
    glTexCoord2f(scroll, 1.0f);
    glVertex2f(-256.0f, 62.0f);
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    endScreenSpace();

    textStyle = textStyles::orange;
    textAlpha = alpha;
    // A Quick Race has no money line: its message sits lower, in the middle of the panel.
    printLargeText(265.0f, careerRaceActive ? 318.0f : 303.0f, "%s", placeMessage(playerPlace));
    if (careerRaceActive) {
        char line[64];
        moneyLine(playerPlace, careerState.stake, line, sizeof line);
        printText(310.0f, 288.0f, "%s", line);
    }
    textStyle = textStyles::white;
    textAlpha = 1.0f;
}

}  // namespace

float prizeFor(int32_t place, float stake) {
    switch (place) {
    case 1: return stake + 100.0f;
    case 2: return stake * 0.5f + 50.0f;
    case 3: return 25.0f;
    case 4: return -stake;
    default: return 0.0f;
    }
}

void settleCareerRace(CareerState& career, int32_t place) {
    career.cash += prizeFor(place, career.stake);
    if (place < 1 || place > 3) return;
    if (career.currentClub < 0 || career.currentClub > 2) return;
    int32_t& progress = career.clubProgress[career.currentClub];
    // Only the club's highest open race opens the next one.
    if (career.currentRace == progress && progress < highestRace) ++progress;
}

const char* placeMessage(int32_t place) {
    switch (place) {
    case 1: return "You finished FIRST!!!";
    case 2: return "You finished SECOND!";
    case 3: return "You finished FHIRD!";
    default: return "You finished FOURTH.";
    }
}

void moneyLine(int32_t place, float stake, char* out, int size) {
    if (place == 4) std::snprintf(out, size_t(size), "You lose $%2i.", int(std::floor(stake)));
    else if (place == 3) std::snprintf(out, size_t(size), "You win $25.");
    else std::snprintf(out, size_t(size), "You win $%2i.", int(std::floor(prizeFor(place, stake))));
}

void resultsFrame(float f) {
    if (phaseTimer > resultsPanelDelay && prizePending) {
        settleCareerRace(careerState, playerPlace);
        prizePending = false;
    }
    phaseTimer += 0.01f * f;
    if (phaseTimer > resultsDuration) handOverToMenus();
}

void handOverToMenus() {
    GameState = careerRaceActive ? gameStates::careerHub : gameStates::mainMenu;
    prizePending = false;
    careerRaceActive = false;
    leaveRace();
    applyStoredConfig();
    paintGarageWithWorkingCar();
    if (gameSettings.sound && soundDeviceOpen()) clickSound.play();
    resetHover();
}

void drawResults() {
    if (phaseTimer > resultsPanelDelay) drawPanel();
    resultsFrame(frameTiming.frameTicks);
}
