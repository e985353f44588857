// The player's drive: the five bound keys, and the analog controls of a pad or
// wheel beside them, turned into drive force, gears, nitro, braking, reversing
// and steering.
#pragma once

struct RaceCar;

// The nitro screen effect, 0..1: rises while the nitro burns; widens the race
// projection and drives the post-processing.
extern float fieldOfViewBoost;
// Tyre skid level of the player's car, 0..1 (the skid sound follows it).
extern float playerSkidLevel;
// Length of the player car's velocity, stored by the drive for the HUD.
extern float playerCarSpeed;

// The engine speed the gear shown wants at a speed (player's gear ratios).
float playerTargetRpm(int shownGear, float speed);

// One simulated frame of f hundredths for car 0: reads the keys of steer left,
// steer right, accelerate, brake and nitro (a held key wins over a controller),
// the controllers' steering, triggers and nitro button, and the race's
// countdown and finish.
void playerControl(RaceCar& car, float f);

// The player's nitro is burning this frame.
bool playerNitroBurning();

// Stops the nitro sound and clears the nitro effect (a new race).
void resetPlayerControl();
