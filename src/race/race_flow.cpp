#include "race/race_flow.h"

#include "app/frame_timer.h"
#include "app/settings.h"
#include "app/start_overlay.h"
#include "content/car_loading.h"
#include "content/sbm_model.h"
#include "content/track_loading.h"
#include "race/ai_driver.h"
#include "race/ai_path.h"
#include "race/car_control.h"
#include "race/car_dynamics.h"
#include "race/car_sounds.h"
#include "race/chase_camera.h"
#include "race/traffic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

int32_t lapsTotal = 4;
int32_t playerPlace = 1;
bool countdownActive = true;
bool raceFinished = false;
float phaseTimer = 0.0f;
RaceClock raceClock;
RaceClock lapClock;
RaceClock bestLap;
int32_t playerLapsCompleted = 0;
RaceClock lastLapTime;
float stepDt = 0.0f;
physics::PhysicsWorld* raceWorld = nullptr;
int32_t introPath = 0;
int32_t raceSetUpCount = 0;

namespace {

// Grid positions by track slot: slot = club * 10 + race number.
const Vec3 startPositions[30] = {
    {-18.0f, 1.5f, -26.0f}, {0.0f, 1.0f, -18.0f},    {0.0f, 2.7f, -64.0f},    {91.0f, 1.4f, -332.0f},
    {159.0f, 1.6f, -265.0f}, {-72.0f, 2.7f, -444.0f}, {-18.0f, 1.5f, -26.0f},  {159.0f, 1.6f, -265.0f},
    {-72.0f, 2.7f, -444.0f}, {11.0f, 0.9f, 390.0f},
    {91.0f, 1.4f, -332.0f},  {159.0f, 1.6f, -265.0f}, {-72.0f, 2.7f, -444.0f}, {11.0f, 0.9f, 390.0f},
    {214.0f, 1.1f, 222.0f},  {250.0f, 1.45f, 491.0f}, {91.0f, 1.4f, -332.0f},  {214.0f, 1.1f, 222.0f},
    {0.0f, 2.7f, -64.0f},    {91.0f, 1.4f, -332.0f},
    {11.0f, 0.9f, 390.0f},   {214.0f, 1.1f, 222.0f},  {250.0f, 1.45f, 491.0f}, {-18.0f, 1.5f, -26.0f},
    {0.0f, 1.0f, -18.0f},    {0.0f, 2.7f, -64.0f},    {11.0f, 0.9f, 390.0f},   {0.0f, 1.0f, -18.0f},
    {250.0f, 1.45f, 491.0f}, {-18.0f, 1.5f, -26.0f},
};

physics::StaticMesh collisionMesh(const SbmModel& model) {
    physics::StaticMesh mesh;
    mesh.vertices.reserve(model.vertices.size());
    for (const SbmVertex& v : model.vertices) mesh.vertices.push_back(v.position);
    mesh.triangles.reserve(model.triangles.size());
    for (const SbmTriangle& t : model.triangles) {
        physics::MeshTriangle tri;
        for (int k = 0; k < 3; ++k) tri.vertex[k] = t.vertexIndices[k];
        tri.surfaceClass = t.surfaceClass;
        mesh.triangles.push_back(tri);
    }
    return mesh;
}

}  // namespace

void (*computerDriverUpdate)(RaceCar& car, float f) = computerDriverFrame;

float clockValue(const RaceClock& clock) {
    return float(clock.minutes) * 10000.0f + float(clock.seconds) * 100.0f + clock.hundredths;
}

void advanceClock(RaceClock& clock, float hundredths) {
    clock.hundredths += hundredths;
    while (clock.hundredths >= 100.0f) {
        clock.hundredths -= 100.0f;
        ++clock.seconds;
    }
    while (clock.seconds >= 60) {
        clock.seconds -= 60;
        ++clock.minutes;
    }
}

std::string formatClock(const RaceClock& clock) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%02d", clock.minutes, clock.seconds, int(clock.hundredths));
    return text;
}

Vec3 startPosition(int trackSlot) {
    if (trackSlot < 1 || trackSlot > 30) trackSlot = 1;
    return startPositions[trackSlot - 1];
}

bool startRace(int track, const TrackLoadOptions& options) {
    if (loadTrack(track, options) && setUpRace()) return true;
    leaveRace();
    return false;
}

bool setUpRace() {
    // Laps, checkpoints and the computer drivers all need a line with a sane lap,
    // and the cars the collision layer's ground, or they would fall through the city.
    const bool lineLoaded = loadAiPath(loadedTrack);
    const bool groundLoaded = trackLayers.collision && trackLayers.collision->triangleCount() > 0;
    if (!lineLoaded)
        std::fprintf(stderr, "Nightrun: track %d cannot be raced: %s is missing or damaged\n", loadedTrack,
                     aiPathFile(loadedTrack).c_str());
    if (!groundLoaded)
        std::fprintf(stderr, "Nightrun: track %d cannot be raced: %smap.sbm is missing or damaged\n", loadedTrack,
                     trackDirectory(loadedTrack).c_str());
    if (!lineLoaded || !groundLoaded) {
        releaseRaceWorld();
        return false;
    }
    setUpRaceAt(startPosition(loadedTrack), trackLayers.collision.get());
    return true;
}

void setUpRaceAt(Vec3 start, const SbmModel* collision) {
    releaseRaceWorld();
    ++raceSetUpCount;

    playerPlace = 1;
    lapsTotal = 4;
    countdownActive = true;
    raceFinished = false;
    phaseTimer = 0.0f;
    raceClock = lapClock = bestLap = lastLapTime = RaceClock{};
    playerLapsCompleted = 0;
    resetChaseCamera();
    introPath = std::rand() % 3;
    resetPlayerControl();
    resetComputerDrivers();

    // Pools for the four cars, the traffic and one spare body.
    const int32_t n = std::clamp(trafficLevel, 0, 2);
    physics::WorldLimits limits;
    physics::defaultLimits(limits);
    limits.rigidBodiesCount = n + 5;
    limits.rigidParticleCount = 0;
    limits.reservedPool2 = 0;
    limits.overlapPairsCount = (n + 5) * (n + 4) / 2;
    limits.constraintSetsCount = n + 5;
    limits.sensorsCount = 100;
    raceWorld = physics::createWorld(limits, {0.0f, -9.81f, 0.0f});
    physics::setMaterial(raceWorld, 0, 0.0f, 0.1f);
    physics::setMaterial(raceWorld, 1, 0.25f, 0.3f);
    setUpTraffic(raceWorld, n);

    Vec3 s = start;
    for (int i = 0; i < raceCarCount; ++i) {
        RaceCar& car = raceCars[i];
        resetRaceCar(car);
        car.index = i;
        car.placeKey = i + 1;
        createCarBody(car, raceWorld, s);
        s.z += 4.5f;
    }
    startRaceSounds();

    if (collision) physics::addStaticMesh(raceWorld, collisionMesh(*collision));
    updateCarPlacements();
}

void releaseRaceWorld() {
    resetPlayerControl();
    releaseTraffic();
    if (raceWorld) physics::destroyWorld(raceWorld);
    raceWorld = nullptr;
    for (int i = 0; i < raceCarCount; ++i) {
        raceCars[i].body = nullptr;
        raceCars[i].controller = nullptr;
        raceCarPlacements[i].shown = false;
    }
}

void leaveRace() {
    stopRaceSounds();
    releaseRaceWorld();
    unloadTrack();
    phaseTimer = 0.0f;
    countdownActive = true;
    raceFinished = false;
}

bool advanceStep(float f) {
    float raw = 0.01f * f;
    if (stepDt != 0.0f) raw = std::clamp(raw, 0.8f * stepDt, 1.2f * stepDt);
    if (raw > maxStepDt) raw = maxStepDt;
    stepDt = raw;
    return stepDt < maxStepDt;
}

int32_t placeFor(int32_t playerPoints, const int32_t computerPoints[3]) {
    int32_t behind = 0;
    for (int k = 0; k < 3; ++k) {
        if (computerPoints[k] < playerPoints) ++behind;
    }
    return 4 - behind;
}

bool passCheckpoints(RaceCar& car) {
    if (aiPathLast < 0 || !car.body) return false;
    const int32_t passed = std::clamp(car.nextCheckpoint, 0, aiPathLast);
    const Vec3 position = physics::getPosition(car.body);
    if (length(position - pointPosition(aiPath[passed])) >= checkpointRadius) return false;

    const bool player = car.index == 0;
    if (player) checkpointSound(position, physics::getLinearVelocity(car.body));
    if (passed == 0) {
        ++car.lapsDone;
        if (player) {
            if (clockValue(lapClock) <= clockValue(bestLap) || car.lapsDone == 2) bestLap = lapClock;
            if (car.lapsDone >= 2) {
                ++playerLapsCompleted;
                lastLapTime = lapClock;
            }
            lapClock = RaceClock{};
            if (car.lapsDone > lapsTotal) {
                car.lapsDone = lapsTotal;
                raceFinished = true;
                phaseTimer = 0.0f;
            }
        }
    }
    ++car.pointsPassed;
    if (player) {
        const int32_t others[3] = {raceCars[1].pointsPassed, raceCars[2].pointsPassed, raceCars[3].pointsPassed};
        playerPlace = placeFor(car.pointsPassed, others);
    }

    car.nextCheckpoint = 0;
    for (int32_t k = passed + 1; k <= aiPathLast; ++k) {
        if (aiPath[k].kind == checkpointKind) {
            car.nextCheckpoint = k;
            break;
        }
    }
    return true;
}

void raceSimulationFrame() {
    if (!raceWorld) return;
    const float f = frameTiming.frameTicks;
    if (!advanceStep(f)) return;

    if (!countdownActive && !raceFinished) {
        // Both clocks gain the frame twice over.
        for (int pass = 0; pass < 2; ++pass) {
            advanceClock(raceClock, f);
            advanceClock(lapClock, f);
        }
    }

    playerControl(raceCars[0], f);
    passCheckpoints(raceCars[0]);
    for (int i = 1; i < raceCarCount; ++i) {
        if (computerDriverUpdate) computerDriverUpdate(raceCars[i], f);
    }
    trafficFrame(f);

    updateCarEffectLevels(playerNitroBurning());

    physics::step(raceWorld, worldTimeScale * stepDt, worldSubSteps);
    updateCarPlacements();
}

void headlessRaceFrame(float f) {
    frameTiming.frameTicks = f;
    updateCameraAndListener();
    raceSimulationFrame();
    if ((countdownActive || (phaseTimer > 0.0f && phaseTimer < 13.0f)) && !raceFinished) advanceCountdownClock(f);
}

float playerSpeed() { return raceWorld ? playerCarSpeed : 0.0f; }

void updateCarPlacements() {
    for (int i = 0; i < raceCarCount; ++i) {
        RaceCar& car = raceCars[i];
        CarPlacement& placement = raceCarPlacements[i];
        placement.shown = car.body != nullptr;
        if (!car.body) continue;
        updateWheelFrames(car);
        placement.body = physics::getPose(car.body);
        for (int w = 0; w < 4; ++w) {
            Mat4 local = rotationZ(car.wheelSpin[w]);
            // The wheel models face their outer side to +z: the left pair turns round.
            if (wheelAnchors[w].z < 0.0f) local = rotationX(-3.14159265f) * local;
            placement.wheels[w] = local * car.wheelFrames[w];
        }
        placement.bodyHeight = defaultBodyHeight;
        placement.lights[0] = 1.0f;
        placement.lights[1] = car.brakeLights;
        placement.lights[2] = car.reverseLights;
    }
    updateTrafficPlacements();
}
