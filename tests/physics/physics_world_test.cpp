#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "physics/physics_world.h"
#include "physics_test_util.h"

using namespace physics;
using namespace physics_test;

namespace {

void expectNear(Vec3 a, Vec3 b, float tolerance)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

// The race's frame: 2.5 x a 60 Hz frame in four sub-steps.
constexpr float kFrame = 2.5f / 60.0f;

void run(PhysicsWorld* world, int frames, float frameTime = kFrame)
{
    for (int i = 0; i < frames; ++i) step(world, frameTime, 4);
}

// ---- Limits, materials, inertia ----

TEST(PhysicsSetup, MaterialIndexOutsideTableIsRefused)
{
    WorldPtr world = makeWorld();
    EXPECT_TRUE(setMaterial(world.get(), 0, 0.0f, 0.1f));
    EXPECT_TRUE(setMaterial(world.get(), 255, 1.0f, 0.0f));
    EXPECT_FALSE(setMaterial(world.get(), -1, 0.5f, 0.5f));
    EXPECT_FALSE(setMaterial(world.get(), 256, 0.5f, 0.5f));
    EXPECT_FALSE(setMaterial(nullptr, 0, 0.5f, 0.5f));
}

TEST(PhysicsSetup, BadMeshInputIsLeftOut)
{
    WorldPtr world = makeWorld();
    StaticMesh empty;
    EXPECT_FALSE(addStaticMesh(world.get(), empty));

    StaticMesh bad;
    bad.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {NAN, 0, 0}};
    bad.triangles = {{{0, 1, 7}, 0, 0}, {{-1, 1, 2}, 0, 0}, {{0, 0, 1}, 0, 0}, {{0, 1, 3}, 0, 0}};
    EXPECT_FALSE(addStaticMesh(world.get(), bad));

    bad.triangles.push_back({{0, 2, 1}, 1, 0});
    EXPECT_TRUE(addStaticMesh(world.get(), bad));
    run(world.get(), 2);
}

TEST(PhysicsSetup, NullHandlesAreHarmless)
{
    EXPECT_EQ(createRigidBody(nullptr), nullptr);
    EXPECT_EQ(createGeometry(nullptr), nullptr);
    EXPECT_EQ(createSensor(nullptr), nullptr);
    EXPECT_EQ(createController(nullptr, nullptr), nullptr);
    EXPECT_EQ(firstSensor(nullptr), nullptr);
    EXPECT_EQ(nextSensor(nullptr), nullptr);
    EXPECT_EQ(sensorDepth(nullptr), 0.0f);
    setPosition(nullptr, {1, 2, 3});
    setBoxSize(nullptr, {1, 1, 1});
    setControllerForce(nullptr, {1, 0, 0});
    step(nullptr, 1.0f, 4);
    destroyWorld(nullptr);
    EXPECT_EQ(getPosition(nullptr).x, 0.0f);
}

// ---- Pools ----

TEST(PhysicsPools, ExhaustedPoolsReportTheirMessages)
{
    WorldLimits limits;
    limits.rigidBodiesCount = 1;
    limits.rigidParticleCount = 0;
    limits.geometriesCount = 1;
    limits.sensorsCount = 1;
    limits.constraintSetsCount = 1;
    WorldPtr world = makeWorld({0, -9.81f, 0}, limits);
    FunctionCallback callback([](Controller*) {});

    RigidBody* body = createRigidBody(world.get());
    ASSERT_NE(body, nullptr);
    ASSERT_NE(createGeometry(body), nullptr);
    ASSERT_NE(createSensor(body), nullptr);
    ASSERT_NE(createController(body, &callback), nullptr);

    struct Case {
        std::function<bool()> create;
        const char* message;
    } cases[] = {
        {[&] { return createRigidBody(world.get()) == nullptr; },
         "Run out of RigidBodies. Increase 'rigidBodiesCount'.\n"},
        {[&] { return createRigidBody(world.get(), BodyKind::Particle) == nullptr; },
         "Run out of RigidBodies. Increase 'rigidParticleCount'.\n"},
        {[&] { return createGeometry(body) == nullptr; }, "Run out of Geometries. Increase 'geometriesCount'.\n"},
        {[&] { return createSensor(body) == nullptr; }, "Run out of Sensors. Increase 'sensorsCount'.\n"},
        {[&] { return createController(body, &callback) == nullptr; },
         "Run out of Controllers. Increase 'constraintSetsCount'.\n"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        bool refused = c.create();
        std::string text = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(refused) << c.message;
        EXPECT_EQ(text, c.message);
    }
}

TEST(PhysicsPools, EveryTouchingPairFitsAndOneMoreIsReported)
{
    // Three boxes stacked on the ground touch each other: three pairs. Their
    // touches with the track take none.
    for (int pairs : {3, 2}) {
        WorldLimits limits;
        limits.overlapPairsCount = pairs;
        WorldPtr world = makeWorld({0, -9.81f, 0}, limits);
        ASSERT_TRUE(addStaticMesh(world.get(), flatGround(100, 0, 4)));
        for (int i = 0; i < 3; ++i) makeBox(world.get(), {6, 1.4f, 2.6f}, {0.5f * i, 0.6f, 0});
        testing::internal::CaptureStderr();
        step(world.get(), 0.01f, 4);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  pairs == 3 ? "" : "Overlap Pair buffer full. Increase buffer size.\n");
    }
}

// ---- Bodies ----

TEST(PhysicsBody, PoseRowsAreTheLocalAxesAndPosition)
{
    WorldPtr world = makeWorld();
    RigidBody* body = createRigidBody(world.get());
    int record = 42;
    setUserPointer(body, &record);
    EXPECT_EQ(getUserPointer(body), &record);

    Mat3 turned = rotationPart(rotationY(0.5f));
    turned.row[0] = turned.row[0] * 3.0f; // not unit: gets normalised
    setOrientation(body, turned);
    setPosition(body, {10, 2, -4});
    Mat4 pose = getPose(body);
    expectNear(matRow(pose, 0), {std::cos(0.5f), 0, -std::sin(0.5f)}, 1e-5f);
    expectNear(matRow(pose, 1), {0, 1, 0}, 1e-5f);
    expectNear(matRow(pose, 2), {std::sin(0.5f), 0, std::cos(0.5f)}, 1e-5f);
    expectNear(matRow(pose, 3), {10, 2, -4}, 1e-6f);
    expectNear(getPosition(body), {10, 2, -4}, 1e-6f);
    EXPECT_EQ(pose.m[3][3], 1.0f);

    Mat3 degenerate;
    degenerate.row[0] = {0, 0, 0};
    setOrientation(body, degenerate); // ignored
    expectNear(matRow(getPose(body), 0), matRow(pose, 0), 1e-6f);
}

TEST(PhysicsBody, AngularMomentumAndVelocityStayConsistent)
{
    WorldPtr world = makeWorld({0, 0, 0});
    RigidBody* body = createRigidBody(world.get());
    setMass(body, 100.0f);
    setInertia(body, boxInertia({3.0f, 0.7f, 1.3f}, 100.0f));
    setAngularMomentum(body, {0, 1200, 0});
    expectNear(getAngularVelocity(body), {0, 2, 0}, 1e-5f);
    expectNear(getAngularMomentum(body), {0, 1200, 0}, 1e-3f);
    // w x r for r along +x.
    expectNear(pointVelocity(body, {1, 0, 0}), {0, 0, -2}, 1e-5f);

    // Unequal inertia on a turned body: momentum round-trips through the rotation.
    setInertia(body, {100, 200, 300});
    setOrientation(body, rotationPart(rotationFromAngles(0.3f, 0.9f, -0.4f)));
    setAngularMomentum(body, {30, -60, 90});
    expectNear(getAngularMomentum(body), {30, -60, 90}, 1e-3f);
    Vec3 local = inverseTransformDirection(getPose(body), getAngularVelocity(body));
    Vec3 localMomentum = inverseTransformDirection(getPose(body), {30, -60, 90});
    expectNear(local, {localMomentum.x / 100, localMomentum.y / 200, localMomentum.z / 300}, 1e-4f);
}

// ---- Controllers and step ----

TEST(PhysicsStep, FourSubStepsCallEveryCallbackFourTimes)
{
    WorldPtr world = makeWorld();
    std::vector<int> order;
    FunctionCallback first([&](Controller*) { order.push_back(0); });
    FunctionCallback second([&](Controller*) { order.push_back(1); });
    RigidBody* a = makeBox(world.get(), {1, 1, 1}, {0, 10, 0});
    RigidBody* b = makeBox(world.get(), {1, 1, 1}, {5, 10, 0});
    Controller* ca = createController(a, &first);
    createController(b, &second);
    EXPECT_EQ(controllerBody(ca), a);

    StepStats stats;
    step(world.get(), kFrame, 4, &stats);
    EXPECT_EQ(stats.subSteps, 4);
    EXPECT_EQ(stats.callbacks, 8);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 0, 1, 0, 1, 0, 1}));

    // Nothing to do: no time or no sub-steps.
    step(world.get(), 0.0f, 4);
    step(world.get(), kFrame, 0);
    step(world.get(), -1.0f, 4);
    EXPECT_EQ(order.size(), 8u);
}

TEST(PhysicsStep, ControllerForceActsDuringTheSubStepItIsSetIn)
{
    WorldPtr world = makeWorld({0, 0, 0});
    RigidBody* body = makeBox(world.get(), {1, 1, 1}, {0, 0, 0}, 100.0f);
    int call = 0;
    std::vector<float> seenVelocity;
    FunctionCallback push([&](Controller* c) {
        ++call;
        seenVelocity.push_back(getLinearVelocity(controllerBody(c)).x);
        // Push only in the second sub-step, and a torque about y in the same one.
        setControllerForce(c, call == 2 ? Vec3{500, 0, 0} : Vec3{});
        setControllerTorque(c, call == 2 ? Vec3{0, 300, 0} : Vec3{});
    });
    createController(body, &push);
    step(world.get(), 0.4f, 4); // sub-steps of 0.1 s

    // a = 5 per s^2 for 0.1 s.
    ASSERT_EQ(seenVelocity.size(), 4u);
    EXPECT_FLOAT_EQ(seenVelocity[0], 0.0f);
    EXPECT_FLOAT_EQ(seenVelocity[1], 0.0f);
    EXPECT_NEAR(seenVelocity[2], 0.5f, 1e-4f);
    EXPECT_NEAR(seenVelocity[3], 0.5f, 1e-4f);
    EXPECT_NEAR(getLinearVelocity(body).x, 0.5f, 1e-4f);
    // Torque 300 for 0.1 s on inertia 2 * 0.25 * 100 / 3.
    float inertia = boxInertia({0.5f, 0.5f, 0.5f}, 100.0f).y;
    EXPECT_NEAR(getAngularMomentum(body).y, 30.0f, 1e-2f);
    EXPECT_NEAR(getAngularVelocity(body).y, 30.0f / inertia, 1e-3f);
    // Moved 0.025 during the push and 0.05 in each of the two sub-steps after it.
    EXPECT_NEAR(getPosition(body).x, 0.125f, 0.005f);
}

TEST(PhysicsStep, BodyForceActsUntilChangedAndControllerReplacesIt)
{
    WorldPtr world = makeWorld({0, 0, 0});
    RigidBody* free = makeBox(world.get(), {1, 1, 1}, {0, 0, 0}, 10.0f);
    setBodyForce(free, {10, 0, 0});
    step(world.get(), 0.5f, 4);
    step(world.get(), 0.5f, 4);
    EXPECT_NEAR(getLinearVelocity(free).x, 1.0f, 1e-4f);

    // A controlled body handed the same force twice (controller and body) gets it once.
    RigidBody* driven = makeBox(world.get(), {1, 1, 1}, {10, 0, 0}, 10.0f);
    FunctionCallback both([&](Controller* c) {
        setControllerForce(c, {0, 0, 20});
        setBodyForce(controllerBody(c), {0, 0, 20});
    });
    createController(driven, &both);
    step(world.get(), 1.0f, 4);
    EXPECT_NEAR(getLinearVelocity(driven).z, 2.0f, 1e-4f);
    expectNear(getBodyForce(driven), {0, 0, 20}, 1e-6f);
}

// ---- Sensors ----

RigidBody* makeProbe(PhysicsWorld* world, Vec3 position, Vec3 direction = {0, -1, 0})
{
    RigidBody* body = createRigidBody(world);
    setMass(body, 100.0f);
    Sensor* s = createSensor(body);
    setSensorRay(s, {0, 0, 0}, direction);
    setPosition(body, position);
    return body;
}

TEST(PhysicsSensor, DepthIsZeroUntilTheRayTouchesAndGrowsAsItIsPushedIntoTheGround)
{
    WorldPtr world = makeWorld({0, 0, 0});
    RigidBody* body = makeProbe(world.get(), {3, 5, 2});
    Sensor* s = firstSensor(body);
    EXPECT_EQ(sensorDepth(s), 0.0f); // before any step
    step(world.get(), kFrame, 4);
    EXPECT_EQ(sensorDepth(s), 0.0f);
    expectNear(sensorContactNormal(s), {0, 0, 0}, 0);
    EXPECT_EQ(sensorSurfaceClass(s), -1);
    // The ray's far end.
    expectNear(sensorContactPoint(s), {3, 4, 2}, 1e-5f);

    // With ground below, but further than the ray reaches, still nothing.
    ASSERT_TRUE(addStaticMesh(world.get(), flatGround(50, 0, 8)));
    step(world.get(), kFrame, 4);
    EXPECT_EQ(sensorDepth(s), 0.0f);

    float last = 0.0f;
    for (float height : {0.95f, 0.9f, 0.6f, 0.3f, 0.05f}) {
        setPosition(body, {3, height, 2});
        step(world.get(), 1e-4f, 1);
        EXPECT_NEAR(sensorDepth(s), 1.0f - height, 1e-4f) << height;
        EXPECT_GT(sensorDepth(s), last);
        last = sensorDepth(s);
        expectNear(sensorContactPoint(s), {3, 0, 2}, 1e-4f);
        expectNear(sensorContactNormal(s), {0, 1, 0}, 1e-5f);
        EXPECT_EQ(sensorSurfaceClass(s), 0);
    }
}

TEST(PhysicsSensor, RayFollowsTheBodyAndKeepsLengthAndUnitDirection)
{
    WorldPtr world = makeWorld({0, 0, 0});
    ASSERT_TRUE(addStaticMesh(world.get(), flatGround(50, 0, 8)));
    RigidBody* body = createRigidBody(world.get());
    Sensor* a = createSensor(body);
    Sensor* b = createSensor(body);
    Sensor* c = createSensor(body);
    setSensorRay(a, {2, 0, 1.25f}, {0, -2, 0});
    setSensorRay(b, {-2, 0, -1.25f}, {0, -1, 0});
    setSensorRay(c, {0, 0, 0}, {0, 0, 0});
    EXPECT_EQ(firstSensor(body), a);
    EXPECT_EQ(nextSensor(a), b);
    EXPECT_EQ(nextSensor(b), c);
    EXPECT_EQ(nextSensor(c), nullptr);
    EXPECT_FLOAT_EQ(sensorRayLength(a), 2.0f);
    expectNear(sensorRayDirection(a), {0, -1, 0}, 0);
    expectNear(sensorRayOrigin(a), {2, 0, 1.25f}, 0);

    // Tilted nose-down about z: the front ray (x = +2) is lower than the rear one.
    setOrientation(body, rotationPart(rotationZ(-0.1f)));
    setPosition(body, {0, 1.5f, 0});
    step(world.get(), 1e-4f, 1);
    float frontHeight = 1.5f - 2.0f * std::sin(0.1f);
    float rearHeight = 1.5f + 2.0f * std::sin(0.1f);
    // Along the tilted ray the distance is height / cos.
    EXPECT_NEAR(sensorDepth(a), 2.0f - frontHeight / std::cos(0.1f), 1e-3f);
    EXPECT_EQ(sensorDepth(b), 0.0f);
    EXPECT_EQ(sensorDepth(c), 0.0f);
    EXPECT_NEAR(sensorContactPoint(a).y, 0.0f, 1e-4f);
    // Lowered until the rear origin is 0.5 above the ground.
    setPosition(body, {0, 1.5f - (rearHeight - 0.5f), 0});
    step(world.get(), 1e-4f, 1);
    EXPECT_NEAR(sensorDepth(b), 1.0f - 0.5f / std::cos(0.1f), 1e-3f);
}

TEST(PhysicsSensor, HitReportsTheTrianglesSurfaceClassAndIgnoresItsOwnBody)
{
    WorldPtr world = makeWorld({0, 0, 0});
    StaticMesh mesh = flatGround(10, 0, 1, 0);
    StaticMesh right = flatGround(10, 0, 1, 2);
    for (Vec3& v : right.vertices) v.x += 20.0f;
    int base = static_cast<int>(mesh.vertices.size());
    mesh.vertices.insert(mesh.vertices.end(), right.vertices.begin(), right.vertices.end());
    for (MeshTriangle t : right.triangles) {
        for (int& i : t.vertex) i += base;
        mesh.triangles.push_back(t);
    }
    ASSERT_TRUE(addStaticMesh(world.get(), mesh));

    // The probes carry a box around their own ray origin, which must not count.
    RigidBody* left = makeProbe(world.get(), {0, 0.5f, 0});
    setBoxSize(createGeometry(left), {1, 1, 1});
    RigidBody* onRight = makeProbe(world.get(), {20, 0.5f, 0});
    // A box under a third probe hides the ground: a body hit has no class.
    RigidBody* overBox = makeProbe(world.get(), {5, 2.5f, 5}, {0, -3, 0});
    makeBox(world.get(), {2, 2, 2}, {5, 1, 5});
    step(world.get(), 1e-4f, 1);
    EXPECT_EQ(sensorSurfaceClass(firstSensor(left)), 0);
    EXPECT_NEAR(sensorDepth(firstSensor(left)), 0.5f, 1e-4f);
    EXPECT_EQ(sensorSurfaceClass(firstSensor(onRight)), 2);
    EXPECT_EQ(sensorSurfaceClass(firstSensor(overBox)), -1);
    EXPECT_NEAR(sensorDepth(firstSensor(overBox)), 2.5f, 1e-3f);
}

// ---- Contacts ----

TEST(PhysicsContact, BoxFallsAndRestsOnTheMesh)
{
    WorldPtr world = makeWorld();
    ASSERT_TRUE(addStaticMesh(world.get(), flatGround(50, 0, 10)));
    RigidBody* box = makeBox(world.get(), {2, 2, 2}, {1, 6, -2});
    RigidBody* awake = makeBox(world.get(), {2, 2, 2}, {20, 1.2f, 20});
    setMayRest(awake, 0);
    run(world.get(), 120); // 5 simulated seconds
    EXPECT_NEAR(getPosition(box).y, 1.0f, 0.05f);
    EXPECT_NEAR(getPosition(box).x, 1.0f, 0.05f);
    EXPECT_LT(length(getLinearVelocity(box)), 0.05f);
    expectNear(matRow(getPose(box), 1), {0, 1, 0}, 0.01f);

    // Left alone it comes to rest; its own force wakes it again.
    run(world.get(), 120);
    EXPECT_TRUE(isResting(box));
    EXPECT_FALSE(isResting(awake)); // a body that may not rest stays awake
    setBodyForce(box, {0, 0, 0});
    EXPECT_TRUE(isResting(box));
    setBodyForce(box, {0, 2000, 0});
    EXPECT_FALSE(isResting(box));
    run(world.get(), 5);
    EXPECT_GT(getPosition(box).y, 1.05f);
}

TEST(PhysicsContact, BoxesCollideWithEachOther)
{
    WorldPtr world = makeWorld({0, 0, 0});
    RigidBody* a = makeBox(world.get(), {2, 2, 2}, {0, 0, 0});
    RigidBody* b = makeBox(world.get(), {2, 2, 2}, {6, 0, 0});
    setLinearVelocity(a, {10, 0, 0});
    run(world.get(), 48);
    // Equal masses with the race's box restitution of 0.1: momentum is kept and
    // they part at a tenth of the closing speed.
    EXPECT_LT(getPosition(a).x + 1.99f, getPosition(b).x);
    EXPECT_NEAR(getLinearVelocity(a).x + getLinearVelocity(b).x, 10.0f, 1e-3f);
    EXPECT_NEAR(getLinearVelocity(b).x - getLinearVelocity(a).x, 1.0f, 0.05f);
}

TEST(PhysicsContact, BoxGlidesOverTheSeamsOfAFineMesh)
{
    WorldPtr world = makeWorld();
    ASSERT_TRUE(addStaticMesh(world.get(), flatGround(100, 0, 100))); // 2-unit cells
    RigidBody* box = makeBox(world.get(), {6, 1.4f, 2.6f}, {-80, 0.3f, -20.37f}, 100.0f, {0, 0.4f, 0});
    setLinearVelocity(box, {40, 0, 12});
    float highest = 0.0f;
    for (int i = 0; i < 60; ++i) {
        step(world.get(), kFrame, 4);
        highest = std::max(highest, getPosition(box).y);
    }
    EXPECT_NEAR(getLinearVelocity(box).x, 40.0f, 0.01f);
    EXPECT_NEAR(getLinearVelocity(box).z, 12.0f, 0.01f);
    EXPECT_LT(highest, 0.31f);
    EXPECT_LT(length(getAngularVelocity(box)), 0.05f);
}

TEST(PhysicsContact, FrictionComesFromTheRougherMaterialPairOnly)
{
    WorldPtr world = makeWorld();
    setMaterial(world.get(), 2, 0.4f, 0.0f);
    StaticMesh mesh = flatGround(100, 0, 10, 2);
    ASSERT_TRUE(addStaticMesh(world.get(), mesh));
    RigidBody* slick = makeBox(world.get(), {2, 2, 2}, {-50, 1, -20}, 10.0f, {}, 0);
    RigidBody* rough = makeBox(world.get(), {2, 2, 2}, {-50, 1, 20}, 10.0f, {}, 2);
    setLinearVelocity(slick, {10, 0, 0});
    setLinearVelocity(rough, {10, 0, 0});
    run(world.get(), 96);
    EXPECT_GT(getLinearVelocity(slick).x, 9.99f); // friction 0 on its side
    EXPECT_LT(length(getLinearVelocity(rough)), 0.01f);
    // 10 * 10 / (2 * 0.4 * 9.81) = 12.7 units to stop.
    EXPECT_NEAR(getPosition(rough).x, -50.0f + 12.7f, 0.5f);
}

TEST(PhysicsContact, FastBoxDoesNotTunnelThroughThinGround)
{
    for (bool facingDown : {false, true}) {
        WorldPtr world = makeWorld();
        StaticMesh ground = flatGround(100, 0, 1);
        if (facingDown)
            for (MeshTriangle& t : ground.triangles) std::swap(t.vertex[1], t.vertex[2]);
        ASSERT_TRUE(addStaticMesh(world.get(), ground));
        // The longest frame the race simulates: 2.5 x 1/17 s.
        const float longFrame = 2.5f / 17.0f;
        RigidBody* box = makeBox(world.get(), {1, 1, 1}, {0, 30, 0}, 10.0f);
        setLinearVelocity(box, {0, -400, 0});
        RigidBody* car = makeBox(world.get(), {6, 1.4f, 2.6f}, {20, 30, 0}, 100.0f, {0, 0.4f, 0});
        setLinearVelocity(car, {0, -250, 0});
        float lowestBox = 1e9f, lowestCar = 1e9f;
        for (int i = 0; i < 100; ++i) {
            step(world.get(), longFrame, 4);
            lowestBox = std::min(lowestBox, getPosition(box).y);
            lowestCar = std::min(lowestCar, getPosition(car).y);
        }
        // They bounce (restitution 0.1) but never sink through: box bottoms at 0.5
        // and 0.3 above the ground.
        EXPECT_GT(lowestBox, 0.4f) << facingDown;
        EXPECT_GT(lowestCar, 0.2f) << facingDown;
        EXPECT_NEAR(getPosition(box).y, 0.5f, 0.05f) << facingDown;
        EXPECT_NEAR(getPosition(car).y, 0.3f, 0.05f) << facingDown;
    }
}

TEST(PhysicsContact, FastBoxDoesNotPassThroughAWall)
{
    WorldPtr world = makeWorld({0, 0, 0});
    StaticMesh mesh;
    addWallZ(mesh, 0.0f, -10, 10, -10, 10);
    ASSERT_TRUE(addStaticMesh(world.get(), mesh));
    RigidBody* box = makeBox(world.get(), {6, 1.4f, 2.6f}, {0, 0, -20}, 100.0f, {0, 0.4f, 0});
    setLinearVelocity(box, {0, 0, 600});
    float furthest = -1e9f;
    for (int i = 0; i < 10; ++i) {
        step(world.get(), 2.5f / 17.0f, 4);
        furthest = std::max(furthest, getPosition(box).z);
    }
    EXPECT_LT(furthest, -1.3f + 0.2f); // half its width in front of the wall
    EXPECT_LT(getLinearVelocity(box).z, 0.0f);
}

TEST(PhysicsContact, BoxSlidingIntoAWallSlidesAlongIt)
{
    WorldPtr world = makeWorld();
    StaticMesh mesh = flatGround(100, 0, 20);
    addWallZ(mesh, 10.0f, -100, 100, -1, 5);
    ASSERT_TRUE(addStaticMesh(world.get(), mesh));
    RigidBody* box = makeBox(world.get(), {6, 1.4f, 2.6f}, {-40, 0.7f, 0});
    // Facing +x, drifting into the wall at 45 degrees over frictionless ground.
    setLinearVelocity(box, {15, 0, 15});
    float furthest = -1e9f;
    for (int i = 0; i < 96; ++i) {
        step(world.get(), kFrame, 4);
        furthest = std::max(furthest, getPosition(box).z);
    }
    Vec3 v = getLinearVelocity(box);
    // Stopped at the wall (half-width 1.3), sunk in less than one sub-step's travel.
    EXPECT_LT(furthest, 10.0f - 1.3f + 15.0f * kFrame / 4);
    EXPECT_GT(furthest, 10.0f - 1.5f);
    EXPECT_GT(v.x, 14.5f);           // kept its speed along the wall
    EXPECT_LT(std::fabs(v.z), 2.0f); // and bounced off at most a little
    EXPECT_GT(matRow(getPose(box), 1).y, 0.95f); // still upright
}

} // namespace
