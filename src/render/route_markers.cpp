#include "render/route_markers.h"

float markerPhase = 0.0f;

void advanceMarkerPhase(float frameTicks) { markerPhase += 0.075f * frameTicks; }
