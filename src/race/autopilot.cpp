#include "race/autopilot.h"

#include "app/input.h"
#include "app/settings.h"
#include "race/ai_path.h"
#include "race/car_dynamics.h"
#include "race/race_flow.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float wheelBase = 4.0f;
constexpr float lateralGrip = 5.5f;     // sideways acceleration it corners at (the tyres give up to 8)
constexpr float braking = 2.5f;         // deceleration it plans with (the brakes give about 3.6)
constexpr float maxPlannedSpeed = 60.0f;

enum class Recovery { None, Stop, Release, Reverse };

struct Pilot {
    int32_t index = 0;                // path point nearest the car
    std::vector<float> segment;       // length from point i to point i + 1
    std::vector<float> limit;         // corner speed at point i
    float stuckTime = 0.0f;
    Recovery recovery = Recovery::None;
    float recoveryTime = 0.0f;
    float reverseSteer = 0.0f;
};

Pilot pilot;

int32_t pointCount() { return aiPathLast + 1; }
int32_t wrap(int32_t i) {
    const int32_t n = pointCount();
    return ((i % n) + n) % n;
}
Vec3 point(int32_t i) { return pointPosition(aiPath[wrap(i)]); }

Vec3 carPosition() { return physics::getPosition(raceCars[0].body); }

float flatDistance(Vec3 a, Vec3 b) { return std::hypot(a.x - b.x, a.z - b.z); }

// The point `distance` along the line from the car's nearest point.
Vec3 pointAhead(float distance) {
    int32_t i = pilot.index;
    for (int32_t guard = 0; guard < pointCount(); ++guard) {
        const float seg = pilot.segment[size_t(wrap(i))];
        if (distance <= seg || seg <= 0.0f) {
            const float t = seg > 0.0f ? distance / seg : 0.0f;
            return point(i) + (point(i + 1) - point(i)) * t;
        }
        distance -= seg;
        ++i;
    }
    return point(i);
}

void learnPath() {
    const int32_t n = pointCount();
    pilot.segment.assign(size_t(n), 0.0f);
    pilot.limit.assign(size_t(n), maxPlannedSpeed);
    for (int32_t i = 0; i < n; ++i) pilot.segment[size_t(i)] = flatDistance(point(i), point(i + 1));
    if (n < 3) return;
    for (int32_t i = 0; i < n; ++i) {
        // Turn over a window of about 12 units each side of the point.
        int32_t back = i, ahead = i;
        float before = 0.0f, after = 0.0f;
        for (int32_t k = 0; k < n / 2 && before < 12.0f; ++k) before += pilot.segment[size_t(wrap(--back))];
        for (int32_t k = 0; k < n / 2 && after < 12.0f; ++k) after += pilot.segment[size_t(wrap(ahead++))];
        const Vec3 in = point(i) - point(back), out = point(ahead) - point(i);
        const float turn = std::fabs(std::atan2(in.z * out.x - in.x * out.z, in.x * out.x + in.z * out.z));
        const float curvature = turn / std::max(1.0f, 0.5f * (before + after));
        pilot.limit[size_t(i)] = cornerSpeed(curvature);
    }
}

void findCar(int32_t searchAhead) {
    const Vec3 p = carPosition();
    int32_t best = pilot.index;
    float bestDistance = flatDistance(p, point(best));
    for (int32_t k = 1; k <= searchAhead; ++k) {
        const float d = flatDistance(p, point(pilot.index + k));
        if (d < bestDistance) {
            bestDistance = d;
            best = wrap(pilot.index + k);
        }
    }
    pilot.index = best;
}

// The fastest speed from which every corner ahead can still be braked for.
float plannedSpeed(float speed) {
    const float horizon = speed * speed / (2.0f * braking) + 20.0f;
    float allowed = maxPlannedSpeed;
    float distance = -flatDistance(carPosition(), point(pilot.index));
    for (int32_t k = 0; k < pointCount() && distance < horizon; ++k) {
        const int32_t i = wrap(pilot.index + k);
        const float d = std::max(0.0f, distance);
        const float v = pilot.limit[size_t(i)];
        allowed = std::min(allowed, std::sqrt(v * v + 2.0f * braking * d));
        distance += pilot.segment[size_t(i)];
    }
    return allowed;
}

// Wheel angle that puts the car on a circle through the aim point.
float pursuitAngle(const RaceCar& car, Vec3 aim) {
    const float alpha = angleTo(car, aim);
    const float reach = std::max(1.0f, flatDistance(carPosition(), aim));
    return std::atan(wheelBase * 2.0f * std::sin(alpha) / reach);
}

// The steering keys only grow the wheel angle while held and centre it at once
// when let go, so the pilot chases the wanted angle key by key.
void steerTowards(AutopilotKeys& keys, float current, float wanted) {
    if (std::fabs(wanted) < 0.01f || current * wanted < 0.0f) return;  // centre first
    if (current < wanted) keys.left = true;
    else keys.right = true;
}

void press(int binding, bool down) {
    const int32_t code = gameSettings.keys[binding];
    if (code > 0 && code < 256) KeyDown[code] = down ? 1 : 0;
}

void pressKeys(const AutopilotKeys& keys) {
    press(0, keys.left);
    press(1, keys.right);
    press(2, keys.accelerate);
    press(3, keys.brake);
    press(4, keys.nitro);
}

}  // namespace

float cornerSpeed(float curvature) {
    if (curvature <= 1e-4f) return maxPlannedSpeed;
    return std::min(maxPlannedSpeed, std::sqrt(lateralGrip / curvature));
}

void resetAutopilot() {
    pilot = Pilot{};
    if (aiPathLast < 0 || !raceCars[0].body) return;
    learnPath();
    pilot.index = 0;
    findCar(pointCount() - 1);
}

AutopilotKeys autopilotFrame(float f) {
    AutopilotKeys keys;
    const RaceCar& car = raceCars[0];
    if (aiPathLast < 0 || !car.body || pilot.segment.size() != size_t(pointCount())) {
        pressKeys(keys);
        return keys;
    }
    if (raceFinished) {
        pressKeys(keys);
        return keys;
    }
    findCar(20);
    const float speed = carSpeed(car);
    const float seconds = 0.01f * f;

    const Vec3 aim = pointAhead(7.0f + speed * 0.45f);
    const float wanted = pursuitAngle(car, aim);

    if (countdownActive) {
        keys.accelerate = true;
        pressKeys(keys);
        return keys;
    }

    // Stuck against something, or facing the wrong way: back off first.
    const bool facingAway = std::fabs(angleTo(car, aim)) > 1.9f;
    if (pilot.recovery == Recovery::None) {
        if (speed < 1.0f || (facingAway && speed < 4.0f)) pilot.stuckTime += seconds;
        else pilot.stuckTime = 0.0f;
        if (pilot.stuckTime > 1.2f) {
            pilot.recovery = Recovery::Stop;
            pilot.recoveryTime = 0.0f;
            pilot.stuckTime = 0.0f;
            pilot.reverseSteer = wanted > 0.0f ? -0.7f : 0.7f;
        }
    }
    if (pilot.recovery != Recovery::None) {
        pilot.recoveryTime += seconds;
        switch (pilot.recovery) {
        case Recovery::Stop:  // brake to a stop: that is what arms reversing
            keys.brake = true;
            if (speed < 0.8f && pilot.recoveryTime > 0.1f) {
                pilot.recovery = Recovery::Release;
                pilot.recoveryTime = 0.0f;
            } else if (pilot.recoveryTime > 3.0f) {
                pilot.recovery = Recovery::None;
            }
            break;
        case Recovery::Release:
            if (pilot.recoveryTime > 0.05f) {
                pilot.recovery = Recovery::Reverse;
                pilot.recoveryTime = 0.0f;
            }
            break;
        case Recovery::Reverse:
            keys.brake = true;
            steerTowards(keys, car.steerAngle, pilot.reverseSteer);
            if (pilot.recoveryTime > 1.4f) pilot.recovery = Recovery::None;
            break;
        case Recovery::None:
            break;
        }
        pressKeys(keys);
        return keys;
    }

    steerTowards(keys, car.steerAngle, wanted);
    const float target = plannedSpeed(speed);
    if (speed < target - 0.3f) {
        keys.accelerate = true;
        keys.nitro = target - speed > 6.0f && speed > 8.0f && std::fabs(wanted) < 0.08f && car.nitro > 0.0f;
    } else if (speed > target + 1.0f && speed > 4.0f) {
        keys.brake = true;
    }
    pressKeys(keys);
    return keys;
}

void releaseAutopilotKeys() { pressKeys(AutopilotKeys{}); }
