// The car generator's mesh toolkit and livery layout: triangulation, welding and
// crease-aware normals, winding under mirroring, curve interpolation, and UVs that
// stay inside their livery bands.
#include "cars/livery_layout.h"
#include "cars/mesh.h"

#include <gtest/gtest.h>

namespace {

using namespace cars;

float area(const Tri& t) { return 0.5f * length(cross(t.p[1] - t.p[0], t.p[2] - t.p[0])); }

TEST(MeshToolkit, EarClippingCoversAConcaveOutline) {
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
}

TEST(MeshToolkit, PolygonFacingTurnsTheOutlineTowardsTheGivenSide) {
    Mesh m;
    m.polygonFacing({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, V3{0, 0, -1}, fixedUv(0, 0));
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

TEST(MeshToolkit, MirroringKeepsFacesOutwards) {
    Mesh m;
    m.box({0.5f, -1, 0.2f}, {1.5f, 1, 1.0f}, fixedUv(0, 0));
    m.mirrorZ(0);
    ASSERT_EQ(m.size(), 24u);
    for (size_t i = 12; i < 24; ++i) {
        const Tri& t = m.triangles()[i];
        V3 face = cross(t.p[1] - t.p[0], t.p[2] - t.p[0]);
        V3 centre = (t.p[0] + t.p[1] + t.p[2]) * (1.0f / 3.0f);
        EXPECT_GT(dot(face, centre - V3{1.0f, 0.0f, -0.6f}), 0.0f);
    }
}

TEST(MeshToolkit, DegenerateTrianglesAreDropped) {
    Mesh m;
    m.tri({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, fixedUv(0, 0));
    m.quad({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, fixedUv(0, 0));
    EXPECT_EQ(m.size(), 0u);
}

TEST(MeshToolkit, EmptyMeshWritesAnEmptyModel) {
    sbm::Model model = Mesh{}.toModel();
    EXPECT_TRUE(model.vertices.empty());
    EXPECT_TRUE(model.triangles.empty());
    EXPECT_TRUE(model.groups.empty());
}

TEST(MeshToolkit, ProfileInterpolatesWithoutOvershoot) {
    Profile p({{0, 0}, {1, 1}, {2, 1}, {3, 0}});
    EXPECT_FLOAT_EQ(p(-5), 0.0f);
    EXPECT_FLOAT_EQ(p(1), 1.0f);
    EXPECT_FLOAT_EQ(p(10), 0.0f);
    for (float x = 0; x <= 3; x += 0.05f) {
        EXPECT_GE(p(x), -1e-5f);
        EXPECT_LE(p(x), 1.0f + 1e-5f);
    }
}

TEST(MeshToolkit, RaycastFindsTheNearestFace) {
    Mesh m;
    m.box({-1, -1, -1}, {1, 1, 1}, fixedUv(0, 0));
    V3 n;
    EXPECT_NEAR(raycast(m.triangles(), {0, 5, 0}, {0, -1, 0}, 10, &n), 4.0f, 1e-4f);
    EXPECT_GT(n.y, 0.99f);
    EXPECT_LT(raycast(m.triangles(), {0, 5, 0}, {0, 1, 0}, 10), 0.0f);
}

TEST(LiveryLayout, SurfacesLandInTheirBandsWhateverTheInput) {
    for (float x : {-9.0f, -3.2f, 0.0f, 3.2f, 9.0f}) {
        for (float arc : {-5.0f, -1.0f, 0.0f, 1.0f, 5.0f}) {
            UV u = livery::top(x, arc);
            EXPECT_GE(1024 * (1 - u.t), 768.0f);  // picture y of the top band
            EXPECT_GE(u.s, 0.0f);
            EXPECT_LE(u.s, 1.0f);
        }
        for (float y : {-3.0f, -0.5f, 0.0f, 3.0f}) {
            UV u = livery::side(x, y);
            EXPECT_GE(1024 * (1 - u.t), 572.0f);
            EXPECT_LE(1024 * (1 - u.t), 828.0f);
            UV n = livery::nose(x * 0.3f, y), t = livery::tail(x * 0.3f, y);
            EXPECT_LT(1024 * (1 - n.t), 572.0f);
            EXPECT_LT(n.s, 0.5f);
            EXPECT_GT(t.s, 0.5f);
        }
    }
    // the nose sits at the left of the bands, as the vinyls are drawn
    EXPECT_LT(livery::top(3.0f, 0).s, livery::top(-3.0f, 0).s);
}

TEST(LiveryLayout, SwatchesStayInsideTheirCells) {
    for (int i = 0; i < static_cast<int>(livery::Swatch::Count); ++i) {
        float x0, y0;
        livery::swatchOrigin(static_cast<livery::Swatch>(i), x0, y0);
        for (float a : {-100.0f, 0.0f, 100.0f}) {
            UV u = livery::swatch(static_cast<livery::Swatch>(i), a, -a);
            EXPECT_GT(u.s * 1024, x0);
            EXPECT_LT(u.s * 1024, x0 + livery::kSwatchCell);
            EXPECT_GT(u.t * 1024, y0);
            EXPECT_LT(u.t * 1024, y0 + livery::kSwatchCell);
        }
    }
}

}  // namespace
