// The world: pools, materials, the track mesh, and the sub-stepped step with its
// controller callbacks, motion clamping and sensor rays.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include <BulletCollision/CollisionDispatch/btManifoldResult.h>

#include "physics/physics_internal.h"

namespace physics {

namespace {

// Contacts are solved at no more than this step; a sub-step is split to match.
constexpr float kMaxIntegrationStep = 1.0f / 60.0f;
constexpr int kMaxIntegrationSplits = 64;
constexpr int kMaxSubSteps = 10000;

PhysicsWorld* worldOf(const btCollisionObject* object)
{
    if (object->getUserIndex() == kBodyTag)
        return static_cast<RigidBody*>(object->getUserPointer())->world;
    if (object->getUserIndex() == kMeshTag)
        return static_cast<MeshData*>(object->getUserPointer())->world;
    return nullptr;
}

int materialOf(const btCollisionObjectWrapper* wrap, int index)
{
    const btCollisionObject* object = wrap->getCollisionObject();
    if (object->getUserIndex() == kMeshTag) {
        const auto* mesh = static_cast<const MeshData*>(object->getUserPointer());
        if (index >= 0 && index < static_cast<int>(mesh->classes.size())) return mesh->classes[index];
        return 0;
    }
    // Box children of a body carry their geometry's material in the shape's user index.
    const btCollisionShape* shape = wrap->getCollisionShape();
    if (shape && shape->getShapeType() == BOX_SHAPE_PROXYTYPE) return shape->getUserIndex();
    return 0;
}

// Per-contact material: the smaller friction and the larger restitution.
bool combineMaterials(btManifoldPoint& point, const btCollisionObjectWrapper* wrap0, int, int index0,
                      const btCollisionObjectWrapper* wrap1, int, int index1)
{
    PhysicsWorld* world = worldOf(wrap0->getCollisionObject());
    if (!world) world = worldOf(wrap1->getCollisionObject());
    if (!world) return false;
    const Material& a = world->materials[std::clamp(materialOf(wrap0, index0), 0, kMaterialCount - 1)];
    const Material& b = world->materials[std::clamp(materialOf(wrap1, index1), 0, kMaterialCount - 1)];
    point.m_combinedFriction = std::min(a.friction, b.friction);
    point.m_combinedRestitution = std::max(a.restitution, b.restitution);
    return true;
}

void limitedNearCallback(btBroadphasePair& pair, btCollisionDispatcher& dispatcher, const btDispatcherInfo& info)
{
    auto& limited = static_cast<PairLimitedDispatcher&>(dispatcher);
    const auto* a = static_cast<const btCollisionObject*>(pair.m_pProxy0->m_clientObject);
    const auto* b = static_cast<const btCollisionObject*>(pair.m_pProxy1->m_clientObject);
    if (a->getUserIndex() == kBodyTag && b->getUserIndex() == kBodyTag) {
        if (limited.bodyPairs >= limited.pairLimit) {
            limited.overflowed = true;
            return;
        }
        ++limited.bodyPairs;
    }
    btCollisionDispatcher::defaultNearCallback(pair, dispatcher, info);
}

// Closest hit along a sensor ray, ignoring the sensor's own body and remembering
// which track triangle was hit.
struct SensorRayCallback : btCollisionWorld::ClosestRayResultCallback {
    SensorRayCallback(const btVector3& from, const btVector3& to, const btCollisionObject* self)
        : ClosestRayResultCallback(from, to), self(self) {}

    bool needsCollision(btBroadphaseProxy* proxy) const override
    {
        if (proxy->m_clientObject == self) return false;
        return ClosestRayResultCallback::needsCollision(proxy);
    }

    btScalar addSingleResult(btCollisionWorld::LocalRayResult& result, bool normalInWorldSpace) override
    {
        triangle = -1;
        if (result.m_localShapeInfo && result.m_collisionObject->getUserIndex() == kMeshTag)
            triangle = result.m_localShapeInfo->m_triangleIndex;
        return ClosestRayResultCallback::addSingleResult(result, normalInWorldSpace);
    }

    const btCollisionObject* self;
    int triangle = -1;
};

// Sweep against the static track only, reporting only hits the motion runs into
// (sliding along or leaving a surface is not a hit).
struct MotionSweepCallback : btCollisionWorld::ClosestConvexResultCallback {
    MotionSweepCallback(const btVector3& from, const btVector3& to)
        : ClosestConvexResultCallback(from, to), motion(to - from)
    {
        m_collisionFilterGroup = btBroadphaseProxy::DefaultFilter;
        m_collisionFilterMask = btBroadphaseProxy::StaticFilter;
    }

    btScalar addSingleResult(btCollisionWorld::LocalConvexResult& result, bool normalInWorldSpace) override
    {
        if (result.m_hitNormalLocal.dot(motion) >= 0) return 1.0f;
        return ClosestConvexResultCallback::addSingleResult(result, normalInWorldSpace);
    }

    btVector3 motion;
};

// Largest sphere about a box's centre that lies inside it (with a little room),
// used to catch motion that would carry the box through a thin surface.
float sweepRadius(const Geometry& g)
{
    float half = 0.5f * std::min({g.extents.x, g.extents.y, g.extents.z});
    return 0.9f * half;
}

// After an integration step: a body that moved further than its boxes are thick
// is swept from its old to its new place against the track; if that runs into a
// surface, it is put back at the first touch so the contacts can stop it.
void clampFastMotion(RigidBody* rb, const btTransform& before, btCollisionWorld* world)
{
    btRigidBody* body = rb->body.get();
    if (rb->geometries.empty() || !body->isActive()) return;
    const btTransform& after = body->getWorldTransform();
    btVector3 motion = after.getOrigin() - before.getOrigin();
    float motion2 = motion.length2();
    float thinnest = 1e30f;
    for (const Geometry* g : rb->geometries) thinnest = std::min(thinnest, sweepRadius(*g));
    if (motion2 <= thinnest * thinnest) return;

    float fraction = 1.0f;
    for (const Geometry* g : rb->geometries) {
        float radius = sweepRadius(*g);
        if (!(radius > 0.0f)) continue;
        btVector3 centre = toBt(posePosition(g->offset));
        btTransform from(before.getBasis(), before * centre);
        btTransform to(before.getBasis(), before * centre + motion);
        btSphereShape sphere(radius);
        MotionSweepCallback sweep(from.getOrigin(), to.getOrigin());
        world->convexSweepTest(&sphere, from, to, sweep);
        if (sweep.hasHit()) fraction = std::min(fraction, static_cast<float>(sweep.m_closestHitFraction));
    }
    if (fraction >= 1.0f) return;
    btTransform clamped = after;
    clamped.setOrigin(before.getOrigin() + motion * fraction);
    body->setWorldTransform(clamped);
    body->setInterpolationWorldTransform(clamped);
}

void updateSensors(PhysicsWorld* world, StepStats& stats)
{
    if (world->sensors.empty()) return;
    world->dynamics->updateAabbs();
    for (auto& owned : world->bodies) {
        RigidBody* rb = owned.get();
        const btTransform& pose = rb->body->getWorldTransform();
        for (Sensor* s : rb->sensors) {
            btVector3 from = pose * toBt(s->origin);
            btVector3 to = pose * toBt(s->origin + s->direction * s->length);
            s->depth = 0.0f;
            s->point = fromBt(to);
            s->normal = {};
            s->surfaceClass = -1;
            if (!(s->length > 0.0f)) continue;
            SensorRayCallback ray(from, to, rb->body.get());
            world->dynamics->rayTest(from, to, ray);
            if (!ray.hasHit()) continue;
            s->depth = s->length * (1.0f - static_cast<float>(ray.m_closestHitFraction));
            s->point = fromBt(ray.m_hitPointWorld);
            s->normal = normalise(fromBt(ray.m_hitNormalWorld));
            if (ray.triangle >= 0 && ray.m_collisionObject->getUserIndex() == kMeshTag) {
                const auto* mesh = static_cast<const MeshData*>(ray.m_collisionObject->getUserPointer());
                if (ray.triangle < static_cast<int>(mesh->classes.size())) s->surfaceClass = mesh->classes[ray.triangle];
            }
            ++stats.sensorHits;
        }
    }
}

int countContacts(PhysicsWorld* world)
{
    int total = 0;
    int manifolds = world->dispatcher->getNumManifolds();
    for (int i = 0; i < manifolds; ++i) total += world->dispatcher->getManifoldByIndexInternal(i)->getNumContacts();
    return total;
}

// Finds, for every triangle edge, the triangle on the other side. Corners are
// matched by position (to a thousandth of a unit), since a model may repeat a
// vertex instead of sharing it.
void linkTriangleEdges(MeshData& mesh)
{
    using Cell = std::array<int64_t, 3>;
    struct CellHash {
        size_t operator()(const Cell& c) const
        {
            return std::hash<int64_t>()(c[0]) ^ (std::hash<int64_t>()(c[1]) * 31) ^ (std::hash<int64_t>()(c[2]) * 1009);
        }
    };
    std::unordered_map<Cell, int32_t, CellHash> cornerIds;
    std::vector<int32_t> corner(mesh.vertices.size(), -1);
    auto cornerOf = [&](int32_t v) {
        if (corner[v] < 0) {
            const Vec3& p = mesh.vertices[v];
            auto q = [](float f) { return std::llround(std::clamp(static_cast<double>(f), -1e9, 1e9) * 1000.0); };
            Cell cell{q(p.x), q(p.y), q(p.z)};
            corner[v] = cornerIds.emplace(cell, static_cast<int32_t>(cornerIds.size())).first->second;
        }
        return corner[v];
    };
    const size_t triangles = mesh.classes.size();
    struct Sharing {
        int64_t first = -1;  // triangle * 3 + edge
        int64_t second = -1;
        int count = 0;
    };
    std::unordered_map<uint64_t, Sharing> edges;
    edges.reserve(3 * triangles);
    auto edgeKey = [&](size_t t, int e) {
        uint64_t a = static_cast<uint32_t>(cornerOf(mesh.indices[3 * t + e]));
        uint64_t b = static_cast<uint32_t>(cornerOf(mesh.indices[3 * t + (e + 1) % 3]));
        return a < b ? (a << 32 | b) : (b << 32 | a);
    };
    for (size_t t = 0; t < triangles; ++t) {
        for (int e = 0; e < 3; ++e) {
            Sharing& s = edges[edgeKey(t, e)];
            (s.count == 0 ? s.first : s.second) = static_cast<int64_t>(3 * t + e);
            ++s.count;
        }
    }
    mesh.across.assign(3 * triangles, -1);
    auto farCorner = [&](int64_t edge) { return mesh.indices[3 * (edge / 3) + (edge % 3 + 2) % 3]; };
    for (const auto& [key, s] : edges) {
        if (s.count != 2) continue; // open, or shared by three or more
        mesh.across[s.first] = farCorner(s.second);
        mesh.across[s.second] = farCorner(s.first);
    }
}

size_t reserveFor(int32_t limit) { return static_cast<size_t>(std::clamp(limit, 0, 1024)); }

} // namespace

PairLimitedDispatcher::PairLimitedDispatcher(btCollisionConfiguration* config) : btCollisionDispatcher(config)
{
    setNearCallback(limitedNearCallback);
}

PhysicsWorld::~PhysicsWorld()
{
    if (dynamics) {
        for (auto& b : bodies) dynamics->removeRigidBody(b->body.get());
        for (auto& m : meshes) dynamics->removeCollisionObject(m->object.get());
    }
    dynamics.reset();
    solver.reset();
    broadphase.reset();
    dispatcher.reset();
    config.reset();
}

void defaultLimits(WorldLimits& limits) { limits = WorldLimits{}; }

PhysicsWorld* createWorld(const WorldLimits& limits, Vec3 gravity)
{
    gContactAddedCallback = combineMaterials;

    auto* world = new PhysicsWorld;
    world->limits = limits;
    // Bullet's default pools are sized for thousands of objects; a race has a
    // handful (they still grow on demand).
    btDefaultCollisionConstructionInfo poolSizes;
    poolSizes.m_defaultMaxPersistentManifoldPoolSize = 256;
    poolSizes.m_defaultMaxCollisionAlgorithmPoolSize = 256;
    world->config = std::make_unique<btDefaultCollisionConfiguration>(poolSizes);
    world->dispatcher = std::make_unique<PairLimitedDispatcher>(world->config.get());
    world->dispatcher->pairLimit = std::max(0, limits.overlapPairsCount);
    world->broadphase = std::make_unique<btDbvtBroadphase>();
    world->solver = std::make_unique<btSequentialImpulseConstraintSolver>();
    world->dynamics = std::make_unique<btDiscreteDynamicsWorld>(world->dispatcher.get(), world->broadphase.get(),
                                                                world->solver.get(), world->config.get());
    world->dynamics->setGravity(toBt(isFinite(gravity) ? gravity : Vec3{}));
    // Only moving bodies need their bounds refreshed; the track never moves.
    world->dynamics->setForceUpdateAllAabbs(false);
    // Boxes against track triangles use our own contact generation (see box_triangle_collision.h).
    world->dispatcher->registerCollisionCreateFunc(BOX_SHAPE_PROXYTYPE, TRIANGLE_SHAPE_PROXYTYPE,
                                                   &world->boxTriangle);
    // Push out of any overlap without adding speed, so landings do not bounce.
    world->dynamics->getSolverInfo().m_splitImpulsePenetrationThreshold = 0.0f;

    world->bodies.reserve(reserveFor(limits.rigidBodiesCount) + reserveFor(limits.rigidParticleCount));
    world->geometries.reserve(reserveFor(limits.geometriesCount));
    world->sensors.reserve(reserveFor(limits.sensorsCount));
    world->controllers.reserve(reserveFor(limits.constraintSetsCount));
    return world;
}

void destroyWorld(PhysicsWorld* world) { delete world; }

bool setMaterial(PhysicsWorld* world, int index, float a, float b)
{
    if (!world || index < 0 || index >= kMaterialCount) return false;
    if (!std::isfinite(a) || !std::isfinite(b)) return false;
    world->materials[index] = {std::max(0.0f, a), std::max(0.0f, b)};
    return true;
}

bool addStaticMesh(PhysicsWorld* world, const StaticMesh& mesh)
{
    if (!world) return false;
    auto data = std::make_unique<MeshData>();
    data->world = world;
    data->vertices = mesh.vertices;
    const int vertexCount = static_cast<int>(mesh.vertices.size());
    for (const MeshTriangle& t : mesh.triangles) {
        bool inRange = true;
        for (int v : t.vertex) inRange = inRange && v >= 0 && v < vertexCount;
        if (!inRange) continue;
        Vec3 a = mesh.vertices[t.vertex[0]], b = mesh.vertices[t.vertex[1]], c = mesh.vertices[t.vertex[2]];
        if (!isFinite(a) || !isFinite(b) || !isFinite(c)) continue;
        if (!(lengthSquared(cross(b - a, c - a)) > 1e-12f)) continue;
        data->indices.insert(data->indices.end(), {t.vertex[0], t.vertex[1], t.vertex[2]});
        int cls = t.surfaceClass;
        data->classes.push_back(static_cast<uint8_t>(cls >= 0 && cls < kMaterialCount ? cls : 0));
    }
    if (data->classes.empty()) return false;
    linkTriangleEdges(*data);

    data->array = std::make_unique<btTriangleIndexVertexArray>(
        static_cast<int>(data->classes.size()), data->indices.data(), static_cast<int>(3 * sizeof(int32_t)),
        vertexCount, reinterpret_cast<btScalar*>(data->vertices.data()), static_cast<int>(sizeof(Vec3)));
    data->shape = std::make_unique<btBvhTriangleMeshShape>(data->array.get(), true, true);
    data->object = std::make_unique<btCollisionObject>();
    data->object->setCollisionShape(data->shape.get());
    data->object->setUserIndex(kMeshTag);
    data->object->setUserPointer(data.get());
    data->object->setCollisionFlags(btCollisionObject::CF_STATIC_OBJECT |
                                    btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK);
    world->dynamics->addCollisionObject(data->object.get(), btBroadphaseProxy::StaticFilter,
                                        btBroadphaseProxy::AllFilter ^ btBroadphaseProxy::StaticFilter);
    world->meshes.push_back(std::move(data));
    return true;
}

static_assert(sizeof(Vec3) == 3 * sizeof(btScalar), "the track's vertices are handed to Bullet as they are");

void step(PhysicsWorld* world, float totalTime, int subSteps, StepStats* stats)
{
    StepStats local;
    if (!world || !(totalTime > 0.0f) || !std::isfinite(totalTime) || subSteps <= 0) {
        if (stats) *stats = local;
        return;
    }
    subSteps = std::min(subSteps, kMaxSubSteps);
    const float subStep = totalTime / static_cast<float>(subSteps);
    const int splits = std::clamp(static_cast<int>(std::ceil(subStep / kMaxIntegrationStep - 1e-4f)), 1,
                                  kMaxIntegrationSplits);
    const float integrationStep = subStep / static_cast<float>(splits);
    bool pairsOverflowed = false;
    std::vector<btTransform> before(world->bodies.size());

    for (int s = 0; s < subSteps; ++s) {
        // Callbacks first; a callback may create objects, so walk by index.
        for (size_t i = 0; i < world->controllers.size(); ++i) {
            Controller* c = world->controllers[i].get();
            if (c->callback) {
                c->callback->update(c);
                ++local.callbacks;
            }
        }
        for (auto& owned : world->bodies) {
            RigidBody* rb = owned.get();
            if (!rb->controllers.empty()) {
                Vec3 force{}, torque{};
                for (const Controller* c : rb->controllers) {
                    force += c->force;
                    torque += c->torque;
                }
                rb->force = force;
                rb->torque = torque;
            }
            if (rb->shapeChanged) refreshShape(rb);
        }

        before.resize(world->bodies.size());
        for (int i = 0; i < splits; ++i) {
            for (size_t b = 0; b < world->bodies.size(); ++b) {
                RigidBody* rb = world->bodies[b].get();
                before[b] = rb->body->getWorldTransform();
                rb->body->applyCentralForce(toBt(rb->force));
                rb->body->applyTorque(toBt(rb->torque));
            }
            world->dispatcher->bodyPairs = 0;
            world->dispatcher->overflowed = false;
            world->dynamics->stepSimulation(integrationStep, 0, integrationStep);
            pairsOverflowed = pairsOverflowed || world->dispatcher->overflowed;
            for (size_t b = 0; b < world->bodies.size(); ++b)
                clampFastMotion(world->bodies[b].get(), before[b], world->dynamics.get());
            ++local.internalSteps;
        }
        updateSensors(world, local);
        ++local.subSteps;
    }
    if (pairsOverflowed) std::fputs("Overlap Pair buffer full. Increase buffer size.\n", stderr);
    if (stats) {
        local.contactPoints = countContacts(world);
        *stats = local;
    }
}

} // namespace physics
