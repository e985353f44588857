// Car sounds: the player's two-layer engine (on and off the throttle), the
// computer cars' engines and their revving on the grid, tyre squeal, wind,
// gear changes, nitro, the checkpoint chime and three strengths of crash; and
// the effect levels the cars' particles follow. Sources start and change gain
// only while sound is on (the setting and a device), but every level and timer
// evolves either way. The race reaches sound only through these functions.
#pragma once

#include "physics/vector_math.h"

struct RaceCar;

// What the particles of one car show this frame.
struct CarEffectLevels {
    float dustLife = 0.0f;        // start life (and alpha) of the wheel dust
    bool dustEmitting = false;
    float fireColour[3] = {1.0f, 1.0f, 1.0f};
    float fireLife = 0.0f;        // start life of the exhaust flame
    bool fireEmitting = true;
    float smokeLife = 0.0f;       // the player's exhaust smoke
    bool smokeEmitting = false;
};
extern CarEffectLevels carEffectLevels[4];

// The player's throttle level L, 0..1: the share of the on-throttle engine layer.
extern float throttleLevel;

bool raceSoundOn();
// The engine pitch for an engine speed: 0.35 at idle (1000 rpm), kept to 0.15..2.5.
float enginePitch(float rpm);

// Race set-up: every car's engine loop and the player's off-throttle layer,
// squeal and wind loops start at gain 0; the levels start afresh.
void startRaceSounds();
// Leaving the race: every race source stops (the menu's click and hover stay).
void stopRaceSounds();

// The player's skid level for a frame of f hundredths: it falls while the rear
// tyres grip (or the car is slow) and rises while they slide; braking then
// lifts it further (car control).
void updatePlayerSkid(const RaceCar& car, float f, float speed);
// The player's engine, squeal and wind, once per simulated frame of f
// hundredths. onThrottle: accelerating, or braking in reverse.
void playerCarSounds(const RaceCar& car, float f, float speed, bool onThrottle);
// A computer car's engine, once per frame after its engine speed is known.
void computerEngineSound(const RaceCar& car);
// The grid revving of a computer car while the countdown runs: blips its
// engine from 1000 to 7000 rpm and back in a second, then waits a
// car-dependent time and blips again, with its revving sound.
void countdownRevving(RaceCar& car, float f);
void gearChangeSound();
void nitroSound(bool burning);
void checkpointSound(Vec3 position, Vec3 velocity);
// A traffic car's horn: the three horn sources are placed at the car, moving
// at `velocity` (the player's velocity less the car's), and horn `choice`
// (0..2) plays unless it is playing already.
void trafficHornSound(int choice, Vec3 position, Vec3 velocity);

// The crash band of an angular momentum: -1 none, 0 light (above 600), 1
// medium (above 1100), 2 heavy (above 1400, up to 30000).
int crashBand(float angularMomentum);
// The crash test of the player's car at a physics sub-step: a crash in a band
// plays its sound unless one played within the last second of crash timer
// (four sub-steps a frame make that a quarter of a second).
void crashSound(RaceCar& car);

// Sets every car's effect levels for this frame; playerNitro: the player's
// nitro is burning.
void updateCarEffectLevels(bool playerNitro);
