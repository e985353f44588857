#include "cars/mesh.h"

#include <algorithm>
#include <cstdint>
#include <array>
#include <stdexcept>
#include <unordered_map>

namespace cars {

Xform Xform::rotateX(float a) {
    Xform x;
    float c = std::cos(a), s = std::sin(a);
    x.ay = {0, c, s};
    x.az = {0, -s, c};
    return x;
}
Xform Xform::rotateY(float a) {
    Xform x;
    float c = std::cos(a), s = std::sin(a);
    x.ax = {c, 0, -s};
    x.az = {s, 0, c};
    return x;
}
Xform Xform::rotateZ(float a) {
    Xform x;
    float c = std::cos(a), s = std::sin(a);
    x.ax = {c, s, 0};
    x.ay = {-s, c, 0};
    return x;
}

int Mesh::addGroup(const std::string& name, int material) {
    groups_.push_back({name, material});
    current_ = static_cast<int>(groups_.size()) - 1;
    return current_;
}

int Mesh::addMaterial(const sbm::Material& material) {
    materials_.push_back(material);
    return static_cast<int>(materials_.size()) - 1;
}

void Mesh::tri(V3 a, V3 b, V3 c, UV ua, UV ub, UV uc) {
    if (length(cross(b - a, c - a)) < 1e-9f) return;
    if (groups_.empty()) addGroup("default");
    Tri t;
    t.p[0] = a, t.p[1] = b, t.p[2] = c;
    t.uv[0] = ua, t.uv[1] = ub, t.uv[2] = uc;
    t.group = current_;
    tris_.push_back(t);
}

void Mesh::tri(V3 a, V3 b, V3 c, const UvFn& uv) {
    V3 n = normalized(cross(b - a, c - a));
    tri(a, b, c, uv(a, n), uv(b, n), uv(c, n));
}

void Mesh::quad(V3 a, V3 b, V3 c, V3 d, UV ua, UV ub, UV uc, UV ud) {
    tri(a, b, c, ua, ub, uc);
    tri(a, c, d, ua, uc, ud);
}

void Mesh::quad(V3 a, V3 b, V3 c, V3 d, const UvFn& uv) {
    V3 n = normalized(cross(c - a, d - b));
    quad(a, b, c, d, uv(a, n), uv(b, n), uv(c, n), uv(d, n));
}

void Mesh::quadFacing(V3 a, V3 b, V3 c, V3 d, UV ua, UV ub, UV uc, UV ud, V3 facing) {
    V3 n = cross(c - a, d - b);
    if (dot(n, facing) >= 0) quad(a, b, c, d, ua, ub, uc, ud);
    else quad(a, d, c, b, ua, ud, uc, ub);
}

void Mesh::quadFacing(V3 a, V3 b, V3 c, V3 d, V3 facing, const UvFn& uv) {
    V3 n = cross(c - a, d - b);
    if (dot(n, facing) >= 0) quad(a, b, c, d, uv);
    else quad(a, d, c, b, uv);
}

void Mesh::polygonFacing(std::vector<V3> pts, V3 facing, const UvFn& uv) {
    V3 n{};
    for (size_t i = 0; i < pts.size(); ++i) n = n + cross(pts[i], pts[(i + 1) % pts.size()]);
    if (dot(n, facing) < 0) std::reverse(pts.begin(), pts.end());
    polygonEar(pts, uv);
}

void Mesh::polygon(const std::vector<V3>& pts, const UvFn& uv) {
    if (pts.size() < 3) return;
    V3 c{};
    for (V3 p : pts) c = c + p;
    c = c * (1.0f / static_cast<float>(pts.size()));
    V3 n{};
    for (size_t i = 0; i < pts.size(); ++i) n = n + cross(pts[i] - c, pts[(i + 1) % pts.size()] - c);
    n = normalized(n);
    for (size_t i = 0; i < pts.size(); ++i) {
        V3 a = pts[i], b = pts[(i + 1) % pts.size()];
        tri(c, a, b, uv(c, n), uv(a, n), uv(b, n));
    }
}

void Mesh::polygonEar(const std::vector<V3>& pts, const UvFn& uv) {
    size_t n = pts.size();
    if (n < 3) return;
    // Newell normal, then a 2D frame in that plane.
    V3 nrm{};
    for (size_t i = 0; i < n; ++i) {
        V3 a = pts[i], b = pts[(i + 1) % n];
        nrm.x += (a.y - b.y) * (a.z + b.z);
        nrm.y += (a.z - b.z) * (a.x + b.x);
        nrm.z += (a.x - b.x) * (a.y + b.y);
    }
    nrm = normalized(nrm);
    V3 ux = std::fabs(nrm.x) < 0.9f ? V3{1, 0, 0} : V3{0, 1, 0};
    V3 u = normalized(cross(ux, nrm)), v = cross(nrm, u);
    std::vector<std::pair<float, float>> q(n);
    for (size_t i = 0; i < n; ++i) q[i] = {dot(pts[i], u), dot(pts[i], v)};
    std::vector<size_t> idx(n);
    for (size_t i = 0; i < n; ++i) idx[i] = i;
    auto cross2 = [&](size_t a, size_t b, size_t c) {
        return (q[b].first - q[a].first) * (q[c].second - q[a].second) -
               (q[b].second - q[a].second) * (q[c].first - q[a].first);
    };
    auto inside = [&](size_t p, size_t a, size_t b, size_t c) {
        return cross2(a, b, p) >= 0 && cross2(b, c, p) >= 0 && cross2(c, a, p) >= 0;
    };
    int guard = 0;
    while (idx.size() > 3 && guard < 10000) {
        ++guard;
        bool clipped = false;
        for (size_t i = 0; i < idx.size(); ++i) {
            size_t a = idx[(i + idx.size() - 1) % idx.size()], b = idx[i], c = idx[(i + 1) % idx.size()];
            if (cross2(a, b, c) <= 1e-9f) continue;
            bool ear = true;
            for (size_t k : idx)
                if (k != a && k != b && k != c && inside(k, a, b, c)) {
                    ear = false;
                    break;
                }
            if (!ear) continue;
            tri(pts[a], pts[b], pts[c], uv(pts[a], nrm), uv(pts[b], nrm), uv(pts[c], nrm));
            idx.erase(idx.begin() + static_cast<long>(i));
            clipped = true;
            break;
        }
        if (!clipped) break;  // degenerate outline: give up on the rest
    }
    if (idx.size() == 3) tri(pts[idx[0]], pts[idx[1]], pts[idx[2]], uv(pts[idx[0]], nrm), uv(pts[idx[1]], nrm),
                             uv(pts[idx[2]], nrm));
}

void Mesh::loft(const std::vector<std::vector<V3>>& rings, bool closedRings, const UvFn& uv, bool flip) {
    for (size_t i = 0; i + 1 < rings.size(); ++i) {
        const auto& r0 = rings[i];
        const auto& r1 = rings[i + 1];
        size_t m = std::min(r0.size(), r1.size());
        size_t segs = closedRings ? m : m - 1;
        for (size_t k = 0; k < segs; ++k) {
            size_t k1 = (k + 1) % m;
            if (flip) quad(r0[k], r0[k1], r1[k1], r1[k], uv);
            else quad(r0[k], r1[k], r1[k1], r0[k1], uv);
        }
    }
}

void Mesh::box(V3 lo, V3 hi, const UvFn& uv, const Xform& place) {
    V3 c[8];
    for (int i = 0; i < 8; ++i)
        c[i] = place.apply({(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z});
    static const int faces[6][4] = {{1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3}, {0, 1, 5, 4}, {4, 5, 7, 6}, {0, 2, 3, 1}};
    bool m = place.mirrors();
    for (const auto& f : faces) {
        if (m) quad(c[f[3]], c[f[2]], c[f[1]], c[f[0]], uv);
        else quad(c[f[0]], c[f[1]], c[f[2]], c[f[3]], uv);
    }
}

void Mesh::cylinder(V3 a, V3 b, float ra, float rb, int segments, bool capA, bool capB, const UvFn& uv,
                    V3 upHint) {
    V3 axis = normalized(b - a);
    V3 u = cross(upHint, axis);
    if (length(u) < 1e-4f) u = cross(V3{1, 0, 0}, axis);
    u = normalized(u);
    V3 v = cross(axis, u);
    std::vector<V3> pa(segments), pb(segments);
    for (int k = 0; k < segments; ++k) {
        float th = 2 * kPi * static_cast<float>(k) / static_cast<float>(segments);
        V3 d = u * std::cos(th) + v * std::sin(th);
        pa[k] = a + d * ra;
        pb[k] = b + d * rb;
    }
    for (int k = 0; k < segments; ++k) {
        int k1 = (k + 1) % segments;
        quad(pa[k], pa[k1], pb[k1], pb[k], uv);
    }
    if (capB)
        for (int k = 0; k < segments; ++k) tri(b, pb[k], pb[(k + 1) % segments], uv);
    if (capA)
        for (int k = 0; k < segments; ++k) tri(a, pa[(k + 1) % segments], pa[k], uv);
}

void Mesh::extrude(const std::vector<std::pair<float, float>>& outline, float z0, float z1, const UvFn& sideUv,
                   const UvFn& capUv, const Xform& place) {
    size_t start = tris_.size();
    size_t n = outline.size();
    for (size_t i = 0; i < n; ++i) {
        auto [x0, y0] = outline[i];
        auto [x1, y1] = outline[(i + 1) % n];
        quad({x0, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y0, z1}, sideUv);
    }
    std::vector<V3> top, bottom;
    for (auto [x, y] : outline) top.push_back({x, y, z1});
    for (size_t i = n; i-- > 0;) bottom.push_back({outline[i].first, outline[i].second, z0});
    polygonEar(top, capUv);
    polygonEar(bottom, capUv);
    transform(place, start);
}

void Mesh::append(const Mesh& other, const Xform& place) {
    if (groups_.empty()) addGroup("default");
    size_t start = tris_.size();
    for (Tri t : other.tris_) {
        t.group = current_;
        tris_.push_back(t);
    }
    transform(place, start);
}

void Mesh::transform(const Xform& place, size_t from) {
    bool m = place.mirrors();
    for (size_t i = from; i < tris_.size(); ++i) {
        Tri& t = tris_[i];
        for (V3& p : t.p) p = place.apply(p);
        if (m) {
            std::swap(t.p[1], t.p[2]);
            std::swap(t.uv[1], t.uv[2]);
        }
    }
}

void Mesh::bounds(V3& lo, V3& hi) const {
    lo = {1e9f, 1e9f, 1e9f};
    hi = {-1e9f, -1e9f, -1e9f};
    for (const Tri& t : tris_)
        for (V3 p : t.p) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
}

namespace {

struct KeyHash {
    size_t operator()(const std::array<int64_t, 3>& k) const {
        uint64_t h = 1469598103934665603ull;
        for (int64_t v : k) h = (h ^ static_cast<uint64_t>(v)) * 1099511628211ull;
        return static_cast<size_t>(h);
    }
};

}  // namespace

sbm::Model Mesh::toModel(float creaseDeg) const {
    sbm::Model model;
    std::unordered_map<std::array<int64_t, 3>, uint16_t, KeyHash> weld;
    std::vector<std::array<uint16_t, 3>> corners(tris_.size());
    auto key = [](V3 p) {
        return std::array<int64_t, 3>{std::llround(p.x * 10000.0), std::llround(p.y * 10000.0),
                                      std::llround(p.z * 10000.0)};
    };
    for (size_t i = 0; i < tris_.size(); ++i)
        for (int c = 0; c < 3; ++c) {
            auto k = key(tris_[i].p[c]);
            auto it = weld.find(k);
            if (it == weld.end()) {
                if (model.vertices.size() >= 65535) throw std::length_error("too many vertices");
                uint16_t id = static_cast<uint16_t>(model.vertices.size());
                V3 p = tris_[i].p[c];
                model.vertices.push_back({p.x, p.y, p.z, -1});
                it = weld.emplace(k, id).first;
            }
            corners[i][c] = it->second;
        }
    std::vector<V3> faceN(tris_.size());
    std::vector<V3> faceUnit(tris_.size());
    std::vector<std::vector<uint32_t>> around(model.vertices.size());
    for (size_t i = 0; i < tris_.size(); ++i) {
        const Tri& t = tris_[i];
        faceN[i] = cross(t.p[1] - t.p[0], t.p[2] - t.p[0]);
        faceUnit[i] = normalized(faceN[i]);
        for (int c = 0; c < 3; ++c) around[corners[i][c]].push_back(static_cast<uint32_t>(i));
    }
    float cosCrease = std::cos(creaseDeg * kPi / 180.0f);
    model.triangles.resize(tris_.size());
    for (size_t i = 0; i < tris_.size(); ++i) {
        sbm::Triangle& out = model.triangles[i];
        out.vertices = corners[i];
        for (int c = 0; c < 3; ++c) {
            V3 sum{};
            for (uint32_t f : around[corners[i][c]])
                if (dot(faceUnit[f], faceUnit[i]) >= cosCrease) sum = sum + faceN[f];
            V3 n = length(sum) > 1e-12f ? normalized(sum) : faceUnit[i];
            out.normals[c] = {n.x, n.y, n.z};
            out.s[c] = tris_[i].uv[c].s;
            out.t[c] = tris_[i].uv[c].t;
        }
        out.groupIndex = static_cast<uint8_t>(std::clamp(tris_[i].group, 0, 255));
    }
    size_t groupCount = std::max<size_t>(groups_.size(), 1);
    model.groups.resize(groupCount);
    for (size_t g = 0; g < groupCount; ++g) {
        if (g < groups_.size()) {
            model.groups[g].name = groups_[g].name;
            model.groups[g].material = static_cast<int8_t>(groups_[g].material);
        } else {
            model.groups[g].name = "default";
        }
    }
    for (size_t i = 0; i < tris_.size(); ++i)
        model.groups[static_cast<size_t>(tris_[i].group)].triangles.push_back(static_cast<uint16_t>(i));
    if (tris_.empty() && groups_.empty()) model.groups.clear();
    model.materials = materials_;
    return model;
}

bool Mesh::write(const std::string& path, float creaseDeg) const { return sbm::writeFile(toModel(creaseDeg), path); }

UvFn planarUv(V3 origin, V3 uAxis, V3 vAxis, float s0, float t0, float s1, float t1) {
    return [=](V3 p, V3) {
        float a = dot(p - origin, uAxis), b = dot(p - origin, vAxis);
        return UV{s0 + (s1 - s0) * a, t0 + (t1 - t0) * b};
    };
}

UvFn fixedUv(float s, float t) {
    return [=](V3, V3) { return UV{s, t}; };
}

UvFn boxUv(V3 lo, V3 hi, float s0, float t0, float s1, float t1) {
    return [=](V3 p, V3 n) {
        V3 r{(p.x - lo.x) / std::max(1e-6f, hi.x - lo.x), (p.y - lo.y) / std::max(1e-6f, hi.y - lo.y),
             (p.z - lo.z) / std::max(1e-6f, hi.z - lo.z)};
        float a, b;
        float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
        if (ax >= ay && ax >= az) a = r.z, b = 1 - r.y;
        else if (ay >= az) a = r.x, b = r.z;
        else a = r.x, b = 1 - r.y;
        return UV{s0 + (s1 - s0) * a, t0 + (t1 - t0) * b};
    };
}

sbm::Material texturedMaterial(const std::string& name, const std::string& texture, float shine) {
    sbm::Material m;
    m.name = name;
    m.ambient = {0.6f, 0.6f, 0.6f, 1.0f};
    m.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    m.specular = {shine, shine, shine, 1.0f};
    m.shininess = shine > 0 ? 40.0f : 0.0f;
    m.transparency = 1.0f;
    m.texture = texture;
    return m;
}

Profile::Profile(std::vector<std::pair<float, float>> keys) {
    std::sort(keys.begin(), keys.end());
    for (auto [x, y] : keys) {
        xs_.push_back(x);
        ys_.push_back(y);
    }
    size_t n = xs_.size();
    ms_.assign(n, 0.0f);
    if (n < 2) return;
    std::vector<float> d(n - 1);
    for (size_t i = 0; i + 1 < n; ++i) d[i] = (ys_[i + 1] - ys_[i]) / std::max(1e-6f, xs_[i + 1] - xs_[i]);
    ms_[0] = d[0];
    ms_[n - 1] = d[n - 2];
    for (size_t i = 1; i + 1 < n; ++i) ms_[i] = (d[i - 1] * d[i] <= 0) ? 0.0f : (d[i - 1] + d[i]) * 0.5f;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (d[i] == 0) {
            ms_[i] = ms_[i + 1] = 0;
            continue;
        }
        float a = ms_[i] / d[i], b = ms_[i + 1] / d[i];
        float s = a * a + b * b;
        if (s > 9) {
            float t = 3 / std::sqrt(s);
            ms_[i] = t * a * d[i];
            ms_[i + 1] = t * b * d[i];
        }
    }
}

float Profile::operator()(float x) const {
    if (xs_.empty()) return 0;
    if (x <= xs_.front()) return ys_.front();
    if (x >= xs_.back()) return ys_.back();
    size_t i = static_cast<size_t>(std::upper_bound(xs_.begin(), xs_.end(), x) - xs_.begin()) - 1;
    float h = xs_[i + 1] - xs_[i], t = (x - xs_[i]) / h;
    float t2 = t * t, t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * ys_[i] + (t3 - 2 * t2 + t) * h * ms_[i] + (-2 * t3 + 3 * t2) * ys_[i + 1] +
           (t3 - t2) * h * ms_[i + 1];
}

float raycast(const std::vector<Tri>& tris, V3 origin, V3 dir, float maxDist, V3* normal) {
    float best = -1;
    for (const Tri& t : tris) {
        V3 e1 = t.p[1] - t.p[0], e2 = t.p[2] - t.p[0];
        V3 pv = cross(dir, e2);
        float det = dot(e1, pv);
        if (std::fabs(det) < 1e-12f) continue;
        float inv = 1.0f / det;
        V3 tv = origin - t.p[0];
        float u = dot(tv, pv) * inv;
        if (u < 0 || u > 1) continue;
        V3 qv = cross(tv, e1);
        float v = dot(dir, qv) * inv;
        if (v < 0 || u + v > 1) continue;
        float d = dot(e2, qv) * inv;
        if (d < 0 || d > maxDist) continue;
        if (best < 0 || d < best) {
            best = d;
            if (normal) *normal = normalized(cross(e1, e2));
        }
    }
    return best;
}

}  // namespace cars
