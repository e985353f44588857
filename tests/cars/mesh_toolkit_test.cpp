// The car generator's mesh toolkit: triangulation, welding and crease-aware
// normals, faces turned to the asked side. Where the livery layout puts surfaces is
// checked on the generated cars (Livery tests in car_content_test.cpp).
#include "cars/mesh.h"

#include <gtest/gtest.h>

namespace {

using namespace cars;

float area(const Tri& t) { return 0.5f * length(cross(t.p[1] - t.p[0], t.p[2] - t.p[0])); }

TEST(MeshToolkit, EarClippingCoversAConcaveOutlineFacingTheAskedSide) {
    Mesh m;
    // an L shape of area 3, counter-clockwise seen from +z
    std::vector<V3> l = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}};
    m.polygonEar(l, fixedUv(0, 0));
    ASSERT_EQ(m.size(), l.size() - 2);
    float sum = 0;
    for (const Tri& t : m.triangles()) {
        sum += area(t);
        EXPECT_GT(cross(t.p[1] - t.p[0], t.p[2] - t.p[0]).z, 0.0f);
    }
    EXPECT_NEAR(sum, 3.0f, 1e-4f);

    // The same outline asked to face -z turns round.
    m = Mesh{};
    m.polygonFacing(l, V3{0, 0, -1}, fixedUv(0, 0));
    ASSERT_EQ(m.size(), l.size() - 2);
    for (const Tri& t : m.triangles()) EXPECT_LT(cross(t.p[1] - t.p[0], t.p[2] - t.p[0]).z, 0.0f);
}

TEST(MeshToolkit, BoxWeldsToEightCornersWithSharpEdges) {
    Mesh m;
    m.box({-1, -1, -1}, {1, 1, 1}, fixedUv(0.5f, 0.5f));
    sbm::Model model = m.toModel(40.0f);
    EXPECT_EQ(model.vertices.size(), 8u);
    ASSERT_EQ(model.triangles.size(), 12u);
    for (const sbm::Triangle& t : model.triangles) {
        V3 p[3];
        for (int c = 0; c < 3; ++c) {
            const sbm::Vertex& v = model.vertices[t.vertices[c]];
            p[c] = {v.x, v.y, v.z};
        }
        V3 face = normalized(cross(p[1] - p[0], p[2] - p[0]));
        V3 centre = (p[0] + p[1] + p[2]) * (1.0f / 3.0f);
        EXPECT_GT(dot(face, centre), 0.0f) << "faces point out of the box";
        for (int c = 0; c < 3; ++c) {
            V3 n{t.normals[c][0], t.normals[c][1], t.normals[c][2]};
            EXPECT_NEAR(dot(n, face), 1.0f, 1e-4f) << "90 degree edges are not smoothed";
        }
    }
}

TEST(MeshToolkit, ShallowFoldsAreSmoothed) {
    Mesh m;
    // two quads meeting at a 10 degree fold along x = 0
    float s = std::sin(10.0f * kPi / 180.0f), c = std::cos(10.0f * kPi / 180.0f);
    m.quad({-1, 0, 0}, {0, 0, 0}, {0, 0, -1}, {-1, 0, -1}, fixedUv(0, 0));
    m.quad({0, 0, 0}, {c, -s, 0}, {c, -s, -1}, {0, 0, -1}, fixedUv(0, 0));
    sbm::Model model = m.toModel(40.0f);
    EXPECT_EQ(model.vertices.size(), 6u);
    for (const sbm::Triangle& t : model.triangles)
        for (int k = 0; k < 3; ++k)
            if (std::fabs(model.vertices[t.vertices[k]].x) < 1e-4f) {
                EXPECT_GT(t.normals[k][1], 0.99f);
                EXPECT_GT(t.normals[k][0], 0.01f) << "the normal on the fold leans between both faces";
            }
}

TEST(MeshToolkit, DegenerateTrianglesAreDroppedAndAnEmptyMeshWritesAnEmptyModel) {
    Mesh m;
    m.tri({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, fixedUv(0, 0));
    m.quad({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, fixedUv(0, 0));
    EXPECT_EQ(m.size(), 0u);
    sbm::Model model = m.toModel();
    EXPECT_TRUE(model.vertices.empty());
    EXPECT_TRUE(model.triangles.empty());
    EXPECT_TRUE(model.groups.empty());
}

}  // namespace
