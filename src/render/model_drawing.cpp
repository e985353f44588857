#include "render/model_drawing.h"

#include "app/frame_timer.h"
#include "render/shader_programs.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {

CullReport cullCounts;
float drawDistance = 0.0f;

// The six planes of the current view volume (ax + by + cz + d >= 0 inside),
// in the coordinates the model is drawn in, and the eye there.
struct ViewVolume {
    float planes[6][4];
    Vec3 eye;
};

ViewVolume currentViewVolume() {
    float mv[16], pr[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    glGetFloatv(GL_PROJECTION_MATRIX, pr);
    // clip = P * M, both column-major; row i of the product is what the planes need.
    float c[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += pr[k * 4 + row] * mv[col * 4 + k];
            c[col * 4 + row] = sum;
        }
    auto row = [&](int r, int k) { return c[k * 4 + r]; };
    ViewVolume v;
    for (int p = 0; p < 6; ++p) {
        const int axis = p / 2;
        const float sign = p % 2 == 0 ? 1.0f : -1.0f;
        for (int k = 0; k < 4; ++k) v.planes[p][k] = row(3, k) + sign * row(axis, k);
    }
    // The eye: the modelview's translation taken back through its rotation.
    const Vec3 t{mv[12], mv[13], mv[14]};
    v.eye = {-(mv[0] * t.x + mv[1] * t.y + mv[2] * t.z), -(mv[4] * t.x + mv[5] * t.y + mv[6] * t.z),
             -(mv[8] * t.x + mv[9] * t.y + mv[10] * t.z)};
    return v;
}

bool boxVisible(const ViewVolume& v, const SbmChunk& chunk) {
    for (const auto& plane : v.planes) {
        // The box corner furthest along the plane's normal.
        const float x = plane[0] >= 0.0f ? chunk.boundsMax.x : chunk.boundsMin.x;
        const float y = plane[1] >= 0.0f ? chunk.boundsMax.y : chunk.boundsMin.y;
        const float z = plane[2] >= 0.0f ? chunk.boundsMax.z : chunk.boundsMin.z;
        if (plane[0] * x + plane[1] * y + plane[2] * z + plane[3] < 0.0f) return false;
    }
    return true;
}

void sendTriangles(const SbmModel& model, const std::vector<int32_t>& indices) {
    glBegin(GL_TRIANGLES);
    for (int32_t index : indices) {
        const SbmTriangle& t = model.triangles[size_t(index)];
        for (int c = 0; c < 3; ++c) {
            glNormal3f(t.normals[c].x, t.normals[c].y, t.normals[c].z);
            glTexCoord2f(t.s[c], t.t[c]);
            const Vec3& p = model.vertices[size_t(t.vertexIndices[c])].position;
            glVertex3f(p.x, p.y, p.z);
        }
    }
    glEnd();
}

SbmChunk compileChunk(const SbmModel& model, const std::vector<int32_t>& indices) {
    SbmChunk chunk;
    chunk.boundsMin = {1e30f, 1e30f, 1e30f};
    chunk.boundsMax = {-1e30f, -1e30f, -1e30f};
    for (int32_t index : indices) {
        for (int32_t v : model.triangles[size_t(index)].vertexIndices) {
            const Vec3& p = model.vertices[size_t(v)].position;
            chunk.boundsMin = {std::min(chunk.boundsMin.x, p.x), std::min(chunk.boundsMin.y, p.y),
                               std::min(chunk.boundsMin.z, p.z)};
            chunk.boundsMax = {std::max(chunk.boundsMax.x, p.x), std::max(chunk.boundsMax.y, p.y),
                               std::max(chunk.boundsMax.z, p.z)};
        }
    }
    chunk.triangleCount = int32_t(indices.size());
    chunk.list = glGenLists(1);
    if (chunk.list != 0) {
        glNewList(chunk.list, GL_COMPILE);
        sendTriangles(model, indices);
        glEndList();
    }
    return chunk;
}

// Walks a model's groups in order, calling prepare(group) before each group's
// triangles are sent. A compiled model draws from its lists; one cut into
// cells draws only the chunks in view, cell by cell from the nearest, each
// cell's groups in their order, so the depth test can spare the surfaces hidden
// behind nearer ones their shading.
template <typename Prepare>
void drawGroups(const SbmModel& model, Prepare prepare) {
    const size_t groupCount = model.groups.size();
    if (model.chunks.size() != groupCount) {
        for (size_t g = 0; g < groupCount; ++g) {
            prepare(g);
            sendTriangles(model, model.groups[g].triangleIndices);
        }
        return;
    }
    if (model.cellSize <= 0.0f) {
        for (size_t g = 0; g < groupCount; ++g) {
            prepare(g);
            for (const SbmChunk& chunk : model.chunks[g]) glCallList(chunk.list);
        }
        return;
    }
    const ViewVolume volume = currentViewVolume();
    struct Visible {
        float distance;
        uint32_t group;
        uint32_t list;
        bool operator<(const Visible& o) const { return distance != o.distance ? distance < o.distance : group < o.group; }
    };
    static std::vector<Visible> visible;
    visible.clear();
    for (size_t g = 0; g < groupCount; ++g) {
        for (const SbmChunk& chunk : model.chunks[g]) {
            ++cullCounts.total;
            if (!boxVisible(volume, chunk)) continue;
            // Chunks of one cell share its centre, so they sort together.
            if (drawDistance > 0.0f) {
                const float nx = std::clamp(volume.eye.x, chunk.boundsMin.x, chunk.boundsMax.x) - volume.eye.x;
                const float nz = std::clamp(volume.eye.z, chunk.boundsMin.z, chunk.boundsMax.z) - volume.eye.z;
                if (nx * nx + nz * nz > drawDistance * drawDistance) continue;
            }
            const float dx = chunk.cellCentre.x - volume.eye.x, dz = chunk.cellCentre.z - volume.eye.z;
            visible.push_back({dx * dx + dz * dz, uint32_t(g), chunk.list});
            cullCounts.trianglesDrawn += chunk.triangleCount;
        }
    }
    std::sort(visible.begin(), visible.end());
    cullCounts.drawn += int(visible.size());
    size_t prepared = groupCount;
    for (const Visible& v : visible) {
        if (v.group != prepared) {
            prepare(v.group);
            prepared = v.group;
        }
        glCallList(v.list);
    }
}

}  // namespace

void compileModel(SbmModel& model, float cellSize) {
    for (const std::vector<SbmChunk>& group : model.chunks)
        for (const SbmChunk& chunk : group)
            if (chunk.list != 0) glDeleteLists(chunk.list, 1);
    model.chunks.assign(model.groups.size(), {});
    model.cellSize = cellSize > 0.0f ? cellSize : 0.0f;
    for (size_t g = 0; g < model.groups.size(); ++g) {
        const std::vector<int32_t>& indices = model.groups[g].triangleIndices;
        if (indices.empty()) continue;
        if (model.cellSize == 0.0f) {
            model.chunks[g].push_back(compileChunk(model, indices));
            continue;
        }
        // Cells by triangle centre, in a fixed order so a compile is repeatable.
        std::map<std::pair<int, int>, std::vector<int32_t>> cells;
        for (int32_t index : indices) {
            const SbmTriangle& t = model.triangles[size_t(index)];
            Vec3 centre;
            for (int32_t v : t.vertexIndices) centre += model.vertices[size_t(v)].position;
            centre = centre / 3.0f;
            const std::pair<int, int> cell{int(std::floor(centre.x / model.cellSize)),
                                           int(std::floor(centre.z / model.cellSize))};
            cells[cell].push_back(index);
        }
        for (const auto& [cell, cellIndices] : cells) {
            SbmChunk chunk = compileChunk(model, cellIndices);
            chunk.cellCentre = {(float(cell.first) + 0.5f) * model.cellSize, 0.0f,
                                (float(cell.second) + 0.5f) * model.cellSize};
            model.chunks[g].push_back(chunk);
        }
    }
}

void drawSimple(const SbmModel& model) {
    const bool blinkShifted = frameTiming.blinkValue < 0.0f;
    bool shifted = false;
    auto setShift = [&](bool shift) {
        if (shift == shifted) return;
        glMatrixMode(GL_TEXTURE);
        if (shift) {
            glPushMatrix();
            glTranslatef(0.0f, 0.5f, 0.0f);
        } else {
            glPopMatrix();
        }
        glMatrixMode(GL_MODELVIEW);
        shifted = shift;
    };
    drawGroups(model, [&](size_t g) {
        const SbmGroup& group = model.groups[g];
        const SbmMaterial* material = group.materialIndex >= 0 ? &model.materials[size_t(group.materialIndex)] : nullptr;
        glBindTexture(GL_TEXTURE_2D, material ? material->texture : 0);
        // A blinking texture holds its two frames half a texture height apart.
        setShift(material && material->transparency <= 0.5f && blinkShifted);
    });
    setShift(false);
}

void drawWithOneTexture(const SbmModel& model, uint32_t texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    drawGroups(model, [](size_t) {});
}

void drawLitGroups(const SbmModel& model, float value0, float value1, float value2, void (*setLightNow)(float)) {
    glBindTexture(GL_TEXTURE_2D, model.materials.empty() ? 0 : model.materials[0].texture);
    const bool lightBound = lightProgramBound();
    const GLint lightNow = boundLightProgram().LightNow;
    const float values[3] = {value0, value1, value2};
    drawGroups(model, [&](size_t g) {
        const float value = g < 3 ? values[g] : 0.0f;
        if (setLightNow) setLightNow(value);
        else if (lightBound && lightNow >= 0) arb::glUniform1fARB(lightNow, value);
    });
}

bool sphereInView(Vec3 centre, float radius) {
    const ViewVolume volume = currentViewVolume();
    for (const auto& plane : volume.planes) {
        const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        if (plane[0] * centre.x + plane[1] * centre.y + plane[2] * centre.z + plane[3] < -radius * length) return false;
    }
    return true;
}

void setDrawDistance(float distance) { drawDistance = distance > 0.0f ? distance : 0.0f; }

CullReport cullReport() { return cullCounts; }
void resetCullReport() { cullCounts = CullReport{}; }
