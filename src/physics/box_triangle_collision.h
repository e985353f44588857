// Contacts between a box and one track triangle, by separating axes and
// clipping: a box lying on or pressed against a triangle gets all its touching
// corners at once, so it neither rocks on a single point nor spins on a wall.
// Registered with the world's dispatcher for (box, triangle) pairs.
#pragma once

#include <btBulletCollisionCommon.h>
#include <BulletCollision/CollisionDispatch/btActivatingCollisionAlgorithm.h>

namespace physics {

class BoxTriangleAlgorithm : public btActivatingCollisionAlgorithm {
public:
    BoxTriangleAlgorithm(const btCollisionAlgorithmConstructionInfo& ci, const btCollisionObjectWrapper* box,
                         const btCollisionObjectWrapper* triangle);
    ~BoxTriangleAlgorithm() override;

    void processCollision(const btCollisionObjectWrapper* box, const btCollisionObjectWrapper* triangle,
                          const btDispatcherInfo& info, btManifoldResult* result) override;
    btScalar calculateTimeOfImpact(btCollisionObject*, btCollisionObject*, const btDispatcherInfo&,
                                   btManifoldResult*) override
    {
        return 1.0f;
    }
    void getAllContactManifolds(btManifoldArray& manifolds) override;

    struct CreateFunc : btCollisionAlgorithmCreateFunc {
        btCollisionAlgorithm* CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& ci,
                                                       const btCollisionObjectWrapper* body0,
                                                       const btCollisionObjectWrapper* body1) override;
    };

private:
    btPersistentManifold* manifold = nullptr;
    bool ownManifold = false;
};

// One contact in box space: the point on the triangle, the normal from the
// triangle towards the box, and the signed distance (negative = overlap).
struct BoxTriangleContact {
    btVector3 pointOnTriangle;
    btVector3 normal;
    btScalar distance;
};

// What lies across each edge of a triangle (edge j runs from corner j to j + 1):
// the far corner of the neighbouring triangle, when there is exactly one.
struct TriangleNeighbours {
    bool present[3] = {false, false, false};
    btVector3 farCorner[3];
};

// The contacts (at most 8) of a box of the given half extents centred at the
// origin with a triangle given in the box's frame, for a gap up to `threshold`.
// A contact normal may lean out over an edge only where that edge is a real
// corner of the surface (open, or the neighbour falls away from the box); over
// a flat or hollow seam the neighbour answers instead, so boxes glide over seams.
int boxTriangleContacts(const btVector3& half, const btVector3 tri[3], const TriangleNeighbours& neighbours,
                        btScalar threshold, BoxTriangleContact* out);

} // namespace physics
