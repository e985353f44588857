#include "frontend/garage_scene.h"

#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/input.h"
#include "content/car_loading.h"
#include "content/livery.h"
#include "content/texture_tables.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"
#include "frontend/menu_framework.h"
#include "render/frame_stages.h"
#include "render/lights.h"
#include "render/model_drawing.h"
#include "render/post_processing.h"
#include "render/render_targets.h"
#include "render/screen_space.h"
#include "render/shader_programs.h"
#include "render/world_drawing.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

GarageCamera garageCamera;
const Vec3 garageCameraOffset{0.0f, -0.25f, -11.5f};

namespace {

constexpr float degrees = 3.14159265f / 180.0f;
// The top of the garage's turntable, just above the floor at -0.92.
constexpr float turntableTop = -0.905f;

struct ScreenView {
    int screen;
    GarageView view;
};
const ScreenView screenViews[] = {
    {1, {5, 322}},   {2, {5, 322}},   {5, {6, 218}},   {20, {1, 225}},  {21, {20, 29}},  {22, {18, 211}},
    {23, {18, 327}}, {24, {23, 357}}, {25, {6, 252}},  {26, {1, 14}},   {27, {4, 242}},  {28, {18, 114}},
    {29, {14, 286}}, {30, {23, 297}}, {31, {9, 235}},  {32, {22, 315}}, {33, {11, 182}}, {36, {9, 226}},
    {50, {5, 60}},   {61, {16, 210}}, {90, {14, 199}},
};

// Axle distances by body model (car model mod 6).
const float frontAxles[6] = {3.8f, 3.8f, 3.75f, 3.43f, 3.7f, 3.76f};
const float rearAxles[6] = {4.35f, 4.35f, 4.4f, 4.44f, 4.38f, 4.38f};

// The looks the livery of slot 0 was last painted with for the garage.
struct PaintedLooks {
    bool painted = false;
    int carModel = 0;
    float paint[3] = {0, 0, 0};
    int topVinyl = 0;
    int sideVinyl = 0;
};
PaintedLooks paintedLooks;

float clampPitch(float pitch) { return std::clamp(pitch, 1.0f, 23.0f); }

// Moves a speed towards 0 by a share of itself; tiny speeds stop.
float settle(float speed, float dt) {
    const float magnitude = std::fabs(speed);
    speed -= (speed > 0.0f ? 1.0f : -1.0f) * std::min(magnitude, magnitude * 0.03f * dt);
    return std::fabs(speed) < 0.01f ? 0.0f : speed;
}

float dragStep(int delta, float scale) {
    return delta > 0 ? float(delta) * scale : delta < 0 ? -float(-delta) * scale : 0.0f;
}

void applyCameraTransform() {
    glTranslatef(garageCameraOffset.x, garageCameraOffset.y, garageCameraOffset.z);
    glRotatef(garageCamera.pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(garageCamera.yaw, 0.0f, 1.0f, 0.0f);
}

// The camera transform as a matrix in the row-vector convention (what the
// view does to a world point).
Mat4 cameraMatrix() {
    // GL's glRotatef(a, axis) turns by +a; rotationX/Y here turn the same way.
    return multiply(multiply(rotationY(garageCamera.yaw * degrees), rotationX(garageCamera.pitch * degrees)),
                    translationMatrix(garageCameraOffset));
}

CarPlacement displayPlacement(int carModel) {
    CarPlacement placement;
    placement.shown = true;
    for (int w = 0; w < 4; ++w) placement.wheels[w] = garageWheelFrame(carModel, w);
    // Headlamps on in the showroom.
    placement.lights[0] = 1.0f;
    return placement;
}

void refreshLivery() {
    const CarConfig& car = workingCar;
    const PaintedLooks& p = paintedLooks;
    const bool same = p.painted && p.carModel == car.carModel && p.topVinyl == car.topVinyl &&
                      p.sideVinyl == car.sideVinyl && std::equal(p.paint, p.paint + 3, car.paintColor);
    if (!same) setGarageCar(car.carModel, car.paintColor, car.topVinyl, car.sideVinyl);
}

void drawOpaquePass(const CarAppearance& looks, const CarPlacement& placement) {
    beginLitModels();
    bindEnvironmentView();
    if (!skipSceneGeometry) drawCar(looks, liveryTexture[0], placement);
    unbindEnvironmentView();
    endLitModels();
    // The room's lamp panels, neon and floor strips glow.
    beginScenery(1.0f);
    if (garageLayers.garage && !skipSceneGeometry) drawSimple(*garageLayers.garage);
    endLitModels();

    const TreesProgram& t = treesProgram;
    useProgram(t.program);
    arb::glUniform4fARB(t.ambientColor, 0.45f, 0.45f, 0.45f, 1.0f);
    arb::glUniform4fARB(t.matAmbient, 0.5f, 0.5f, 0.5f, 1.0f);
    arb::glUniform4fARB(t.matDiffuse, 1.0f, 1.0f, 1.0f, 1.0f);
    arb::glUniform4fARB(t.emissive, 0.0f, 0.0f, 0.0f, 1.0f);
    arb::glUniform1fARB(t.shininess, 0.0f);
    sendTreeLights(Mat4{});
    if (garageLayers.trees && !skipSceneGeometry) drawSimple(*garageLayers.trees);
    useProgram(0);
}

void drawGlassPass(const CarAppearance& looks, const CarPlacement& placement) {
    beginLitModels();
    bindEnvironmentView();
    if (!skipSceneGeometry) drawCarGlass(&looks, &placement, 1);
    unbindEnvironmentView();
    endLitModels();
    beginScenery(0.0f);
    if (garageLayers.glass && !skipSceneGeometry) {
        sendShaderValue(CarShaderValue::GlassNow, 1.0f);
        sendShaderValue(CarShaderValue::GlassAlpha, 0.35f);
        drawWithOneTexture(*garageLayers.glass, TgaTable[31].texture);
        sendShaderValue(CarShaderValue::GlassNow, 0.0f);
        sendShaderValue(CarShaderValue::GlassAlpha, 0.0f);
    }
    endLitModels();

    // The floor darkens under the car and the neon lights it up. The car
    // stands on the turntable, whose top is a little above the floor (-0.92),
    // so the shadow lies just on it; both are pulled towards the camera to
    // win the depth test against the surface they lie on.
    glDepthMask(GL_FALSE);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1.0f, -4.0f);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBindTexture(GL_TEXTURE_2D, BmpTable[4]);
    groundQuad(-4.35f, 4.35f, -2.15f, 2.15f, turntableTop);
    const NeonGlow neon = neonGlow(workingCar.neon, frameTiming.gameClock);
    if (neon.intensity > 0.0f) {
        glColor4f(neon.r, neon.g, neon.b, neon.intensity);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glBindTexture(GL_TEXTURE_2D, BmpTable[3]);
        groundQuad(-4.25f, 4.25f, -1.7f, 1.7f, -0.9f);
    }
    glDisable(GL_BLEND);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDepthMask(GL_TRUE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void copyFrameInto(uint32_t texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, windowTargetWidth, windowTargetHeight);
}

void composite() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, double(windowTargetWidth), 0.0, double(windowTargetHeight), -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, auxTarget1);
    texturedQuad(0.0f, 0.0f, float(windowTargetWidth), float(windowTargetHeight));
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, auxTarget2);
    texturedQuad(0.0f, 0.0f, float(windowTargetWidth), float(windowTargetHeight));
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

GarageView garageViewFor(int screen) {
    for (const ScreenView& row : screenViews)
        if (row.screen == screen) return row.view;
    return {2, 320};
}

void stepGarageCameraTowards(GarageCamera& camera, GarageView target, float dt) {
    if (camera.yaw > 360.0f) camera.yaw -= 360.0f;
    else if (camera.yaw < 0.0f) camera.yaw += 360.0f;

    const float pitchGap = std::fabs(camera.pitch - target.pitch);
    const float e = camera.yaw - target.yaw;
    if (e == 0.0f) {
        // Already facing the right way: nothing to share the pitch's move with.
        camera.pitch = clampPitch(target.pitch);
        return;
    }
    float m = 0.0f, distance = 0.0f;
    if (std::fabs(e) <= 180.0f) {
        m = distance = std::fabs(e);
    } else {
        // The short way crosses 0/360: m turns the camera the other way.
        distance = std::fabs(camera.yaw + (camera.yaw > target.yaw ? -360.0f : 360.0f) - target.yaw);
        m = -distance;
    }
    const float q = pitchGap / distance;
    m = std::copysign(std::clamp(std::fabs(m), 0.5f, 100.0f), m);

    const float step = m * 0.045f * dt;
    if (camera.yaw < target.yaw) camera.yaw += step;
    else if (camera.yaw > target.yaw) camera.yaw -= step;
    const float pitchStep = std::fabs(m) * q * 0.045f * dt;
    if (camera.pitch < target.pitch) camera.pitch += pitchStep;
    else if (camera.pitch > target.pitch) camera.pitch -= pitchStep;

    const float after = camera.yaw - target.yaw;
    if ((e > 0.0f) != (after > 0.0f)) {
        camera.yaw = target.yaw;
        camera.pitch = target.pitch;
    }
    camera.pitch = clampPitch(camera.pitch);
}

void stepGarageCameraFree(GarageCamera& camera, float dt) {
    if (mouseState.leftHeld || mouseState.rightHeld) {
        camera.yawSpeed =
            std::clamp(camera.yawSpeed + dragStep(menuCursor.x - mouseState.dragX, 0.01f), -1.0f, 1.0f);
        mouseState.dragX = menuCursor.x;
        camera.pitchSpeed =
            std::clamp(camera.pitchSpeed + dragStep(menuCursor.y - mouseState.dragY, 0.0075f), -1.0f, 1.0f);
        mouseState.dragY = menuCursor.y;
    }
    camera.yawSpeed = settle(camera.yawSpeed, dt);
    camera.pitchSpeed = settle(camera.pitchSpeed, dt);
    camera.pitch = clampPitch(camera.pitch + camera.pitchSpeed * 0.65f * dt);
    camera.yaw += camera.yawSpeed * 0.65f * dt;
}

void updateGarageCamera(float dt) {
    if (mouseState.clickPending) stepGarageCameraFree(garageCamera, dt);
    else if (GameState == shownScreen) stepGarageCameraTowards(garageCamera, garageViewFor(shownScreen), dt);
}

Vec3 garageCameraEye() {
    Mat4 inverse;
    invertMatrix(cameraMatrix(), inverse);
    return posePosition(inverse);
}

Vec3 garageCameraDirection() {
    Mat4 inverse;
    invertMatrix(cameraMatrix(), inverse);
    // The camera looks down its -z axis.
    return transformDirection(inverse, {0.0f, 0.0f, -1.0f});
}

void garageAxles(int carModel, float& front, float& rear) {
    const int body = bodyModelOf(carModel);
    front = frontAxles[body];
    rear = rearAxles[body];
}

Mat4 garageWheelFrame(int carModel, int wheel) {
    float front = 0.0f, rear = 0.0f;
    garageAxles(carModel, front, rear);
    const bool isFront = wheel < 2;
    const bool left = wheel % 2 == 1;
    const Vec3 position{isFront ? front / 1.67f * 0.77f : -rear / 1.67f * 0.77f, -0.46f, left ? -1.06f : 1.06f};
    Mat4 frame;
    if (left) frame = rotationX(180.0f * degrees);
    if (isFront) frame = multiply(frame, rotationY(-30.0f * degrees));
    return multiply(frame, translationMatrix(position));
}

void loadGarage() { loadGarageSet(); }

void paintGarageWithWorkingCar() {
    setGarageCar(workingCar.carModel, workingCar.paintColor, workingCar.topVinyl, workingCar.sideVinyl);
}

void setGarageCar(int carModel, const float paintColor[3], int topVinyl, int sideVinyl) {
    paintLivery(0, carModel, paintColor[0], paintColor[1], paintColor[2], topVinyl, sideVinyl);
    paintedLooks.painted = true;
    paintedLooks.carModel = carModel;
    std::copy(paintColor, paintColor + 3, paintedLooks.paint);
    paintedLooks.topVinyl = topVinyl;
    paintedLooks.sideVinyl = sideVinyl;
}

bool garageShownBehind(int screen) { return screen != gameStates::pause; }

void drawGarageScene() {
    if (!shadersReady()) return;
    refreshLivery();
    // The drag reads the cursor in menu space, as the menus do.
    updateMenuCursor();
    updateGarageCamera(frameTiming.frameTicks);
    // Lamps for this frame's camera; the environment view uses them too.
    chooseActiveLights(garageCameraEye(), garageCameraDirection(), false);
    drawEnvironmentView(false);
    frameStage("environment");

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    applyCameraTransform();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const CarAppearance looks = appearanceOf(workingCar);
    const CarPlacement placement = displayPlacement(looks.carModel);
    drawOpaquePass(looks, placement);
    frameStage("opaque");
    copyFrameInto(auxTarget1);
    drawGlassPass(looks, placement);
    copyFrameInto(auxTarget2);
    frameStage("glass");
    composite();
    frameStage("composite");
    glowPasses();
    frameStage("glow");
}
