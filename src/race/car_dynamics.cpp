#include "race/car_dynamics.h"

#include "app/frame_timer.h"
#include "race/car_sounds.h"

#include <algorithm>
#include <cmath>

RaceCar raceCars[4];
RaceCarCallback raceCarCallback;

namespace {

constexpr float rightAngle = 1.570796f;
constexpr float quarterPi = 0.7853982f;

Vec3 flat(Vec3 v) { return {v.x, 0.0f, v.z}; }

}  // namespace

float horizontalAngle(Vec3 from, Vec3 to) {
    const Vec3 a = flat(from), b = flat(to);
    const float crossY = a.z * b.x - a.x * b.z;
    return std::atan2(crossY, dot(a, b));
}

void resetRaceCar(RaceCar& car) { car = RaceCar{}; }

void createCarBody(RaceCar& car, physics::PhysicsWorld* world, Vec3 position) {
    using namespace physics;
    RigidBody* body = createRigidBody(world);
    car.body = body;
    car.nitro = 100.0f;
    car.countdownTimer = 0.0f;
    if (!body) return;

    Geometry* box = createGeometry(body);
    setBoxSize(box, carBody::boxExtents);
    setGeometryOffset(box, translationMatrix(carBody::boxOffset));
    setGeometryMaterial(box, 0);
    for (const Vec3& anchor : wheelAnchors) setSensorRay(createSensor(body), anchor, {0.0f, -1.0f, 0.0f});
    setMass(body, carBody::mass);
    setInertia(body, boxInertia(carBody::inertiaHalfExtents, carBody::mass));
    setRestSpeed(body, 0.01f);
    setMayRest(body, 1);
    setUserPointer(body, &car);
    setPosition(body, position);
    car.controller = createController(body, &raceCarCallback);

    const Mat4 pose = getPose(body);
    car.startRotation = rotationPart(pose);
    car.startPositionOfBody = posePosition(pose);
    updateWheelFrames(car);
}

void updateWheelFrames(RaceCar& car) {
    if (!car.body) return;
    const Mat4 pose = physics::getPose(car.body);
    for (int i = 0; i < 4; ++i) {
        Vec3 anchor = wheelAnchors[i];
        anchor.y -= car.suspension[i] - carBody::wheelDrop;
        // The wheel models lie with their axle along z already, so the wheel needs
        // no quarter turn of its own; the front pair turns with the steering.
        Mat4 local = translationMatrix(anchor);
        if (i < 2) local = rotationY(car.steerAngle) * local;
        car.wheelFrames[i] = local * pose;
    }
    car.frontWheelDirection = matRow(car.wheelFrames[0], 0);
    car.flatForward = normalise(flat(matRow(pose, 0)));
}

void carPhysicsUpdate(RaceCar& car, physics::Controller* controller) {
    if (!physics::controllerBody(controller)) return;
    Vec3 force, torque;
    computeCarForces(car, force, torque);
    physics::setControllerForce(controller, force);
    physics::setControllerTorque(controller, torque);
}

WheelForces wheelForces(physics::RigidBody* body, const WheelModel& model, float suspension[4],
                        Vec3 frontWheelDirection, float steerAngle, float driveForce) {
    using namespace physics;
    WheelForces out;
    if (!body) return out;
    const Mat4 pose = getPose(body);
    const Vec3 position = posePosition(pose);
    const Vec3 forward = matRow(pose, 0);

    int i = 0;
    for (Sensor* sensor = firstSensor(body); sensor && i < 4; sensor = nextSensor(sensor), ++i) {
        const float spring = i < 2 ? carBody::frontSpring : carBody::rearSpring;
        const float depth = sensorDepth(sensor);
        suspension[i] = std::clamp(1.0f - depth, 0.7f, 0.9f);

        const Vec3 rolling = i < 2 ? frontWheelDirection : forward;
        const Vec3 anchorOffset = transformPoint(pose, wheelAnchors[i]) - position;
        const Vec3 anchorVelocity = pointVelocity(body, anchorOffset);
        const float sense = std::fabs(horizontalAngle(rolling, anchorVelocity)) >= rightAngle ? -1.0f : 1.0f;
        out.rollingSpeed[i] = std::fabs(dot(anchorVelocity, rolling)) * sense;

        if (depth == 0.0f) continue;

        const Vec3 normal = sensorContactNormal(sensor);
        const Vec3 down = transformDirection(pose, sensorRayDirection(sensor));
        const Vec3 r = transformPoint(pose, sensorRayOrigin(sensor)) - position;

        // The road pushes back along its normal. (Pushing along the tilted ray
        // instead would leave a forward component on the nose-down car at rest,
        // with nothing to hold it, and a parked car would roll away.)
        const Vec3 springForce = normal * (depth * spring * -dot(down, normal));
        out.force += springForce;
        out.torque += cross(r, springForce);

        const float compression = dot(pointVelocity(body, r), down);
        const Vec3 damperForce = down * (-compression) * carBody::damping;
        out.force += damperForce;
        out.torque += cross(r, damperForce);

        // Sideways grip: against the contact point's slip across the wheel.
        const Vec3 c = sensorContactPoint(sensor) - position;
        Vec3 slip = pointVelocity(body, c);
        const float contactSpeed = length(slip);
        slip -= normal * dot(slip, normal);
        slip -= rolling * dot(slip, rolling);
        const float slipSpeed = length(slip);
        Vec3 grip = normalise(slip);
        if (slipSpeed > 0.0f && slipSpeed < 1.0f) grip *= -model.sideGrip * std::sqrt(slipSpeed);
        else if (slipSpeed >= 1.0f) grip *= -model.sideGrip;
        grip.y = 0.0f;

        const float g = 0.5f * std::sqrt(contactSpeed);
        out.rearGrip = std::max(0.2f, 1.0f - 0.1f * g * std::fabs(steerAngle) * 5.0f);
        out.gripMeasured = true;

        out.force += grip;
        out.torque += cross(c, grip);

        if (i >= 2) {
            const Vec3 drive = normalise(forward) * driveForce;
            out.force += drive;
            out.torque += cross(c, drive);
        }
    }

    // Air drag and rolling resistance act whenever the car moves. (Deciding
    // "moving" from the length of the normalised velocity would let rounding
    // switch both off at random on a car at speed.)
    const Vec3 velocity = getLinearVelocity(body);
    const float speed = length(velocity);
    if (speed > 0.0f) {
        const Vec3 direction = normalise(velocity);
        out.force += direction * (-model.airDrag * speed * speed);
        out.force += direction * (-carBody::rollingResistance * speed);
    }
    return out;
}

void computeCarForces(RaceCar& car, Vec3& force, Vec3& torque) {
    force = torque = Vec3{};
    if (!car.body) return;
    const float f = frameTiming.frameTicks;

    updateWheelFrames(car);
    const WheelForces w = wheelForces(car.body, raceCarWheels, car.suspension, car.frontWheelDirection,
                                      car.steerAngle, car.driveForce);
    for (int i = 0; i < 4; ++i) car.wheelSpin[i] -= w.rollingSpeed[i] * quarterPi * f;
    if (w.gripMeasured) car.rearGrip = w.rearGrip;
    force = w.force;
    torque = w.torque;

    if (car.index == 0) crashSound(car);
    car.crashTimer += 0.01f * f;
}

void RaceCarCallback::update(physics::Controller* controller) {
    auto* car = static_cast<RaceCar*>(physics::getUserPointer(physics::controllerBody(controller)));
    if (car) carPhysicsUpdate(*car, controller);
}

float carSpeed(const RaceCar& car) { return car.body ? length(physics::getLinearVelocity(car.body)) : 0.0f; }

bool movingForwards(const RaceCar& car) {
    if (!car.body) return true;
    const Vec3 forward = matRow(physics::getPose(car.body), 0);
    return std::fabs(horizontalAngle(forward, physics::getLinearVelocity(car.body))) < rightAngle;
}

float angleTo(const RaceCar& car, Vec3 point) {
    if (!car.body) return 0.0f;
    return horizontalAngle(car.flatForward, point - physics::getPosition(car.body));
}

bool rightCar(RaceCar& car, float f) {
    if (!car.body || carSpeed(car) >= 0.2f || f >= 9.5f) return false;
    physics::setOrientation(car.body, car.startRotation);
    physics::setPosition(car.body, physics::getPosition(car.body) + Vec3{0.0f, 2.0f, 0.0f});
    car.driveForce = 0.0f;
    return true;
}

float haltingForce(const RaceCar& car, float strength) {
    const float speed = carSpeed(car);
    const float magnitude = speed < 1.0f ? strength * std::sqrt(speed) : strength;
    return movingForwards(car) ? -magnitude : magnitude;
}

void holdCar(RaceCar& car) {
    car.driveForce = 0.01f;
    car.steerAngle = 0.0f;
    if (!car.body) return;
    physics::setLinearVelocity(car.body, {});
    physics::setAngularMomentum(car.body, {});
}
