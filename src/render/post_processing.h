// Screen effects: motion blur, glow, HDR bright pass, radial blur.
#pragma once

// Size of the screen-effect textures, set at start-up.
extern int effectTextureWidth;
extern int effectTextureHeight;

void motionBlurPass();
// Copies the frame into the scene copy and runs the glow passes.
void glowPasses();
