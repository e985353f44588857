// The top-level state and the flags of the main loop and frame driver.
#pragma once

#include <cstdint>

// 0 racing, 1 main menu, 2 career hub, 4 pause, 5 options, 20..36 career and
// shop screens, 50 information, 61 Quick Race, 88 loading a race, 90 quit question.
extern int32_t GameState;

namespace gameStates {
constexpr int32_t racing = 0;
constexpr int32_t mainMenu = 1;
constexpr int32_t careerHub = 2;
constexpr int32_t pause = 4;
constexpr int32_t options = 5;
constexpr int32_t careerMenu = 20;
constexpr int32_t competitions = 21;
constexpr int32_t visualTuning = 22;
constexpr int32_t painting = 23;
constexpr int32_t bodyTuning = 24;
constexpr int32_t techTuning = 25;
constexpr int32_t rims = 26;
constexpr int32_t bodyKit = 27;
constexpr int32_t spoiler = 28;
constexpr int32_t hoodScoop = 29;
constexpr int32_t roofScoop = 30;
constexpr int32_t optics = 31;
constexpr int32_t topVinyls = 32;
constexpr int32_t sideVinyls = 33;
constexpr int32_t neon = 34;
constexpr int32_t changeCar = 36;
constexpr int32_t information = 50;
constexpr int32_t quickRace = 61;
constexpr int32_t loadingRace = 88;
constexpr int32_t quitQuestion = 90;
}  // namespace gameStates

struct LoopFlags {
    bool startupLoading = true;    // the start-up loading screen is showing
    float startupTimer = 0.0f;     // seconds spent on it
    bool windowActive = true;
    bool quitRequested = false;    // "Yes" on the quit question
    bool showFps = false;          // F1
    bool keyLatch = false;         // F1 acts once per press
    float musicFade = -1.5f;       // music gain ramp, clamped to 0..1 when applied
    bool menuMusicPending = false; // start the menu music once the frame rate allows
    float speedBlur = 0.0f;        // follows the player's speed; widens the race view
};

extern LoopFlags loopFlags;
