// The chase camera, the intro fly-arounds and the audio listener.
#pragma once

#include "physics/vector_math.h"

// Where the listener was last placed (the menu sounds play 2 units above it).
extern Vec3 listenerPosition;

// Places the camera (and on the first pass the listener) behind the player's car.
void updateChaseCamera(bool secondPass);
