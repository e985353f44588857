// City traffic: with the traffic option at 1 or 2, that many slow city cars
// drive the circuit among the racers, five units right of the driving line in
// either direction. Each is a light box on the race cars' four-ray wheel model
// with softer side grip and less drag. A car is put down on the line 190 to
// 240 units ahead of the player, 80 or more from any other traffic car, and
// taken away again once it is 250 from the player; until a place is found it
// waits off the track. Traffic blinks before turns, flashes its headlights at
// the player coming up and sounds its horn when the player is near. Like the
// rest of the race it makes no GL calls and reaches sound through car_sounds.
#pragma once

#include "physics/physics_world.h"
#include "physics/vector_math.h"

#include <cstdint>

// 0 none, 1 normal, 2 heavy; copied from the settings at start and when changed.
extern int32_t trafficLevel;
void setTrafficLevelFromSettings();

struct TrafficCar {
    physics::RigidBody* body = nullptr;
    physics::Controller* controller = nullptr;
    float suspension[4] = {0.9f, 0.9f, 0.9f, 0.9f};
    float wheelSpin = 0.0f;       // degrees, one rolling angle for all four drawn wheels
    float driveForce = 0.0f;
    float steerAngle = 0.0f;      // radians, positive to the car's left
    int32_t pathIndex = 0;        // the driving-line point it drives to
    int32_t model = 0;            // 0..3: the city car drawn
    float reverseTimer = 0.0f;
    bool reversing = false;
    int32_t direction = 0;        // 0 along the line's point order, 1 against it
    Vec3 frontWheelDirection;
    float leftBlinker = 0.0f;     // time left to blink, 1 -> 0
    float rightBlinker = 0.0f;
    float headlight = 0.0f;       // lamp intensities the drawing reads
    float leftLamp = 0.0f;
    float rightLamp = 0.0f;
    float hornTimer = 0.0f;       // 1 -> 0
    float flashTimer = 0.0f;      // 1 -> 0
    bool needsPlacing = true;     // waiting off the track for a place on the line
    Vec3 waitingPlace;            // where it waits, far below the city
};

constexpr int trafficCapacity = 10;
extern TrafficCar trafficCars[trafficCapacity];
// How many traffic cars this race has (the option at set-up, 0..2).
extern int32_t trafficInPlay;
// Shared by every traffic car: the blinkers' phase and the horn last chosen (0..2).
extern float trafficBlinkPhase;
extern int32_t trafficHornChoice;
// How many times a traffic car has been put on the line since the set-up.
extern int32_t trafficPlacementCount;

namespace trafficBody {
constexpr float mass = 50.0f;
constexpr Vec3 boxExtents{6.0f, 1.0f, 2.6f};
constexpr Vec3 boxOffset{0.0f, 0.3f, 0.0f};
constexpr Vec3 inertiaHalfExtents{2.5f, 0.6f, 2.6f};
constexpr float sideGrip = 50.0f;
constexpr float airDrag = 0.05f;
}  // namespace trafficBody

// Placement rules, in world units from the player's car.
constexpr float trafficTakenAwayBeyond = 250.0f;
constexpr float trafficPlacedBeyond = 190.0f;
constexpr float trafficPlacedWithin = 240.0f;
constexpr float trafficSpacing = 80.0f;
constexpr int32_t trafficSearchPoints = 400;
constexpr float trafficLaneOffset = 5.0f;

// Race set-up: the first n records get bodies waiting at (20 (i + 1), -10000, 0)
// (n = the traffic option kept to 0..2); the rest stay unused.
void setUpTraffic(physics::PhysicsWorld* world, int32_t n);
// The world is going away: every record forgets its body.
void releaseTraffic();
// Builds one traffic car's body at a position: box, four wheel rays, mass,
// inertia, controller; a random model; it needs placing.
void createTrafficCar(TrafficCar& car, physics::PhysicsWorld* world, Vec3 position);

// The first point, walking the line forwards from `from` (wrapping) for at
// most 400 points, that lies more than 190 and less than 240 from `player`;
// -1 when none does.
int32_t trafficPlacementPoint(Vec3 player, int32_t from);
// Puts the car down on the line at point s, driving in `direction`: five units
// right of the line, facing the next point's lane position, 0.5 above the line,
// at rest, with a new random model.
void placeTrafficCar(TrafficCar& car, int32_t s, int32_t direction);
// Once per frame: marks the cars 250 or more from the player for placing and
// places at most one of them ahead of the player (random direction), unless no
// point qualifies or another placed traffic car is within 80 of the point.
void trafficPlacementPass();

// The lane point five units right of point `to` for a car coming from point `from`.
Vec3 trafficLanePoint(int32_t from, int32_t to);

// One traffic car's driving for a simulated frame of f hundredths: aim at the
// lane point of its path point, blinkers, headlight flashes, horn, speed 6 (4
// in turns), advancing along the line, backing off when stuck.
void trafficControl(TrafficCar& car, float f);
// The force and torque of one sub-step (the race cars' wheel model with the
// traffic's grip and drag); also updates the suspension and front-wheel direction.
void trafficForces(TrafficCar& car, Vec3& force, Vec3& torque);

class TrafficCarCallback : public physics::ControllerCallback {
public:
    void update(physics::Controller* controller) override;
};
extern TrafficCarCallback trafficCarCallback;

// The traffic's part of a simulated frame: the placement pass, then each car's control.
void trafficFrame(float f);
// Writes the traffic cars' placements (body and wheel frames, lamps) and lamps for the drawing and the shadows.
void updateTrafficPlacements();

// The front and rear axle distances of a city car model (0..3), for its wheels.
struct TrafficAxles {
    float front;
    float rear;
};
TrafficAxles trafficAxles(int32_t model);
