// The three ways an SbmModel is drawn. Each walks the groups in order and
// sends, for every triangle corner, the normal, the texture coordinate and the
// position; none changes any other GL state (the caller sets program, blending
// and matrices). Models compiled at load time draw from display lists; big
// layers compiled in cells skip the cells outside the view and draw the rest
// nearest first, so the depth test spares the hidden surfaces' shading.
#pragma once

#include "content/sbm_model.h"

#include <cstdint>

// Compiles every group of the model into display lists (needs a GL context;
// a model compiled again is recompiled). With `cellSize` > 0 a group's
// triangles are cut by a grid of that size in x and z, by triangle centre.
void compileModel(SbmModel& model, float cellSize = 0.0f);

// Each group with its material's texture (texture 0 without a material); a
// group whose material has a transparency of at most 0.5 blinks: while the
// frame timer's blink value is negative its t coordinates are shifted by 0.5
// (through the texture matrix, which is restored).
void drawSimple(const SbmModel& model);
// Every group with the given texture, whatever the materials name.
void drawWithOneTexture(const SbmModel& model, uint32_t texture);
// The first material's texture, bound once; LightNow is value0, value1,
// value2 for groups 0, 1, 2 and 0 for every further group, set before each
// group through `setLightNow`, or when that is null straight into the Light
// program (only while it is bound, see useProgram).
void drawLitGroups(const SbmModel& model, float value0, float value1, float value2,
                   void (*setLightNow)(float) = nullptr);

// Cells of cell-compiled models whose nearest point lies further than this
// (horizontally) from the eye are left out; 0 (the default) draws every cell
// in view. The environment view draws only what is near enough to show.
void setDrawDistance(float distance);

// Whether a sphere (in the coordinates being drawn in) touches the current
// view volume: things wholly outside it need not be drawn.
bool sphereInView(Vec3 centre, float radius);

// How many chunks of cell-compiled models were drawn, and how many were looked
// at, since the last reset (the benchmark's and the tests' view of the culling).
struct CullReport {
    int drawn = 0;
    int total = 0;
    int trianglesDrawn = 0;
};
CullReport cullReport();
void resetCullReport();
