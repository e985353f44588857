// Route markers: which points show an arrow or rings, in which colour, how
// strongly at which distance.
#include "render/route_markers.h"

#include "race/ai_path.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Points 10 apart along +x; the given indices are checkpoints.
std::vector<TrackPoint> line(int count, std::vector<int> checkpoints) {
    std::vector<TrackPoint> points(size_t(count), TrackPoint{});
    for (int i = 0; i < count; ++i) points[size_t(i)].x = 10.0f * float(i);
    for (int k : checkpoints) points[size_t(k)].kind = checkpointKind;
    return points;
}

const RouteMarker* markerOf(const std::vector<RouteMarker>& markers, int32_t point) {
    for (const RouteMarker& m : markers)
        if (m.point == point) return &m;
    return nullptr;
}

}  // namespace

TEST(RouteMarkers, FadeInFrom10To20AndShowNothingFrom100) {
    // Seen from x = -5: points 0 (5 away) and 10, 11 (105, 115 away) show nothing.
    const std::vector<TrackPoint> points = line(12, {0});
    const std::vector<RouteMarker> markers = routeMarkers(points.data(), 11, {-5.0f, 0.0f, 0.0f}, 0);
    EXPECT_EQ(markerOf(markers, 0), nullptr);
    EXPECT_EQ(markerOf(markers, 10), nullptr);
    ASSERT_NE(markerOf(markers, 1), nullptr);
    EXPECT_NEAR(markerOf(markers, 1)->alpha, 0.5f, 1e-5f);  // 15 away
    EXPECT_EQ(markerOf(markers, 2)->alpha, 1.0f);
    // From the last point to the first; each heads for the next point (+x: 0 degrees).
    EXPECT_EQ(markers.front().point, 9);
    EXPECT_EQ(markers.back().point, 1);
    EXPECT_NEAR(markers.back().heading, 0.0f, 1e-4f);
}

TEST(RouteMarkers, TheNextCheckpointHasGreenRingsOthersOrangeAndNoArrowLiesNextToACheckpoint) {
    const std::vector<TrackPoint> points = line(20, {0, 5, 12});
    const std::vector<RouteMarker> markers = routeMarkers(points.data(), 19, {100.0f, 0.0f, 30.0f}, 12);
    const RouteMarker* next = markerOf(markers, 12);
    const RouteMarker* other = markerOf(markers, 5);
    ASSERT_TRUE(next && other);
    EXPECT_TRUE(next->rings && next->green && !next->arrow);
    EXPECT_TRUE(other->rings && !other->green && !other->arrow);
    for (int32_t k : {4, 6, 11, 13}) {
        ASSERT_NE(markerOf(markers, k), nullptr) << k;
        EXPECT_FALSE(markerOf(markers, k)->arrow) << k;
        EXPECT_FALSE(markerOf(markers, k)->rings) << k;
    }
    for (int32_t k : {2, 8, 9, 15}) {
        EXPECT_TRUE(markerOf(markers, k)->arrow) << k;
        EXPECT_TRUE(markerOf(markers, k)->green) << k;
    }
    // The last point's neighbour after it is point 0, a checkpoint: no arrow.
    EXPECT_FALSE(markerOf(markers, 19)->arrow);
    // Along -z a segment heads +90 degrees.
    std::vector<TrackPoint> turn = line(3, {0});
    turn[2] = turn[1];
    turn[2].z = -10.0f;
    EXPECT_NEAR(routeMarkers(turn.data(), 2, {10.0f, 0.0f, 30.0f}, 0)[1].heading, 90.0f, 1e-3f);
}
