// Small vector helpers shared by the physics engine, the race and the content code.
//
// Matrices use the row-vector convention: a Mat4 pose holds the local x, y and z
// axes in world space in rows 0..2 and the position in row 3, so a point p maps to
// p.x * row0 + p.y * row1 + p.z * row2 + row3. Its memory layout is what
// glMultMatrixf expects. multiply(a, b) applies a first, then b.
#pragma once

#include <cmath>

// Three 32-bit floats, world y up.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Three rows: the local x, y and z axes in world space.
struct Mat3 {
    Vec3 row[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

// A 4x4 pose or transform, m[row][column]; starts as the identity.
struct Mat4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

// ---- Vec3 ----

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(float s, Vec3 a) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator/(Vec3 a, float s) { return {a.x / s, a.y / s, a.z / s}; }
inline Vec3& operator+=(Vec3& a, Vec3 b) { a = a + b; return a; }
inline Vec3& operator-=(Vec3& a, Vec3 b) { a = a - b; return a; }
inline Vec3& operator*=(Vec3& a, float s) { a = a * s; return a; }

inline Vec3 add(Vec3 a, Vec3 b) { return a + b; }
inline Vec3 subtract(Vec3 a, Vec3 b) { return a - b; }
inline Vec3 scale(Vec3 a, float s) { return a * s; }

// Component 0, 1 or 2 (x, y, z); any other index reads 0.
inline float component(Vec3 v, int i) { return i == 0 ? v.x : i == 1 ? v.y : i == 2 ? v.z : 0.0f; }
inline void setComponent(Vec3& v, int i, float value)
{
    if (i == 0) v.x = value;
    else if (i == 1) v.y = value;
    else if (i == 2) v.z = value;
}

inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float lengthSquared(Vec3 v) { return dot(v, v); }
inline float length(Vec3 v) { return std::sqrt(dot(v, v)); }

// Unit vector along v; a zero (or non-finite) vector gives the zero vector.
inline Vec3 normalise(Vec3 v)
{
    float len = length(v);
    if (!(len > 0.0f) || !std::isfinite(len)) return {};
    return v * (1.0f / len);
}

inline bool isFinite(Vec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// ---- Mat3 / Mat4 ----

inline Vec3 matRow(const Mat4& m, int r) { return {m.m[r][0], m.m[r][1], m.m[r][2]}; }
inline void setMatRow(Mat4& m, int r, Vec3 v) { m.m[r][0] = v.x; m.m[r][1] = v.y; m.m[r][2] = v.z; }

// The position of a pose (row 3).
inline Vec3 posePosition(const Mat4& m) { return matRow(m, 3); }
// The rotation rows 0..2 of a pose.
inline Mat3 rotationPart(const Mat4& m) { return {{matRow(m, 0), matRow(m, 1), matRow(m, 2)}}; }
// A pose from rotation rows and a position.
Mat4 makePose(const Mat3& rotation, Vec3 position);

Mat4 identityMatrix();
Mat4 translationMatrix(Vec3 t);
// Rotations by an angle in radians about one axis (right-handed: a positive angle
// about +y turns +x towards -z).
Mat4 rotationX(float angle);
Mat4 rotationY(float angle);
Mat4 rotationZ(float angle);
// Rotation about x, then y, then z by the three angles (radians).
Mat4 rotationFromAngles(float ax, float ay, float az);

// a then b (row-vector convention: the product a * b).
Mat4 multiply(const Mat4& a, const Mat4& b);
inline Mat4 operator*(const Mat4& a, const Mat4& b) { return multiply(a, b); }

// A point through the full pose (rotation and position).
Vec3 transformPoint(const Mat4& m, Vec3 p);
// A direction through the rotation rows only.
Vec3 transformDirection(const Mat4& m, Vec3 d);
Vec3 transformDirection(const Mat3& m, Vec3 d);
// World direction back into the local frame (transpose of the rotation).
Vec3 inverseTransformDirection(const Mat4& m, Vec3 d);
// Inverse of a rigid pose (orthonormal rotation rows plus position).
Mat4 inverseRigid(const Mat4& m);
