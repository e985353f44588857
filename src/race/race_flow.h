// The race from the grid to the finish: set-up, the smoothed simulation step,
// clocks, checkpoints, laps, the player's place and the finish. The simulation
// makes no GL calls, so a race also runs headless; only drawRaceFrame draws.
#pragma once

#include "content/track_loading.h"
#include "physics/physics_world.h"
#include "physics/vector_math.h"
#include "race/ai_path.h"

#include <cstdint>
#include <string>

class SbmModel;
struct RaceCar;

// A race time: whole minutes and seconds and fractional hundredths.
struct RaceClock {
    int32_t minutes = 0;
    int32_t seconds = 0;
    float hundredths = 0.0f;
};

// Clocks compare as minutes * 10000 + seconds * 100 + hundredths.
float clockValue(const RaceClock& clock);
// Adds hundredths, carrying 100 hundredths into a second and 60 seconds into a minute.
void advanceClock(RaceClock& clock, float hundredths);
// "M:SS.hh".
std::string formatClock(const RaceClock& clock);

constexpr int raceCarCount = 4;
// The longest simulation step; a frame that would need more is not simulated.
constexpr float maxStepDt = 1.0f / 17.0f;
// The world runs this much faster than the clock on the wall.
constexpr float worldTimeScale = 2.5f;
constexpr int worldSubSteps = 4;

extern int32_t lapsTotal;
extern int32_t playerPlace;
extern bool countdownActive;
extern bool raceFinished;
// Seconds since the current phase began: the start sequence, then (restarted at
// the finish) the results.
extern float phaseTimer;
extern RaceClock raceClock;
extern RaceClock lapClock;
extern RaceClock bestLap;
// The player's completed laps and the time of the last one (lapClock restarts
// at the line, so this keeps what it showed there).
extern int32_t playerLapsCompleted;
extern RaceClock lastLapTime;
extern float stepDt;
// The race's physics world; null between races.
extern physics::PhysicsWorld* raceWorld;
// Which of the three intro fly-arounds this race shows (0..2).
extern int32_t introPath;

// The grid position of car 0 on a track slot 1..30 (the other cars stand 4.5,
// 9 and 13.5 further along +z). Slots outside 1..30 get the slot 1 position.
Vec3 startPosition(int trackSlot);

// Loads track slot `track` (its layers, the cars' looks, the race music) and
// sets the race up on it. False when the slot cannot be raced: its layers were
// refused or it has no usable driving line; then nothing of it stays loaded.
bool startRace(int track, const TrackLoadOptions& options = {});
// Sets the race up on the loaded track: reads the slot's driving line
// (base/maps/<N>/points/level.ai), then flags, clocks, camera, the world and the
// four cars on its collision layer. Without a usable driving line or without a
// collision layer with ground (map.sbm missing, damaged or empty) no race is set
// up: a line on the standard error stream says why, false, and no world.
bool setUpRace();
// Races set up so far; tools notice a new race by it.
extern int32_t raceSetUpCount;
// The same on a given collision model and grid position (tests and tools).
void setUpRaceAt(Vec3 start, const SbmModel* collision);
// Stops the race sounds and destroys the world with every body in it.
void releaseRaceWorld();
// Leaves the race for the menus (or a restart): world, race sounds, track
// layers and race music released, start-of-race flags reset.
void leaveRace();

// The smoothed step of one frame of f hundredths (updates stepDt). True when the
// frame is simulated (the step stays below the cap).
bool advanceStep(float f);

// One race frame of f hundredths without drawing, as the frame driver runs it:
// the simulation frame, then the start-sequence clock while the start overlay
// would show.
void headlessRaceFrame(float f);

// Draws the cars lit and reflecting, then the lamp halos (the only GL in the
// race). Their glass comes later, over the whole picture.
void drawRaceFrame();
// One simulation frame: clocks, cars, traffic, the physics step.
void raceSimulationFrame();
// Length of the player car's velocity, stored by the player's drive (0 when no race runs).
float playerSpeed();

// Checkpoint, lap and place rules for one car after its driving update; car 0
// is the player. Returns true when the car passed its next checkpoint.
bool passCheckpoints(RaceCar& car);
// The player's place: 4 minus the computer cars strictly behind on points passed.
int32_t placeFor(int32_t playerPoints, const int32_t computerPoints[3]);

// Drives computer car 1..3 for one simulated frame of f hundredths: the
// computer driver, or whatever a test puts in its place.
extern void (*computerDriverUpdate)(RaceCar& car, float f);

// Writes the cars' body and wheel frames and lamps for the car drawing.
void updateCarPlacements();
