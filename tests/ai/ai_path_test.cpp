// level.ai: the path reader and its defences against damaged files.
#include "race/ai_path.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
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

std::vector<uint8_t> pathBytes(int32_t last, int records, float badX = 0.0f) {
    std::vector<uint8_t> out;
    putInt(out, last);
    for (int i = 0; i < records; ++i) {
        putFloat(out, i == 1 && badX != 0.0f ? badX : 10.0f * float(i));
        putFloat(out, 1.5f);
        putFloat(out, -2.0f * float(i));
        putInt(out, i % 3 == 0 ? 1 : 0);
    }
    return out;
}

}  // namespace

TEST(AiPath, ReadsEveryRecordInOrder) {
    const std::vector<uint8_t> bytes = pathBytes(4, 5);
    ASSERT_TRUE(parseAiPath(bytes.data(), bytes.size()));
    EXPECT_EQ(aiPathLast, 4);
    EXPECT_EQ(aiPath[3].x, 30.0f);
    EXPECT_EQ(aiPath[3].y, 1.5f);
    EXPECT_EQ(aiPath[3].z, -6.0f);
    EXPECT_EQ(aiPath[3].kind, 1);
    EXPECT_EQ(aiPath[4].kind, 0);
}

TEST(AiPath, TheLongestCircuitFitsAndBytesPastTheCountAreIgnored) {
    EXPECT_GE(aiPathCapacity, 1169);
    const std::vector<uint8_t> longest = pathBytes(1168, 1169);
    ASSERT_TRUE(parseAiPath(longest.data(), longest.size()));
    EXPECT_EQ(aiPathLast, 1168);
    EXPECT_EQ(aiPath[1168].x, 11680.0f);

    // Ten records in the file, a count of four: the first five are the path.
    const std::vector<uint8_t> longer = pathBytes(4, 10);
    ASSERT_TRUE(parseAiPath(longer.data(), longer.size()));
    EXPECT_EQ(aiPathLast, 4);
    EXPECT_EQ(aiPath[5].x, 0.0f);
}

TEST(AiPath, AOnePointPathIsAPath) {
    const std::vector<uint8_t> bytes = pathBytes(0, 1);
    ASSERT_TRUE(parseAiPath(bytes.data(), bytes.size()));
    EXPECT_EQ(aiPathLast, 0);
}

TEST(AiPath, DamagedFilesLeaveNoPath) {
    const std::vector<std::vector<uint8_t>> bad = {
        {},                                                   // empty
        {1, 0},                                               // count cut short
        pathBytes(5, 5),                                      // one record missing
        pathBytes(-1, 0),                                     // negative count
        pathBytes(aiPathCapacity, 0),                         // more points than there is room for
        pathBytes(2, 3, std::numeric_limits<float>::quiet_NaN()),
        pathBytes(2, 3, std::numeric_limits<float>::infinity()),
    };
    for (size_t k = 0; k < bad.size(); ++k) {
        const std::vector<uint8_t> good = pathBytes(2, 3);
        ASSERT_TRUE(parseAiPath(good.data(), good.size()));
        EXPECT_FALSE(parseAiPath(bad[k].data(), bad[k].size())) << "case " << k;
        EXPECT_EQ(aiPathLast, -1) << "case " << k;
    }
    // The largest path that fits is read.
    const std::vector<uint8_t> full = pathBytes(aiPathCapacity - 1, aiPathCapacity);
    EXPECT_TRUE(parseAiPath(full.data(), full.size()));
    EXPECT_EQ(aiPathLast, aiPathCapacity - 1);
}

TEST(AiPath, LoadsTheSlotsFileAndFailsQuietlyWithoutOne) {
    ScopedTempDir dir;
    std::filesystem::create_directories("base/maps/30/points");
    const std::vector<uint8_t> bytes = pathBytes(6, 7);
    std::ofstream("base/maps/30/points/level.ai", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    EXPECT_EQ(aiPathFile(30), "base/maps/30/points/level.ai");
    ASSERT_TRUE(loadAiPath(30));
    EXPECT_EQ(aiPathLast, 6);
    EXPECT_FALSE(loadAiPath(29));
    EXPECT_EQ(aiPathLast, -1);

    // A file cut inside its last record, and one whose count is far too large.
    std::vector<uint8_t> cut = pathBytes(6, 7);
    cut.resize(cut.size() - 3);
    std::ofstream("short.ai", std::ios::binary).write(reinterpret_cast<const char*>(cut.data()), std::streamsize(cut.size()));
    EXPECT_FALSE(loadAiPathFile("short.ai"));
    EXPECT_EQ(aiPathLast, -1);
    const std::vector<uint8_t> huge = pathBytes(0x7fffffff, 3);
    std::ofstream("huge.ai", std::ios::binary).write(reinterpret_cast<const char*>(huge.data()), std::streamsize(huge.size()));
    EXPECT_FALSE(loadAiPathFile("huge.ai"));
    EXPECT_EQ(aiPathLast, -1);
    // A directory where the file should be.
    std::filesystem::create_directories("base/maps/28/points/level.ai");
    EXPECT_FALSE(loadAiPath(28));
}
