// The textures the screen effects, the glass and the reflections render into,
// and the four livery textures. Created once per GL context by the renderer
// set-up; they live until the window goes.
#pragma once

#include <array>
#include <cstdint>

// Window size (W x H from the resolution index).
extern uint32_t sceneCopy;      // the finished frame: glow source, drawn back as the picture
extern uint32_t auxTarget1;     // the frame before the glass
extern uint32_t auxTarget2;     // the frame after the glass, laid over auxTarget1 by its alpha
extern uint32_t motionSharp;    // the frame copied for the motion blur (and the mini-map capture)
// Effect size (effectTextureWidth x effectTextureHeight, 256 x 256).
extern uint32_t glowTarget;     // result of the glow chain
extern uint32_t glowMask;       // luminance copy after the third blur step, read by the HDR pass
extern uint32_t motionBlurred;  // radially blurred frame
extern uint32_t envMap;         // the environment view the cars reflect

// The size of the window-size targets (the resolution's, by table): what the
// screen copies take and the full-window quads cover.
extern int windowTargetWidth;
extern int windowTargetHeight;

constexpr int liveryTextureSize = 1024;
// The painted body texture of each race-car slot.
extern std::array<uint32_t, 4> liveryTexture;

// An RGBA8 texture with linear filtering, clamped to the edge, no mipmaps;
// `cleared` fills it with transparent black, otherwise its contents are
// undefined until first written. Returns 0 when GL refuses the size.
uint32_t createRenderTarget(int width, int height, bool cleared);

// Window-size targets at width x height, effect targets at effectWidth x
// effectHeight, in the order sceneCopy, glowTarget, glowMask, auxTarget1,
// auxTarget2, motionBlurred, motionSharp, envMap; then the livery textures.
void createRenderTargets(int width, int height, int effectWidth, int effectHeight);
