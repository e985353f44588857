// A small mesh-building toolkit for the car, wheel and garage models: a soup of
// textured triangles in named groups that is welded, given crease-aware normals
// and written as an .sbm model. Triangles are counter-clockwise seen from the
// side they face (the game culls back faces).
#pragma once

#include "sbm_writer.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace cars {

struct V3 {
    float x = 0, y = 0, z = 0;
};

inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator-(V3 a) { return {-a.x, -a.y, -a.z}; }
inline V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline V3 operator*(float s, V3 a) { return a * s; }
inline float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float length(V3 a) { return std::sqrt(dot(a, a)); }
inline V3 normalized(V3 a) {
    float l = length(a);
    return l > 1e-12f ? a * (1.0f / l) : V3{0, 1, 0};
}
inline V3 lerp(V3 a, V3 b, float t) { return a + (b - a) * t; }
inline float lerpf(float a, float b, float t) { return a + (b - a) * t; }

// Texture coordinates as stored in the file: t = 0 is the image's top row.
struct UV {
    float s = 0, t = 0;
};

struct Tri {
    V3 p[3];
    UV uv[3];
    int group = 0;
};

// A rigid placement: p' = rotation * (p * scale) + offset, rotation by columns.
struct Xform {
    V3 ax{1, 0, 0}, ay{0, 1, 0}, az{0, 0, 1};
    V3 offset{};
    V3 scale{1, 1, 1};
    V3 apply(V3 p) const {
        p = {p.x * scale.x, p.y * scale.y, p.z * scale.z};
        return ax * p.x + ay * p.y + az * p.z + offset;
    }
    bool mirrors() const {
        float det = dot(cross(ax, ay), az) * scale.x * scale.y * scale.z;
        return det < 0;
    }
    static Xform translate(V3 t) { Xform x; x.offset = t; return x; }
    static Xform rotateX(float a);
    static Xform rotateY(float a);
    static Xform rotateZ(float a);
};

using UvFn = std::function<UV(V3 p, V3 faceNormal)>;

class Mesh {
public:
    // Groups keep the order they are added in; each names a material index (-1: none).
    int addGroup(const std::string& name, int material = -1);
    int addMaterial(const sbm::Material& material);
    int groupCount() const { return static_cast<int>(groups_.size()); }
    // Triangles added from now on go to this group.
    void use(int group) { current_ = group; }
    int current() const { return current_; }

    // Degenerate triangles (no area) are dropped.
    void tri(V3 a, V3 b, V3 c, UV ua, UV ub, UV uc);
    void tri(V3 a, V3 b, V3 c, const UvFn& uv);
    // a, b, c, d counter-clockwise seen from the front; split along a-c.
    void quad(V3 a, V3 b, V3 c, V3 d, UV ua, UV ub, UV uc, UV ud);
    void quad(V3 a, V3 b, V3 c, V3 d, const UvFn& uv);
    // The same, turned to face along `facing` whatever order the corners come in.
    void quadFacing(V3 a, V3 b, V3 c, V3 d, UV ua, UV ub, UV uc, UV ud, V3 facing);
    void quadFacing(V3 a, V3 b, V3 c, V3 d, V3 facing, const UvFn& uv);
    void polygonFacing(std::vector<V3> pts, V3 facing, const UvFn& uv);
    // A convex or star-shaped polygon, counter-clockwise seen from the front, fanned from its centroid.
    void polygon(const std::vector<V3>& pts, const UvFn& uv);
    // The same polygon ear-clipped in its best-fit plane (any simple polygon).
    void polygonEar(const std::vector<V3>& pts, const UvFn& uv);

    // Grid between successive rings (each the same length); ring i to ring i+1 must run so that
    // the quads (r[i][k], r[i+1][k], r[i+1][k+1], r[i][k+1]) face outwards, or pass flip.
    void loft(const std::vector<std::vector<V3>>& rings, bool closedRings, const UvFn& uv, bool flip = false);
    // Axis-aligned box (or with its own frame through place), all six faces outwards.
    void box(V3 lo, V3 hi, const UvFn& uv, const Xform& place = Xform{});
    // Open or capped tube around the axis from a to b; radius per end.
    void cylinder(V3 a, V3 b, float ra, float rb, int segments, bool capA, bool capB, const UvFn& uv,
                  V3 upHint = {0, 1, 0});
    // A closed 2D outline (x, y), counter-clockwise, extruded along z from z0 to z1, capped,
    // then placed. Sides use sideUv, caps capUv.
    void extrude(const std::vector<std::pair<float, float>>& outline, float z0, float z1, const UvFn& sideUv,
                 const UvFn& capUv, const Xform& place = Xform{});

    // Adds another mesh's triangles (into this mesh's current group), transformed.
    void append(const Mesh& other, const Xform& place = Xform{});
    void transform(const Xform& place, size_t from = 0);

    size_t size() const { return tris_.size(); }
    const std::vector<Tri>& triangles() const { return tris_; }
    std::vector<Tri>& triangles() { return tris_; }
    // Lowest and highest corner over every triangle.
    void bounds(V3& lo, V3& hi) const;

    // Welds corners, computes normals smoothed across edges sharper than creaseDeg only,
    // and builds the file model. Groups without triangles are kept (so group numbers hold).
    sbm::Model toModel(float creaseDeg = 40.0f) const;
    bool write(const std::string& path, float creaseDeg = 40.0f) const;

private:
    struct GroupDef {
        std::string name;
        int material = -1;
    };
    std::vector<Tri> tris_;
    std::vector<GroupDef> groups_;
    std::vector<sbm::Material> materials_;
    int current_ = 0;
};

// Common UV mappings.
UvFn planarUv(V3 origin, V3 uAxis, V3 vAxis, float s0, float t0, float s1, float t1);
UvFn fixedUv(float s, float t);
// Picks the dominant axis of the face normal and projects onto the other two, into the given rectangle.
UvFn boxUv(V3 lo, V3 hi, float s0, float t0, float s1, float t1);

// A material whose texture path is stored in the model (loaded as it stands).
sbm::Material texturedMaterial(const std::string& name, const std::string& texture, float shine = 0.0f);

// Monotone cubic interpolation through (x, value) keys; flat outside the first and last keys.
class Profile {
public:
    Profile() = default;
    Profile(std::vector<std::pair<float, float>> keys);
    float operator()(float x) const;
    bool empty() const { return xs_.empty(); }

private:
    std::vector<float> xs_, ys_, ms_;
};

constexpr float kPi = 3.14159265358979f;

inline float smoothstep(float e0, float e1, float x) {
    float t = std::fmin(1.0f, std::fmax(0.0f, (x - e0) / (e1 - e0)));
    return t * t * (3 - 2 * t);
}
inline float clampf(float v, float lo, float hi) { return std::fmin(hi, std::fmax(lo, v)); }

// Ray against triangles: nearest hit distance along dir (unit), or a negative value.
float raycast(const std::vector<Tri>& tris, V3 origin, V3 dir, float maxDist, V3* normal = nullptr);

}  // namespace cars
