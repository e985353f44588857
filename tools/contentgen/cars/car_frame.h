// The race-car frame shared by the body, the parts and the wheels: +x forward,
// +y up, +z to the car's right; the ground lies at y = -0.92 at rest.
#pragma once

#include "cars/mesh.h"

namespace cars {

constexpr int kBodyModels = 6;
constexpr float kGroundY = -0.92f;
constexpr float kWheelRadius = 0.46f;
constexpr float kWheelY = -0.46f;
constexpr float kWheelZ = 1.06f;
constexpr float kTyreWidth = 0.46f;  // wheel models span z -0.23..0.23 around their centre

// Front and rear axle distances of the garage table, per body model.
struct AxleTable {
    float front, rear;
};
constexpr AxleTable kAxles[kBodyModels] = {{3.8f, 4.35f}, {3.8f, 4.35f}, {3.75f, 4.4f},
                                           {3.43f, 4.44f}, {3.7f, 4.38f}, {3.76f, 4.38f}};
inline float frontAxleX(int body) { return kAxles[body].front / 1.67f * 0.77f; }
inline float rearAxleX(int body) { return -kAxles[body].rear / 1.67f * 0.77f; }

// Exhaust points (the right-hand one; the left is the same with -z) per body model and body kit.
constexpr V3 kExhaust[kBodyModels][4] = {
    {{-2.95f, -0.44f, 0.56f}, {-3.01f, -0.55f, 0.17f}, {-2.94f, -0.37f, 0.68f}, {-2.91f, -0.44f, 0.64f}},
    {{-3.11f, -0.43f, 0.56f}, {-3.04f, -0.37f, 0.69f}, {-2.99f, -0.41f, 0.59f}, {-3.06f, -0.64f, 0.59f}},
    {{-2.93f, -0.29f, 0.68f}, {-2.85f, -0.36f, 0.72f}, {-2.81f, -0.36f, 0.73f}, {-2.91f, -0.44f, 0.75f}},
    {{-2.99f, -0.53f, 0.54f}, {-2.97f, -0.52f, 0.51f}, {-3.01f, -0.59f, 0.59f}, {-2.9f, -0.46f, 0.64f}},
    {{-2.66f, -0.46f, 0.75f}, {-2.83f, -0.47f, 0.63f}, {-2.8f, -0.49f, 0.78f}, {-2.8f, -0.45f, 0.61f}},
    {{-2.85f, -0.38f, 0.81f}, {-2.83f, -0.44f, 0.72f}, {-3.03f, -0.46f, 0.29f}, {-2.77f, -0.39f, 0.54f}},
};

// City traffic: axle distances per traffic model (the saloon, model 4, is never driven; it uses model 0's).
constexpr AxleTable kTrafficAxles[5] = {{4.45f, 3.32f}, {4.45f, 3.92f}, {4.45f, 3.32f}, {4.45f, 3.92f},
                                        {4.45f, 3.32f}};
inline float trafficFrontX(int m) { return kTrafficAxles[m].front / 1.67f * 0.77f; }
inline float trafficRearX(int m) { return -kTrafficAxles[m].rear / 1.67f * 0.77f; }

}  // namespace cars
