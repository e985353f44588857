#include <cmath>
#include <utility>

#include <gtest/gtest.h>

#include "physics/box_triangle_collision.h"

using physics::BoxTriangleContact;
using physics::boxTriangleContacts;
using physics::TriangleNeighbours;

namespace {

const btVector3 kHalf(3.0f, 0.7f, 1.3f); // the race car's box

TEST(BoxTriangle, BoxOnALargeTriangleTouchesWithItsWholeBottomFace)
{
    // Ground 0.01 below the box, triangle wound either way.
    for (bool flipped : {false, true}) {
        btVector3 tri[3] = {{-50, -0.71f, -50}, {50, -0.71f, -50}, {0, -0.71f, 50}};
        if (flipped) std::swap(tri[1], tri[2]);
        BoxTriangleContact contacts[8];
        int count = boxTriangleContacts(kHalf, tri, TriangleNeighbours{}, 0.05f, contacts);
        ASSERT_EQ(count, 4);
        for (int i = 0; i < count; ++i) {
            EXPECT_NEAR(contacts[i].normal.y(), 1.0f, 1e-6f);
            EXPECT_NEAR(contacts[i].distance, 0.01f, 1e-5f);
            EXPECT_NEAR(contacts[i].pointOnTriangle.y(), -0.71f, 1e-5f);
            EXPECT_NEAR(std::fabs(contacts[i].pointOnTriangle.x()), 3.0f, 1e-5f);
        }
    }
}

TEST(BoxTriangle, FarTriangleGivesNothing)
{
    btVector3 below[3] = {{-50, -1.0f, -50}, {50, -1.0f, -50}, {0, -1.0f, 50}};
    BoxTriangleContact contacts[8];
    EXPECT_EQ(boxTriangleContacts(kHalf, below, TriangleNeighbours{}, 0.05f, contacts), 0);
    btVector3 beside[3] = {{3.2f, -0.7f, -1}, {5, -0.7f, -1}, {5, -0.7f, 1}};
    EXPECT_EQ(boxTriangleContacts(kHalf, beside, TriangleNeighbours{}, 0.05f, contacts), 0);
}

TEST(BoxTriangle, PartlyCoveredTriangleIsClippedToIt)
{
    // A triangle under the front half of the box, sunk 0.02 into it.
    btVector3 tri[3] = {{0, -0.68f, -10}, {10, -0.68f, -10}, {0, -0.68f, 10}};
    BoxTriangleContact contacts[8];
    int count = boxTriangleContacts(kHalf, tri, TriangleNeighbours{}, 0.05f, contacts);
    ASSERT_GE(count, 3);
    for (int i = 0; i < count; ++i) {
        EXPECT_NEAR(contacts[i].normal.y(), 1.0f, 1e-6f);
        EXPECT_NEAR(contacts[i].distance, -0.02f, 1e-5f);
        EXPECT_GE(contacts[i].pointOnTriangle.x(), -1e-5f);
    }
}

// A triangle of the road just ahead of the box, level with its bottom face.
// Its near edge is the diagonal of a road quad whose other half lies under the box.
struct SeamCase {
    btVector3 tri[3] = {{3.02f, -0.7f, -2}, {3.02f, -0.7f, 2}, {7.02f, -0.7f, -2}};
};

TEST(BoxTriangle, AnEdgeAheadPushesBackOnlyWhereTheSurfaceEndsOrFallsAway)
{
    SeamCase road;
    // Across the edge x = 3.02: nothing (the end of a surface), a neighbour falling
    // away below the box (a ridge), more flat road, or one rising towards the box
    // (a hollow). The first two are corners that push back along -x; on the other
    // two the neighbour answers and every contact points up.
    struct Case {
        bool present;
        btVector3 farCorner;
        bool corner;
    } cases[] = {{false, {}, true}, {true, {-1, -2.7f, 0}, true}, {true, {-1, -0.7f, 0}, false},
                 {true, {1, 1.3f, 0}, false}};
    for (const Case& c : cases) {
        TriangleNeighbours neighbours;
        neighbours.present[0] = c.present;
        neighbours.farCorner[0] = c.farCorner;
        BoxTriangleContact contacts[8];
        int count = boxTriangleContacts(kHalf, road.tri, neighbours, 0.05f, contacts);
        if (c.corner) {
            ASSERT_GE(count, 1) << c.farCorner.y();
            EXPECT_LT(contacts[0].normal.x(), -0.99f) << c.farCorner.y();
        } else {
            for (int i = 0; i < count; ++i) EXPECT_NEAR(contacts[i].normal.y(), 1.0f, 1e-6f) << c.farCorner.y();
        }
    }
}

TEST(BoxTriangle, EdgeAgainstEdgeGivesOnePointOnTheDiagonal)
{
    // A fin in the plane x = 0 whose free edge runs along (0, 1, 1) and cuts
    // 0.01 into the box's lower front edge (along x at y = -1, z = 1).
    const btVector3 p(0, -0.99f, 0.99f), along(0, 1, 1), away(0, -0.7071068f, 0.7071068f);
    btVector3 fin[3] = {p - along * 2, p + along * 2, p + away * 3};
    BoxTriangleContact contacts[8];
    int count = boxTriangleContacts(btVector3(1, 1, 1), fin, TriangleNeighbours{}, 0.05f, contacts);
    ASSERT_EQ(count, 1);
    EXPECT_NEAR(contacts[0].normal.y(), 0.7071068f, 1e-4f);
    EXPECT_NEAR(contacts[0].normal.z(), -0.7071068f, 1e-4f);
    EXPECT_NEAR(contacts[0].distance, -0.01f * 1.4142136f, 1e-4f);
    EXPECT_NEAR(contacts[0].pointOnTriangle.z() - contacts[0].pointOnTriangle.y(), 1.98f, 1e-4f);
}

} // namespace
