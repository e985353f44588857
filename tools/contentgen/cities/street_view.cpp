#include "cities/street_view.h"

#include "cities/city_geometry.h"
#include "cities/track_textures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

namespace gen::cities {

namespace {

const Raster& cachedTexture(const std::string& file) {
    static std::mutex mutex;
    static std::map<std::string, Raster> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(file);
    if (it == cache.end()) it = cache.emplace(file, file.empty() ? Raster() : trackTexture(file)).first;
    return it->second;
}

struct Camera {
    V3 eye, f, r, u;
    float focal;
    int w, h;
};

struct ClipVert {
    V3 c;      // camera space (x right, y up, z ahead)
    V3 world;
    float s, t;
};

void drawLayer(Raster& img, std::vector<float>& depth, const Camera& cam, const MeshLayer& layer,
               const std::vector<V3>& lamps, bool cutout) {
    std::vector<const Raster*> tex;
    for (int m = 0; m < layer.materialCount(); ++m) tex.push_back(&cachedTexture(layer.materialDef(m).texture));
    for (const MeshTri& tri : layer.triangles()) {
        ClipVert in[3];
        for (int k = 0; k < 3; ++k) {
            V3 d = tri.p[k] - cam.eye;
            in[k] = {{dot(d, cam.r), dot(d, cam.u), dot(d, cam.f)}, tri.p[k], tri.s[k], tri.t[k]};
        }
        if (in[0].c.z < 0.3f && in[1].c.z < 0.3f && in[2].c.z < 0.3f) continue;
        // Clip against the near plane.
        std::vector<ClipVert> poly;
        for (int k = 0; k < 3; ++k) {
            const ClipVert& a = in[k];
            const ClipVert& b = in[(k + 1) % 3];
            bool ain = a.c.z >= 0.3f, bin = b.c.z >= 0.3f;
            if (ain) poly.push_back(a);
            if (ain != bin) {
                float t = (0.3f - a.c.z) / (b.c.z - a.c.z);
                poly.push_back({a.c + (b.c - a.c) * t, a.world + (b.world - a.world) * t, a.s + (b.s - a.s) * t, a.t + (b.t - a.t) * t});
            }
        }
        if (poly.size() < 3) continue;
        V3 n = normalized(cross(tri.p[1] - tri.p[0], tri.p[2] - tri.p[0]));
        // Lamps near the triangle light it.
        V3 centre = (tri.p[0] + tri.p[1] + tri.p[2]) * (1.0f / 3.0f);
        std::vector<V3> near;
        for (const V3& l : lamps) {
            V3 d = l - centre;
            if (dot(d, d) < 70.0f * 70.0f) near.push_back(l);
        }
        const Raster* tx = tex[size_t(tri.material)];
        for (size_t k = 1; k + 1 < poly.size(); ++k) {
            const ClipVert* v[3] = {&poly[0], &poly[k], &poly[k + 1]};
            float sx[3], sy[3], iz[3];
            for (int j = 0; j < 3; ++j) {
                iz[j] = 1.0f / v[j]->c.z;
                sx[j] = float(cam.w) * 0.5f + v[j]->c.x * iz[j] * cam.focal;
                sy[j] = float(cam.h) * 0.5f - v[j]->c.y * iz[j] * cam.focal;
            }
            float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
            if (std::fabs(area) < 1e-6f) continue;
            // Faces turned away are not drawn (the game culls back faces), except cut-out leaves.
            if (!cutout && area > 0) continue;
            int x0 = std::max(0, int(std::floor(std::min({sx[0], sx[1], sx[2]}))));
            int x1 = std::min(cam.w - 1, int(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
            int y0 = std::max(0, int(std::floor(std::min({sy[0], sy[1], sy[2]}))));
            int y1 = std::min(cam.h - 1, int(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x) {
                    float px = float(x) + 0.5f, py = float(y) + 0.5f;
                    float w0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
                    float w1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
                    float w2 = 1 - w0 - w1;
                    if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                    float z = w0 * iz[0] + w1 * iz[1] + w2 * iz[2];
                    float& zb = depth[size_t(y) * size_t(cam.w) + size_t(x)];
                    if (z <= zb) continue;
                    float s = (w0 * v[0]->s * iz[0] + w1 * v[1]->s * iz[1] + w2 * v[2]->s * iz[2]) / z;
                    float t = (w0 * v[0]->t * iz[0] + w1 * v[1]->t * iz[1] + w2 * v[2]->t * iz[2]) / z;
                    Color texel{0.5f, 0.5f, 0.5f, 1};
                    if (tx && !tx->empty()) {
                        float fs = s - std::floor(s), ft = t - std::floor(t);
                        texel = tx->get(int(fs * float(tx->width())), int(ft * float(tx->height())), true);
                    }
                    if (cutout && texel.a < 0.5f) continue;
                    zb = z;
                    V3 wp = (v[0]->world * (w0 * iz[0]) + v[1]->world * (w1 * iz[1]) + v[2]->world * (w2 * iz[2])) * (1.0f / z);
                    float light = 0.16f + 0.06f * std::max(0.0f, n.y);
                    for (const V3& l : near) {
                        V3 d = l - wp;
                        float dd = std::sqrt(dot(d, d));
                        float fade = std::clamp((48.0f - dd) / 22.0f, 0.0f, 1.0f);
                        float nl = cutout ? 0.25f + 0.75f * std::fabs(dot(n, d * (1 / dd))) : 0.8f * std::max(0.0f, dot(n, d * (1 / dd))) + 0.2f;
                        light += 1.1f / (1 + 0.0022f * dd * dd) * fade * nl;
                    }
                    float glow = cutout ? 0 : 1 - texel.a;
                    Color out{texel.r * (light * 1.0f + glow), texel.g * (light * 0.86f + glow), texel.b * (light * 0.66f + glow), 1};
                    img.at(x, y) = out;
                }
        }
    }
}

}  // namespace

Raster renderStreetView(int slot, int width, int height, int pathIndex) {
    const Circuit& ci = circuit(slot);
    SlotMeshes m = buildSlotMeshes(slot);
    std::vector<V3> lamps;
    for (const MeshTri& t : m.light.triangles()) lamps.push_back((t.p[0] + t.p[1] + t.p[2]) * (1.0f / 3.0f));
    Camera cam;
    cam.w = width;
    cam.h = height;
    cam.eye = {ci.start.x - 14, ci.start.y + 2.2f, ci.start.z + kGridRoadOffset};
    cam.f = normalized({1, -0.08f, 0});
    if (pathIndex >= 0 && !ci.points.empty()) {
        size_t n = ci.points.size(), k = size_t(pathIndex) % n;
        const V3& p = ci.points[k];
        const V3& q = ci.points[(k + 3) % n];
        cam.eye = {p.x, p.y + 1.4f, p.z};
        cam.f = normalized({q.x - p.x, -0.08f * std::hypot(q.x - p.x, q.z - p.z), q.z - p.z});
    }
    cam.r = normalized(cross(cam.f, {0, 1, 0}));
    cam.u = cross(cam.r, cam.f);
    cam.focal = float(height) * 0.5f / std::tan(35.0f * 3.14159265f / 180.0f);
    Raster img(width, height);
    img.shade([&](float, float y) {
        float k = y / float(height);
        return Color{0.01f + 0.03f * k, 0.015f + 0.035f * k, 0.05f + 0.05f * k, 1};
    }, Blend::Replace);
    std::vector<float> depth(size_t(width) * size_t(height), 0.0f);
    drawLayer(img, depth, cam, m.visual, lamps, false);
    drawLayer(img, depth, cam, m.trees, lamps, true);
    // Lamp halos.
    for (const V3& l : lamps) {
        V3 d = l - cam.eye;
        float z = dot(d, cam.f);
        if (z < 1) continue;
        float sx = float(width) * 0.5f + dot(d, cam.r) / z * cam.focal, sy = float(height) * 0.5f - dot(d, cam.u) / z * cam.focal;
        img.fillCircle(sx, sy, std::max(1.5f, 40.0f / z), Color{1, 0.85f, 0.6f, 0.5f}, Blend::Add, std::max(1.0f, 30.0f / z));
    }
    img.clamp01();
    return img;
}

}  // namespace gen::cities
