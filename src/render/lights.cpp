#include "render/lights.h"

#include "content/sbm_model.h"

#include <algorithm>

LightTable lightTable;

void buildLightTable(const SbmModel& flattenedLayer) {
    const int count = std::min(flattenedLayer.flatCount(), lightTableCapacity);
    for (int k = 0; k < count; ++k) {
        const FlatTriangle& triangle = flattenedLayer.flat[size_t(k)];
        // The corner sum scaled by 0.33333, a hair short of the exact centroid.
        const Vec3 sum = triangle.corners[0].position + triangle.corners[1].position + triangle.corners[2].position;
        lightTable.entries[k] = LightSource{sum * 0.33333f, 0.0f, 0.0f};
    }
    for (int k = count; k < lightTableCapacity; ++k) lightTable.entries[k] = LightSource{};
    lightTable.count = count;
}

void clearLightTable() {
    for (LightSource& light : lightTable.entries) light = LightSource{};
    lightTable.count = 0;
}
