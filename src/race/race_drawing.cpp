// The race's own part of the scene: the four race cars and the lamp halos.
// With the results panel the only GL in the race.
#include "race/race_flow.h"

#include "app/frame_timer.h"
#include "content/car_loading.h"
#include "content/track_loading.h"
#include "race/car_dynamics.h"
#include "race/chase_camera.h"
#include "render/lights.h"
#include "render/model_drawing.h"
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

}  // namespace

void drawRaceFrame() {
    // The route markers belong here, after the cars; their pulse already runs for the mini-map.
    advanceMarkerPhase(frameTiming.frameTicks);
    if (!shadersReady()) return;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Lit models: the Light program with the default material.
    beginLitModels();
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

    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (!skipSceneGeometry) drawHalos(cameraPosition);
}
