// The track checker on small hand-made tracks: it passes a good one and names
// the rule a broken one breaks.
#include "cities/track_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace gen::cities;

namespace {

void quad(std::vector<TrackTriangle>& out, V3 a, V3 b, V3 c, V3 d, int cls) {
    out.push_back({a, b, c, cls});
    out.push_back({a, c, d, cls});
}

// A ring of road around a 200 x 200 block: the line runs round it 10 units apart.
TrackFiles ringTrack() {
    TrackFiles f;
    f.collisionLoaded = f.visualLoaded = f.glassLoaded = f.lightLoaded = f.treesLoaded = f.pathLoaded = true;
    f.visualTriangles = 100;
    f.lightTriangles = 10;
    f.treeTriangles = 16;
    // Flat road from -150 to 150 at y 0, the block in the middle cut out by walls only.
    quad(f.collision, {-150, 0, -150}, {-150, 0, 150}, {150, 0, 150}, {150, 0, -150}, kRoadClass);
    f.collisionTriangles = int(f.collision.size());
    // Square loop of side 240 centred on the origin, starting heading +x at (0, 1, -120).
    const float half = 120;
    for (int side = 0; side < 4; ++side)
        for (int k = 0; k < 24; ++k) {
            float t = -half + float(k) * 10;
            V3 p;
            if (side == 0) p = {t + 0.0f, 1, -half};
            else if (side == 1) p = {half, 1, t};
            else if (side == 2) p = {-t, 1, half};
            else p = {-half, 1, -t};
            f.path.push_back({p.x, p.y, p.z, (side * 24 + k) % 16 == 0 ? 1 : 0});
        }
    // Rotate so point 0 lies just ahead of the grid.
    f.start = {f.path[0].x - 8, 1.1f, f.path[0].z - 6.75f};
    return f;
}

}  // namespace

TEST(TrackRules, AcceptsAGoodTrack) {
    TrackFiles f = ringTrack();
    TrackReport r = checkTrack(f);
    EXPECT_TRUE(r.ok) << r.failure;
    EXPECT_EQ(r.points, 96);
    EXPECT_EQ(r.checkpoints, 6);
    EXPECT_NEAR(r.length, 960, 1);
    EXPECT_EQ(reportLine(4, r), "slot 4: ok length=960 points=96 checkpoints=6");
}

TEST(TrackRules, NamesTheBrokenRule) {
    struct Case {
        std::function<void(TrackFiles&)> spoil;
        const char* named;  // a part of the failure
    };
    const Case cases[] = {
        {[](TrackFiles& f) { f.visualTriangles = 40001; }, "mapvisual.sbm has 40001"},
        {[](TrackFiles& f) { f.treesLoaded = false; }, "trees.sbm does not load"},
        {[](TrackFiles& f) { f.path[10].x += 5; }, "apart (8..12)"},  // uneven spacing
        {[](TrackFiles& f) { f.path[0].kind = 0; }, "point 0 is not a checkpoint"},
        {[](TrackFiles& f) { f.path[16].kind = 0; }, "points apart (10..25)"},  // a 32-point gap
        {[](TrackFiles& f) { f.start.x -= 10; }, "from grid slot"},             // grid behind point 0
        {[](TrackFiles& f) { f.start.y = 3; }, "ground under grid slot 0"},     // grid floating
        // A wall 5 units beside the line on the far side of the loop.
        {[](TrackFiles& f) { quad(f.collision, {-20, -1, 125}, {20, -1, 125}, {20, 4, 125}, {-20, 4, 125}, kWallClass); },
         "has an obstacle"},
        // Pavement instead of road under the line.
        {[](TrackFiles& f) { for (TrackTriangle& t : f.collision) t.surfaceClass = 2; }, "not over road"},
    };
    for (const Case& c : cases) {
        TrackFiles f = ringTrack();
        c.spoil(f);
        EXPECT_NE(checkTrack(f).failure.find(c.named), std::string::npos) << c.named;
    }
    // A wall across the line between two points.
    TrackFiles f = ringTrack();
    quad(f.collision, {115, -1, 5}, {125, -1, 5}, {125, 4, 5}, {115, 4, 5}, kWallClass);
    const std::string why = checkTrack(f).failure;
    EXPECT_TRUE(why.find("obstacle") != std::string::npos || why.find("wall stands between") != std::string::npos) << why;
}

TEST(TrackRules, RaycastFindsTheNearestTriangleOfTheAskedClasses) {
    std::vector<TrackTriangle> tris;
    quad(tris, {-10, 0, -10}, {-10, 0, 10}, {10, 0, 10}, {10, 0, -10}, 1);
    quad(tris, {-10, 2, -10}, {-10, 2, 10}, {10, 2, 10}, {10, 2, -10}, 3);
    TriangleGrid grid(tris, 4);
    float t;
    int cls = -1;
    ASSERT_TRUE(grid.raycast({0, 5, 0}, {0, -1, 0}, 10, t, cls));
    EXPECT_NEAR(t, 3, 1e-4);
    EXPECT_EQ(cls, 3);
    ASSERT_TRUE(grid.raycast({0, 5, 0}, {0, -1, 0}, 10, t, cls, 1u << 1));
    EXPECT_NEAR(t, 5, 1e-4);
    EXPECT_EQ(cls, 1);
    EXPECT_FALSE(grid.raycast({0, 5, 0}, {0, -1, 0}, 2.5f, t, cls));
    EXPECT_FALSE(grid.raycast({30, 5, 0}, {0, -1, 0}, 10, t, cls));
}
