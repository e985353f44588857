// The street lamps that light the night scenes: one light source per triangle
// of the lights layer last flattened (the track's during a race, the garage's
// otherwise).
#pragma once

#include "physics/vector_math.h"

class SbmModel;

struct LightSource {
    Vec3 position;
    // Working values, refreshed every frame when the active lights are chosen.
    float distanceSquared = 0.0f;  // horizontal, to the camera
    float angle = 0.0f;            // radians from the camera's horizontal view direction
};

constexpr int lightTableCapacity = 200;

struct LightTable {
    LightSource entries[lightTableCapacity];
    int count = 0;
};

extern LightTable lightTable;

// Rebuilds the table from a flattened lights layer: one light at the centre of
// each flattened triangle, in order, at most lightTableCapacity (the rest are
// ignored). An empty layer leaves no lights.
void buildLightTable(const SbmModel& flattenedLayer);
void clearLightTable();
