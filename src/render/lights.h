// The street lamps that light the night scenes: one light source per triangle
// of the lights layer last flattened (the track's during a race, the garage's
// otherwise). Every frame the lamps are ordered by distance from the camera,
// the nearest usable ones fill the eight light slots the shaders read, and the
// nearest thirty get a halo.
#pragma once

#include "physics/vector_math.h"

class SbmModel;

struct LightSource {
    Vec3 position;
    // Working values, refreshed every frame when the active lights are chosen.
    float distanceSquared = 0.0f;  // horizontal, to the camera
    float angle = 0.0f;            // radians from the camera's horizontal view direction
};

constexpr int lightTableCapacity = 200;
constexpr int lightSlotCount = 8;
constexpr int haloLimit = 30;
// A slot with no lamp is parked this far below the world, where it lights nothing.
constexpr float parkedLightY = -10000.0f;

struct LightTable {
    LightSource entries[lightTableCapacity];
    int count = 0;
};

// What the shaders are lit by this frame (world space).
struct ActiveLights {
    Vec3 slots[lightSlotCount] = {{-70, 7.5f, -107}, {-35, 7.5f, -107}, {0, 7.5f, -107}, {-4, 7.5f, -107},
                                  {-4, 7.5f, -107},  {-4, 7.5f, -107},  {-4, 7.5f, -107}, {-4, 7.5f, -107}};
    Vec3 distant{600, 600, 0};  // the faint ninth light
    Vec3 direction{0, -1, 0};   // the way the lamps shine
    Vec3 camera;                // the eye the lights were chosen for
    float globalGrey = 0.45f;   // sky and distant light
    float localGrey = 1.1f;     // street lamps
};

extern LightTable lightTable;
extern ActiveLights activeLights;

// Rebuilds the table from a flattened lights layer: one light at the centre of
// each flattened triangle, in order, at most lightTableCapacity (the rest are
// ignored). An empty layer leaves no lights.
void buildLightTable(const SbmModel& flattenedLayer);
void clearLightTable();

// Orders the table by horizontal distance from `eye` (nearest first; equal
// distances keep their order) and fills the slots with the nearest lamps that
// lie within 1.7 rad of the horizontal view direction or within 40 units; the
// rest are parked. The grey levels are the race's when `race`, the menus'
// otherwise. No GL.
void chooseActiveLights(Vec3 eye, Vec3 viewDirection, bool race);
// The same, then sends the colours to the Light program (bound by the caller).
void chooseAndSendActiveLights(Vec3 eye, Vec3 viewDirection, bool race);
// Sends this frame's light colours to the bound Light program.
void sendLightColours();

// General 4 x 4 inverse (Gauss-Jordan with partial pivoting) of a matrix in
// the row-vector convention; false and the identity when it is singular.
bool invertMatrix(const Mat4& m, Mat4& inverse);

// The active lights as seen from a model placed by `model` (its placement in
// the world, without the camera): slots, distant light, direction and camera
// brought into the model's own coordinates.
struct ModelLights {
    Vec3 slots[lightSlotCount];
    Vec3 distant;
    Vec3 direction;
    Vec3 camera;
};
ModelLights lightsInModelSpace(const Mat4& model);

// Sends the lights for a model about to be drawn to the bound Light program: lightPos..light4Pos slots 0..3, light5Pos the distant light,
// lightOri the direction, cameraOri the camera.
void sendModelLights(const Mat4& model);
// The same for the Trees program: the eight slots and the local colour.
void sendTreeLights(const Mat4& model);

// The halos of the nearest min(count, 30) lamps, in the table's current
// order: additive squares of BMP 28 facing `eye`, each moved 0.75 towards it;
// no program bound. The caller sets the colour.
void drawHalos(Vec3 eye);
// How many halos drawHalos draws.
int haloCount();

// A square of half-extent `halfSize` (at least 0.2) centred on `centre`, facing
// `eye`, texture coordinates 0..1 across it. Used by halos and particles.
void cameraFacingSquare(Vec3 centre, float halfSize, Vec3 eye);
// Its corners, in the order of texture coordinates (0, 0), (1, 0), (1, 1), (0, 1),
// for callers that draw many squares in one batch.
void cameraFacingCorners(Vec3 centre, float halfSize, Vec3 eye, Vec3 corners[4]);
