// The level.ai format: the files the track checker must refuse (its round trip
// is checked by the fuzz target, tests/fuzz/checker_path_fuzz.cpp).
#include "cities/ai_path_file.h"

#include <gtest/gtest.h>


using namespace gen::cities;

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
