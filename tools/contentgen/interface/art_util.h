// Small drawing helpers shared by the interface art.
#pragma once

#include "raster.h"

#include <vector>

namespace gen::ui {

constexpr float kPi = 3.14159265358979f;

// Neon tube look: a soft glow of the colour under a bright core line, drawn from a
// coverage layer (white, alpha = shape) onto dst.
void neonFromLayer(Raster& dst, const Raster& layer, Color colour, float glowRadius, float glowStrength);
// A white-with-alpha layer of the same size as like, fully transparent.
Raster emptyLayer(const Raster& like);
Raster emptyLayer(int w, int h);
// Points of a regular polygon / star.
std::vector<Vec2> starPoints(float cx, float cy, float outer, float inner, int points, float rotation = -kPi / 2);
// Translated and scaled copy of design-space points.
std::vector<Vec2> transformed(const std::vector<Vec2>& pts, float ox, float oy, float scale, float scaleY = 0.0f);
// Dark outline around the opaque parts of a layer: returns a layer of the outline alone.
Raster outlineOf(const Raster& layer, float width);

}  // namespace gen::ui
