// A test driver for the player's car: it reads the driving line and presses
// the five bound keys (steer left, steer right, accelerate, brake, nitro) as a
// person would, so a race run with it goes through the player's own controls.
#pragma once

#include <cstdint>

struct AutopilotKeys {
    bool left = false;
    bool right = false;
    bool accelerate = false;
    bool brake = false;
    bool nitro = false;
};

// Learns the loaded path (corner speeds, distances) and finds the car on it.
// Call after the race set-up.
void resetAutopilot();

// Decides this frame's keys for car 0 (frame of f hundredths) and holds them
// down in KeyDown through the bound key codes.
AutopilotKeys autopilotFrame(float f);

// Lets go of the five bound keys.
void releaseAutopilotKeys();

// The speed the autopilot allows for a corner of the given curvature (1/radius).
float cornerSpeed(float curvature);
