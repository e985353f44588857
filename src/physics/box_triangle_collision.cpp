#include "physics/box_triangle_collision.h"
#include "physics/physics_internal.h"

#include <cmath>
#include <new>

#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btTriangleShape.h>

namespace physics {

namespace {

// A face axis replaces the best axis so far only when clearly better, and an
// edge axis only when clearly better than every face: resting contacts then
// keep the triangle's own normal instead of flickering between axes.
constexpr btScalar kRelativeTolerance = 0.95f;
constexpr btScalar kAbsoluteTolerance = 0.01f;
// A neighbour that falls away from the box by more than about 3 degrees makes
// the shared edge a corner.
constexpr btScalar kCornerSine = 0.05f;
// An axis this close to the face normal counts as the face normal.
constexpr btScalar kFlatAxis = 0.01f;

enum class AxisKind { TriangleNormal, BoxFace, Edge };

struct Axis {
    AxisKind kind = AxisKind::TriangleNormal;
    btVector3 direction{0, 0, 0}; // from the triangle towards the box
    btScalar separation = -BT_LARGE_FLOAT;
    int boxAxis = 0;
    int triangleEdge = 0;
};

btScalar boxRadius(const btVector3& half, const btVector3& axis)
{
    return half.x() * std::fabs(axis.x()) + half.y() * std::fabs(axis.y()) + half.z() * std::fabs(axis.z());
}

// Separation along a unit axis, oriented so that the box lies on its + side;
// returns the larger of the two orientations.
btScalar separationAlong(const btVector3& half, const btVector3 tri[3], btVector3& axis)
{
    btScalar r = boxRadius(half, axis);
    btScalar a = axis.dot(tri[0]), b = axis.dot(tri[1]), c = axis.dot(tri[2]);
    btScalar lo = btMin(a, btMin(b, c)), hi = btMax(a, btMax(b, c));
    btScalar boxAbove = -r - hi; // box on the + side of the triangle
    btScalar boxBelow = lo - r;  // box on the - side
    if (boxBelow > boxAbove) {
        axis = -axis;
        return boxBelow;
    }
    return boxAbove;
}

// Sutherland-Hodgman: keeps the part of the polygon with dot(normal, p) <= offset.
int clipPolygon(const btVector3* in, int count, const btVector3& normal, btScalar offset, btVector3* out)
{
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const btVector3& a = in[i];
        const btVector3& b = in[(i + 1) % count];
        btScalar da = normal.dot(a) - offset, db = normal.dot(b) - offset;
        if (da <= 0) out[n++] = a;
        if ((da < 0 && db > 0) || (da > 0 && db < 0)) out[n++] = a + (b - a) * (da / (da - db));
    }
    return n;
}

// Closest points of segments p0-p1 and q0-q1.
void closestOnSegments(const btVector3& p0, const btVector3& p1, const btVector3& q0, const btVector3& q1,
                       btVector3& onP, btVector3& onQ)
{
    btVector3 d1 = p1 - p0, d2 = q1 - q0, r = p0 - q0;
    btScalar a = d1.dot(d1), e = d2.dot(d2), f = d2.dot(r);
    btScalar s = 0, t = 0;
    if (a <= SIMD_EPSILON && e <= SIMD_EPSILON) {
        // both points
    } else if (a <= SIMD_EPSILON) {
        t = btClamped(f / e, btScalar(0), btScalar(1));
    } else {
        btScalar c = d1.dot(r);
        if (e <= SIMD_EPSILON) {
            s = btClamped(-c / a, btScalar(0), btScalar(1));
        } else {
            btScalar b = d1.dot(d2), denom = a * e - b * b;
            s = denom > SIMD_EPSILON ? btClamped((b * f - c * e) / denom, btScalar(0), btScalar(1)) : 0;
            t = (b * s + f) / e;
            if (t < 0) {
                t = 0;
                s = btClamped(-c / a, btScalar(0), btScalar(1));
            } else if (t > 1) {
                t = 1;
                s = btClamped((b - c) / a, btScalar(0), btScalar(1));
            }
        }
    }
    onP = p0 + d1 * s;
    onQ = q0 + d2 * t;
}

btVector3 unitAxis(int i)
{
    btVector3 v(0, 0, 0);
    v[i] = 1;
    return v;
}

} // namespace

int boxTriangleContacts(const btVector3& half, const btVector3 tri[3], const TriangleNeighbours& neighbours,
                        btScalar threshold, BoxTriangleContact* out)
{
    const btVector3 edges[3] = {tri[1] - tri[0], tri[2] - tri[1], tri[0] - tri[2]};
    btVector3 normal = edges[0].cross(tri[2] - tri[0]);
    if (normal.length2() < SIMD_EPSILON * SIMD_EPSILON) return 0;
    normal.normalize();

    Axis best;
    best.direction = normal;
    best.separation = separationAlong(half, tri, best.direction);
    if (best.separation > threshold) return 0;
    const btVector3 faceNormal = best.direction; // towards the box

    // Which edges are corners of the surface, seen from the box's side.
    btVector3 outward[3];
    bool corner[3];
    for (int j = 0; j < 3; ++j) {
        outward[j] = edges[j].cross(faceNormal).normalized();
        if (outward[j].dot(tri[(j + 2) % 3] - tri[j]) > 0) outward[j] = -outward[j];
        corner[j] = true;
        if (neighbours.present[j]) {
            btVector3 along = edges[j].normalized();
            btVector3 away = neighbours.farCorner[j] - tri[j];
            away -= along * along.dot(away);
            btScalar len = away.length();
            if (len > SIMD_EPSILON) corner[j] = -faceNormal.dot(away) / len > kCornerSine;
        }
    }
    auto mayLeanTo = [&](const btVector3& axis) {
        btVector3 inPlane = axis - faceNormal * faceNormal.dot(axis);
        btScalar len = inPlane.length();
        if (len < kFlatAxis) return true;
        for (int j = 0; j < 3; ++j) {
            if (corner[j] && outward[j].dot(inPlane) > kFlatAxis * len) return true;
        }
        return false;
    };

    for (int i = 0; i < 3; ++i) {
        btVector3 axis = unitAxis(i);
        btScalar s = separationAlong(half, tri, axis);
        if (s > threshold) return 0;
        if (s > kRelativeTolerance * best.separation + kAbsoluteTolerance && mayLeanTo(axis)) {
            best = {AxisKind::BoxFace, axis, s, i, 0};
        }
    }
    const btScalar faceSeparation = best.separation;
    Axis bestEdge;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            btVector3 axis = unitAxis(i).cross(edges[j]);
            btScalar len = axis.length();
            if (len < 1e-5f * edges[j].length()) continue; // parallel
            axis /= len;
            btScalar s = separationAlong(half, tri, axis);
            if (s > threshold) return 0;
            if (s > bestEdge.separation && mayLeanTo(axis)) bestEdge = {AxisKind::Edge, axis, s, i, j};
        }
    }
    if (bestEdge.separation > kRelativeTolerance * faceSeparation + kAbsoluteTolerance) best = bestEdge;

    int count = 0;
    const btVector3& n = best.direction;
    if (best.kind == AxisKind::TriangleNormal) {
        // The box face turned most towards the triangle, clipped to the triangle's sides.
        int k = n.closestAxis();
        btScalar faceCoord = n[k] > 0 ? -half[k] : half[k];
        int u = (k + 1) % 3, v = (k + 2) % 3;
        btVector3 poly[16], tmp[16];
        const btScalar su[4] = {-1, 1, 1, -1}, sv[4] = {-1, -1, 1, 1};
        for (int c = 0; c < 4; ++c) {
            poly[c][k] = faceCoord;
            poly[c][u] = su[c] * half[u];
            poly[c][v] = sv[c] * half[v];
        }
        int m = 4;
        for (int e = 0; e < 3 && m > 0; ++e) {
            const btVector3& a = tri[e];
            btVector3 outward = edges[e].cross(n);
            if (outward.dot(tri[(e + 2) % 3] - a) > 0) outward = -outward;
            m = clipPolygon(poly, m, outward, outward.dot(a), tmp);
            for (int c = 0; c < m; ++c) poly[c] = tmp[c];
        }
        const btScalar planeOffset = n.dot(tri[0]);
        for (int c = 0; c < m && count < 8; ++c) {
            btScalar d = n.dot(poly[c]) - planeOffset;
            if (d <= threshold) out[count++] = {poly[c] - n * d, n, d};
        }
    } else if (best.kind == AxisKind::BoxFace) {
        // The triangle clipped to the side planes of the box face that faces it.
        int k = best.boxAxis;
        btScalar s = n[k] > 0 ? 1 : -1;
        btVector3 poly[16] = {tri[0], tri[1], tri[2]}, tmp[16];
        int m = 3;
        for (int j = 0; j < 3 && m > 0; ++j) {
            if (j == k) continue;
            for (btScalar side : {btScalar(1), btScalar(-1)}) {
                m = clipPolygon(poly, m, unitAxis(j) * side, half[j], tmp);
                for (int c = 0; c < m; ++c) poly[c] = tmp[c];
            }
        }
        for (int c = 0; c < m && count < 8; ++c) {
            btScalar d = -s * poly[c][k] - half[k];
            if (d <= threshold) out[count++] = {poly[c], n, d};
        }
    } else {
        // Edge against edge: one point, between the box edge nearest the triangle
        // and the triangle edge that made the axis.
        int i = best.boxAxis;
        btVector3 corner(0, 0, 0);
        for (int j = 0; j < 3; ++j) {
            if (j != i) corner[j] = n[j] > 0 ? -half[j] : half[j];
        }
        btVector3 p0 = corner, p1 = corner;
        p0[i] = -half[i];
        p1[i] = half[i];
        const btVector3& a = tri[best.triangleEdge];
        const btVector3& b = tri[(best.triangleEdge + 1) % 3];
        btVector3 onBox, onTriangle;
        closestOnSegments(p0, p1, a, b, onBox, onTriangle);
        out[count++] = {onTriangle, n, best.separation};
    }
    return count;
}

BoxTriangleAlgorithm::BoxTriangleAlgorithm(const btCollisionAlgorithmConstructionInfo& ci,
                                           const btCollisionObjectWrapper* box,
                                           const btCollisionObjectWrapper* triangle)
    : btActivatingCollisionAlgorithm(ci, box, triangle), manifold(ci.m_manifold)
{
}

BoxTriangleAlgorithm::~BoxTriangleAlgorithm()
{
    if (ownManifold && manifold) m_dispatcher->releaseManifold(manifold);
}

void BoxTriangleAlgorithm::processCollision(const btCollisionObjectWrapper* boxWrap,
                                            const btCollisionObjectWrapper* triangleWrap, const btDispatcherInfo&,
                                            btManifoldResult* result)
{
    if (boxWrap->getCollisionShape()->getShapeType() != BOX_SHAPE_PROXYTYPE ||
        triangleWrap->getCollisionShape()->getShapeType() != TRIANGLE_SHAPE_PROXYTYPE)
        return;
    if (!manifold) {
        manifold = m_dispatcher->getNewManifold(boxWrap->getCollisionObject(), triangleWrap->getCollisionObject());
        ownManifold = true;
    }
    result->setPersistentManifold(manifold);

    const auto* box = static_cast<const btBoxShape*>(boxWrap->getCollisionShape());
    const auto* triangle = static_cast<const btTriangleShape*>(triangleWrap->getCollisionShape());
    const btTransform& boxPose = boxWrap->getWorldTransform();
    btTransform toBox = boxPose.inverse() * triangleWrap->getWorldTransform();
    const btVector3 tri[3] = {toBox * triangle->m_vertices1[0], toBox * triangle->m_vertices1[1],
                              toBox * triangle->m_vertices1[2]};

    TriangleNeighbours neighbours;
    const btCollisionObject* meshObject = triangleWrap->getCollisionObject();
    if (meshObject->getUserIndex() == kMeshTag) {
        const auto* mesh = static_cast<const MeshData*>(meshObject->getUserPointer());
        int index = triangleWrap->m_index;
        if (index >= 0 && 3 * static_cast<size_t>(index) + 2 < mesh->across.size()) {
            for (int j = 0; j < 3; ++j) {
                int32_t v = mesh->across[3 * index + j];
                if (v < 0) continue;
                neighbours.present[j] = true;
                neighbours.farCorner[j] = toBox * toBt(mesh->vertices[v]);
            }
        }
    }

    BoxTriangleContact contacts[8];
    int count = boxTriangleContacts(box->getHalfExtentsWithMargin(), tri, neighbours,
                                    manifold->getContactBreakingThreshold(), contacts);
    for (int i = 0; i < count; ++i) {
        result->addContactPoint(boxPose.getBasis() * contacts[i].normal, boxPose * contacts[i].pointOnTriangle,
                                contacts[i].distance);
    }
    if (ownManifold) result->refreshContactPoints();
}

void BoxTriangleAlgorithm::getAllContactManifolds(btManifoldArray& manifolds)
{
    if (manifold && ownManifold) manifolds.push_back(manifold);
}

btCollisionAlgorithm* BoxTriangleAlgorithm::CreateFunc::CreateCollisionAlgorithm(
    btCollisionAlgorithmConstructionInfo& ci, const btCollisionObjectWrapper* body0,
    const btCollisionObjectWrapper* body1)
{
    void* memory = ci.m_dispatcher1->allocateCollisionAlgorithm(sizeof(BoxTriangleAlgorithm));
    return new (memory) BoxTriangleAlgorithm(ci, body0, body1);
}

} // namespace physics
