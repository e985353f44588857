#include "physics/vector_math.h"

Mat4 identityMatrix() { return Mat4{}; }

Mat4 makePose(const Mat3& rotation, Vec3 position)
{
    Mat4 m;
    for (int r = 0; r < 3; ++r) setMatRow(m, r, rotation.row[r]);
    setMatRow(m, 3, position);
    return m;
}

Mat4 translationMatrix(Vec3 t)
{
    Mat4 m;
    setMatRow(m, 3, t);
    return m;
}

Mat4 rotationX(float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    Mat4 m;
    setMatRow(m, 1, {0, c, s});
    setMatRow(m, 2, {0, -s, c});
    return m;
}

Mat4 rotationY(float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    Mat4 m;
    setMatRow(m, 0, {c, 0, -s});
    setMatRow(m, 2, {s, 0, c});
    return m;
}

Mat4 rotationZ(float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    Mat4 m;
    setMatRow(m, 0, {c, s, 0});
    setMatRow(m, 1, {-s, c, 0});
    return m;
}

Mat4 rotationFromAngles(float ax, float ay, float az)
{
    return rotationX(ax) * rotationY(ay) * rotationZ(az);
}

Mat4 multiply(const Mat4& a, const Mat4& b)
{
    Mat4 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    }
    return r;
}

Vec3 transformPoint(const Mat4& m, Vec3 p)
{
    return matRow(m, 0) * p.x + matRow(m, 1) * p.y + matRow(m, 2) * p.z + matRow(m, 3);
}

Vec3 transformDirection(const Mat4& m, Vec3 d)
{
    return matRow(m, 0) * d.x + matRow(m, 1) * d.y + matRow(m, 2) * d.z;
}

Vec3 transformDirection(const Mat3& m, Vec3 d)
{
    return m.row[0] * d.x + m.row[1] * d.y + m.row[2] * d.z;
}

Vec3 inverseTransformDirection(const Mat4& m, Vec3 d)
{
    return {dot(d, matRow(m, 0)), dot(d, matRow(m, 1)), dot(d, matRow(m, 2))};
}

Mat4 inverseRigid(const Mat4& m)
{
    Mat4 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = m.m[j][i];
    Vec3 p = posePosition(m);
    setMatRow(r, 3, -inverseTransformDirection(m, p));
    return r;
}
