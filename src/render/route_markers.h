// Route markers: arrows along the driving line and pulsing rings at its
// checkpoints, on the road near the player, fading in from 10 to 20 units away
// and not drawn from 100 on. The pulse is shared with the checkpoint markers of
// the HUD's mini-map.
#pragma once

#include "physics/vector_math.h"

#include <cstdint>
#include <vector>

struct TrackPoint;

// Radians; grows 0.075 per 10 ms tick in every race frame that draws the markers.
extern float markerPhase;

void advanceMarkerPhase(float frameTicks);

// One point's marker this frame.
struct RouteMarker {
    int32_t point = 0;
    float heading = 0.0f;  // degrees from +x to the segment towards the next point, positive towards -z
    float alpha = 0.0f;
    bool green = false;    // the player's next checkpoint (or an arrow); orange rings otherwise
    bool rings = false;    // a checkpoint
    bool arrow = false;    // neither the point nor its neighbours are checkpoints
};

// Alpha of a marker at distance d from the player: 0 up to 10 and from 100 on,
// rising from 10 to 1 at 20.
float markerAlpha(float distance);

// The markers of points[0..last] (from the last to the first) seen from the
// player's position, with the player's next checkpoint green.
std::vector<RouteMarker> routeMarkers(const TrackPoint* points, int32_t last, Vec3 player, int32_t nextCheckpoint);

// Draws them over the road (0.25 and 0.35 below each point), pulsing with
// markerPhase; alpha blended, depth writes and face culling off while drawing.
void drawRouteMarkers(const TrackPoint* points, const std::vector<RouteMarker>& markers);
