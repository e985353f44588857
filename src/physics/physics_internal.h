// Inside the physics engine: the records behind the public handles, built on
// Bullet. Only src/physics includes this file.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include <btBulletCollisionCommon.h>
#include <btBulletDynamicsCommon.h>

#include "physics/box_triangle_collision.h"
#include "physics/physics_world.h"

namespace physics {

// Tags in btCollisionObject::getUserIndex, telling bodies from the track.
constexpr int kBodyTag = 1;
constexpr int kMeshTag = 2;

constexpr int kMaterialCount = 256;

struct Material {
    float friction = 0.5f;
    float restitution = 0.0f;
};

// A dispatcher that counts body-body pairs per integration step and skips those
// beyond the overlap-pair pool.
class PairLimitedDispatcher : public btCollisionDispatcher {
public:
    explicit PairLimitedDispatcher(btCollisionConfiguration* config);
    int pairLimit = 0;
    int bodyPairs = 0;
    bool overflowed = false;
};

struct Geometry {
    RigidBody* body = nullptr;
    int childIndex = 0;
    std::unique_ptr<btBoxShape> box;
    Vec3 extents{1, 1, 1};
    Mat4 offset;
    int material = 0;
};

struct Sensor {
    RigidBody* body = nullptr;
    int index = 0;
    Vec3 origin{};
    Vec3 direction{0, -1, 0};
    float length = 1.0f;
    float depth = 0.0f;
    Vec3 point{};
    Vec3 normal{};
    int surfaceClass = -1;
};

struct Controller {
    RigidBody* body = nullptr;
    ControllerCallback* callback = nullptr;
    Vec3 force{};
    Vec3 torque{};
};

struct RigidBody {
    PhysicsWorld* world = nullptr;
    BodyKind kind = BodyKind::Rigid;
    std::unique_ptr<btCompoundShape> shape;
    std::unique_ptr<btRigidBody> body;
    float mass = 1.0f;
    Vec3 inertia{1, 1, 1};
    Vec3 force{};
    Vec3 torque{};
    void* user = nullptr;
    float restSpeed = 0.01f;
    int mayRest = 1;
    bool shapeChanged = true;
    std::vector<Geometry*> geometries;
    std::vector<Sensor*> sensors;
    std::vector<Controller*> controllers;
};

struct MeshData {
    PhysicsWorld* world = nullptr;
    std::vector<Vec3> vertices;
    std::vector<int32_t> indices;
    std::vector<uint8_t> classes; // per kept triangle
    // Per kept triangle and edge (edge j runs from corner j to corner j + 1):
    // the vertex index of the far corner of the one triangle sharing that edge,
    // or -1 when the edge is open or shared by more than two triangles.
    std::vector<int32_t> across;
    std::unique_ptr<btTriangleIndexVertexArray> array;
    std::unique_ptr<btBvhTriangleMeshShape> shape;
    std::unique_ptr<btCollisionObject> object;
};

struct PhysicsWorld {
    ~PhysicsWorld();

    WorldLimits limits;
    std::array<Material, kMaterialCount> materials{};

    BoxTriangleAlgorithm::CreateFunc boxTriangle;
    std::unique_ptr<btDefaultCollisionConfiguration> config;
    std::unique_ptr<PairLimitedDispatcher> dispatcher;
    std::unique_ptr<btDbvtBroadphase> broadphase;
    std::unique_ptr<btSequentialImpulseConstraintSolver> solver;
    std::unique_ptr<btDiscreteDynamicsWorld> dynamics;

    int rigidCount = 0;
    int particleCount = 0;
    std::vector<std::unique_ptr<RigidBody>> bodies;
    std::vector<std::unique_ptr<Geometry>> geometries;
    std::vector<std::unique_ptr<Sensor>> sensors;
    std::vector<std::unique_ptr<Controller>> controllers;
    std::vector<std::unique_ptr<MeshData>> meshes;
};

// Conversions between our types and Bullet's.
inline btVector3 toBt(Vec3 v) { return {v.x, v.y, v.z}; }
inline Vec3 fromBt(const btVector3& v) { return {v.x(), v.y(), v.z()}; }

// Pose rows <-> Bullet transform (Bullet's basis columns are our rows).
btTransform poseToBt(const Mat4& pose);
Mat4 poseFromBt(const btTransform& t);

// Wakes a resting body if any component reaches 1e-6.
void wakeFor(RigidBody* body, Vec3 v);
// Rebuilds a body's box children and its continuous-collision sphere after changes.
void refreshShape(RigidBody* body);
// Pushes mass, inertia and rest settings into Bullet.
void applyMassProps(RigidBody* body);

} // namespace physics
