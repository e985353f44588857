// .sbm models as the track and car loaders take them: the collision layer's
// surface classes, the light layer's flattening and every index the drawing
// and the physics mesh follow.
#include "content/sbm_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SbmModel model;
    if (!model.loadFromMemory(data, size)) {
        if (!model.empty()) __builtin_trap();  // a failed load leaves nothing behind
        return 0;
    }
    model.classifySurfaces();
    model.flatten();
    float sum = 0.0f;
    for (const SbmGroup& group : model.groups) {
        const SbmMaterial* material = group.materialIndex >= 0 ? &model.materials.at(size_t(group.materialIndex)) : nullptr;
        if (material) sum += material->transparency;
        for (int32_t t : group.triangleIndices)
            for (int32_t v : model.triangles.at(size_t(t)).vertexIndices) sum += model.vertices.at(size_t(v)).position.x;
    }
    return sum == 12345.0f ? 1 : 0;
}
