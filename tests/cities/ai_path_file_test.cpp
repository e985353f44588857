// The level.ai format: round trip and the files a reader must refuse.
#include "cities/ai_path_file.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace gen::cities;

TEST(AiPathFile, RoundTripKeepsEveryField) {
    std::vector<PathPoint> points{{1.5f, -2.25f, 300.125f, 1}, {-650.0f, 0.5f, 12.0f, 0}, {7, 8, 9, 1}};
    std::vector<uint8_t> bytes = encodeAiPath(points);
    ASSERT_EQ(bytes.size(), 4u + 3u * 16u);
    // Last index first, little-endian.
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[1], 0);
    float x;
    std::memcpy(&x, bytes.data() + 4, 4);
    EXPECT_EQ(x, 1.5f);
    EXPECT_EQ(bytes[4 + 12], 1);  // kind of point 0
    std::vector<PathPoint> back;
    ASSERT_TRUE(decodeAiPath(bytes.data(), bytes.size(), back));
    ASSERT_EQ(back.size(), points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(back[i].x, points[i].x);
        EXPECT_EQ(back[i].y, points[i].y);
        EXPECT_EQ(back[i].z, points[i].z);
        EXPECT_EQ(back[i].kind, points[i].kind);
    }
}

TEST(AiPathFile, RefusesDamagedFiles) {
    std::vector<PathPoint> points(5, PathPoint{1, 2, 3, 0});
    std::vector<uint8_t> bytes = encodeAiPath(points);
    std::vector<PathPoint> back;
    EXPECT_FALSE(decodeAiPath(bytes.data(), 3, back));                 // no count
    EXPECT_FALSE(decodeAiPath(bytes.data(), bytes.size() - 1, back));  // truncated record
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(decodeAiPath(longer.data(), longer.size(), back));    // trailing byte
    std::vector<uint8_t> negative = bytes;
    negative[3] = 0xff;
    EXPECT_FALSE(decodeAiPath(negative.data(), negative.size(), back));
    EXPECT_TRUE(back.empty());
    std::vector<PathPoint> tooMany(static_cast<size_t>(kMaxPathPoints) + 1);
    std::vector<uint8_t> big = encodeAiPath(tooMany);
    EXPECT_FALSE(decodeAiPath(big.data(), big.size(), back));
    std::vector<PathPoint> most(static_cast<size_t>(kMaxPathPoints));
    std::vector<uint8_t> ok = encodeAiPath(most);
    EXPECT_TRUE(decodeAiPath(ok.data(), ok.size(), back));
    EXPECT_FALSE(readAiPath("/nonexistent/level.ai", back));
}
