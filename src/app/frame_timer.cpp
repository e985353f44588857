#include "app/frame_timer.h"

#include "platform/platform.h"

#include <cmath>

FrameTiming frameTiming;

namespace {
bool timerStarted = false;
uint32_t lastReading = 0;
}  // namespace

float FrameTimer() {
    if (!timerStarted) {
        lastReading = platform::milliseconds();
        timerStarted = true;
    }
    uint32_t now = platform::milliseconds();
    uint32_t elapsed = now - lastReading;
    lastReading = now;
    return static_cast<float>(elapsed) / 1000.0f;
}

void resetFrameTimer() { timerStarted = false; }

void updateFrameTiming() {
    FrameTiming& t = frameTiming;
    t.frameSeconds = FrameTimer();
    t.fps = 1.0f / t.frameSeconds;  // a 0 ms frame gives an infinite rate, as intended
    t.frameTicks = t.frameSeconds <= 0.1f ? t.frameSeconds * 100.0f : 0.0f;
    t.blinkPhase += 0.05f * t.frameTicks;
    t.blinkValue = std::sin(t.blinkPhase);
    t.gameClock += 0.01f * t.frameTicks;
}

int shownFrameRate(float fps) {
    if (!(fps >= 0.0f)) return 0;
    return fps >= 999.0f ? 999 : static_cast<int>(fps);
}
