// The night sky: a dark dome squashed flat over the city with two cloud layers
// drifting across it at different speeds.
#pragma once

// Grows by 0.000001 x frame ticks every time the sky is drawn; drives the drift.
extern float skyPhase;

// Draws the dome around the world origin with no program bound: the dark
// sphere, then the two additive cloud layers of BMP 36. Leaves face culling
// on, blending off and the texture matrix reset.
void drawSky();
