#include "race/traffic.h"

#include "app/settings.h"
#include "content/car_loading.h"
#include "race/ai_path.h"
#include "race/car_dynamics.h"
#include "race/car_sounds.h"
#include "race/race_flow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

int32_t trafficLevel = 1;
TrafficCar trafficCars[trafficCapacity];
int32_t trafficInPlay = 0;
float trafficBlinkPhase = 0.0f;
int32_t trafficHornChoice = 0;
int32_t trafficPlacementCount = 0;
TrafficCarCallback trafficCarCallback;

namespace {

constexpr float rightAngle = 1.570796f;
constexpr float pi = 3.14159265f;
constexpr WheelModel trafficWheels{trafficBody::sideGrip, trafficBody::airDrag};
// Axle distances by city car model; the wheels stand at distance / 1.67 x 0.77.
constexpr TrafficAxles axleTable[4] = {{4.45f, 3.32f}, {4.45f, 3.92f}, {4.45f, 3.32f}, {4.45f, 3.92f}};

int32_t wrapIndex(int32_t k) {
    const int32_t count = aiPathLast + 1;
    return ((k % count) + count) % count;
}

Vec3 pathPoint(int32_t k) { return pointPosition(aiPath[wrapIndex(k)]); }

// Five units to the right of a direction: the normalised direction turned a
// quarter turn clockwise seen from above (+x to +z).
Vec3 rightOf(Vec3 direction) {
    const Vec3 n = normalise(direction);
    return Vec3{-n.z, n.y, n.x} * trafficLaneOffset;
}

bool trafficMovingForwards(const TrafficCar& car) {
    const Vec3 forward = matRow(physics::getPose(car.body), 0);
    return std::fabs(horizontalAngle(forward, physics::getLinearVelocity(car.body))) < rightAngle;
}

Vec3 playerPosition() {
    const RaceCar& player = raceCars[0];
    return player.body ? physics::getPosition(player.body) : Vec3{};
}

// The car waits off the track, held still so it neither falls nor costs the world anything.
void wait(TrafficCar& car) {
    physics::setPosition(car.body, car.waitingPlace);
    physics::setLinearVelocity(car.body, {});
    physics::setAngularMomentum(car.body, {});
    car.driveForce = 0.0f;
    car.steerAngle = 0.0f;
}

void signalPlayer(TrafficCar& car, float d) {
    const Vec3 position = physics::getPosition(car.body);
    if (d > 15.0f && d < 25.0f) {
        if (car.hornTimer <= 0.0f) trafficHornChoice = std::rand() % 3;
        car.hornTimer = 1.0f;
        const RaceCar& player = raceCars[0];
        const Vec3 relative = physics::getLinearVelocity(player.body) - physics::getLinearVelocity(car.body);
        trafficHornSound(trafficHornChoice, position, relative);
    }
    if (d > 10.0f && d < 70.0f) car.flashTimer = 1.0f;
}

}  // namespace

void setTrafficLevelFromSettings() { trafficLevel = gameSettings.cityTraffic; }

TrafficAxles trafficAxles(int32_t model) { return axleTable[std::clamp(model, 0, 3)]; }

void createTrafficCar(TrafficCar& car, physics::PhysicsWorld* world, Vec3 position) {
    using namespace physics;
    car = TrafficCar{};
    car.model = std::rand() % 4;
    car.waitingPlace = position;
    RigidBody* body = createRigidBody(world);
    car.body = body;
    if (!body) return;

    Geometry* box = createGeometry(body);
    setBoxSize(box, trafficBody::boxExtents);
    setGeometryOffset(box, translationMatrix(trafficBody::boxOffset));
    setGeometryMaterial(box, 0);
    for (const Vec3& anchor : wheelAnchors) setSensorRay(createSensor(body), anchor, {0.0f, -1.0f, 0.0f});
    setMass(body, trafficBody::mass);
    setInertia(body, boxInertia(trafficBody::inertiaHalfExtents, trafficBody::mass));
    setRestSpeed(body, 0.01f);
    setMayRest(body, 1);
    setUserPointer(body, &car);
    setPosition(body, position);
    car.controller = createController(body, &trafficCarCallback);
    car.frontWheelDirection = matRow(getPose(body), 0);
}

void setUpTraffic(physics::PhysicsWorld* world, int32_t n) {
    releaseTraffic();
    trafficInPlay = std::clamp(n, 0, 2);
    trafficBlinkPhase = 0.0f;
    trafficPlacementCount = 0;
    for (int i = 0; i < trafficInPlay; ++i)
        createTrafficCar(trafficCars[i], world, {20.0f * float(i + 1), -10000.0f, 0.0f});
}

void releaseTraffic() {
    for (TrafficCar& car : trafficCars) {
        car.body = nullptr;
        car.controller = nullptr;
        car.needsPlacing = true;
    }
    for (CarPlacement& placement : trafficPlacements) placement.shown = false;
    trafficInPlay = 0;
}

Vec3 trafficLanePoint(int32_t from, int32_t to) {
    if (aiPathLast < 0) return {};
    const Vec3 q = pathPoint(to);
    return q + rightOf(q - pathPoint(from));
}

int32_t trafficPlacementPoint(Vec3 player, int32_t from) {
    if (aiPathLast < 0) return -1;
    for (int32_t j = 0; j < trafficSearchPoints; ++j) {
        const int32_t k = wrapIndex(from + j);
        const float d = length(pathPoint(k) - player);
        if (d > trafficPlacedBeyond && d < trafficPlacedWithin) return k;
    }
    return -1;
}

void placeTrafficCar(TrafficCar& car, int32_t s, int32_t direction) {
    if (!car.body || aiPathLast < 0) return;
    s = wrapIndex(s);
    const int32_t step = direction == 0 ? 1 : -1;
    const int32_t before = wrapIndex(s - step), next = wrapIndex(s + step);
    const Vec3 a = trafficLanePoint(before, s);
    const Vec3 c = trafficLanePoint(s, next);

    Vec3 forward = normalise(Vec3{c.x - a.x, 0.0f, c.z - a.z});
    if (lengthSquared(forward) == 0.0f) forward = {1.0f, 0.0f, 0.0f};
    const Vec3 up{0.0f, 1.0f, 0.0f};
    Mat3 rotation;
    rotation.row[0] = forward;
    rotation.row[1] = up;
    rotation.row[2] = cross(forward, up);  // the car's right

    physics::setLinearVelocity(car.body, {});
    physics::setAngularMomentum(car.body, {});
    physics::setOrientation(car.body, rotation);
    physics::setPosition(car.body, a + Vec3{0.0f, 0.5f, 0.0f});
    car.direction = direction == 0 ? 0 : 1;
    car.model = std::rand() % 4;
    car.pathIndex = next;
    car.needsPlacing = false;
    car.reversing = false;
    car.reverseTimer = 0.0f;
    car.driveForce = 0.0f;
    car.steerAngle = 0.0f;
    car.frontWheelDirection = forward;
    ++trafficPlacementCount;
}

void trafficPlacementPass() {
    if (trafficInPlay <= 0 || aiPathLast < 0 || !raceCars[0].body) return;
    const Vec3 player = playerPosition();
    bool placed = false;
    for (int i = 0; i < trafficInPlay; ++i) {
        TrafficCar& car = trafficCars[i];
        if (!car.body) continue;
        if (length(physics::getPosition(car.body) - player) > trafficTakenAwayBeyond) car.needsPlacing = true;
        if (!car.needsPlacing || placed) continue;

        const int32_t s = trafficPlacementPoint(player, raceCars[0].nextCheckpoint);
        if (s < 0) continue;
        bool crowded = false;
        for (int j = 0; j < trafficInPlay; ++j) {
            const TrafficCar& other = trafficCars[j];
            if (j == i || !other.body || other.needsPlacing) continue;
            crowded = crowded || length(physics::getPosition(other.body) - pathPoint(s)) < trafficSpacing;
        }
        if (crowded) continue;
        placeTrafficCar(car, s, std::rand() % 2);
        placed = true;
    }
}

void trafficControl(TrafficCar& car, float f) {
    if (!car.body || aiPathLast < 0) return;
    if (car.needsPlacing) {
        wait(car);
        return;
    }
    const Vec3 position = physics::getPosition(car.body);
    const Vec3 velocity = physics::getLinearVelocity(car.body);
    const float speed = length(velocity);
    const bool forwards = trafficMovingForwards(car);

    // 1. The wheels roll with the car (the angle falls as they roll forwards).
    car.driveForce = 0.0f;
    const Vec3 bodyForward = matRow(physics::getPose(car.body), 0);
    car.wheelSpin -= std::fabs(dot(velocity, bodyForward)) * (forwards ? 1.5707964f : -1.5707964f) * f;
    car.wheelSpin = std::fmod(car.wheelSpin, 360.0f);

    // 2, 3. The lane point of the path point, and the angle to it from the way the car moves.
    car.pathIndex = wrapIndex(car.pathIndex);
    const int32_t from = car.direction == 0 ? car.pathIndex - 1 : car.pathIndex + 1;
    const Vec3 aim = trafficLanePoint(from, car.pathIndex);
    float a = horizontalAngle(normalise(velocity), aim - position);

    // 4. Blinkers before a turn.
    if (a > 0.2f) {
        car.leftBlinker = 1.0f;
        car.rightBlinker = 0.0f;
    } else if (a < -0.2f) {
        car.rightBlinker = 1.0f;
        car.leftBlinker = 0.0f;
    }
    if (car.leftBlinker > 0.0f) car.leftBlinker -= 0.005f * f;
    if (car.rightBlinker > 0.0f) car.rightBlinker -= 0.005f * f;
    trafficBlinkPhase += 0.065f * f;
    const float blink = 0.5f * std::sin(trafficBlinkPhase) + 0.5f;
    car.leftLamp = car.leftBlinker > 0.0f ? blink : 0.0f;
    car.rightLamp = car.rightBlinker > 0.0f ? blink : 0.0f;

    // 5, 6. Headlight flashes at the player coming up, the horn when the player is near.
    car.headlight = car.flashTimer > 0.0f ? std::sin(1.5f * trafficBlinkPhase) : 1.0f;
    if (raceCars[0].body) signalPlayer(car, length(playerPosition() - position));
    if (car.hornTimer > 0.0f) car.hornTimer -= 0.002f * f;
    if (car.flashTimer > 0.0f) car.flashTimer -= 0.01f * f;

    // 7. Slow through turns.
    float target = std::fabs(a) > 0.3f ? 4.0f : 6.0f;

    // 8. The next point once this one is near.
    if (length(position - pathPoint(car.pathIndex)) < 7.5f)
        car.pathIndex = wrapIndex(car.pathIndex + (car.direction == 0 ? 1 : -1));

    // 9. Stuck: back off for a second and a half after three seconds nearly still.
    const bool racing = !countdownActive && !raceFinished;
    if (speed < 1.0f && !car.reversing && racing) {
        car.reverseTimer += 0.01f * f;
        if (car.reverseTimer > 3.0f) car.reversing = true;
    }
    if (speed >= 1.0f && !car.reversing) car.reverseTimer = 0.0f;
    if (car.reversing) {
        target = -40.0f;
        car.driveForce = -70.0f;
        a *= 100.0f;
        car.reverseTimer -= 0.02f * f;
        if (car.reverseTimer <= 0.0f) {
            car.reversing = false;
            car.reverseTimer = 0.0f;
        }
    } else if (speed < target) {
        // 10. Drive, or brake down to the target speed.
        car.driveForce = 40.0f;
    } else {
        const float brake = speed < 1.0f ? 40.0f * std::sqrt(speed) : 40.0f;
        car.driveForce = forwards ? -brake : brake;
    }

    // 11.
    car.steerAngle = std::clamp(1.2f * a, -0.7f, 0.7f);
}

void trafficForces(TrafficCar& car, Vec3& force, Vec3& torque) {
    force = torque = Vec3{};
    if (!car.body) return;
    const Mat4 pose = physics::getPose(car.body);
    car.frontWheelDirection = matRow(rotationY(car.steerAngle) * pose, 0);
    const WheelForces w = wheelForces(car.body, trafficWheels, car.suspension, car.frontWheelDirection,
                                      car.steerAngle, car.driveForce);
    force = w.force;
    torque = w.torque;
}

void TrafficCarCallback::update(physics::Controller* controller) {
    physics::RigidBody* body = physics::controllerBody(controller);
    auto* car = static_cast<TrafficCar*>(physics::getUserPointer(body));
    if (!car) return;
    Vec3 force, torque;
    trafficForces(*car, force, torque);
    physics::setControllerForce(controller, force);
    physics::setControllerTorque(controller, torque);
    // Also the body's own: a traffic car that has come to rest wakes up.
    physics::setBodyForce(body, force);
    physics::setBodyTorque(body, torque);
}

void trafficFrame(float f) {
    if (trafficInPlay <= 0) return;
    trafficPlacementPass();
    for (int i = 0; i < trafficInPlay; ++i) trafficControl(trafficCars[i], f);
}

void updateTrafficPlacements() {
    constexpr float degrees = pi / 180.0f;
    for (int i = 0; i < trafficCapacity; ++i) {
        const TrafficCar& car = trafficCars[i];
        CarPlacement& placement = trafficPlacements[i];
        placement.shown = i < trafficInPlay && car.body && !car.needsPlacing;
        if (!placement.shown) continue;
        placement.body = physics::getPose(car.body);
        const TrafficAxles axles = trafficAxles(car.model);
        const float frontX = axles.front / 1.67f * 0.77f, rearX = -axles.rear / 1.67f * 0.77f;
        const Mat4 spin = rotationZ(car.wheelSpin * degrees);
        for (int w = 0; w < 4; ++w) {
            const bool front = w < 2, left = w == 1 || w == 3;
            const Vec3 at{front ? frontX : rearX, -(car.suspension[w] - 0.47f), left ? -1.06f : 1.06f};
            Mat4 local = spin;
            if (front) local = local * rotationY(car.steerAngle * 57.324f * degrees);
            // The wheel model's outer face is +z: the left pair turns round.
            if (left) local = rotationX(-pi) * local;
            placement.wheels[w] = local * translationMatrix(at) * placement.body;
        }
        placement.bodyHeight = defaultBodyHeight;
        placement.lights[0] = std::max(car.headlight, 0.0f);
        placement.lights[1] = car.leftLamp;
        placement.lights[2] = car.rightLamp;
    }
}
