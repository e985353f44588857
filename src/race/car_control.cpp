#include "race/car_control.h"

#include "app/input.h"
#include "app/settings.h"
#include "frontend/career_state.h"
#include "race/car_dynamics.h"
#include "race/car_sounds.h"
#include "race/race_flow.h"

#include <algorithm>
#include <cmath>

float fieldOfViewBoost = 0.0f;
float playerSkidLevel = 0.0f;
float playerCarSpeed = 0.0f;

namespace {

enum Binding { steerLeft = 0, steerRight = 1, accelerate = 2, brake = 3, nitroKey = 4 };

bool nitroBurning = false;

bool held(Binding b) { return isKeyHeld(gameSettings.keys[b]); }

// This frame's wishes from the keys and the controllers together. A held key
// counts as the full amount, so the keyboard drives exactly as it always has.
struct DriveWish {
    float throttle = 0.0f;  // 0..1
    float brake = 0.0f;     // 0..1
    float steer = 0.0f;     // analog share of full lock -1..1 (positive left), used when no steering key is held
    bool nitro = false;
};

DriveWish driveWish() {
    const PadDrive pad = padDrive();
    DriveWish wish;
    wish.throttle = held(accelerate) ? 1.0f : pad.throttle;
    wish.brake = held(brake) ? 1.0f : pad.brake;
    wish.steer = pad.steer;
    wish.nitro = held(nitroKey) || pad.nitro;
    return wish;
}

void setNitroSound(bool on) {
    if (on == nitroBurning) return;
    nitroBurning = on;
    nitroSound(on);
}

// The gear sound announces a gear once it is in use.
void announceGear(RaceCar& car) {
    if (car.shownGear == car.gear) return;
    gearChangeSound();
    car.shownGear = car.gear;
}

// Burns or refills the nitro reserve; returns the drive factor.
float updateNitro(RaceCar& car, float f, bool wanted) {
    float factor = 1.0f;
    if (!wanted) {
        car.nitro = std::min(100.0f, car.nitro + 0.03f * f);
        fieldOfViewBoost = std::max(0.0f, fieldOfViewBoost - 0.01f * f);
        setNitroSound(false);
    } else if (car.nitro > 0.0f) {
        car.nitro -= 0.3f * f;
        factor = 1.25f;
        fieldOfViewBoost = std::min(1.0f, fieldOfViewBoost + 0.02f * f);
        setNitroSound(true);
    }
    if (car.nitro <= 0.0f) {
        car.nitro = 0.0f;
        fieldOfViewBoost = std::max(0.0f, fieldOfViewBoost - 0.02f * f);
        setNitroSound(false);
    }
    return factor;
}

void updateThrottle(RaceCar& car, float f, float speed, float power, const DriveWish& wish) {
    const bool accelerating = wish.throttle > 0.0f;
    const bool braking = wish.brake > 0.0f;
    if (!accelerating && !braking) {
        // Letting go of the brake at a near stop arms reversing.
        if (car.brakeHeld && speed < 1.0f) car.reverseArmed = true;
        car.driveForce = 0.0f;
        car.brakeLights = 0.0f;
    } else if (!accelerating) {
        car.brakeHeld = true;
        announceGear(car);
        if (!car.reverseArmed) {
            car.driveForce = haltingForce(car, 180.0f * wish.brake);
            car.brakeLights = 1.0f;
            car.reverseLights = 0.0f;
            playerSkidLevel =
                std::max(playerSkidLevel, wish.brake * std::clamp((speed - 1.0f) * 0.2f, 0.0f, 1.0f));
        } else {
            car.gear = -1;
            // Above speed 9 the reverse drive is cut to a faint forward push, so
            // the car reverses at about 9. (Easing the full reverse force off by
            // 0.1 a tick would keep it pushing for seconds, on up to speed 36.)
            if (speed > 0.0f && speed <= 9.0f) car.driveForce = power * -140.0f * wish.brake;
            else car.driveForce = 0.1f * f;
            car.brakeLights = 0.0f;
            car.reverseLights = 1.0f;
        }
    } else {
        car.brakeLights = 0.0f;
        car.reverseLights = 0.0f;
        car.brakeHeld = false;
        car.reverseArmed = false;
        announceGear(car);
        // At a dead stop the previous gear and force stay.
        power *= wish.throttle;
        if (speed > 0.0f && speed <= 10.0f) {
            car.gear = 1;
            car.driveForce = power * 140.0f;
        } else if (speed > 10.0f && speed <= 16.5f) {
            car.gear = 2;
            car.driveForce = power * 120.0f;
        } else if (speed > 16.5f && speed <= 23.3f) {
            car.gear = 3;
            car.driveForce = power * 100.0f;
        } else if (speed > 23.3f && speed <= 28.3f) {
            car.gear = 4;
            car.driveForce = power * 80.0f;
        } else if (speed > 28.3f) {
            car.gear = 5;
            car.driveForce = power * 60.0f;
        }
    }
}

void updateSteering(RaceCar& car, float f, float speed, float analogSteer) {
    // The lock narrows with speed; kept from turning over past speed 50.
    const float limit = 0.7f * std::max(0.0f, (50.0f - speed) * 0.02f);
    const float rate = (std::fabs(car.steerAngle) * 0.095f + 0.005f) * f;
    if (held(steerLeft)) {
        car.steerAngle = std::min(car.steerAngle + rate, limit);
    } else if (held(steerRight)) {
        car.steerAngle = std::max(car.steerAngle - rate, -limit);
    } else if (analogSteer != 0.0f) {
        // A stick or wheel sets its share of the keyboard's target; the angle
        // moves there at the keyboard's rate.
        const float target = analogSteer * limit;
        if (car.steerAngle < target) car.steerAngle = std::min(car.steerAngle + rate, target);
        else car.steerAngle = std::max(car.steerAngle - rate, target);
    } else {
        car.steerAngle = 0.0f;
    }
}

}  // namespace

float playerTargetRpm(int shownGear, float speed) {
    switch (shownGear) {
    case 0: return 1000.0f;
    case 1:
    case -1: return speed * 650.0f + 1000.0f;
    case 2: return speed * 393.9f + 1000.0f;
    case 3: return speed * 278.9f + 1000.0f;
    case 4: return speed * 229.6f + 1000.0f;
    case 5: return speed * 195.2f + 1000.0f;
    default: return 1000.0f;
    }
}

void playerControl(RaceCar& car, float f) {
    const float speed = carSpeed(car);
    playerCarSpeed = speed;
    const float power = effectiveSpeedRating(workingCar) * 1.75f;

    const DriveWish wish = driveWish();
    const float nitroFactor = updateNitro(car, f, wish.nitro);
    updatePlayerSkid(car, f, speed);

    car.targetRpm = playerTargetRpm(car.shownGear, speed);
    const float gap = car.targetRpm - car.engineRpm;
    car.engineRpm += gap * 0.075f * f;

    updateThrottle(car, f, speed, power * nitroFactor, wish);
    updateSteering(car, f, speed, wish.steer);
    // The engine pulls while accelerating, and while the brake drives backwards.
    const bool onThrottle = wish.throttle > 0.0f || (wish.brake > 0.0f && car.reverseArmed);
    playerCarSounds(car, f, speed, onThrottle);

    if (countdownActive) holdCar(car);
    if (raceFinished) car.driveForce = haltingForce(car, 100.0f);
}

bool playerNitroBurning() { return nitroBurning; }

void resetPlayerControl() {
    setNitroSound(false);
    fieldOfViewBoost = 0.0f;
    playerSkidLevel = 0.0f;
    playerCarSpeed = 0.0f;
}
