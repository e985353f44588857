#include "app/game_state.h"
#include "app/input.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "frontend/menu_framework.h"
#include "platform/platform.h"
#include "race/race_flow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

void resetInput() {
    clearHeldKeys();
    selectedBinding = -1;
    loopFlags = LoopFlags{};
    gameSettings = GameSettings{};
}

}  // namespace

TEST(KeyTranslation, KeysBecomeTheirVirtualKeyCodesWithUsPunctuation) {
    // The settings file stores these codes: a changed mapping would lose the player's keys.
    const std::pair<int32_t, int> keys[] = {
        {SDLK_a, 0x41},      {SDLK_z, 0x5A},     {SDLK_0, 0x30},         {SDLK_9, 0x39},        {SDLK_F1, 0x70},
        {SDLK_F12, 0x7B},    {SDLK_ESCAPE, 0x1B}, {SDLK_RETURN, 0x0D},   {SDLK_SPACE, 0x20},    {SDLK_LSHIFT, 0x10},
        {SDLK_RSHIFT, 0x10}, {SDLK_RCTRL, 0x11}, {SDLK_LEFT, 0x25},      {SDLK_DOWN, 0x28},     {SDLK_SEMICOLON, 0xBA},
        {SDLK_SLASH, 0xBF},  {SDLK_QUOTE, 0xDE}, {SDLK_UNKNOWN, 0}};
    for (auto [sdl, vk] : keys) EXPECT_EQ(platform::virtualKeyFromSdlKeycode(sdl), vk) << sdl;
}

TEST(KeyNames, CodesThatCannotBeBoundHaveNoName) {
    EXPECT_EQ(bindingKeyName(0x71), "");  // F2
    EXPECT_EQ(bindingKeyName(-1), "");
}

TEST(KeyHeld, CodesOutsideTheTableNeverCountAsHeld) {
    resetInput();
    std::memset(KeyDown, 1, sizeof KeyDown);
    EXPECT_TRUE(isKeyHeld(0x41));
    EXPECT_FALSE(isKeyHeld(-1));
    EXPECT_FALSE(isKeyHeld(256));
    EXPECT_FALSE(isKeyHeld(INT32_MIN));
}

// Capture through the Controls tab's rows: tests/frontend/options_screen_test.cpp.
TEST(KeyCapture, LowestHeldBindableCodeWinsAndOneKeyMayServeTwoActions) {
    resetInput();
    selectedBinding = 3;  // brake, while nitro is already Shift
    KeyDown[0x71] = 1;    // F2
    KeyDown[0x1B] = 1;    // Escape
    EXPECT_EQ(captureBindingKey(gameSettings.keys), -1);
    EXPECT_EQ(selectedBinding, 3) << "a key that cannot be bound leaves the slot waiting";
    KeyDown[0x5A] = 1;  // Z
    KeyDown[0x41] = 1;  // A
    KeyDown[0x10] = 1;  // Shift: lowest of the three
    EXPECT_EQ(captureBindingKey(gameSettings.keys), 0x10);
    EXPECT_EQ(gameSettings.keys[3], 0x10);
    EXPECT_EQ(gameSettings.keys[4], 0x10);
    EXPECT_EQ(displayedKeys[3], 0x10);
    EXPECT_EQ(selectedBinding, -1);
    // With no slot selected a held key binds nothing.
    int32_t before[5];
    std::memcpy(before, gameSettings.keys, sizeof before);
    KeyDown[0x10] = 0;
    EXPECT_EQ(captureBindingKey(gameSettings.keys), 0x41);
    EXPECT_EQ(std::memcmp(before, gameSettings.keys, sizeof before), 0);
}

TEST(LoopKeyChecks, CaptureRunsOnlyOnTheControlsTab) {
    resetInput();
    GameState = gameStates::options;
    subPage.shown = 1;
    selectedBinding = 0;
    KeyDown[0x41] = 1;
    loopKeyChecks();
    EXPECT_EQ(selectedBinding, 0);
    subPage.shown = 2;
    loopKeyChecks();
    EXPECT_EQ(gameSettings.keys[0], 0x41);
    EXPECT_EQ(selectedBinding, -1);
}

TEST(LoopKeyChecks, F1TogglesOncePerPressAndTheLatchWaitsForEveryLatchKey) {
    resetInput();
    GameState = gameStates::mainMenu;
    KeyDown[0x70] = 1;
    loopKeyChecks();
    EXPECT_TRUE(loopFlags.showFps);
    loopKeyChecks();
    loopKeyChecks();
    EXPECT_TRUE(loopFlags.showFps);  // held: no second toggle
    KeyDown[0x20] = 1;               // Space joins in
    KeyDown[0x70] = 0;
    loopKeyChecks();
    EXPECT_TRUE(loopFlags.keyLatch);
    KeyDown[0x70] = 1;  // F1 again while Space still holds the latch
    loopKeyChecks();
    EXPECT_TRUE(loopFlags.showFps);
    KeyDown[0x70] = 0;
    KeyDown[0x20] = 0;
    loopKeyChecks();
    EXPECT_FALSE(loopFlags.keyLatch);
    KeyDown[0x70] = 1;
    loopKeyChecks();
    EXPECT_FALSE(loopFlags.showFps);
}

TEST(LoopKeyChecks, EscapePausesARunningRaceOnly) {
    resetInput();
    KeyDown[0x1B] = 1;
    GameState = gameStates::racing;
    raceFinished = true;  // the results are showing
    loopKeyChecks();
    EXPECT_EQ(GameState, gameStates::racing);
    raceFinished = false;
    shownScreen = 0;
    screenFade = 1.0f;
    loopKeyChecks();
    EXPECT_EQ(GameState, gameStates::pause);
    EXPECT_EQ(shownScreen, gameStates::pause);
    EXPECT_EQ(screenFade, 0.0f);
    GameState = gameStates::mainMenu;
    loopKeyChecks();
    EXPECT_EQ(GameState, gameStates::mainMenu);
}
