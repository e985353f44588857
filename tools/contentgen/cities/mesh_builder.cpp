#include "cities/mesh_builder.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <unordered_map>

namespace gen::cities {

V3 operator+(const V3& a, const V3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(const V3& a, const V3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(const V3& a, float k) { return {a.x * k, a.y * k, a.z * k}; }
V3 cross(const V3& a, const V3& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dot(const V3& a, const V3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 normalized(const V3& a) {
    float l = std::sqrt(dot(a, a));
    return l > 1e-12f ? a * (1.0f / l) : V3{0, 1, 0};
}

int MeshLayer::material(const MaterialDef& def) {
    auto it = byName_.find(def.name);
    if (it != byName_.end()) return it->second;
    int id = int(materials_.size());
    materials_.push_back(def);
    byName_[def.name] = id;
    return id;
}

void MeshLayer::tri(const V3& a, const V3& b, const V3& c, float sa, float ta, float sb, float tb, float sc,
                    float tc, int material) {
    MeshTri t;
    t.p[0] = a;
    t.p[1] = b;
    t.p[2] = c;
    V3 n = normalized(cross(b - a, c - a));
    t.n[0] = t.n[1] = t.n[2] = n;
    t.s[0] = sa;
    t.t[0] = ta;
    t.s[1] = sb;
    t.t[1] = tb;
    t.s[2] = sc;
    t.t[2] = tc;
    t.material = material;
    tris_.push_back(t);
}

void MeshLayer::quad(const V3& a, const V3& b, const V3& c, const V3& d, const float st[8], int material) {
    tri(a, b, c, st[0], st[1], st[2], st[3], st[4], st[5], material);
    tri(a, c, d, st[0], st[1], st[4], st[5], st[6], st[7], material);
}

void MeshLayer::append(const MeshLayer& other) {
    std::vector<int> remap(other.materials_.size());
    for (size_t i = 0; i < other.materials_.size(); ++i) remap[i] = material(other.materials_[i]);
    tris_.reserve(tris_.size() + other.tris_.size());
    for (MeshTri t : other.tris_) {
        t.material = remap[size_t(t.material)];
        tris_.push_back(t);
    }
}

sbm::Model MeshLayer::toModel() const {
    sbm::Model m;
    if (tris_.size() > 65535) throw std::length_error("layer has more than 65535 triangles");
    struct Key {
        uint32_t x, y, z;
        bool operator==(const Key& o) const { return x == o.x && y == o.y && z == o.z; }
    };
    struct KeyHash {
        size_t operator()(const Key& k) const { return (size_t(k.x) * 73856093u) ^ (size_t(k.y) * 19349663u) ^ (size_t(k.z) * 83492791u); }
    };
    std::unordered_map<Key, uint16_t, KeyHash> index;
    auto vertexOf = [&](const V3& p) -> uint16_t {
        Key k;
        std::memcpy(&k.x, &p.x, 4);
        std::memcpy(&k.y, &p.y, 4);
        std::memcpy(&k.z, &p.z, 4);
        auto it = index.find(k);
        if (it != index.end()) return it->second;
        if (m.vertices.size() >= 65535) throw std::length_error("layer has more than 65535 vertices");
        uint16_t id = uint16_t(m.vertices.size());
        m.vertices.push_back({p.x, p.y, p.z, -1});
        index.emplace(k, id);
        return id;
    };
    // Triangles ordered by material so each group is one contiguous run.
    std::vector<std::vector<size_t>> byMaterial(materials_.size());
    for (size_t i = 0; i < tris_.size(); ++i) byMaterial[size_t(tris_[i].material)].push_back(i);
    for (size_t mi = 0; mi < materials_.size(); ++mi) {
        if (byMaterial[mi].empty()) continue;
        sbm::Group g;
        g.name = materials_[mi].name;
        g.material = int8_t(m.materials.size());
        uint8_t groupIndex = uint8_t(m.groups.size());
        for (size_t ti : byMaterial[mi]) {
            const MeshTri& src = tris_[ti];
            sbm::Triangle t;
            for (int k = 0; k < 3; ++k) {
                t.vertices[size_t(k)] = vertexOf(src.p[k]);
                t.normals[size_t(k)] = {src.n[k].x, src.n[k].y, src.n[k].z};
                t.s[size_t(k)] = src.s[k];
                t.t[size_t(k)] = src.t[k];
            }
            t.groupIndex = groupIndex;
            g.triangles.push_back(uint16_t(m.triangles.size()));
            m.triangles.push_back(t);
        }
        const MaterialDef& def = materials_[mi];
        sbm::Material mat;
        mat.name = def.name;
        mat.ambient = {0.3f, 0.3f, 0.3f, 1};
        mat.diffuse = {0.8f, 0.8f, 0.8f, 1};
        mat.emissive = {def.emissive, def.emissive, def.emissive, 1};
        mat.transparency = def.transparency;
        mat.texture = def.texture;
        m.materials.push_back(mat);
        m.groups.push_back(std::move(g));
    }
    if (m.materials.size() > 127) throw std::length_error("layer has more than 127 materials");
    return m;
}

}  // namespace gen::cities
