// Collects the triangles of one track layer, grouped by material, and turns
// them into an .sbm model with shared vertex positions (the format keeps
// normals and texture coordinates per triangle corner, so sharing positions
// costs nothing and keeps large layers under the 65,535-vertex limit).
#pragma once

#include "cities/city_layout.h"
#include "sbm_writer.h"

#include <map>
#include <string>
#include <vector>

namespace gen::cities {

struct MeshTri {
    V3 p[3];
    V3 n[3];
    float s[3] = {};
    float t[3] = {};  // as in the file: t = 0 is the image's top edge
    int material = 0;
};

struct MaterialDef {
    std::string name;
    std::string texture;         // file in base/maps/textures/, empty for none
    float transparency = 1.0f;   // surface class (collision) or blink (<= 0.5, drawn layers)
    float emissive = 0.0f;
};

class MeshLayer {
public:
    // Index of the named material, added on first use.
    int material(const MaterialDef& def);
    int materialCount() const { return int(materials_.size()); }
    const MaterialDef& materialDef(int i) const { return materials_[size_t(i)]; }

    void tri(const MeshTri& t) { tris_.push_back(t); }
    // Flat-shaded triangle; uv per corner as (s, t).
    void tri(const V3& a, const V3& b, const V3& c, float sa, float ta, float sb, float tb, float sc, float tc,
             int material);
    // Quad a-b-c-d (counter-clockwise seen from the front) as two triangles.
    void quad(const V3& a, const V3& b, const V3& c, const V3& d, const float st[8], int material);
    // Appends another layer's triangles, remapping its materials by name.
    void append(const MeshLayer& other);
    // Keeps only the triangles for which keep() is true.
    template <class F>
    void filter(F keep) {
        std::vector<MeshTri> kept;
        kept.reserve(tris_.size());
        for (const MeshTri& t : tris_)
            if (keep(t)) kept.push_back(t);
        tris_.swap(kept);
    }

    const std::vector<MeshTri>& triangles() const { return tris_; }
    size_t triangleCount() const { return tris_.size(); }
    sbm::Model toModel() const;

private:
    std::vector<MaterialDef> materials_;
    std::map<std::string, int> byName_;
    std::vector<MeshTri> tris_;
};

V3 operator+(const V3& a, const V3& b);
V3 operator-(const V3& a, const V3& b);
V3 operator*(const V3& a, float k);
V3 cross(const V3& a, const V3& b);
float dot(const V3& a, const V3& b);
V3 normalized(const V3& a);

}  // namespace gen::cities
