// A race-sized scene timed per step. Disabled by default (no timed tests); run with
//   test_physics --gtest_also_run_disabled_tests --gtest_filter='*Benchmark*'
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include <gtest/gtest.h>

#include "physics/physics_world.h"
#include "physics_test_util.h"

using namespace physics;
using namespace physics_test;

namespace {

// Springs, dampers, sideways grip and rear-wheel drive, close to the race's model.
struct DrivenCar : ControllerCallback {
    float drive = 60.0f;
    float steer = 0.15f;
    void update(Controller* c) override
    {
        RigidBody* body = controllerBody(c);
        Mat4 pose = getPose(body);
        Vec3 position = getPosition(body);
        Vec3 forward = normalise(matRow(pose, 0));
        Vec3 front = transformDirection(rotationY(steer) * pose, {1, 0, 0});
        Vec3 force{}, torque{};
        int wheel = 0;
        for (Sensor* s = firstSensor(body); s; s = nextSensor(s), ++wheel) {
            if (!addWheelSpring(body, pose, position, s, wheel < 2 ? 1800.0f : 3000.0f, force, torque)) continue;
            Vec3 n = sensorContactNormal(s);
            Vec3 cpos = sensorContactPoint(s) - position;
            Vec3 w = pointVelocity(body, cpos);
            Vec3 rolling = wheel < 2 ? front : forward;
            w -= n * dot(w, n);
            w -= rolling * dot(w, rolling);
            float l = length(w);
            Vec3 side = normalise(w) * (l < 1.0f ? -200.0f * std::sqrt(l) : -200.0f);
            side.y = 0;
            force += side;
            torque += cross(cpos, side);
            if (wheel >= 2) {
                force += forward * drive;
                torque += cross(cpos, forward * drive);
            }
        }
        Vec3 v = getLinearVelocity(body);
        force += v * (-0.15f * length(v)) + v * -1.5f;
        setControllerForce(c, force);
        setControllerTorque(c, torque);
    }
};

// CPU time of this thread, so that other work on the machine does not count.
double threadMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec * 1e-3;
}

double timeSteps(PhysicsWorld* world, int frames, float frameTime, double& worst)
{
    worst = 0.0;
    double total = 0.0;
    for (int i = 0; i < frames; ++i) {
        double start = threadMicroseconds();
        step(world, frameTime, 4);
        double us = threadMicroseconds() - start;
        total += us;
        worst = std::max(worst, us);
    }
    return total / frames;
}

TEST(PhysicsBenchmark, DISABLED_RaceSizedStep)
{
    // A 600 x 600 city block: gently rolling road of 20,000 triangles and walls.
    StaticMesh mesh = flatGround(300, 0, 100);
    for (Vec3& v : mesh.vertices) v.y = 0.3f * std::sin(v.x * 0.05f) * std::cos(v.z * 0.07f);
    for (int i = -5; i <= 5; ++i) addWallZ(mesh, 60.0f * i, -300, 300, -1, 4, 1);

    WorldLimits limits;
    limits.rigidBodiesCount = 20;
    limits.sensorsCount = 100;
    PhysicsWorld* world = createWorld(limits, {0, -9.81f, 0});
    setMaterial(world, 0, 0.0f, 0.1f);
    setMaterial(world, 1, 0.25f, 0.3f);
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(addStaticMesh(world, mesh));
    double meshMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();

    std::vector<DrivenCar> models(14);
    std::vector<RigidBody*> bodies;
    for (int i = 0; i < 4; ++i)
        bodies.push_back(
            makeWheeledBody(world, &models[i], {-20, 1.2f, -20 + 4.5f * i}, 100.0f, {6, 1.4f, 2.6f}, 0.4f));
    for (int i = 4; i < 14; ++i) {
        models[i].drive = 20.0f;
        models[i].steer = -0.1f;
        bodies.push_back(
            makeWheeledBody(world, &models[i], {-100.0f + 12.0f * i, 1.2f, 30}, 50.0f, {6, 1.0f, 2.6f}, 0.3f));
    }
    double worst60 = 0, worst17 = 0;
    double mean60 = timeSteps(world, 1200, 2.5f / 60.0f, worst60);
    double mean17 = timeSteps(world, 300, 2.5f / 17.5f, worst17);
    std::printf("mesh of %zu triangles built in %.1f ms\n", mesh.triangles.size(), meshMs);
    std::printf("14 bodies, 56 rays, 4 sub-steps: %.0f us CPU per step at 60 fps (worst %.0f), %.0f us at 17 fps (worst "
                "%.0f)\n",
                mean60, worst60, mean17, worst17);
    StepStats stats;
    step(world, 2.5f / 60.0f, 4, &stats);
    int upright = 0;
    for (RigidBody* b : bodies) upright += matRow(getPose(b), 1).y > 0.9f;
    std::printf("%d of %zu bodies upright, %d box contact points, %d internal steps\n", upright, bodies.size(),
                stats.contactPoints, stats.internalSteps);
    destroyWorld(world);
}

} // namespace
