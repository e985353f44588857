// Screen effects: the glow (bright pass and blur at 256 x 256, added back over
// the picture) and the optional motion blur (a radial blur whose strength
// follows the player's speed). Both are built from the screen effect pass.
#pragma once

#include <cstdint>

// Size of the screen-effect textures, set at start-up.
extern int effectTextureWidth;
extern int effectTextureHeight;

enum class EffectMode { Blur = 2, Hdr = 3, RadialBlur = 4 };

// Draws `source` through the mode's program into the lower-left 256 x 256
// corner of the frame buffer and copies that corner into `target`. Blur:
// even steps blur across, odd steps down, steps 4 and 5 twice as strong; step
// 2 also copies the corner into glowMask as luminance. HDR reads the previous
// glowMask on unit 1. Radial blur reaches further with the player's speed.
void screenEffectPass(EffectMode mode, uint32_t source, uint32_t target, int step);

// The speed blur factor's next value: its target is clamp(speed x 0.1 - 1, 0,
// 1) (1 from 20 units/s up); it moves towards it by 0.005 x ticks, never past.
float nextBlurFactor(float factor, float speed, float ticks);
// The radial blur's strength for a speed: speed x 0.04, at most 1 (reached at 25).
float radialBlurSpeed(float speed);

// Copies the frame into sceneCopy and runs the four glow passes into glowTarget.
void glowPasses();
// The radially blurred frame laid over the sharp one by the speed blur factor
// (race frames with the Motion blur option on, before the cars). Leaves the
// modelview cleared: the caller sets the camera again.
void motionBlurPass();
// The picture put back from sceneCopy with glowTarget added on top, over the
// whole 800 x 600 screen space (the HUD and the menus draw over it).
void drawSceneWithGlow();
