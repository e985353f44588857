// Route markers: the pulse shared by the checkpoint rings on the road and the
// checkpoint markers of the HUD's mini-map.
#pragma once

// Radians; grows 0.075 per 10 ms tick in every race frame that draws the markers.
extern float markerPhase;

void advanceMarkerPhase(float frameTicks);
