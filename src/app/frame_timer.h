// The frame timer: every per-frame change in the game is an amount per 10 ms tick
// times frameTicks. A frame longer than 0.1 s advances nothing.
#pragma once

#include <cstdint>

struct FrameTiming {
    float frameSeconds = 0.0f;  // length of the last frame
    float fps = 0.0f;           // 1 / frameSeconds (infinite on a 0 ms frame)
    float frameTicks = 0.0f;    // frame length in 10 ms ticks, 0 past 0.1 s
    float blinkPhase = 0.0f;    // grows 5 radians per second of unfrozen time
    float blinkValue = 0.0f;    // sin(blinkPhase): blinking textures flip on its sign
    float gameClock = 0.0f;     // seconds of unfrozen time since start
};

extern FrameTiming frameTiming;

// Seconds since the previous call (0 on the first call). The millisecond
// difference is unsigned, so the clock wrapping past 2^32 still measures right.
float FrameTimer();
// Forgets the stored clock reading so the next call is a "first call" again.
void resetFrameTimer();

// The frame-timing update at the start of every frame.
void updateFrameTiming();

// The rate the F1 display shows: whole frames a second, at most 999; a 0 ms
// frame (an infinite rate) shows 999.
int shownFrameRate(float fps);
