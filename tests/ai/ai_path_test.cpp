// level.ai: the path reader and its defences against damaged files and lines
// that cannot give a sane lap.
#include "race/ai_path.h"

#include "support/image_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

namespace {

void putInt(std::vector<uint8_t>& out, int32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(uint8_t(uint32_t(v) >> (8 * k)));
}
void putFloat(std::vector<uint8_t>& out, float f) {
    int32_t v;
    std::memcpy(&v, &f, 4);
    putInt(out, v);
}

struct Point {
    float x, z;
    int32_t kind;
};

std::vector<uint8_t> pathBytes(int32_t last, const std::vector<Point>& points) {
    std::vector<uint8_t> out;
    putInt(out, last);
    for (const Point& p : points) {
        putFloat(out, p.x);
        putFloat(out, 1.5f);
        putFloat(out, p.z);
        putInt(out, p.kind);
    }
    return out;
}

// `records` points 40 apart along x, every even one a checkpoint.
std::vector<uint8_t> pathBytes(int32_t last, int records, float badX = 0.0f) {
    std::vector<Point> points;
    for (int i = 0; i < records; ++i) points.push_back({i == 1 && badX != 0.0f ? badX : 40.0f * float(i), -2.0f * float(i), i % 2 == 0 ? 1 : 0});
    return pathBytes(last, points);
}

}  // namespace

TEST(AiPath, ReadsEveryRecordInOrderUpToTheLongestCircuit) {
    const std::vector<uint8_t> bytes = pathBytes(4, 5);
    ASSERT_TRUE(parseAiPath(bytes.data(), bytes.size()));
    EXPECT_EQ(aiPathLast, 4);
    EXPECT_EQ(aiPath[3].x, 120.0f);
    EXPECT_EQ(aiPath[3].y, 1.5f);
    EXPECT_EQ(aiPath[3].z, -6.0f);
    EXPECT_EQ(aiPath[3].kind, 0);
    EXPECT_EQ(aiPath[4].kind, 1);

    // Ten records in the file, a count of four: the first five are the path.
    const std::vector<uint8_t> longer = pathBytes(4, 10);
    ASSERT_TRUE(parseAiPath(longer.data(), longer.size()));
    EXPECT_EQ(aiPathLast, 4);
    EXPECT_EQ(aiPath[5].x, 0.0f);

    // The largest path that fits is read.
    EXPECT_GE(aiPathCapacity, 1169);
    const std::vector<uint8_t> full = pathBytes(aiPathCapacity - 1, aiPathCapacity);
    ASSERT_TRUE(parseAiPath(full.data(), full.size()));
    EXPECT_EQ(aiPathLast, aiPathCapacity - 1);
}

TEST(AiPath, DamagedFilesAndLinesWithoutASaneLapLeaveNoPath) {
    const std::vector<std::vector<uint8_t>> bad = {
        {},                                                   // empty
        {1, 0},                                               // count cut short
        pathBytes(5, 5),                                      // one record missing
        pathBytes(-1, 0),                                     // negative count
        pathBytes(aiPathCapacity, 0),                         // more points than there is room for
        pathBytes(2, 3, std::numeric_limits<float>::quiet_NaN()),
        pathBytes(2, 3, std::numeric_limits<float>::infinity()),
        // Lines that counted a lap every frame or two:
        pathBytes(0, {{0, 0, 1}}),                                                // the start line alone
        pathBytes(2, {{0, 0, 0}, {40, 0, 0}, {80, 0, 0}}),                        // no checkpoint but the start
        pathBytes(2, {{0, 0, 1}, {40, 0, 0}, {0, 0, 1}}),                         // a checkpoint on the start line
        pathBytes(3, {{0, 0, 1}, {200, 0, 1}, {210, 0, 1}, {400, 0, 0}}),         // two checkpoints 10 apart
        pathBytes(2, {{0, 0, 1}, {100, 0, 0}, {20, 0, 1}}),                       // the last one beside the start
    };
    for (size_t k = 0; k < bad.size(); ++k) {
        const std::vector<uint8_t> good = pathBytes(2, 3);
        ASSERT_TRUE(parseAiPath(good.data(), good.size()));
        EXPECT_FALSE(parseAiPath(bad[k].data(), bad[k].size())) << "case " << k;
        EXPECT_EQ(aiPathLast, -1) << "case " << k;
    }
    // Checkpoints exactly the least spacing apart make a lap.
    const std::vector<uint8_t> tight = pathBytes(2, {{0, 0, 1}, {minCheckpointSpacing, 0, 1}, {0, minCheckpointSpacing, 0}});
    EXPECT_TRUE(parseAiPath(tight.data(), tight.size()));
}

TEST(AiPath, LoadsTheSlotsFile) {
    ScopedTempDir dir;
    ASSERT_TRUE(test_support::writeFileBytes("base/maps/30/points/level.ai", pathBytes(6, 7)));
    EXPECT_EQ(aiPathFile(30), "base/maps/30/points/level.ai");
    ASSERT_TRUE(loadAiPath(30));
    EXPECT_EQ(aiPathLast, 6);
    EXPECT_FALSE(loadAiPath(29));
    EXPECT_EQ(aiPathLast, -1);  // anything but a regular file too: tests/content/hostile_files_test.cpp
}
