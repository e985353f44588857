// The rigid-body simulator under the race: one world per loaded track with
// fixed-capacity pools of boxes, downward ray sensors (the wheels), a static
// triangle mesh (the track) and per-body controllers through which the car
// models add their own force and torque at every sub-step.
//
// Conventions:
// - A body's origin is its centre of mass. Its pose rows 0..2 are the local
//   x (forward), y (up) and z axes in world space, row 3 the position.
// - Box geometry extents are full edge lengths; boxInertia takes half-lengths.
// - Material a is the friction coefficient, b the restitution (bounciness).
//   A contact uses the smaller friction and the larger restitution of its two
//   sides. A box uses its geometry's material; a track triangle of surface class c
//   uses material c.
// - Pools are sized by WorldLimits; an exhausted pool writes one line to stderr
//   and the create call returns nullptr. Every operation accepts nullptr and
//   then does nothing (or returns zero), so a refused object never crashes.
// - Single-threaded; controller callbacks run inside step().
#pragma once

#include <cstdint>
#include <vector>

#include "physics/vector_math.h"

namespace physics {

// Twelve 32-bit pool sizes, in this order. The defaults are the block's own.
struct WorldLimits {
    int32_t rigidBodiesCount = 50;    // row 0: rigid bodies
    int32_t rigidParticleCount = 50;  // row 1: particles (bodies that do not rotate)
    int32_t reservedPool2 = 50;       // row 2: accepted, not used
    int32_t geometriesCount = 50;     // row 3: box geometries
    int32_t overlapPairsCount = 1225; // row 4: touching body-body pairs per sub-step
    int32_t constraintSetsCount = 50; // row 5: controllers
    int32_t reservedPool6 = 100;      // rows 6..9: accepted, not used
    int32_t reservedPool7 = 100;
    int32_t reservedPool8 = 2000;
    int32_t reservedPool9 = 100;
    int32_t sensorsCount = 200;       // row 10: ray sensors
    int32_t marker = -1;              // row 11
};
static_assert(sizeof(WorldLimits) == 12 * sizeof(int32_t));

// Resets every row to its default.
void defaultLimits(WorldLimits& limits);

struct PhysicsWorld;
struct RigidBody;
struct Geometry;
struct Sensor;
struct Controller;

// One triangle of the static mesh: three vertex indices, the surface class (0..3)
// and a zero word.
struct MeshTriangle {
    int32_t vertex[3] = {0, 0, 0};
    int32_t surfaceClass = 0;
    int32_t zero = 0;
};

struct StaticMesh {
    std::vector<Vec3> vertices;
    std::vector<MeshTriangle> triangles;
};

// The race's car models implement this; update runs once per sub-step for each
// controller, before the bodies move, and sets the controller's force and torque.
class ControllerCallback {
public:
    virtual ~ControllerCallback() = default;
    virtual void update(Controller* controller) = 0;
};

enum class BodyKind { Rigid = 0, Particle = 1 };

// Optional figures filled by step().
struct StepStats {
    int subSteps = 0;        // callback rounds
    int internalSteps = 0;   // integration steps (a sub-step may be split for safety)
    int callbacks = 0;       // controller callbacks run
    int sensorHits = 0;      // sensor updates that touched something
    int contactPoints = 0;   // contact points after the last integration step
};

// ---- World ----

// A new world with the given pools and gravity; nullptr if the pools are unusable.
PhysicsWorld* createWorld(const WorldLimits& limits, Vec3 gravity);
// Frees the world with every body, geometry, sensor, controller and mesh in it.
void destroyWorld(PhysicsWorld* world);
// Stores material index 0..255 (friction a, restitution b); any other index is refused.
bool setMaterial(PhysicsWorld* world, int index, float a, float b);
// Adds a static triangle mesh (copied). Triangles with bad indices or degenerate
// or non-finite corners are left out; false when nothing usable remains.
bool addStaticMesh(PhysicsWorld* world, const StaticMesh& mesh);
// Advances the world by totalTime in subSteps equal sub-steps. In each: every
// controller's callback runs (creation order), its force and torque act with
// gravity and contacts while the bodies move, then every sensor is updated.
void step(PhysicsWorld* world, float totalTime, int subSteps, StepStats* stats = nullptr);

// ---- Bodies ----

RigidBody* createRigidBody(PhysicsWorld* world, BodyKind kind = BodyKind::Rigid);

// Diagonal inertia of a box of half-extents e: all three components 2 E^2 m / 3,
// E the largest half-extent.
Vec3 boxInertia(Vec3 halfExtents, float mass);
// Zero components lock rotation about that axis; negative or non-finite is ignored.
void setInertia(RigidBody* body, Vec3 diagonal);
Vec3 getInertia(const RigidBody* body);
// Mass must be positive and finite, otherwise the call is ignored.
void setMass(RigidBody* body, float mass);
float getMass(const RigidBody* body);
float getInverseMass(const RigidBody* body);

// The two per-body rest settings: a body whose speed and spin stay below
// restSpeed for two simulated seconds goes to rest (stops moving until
// something wakes it) if mayRest is 1. New bodies start with 0.01 and 1.
void setRestSpeed(RigidBody* body, float restSpeed);
void setMayRest(RigidBody* body, int mayRest);
bool isResting(const RigidBody* body);

void setUserPointer(RigidBody* body, void* pointer);
void* getUserPointer(const RigidBody* body);

void setPosition(RigidBody* body, Vec3 position);
// Rows are the local axes in world space; they are re-orthonormalised.
void setOrientation(RigidBody* body, const Mat3& rotation);
Mat4 getPose(const RigidBody* body);
Vec3 getPosition(const RigidBody* body);

Vec3 getLinearVelocity(const RigidBody* body);
void setLinearVelocity(RigidBody* body, Vec3 velocity);
// World-space angular momentum; setting it also sets the angular velocity.
Vec3 getAngularMomentum(const RigidBody* body);
void setAngularMomentum(RigidBody* body, Vec3 momentum);
Vec3 getAngularVelocity(const RigidBody* body);
// World velocity of the body point at offset r (world space) from the centre of mass.
Vec3 pointVelocity(const RigidBody* body, Vec3 r);

// The body's own force and torque (world space), acting at every sub-step. A
// body with controllers has them replaced by its controllers' sum each sub-step.
// A component of magnitude at least 1e-6 wakes a resting body.
void setBodyForce(RigidBody* body, Vec3 force);
void setBodyTorque(RigidBody* body, Vec3 torque);
Vec3 getBodyForce(const RigidBody* body);
Vec3 getBodyTorque(const RigidBody* body);

// ---- Geometry (boxes) ----

Geometry* createGeometry(RigidBody* body);
// Full edge lengths (x, y, z); non-positive or non-finite sizes are ignored.
void setBoxSize(Geometry* geometry, Vec3 extents);
// The box's pose relative to its body (rotation rows and position).
void setGeometryOffset(Geometry* geometry, const Mat4& offset);
// Material index 0..255; others are ignored.
void setGeometryMaterial(Geometry* geometry, int material);

// ---- Sensors (rays) ----

Sensor* createSensor(RigidBody* body);
// Origin and direction in body space; the ray's length is |direction|.
void setSensorRay(Sensor* sensor, Vec3 origin, Vec3 direction);
// The body's sensors in creation order; nullptr after the last.
Sensor* firstSensor(RigidBody* body);
Sensor* nextSensor(Sensor* sensor);
// 0 when the ray touches nothing, otherwise length - distance to the hit, so the
// deeper the surface lies inside the ray, the larger the depth.
float sensorDepth(const Sensor* sensor);
// World-space hit point and unit surface normal (facing the ray's origin). With
// no hit: the ray's far end and the zero vector.
Vec3 sensorContactPoint(const Sensor* sensor);
Vec3 sensorContactNormal(const Sensor* sensor);
// Surface class of the track triangle hit, -1 for no hit or a hit on a body.
int sensorSurfaceClass(const Sensor* sensor);
// Body space: the origin, the unit direction and the length.
Vec3 sensorRayOrigin(const Sensor* sensor);
Vec3 sensorRayDirection(const Sensor* sensor);
float sensorRayLength(const Sensor* sensor);

// ---- Controllers ----

Controller* createController(RigidBody* body, ControllerCallback* callback);
// World-space force and torque applied during the current sub-step (and the next
// ones until overwritten). A component of at least 1e-6 wakes a resting body.
void setControllerForce(Controller* controller, Vec3 force);
void setControllerTorque(Controller* controller, Vec3 torque);
RigidBody* controllerBody(const Controller* controller);

} // namespace physics
