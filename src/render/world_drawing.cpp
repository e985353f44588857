#include "render/world_drawing.h"

#include "app/settings.h"
#include "content/car_loading.h"
#include "content/texture_tables.h"
#include "content/track_loading.h"
#include "frontend/garage_scene.h"
#include "race/chase_camera.h"
#include "render/frame_stages.h"
#include "render/lights.h"
#include "render/model_drawing.h"
#include "render/render_targets.h"
#include "render/screen_space.h"
#include "render/shader_programs.h"
#include "render/sky.h"

#include <GL/gl.h>
#include <GL/glu.h>

bool skipSceneGeometry = false;
void (*frameStageHook)(const char* stageDone) = nullptr;

namespace {

constexpr int envSize = 256;
// What the cars reflect of the city: at 256 x 256 and bent over a car body,
// nothing further away than this shows as more than a few pixels.
constexpr float environmentDrawDistance = 250.0f;
const Mat4 worldFrame{};  // track layers are placed at the origin

void uniform1(GLint location, float v) {
    if (location >= 0) arb::glUniform1fARB(location, v);
}
void uniform4(GLint location, float r, float g, float b, float a) {
    if (location >= 0) arb::glUniform4fARB(location, r, g, b, a);
}

// The default material and every switch off but LightNow.
void sendDefaultMaterial(float lightNow) {
    const LightProgram& p = boundLightProgram();
    uniform4(p.ambientColor, 0.25f, 0.25f, 0.25f, 1.0f);
    uniform4(p.matAmbient, 0.5f, 0.5f, 0.5f, 1.0f);
    uniform4(p.matDiffuse, 1.0f, 1.0f, 1.0f, 1.0f);
    uniform4(p.matSpecular, 0.0f, 0.0f, 0.0f, 1.0f);
    uniform4(p.emissive, 0.0f, 0.0f, 0.0f, 1.0f);
    uniform1(p.shininess, 0.0f);
    uniform1(p.LightNow, lightNow);
    uniform1(p.StrongLightNow, 0.0f);
    uniform1(p.RefInt, 0.0f);
    uniform1(p.GlassNow, 0.0f);
    uniform1(p.GlassAlpha, 0.0f);
    uniform1(p.NoiseNow, 0.0f);
}

void sendCarValue(CarShaderValue value, float amount) {
    const LightProgram& p = boundLightProgram();
    switch (value) {
    case CarShaderValue::RefInt: uniform1(p.RefInt, amount); break;
    case CarShaderValue::NoiseNow: uniform1(p.NoiseNow, amount); break;
    case CarShaderValue::LightNow: uniform1(p.LightNow, amount); break;
    case CarShaderValue::GlassNow: uniform1(p.GlassNow, amount); break;
    case CarShaderValue::GlassAlpha: uniform1(p.GlassAlpha, amount); break;
    }
}

// Binds a Light program variant with this frame's light colours, the default
// material and the lights of the world frame.
void useLightVariant(const LightProgram& program, float lightNow) {
    useProgram(program.program);
    sendLightColours();
    sendDefaultMaterial(lightNow);
    sendModelLights(worldFrame);
}

void copyFrameInto(uint32_t texture, int width, int height) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
}

// The environment view is stored mirrored: it is drawn back with s running
// from 1 at the left edge to 0 at the right and copied again.
void mirrorEnvironmentView() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, envSize, 0.0, envSize, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, envMap);
    glBegin(GL_QUADS);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(envSize, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(envSize, envSize);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(0.0f, envSize);
    glEnd();
    copyFrameInto(envMap, envSize, envSize);
    glEnable(GL_DEPTH_TEST);
}

void windowOrtho() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, double(windowTargetWidth), 0.0, double(windowTargetHeight), -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

void drawEnvironmentView(bool race) {
    if (!shadersReady()) return;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(90.0, 1.0, 0.01, 15000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, envSize, envSize);
    glEnable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    Vec3 eye;
    if (race) {
        eye = posePosition(raceCarPlacements[0].body);
        gluLookAt(eye.x, eye.y, eye.z, cameraPosition.x, cameraPosition.y, cameraPosition.z, 0.0, 1.0, 0.0);
    } else {
        // From the car towards the garage camera, turned with it.
        gluLookAt(0.0, 0.0, 0.0, -garageCameraOffset.x, -garageCameraOffset.y, -garageCameraOffset.z, 0.0, 1.0, 0.0);
        glRotatef(garageCamera.pitch, 1.0f, 0.0f, 0.0f);
        glRotatef(garageCamera.yaw, 0.0f, 1.0f, 0.0f);
    }
    useLightVariant(sceneryProgram, 1.0f);
    if (race) {
        if (gameSettings.reflections && trackLayers.visual && !skipSceneGeometry) {
            setDrawDistance(environmentDrawDistance);
            drawSimple(*trackLayers.visual);
            setDrawDistance(0.0f);
        }
        useProgram(0);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        if (!skipSceneGeometry) drawHalos(eye);
    } else {
        if (garageLayers.garage && !skipSceneGeometry) drawSimple(*garageLayers.garage);
        useProgram(0);
    }
    copyFrameInto(envMap, envSize, envSize);
    if (race) mirrorEnvironmentView();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, gameSettings.width, gameSettings.height);
}

void drawWorld() {
    if (!shadersReady()) return;
    const Vec3 eye = chaseCamera.eye;
    chooseActiveLights(eye, chaseCamera.center - eye, true);
    useLightVariant(sceneryProgram, 1.0f);
    if (trackLayers.visual && !skipSceneGeometry) drawSimple(*trackLayers.visual);
    useProgram(0);
    frameStage("track");

    if (!skipSceneGeometry) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
        drawSky();
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    }
    frameStage("sky");

    const TreesProgram& t = treesProgram;
    useProgram(t.program);
    uniform4(t.ambientColor, 0.45f, 0.45f, 0.45f, 1.0f);
    uniform4(t.matAmbient, 0.5f, 0.5f, 0.5f, 1.0f);
    uniform4(t.matDiffuse, 1.0f, 1.0f, 1.0f, 1.0f);
    uniform4(t.emissive, 0.0f, 0.0f, 0.0f, 1.0f);
    uniform1(t.shininess, 0.0f);
    sendTreeLights(worldFrame);
    glEnable(GL_CULL_FACE);
    if (trackLayers.trees && !skipSceneGeometry) drawSimple(*trackLayers.trees);
    useProgram(0);
    frameStage("trees");
}

void beginScenery(float lightNow) {
    if (shadersReady()) useLightVariant(sceneryProgram, lightNow);
}

void sendShaderValue(CarShaderValue value, float amount) {
    if (shadersReady() && lightProgramBound()) sendCarValue(value, amount);
}

void beginLitModels(float lightNow) {
    if (!shadersReady()) return;
    useLightVariant(lightProgram, lightNow);
    sendCarShaderValue = sendCarValue;
    placeCarModel = sendModelLights;
}

void endLitModels() {
    sendCarShaderValue = nullptr;
    placeCarModel = nullptr;
    if (shadersReady()) useProgram(0);
}

void bindEnvironmentView() {
    if (!shadersReady()) return;
    arb::glActiveTextureARB(GL_TEXTURE1_ARB);
    glBindTexture(GL_TEXTURE_2D, envMap);
    arb::glActiveTextureARB(GL_TEXTURE0_ARB);
}

void unbindEnvironmentView() {
    if (!shadersReady()) return;
    arb::glActiveTextureARB(GL_TEXTURE1_ARB);
    glBindTexture(GL_TEXTURE_2D, 0);
    arb::glActiveTextureARB(GL_TEXTURE0_ARB);
}

void drawGlassOverScene() {
    if (!shadersReady()) return;
    const int w = windowTargetWidth, h = windowTargetHeight;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    beginLitModels();
    copyFrameInto(auxTarget1, w, h);
    bindEnvironmentView();
    if (!skipSceneGeometry) {
        drawCarGlass(raceCarSlots, raceCarPlacements, raceCarSlotCount);
        if (trackLayers.glass) {
            // The city's glass does not reflect: it is scenery.
            useLightVariant(sceneryProgram, 0.0f);
            glDisable(GL_CULL_FACE);
            sendCarValue(CarShaderValue::RefInt, 0.0f);
            sendCarValue(CarShaderValue::GlassNow, 1.0f);
            sendCarValue(CarShaderValue::GlassAlpha, 0.6f);
            drawWithOneTexture(*trackLayers.glass, TgaTable[31].texture);
            sendCarValue(CarShaderValue::GlassNow, 0.0f);
            sendCarValue(CarShaderValue::GlassAlpha, 0.0f);
            glEnable(GL_CULL_FACE);
        }
    }
    unbindEnvironmentView();
    endLitModels();
    copyFrameInto(auxTarget2, w, h);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    windowOrtho();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, auxTarget1);
    texturedQuad(0.0f, 0.0f, float(w), float(h));
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, auxTarget2);
    texturedQuad(0.0f, 0.0f, float(w), float(h));
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
