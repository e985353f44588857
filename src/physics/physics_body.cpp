// Bodies, their boxes, sensors and controllers.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "physics/physics_internal.h"

namespace physics {

namespace {

// Orthonormal right-handed rows from roughly orthogonal ones; false if degenerate.
bool orthonormalRows(const Mat3& in, Mat3& out)
{
    Vec3 x = normalise(in.row[0]);
    Vec3 y = in.row[1] - x * dot(x, in.row[1]);
    y = normalise(y);
    if (lengthSquared(x) == 0.0f || lengthSquared(y) == 0.0f) return false;
    out.row[0] = x;
    out.row[1] = y;
    out.row[2] = cross(x, y);
    return true;
}

bool isFiniteFloat(float f) { return std::isfinite(f); }

void report(const char* message) { std::fputs(message, stderr); }

// True while a pool holds fewer than `limit` items; otherwise reports the limit
// to raise and returns false.
bool poolHasRoom(int64_t used, int64_t limit, const char* items, const char* limitName)
{
    if (used < limit) return true;
    const std::string message = std::string("Run out of ") + items + ". Increase '" + limitName + "'.\n";
    report(message.c_str());
    return false;
}

btMatrix3x3 basisFromRows(const Mat3& r)
{
    return btMatrix3x3(r.row[0].x, r.row[1].x, r.row[2].x,
                       r.row[0].y, r.row[1].y, r.row[2].y,
                       r.row[0].z, r.row[1].z, r.row[2].z);
}

Mat3 rowsFromBasis(const btMatrix3x3& b)
{
    Mat3 r;
    for (int i = 0; i < 3; ++i) r.row[i] = fromBt(b.getColumn(i));
    return r;
}

void placeBody(RigidBody* rb, const btTransform& t)
{
    btRigidBody* body = rb->body.get();
    body->setWorldTransform(t);
    body->setInterpolationWorldTransform(t);
    body->updateInertiaTensor();
    body->activate();
}

} // namespace

btTransform poseToBt(const Mat4& pose)
{
    Mat3 rows;
    if (!orthonormalRows(rotationPart(pose), rows)) rows = Mat3{};
    Vec3 p = posePosition(pose);
    return btTransform(basisFromRows(rows), toBt(isFinite(p) ? p : Vec3{}));
}

Mat4 poseFromBt(const btTransform& t) { return makePose(rowsFromBasis(t.getBasis()), fromBt(t.getOrigin())); }

void wakeFor(RigidBody* body, Vec3 v)
{
    if (std::fabs(v.x) >= 1e-6f || std::fabs(v.y) >= 1e-6f || std::fabs(v.z) >= 1e-6f) body->body->activate();
}

void applyMassProps(RigidBody* rb)
{
    btRigidBody* body = rb->body.get();
    body->setMassProps(rb->mass, toBt(rb->inertia));
    body->updateInertiaTensor();
    body->setSleepingThresholds(rb->restSpeed, rb->restSpeed);
    if (rb->kind == BodyKind::Particle) body->setAngularFactor(0.0f);
}

void refreshShape(RigidBody* rb)
{
    PhysicsWorld* world = rb->world;
    btRigidBody* body = rb->body.get();
    world->dynamics->removeRigidBody(body);

    auto compound = std::make_unique<btCompoundShape>(true, static_cast<int>(rb->geometries.size()));
    std::vector<std::unique_ptr<btBoxShape>> boxes;
    for (Geometry* g : rb->geometries) {
        auto box = std::make_unique<btBoxShape>(toBt(g->extents * 0.5f));
        box->setUserIndex(g->material);
        g->childIndex = compound->getNumChildShapes();
        compound->addChildShape(poseToBt(g->offset), box.get());
        boxes.push_back(std::move(box));
    }
    body->setCollisionShape(compound.get());
    rb->shape = std::move(compound);
    for (size_t i = 0; i < boxes.size(); ++i) rb->geometries[i]->box = std::move(boxes[i]);
    world->dynamics->addRigidBody(body);
    // Re-adding resets what Bullet keeps per world.
    applyMassProps(rb);
    rb->shapeChanged = false;
}

// ---- Bodies ----

RigidBody* createRigidBody(PhysicsWorld* world, BodyKind kind)
{
    if (!world) return nullptr;
    const bool room = kind == BodyKind::Particle
                          ? poolHasRoom(world->particleCount, world->limits.rigidParticleCount, "RigidBodies",
                                        "rigidParticleCount")
                          : poolHasRoom(world->rigidCount, world->limits.rigidBodiesCount, "RigidBodies",
                                        "rigidBodiesCount");
    if (!room) return nullptr;

    auto rb = std::make_unique<RigidBody>();
    rb->world = world;
    rb->kind = kind;
    rb->shape = std::make_unique<btCompoundShape>();
    btRigidBody::btRigidBodyConstructionInfo info(rb->mass, nullptr, rb->shape.get(), toBt(rb->inertia));
    info.m_friction = 0.0f;
    info.m_restitution = 0.0f;
    rb->body = std::make_unique<btRigidBody>(info);
    rb->body->setUserIndex(kBodyTag);
    rb->body->setUserPointer(rb.get());
    rb->body->setCollisionFlags(rb->body->getCollisionFlags() | btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK);
    world->dynamics->addRigidBody(rb->body.get());
    applyMassProps(rb.get());

    if (kind == BodyKind::Particle) ++world->particleCount;
    else ++world->rigidCount;
    world->bodies.push_back(std::move(rb));
    return world->bodies.back().get();
}

Vec3 boxInertia(Vec3 halfExtents, float mass)
{
    float e = std::max({std::fabs(halfExtents.x), std::fabs(halfExtents.y), std::fabs(halfExtents.z)});
    float i = 2.0f * e * e * mass / 3.0f;
    return {i, i, i};
}

void setInertia(RigidBody* body, Vec3 diagonal)
{
    if (!body || !isFinite(diagonal) || diagonal.x < 0 || diagonal.y < 0 || diagonal.z < 0) return;
    body->inertia = diagonal;
    applyMassProps(body);
}

Vec3 getInertia(const RigidBody* body) { return body ? body->inertia : Vec3{}; }

void setMass(RigidBody* body, float mass)
{
    if (!body || !isFiniteFloat(mass) || !(mass > 0.0f)) return;
    body->mass = mass;
    applyMassProps(body);
}

float getMass(const RigidBody* body) { return body ? body->mass : 0.0f; }
float getInverseMass(const RigidBody* body) { return body ? 1.0f / body->mass : 0.0f; }

void setRestSpeed(RigidBody* body, float restSpeed)
{
    if (!body || !isFiniteFloat(restSpeed) || restSpeed < 0.0f) return;
    body->restSpeed = restSpeed;
    body->body->setSleepingThresholds(restSpeed, restSpeed);
}

void setMayRest(RigidBody* body, int mayRest)
{
    if (!body) return;
    body->mayRest = mayRest != 0 ? 1 : 0;
    body->body->forceActivationState(body->mayRest ? ACTIVE_TAG : DISABLE_DEACTIVATION);
    body->body->setDeactivationTime(0.0f);
}

bool isResting(const RigidBody* body) { return body && !body->body->isActive(); }

void setUserPointer(RigidBody* body, void* pointer)
{
    if (body) body->user = pointer;
}

void* getUserPointer(const RigidBody* body) { return body ? body->user : nullptr; }

void setPosition(RigidBody* body, Vec3 position)
{
    if (!body || !isFinite(position)) return;
    btTransform t = body->body->getWorldTransform();
    t.setOrigin(toBt(position));
    placeBody(body, t);
}

void setOrientation(RigidBody* body, const Mat3& rotation)
{
    Mat3 rows;
    if (!body || !isFinite(rotation.row[0]) || !isFinite(rotation.row[1]) || !orthonormalRows(rotation, rows)) return;
    btTransform t = body->body->getWorldTransform();
    t.setBasis(basisFromRows(rows));
    placeBody(body, t);
}

Mat4 getPose(const RigidBody* body) { return body ? poseFromBt(body->body->getWorldTransform()) : Mat4{}; }

Vec3 getPosition(const RigidBody* body)
{
    return body ? fromBt(body->body->getWorldTransform().getOrigin()) : Vec3{};
}

Vec3 getLinearVelocity(const RigidBody* body) { return body ? fromBt(body->body->getLinearVelocity()) : Vec3{}; }

void setLinearVelocity(RigidBody* body, Vec3 velocity)
{
    if (!body || !isFinite(velocity)) return;
    body->body->setLinearVelocity(toBt(velocity));
    wakeFor(body, velocity);
}

// L = R I R^T w with R the body's rotation and I its diagonal inertia.
Vec3 getAngularMomentum(const RigidBody* body)
{
    if (!body) return {};
    const btMatrix3x3& basis = body->body->getWorldTransform().getBasis();
    btVector3 local = body->body->getAngularVelocity() * basis; // R^T w
    local *= toBt(body->inertia);
    return fromBt(basis * local);
}

void setAngularMomentum(RigidBody* body, Vec3 momentum)
{
    if (!body || !isFinite(momentum)) return;
    const btMatrix3x3& basis = body->body->getWorldTransform().getBasis();
    btVector3 local = toBt(momentum) * basis;
    Vec3 in = body->inertia;
    local = btVector3(in.x > 0 ? local.x() / in.x : 0, in.y > 0 ? local.y() / in.y : 0,
                      in.z > 0 ? local.z() / in.z : 0);
    if (body->kind == BodyKind::Particle) local.setZero();
    body->body->setAngularVelocity(basis * local);
    wakeFor(body, momentum);
}

Vec3 getAngularVelocity(const RigidBody* body) { return body ? fromBt(body->body->getAngularVelocity()) : Vec3{}; }

Vec3 pointVelocity(const RigidBody* body, Vec3 r)
{
    if (!body) return {};
    return fromBt(body->body->getVelocityInLocalPoint(toBt(r)));
}

void setBodyForce(RigidBody* body, Vec3 force)
{
    if (!body || !isFinite(force)) return;
    body->force = force;
    wakeFor(body, force);
}

void setBodyTorque(RigidBody* body, Vec3 torque)
{
    if (!body || !isFinite(torque)) return;
    body->torque = torque;
    wakeFor(body, torque);
}

Vec3 getBodyForce(const RigidBody* body) { return body ? body->force : Vec3{}; }
Vec3 getBodyTorque(const RigidBody* body) { return body ? body->torque : Vec3{}; }

// ---- Geometry ----

Geometry* createGeometry(RigidBody* body)
{
    if (!body) return nullptr;
    PhysicsWorld* world = body->world;
    if (!poolHasRoom(static_cast<int64_t>(world->geometries.size()), world->limits.geometriesCount, "Geometries",
                     "geometriesCount"))
        return nullptr;
    auto g = std::make_unique<Geometry>();
    g->body = body;
    body->geometries.push_back(g.get());
    body->shapeChanged = true;
    world->geometries.push_back(std::move(g));
    return world->geometries.back().get();
}

void setBoxSize(Geometry* geometry, Vec3 extents)
{
    if (!geometry || !isFinite(extents) || !(extents.x > 0) || !(extents.y > 0) || !(extents.z > 0)) return;
    geometry->extents = extents;
    geometry->body->shapeChanged = true;
}

void setGeometryOffset(Geometry* geometry, const Mat4& offset)
{
    if (!geometry) return;
    geometry->offset = poseFromBt(poseToBt(offset));
    geometry->body->shapeChanged = true;
}

void setGeometryMaterial(Geometry* geometry, int material)
{
    if (!geometry || material < 0 || material >= kMaterialCount) return;
    geometry->material = material;
    if (geometry->box) geometry->box->setUserIndex(material);
}

// ---- Sensors ----

Sensor* createSensor(RigidBody* body)
{
    if (!body) return nullptr;
    PhysicsWorld* world = body->world;
    if (!poolHasRoom(static_cast<int64_t>(world->sensors.size()), world->limits.sensorsCount, "Sensors",
                     "sensorsCount"))
        return nullptr;
    auto s = std::make_unique<Sensor>();
    s->body = body;
    s->index = static_cast<int>(body->sensors.size());
    body->sensors.push_back(s.get());
    world->sensors.push_back(std::move(s));
    return world->sensors.back().get();
}

void setSensorRay(Sensor* sensor, Vec3 origin, Vec3 direction)
{
    if (!sensor || !isFinite(origin) || !isFinite(direction)) return;
    sensor->origin = origin;
    sensor->length = length(direction);
    sensor->direction = normalise(direction);
    if (lengthSquared(sensor->direction) == 0.0f) sensor->length = 0.0f;
}

Sensor* firstSensor(RigidBody* body) { return body && !body->sensors.empty() ? body->sensors.front() : nullptr; }

Sensor* nextSensor(Sensor* sensor)
{
    if (!sensor) return nullptr;
    size_t next = static_cast<size_t>(sensor->index) + 1;
    return next < sensor->body->sensors.size() ? sensor->body->sensors[next] : nullptr;
}

float sensorDepth(const Sensor* sensor) { return sensor ? sensor->depth : 0.0f; }
Vec3 sensorContactPoint(const Sensor* sensor) { return sensor ? sensor->point : Vec3{}; }
Vec3 sensorContactNormal(const Sensor* sensor) { return sensor ? sensor->normal : Vec3{}; }
int sensorSurfaceClass(const Sensor* sensor) { return sensor ? sensor->surfaceClass : -1; }
Vec3 sensorRayOrigin(const Sensor* sensor) { return sensor ? sensor->origin : Vec3{}; }
Vec3 sensorRayDirection(const Sensor* sensor) { return sensor ? sensor->direction : Vec3{}; }
float sensorRayLength(const Sensor* sensor) { return sensor ? sensor->length : 0.0f; }

// ---- Controllers ----

Controller* createController(RigidBody* body, ControllerCallback* callback)
{
    if (!body) return nullptr;
    PhysicsWorld* world = body->world;
    if (!poolHasRoom(static_cast<int64_t>(world->controllers.size()), world->limits.constraintSetsCount,
                     "Controllers", "constraintSetsCount"))
        return nullptr;
    auto c = std::make_unique<Controller>();
    c->body = body;
    c->callback = callback;
    body->controllers.push_back(c.get());
    world->controllers.push_back(std::move(c));
    return world->controllers.back().get();
}

void setControllerForce(Controller* controller, Vec3 force)
{
    if (!controller || !isFinite(force)) return;
    controller->force = force;
    wakeFor(controller->body, force);
}

void setControllerTorque(Controller* controller, Vec3 torque)
{
    if (!controller || !isFinite(torque)) return;
    controller->torque = torque;
    wakeFor(controller->body, torque);
}

RigidBody* controllerBody(const Controller* controller) { return controller ? controller->body : nullptr; }

} // namespace physics
