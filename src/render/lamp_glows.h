// Glows around lit car lamps, so that a city car's small lenses read as lamps
// from a distance: each lamp group's faces, gathered by the way they face and
// by side, make one glow, an additive square facing the camera that shows only
// on the side the lamp shines to.
#pragma once

#include "physics/vector_math.h"

#include <vector>

class SbmModel;

struct LampGlow {
    int group = 0;        // the model's lamp group 0..2
    Vec3 position;        // model space, just in front of the lens
    Vec3 facing;          // unit, the way the lamp shines (model space)
    float size = 0.5f;    // half-extent
    float colour[3] = {1.0f, 1.0f, 1.0f};
    float strength = 1.0f;
};

// The glows of groups 0..2 of a model: faces turned more than 45 degrees up or
// down and faces above y 0.5 (roof signs) make none. Group 0 facing forwards
// (+x) is a headlamp, backwards a tail lamp; groups 1 and 2 are indicators.
std::vector<LampGlow> findLampGlows(const SbmModel& model);

// How strongly a glow shows to an eye: the lamp's value times how squarely it
// faces the eye (nothing from behind), times its strength.
float lampGlowAlpha(const LampGlow& glow, const Mat4& frame, float value, Vec3 eye);

// Draws the glows of a model placed at `frame`, group g lit by values[g]
// (0..1), additively with the halo image, depth writes off. No program bound.
void drawLampGlows(const std::vector<LampGlow>& glows, const Mat4& frame, const float values[3], Vec3 eye);
