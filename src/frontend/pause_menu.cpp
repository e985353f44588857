#include "frontend/pause_menu.h"

#include "app/bitmap_text.h"
#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "audio/music_stream.h"
#include "frontend/career_screens.h"
#include "frontend/career_state.h"
#include "frontend/garage_scene.h"
#include "frontend/widgets.h"
#include "platform/platform.h"
#include "race/race_flow.h"
#include "render/screen_space.h"

#include <GL/gl.h>

#include <cmath>

namespace {

GLuint frozenFrame = 0;
int frozenWidth = 0;
int frozenHeight = 0;

// The frozen race, softly blurred: the picture drawn a few times around its place.
void drawFrozenRace() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glDisable(GL_TEXTURE_2D);
    glRecti(0, 0, 800, 600);
    if (frozenFrame == 0) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, frozenFrame);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    constexpr int ring = 6;
    constexpr float radii[2] = {2.5f, 6.0f};
    constexpr float weight = 1.0f / float(1 + 2 * ring);
    glColor4f(weight, weight, weight, 1.0f);
    texturedQuad(0.0f, 0.0f, 800.0f, 600.0f);
    for (float r : radii) {
        for (int k = 0; k < ring; ++k) {
            const float angle = (float(k) + (r > 3.0f ? 0.5f : 0.0f)) * 6.2831853f / float(ring);
            const float dx = r * std::cos(angle), dy = r * std::sin(angle);
            texturedQuad(dx, dy, 800.0f + dx, 600.0f + dy);
        }
    }
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void drawPause() {
    drawFrozenRace();
    footerBar();
    textAlpha = menuLook.alpha;
    printLargeText(140.0f, 40.0f + menuLook.bounce, "Pause");
}

// The race takes the screen at once: when the menus come back they fade in
// from the race, not from a stale pause screen.
void resumeRacing() {
    goToScreen(gameStates::racing);
    shownScreen = gameStates::racing;
}

void continueRace() {
    resumeRacing();
    if (gameSettings.music) startRaceMusic();
    loopFlags.musicFade = -1.5f;
}

void restartRace() {
    resumeRacing();
    leaveRace();
    // A career race keeps its flags, so the restarted race still settles its prize once.
    if (!careerRaceActive) {
        prizePending = false;
        careerRaceActive = false;
        beginRace(quickRaceTrack, false);
    } else {
        beginRace(careerTrack(), true);
    }
}

void exitRace() {
    goToScreen(careerRaceActive ? gameStates::careerHub : gameStates::mainMenu);
    prizePending = false;
    careerRaceActive = false;
    leaveRace();
    applyStoredConfig();
    paintGarageWithWorkingCar();
}

const MenuButton pauseButtons[] = {
    {.look = ButtonLook::Text, .slot = 2, .x = 330, .y = 50, .bounces = true, .label = "  Continue",
     .click = {340, 530, 460, 570}, .sound = ButtonSound::None, .action = continueRace},
    {.look = ButtonLook::Text, .slot = 3, .x = 490, .y = 50, .bounces = true, .label = "   Restart",
     .click = {500, 530, 620, 570}, .action = restartRace},
    {.look = ButtonLook::Text, .slot = 4, .x = 650, .y = 50, .bounces = true, .label = "    Exit",
     .click = {660, 530, 780, 570}, .action = exitRace},
};

}  // namespace

const MenuScreen pauseScreen{.id = gameStates::pause, .name = "pause", .buttons = pauseButtons,
                             .drawBack = drawPause, .showGarage = false};

void freezeRaceFrame() {
    if (!platform::hasGlContext()) return;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = viewport[2], height = viewport[3];
    if (width <= 0 || height <= 0) return;
    if (frozenFrame == 0 || width != frozenWidth || height != frozenHeight) {
        releaseFrozenFrame();
        glGenTextures(1, &frozenFrame);
        glBindTexture(GL_TEXTURE_2D, frozenFrame);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        frozenWidth = width;
        frozenHeight = height;
    }
    glBindTexture(GL_TEXTURE_2D, frozenFrame);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, viewport[0], viewport[1], width, height);
}

void releaseFrozenFrame() {
    if (frozenFrame != 0 && platform::hasGlContext()) glDeleteTextures(1, &frozenFrame);
    frozenFrame = 0;
    frozenWidth = frozenHeight = 0;
}
