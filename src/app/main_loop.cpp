#include "app/main_loop.h"

#include "app/bitmap_text.h"
#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/hud.h"
#include "app/input.h"
#include "app/loading_screen.h"
#include "app/start_overlay.h"
#include "app/settings.h"
#include "app/startup_content.h"
#include "app/statistics_page.h"
#include "app/window.h"
#include "audio/music_stream.h"
#include "audio/sound_device.h"
#include "content/car_loading.h"
#include "frontend/career_state.h"
#include "frontend/garage_scene.h"
#include "frontend/menu_framework.h"
#include "frontend/pause_menu.h"
#include "platform/platform.h"
#include "race/chase_camera.h"
#include "race/race_flow.h"
#include "race/results.h"
#include "race/traffic.h"
#include "render/frame_stages.h"
#include "render/post_processing.h"
#include "render/world_drawing.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <string>

int32_t GameState = gameStates::mainMenu;
LoopFlags loopFlags;

namespace {

bool loopEnded = false;

// Escape or a controller's Start pauses a running race, but not once the results show.
bool padPauseWanted = false;
bool pauseKeyTaken() {
    return (KeyDown[keyCodes::escape] || padPauseWanted) && GameState == gameStates::racing && !raceFinished;
}

// The Controls tab waits for the key to bind: every key goes to it.
bool bindingKeyAwaited() {
    return GameState == gameStates::options && subPage.shown == 2 && detailItem.target >= 0;
}

// Arrows, Enter and Escape work the menus. Returns true when the press was
// used up (an Escape that continued the race must not pause it again).
bool menuKey(const platform::Event& event) {
    if (GameState == gameStates::racing || bindingKeyAwaited()) return false;
    switch (event.key) {
    case keyCodes::left: menuNavigate(MenuMove::Left); return false;
    case keyCodes::right: menuNavigate(MenuMove::Right); return false;
    case keyCodes::up: menuNavigate(MenuMove::Up); return false;
    case keyCodes::down: menuNavigate(MenuMove::Down); return false;
    case keyCodes::enter:
        if (!event.repeat) menuNavigate(MenuMove::Activate);
        return false;
    case keyCodes::escape:
        return !event.repeat && menuNavigate(MenuMove::Back) && GameState == gameStates::racing;
    default:
        return false;
    }
}

// Controllers: the driving controls are read by the race; the D-pad, A and B
// work the menus like the arrows, Enter and Escape; Start pauses and continues.
void handlePadInput(const platform::Event& event) {
    using platform::EventType;
    using platform::PadButtonId;
    if (!handlePadEvent(int(event.type), event.pad, event.control, event.value)) return;
    if (event.type != EventType::PadButtonDown) return;
    const PadButtonId button = PadButtonId(event.control);
    if (GameState == gameStates::racing) {
        if (button == PadButtonId::Start) padPauseWanted = true;
        return;
    }
    if (bindingKeyAwaited()) return;
    switch (button) {
    case PadButtonId::DpadLeft: menuNavigate(MenuMove::Left); break;
    case PadButtonId::DpadRight: menuNavigate(MenuMove::Right); break;
    case PadButtonId::DpadUp: menuNavigate(MenuMove::Up); break;
    case PadButtonId::DpadDown: menuNavigate(MenuMove::Down); break;
    case PadButtonId::A: menuNavigate(MenuMove::Activate); break;
    case PadButtonId::B: menuNavigate(MenuMove::Back); break;
    case PadButtonId::Start:
        if (GameState == gameStates::pause) menuNavigate(MenuMove::Back);
        break;
    default: break;
    }
}

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

void handleInputEvent(const platform::Event& event) {
    using platform::EventType;
    // A click lands where the pointer is when the button goes down.
    if (event.type == EventType::MouseMove || event.type == EventType::MouseDown || event.type == EventType::MouseUp)
        setMenuCursorFromPixels(event.x, event.y);
    switch (event.type) {
    case EventType::KeyDown:
        if (event.key == keyCodes::enter && event.alt) {
            if (!event.repeat) toggleFullscreen();
            break;
        }
        if (menuKey(event)) break;
        // A repeat changes nothing that is held, and must not hold again a key a menu used up.
        if (event.key > 0 && event.key < 256 && !event.repeat) KeyDown[event.key] = 1;
        break;
    case EventType::KeyUp:
        if (event.key > 0 && event.key < 256) KeyDown[event.key] = 0;
        break;
    case EventType::MouseDown:
        if (event.button == platform::MouseButton::Left) mouseState.leftHeld = true;
        else mouseState.rightHeld = true;
        mouseState.clickPending = true;
        mouseState.pressX = mouseState.dragX = menuCursor.x;
        mouseState.pressY = mouseState.dragY = menuCursor.y;
        if (event.button == platform::MouseButton::Left) dispatchMenuClick();
        break;
    case EventType::MouseUp:
        if (event.button == platform::MouseButton::Left) mouseState.leftHeld = false;
        else mouseState.rightHeld = false;
        mouseState.pressX = mouseState.dragX = menuCursor.x;
        mouseState.pressY = mouseState.dragY = menuCursor.y;
        break;
    case EventType::MouseMove:
        menuPointerMoved();
        break;
    case EventType::PadAdded:
    case EventType::PadRemoved:
    case EventType::PadAxis:
    case EventType::PadButtonDown:
    case EventType::PadButtonUp:
        handlePadInput(event);
        break;
    default:
        break;
    }
}

void raceFrame() {
    const float ticks = frameTiming.frameTicks;
    updateRaceMusic();
    loopFlags.musicFade += 0.004f * ticks;
    setRaceMusicGain(clamp01(loopFlags.musicFade));
    soundEffects[sounds::checkpoint].setGain(clamp01(loopFlags.musicFade));

    if (raceFrameUndrawn && !raceFinished) {
        // What a drawn frame does to the race, without the pictures: the camera
        // (on the blur of the frame before), the simulation and the countdown
        // clock, and the blur following the speed the frame started with.
        const float speed = playerSpeed();
        headlessRaceFrame(ticks);
        loopFlags.speedBlur = nextBlurFactor(loopFlags.speedBlur, speed, ticks);
    } else {
        drawRaceScene();
        drawHud();
        frameStage("hud");
        raceSimulationFrame();
        frameStage("simulation");
        if ((countdownActive || (phaseTimer > 0.0f && phaseTimer < 13.0f)) && !raceFinished) drawStartOverlay();
        if (raceFinished) drawResults();
    }
    // The frame Escape pauses on stays behind the pause screen.
    if (pauseKeyTaken()) freezeRaceFrame();
}

void frontEndFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    setProjection(gameSettings.width, gameSettings.height);
    clickSound.place(listenerPosition.x, listenerPosition.y + 2.0f, listenerPosition.z, 0, 0, 0);
    hoverSound.place(listenerPosition.x, listenerPosition.y + 2.0f, listenerPosition.z, 0, 0, 0);
    updateMenuMusic();
    loopFlags.musicFade += 0.004f * frameTiming.frameTicks;
    setMenuMusicGain(clamp01(loopFlags.musicFade));
    if (garageShownBehind(GameState)) {
        drawGarageScene();
        drawSceneWithGlow();
    }
    drawFrontEnd();
    menuHoverPass();
}

}  // namespace

void drawRaceScene() {
    setProjection(gameSettings.width, gameSettings.height);
    drawEnvironmentView(true);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    frameStage("environment");

    updateChaseCamera(false);
    drawWorld();

    // The speed blur follows the player's speed and widens the view.
    loopFlags.speedBlur = nextBlurFactor(loopFlags.speedBlur, playerSpeed(), frameTiming.frameTicks);

    if (gameSettings.motionBlur == 1) {
        motionBlurPass();
        updateChaseCamera(true);
    }
    frameStage("motion blur");
    drawCarShadowsAndNeon();
    drawRaceFrame();
    frameStage("halos");
    drawGlassOverScene();
    frameStage("glass");
    glowPasses();
    frameStage("glow");
}

bool drawFrame() {
    updateFrameTiming();
    const float ticks = frameTiming.frameTicks;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    if (loopFlags.startupLoading) {
        loopFlags.startupTimer += 0.01f * ticks;
        drawLoadingScreen(loopFlags.startupTimer >= 7.0f);
        if (loopFlags.startupTimer > 9.0f) {
            loopFlags.startupLoading = false;
            loadStartupContent();
            if (gameSettings.music) startMenuMusic();
            loopFlags.musicFade = -1.5f;
            loopFlags.menuMusicPending = true;
        }
        return true;
    }

    if (GameState == gameStates::racing) raceFrame();
    // A race frame that has just sent the game back to the menus draws the menus too.
    if (GameState != gameStates::racing) frontEndFrame();

    if (loopFlags.showFps) {
        glEnable(GL_BLEND);
        printText(715, 580, "FPS:%2i", shownFrameRate(frameTiming.fps));
        glDisable(GL_BLEND);
    }
    if (gameSettings.music && loopFlags.menuMusicPending && frameTiming.fps > 15.0f) {
        loopFlags.menuMusicPending = false;
        startMenuMusic();
        loopFlags.musicFade = -1.5f;
    }
    return true;
}

void loopKeyChecks() {
    if (pauseKeyTaken()) {
        stopRaceMusic();
        GameState = gameStates::pause;
        shownScreen = gameStates::pause;
        screenFade = 0.0f;
    }
    padPauseWanted = false;
    // Key capture on the Controls tab binds the row waiting for a key.
    if (GameState == gameStates::options && subPage.shown == 2) {
        selectedBinding = detailItem.target;
        if (captureBindingKey(gameSettings.keys) >= 0) detailItem.target = -1;
    }
    if (KeyDown[keyCodes::f1] && !loopFlags.keyLatch) {
        loopFlags.showFps = !loopFlags.showFps;
        loopFlags.keyLatch = true;
    }
    static const int latchKeys[] = {keyCodes::f1, keyCodes::f5, keyCodes::space, 'Y', 'Q', 'R', 'F', 'L',
                                    'K', 'C', 'X', 'Z', 'O', 'P', 'I', 'U'};
    bool anyHeld = false;
    for (int key : latchKeys) anyHeld = anyHeld || KeyDown[key];
    if (!anyHeld) loopFlags.keyLatch = false;
}

StartupResult startupSequence() {
    loopEnded = false;
    closeRequested = false;
    padPauseWanted = false;
    releasePads();
    loadSettings(gameSettings);
    applyResolutionIndex(gameSettings);
    effectTextureWidth = effectTextureHeight = 256;
    setTrafficLevelFromSettings();
    if (readCareer(careerState) == ReadStatus::Unreadable)
        platform::messageBox("The career file " + std::string(careerPath) +
                                 " cannot be read. It is left as it is, and this run's career will not be saved.",
                             "Nightrun", platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
    // Without a sound device the game plays in silence: effects stay unloaded
    // (their calls do nothing) and no music stream is opened.
    if (openSoundDevice()) {
        loadSoundEffects();
        openMenuMusic();
    } else {
        std::fprintf(stderr, "nightrun: no sound device could be opened; playing without sound\n");
    }
    if (!createGameWindow("Nightrun", gameSettings.width, gameSettings.height, 32, fullscreen))
        return StartupResult::NoWindow;
    return StartupResult::Ok;
}

void (*beforePresent)() = nullptr;
bool raceFrameUndrawn = false;

bool mainLoopPass(bool& framePass) {
    framePass = false;
    if (loopEnded) return false;
    platform::Event event;
    if (platform::pollEvent(event)) {
        if (!handleWindowEvent(event)) handleInputEvent(event);
        if (closeRequested) loopEnded = true;
        return !loopEnded;
    }
    framePass = true;
    bool keepGoing = true;
    if (loopFlags.windowActive) keepGoing = drawFrame();
    if ((!loopFlags.windowActive || keepGoing) && !loopFlags.quitRequested) {
        if (beforePresent) beforePresent();
        platform::swapBuffers();
    } else {
        loopEnded = true;
    }
    loopKeyChecks();
    return !loopEnded;
}

void exitSequence() {
    closeSoundDevice();
    saveSettings(gameSettings, resolutionApplied);
    writeCareer(careerState);
    destroyGameWindow();
    openStatisticsPage();
}

int nightrunMain() {
    switch (startupSequence()) {
    case StartupResult::NoWindow:
        return 0;
    case StartupResult::Ok:
        break;
    }
    bool drew = false;
    while (mainLoopPass(drew)) {}
    exitSequence();
    return 0;
}
