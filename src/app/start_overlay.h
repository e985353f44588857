// The race's start overlay: the countdown images "3", "2", "1" and the start
// word fading in over the scene, and the countdown clock that starts the race.
#pragma once

// The countdown image shown at start-sequence time t: the BMP table index
// (46, 45, 44, 43) and its alpha; false when no image shows at t.
bool countdownImage(float t, int& bmpIndex, float& alpha);

// Advances the start-sequence clock by a frame of f hundredths (not in frames of
// 9.5 ticks or more); clears countdownActive past 11 s and returns the clock to
// 0 past 13 s. No GL.
void advanceCountdownClock(float f);

// Draws the image of the moment, then advances the clock by the frame.
void drawStartOverlay();
