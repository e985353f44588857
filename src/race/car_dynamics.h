// A race car: one box body carried by four downward ray sensors acting as
// wheels. The engine does gravity and collisions; the force model here adds,
// once per physics sub-step, springs and dampers, sideways tyre grip, the drive
// or brake force through the rear wheels, air drag and rolling resistance.
#pragma once

#include "physics/physics_world.h"
#include "physics/vector_math.h"

#include <cstdint>

struct RaceCar {
    physics::RigidBody* body = nullptr;
    physics::Controller* controller = nullptr;
    float suspension[4] = {0.9f, 0.9f, 0.9f, 0.9f};  // 1 - sensor depth, kept to 0.7..0.9
    int32_t index = -1;          // 0 the player, 1..3 the computer cars
    float driveForce = 0.0f;     // through each rear wheel along the car's forward axis
    float targetRpm = 0.0f;
    float engineRpm = 0.0f;
    float steerAngle = 0.0f;     // radians, positive to the car's left
    float rearGrip = 1.0f;       // 0.2..1, read by the skid sounds
    float wheelSpin[4] = {0.0f, 0.0f, 0.0f, 0.0f};

    // Computer driver.
    int32_t targetPoint = 0;
    int32_t lookAheadPoint = 0;
    float fraction = 0.0f;
    float progress = 0.0f;
    float stuckTimer = 0.0f;
    float reverseTimer = 0.0f;
    bool reversing = false;
    float countdownTimer = 0.0f;  // revving during the countdown

    Mat3 startRotation;          // the body's pose right after creation, to right it
    Vec3 startPositionOfBody;
    bool reverseArmed = false;   // the brake key will now drive backwards
    bool brakeHeld = false;      // the brake key has been held since the last acceleration
    float nitro = 0.0f;          // 0..100
    int32_t gear = 0;            // -1 reverse, 0 neutral, 1..5
    int32_t shownGear = 0;       // the gear last announced by the gear sound
    float brakeLights = 0.0f;
    float reverseLights = 0.0f;
    int32_t placeKey = 0;        // index + 1
    float crashTimer = 0.0f;

    int32_t lapsDone = 0;
    int32_t nextCheckpoint = 0;
    int32_t pointsPassed = 0;

    Vec3 frontWheelDirection;    // world direction of the steered front wheels
    Vec3 flatForward;            // the forward axis with its height removed, unit length
    Mat4 wheelFrames[4];         // each wheel's frame in the world, without its spin
};

// Wheel anchors in body space: 0 front right, 1 front left, 2 rear right,
// 3 rear left (the car's left is -z).
constexpr Vec3 wheelAnchors[4] = {{2.0f, 0.0f, 1.25f}, {2.0f, 0.0f, -1.25f}, {-2.0f, 0.0f, 1.25f}, {-2.0f, 0.0f, -1.25f}};

namespace carBody {
constexpr float mass = 100.0f;
constexpr Vec3 boxExtents{6.0f, 1.4f, 2.6f};
constexpr Vec3 boxOffset{0.0f, 0.4f, 0.0f};
constexpr Vec3 inertiaHalfExtents{3.0f, 0.7f, 1.3f};
constexpr float frontSpring = 1800.0f;
constexpr float rearSpring = 3000.0f;
constexpr float damping = 250.0f;
constexpr float sideGrip = 200.0f;
constexpr float airDrag = 0.15f;
constexpr float rollingResistance = 1.5f;
// The drawn wheel hangs this far below its anchor at the ride height.
constexpr float wheelDrop = 0.45f;
}  // namespace carBody

// The four race cars; index 0 is the player's.
extern RaceCar raceCars[4];

// Clears a record to a new car: index -1, every force, steering, progress and timer 0.
void resetRaceCar(RaceCar& car);

// Builds the car's body in the world at a position: box, four wheel rays,
// mass, inertia, controller. Fills the nitro and clears the countdown timer.
void createCarBody(RaceCar& car, physics::PhysicsWorld* world, Vec3 position);

// The wheel, drive and drag model of one sub-step, shared by the race cars and
// the traffic: spring, damper and sideways grip at every wheel in contact, the
// drive through the rear pair, air drag and rolling resistance. Writes each
// wheel's suspension (1 - depth, kept to 0.7..0.9).
struct WheelModel {
    float sideGrip;  // the most sideways force one tyre gives
    float airDrag;   // drag = airDrag x speed squared
};
constexpr WheelModel raceCarWheels{carBody::sideGrip, carBody::airDrag};
struct WheelForces {
    Vec3 force;
    Vec3 torque;
    // Each wheel's speed along its rolling direction, negative when it rolls backwards.
    float rollingSpeed[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    bool gripMeasured = false;  // some wheel touched: rearGrip holds the last one's grip indicator
    float rearGrip = 1.0f;
};
WheelForces wheelForces(physics::RigidBody* body, const WheelModel& model, float suspension[4],
                        Vec3 frontWheelDirection, float steerAngle, float driveForce);

// The force model of one sub-step, reached through the controller's body.
void carPhysicsUpdate(RaceCar& car, physics::Controller* controller);
// The same without a controller: the world force and torque the car's wheels,
// drive, drag and rolling resistance add to gravity and contacts this sub-step.
// Also updates the suspension, wheel spin, grip indicator and wheel frames.
void computeCarForces(RaceCar& car, Vec3& force, Vec3& torque);

// The one callback object every race car's controller shares.
class RaceCarCallback : public physics::ControllerCallback {
public:
    void update(physics::Controller* controller) override;
};
extern RaceCarCallback raceCarCallback;

// Wheel frames and the flat forward vector from the current pose (the force
// model does this every sub-step; set-up does it once for the first frame).
void updateWheelFrames(RaceCar& car);

float carSpeed(const RaceCar& car);
// The velocity points within a right angle of the car's forward axis.
bool movingForwards(const RaceCar& car);
// Signed horizontal angle from one direction to another (their height
// components ignored), positive turning towards -z, in -pi..pi.
float horizontalAngle(Vec3 from, Vec3 to);
// Signed horizontal angle from the car's flat forward vector to the direction
// towards a point, positive to the car's left, in -pi..pi.
float angleTo(const RaceCar& car, Vec3 point);

// Puts a stuck car back on its wheels: only when it is nearly still and the
// frame is below 9.5 ticks. Returns true when the car was righted.
bool rightCar(RaceCar& car, float f);

// The force that slows the car to a halt: `strength` * sqrt(speed) below speed
// 1, `strength` above, against the direction of travel.
float haltingForce(const RaceCar& car, float strength);

// Holds a car on the grid: no drive, no steering, no motion.
void holdCar(RaceCar& car);
