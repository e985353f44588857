// The generators of the game's interface and effect images: each returns the
// finished picture (y down, row 0 at the top) and is written by a job in
// interface_jobs.cpp. Kept separate so tests can inspect single images.
#pragma once

#include "jobs.h"
#include "raster.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace gen::ui {

// Text: 16 x 16 glyph grid, glyph n = Windows-1252 code n.
Raster fontSheet();
// Whether code n of the font sheet carries a glyph (printable and defined).
bool fontCodeHasGlyph(int code);

// Menus.
Raster iconAtlas();
Raster iconButtonFace();
Raster textButtonFace();
Raster arrowImage();
Raster highlightGlow();
Raster thinStrip();
Raster wideStrip();
Raster bandOverlay();
Raster stripeOverlay();
Raster panelImage();
Raster cursorImage();
Raster logoImage();
Raster logoFlickerImage();
Raster curtainImage();
Raster ratingFilled();
Raster ratingEmpty();
Raster menuBackdrop();
Raster loadingImage();
Raster splashImage();
Raster titleCard();
Raster blackCard();

// Race HUD and overlays.
Raster revDial();
Raster revNeedle();
Raster miniMapMask();
Raster nitroBar();
Raster checkpointMarker();
Raster checkpointRing();
Raster routeArrow();
Raster countdownDigit(int digit);
Raster startWord();

// Effects.
Raster smokePuff();
Raster firePuff();
Raster lampHalo();
Raster nightClouds();
Raster neonGlow();
Raster carShadow();
Raster garageShadow();

// Vinyls, inverted alpha: alpha 0 shows the design. index 0..19.
Raster bandVinyl(int index);
Raster topVinyl(int index);
// How a vinyl looks painted over a plain body colour (for the contact sheet).
Raster vinylPreview(const Raster& vinyl);

// Particle effect descriptions: the 24 little-endian values of an .eff file.
struct EffectParams {
    int32_t count = 0;
    float maxSize = 0;
    float accel[3] = {0, 0, 0};
    float stepScale[3] = {0, 0, 0};
    float fadeScale = 0;
    int32_t spreadRange[3] = {1, 1, 1};
    float spreadOffset[3] = {0, 0, 0};
    int32_t fadeRange = 1;
    float fadeDivisor = 1;
    float fadeBase = 0;
    float sizeGrowth = 0;
    float startSize = 0;
    float speedDecay = 0;
    float startLife = 0;
    int32_t blendMode = 0;  // 1 additive, else alpha blending
};
std::vector<uint8_t> encodeEffect(const EffectParams& p);
EffectParams firePipeEffect();
EffectParams smokePipeEffect();
EffectParams dustEffect();
EffectParams checkpointLightEffect();

// Mock menu, shop and HUD screens for the contact sheet (jobs named "preview/...",
// which write no files).
void addScreenPreviewJobs(JobList& jobs);

}  // namespace gen::ui
