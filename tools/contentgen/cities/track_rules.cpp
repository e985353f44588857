#include "cities/track_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gen::cities {

namespace {

V3 sub(const V3& a, const V3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 crs(const V3& a, const V3& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dt(const V3& a, const V3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float dist(const V3& a, const V3& b) { return std::sqrt(dt(sub(a, b), sub(a, b))); }

// Two-sided ray / triangle intersection; t along dir.
bool hitTriangle(const V3& o, const V3& d, const TrackTriangle& tri, float& t) {
    V3 e1 = sub(tri.b, tri.a), e2 = sub(tri.c, tri.a);
    V3 p = crs(d, e2);
    float det = dt(e1, p);
    if (std::fabs(det) < 1e-9f) return false;
    float inv = 1.0f / det;
    V3 s = sub(o, tri.a);
    float u = dt(s, p) * inv;
    if (u < -1e-5f || u > 1 + 1e-5f) return false;
    V3 q = crs(s, e1);
    float v = dt(d, q) * inv;
    if (v < -1e-5f || u + v > 1 + 1e-5f) return false;
    t = dt(e2, q) * inv;
    return t >= 0;
}

}  // namespace

TriangleGrid::TriangleGrid(const std::vector<TrackTriangle>& tris, float cell) : tris_(tris), cell_(cell) {
    if (tris.empty()) return;
    float x1 = -1e30f, z1 = -1e30f;
    x0_ = z0_ = 1e30f;
    for (const TrackTriangle& t : tris)
        for (const V3* p : {&t.a, &t.b, &t.c}) {
            x0_ = std::min(x0_, p->x);
            z0_ = std::min(z0_, p->z);
            x1 = std::max(x1, p->x);
            z1 = std::max(z1, p->z);
        }
    w_ = std::min(4096, int((x1 - x0_) / cell_) + 1);
    h_ = std::min(4096, int((z1 - z0_) / cell_) + 1);
    cells_.resize(size_t(w_) * size_t(h_));
    for (size_t i = 0; i < tris.size(); ++i) {
        const TrackTriangle& t = tris[i];
        float tx0 = std::min({t.a.x, t.b.x, t.c.x}), tx1 = std::max({t.a.x, t.b.x, t.c.x});
        float tz0 = std::min({t.a.z, t.b.z, t.c.z}), tz1 = std::max({t.a.z, t.b.z, t.c.z});
        int cx0 = std::clamp(int((tx0 - x0_) / cell_), 0, w_ - 1), cx1 = std::clamp(int((tx1 - x0_) / cell_), 0, w_ - 1);
        int cz0 = std::clamp(int((tz0 - z0_) / cell_), 0, h_ - 1), cz1 = std::clamp(int((tz1 - z0_) / cell_), 0, h_ - 1);
        for (int z = cz0; z <= cz1; ++z)
            for (int x = cx0; x <= cx1; ++x) cells_[size_t(z) * size_t(w_) + size_t(x)].push_back(int(i));
    }
}

bool TriangleGrid::raycast(const V3& o, const V3& d, float maxT, float& tHit, int& cls, unsigned mask) const {
    if (cells_.empty()) return false;
    V3 e{o.x + d.x * maxT, o.y + d.y * maxT, o.z + d.z * maxT};
    int cx0 = std::clamp(int((std::min(o.x, e.x) - x0_) / cell_), 0, w_ - 1);
    int cx1 = std::clamp(int((std::max(o.x, e.x) - x0_) / cell_), 0, w_ - 1);
    int cz0 = std::clamp(int((std::min(o.z, e.z) - z0_) / cell_), 0, h_ - 1);
    int cz1 = std::clamp(int((std::max(o.z, e.z) - z0_) / cell_), 0, h_ - 1);
    if (std::max(o.x, e.x) < x0_ || std::max(o.z, e.z) < z0_) return false;
    bool found = false;
    tHit = maxT;
    for (int z = cz0; z <= cz1; ++z)
        for (int x = cx0; x <= cx1; ++x)
            for (int i : cells_[size_t(z) * size_t(w_) + size_t(x)]) {
                const TrackTriangle& tri = tris_[size_t(i)];
                if (tri.surfaceClass < 0 || tri.surfaceClass > 3 || !(mask & (1u << tri.surfaceClass))) continue;
                float t;
                if (hitTriangle(o, d, tri, t) && t <= tHit) {
                    tHit = t;
                    cls = tri.surfaceClass;
                    found = true;
                }
            }
    return found;
}

TrackReport checkTrack(const TrackFiles& f, const TrackBudgets& budgets) {
    TrackReport r;
    auto fail = [&](const std::string& why) {
        r.ok = false;
        r.failure = why;
        return r;
    };
    char buf[200];
    if (!f.collisionLoaded) return fail("map.sbm does not load");
    if (!f.visualLoaded) return fail("mapvisual.sbm does not load");
    if (!f.glassLoaded) return fail("glass.sbm does not load");
    if (!f.lightLoaded) return fail("light.sbm does not load");
    if (!f.treesLoaded) return fail("trees.sbm does not load");
    if (!f.pathLoaded) return fail("points/level.ai does not load");
    auto budget = [&](const char* what, int have, int limit) {
        std::snprintf(buf, sizeof buf, "%s has %d triangles (budget %d)", what, have, limit);
        return have > limit;
    };
    if (budget("mapvisual.sbm", f.visualTriangles, budgets.visual)) return fail(buf);
    if (budget("map.sbm", f.collisionTriangles, budgets.collision)) return fail(buf);
    if (budget("trees.sbm", f.treeTriangles, budgets.trees)) return fail(buf);
    if (budget("light.sbm", f.lightTriangles, budgets.lights)) return fail(buf);

    const std::vector<PathPoint>& pts = f.path;
    size_t n = pts.size();
    r.points = int(n);
    if (n < 3 || n > size_t(kMaxPathPoints)) {
        std::snprintf(buf, sizeof buf, "path has %zu points (3..%d)", n, kMaxPathPoints);
        return fail(buf);
    }
    auto pos = [&](size_t i) { return V3{pts[i % n].x, pts[i % n].y, pts[i % n].z}; };
    for (size_t i = 0; i < n; ++i) {
        float d = dist(pos(i), pos(i + 1));
        r.length += d;
        if (d < 8 || d > 12) {
            std::snprintf(buf, sizeof buf, "points %zu and %zu are %.2f apart (8..12)", i, (i + 1) % n, double(d));
            return fail(buf);
        }
    }
    if (pts[0].kind != 1) return fail("point 0 is not a checkpoint");
    std::vector<size_t> cps;
    for (size_t i = 0; i < n; ++i)
        if (pts[i].kind == 1) cps.push_back(i);
        else if (pts[i].kind != 0) {
            std::snprintf(buf, sizeof buf, "point %zu has kind %d", i, pts[i].kind);
            return fail(buf);
        }
    r.checkpoints = int(cps.size());
    for (size_t k = 0; k < cps.size(); ++k) {
        size_t gap = (k + 1 < cps.size() ? cps[k + 1] : cps[0] + n) - cps[k];
        if (gap < 10 || gap > 25) {
            std::snprintf(buf, sizeof buf, "checkpoints %zu and %zu are %zu points apart (10..25)", cps[k],
                          k + 1 < cps.size() ? cps[k + 1] : cps[0], gap);
            return fail(buf);
        }
    }

    TriangleGrid grid(f.collision);
    const V3 down{0, -1, 0};
    for (int car = 0; car < 4; ++car) {
        V3 g{f.start.x, f.start.y, f.start.z + 4.5f * float(car)};
        float d = dist(g, pos(0));
        if (d > 15) {
            std::snprintf(buf, sizeof buf, "point 0 is %.1f from grid slot %d (at most 15)", double(d), car);
            return fail(buf);
        }
        float t;
        int cls = 0;
        if (!grid.raycast(g, down, 10, t, cls) || t < 0.85f || t > 1.5f) {
            std::snprintf(buf, sizeof buf, "ground under grid slot %d is %s", car,
                          grid.raycast(g, down, 10, t, cls) ? (std::to_string(t) + " below (0.85..1.5)").c_str() : "missing");
            return fail(buf);
        }
    }
    for (size_t i = 0; i < n; ++i) {
        V3 p = pos(i);
        float t;
        int cls = 0;
        if (!grid.raycast({p.x, p.y + 3, p.z}, down, 12, t, cls) || cls != kRoadClass) {
            std::snprintf(buf, sizeof buf, "point %zu is not over road", i);
            return fail(buf);
        }
        float roadY = p.y + 3 - t;
        V3 prev = pos(i + n - 1), next = pos(i + 1);
        float dx = next.x - prev.x, dz = next.z - prev.z, l = std::hypot(dx, dz);
        if (l < 1e-3f) return fail("path doubles back on itself");
        V3 side{-dz / l, 0, dx / l};
        for (float s : {-1.0f, 1.0f}) {
            V3 dir{side.x * s, 0, side.z * s};
            V3 o{p.x, roadY + 1.0f, p.z};
            float th;
            int ch = 0;
            if (grid.raycast(o, dir, 9, th, ch)) {
                std::snprintf(buf, sizeof buf, "point %zu has an obstacle %.1f to its %s (needs 9)", i, double(th), s < 0 ? "right" : "left");
                return fail(buf);
            }
            V3 edge{p.x + dir.x * 9, roadY + 2.5f, p.z + dir.z * 9};
            if (!grid.raycast(edge, down, 6, th, ch) || ch != kRoadClass) {
                std::snprintf(buf, sizeof buf, "point %zu: road ends less than 9 to its %s", i, s < 0 ? "right" : "left");
                return fail(buf);
            }
        }
        V3 q = next;
        float seg = dist(p, q), th;
        int ch = 0;
        V3 dir{(q.x - p.x) / seg, (q.y - p.y) / seg, (q.z - p.z) / seg};
        if (grid.raycast(p, dir, seg, th, ch, 1u << kWallClass)) {
            std::snprintf(buf, sizeof buf, "a wall stands between points %zu and %zu", i, (i + 1) % n);
            return fail(buf);
        }
    }
    r.ok = true;
    return r;
}

std::string reportLine(int slot, const TrackReport& r) {
    char buf[300];
    if (r.ok)
        std::snprintf(buf, sizeof buf, "slot %d: ok length=%.0f points=%d checkpoints=%d", slot, double(r.length), r.points, r.checkpoints);
    else
        std::snprintf(buf, sizeof buf, "slot %d: FAIL %s", slot, r.failure.c_str());
    return buf;
}

}  // namespace gen::cities
