// Race-car models and their parts, the looks of the four race cars, and the
// drawing of a car from its looks. Every model is loaded once at the end of the
// start-up screen; choosing a part only picks among them and never reads a file.
#pragma once

#include "content/sbm_model.h"
#include "physics/vector_math.h"
#include "render/lamp_glows.h"

#include <cstdint>

struct CarConfig;

constexpr int carModelCount = 18;
constexpr int bodyModelCount = 6;   // car model mod 6
constexpr int bodyKitCount = 4;
constexpr int spoilerCount = 6;
constexpr int scoopCount = 6;
constexpr int opticsCount = 4;
constexpr int rimsCount = 8;
constexpr int trafficCarModelCount = 5;

// The models of one body model, in loading order (33 files in base/cars/<body>/).
struct CarPartSet {
    SbmModel body;                      // car.sbm
    SbmModel windowGlass;               // glass_car.sbm
    SbmModel bodyKit[bodyKitCount];     // obves0..3.sbm
    SbmModel spoiler[spoilerCount];     // krilo0..5.sbm, 0 none
    SbmModel roofScoop[scoopCount];     // kovsh_top0..5.sbm, 0 none
    SbmModel hoodScoop[scoopCount];     // kovsh0..5.sbm, 0 none
    SbmModel optics[opticsCount];       // optika0..3.sbm
    SbmModel opticsGlass[opticsCount];  // glass_optika0..3.sbm
    SbmModel driver;                    // pilot.sbm
};

struct WheelSet {
    SbmModel rims[rimsCount];           // base/cars/wheels/0..7.sbm
};

struct TrafficSet {
    SbmModel cars[trafficCarModelCount];  // base/city/car0..4.sbm
    SbmModel wheel;                       // base/city/wheel.sbm
    // Where each car's lamps glow (found in its lamp groups when it is loaded).
    std::vector<LampGlow> lampGlows[trafficCarModelCount];
};

extern CarPartSet carPartSets[bodyModelCount];
extern WheelSet wheelSet;
extern TrafficSet trafficSet;

// "base/cars/<body>/" for a body model 0..5.
const char* carDirectory(int bodyModel);

// Loads every car model: the part sets of body models 0..5, the wheels, then
// the traffic set. Only the optics, wheel and traffic models load their own
// material textures (paths as stored in the models); the rest are drawn with
// fixed textures. Missing files leave their models empty. Needs a GL context.
void loadAllCarModels();
// Releases every car model and its textures (the game keeps them to the end).
void releaseAllCarModels();

// The body model of a car model: car model mod 6, never negative.
int bodyModelOf(int carModel);

// The looks of one car: its car model and the thirteen appearance fields of a
// CarConfig in their stored order.
struct CarAppearance {
    int32_t carModel = 0;
    int32_t roofScoop = 0;
    int32_t hoodScoop = 0;
    int32_t spoiler = 0;
    int32_t bodyKit = 0;
    int32_t optics = 0;
    int32_t rims = 0;
    int32_t sideVinyl = 0;
    int32_t topVinyl = 0;
    float paintColor[3] = {0.0f, 0.0f, 0.0f};
    int32_t neon = 0;
    int32_t reservedPart = 0;  // copied along, selects nothing
};

CarAppearance appearanceOf(const CarConfig& car);

// The four race cars' looks: slot 0 the player, 1..3 the opponents; filled when
// a track is loaded.
constexpr int raceCarSlotCount = 4;
extern CarAppearance raceCarSlots[raceCarSlotCount];

// Body height of a car standing on the ground (its ground lies at y -0.92 in
// the car's frame): puts the shadow just above the road.
constexpr float defaultBodyHeight = 0.97f;

// Where a car is drawn this frame, written by whoever moves it (race or garage).
struct CarPlacement {
    bool shown = false;        // false: nothing is drawn for it, not even a shadow
    Mat4 body;                 // the body's frame in the world
    Mat4 wheels[4];            // each wheel's frame in the world
    float bodyHeight = defaultBodyHeight;
    float lights[3] = {0.0f, 0.0f, 0.0f};  // optics groups 0, 1 and 2
};

constexpr int trafficPlacementCapacity = 10;
extern CarPlacement raceCarPlacements[raceCarSlotCount];
extern CarPlacement trafficPlacements[trafficPlacementCapacity];

// Shader values that the car drawing changes as it goes. The renderer points
// sendCarShaderValue at its Light program; while it is null nothing is sent and
// the cars draw with the fixed-function state the caller set.
enum class CarShaderValue { RefInt, NoiseNow, LightNow, GlassNow, GlassAlpha };
extern void (*sendCarShaderValue)(CarShaderValue value, float amount);
// Called with each model frame of a car (a wheel's, the body's: its placement
// in the world, without the camera) before the models in it are drawn, so the
// renderer can bring the lights into the model's coordinates; null: nothing.
extern void (*placeCarModel)(const Mat4& frame);

// A flat quad at height y over x0..x1, z0..z1 (z0 < z1), texture coordinates
// 0..1, facing up: the shadows and neon glows under cars.
void groundQuad(float x0, float x1, float z0, float z1, float y);
// One car: wheels, body and body kit with its livery, scoops, spoiler, optics
// (group by group, lit by the placement's light values) and the driver. The
// caller sets the camera and texture unit 0 active.
void drawCar(const CarAppearance& looks, uint32_t liveryTexture, const CarPlacement& placement);
// One city traffic car (model 0..3 of the traffic set): its four wheels with
// their own textures, then the body 0.05 above its frame, its lamp groups lit
// by three times the placement's light values (headlights, left and right
// indicators). The caller sets the camera and texture unit 0 active.
void drawTrafficCar(int model, const CarPlacement& placement);
// The glows of its lit lamps, seen from `eye` (after the opaque cars; no program bound).
void drawTrafficLampGlows(int model, const CarPlacement& placement, Vec3 eye);
// The glass of `count` cars, after everything else of the frame: window glass,
// then lamp glass, each car in its body frame. Cars not shown are skipped.
void drawCarGlass(const CarAppearance looks[], const CarPlacement placements[], int count);

// Where the exhaust pipe on the car's right ends, in the car's frame, for a
// body model 0..5 and a body kit 0..3 (the left pipe is the same with -z):
// where the exhaust fire and smoke come out.
Vec3 exhaustPoint(int bodyModel, int bodyKit);

// Neon glow colour: (r, g, b) and the pulsing intensity I at game clock t
// (seconds). Neon 0 and values outside 1..20 give intensity 0.
struct NeonGlow {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float intensity = 0.0f;
};
NeonGlow neonGlow(int neon, float t);

// Shadow and neon under one race car, and the shadow under one traffic car;
// blending and depth-write state as drawCarShadowsAndNeon leaves it.
void drawCarShadowAndNeon(const CarPlacement& placement, int neon, float t);
void drawTrafficShadow(const CarPlacement& placement);

// Shadows under the shown race cars, their neon glow, then the shadows of the
// shown traffic cars; depth writes off and blending on while drawing.
void drawCarShadowsAndNeon();
