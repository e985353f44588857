#include "content/car_loading.h"

#include "app/frame_timer.h"
#include "content/texture_tables.h"
#include "frontend/career_state.h"
#include "render/model_drawing.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

CarPartSet carPartSets[bodyModelCount];
WheelSet wheelSet;
TrafficSet trafficSet;
CarAppearance raceCarSlots[raceCarSlotCount];
CarPlacement raceCarPlacements[raceCarSlotCount];
CarPlacement trafficPlacements[trafficPlacementCapacity];
void (*sendCarShaderValue)(CarShaderValue value, float amount) = nullptr;
void (*placeCarModel)(const Mat4& frame) = nullptr;

namespace {

const char* const carDirectories[bodyModelCount] = {
    "base/cars/0/", "base/cars/1/", "base/cars/2/", "base/cars/3/", "base/cars/4/", "base/cars/5/"};

// Compiled at once: cars are drawn every frame.
void loadModel(SbmModel& model, const std::string& path) {
    model.load(path);
    compileModel(model);
}

// Optics, wheels and traffic carry their own textures, named by paths that are
// already relative to the working directory.
void loadTexturedModel(SbmModel& model, const std::string& path) {
    loadModel(model, path);
    model.loadMaterialTextures("");
}

void loadPartSet(CarPartSet& set, const std::string& dir) {
    loadModel(set.body, dir + "car.sbm");
    loadModel(set.windowGlass, dir + "glass_car.sbm");
    for (int k = 0; k < bodyKitCount; ++k) loadModel(set.bodyKit[k], dir + "obves" + std::to_string(k) + ".sbm");
    for (int k = 0; k < spoilerCount; ++k) loadModel(set.spoiler[k], dir + "krilo" + std::to_string(k) + ".sbm");
    for (int k = 0; k < scoopCount; ++k)
        loadModel(set.roofScoop[k], dir + "kovsh_top" + std::to_string(k) + ".sbm");
    for (int k = 0; k < scoopCount; ++k) loadModel(set.hoodScoop[k], dir + "kovsh" + std::to_string(k) + ".sbm");
    for (int k = 0; k < opticsCount; ++k)
        loadTexturedModel(set.optics[k], dir + "optika" + std::to_string(k) + ".sbm");
    for (int k = 0; k < opticsCount; ++k)
        loadModel(set.opticsGlass[k], dir + "glass_optika" + std::to_string(k) + ".sbm");
    loadModel(set.driver, dir + "pilot.sbm");
}

void releasePartSet(CarPartSet& set) {
    set.body.release();
    set.windowGlass.release();
    for (SbmModel& m : set.bodyKit) m.release();
    for (SbmModel& m : set.spoiler) m.release();
    for (SbmModel& m : set.roofScoop) m.release();
    for (SbmModel& m : set.hoodScoop) m.release();
    for (SbmModel& m : set.optics) m.release();
    for (SbmModel& m : set.opticsGlass) m.release();
    set.driver.release();
}

// A part chosen by a field: null (nothing drawn) for a value outside the set.
template <size_t N>
const SbmModel* pick(const SbmModel (&models)[N], int index) {
    return index >= 0 && size_t(index) < N ? &models[index] : nullptr;
}

void send(CarShaderValue value, float amount) {
    if (sendCarShaderValue) sendCarShaderValue(value, amount);
}

uint32_t tgaTexture(int index) { return TgaTable[size_t(index)].texture; }
uint32_t bmpTexture(int index) { return BmpTable[size_t(index)]; }

void sendLightNow(float amount) { send(CarShaderValue::LightNow, amount); }

// The whole model with one texture, whatever its materials name.
void drawWithTexture(const SbmModel* model, uint32_t texture) {
    if (model) drawWithOneTexture(*model, texture);
}

// Optics: group by group with the first material's texture; groups 0..2 are
// lit by the car's three light values, later groups are dark.
void drawOptics(const SbmModel* model, const float lights[3]) {
    if (model) drawLitGroups(*model, lights[0], lights[1], lights[2], sendLightNow);
}

void multMatrix(const Mat4& m) { glMultMatrixf(&m.m[0][0]); }

// A city car's body sits 0.05 above its frame.
Mat4 trafficBodyFrame(const CarPlacement& placement) {
    return translationMatrix({0.0f, 0.05f, 0.0f}) * placement.body;
}

// Enters a model frame of a placed car (a wheel's or the body's); the caller pops it.
void enterModelFrame(const Mat4& frame) {
    glPushMatrix();
    multMatrix(frame);
    if (placeCarModel) placeCarModel(frame);
}

// Enters the frame of a placed car's body, lifted a little off the road; the
// caller pops it.
void pushGroundFrame(const CarPlacement& placement) {
    glPushMatrix();
    multMatrix(placement.body);
    glTranslatef(0.0f, 0.05f, 0.0f);
}

// The shadow multiplies what lies under it: a quad just below the body's
// underside, in the ground frame.
void shadowQuad(const CarPlacement& placement, float x0, float x1, float z0, float z1) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBindTexture(GL_TEXTURE_2D, bmpTexture(5));
    groundQuad(x0, x1, z0, z1, -(placement.bodyHeight - 0.03f));
}

struct NeonRow {
    float r, g, b, k, a, b0;
};
// Colour, pulse rate k and the pulse I = a sin(k t) + b of neon 1..20.
const NeonRow neonRows[20] = {
    {1, 0, 0, 5, 0.5f, 0.5f},      {0, 1, 0, 5, 0.5f, 0.5f},       {0, 0, 1, 5, 0.5f, 0.5f},
    {1, 1, 0, 8, 0.5f, 0.5f},      {1, 0, 1, 8, 0.5f, 0.5f},       {0, 1, 1, 8, 0.5f, 0.5f},
    {0.5f, 1, 0, 12, 0.25f, 0.75f}, {0, 1, 0.5f, 12, 0.25f, 0.75f}, {0.5f, 0, 1, 12, 0.25f, 0.75f},
    {0, 0.5f, 1, 10, 0.5f, 0.5f},  {1, 0.5f, 0.5f, 10, 0.5f, 0.5f}, {0.5f, 1, 0.5f, 10, 0.5f, 0.5f},
    {0.5f, 0.5f, 1, 7, 0.5f, 0.7f}, {1, 0, 0, 7, 0.5f, 0.7f},       {0, 1, 0, 7, 0.5f, 0.7f},
    {0, 0, 1, 15, 0.5f, 0.5f},     {0.5f, 0, 1, 15, 0.5f, 0.5f},   {0, 0.5f, 1, 15, 0.5f, 0.5f},
    {0.5f, 1, 0.5f, 15, 0.5f, 0.75f}, {1, 0.5f, 0.5f, 15, 0.5f, 0.75f},
};

}  // namespace

void groundQuad(float x0, float x1, float z0, float z1, float y) {
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x0, y, z0);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x0, y, z1);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x1, y, z1);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x1, y, z0);
    glEnd();
}

const char* carDirectory(int bodyModel) { return carDirectories[bodyModelOf(bodyModel)]; }

int bodyModelOf(int carModel) { return ((carModel % bodyModelCount) + bodyModelCount) % bodyModelCount; }

void loadAllCarModels() {
    for (int body = 0; body < bodyModelCount; ++body) loadPartSet(carPartSets[body], carDirectories[body]);
    for (int k = 0; k < rimsCount; ++k) loadTexturedModel(wheelSet.rims[k], "base/cars/wheels/" + std::to_string(k) + ".sbm");
    for (int k = 0; k < trafficCarModelCount; ++k) {
        loadTexturedModel(trafficSet.cars[k], "base/city/car" + std::to_string(k) + ".sbm");
        trafficSet.lampGlows[k] = findLampGlows(trafficSet.cars[k]);
    }
    loadTexturedModel(trafficSet.wheel, "base/city/wheel.sbm");
}

void releaseAllCarModels() {
    for (CarPartSet& set : carPartSets) releasePartSet(set);
    for (SbmModel& m : wheelSet.rims) m.release();
    for (SbmModel& m : trafficSet.cars) m.release();
    for (auto& glows : trafficSet.lampGlows) glows.clear();
    trafficSet.wheel.release();
}

CarAppearance appearanceOf(const CarConfig& car) {
    CarAppearance looks;
    looks.carModel = car.carModel;
    looks.roofScoop = car.roofScoop;
    looks.hoodScoop = car.hoodScoop;
    looks.spoiler = car.spoiler;
    looks.bodyKit = car.bodyKit;
    looks.optics = car.optics;
    looks.rims = car.rims;
    looks.sideVinyl = car.sideVinyl;
    looks.topVinyl = car.topVinyl;
    for (int c = 0; c < 3; ++c) looks.paintColor[c] = car.paintColor[c];
    looks.neon = car.neon;
    looks.reservedPart = car.reservedPart;
    return looks;
}

void drawCar(const CarAppearance& looks, uint32_t liveryTexture, const CarPlacement& placement) {
    const CarPartSet& set = carPartSets[bodyModelOf(looks.carModel)];

    send(CarShaderValue::RefInt, 2.6f);
    const SbmModel* rim = pick(wheelSet.rims, looks.rims);
    for (const Mat4& wheel : placement.wheels) {
        enterModelFrame(wheel);
        drawWithTexture(rim, tgaTexture(12));
        glPopMatrix();
    }

    enterModelFrame(placement.body);
    send(CarShaderValue::NoiseNow, 1.0f);
    drawWithTexture(&set.body, liveryTexture);
    drawWithTexture(pick(set.bodyKit, looks.bodyKit), liveryTexture);
    send(CarShaderValue::NoiseNow, 0.0f);
    send(CarShaderValue::RefInt, 0.0f);

    drawWithTexture(pick(set.roofScoop, looks.roofScoop), bmpTexture(16));
    drawWithTexture(pick(set.hoodScoop, looks.hoodScoop), bmpTexture(16));
    drawWithTexture(pick(set.spoiler, looks.spoiler), bmpTexture(17));

    drawOptics(pick(set.optics, looks.optics), placement.lights);
    send(CarShaderValue::LightNow, 0.0f);
    drawWithTexture(&set.driver, bmpTexture(26));
    glPopMatrix();
}

void drawTrafficCar(int model, const CarPlacement& placement) {
    if (model < 0 || model >= trafficCarModelCount) return;
    for (const Mat4& wheel : placement.wheels) {
        enterModelFrame(wheel);
        drawSimple(trafficSet.wheel);
        glPopMatrix();
    }
    enterModelFrame(trafficBodyFrame(placement));
    const float* l = placement.lights;
    drawLitGroups(trafficSet.cars[model], 3.0f * l[0], 3.0f * l[1], 3.0f * l[2], sendLightNow);
    send(CarShaderValue::LightNow, 0.0f);
    glPopMatrix();
}

void drawTrafficLampGlows(int model, const CarPlacement& placement, Vec3 eye) {
    if (model < 0 || model >= trafficCarModelCount) return;
    drawLampGlows(trafficSet.lampGlows[model], trafficBodyFrame(placement), placement.lights, eye);
}

Vec3 exhaustPoint(int bodyModel, int bodyKit) {
    static const Vec3 points[bodyModelCount][bodyKitCount] = {
        {{-2.95f, -0.44f, 0.56f}, {-3.01f, -0.55f, 0.17f}, {-2.94f, -0.37f, 0.68f}, {-2.91f, -0.44f, 0.64f}},
        {{-3.11f, -0.43f, 0.56f}, {-3.04f, -0.37f, 0.69f}, {-2.99f, -0.41f, 0.59f}, {-3.06f, -0.64f, 0.59f}},
        {{-2.93f, -0.29f, 0.68f}, {-2.85f, -0.36f, 0.72f}, {-2.81f, -0.36f, 0.73f}, {-2.91f, -0.44f, 0.75f}},
        {{-2.99f, -0.53f, 0.54f}, {-2.97f, -0.52f, 0.51f}, {-3.01f, -0.59f, 0.59f}, {-2.9f, -0.46f, 0.64f}},
        {{-2.66f, -0.46f, 0.75f}, {-2.83f, -0.47f, 0.63f}, {-2.8f, -0.49f, 0.78f}, {-2.8f, -0.45f, 0.61f}},
        {{-2.85f, -0.38f, 0.81f}, {-2.83f, -0.44f, 0.72f}, {-3.03f, -0.46f, 0.29f}, {-2.77f, -0.39f, 0.54f}},
    };
    return points[bodyModelOf(bodyModel)][std::clamp(bodyKit, 0, bodyKitCount - 1)];
}

void drawCarGlass(const CarAppearance looks[], const CarPlacement placements[], int count) {
    send(CarShaderValue::GlassNow, 1.0f);
    for (int i = 0; i < count; ++i) {
        if (!placements[i].shown) continue;
        const CarPartSet& set = carPartSets[bodyModelOf(looks[i].carModel)];
        enterModelFrame(placements[i].body);
        send(CarShaderValue::GlassAlpha, 0.85f);
        send(CarShaderValue::RefInt, 1.0f);
        drawWithTexture(&set.windowGlass, tgaTexture(31));
        send(CarShaderValue::GlassAlpha, 0.3f);
        send(CarShaderValue::RefInt, 2.0f);
        drawWithTexture(pick(set.opticsGlass, looks[i].optics), tgaTexture(31));
        glPopMatrix();
    }
    send(CarShaderValue::GlassNow, 0.0f);
    send(CarShaderValue::GlassAlpha, 0.0f);
    send(CarShaderValue::RefInt, 0.0f);
}

NeonGlow neonGlow(int neon, float t) {
    if (neon < 1 || neon > 20) return {};
    const NeonRow& row = neonRows[neon - 1];
    return {row.r, row.g, row.b, row.a * std::sin(row.k * t) + row.b0};
}

void drawCarShadowAndNeon(const CarPlacement& placement, int neon, float t) {
    const float h = placement.bodyHeight;
    pushGroundFrame(placement);
    shadowQuad(placement, -4.35f, 4.35f, -2.15f, 2.15f);

    // The glow adds; neon 0 is drawn too, with alpha 0.
    const NeonGlow glow = neonGlow(neon, t);
    glColor4f(glow.r, glow.g, glow.b, glow.intensity);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, bmpTexture(3));
    groundQuad(-4.25f, 4.25f, -1.7f, 1.7f, -(h - 0.04f));
    glPopMatrix();
}

void drawTrafficShadow(const CarPlacement& placement) {
    pushGroundFrame(placement);
    shadowQuad(placement, -3.85f, 4.05f, -1.95f, 1.95f);
    glPopMatrix();
}

void drawCarShadowsAndNeon() {
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    for (int slot = 0; slot < raceCarSlotCount; ++slot) {
        if (raceCarPlacements[slot].shown)
            drawCarShadowAndNeon(raceCarPlacements[slot], raceCarSlots[slot].neon, frameTiming.gameClock);
    }
    for (const CarPlacement& traffic : trafficPlacements)
        if (traffic.shown) drawTrafficShadow(traffic);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
