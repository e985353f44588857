// The 3D world of a race frame and of the garage: the environment view the
// cars reflect, the track layers with their shader settings, the lit models
// (cars, traffic, the garage) and the glass laid over the picture by its alpha.
#pragma once

#include "content/car_loading.h"
#include "physics/vector_math.h"

#include <cstdint>

// Renders envMap for this frame: a 90 degree view at 256 x 256. In a race from
// the player's car towards the chase camera (the track only with Reflections
// on, the lamp halos always), stored mirrored left to right; in the garage
// from the shown car towards the garage camera (the garage room). Restores
// the projection and the window's viewport and clears the frame.
void drawEnvironmentView(bool race);

// World drawing of a race frame after the chase camera is set: the lights
// chosen for the camera, the track's visual layer with the Light program, the
// sky (colour writes off the alpha channel) and the trees with the Trees program.
void drawWorld();

// The scenery variant of the Light program bound with the light colours, the
// default material (LightNow as given) and the world frame's lights: for what
// never shines (the garage room, its glass).
void beginScenery(float lightNow);
// A shader value (as the car drawing sends them) to the bound Light program variant.
void sendShaderValue(CarShaderValue value, float amount);

// The Light program bound with the default material (LightNow as given, every
// other switch off) and the car hooks pointed at it: shader values go to its
// uniforms and each model frame gets its lights. endLitModels unbinds it.
void beginLitModels(float lightNow = 0.0f);
void endLitModels();
// envMap on texture unit 1 (unit 0 active again), for the reflecting cars;
// unbindEnvironmentView takes it off.
void bindEnvironmentView();
void unbindEnvironmentView();

// The glass of the race cars and the track, laid over the picture by its own
// alpha through auxTarget1 and auxTarget2 (after the race frame).
void drawGlassOverScene();

// Lets the benchmark measure the frame's fixed cost: while set, the world,
// the cars, the halos, the glass and the garage draw no geometry, and every
// pass, copy and composite still runs.
extern bool skipSceneGeometry;
