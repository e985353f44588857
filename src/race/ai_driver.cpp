#include "race/ai_driver.h"

#include "frontend/career_state.h"
#include "race/ai_path.h"
#include "race/car_dynamics.h"
#include "race/car_sounds.h"
#include "race/race_flow.h"

#include <algorithm>
#include <cmath>
#include <limits>

float computerSkidLevel = 0.0f;
int32_t carsRighted = 0;

namespace {

constexpr float targetReach = 15.0f;       // the target point counts as reached inside this
constexpr float fractionReach = 22.5f;     // progress counts the last 22.5 units to the target
constexpr float followCone = 0.9424779f;   // another car ahead within this angle is followed
constexpr float topTargetSpeed = 30.0f;
constexpr float steerGain = 1.2f;
constexpr float steerLock = 0.7f;
constexpr float wheelRoll = 1.0995574f;
constexpr float stuckSpeed = 0.3f;
constexpr float stuckTime = 4.5f;
constexpr float slowSpeed = 1.5f;
constexpr float slowTime = 3.0f;

// The computer cars' shared skid level (their wheel dust).
void updateSkid(const RaceCar& car, float speed, bool braking, float f) {
    if (car.rearGrip >= 0.75f || speed <= 5.4f) computerSkidLevel -= 0.005f * f;
    else computerSkidLevel += 0.005f * f;
    if (braking) computerSkidLevel += 0.005f * f;
    computerSkidLevel = std::clamp(computerSkidLevel, 0.0f, 1.0f);
}

// Distance and angle to the nearest other computer car (the player is not looked at).
void nearestRival(const RaceCar& car, Vec3 position, float& distance, float& angle) {
    distance = std::numeric_limits<float>::infinity();
    angle = 0.0f;
    for (int i = 1; i < raceCarCount; ++i) {
        const RaceCar& other = raceCars[i];
        if (&other == &car || !other.body) continue;
        const Vec3 at = physics::getPosition(other.body);
        const float d = length(at - position);
        if (d < distance) {
            distance = d;
            angle = angleTo(car, at);
        }
    }
}

// No line to follow: stand still (held during the countdown, braked after).
void standStill(RaceCar& car) {
    if (countdownActive) {
        holdCar(car);
        return;
    }
    car.steerAngle = 0.0f;
    car.driveForce = haltingForce(car, 100.0f);
}

}  // namespace

int32_t wrapPathIndex(int32_t index, int32_t last) {
    const int32_t count = last + 1;
    if (count <= 0) return 0;
    return ((index % count) + count) % count;
}

float computerBoost(float progress) {
    const float d = 4.0f - progress;
    if (d >= 0.0f) return std::min(2.0f, 1.0f + std::pow(d, 2.5f) * 0.01f);
    return std::max(0.5f, 1.0f - d * d * 0.75f);
}

float followingRange(float progress) { return 30.0f * std::clamp(progress * 0.1f - 1.0f, 0.0f, 1.0f); }

float computerTargetSpeed(float lookAheadAngle) {
    const float a = std::fabs(lookAheadAngle);
    if (a <= 0.2f) return topTargetSpeed;
    return topTargetSpeed - std::min(a - 0.2f, 1.0f) * 27.0f;
}

float computerTargetRpm(int32_t shownGear, float speed) {
    switch (shownGear) {
    case 1:
    case -1: return speed * 777.7f + 1000.0f;
    case 2: return speed * 542.6f + 1000.0f;
    case 3: return speed * 388.8f + 1000.0f;
    case 4: return speed * 318.2f + 1000.0f;
    case 5: return speed * 272.7f + 1000.0f;
    default: return 1000.0f;
    }
}

void resetComputerDrivers() {
    computerSkidLevel = 0.0f;
    carsRighted = 0;
}

void computerDriverFrame(RaceCar& car, float f) {
    if (!car.body) return;
    if (aiPathLast < 0) {
        standStill(car);
        return;
    }
    const int32_t last = aiPathLast;
    // A line loaded under a running race may be shorter than the indices.
    car.targetPoint = wrapPathIndex(car.targetPoint, last);
    car.lookAheadPoint = wrapPathIndex(car.lookAheadPoint, last);

    const Mat4 pose = physics::getPose(car.body);
    const Vec3 position = posePosition(pose);
    const Vec3 velocity = physics::getLinearVelocity(car.body);
    const float speed = length(velocity);
    const bool forwards = movingForwards(car);
    const bool running = !countdownActive && !raceFinished;

    // Wheel 0's drawn spin gets an extra turn with the forward speed.
    car.wheelSpin[0] -= std::fabs(dot(velocity, matRow(pose, 0))) * (forwards ? 1.0f : -1.0f) * wheelRoll * f;

    // Progress along the race: points reached, the way to the next, laps behind.
    const Vec3 target = pointPosition(aiPath[car.targetPoint]);
    const float toTarget = length(target - position);
    car.fraction = std::clamp((fractionReach - toTarget) / fractionReach, 0.0f, 1.0f);
    if (!raceFinished)
        car.progress = float(car.targetPoint) + car.fraction + float(last) * float(std::max(car.lapsDone - 1, 0));

    const float power = effectiveSpeedRating(workingCar) * 2.25f * computerBoost(car.progress);

    // Keep a distance from a computer car ahead, once the field has spread out.
    const float range = followingRange(car.progress);
    float rivalDistance = 0.0f, rivalAngle = 0.0f;
    nearestRival(car, position, rivalDistance, rivalAngle);
    const float obstacle = std::fabs(rivalAngle) < followCone && rivalDistance < range ? rivalDistance : range;

    car.targetRpm = computerTargetRpm(car.shownGear, speed);
    car.engineRpm += (car.targetRpm - car.engineRpm) * 0.075f * f;
    countdownRevving(car, f);
    computerEngineSound(car);

    // Slow for the bend the look-ahead point shows.
    float wanted = computerTargetSpeed(angleTo(car, pointPosition(aiPath[car.lookAheadPoint])));

    if (toTarget < targetReach) car.targetPoint = wrapPathIndex(car.targetPoint + 1, last);
    const int32_t ahead = car.targetPoint + int32_t(std::floor(speed * 0.35f + 1.0f));
    car.lookAheadPoint = std::max(car.lookAheadPoint, ahead);
    if (car.lookAheadPoint > last) car.lookAheadPoint = wrapPathIndex(car.lookAheadPoint, last);

    // Stuck for good: put it back on its wheels.
    if (speed < stuckSpeed && running) {
        car.stuckTimer += 0.01f * f;
        if (car.stuckTimer > stuckTime) {
            if (rightCar(car, f)) ++carsRighted;
            car.stuckTimer = 0.0f;
        }
    } else {
        car.stuckTimer = 0.0f;
    }

    // Slow for a while: back off for half as long.
    if (!car.reversing) {
        if (speed < slowSpeed && running) {
            car.reverseTimer += 0.01f * f;
            if (car.reverseTimer > slowTime) car.reversing = true;
        } else if (speed >= slowSpeed) {
            car.reverseTimer = 0.0f;
        }
    }
    if (car.reversing) {
        car.brakeLights = 0.0f;
        car.reverseLights = 1.0f;
        wanted = -topTargetSpeed;
        car.driveForce = power * -160.0f;
        car.reverseTimer -= 0.02f * f;
        if (car.reverseTimer <= 0.0f) {
            car.reversing = false;
            car.reverseTimer = 0.0f;
        }
    }

    const bool accelerating = speed < wanted && !car.reversing;
    const bool braking = speed >= wanted && !car.reversing;
    if (accelerating) {
        car.brakeLights = 0.0f;
        car.reverseLights = 0.0f;
        car.shownGear = car.gear;
        // Exactly on a band's edge the previous gear and force stay.
        if (speed > 0.0f && speed < 9.0f) {
            car.gear = 1;
            car.driveForce = power * 140.0f;
        } else if (speed > 9.0f && speed <= 12.9f) {
            car.gear = 2;
            car.driveForce = power * 120.0f;
        } else if (speed > 12.9f && speed < 18.0f) {
            car.gear = 3;
            car.driveForce = power * 100.0f;
        } else if (speed > 18.0f && speed < 22.0f) {
            car.gear = 4;
            car.driveForce = power * 80.0f;
        } else if (speed > 22.0f) {
            car.gear = 5;
            car.driveForce = power * 60.0f;
        }
    }
    float brakeForce = 0.0f;
    if (braking) {
        car.brakeLights = 1.0f;
        car.reverseLights = 0.0f;
        const float b = std::fabs(speed - wanted) * 10.0f;
        const float magnitude = speed >= 1.0f ? b + 120.0f : (b + 50.0f) * std::sqrt(speed);
        brakeForce = forwards ? -magnitude : magnitude;
    }
    updateSkid(car, speed, braking, f);

    float followForce = 0.0f;
    const bool following = obstacle < range && !car.reversing && running;
    if (following) {
        const float k = std::max(1.0f, (range - obstacle) * 10.0f / range);
        followForce = forwards ? -k * speed : k * speed;
    }
    if (braking || following) car.driveForce = brakeForce + followForce;
    if (rivalDistance < 0.5f * range && std::fabs(followForce) > 0.1f) car.brakeLights = 1.0f;

    const Vec3 steerTarget = pointPosition(aiPath[car.targetPoint]);
    car.steerAngle = std::clamp(steerGain * angleTo(car, steerTarget), -steerLock, steerLock);

    if (countdownActive) holdCar(car);
    if (raceFinished) {
        // Let go and coast to a halt.
        car.steerAngle = 0.0f;
        car.driveForce = haltingForce(car, 1.0f);
    }

    passCheckpoints(car);
}
