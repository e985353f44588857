// The chase camera, the intro fly-arounds and the audio listener. The eye
// follows the player's car from behind and above, swinging into its heading
// and pulling closer with speed; during the first eight seconds of the start
// sequence one of three scripted fly-arounds replaces it.
#pragma once

#include "physics/vector_math.h"

struct ChaseCamera {
    Vec3 eye;
    Vec3 center;
    float headingX = -5.5f;  // smoothed horizontal view direction
    float headingZ = -1.0f;
};

extern ChaseCamera chaseCamera;
// Where the listener was last placed (the menu sounds play 2 units above it).
extern Vec3 listenerPosition;
// Where the renderer's camera is this frame (the eye).
extern Vec3 cameraPosition;

// A new race: the heading returns to its start value.
void resetChaseCamera();

// The fly-around of one intro path 0..2 at start-sequence time t (0 <= t < 8),
// as eye and center offsets from the player's position.
void introOffsets(int path, float t, Vec3& eyeOffset, Vec3& centerOffset);

// The camera's arithmetic for one frame of f hundredths: heading, eye and
// center behind the car at position P with flat forward F, zoomed by k (0..1),
// with the intro replacing it while the start sequence needs. No GL, no sound.
void computeChaseCamera(Vec3 playerPosition, Vec3 flatForward, float zoom, float f);

// Places the camera (and on the first pass the listener and the race's sound
// sources) behind the player's car; the second pass only applies the view again.
void updateChaseCamera(bool secondPass);
// The first pass without GL: the eye, the listener and the race's sources.
void updateCameraAndListener();
