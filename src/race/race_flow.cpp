#include "race/race_flow.h"

bool countdownActive = false;
bool raceFinished = false;
float phaseTimer = 0.0f;
int32_t playerPlace = 1;
float raceClock = 0.0f;
float lapClock = 0.0f;
float bestLap = 0.0f;

void setUpRace() {}
void releaseRaceWorld() {}
void drawRaceFrame() {}
void raceSimulationFrame() {}
float playerSpeed() { return 0.0f; }
