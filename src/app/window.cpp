#include "app/window.h"

#include "app/bitmap_text.h"
#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "audio/music_stream.h"
#include "frontend/menu_framework.h"
#include "frontend/pause_menu.h"
#include "race/car_control.h"
#include "render/renderer_setup.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

bool fullscreen = true;
bool resolutionChanged = false;
bool closeRequested = false;

namespace {

void errorBox(const char* text) {
    platform::messageBox(text, "ERROR", platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
}

}  // namespace

bool createGameWindow(const std::string& title, int width, int height, int colourBits, bool fullscreenFlag) {
    fullscreen = fullscreenFlag;
    // Without a video system there is no display mode at all: that is a window
    // failure, not a full-screen mode the video card lacks.
    std::string reason;
    if (!platform::startVideo(reason)) {
        std::fprintf(stderr, "Nightrun: the video system cannot start: %s\n", reason.c_str());
        errorBox("Window Creation Error.");
        return false;
    }
    if (fullscreen && !platform::setDisplayMode(width, height, colourBits)) {
        bool windowed = platform::messageBox(
            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
            "Lumo GL", platform::MessageButtons::YesNo, platform::MessageIcon::Exclamation);
        if (!windowed) {
            platform::messageBox("Program Will Now Close.", "ERROR", platform::MessageButtons::Ok,
                                 platform::MessageIcon::Stop);
            return false;
        }
        fullscreen = false;
    }
    if (fullscreen) platform::showCursor(false);

    platform::WindowRequest request{title, width, height, colourBits, fullscreen};
    switch (platform::createWindow(request)) {
    case platform::WindowResult::Ok:
        break;
    case platform::WindowResult::WindowFailed:
        destroyGameWindow();
        errorBox("Window Creation Error.");
        return false;
    case platform::WindowResult::ContextFailed:
        destroyGameWindow();
        errorBox("Can't Create A GL Rendering Context.");
        return false;
    case platform::WindowResult::MakeCurrentFailed:
        destroyGameWindow();
        errorBox("Can't Activate The GL Rendering Context.");
        return false;
    }
    platform::inhibitScreenSaver();
    setProjection(width, height);
    if (!rendererSetup()) {
        destroyGameWindow();
        errorBox("Initialization Failed.");
        return false;
    }
    return true;
}

void destroyGameWindow() {
    if (fullscreen) {
        platform::restoreDisplayMode();
        platform::showCursor(true);
    }
    if (platform::windowExists()) {
        deleteFonts();
        releaseFrozenFrame();
    }
    platform::destroyWindow();
}

float raceFieldOfView() {
    return 70.0f + 7.5f * loopFlags.speedBlur * (1.0f + fieldOfViewBoost);
}

void setProjection(int width, int height) {
    if (height == 0) height = 1;
    if (!platform::hasGlContext()) return;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    double aspect = static_cast<double>(width) / static_cast<double>(height);
    if (GameState == gameStates::racing)
        gluPerspective(raceFieldOfView(), aspect, 1.0, 15000.0);
    else
        gluPerspective(25.0, aspect, 5.3, 15000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void toggleFullscreen() {
    if (!platform::windowExists()) return;
    if (fullscreen) {
        platform::restoreDisplayMode();
        platform::showCursor(true);
        fullscreen = false;
    } else if (platform::setDisplayMode(gameSettings.width, gameSettings.height, gameSettings.colourDepth)) {
        platform::showCursor(false);
        fullscreen = true;
    } else {
        char text[96];
        std::snprintf(text, sizeof text, "Full screen is not available at %d x %d.", gameSettings.width,
                      gameSettings.height);
        showMenuNotice(text);
        std::fprintf(stderr, "nightrun: %s\n", text);
    }
    setProjection(gameSettings.width, gameSettings.height);
}

bool IsDisplayModeAvailable(int width, int height) {
    for (const platform::DisplayMode& mode : platform::listDisplayModes())
        if (mode.width == width && mode.height == height) return true;
    return false;
}

namespace {

void cycleResolution(int& choice, int direction) {
    bool any = false;
    for (int k = 0; k < resolutionCount; ++k)
        if (IsDisplayModeAvailable(resolutionWidths[k], resolutionHeights[k])) any = true;
    if (any) {
        int i = choice;
        for (;;) {
            if (i > 4) i = 0;
            if (i < 0) i = 4;
            int candidate = (i + direction + resolutionCount) % resolutionCount;
            if (IsDisplayModeAvailable(resolutionWidths[candidate], resolutionHeights[candidate])) {
                choice = candidate;
                gameSettings.chosenWidth = resolutionWidths[candidate];
                gameSettings.chosenHeight = resolutionHeights[candidate];
                break;
            }
            i += direction;
        }
    }
    resolutionChanged = true;
}

}  // namespace

void nextResolution(int& choice) { cycleResolution(choice, +1); }
void previousResolution(int& choice) { cycleResolution(choice, -1); }

bool handleWindowEvent(const platform::Event& event) {
    using platform::EventType;
    switch (event.type) {
    case EventType::ScreenSaver:
        return true;  // refused
    case EventType::Resize:
        setProjection(event.width, event.height);
        return true;
    case EventType::Deactivate:
        loopFlags.windowActive = false;
        if (gameSettings.music) {
            if (GameState == gameStates::racing) {
                setRaceMusicGain(0.0f);
                rewindRaceMusic();
            } else {
                loopFlags.menuMusicPending = true;
                setMenuMusicGain(0.0f);
                rewindMenuMusic();
            }
            loopFlags.musicFade = -1.5f;
        }
        // Key-ups that happen while another window has the focus never reach us,
        // nor do a controller's.
        clearHeldKeys();
        releasePads();
        platform::restoreDisplayMode();
        return true;
    case EventType::Activate:
        loopFlags.windowActive = true;
        if (gameSettings.music && !loopFlags.startupLoading) {
            if (GameState == gameStates::racing) {
                startRaceMusic();
            } else {
                startMenuMusic();
                loopFlags.menuMusicPending = true;
            }
            loopFlags.musicFade = -1.5f;
        }
        if (fullscreen) platform::setDisplayMode(gameSettings.width, gameSettings.height, gameSettings.colourDepth);
        platform::placeWindow(0, 0, gameSettings.width, gameSettings.height);
        return true;
    case EventType::Close:
        closeRequested = true;
        return true;
    default:
        return false;
    }
}
