// The race from the grid to the finish: clocks, checkpoints, laps, place.
#pragma once

#include <cstdint>

extern bool countdownActive;
extern bool raceFinished;
extern float phaseTimer;
extern int32_t playerPlace;
extern float raceClock;
extern float lapClock;
extern float bestLap;

// Start-of-race state, the physics world with the track mesh and the cars;
// called by track loading once the layers and the AI path are in.
void setUpRace();
// Destroys the race's physics world (track unloading).
void releaseRaceWorld();
// Draws the cars and the race's own scene parts.
void drawRaceFrame();
// One simulation frame: clocks, cars, traffic, the physics step.
void raceSimulationFrame();
// Length of the player car's velocity (0 when no race is set up).
float playerSpeed();
