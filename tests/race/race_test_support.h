// Small flat worlds, circuits and driving helpers for the race tests.
#pragma once

#include "app/frame_timer.h"
#include "app/input.h"
#include "app/settings.h"
#include "content/sbm_model.h"
#include "frontend/career_state.h"
#include "physics/physics_world.h"
#include "race/ai_path.h"
#include "race/car_dynamics.h"
#include "race/race_flow.h"
#include "race/traffic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace race_test {

// A flat square of ground at height y, half-size `half`, in cells of `cell` units.
inline std::unique_ptr<SbmModel> flatGround(float half, float y, float cell = 50.0f) {
    auto model = std::make_unique<SbmModel>();
    const int cells = std::max(1, int(2.0f * half / cell));
    const float size = 2.0f * half / float(cells);
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            SbmVertex v;
            v.position = {-half + float(i) * size, y, -half + float(j) * size};
            model->vertices.push_back(v);
        }
    }
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            const int a = j * (cells + 1) + i, b = a + 1, c = a + cells + 1, d = c + 1;
            SbmTriangle t1, t2;
            t1.vertexIndices[0] = a;
            t1.vertexIndices[1] = c;
            t1.vertexIndices[2] = b;
            t2.vertexIndices[0] = b;
            t2.vertexIndices[1] = c;
            t2.vertexIndices[2] = d;
            model->triangles.push_back(t1);
            model->triangles.push_back(t2);
        }
    }
    return model;
}

// A straight line of `count` points along +x at height 1, 10 apart, from x0 at
// z; a checkpoint every `every` points (a lone one at the line would count a lap
// a frame).
inline std::vector<TrackPoint> straightLine(int count, float x0 = 0.0f, float z = 0.0f, int every = 10) {
    std::vector<TrackPoint> points(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        points[size_t(i)].x = x0 + 10.0f * float(i);
        points[size_t(i)].y = 1.0f;
        points[size_t(i)].z = z;
        points[size_t(i)].kind = i % every == 0 ? 1 : 0;
    }
    return points;
}

// A wall across the x axis at x = `at`, facing -x, from z = -half to +half.
inline void addWall(SbmModel& model, float at, float half, float height = 4.0f) {
    const int32_t base = int32_t(model.vertices.size());
    for (Vec3 p : {Vec3{at, -1.0f, -half}, Vec3{at, -1.0f, half}, Vec3{at, height, -half}, Vec3{at, height, half}}) {
        SbmVertex v;
        v.position = p;
        model.vertices.push_back(v);
    }
    const int32_t corners[2][3] = {{0, 2, 1}, {1, 2, 3}};
    for (const auto& c : corners) {
        SbmTriangle t;
        for (int k = 0; k < 3; ++k) t.vertexIndices[k] = base + c[k];
        t.surfaceClass = 3;
        model.triangles.push_back(t);
    }
}

// Makes `points` the driving line; false when the line is refused.
inline bool useLine(const std::vector<TrackPoint>& points) { return setAiPath(points.data(), int32_t(points.size())); }

// Turns a car onto its roof (about its long axis).
inline void turnOver(physics::RigidBody* body) {
    Mat3 upsideDown;
    upsideDown.row[1] = {0.0f, -1.0f, 0.0f};
    upsideDown.row[2] = {0.0f, 0.0f, -1.0f};
    physics::setOrientation(body, upsideDown);
}

inline void releaseAllKeys() { std::memset(KeyDown, 0, 256); }

inline void holdKey(int binding, bool down) {
    KeyDown[gameSettings.keys[binding]] = down ? 1 : 0;
}

enum Binding { left = 0, right = 1, accelerate = 2, brake = 3, nitro = 4 };

// A race set up on flat ground at y = 0 with the grid at `start`; the
// countdown can be skipped. The player drives a car of the given speed rating.
class RaceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gameSettings = GameSettings{};
        gameSettings.sound = 0;
        trafficLevel = 0;
        releaseAllKeys();
        workingCar = CarConfig{};
        workingCar.speedRating = 1.0f;
        stepDt = 0.0f;
        clearAiPath();
        computerDriverUpdate = defaultDriver;
    }
    void TearDown() override {
        releaseRaceWorld();
        releaseAllKeys();
        clearAiPath();
        computerDriverUpdate = defaultDriver;
    }

    void setUpFlatRace(Vec3 start = {0.0f, 0.95f, 0.0f}, bool skipCountdown = true, float half = 4000.0f) {
        ground = flatGround(half, 0.0f, 250.0f);
        setUpRaceAt(start, ground.get());
        if (skipCountdown) countdownActive = false;
    }

    // Simulation frames of f hundredths (the frame driver's order, without drawing).
    void run(int frames, float f = 1.6f) {
        for (int i = 0; i < frames; ++i) headlessRaceFrame(f);
    }

    RaceCar& player() { return raceCars[0]; }
    Vec3 position() { return physics::getPosition(player().body); }
    float speed() { return carSpeed(player()); }

    std::unique_ptr<SbmModel> ground;
    static inline void (*const defaultDriver)(RaceCar&, float) = computerDriverUpdate;
};

}  // namespace race_test
