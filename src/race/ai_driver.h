// The computer drivers of cars 1, 2 and 3: once per simulated frame each one
// chases the next point of the driving line, picks a speed from the bend ahead,
// keeps its distance from the other computer cars, backs off walls, gets
// righted when it stays stuck, and counts its checkpoints and laps.
#pragma once

#include <cstdint>

struct RaceCar;

// The look-ahead of the target speed: indices past the last point wrap to the
// start of the line (modulo the point count, so a short line stays in range).
int32_t wrapPathIndex(int32_t index, int32_t last);

// Drive power from the race progress: a boost of up to 2 over the first four
// points, then it falls to 0.5 for the rest of the race.
float computerBoost(float progress);
// Following range: 0 for the first ten points, growing to 30 by point twenty.
float followingRange(float progress);
// The speed the driver wants for the bend at look-ahead angle A (radians).
float computerTargetSpeed(float lookAheadAngle);
// Engine speed wanted at a speed in the gear shown (computer gear ratios).
float computerTargetRpm(int32_t shownGear, float speed);

// One simulated frame of f hundredths for computer car 1..3. Without a driving
// line the car just stays where it is.
void computerDriverFrame(RaceCar& car, float f);

// Clears the shared values at race set-up: the skid level and the righting count.
void resetComputerDrivers();

// Shared tyre skid level of the computer cars, 0..1 (their wheel dust follows it).
extern float computerSkidLevel;
// How many times a computer car was put back on its wheels since the set-up.
extern int32_t carsRighted;
