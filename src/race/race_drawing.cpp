// The race's own part of the scene: the traffic, the four race cars, their
// exhaust fire and smoke and wheel dust, the route markers and the lamp halos.
// With the results panel the only GL in the race.
#include "race/race_flow.h"

#include "app/frame_timer.h"
#include "app/settings.h"
#include "content/car_loading.h"
#include "content/texture_tables.h"
#include "content/track_loading.h"
#include "race/ai_path.h"
#include "race/car_dynamics.h"
#include "race/car_sounds.h"
#include "race/chase_camera.h"
#include "race/traffic.h"
#include "render/lights.h"
#include "render/frame_stages.h"
#include "render/model_drawing.h"
#include "render/particles.h"
#include "render/render_targets.h"
#include "render/route_markers.h"
#include "render/shader_programs.h"
#include "render/world_drawing.h"

#include <GL/gl.h>

namespace {

// Round a car with its wheels and parts.
constexpr float carBoundingRadius = 4.5f;

void multMatrix(const Mat4& m) { glMultMatrixf(&m.m[0][0]); }

// A plain box where a car's models are missing, so the car is still seen.
void drawStandInBox(const CarPlacement& placement) {
    glPushMatrix();
    multMatrix(placement.body);
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.8f, 0.15f, 0.1f);
    const float x = 3.0f, y0 = -0.3f, y1 = 1.1f, z = 1.3f;
    const float v[8][3] = {{-x, y0, -z}, {x, y0, -z}, {x, y1, -z}, {-x, y1, -z},
                           {-x, y0, z},  {x, y0, z},  {x, y1, z},  {-x, y1, z}};
    const int faces[6][4] = {{0, 1, 2, 3}, {5, 4, 7, 6}, {4, 0, 3, 7}, {1, 5, 6, 2}, {3, 2, 6, 7}, {4, 5, 1, 0}};
    glBegin(GL_QUADS);
    for (const auto& face : faces) {
        for (int k : face) glVertex3fv(v[k]);
    }
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();
}

uint32_t tgaTexture(int index) { return TgaTable[size_t(index)].texture; }

// The city traffic in play, lit by its own lamps (the Light program bound).
void drawTraffic() {
    for (int i = 0; i < trafficInPlay && i < trafficPlacementCapacity; ++i) {
        const CarPlacement& placement = trafficPlacements[i];
        if (!placement.shown || !sphereInView(posePosition(placement.body), carBoundingRadius)) continue;
        drawTrafficCar(trafficCars[i].model, placement);
    }
}

// Each race car's effects: its wheel dust (not on the grid) and, at both
// exhaust pipes, smoke and then fire. Emitters follow the levels the car
// sounds set; the particles of a car out of view are moved on but not drawn.
void drawCarEffects() {
    const Vec3 eye = cameraPosition;
    const float scale = frameTiming.frameTicks;
    for (int i = 0; i < raceCarCount; ++i) {
        const RaceCar& car = raceCars[i];
        if (!car.body) continue;
        const CarEffectLevels& levels = carEffectLevels[i];
        ParticleEmitter& dust = dustEmitters[i];
        ParticleEmitter& fire = fireEmitters[i];
        ParticleEmitter& smoke = smokeEmitters[i];
        dust.startLife = levels.dustLife;
        dust.emitting = levels.dustEmitting;
        for (int c = 0; c < 3; ++c) fire.colour[c] = levels.fireColour[c];
        fire.startLife = levels.fireLife;
        fire.emitting = levels.fireEmitting;
        if (i == 0) {
            smoke.startLife = levels.smokeLife;
            smoke.emitting = levels.smokeEmitting;
        }

        const Mat4 pose = physics::getPose(car.body);
        const Vec3 forward = normalise(matRow(pose, 0));
        updateParticles(dust, scale, normalise(-physics::getLinearVelocity(car.body)) * 100.0f);
        updateParticles(fire, scale, forward * -120.0f);
        updateParticles(smoke, scale, forward * -120.0f);
        if (!sphereInView(posePosition(pose), carBoundingRadius)) continue;

        if (!countdownActive) {
            const float* s = car.suspension;
            const Vec3 wheels[4] = {{2.0f, -s[0], 1.1f}, {2.0f, -s[1], -1.1f}, {-2.0f, -s[2], 1.1f},
                                    {-2.0f, -s[3], -1.1f}};
            for (const Vec3& w : wheels) drawParticles(dust, transformPoint(pose, w), eye, tgaTexture(4));
        }
        const CarAppearance& looks = raceCarSlots[i];
        const Vec3 pipe = exhaustPoint(bodyModelOf(looks.carModel), looks.bodyKit);
        for (const Vec3 p : {Vec3{pipe.x, pipe.y, -pipe.z}, pipe}) {
            const Vec3 origin = transformPoint(pose, p);
            drawParticles(smoke, origin, eye, tgaTexture(4));
            drawParticles(fire, origin, eye, tgaTexture(5));
        }
    }
}

}  // namespace

void drawRaceFrame() {
    advanceMarkerPhase(frameTiming.frameTicks);
    if (!shadersReady()) return;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Lit models: the Light program with the default material.
    beginLitModels();
    if (!skipSceneGeometry) drawTraffic();
    frameStage("traffic");
    bindEnvironmentView();
    for (int i = 0; i < raceCarCount && !skipSceneGeometry; ++i) {
        const CarPlacement& placement = raceCarPlacements[i];
        // Cars out of view (behind the camera) are not drawn.
        if (!placement.shown || !sphereInView(posePosition(placement.body), carBoundingRadius)) continue;
        const CarAppearance& looks = raceCarSlots[i];
        if (carPartSets[bodyModelOf(looks.carModel)].body.empty()) drawStandInBox(placement);
        else drawCar(looks, liveryTexture[size_t(i)], placement);
    }
    unbindEnvironmentView();
    endLitModels();
    frameStage("cars");

    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (skipSceneGeometry) return;
    if (gameSettings.particles) drawCarEffects();
    for (int i = 0; i < trafficInPlay && i < trafficPlacementCapacity; ++i)
        if (trafficPlacements[i].shown) drawTrafficLampGlows(trafficCars[i].model, trafficPlacements[i], cameraPosition);
    frameStage("particles");
    if (raceCars[0].body)
        drawRouteMarkers(aiPath, routeMarkers(aiPath, aiPathLast, physics::getPosition(raceCars[0].body),
                                               raceCars[0].nextCheckpoint));
    frameStage("markers");
    drawHalos(cameraPosition);
}
