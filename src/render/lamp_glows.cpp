#include "render/lamp_glows.h"

#include "content/sbm_model.h"
#include "content/texture_tables.h"
#include "render/lights.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

constexpr int haloImage = 28;  // the street lamps' halo (BMP)

struct Gathered {
    Vec3 sum;
    float area = 0.0f;
    Vec3 facing;
};

}  // namespace

std::vector<LampGlow> findLampGlows(const SbmModel& model) {
    // Key: group, facing axis (0 +x, 1 -x, 2 +z, 3 -z), side (sign of z or x).
    std::map<std::tuple<int, int, int>, Gathered> gathered;
    for (int g = 0; g < std::min(model.groupCount(), 3); ++g) {
        for (int32_t index : model.groups[size_t(g)].triangleIndices) {
            if (index < 0 || index >= model.triangleCount()) continue;
            const SbmTriangle& t = model.triangles[size_t(index)];
            Vec3 p[3];
            bool ok = true;
            for (int k = 0; k < 3; ++k) {
                const int32_t v = t.vertexIndices[k];
                ok = ok && v >= 0 && v < model.vertexCount();
                if (ok) p[k] = model.vertices[size_t(v)].position;
            }
            if (!ok) continue;
            const Vec3 n = cross(p[1] - p[0], p[2] - p[0]);
            const float area = 0.5f * length(n);
            const Vec3 centre = (p[0] + p[1] + p[2]) * (1.0f / 3.0f);
            if (area <= 0.0f || centre.y > 0.5f) continue;
            const Vec3 u = normalise(n);
            if (std::fabs(u.y) > 0.7071f) continue;
            const int axis = std::fabs(u.x) >= std::fabs(u.z) ? (u.x > 0.0f ? 0 : 1) : (u.z > 0.0f ? 2 : 3);
            const float sideOf = axis < 2 ? centre.z : centre.x;
            Gathered& c = gathered[{g, axis, sideOf < 0.0f ? 0 : 1}];
            c.sum += centre * area;
            c.area += area;
            c.facing += u * area;
        }
    }
    std::vector<LampGlow> glows;
    for (const auto& [key, c] : gathered) {
        LampGlow glow;
        glow.group = std::get<0>(key);
        glow.facing = normalise(c.facing);
        glow.position = c.sum * (1.0f / c.area) + glow.facing * 0.08f;
        const bool headlamp = glow.group == 0 && std::get<1>(key) == 0;
        const bool tailLamp = glow.group == 0 && std::get<1>(key) == 1;
        const float warm[3] = {1.0f, 0.9f, 0.72f}, red[3] = {1.0f, 0.12f, 0.06f}, amber[3] = {1.0f, 0.5f, 0.06f};
        const float* colour = headlamp || (glow.group == 0 && !tailLamp) ? warm : tailLamp ? red : amber;
        std::copy(colour, colour + 3, glow.colour);
        glow.size = headlamp ? 0.7f : tailLamp ? 0.45f : 0.5f;
        glow.strength = headlamp ? 0.8f : tailLamp ? 0.55f : 1.0f;
        glows.push_back(glow);
    }
    return glows;
}

float lampGlowAlpha(const LampGlow& glow, const Mat4& frame, float value, Vec3 eye) {
    const Vec3 at = transformPoint(frame, glow.position);
    const float towards = dot(normalise(eye - at), transformDirection(frame, glow.facing));
    return std::clamp(value, 0.0f, 1.0f) * std::clamp(towards * 1.5f, 0.0f, 1.0f) * glow.strength;
}

void drawLampGlows(const std::vector<LampGlow>& glows, const Mat4& frame, const float values[3], Vec3 eye) {
    bool begun = false;
    const float st[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const LampGlow& glow : glows) {
        const float alpha = lampGlowAlpha(glow, frame, values[glow.group], eye);
        if (alpha <= 0.0f) continue;
        if (!begun) {
            glDepthMask(GL_FALSE);
            glDisable(GL_CULL_FACE);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, BmpTable[haloImage]);
            glBegin(GL_QUADS);
            begun = true;
        }
        glColor4f(glow.colour[0], glow.colour[1], glow.colour[2], alpha);
        Vec3 corners[4];
        cameraFacingCorners(transformPoint(frame, glow.position), glow.size, eye, corners);
        for (int k = 0; k < 4; ++k) {
            glTexCoord2f(st[k][0], st[k][1]);
            glVertex3f(corners[k].x, corners[k].y, corners[k].z);
        }
    }
    if (!begun) return;
    glEnd();
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
