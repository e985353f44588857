#include "render/lights.h"

#include "content/sbm_model.h"
#include "content/texture_tables.h"
#include "render/shader_programs.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

LightTable lightTable;
ActiveLights activeLights;

namespace {

// Lamps nearer than this (squared, horizontal) light the scene whichever way the camera looks.
constexpr float nearLampSquared = 1600.0f;
constexpr float viewCone = 1.7f;

const Vec3 parked{0.0f, parkedLightY, 0.0f};

void uniform4(GLint location, Vec3 v, float w) {
    if (location >= 0) arb::glUniform4fARB(location, v.x, v.y, v.z, w);
}

void uniformGrey(GLint location, float grey) {
    if (location >= 0) arb::glUniform4fARB(location, grey, grey, grey, 1.0f);
}

}  // namespace

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

void chooseActiveLights(Vec3 eye, Vec3 viewDirection, bool race) {
    const Vec3 d = normalise({viewDirection.x, 0.0f, viewDirection.z});
    LightSource* begin = lightTable.entries;
    LightSource* end = lightTable.entries + lightTable.count;
    for (LightSource* light = begin; light != end; ++light) {
        const float dx = eye.x - light->position.x;
        const float dz = eye.z - light->position.z;
        light->distanceSquared = dz * dz + dx * dx;
        const Vec3 toLight = normalise({-dx, 0.0f, -dz});
        light->angle = std::acos(std::clamp(dot(d, toLight), -1.0f, 1.0f));
    }
    // Stable: two lamps at the same distance keep their order from frame to frame.
    std::stable_sort(begin, end, [](const LightSource& a, const LightSource& b) {
        return a.distanceSquared < b.distanceSquared;
    });

    int filled = 0;
    for (const LightSource* light = begin; light != end && filled < lightSlotCount; ++light) {
        if (light->angle <= viewCone || light->distanceSquared <= nearLampSquared)
            activeLights.slots[filled++] = light->position;
    }
    for (int slot = filled; slot < lightSlotCount; ++slot) {
        if (slot < 4) activeLights.slots[slot] = parked;
        else activeLights.slots[slot].y = parkedLightY;
    }
    activeLights.distant = {600.0f, 600.0f, 0.0f};
    activeLights.direction = {0.0f, -1.0f, 0.0f};
    activeLights.camera = eye;
    activeLights.globalGrey = race ? 0.45f : 0.085f;
    activeLights.localGrey = race ? 1.1f : 0.85f;
}

void sendLightColours() {
    const LightProgram& p = boundLightProgram();
    uniformGrey(p.lightColorGlobal, activeLights.globalGrey);
    uniformGrey(p.lightColorLocal, activeLights.localGrey);
}

void chooseAndSendActiveLights(Vec3 eye, Vec3 viewDirection, bool race) {
    chooseActiveLights(eye, viewDirection, race);
    sendLightColours();
}

bool invertMatrix(const Mat4& m, Mat4& inverse) {
    float a[4][8];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m.m[r][c];
            a[r][c + 4] = r == c ? 1.0f : 0.0f;
        }
    }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        if (std::fabs(a[pivot][col]) < 1e-12f) {
            inverse = Mat4{};
            return false;
        }
        if (pivot != col)
            for (int c = 0; c < 8; ++c) std::swap(a[col][c], a[pivot][c]);
        const float scale = 1.0f / a[col][col];
        for (int c = 0; c < 8; ++c) a[col][c] *= scale;
        for (int r = 0; r < 4; ++r) {
            if (r == col || a[r][col] == 0.0f) continue;
            const float factor = a[r][col];
            for (int c = 0; c < 8; ++c) a[r][c] -= factor * a[col][c];
        }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) inverse.m[r][c] = a[r][c + 4];
    return true;
}

ModelLights lightsInModelSpace(const Mat4& model) {
    Mat4 inverse;
    invertMatrix(model, inverse);
    ModelLights out;
    for (int k = 0; k < lightSlotCount; ++k) out.slots[k] = transformPoint(inverse, activeLights.slots[k]);
    out.distant = transformPoint(inverse, activeLights.distant);
    // A direction: turned, never moved.
    out.direction = transformDirection(inverse, activeLights.direction);
    out.camera = transformPoint(inverse, activeLights.camera);
    return out;
}

void sendModelLights(const Mat4& model) {
    const ModelLights l = lightsInModelSpace(model);
    const LightProgram& p = boundLightProgram();
    uniform4(p.lightPos, l.slots[0], 1.0f);
    uniform4(p.light2Pos, l.slots[1], 1.0f);
    uniform4(p.light3Pos, l.slots[2], 1.0f);
    uniform4(p.light4Pos, l.slots[3], 1.0f);
    uniform4(p.light5Pos, l.distant, 1.0f);
    uniform4(p.lightOri, l.direction, 0.0f);
    uniform4(p.cameraOri, l.camera, 1.0f);
}

void sendTreeLights(const Mat4& model) {
    const ModelLights l = lightsInModelSpace(model);
    const TreesProgram& p = treesProgram;
    const GLint locations[lightSlotCount] = {p.lightPos,  p.light2Pos, p.light3Pos, p.light4Pos,
                                             p.light6Pos, p.light7Pos, p.light8Pos, p.light9Pos};
    for (int k = 0; k < lightSlotCount; ++k) uniform4(locations[k], l.slots[k], 1.0f);
    uniformGrey(p.lightColorLocal, activeLights.localGrey);
}

int haloCount() { return std::min(lightTable.count, haloLimit); }

void cameraFacingCorners(Vec3 centre, float halfSize, Vec3 eye, Vec3 corners[4]) {
    const float s = std::max(halfSize, 0.2f);
    Vec3 facing = normalise(eye - centre);
    if (lengthSquared(facing) == 0.0f) facing = {0.0f, 0.0f, 1.0f};
    Vec3 right = normalise(cross({0.0f, 1.0f, 0.0f}, facing));
    if (lengthSquared(right) == 0.0f) right = {1.0f, 0.0f, 0.0f};
    const Vec3 up = cross(facing, right);
    const Vec3 r = right * s, u = up * s;
    corners[0] = centre - r - u;
    corners[1] = centre + r - u;
    corners[2] = centre + r + u;
    corners[3] = centre - r + u;
}

void cameraFacingSquare(Vec3 centre, float halfSize, Vec3 eye) {
    Vec3 corners[4];
    cameraFacingCorners(centre, halfSize, eye, corners);
    const float st[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    for (int k = 0; k < 4; ++k) {
        glTexCoord2f(st[k][0], st[k][1]);
        glVertex3f(corners[k].x, corners[k].y, corners[k].z);
    }
    glEnd();
}

void drawHalos(Vec3 eye) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, BmpTable[28]);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    for (int k = 0; k < haloCount(); ++k) {
        const Vec3 lamp = lightTable.entries[k].position;
        const Vec3 centre = lamp + normalise(eye - lamp) * 0.75f;
        cameraFacingSquare(centre, 1.5f, eye);
    }
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
