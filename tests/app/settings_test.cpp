#include "app/file_io.h"
#include "app/settings.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    readFileBounded(path, 1 << 20, bytes);
    return bytes;
}

std::vector<uint8_t> fieldsFile(const std::vector<int32_t>& fields) {
    std::vector<uint8_t> bytes(fields.size() * 4);
    for (size_t i = 0; i < fields.size(); ++i) putLe32(&bytes[i * 4], static_cast<uint32_t>(fields[i]));
    return bytes;
}

}  // namespace

TEST(SettingsFile, MissingFileKeepsDefaultsAndSavesAFullFile) {
    ScopedTempDir dir;
    GameSettings s;
    EXPECT_EQ(loadSettings(s), ReadStatus::Missing);
    EXPECT_EQ(s.resolutionIndex, 1);
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.height, 600);
    EXPECT_EQ(s.keys[4], 0x10);
    ASSERT_TRUE(saveSettings(s, false));
    std::vector<uint8_t> bytes = fileBytes(settingsPath);
    ASSERT_EQ(bytes.size(), 76u);
    const int32_t expected[19] = {1, 32, 1, 1, 1, 0, 1, 0, 1, 0x25, 0x27, 0x26, 0x28, 0x10, 0, 0, 0, 0, 0};
    for (int i = 0; i < 19; ++i) EXPECT_EQ(static_cast<int32_t>(getLe32(&bytes[i * 4])), expected[i]) << i;
}

TEST(SettingsFile, ShortFileReadsMissingFieldsAsMinusOne) {
    ScopedTempDir dir;
    // Two whole fields and half of the third.
    std::vector<uint8_t> bytes = fieldsFile({3, 16, 0});
    bytes.resize(10);
    ASSERT_TRUE(test_support::writeFileBytes(settingsPath, bytes));
    GameSettings s;
    ASSERT_EQ(loadSettings(s), ReadStatus::Ok);
    EXPECT_EQ(s.resolutionIndex, 3);
    EXPECT_EQ(s.width, 1280);
    EXPECT_EQ(s.colourDepth, 16);
    EXPECT_EQ(s.reflections, -1);
    EXPECT_EQ(s.sound, 1);  // -1 is non-zero: on
    EXPECT_EQ(s.music, 1);
    EXPECT_EQ(s.keys[0], -1);
    EXPECT_EQ(s.reserved15[4], -1);

    // An empty file: no resolution, and an index outside 0..4 leaves the size alone.
    ASSERT_TRUE(test_support::writeFileBytes(settingsPath, {}));
    s.width = 1024;
    ASSERT_EQ(loadSettings(s), ReadStatus::Ok);
    EXPECT_EQ(s.resolutionIndex, -1);
    EXPECT_EQ(s.width, 1024);
}

TEST(SettingsFile, ReservedAndOddValuesSurviveALoadAndSave) {
    ScopedTempDir dir;
    std::vector<int32_t> fields = {2, 24, 1, 7, 0, -123456, 2, 2, 5, 0x41, 0x42, 0x43, 0x44, 0x45,
                                   INT32_MIN, 1, -1, 99, INT32_MAX};
    ASSERT_TRUE(test_support::writeFileBytes(settingsPath, fieldsFile(fields)));
    GameSettings s;
    ASSERT_EQ(loadSettings(s), ReadStatus::Ok);
    EXPECT_EQ(s.motionBlur, 2);  // kept as read; only exactly 1 draws motion blur
    ASSERT_TRUE(saveSettings(s, false));
    std::vector<int32_t> expected = fields;
    expected[3] = 1;  // sound and music are stored as flags
    EXPECT_EQ(fileBytes(settingsPath), fieldsFile(expected));
}

TEST(SettingsFile, ResolutionIsSavedOnlyAfterAccept) {
    ScopedTempDir dir;
    GameSettings s;
    s.resolutionIndex = 1;
    applyResolutionIndex(s);
    s.chosenWidth = 1280;  // chosen on the Options screen
    s.chosenHeight = 1024;
    // Saved after Accept: tests/frontend/options_screen_test.cpp.
    ASSERT_TRUE(saveSettings(s, false));
    EXPECT_EQ(getLe32(fileBytes(settingsPath).data()), 1u);
}

TEST(AtomicWrite, ReplacesTheWholeFileAndCreatesNoFolder) {
    ScopedTempDir dir;
    ASSERT_TRUE(test_support::writeFileBytes("base/file.bin", std::vector<uint8_t>(1000, 7)));
    const uint8_t data[3] = {1, 2, 3};
    ASSERT_TRUE(writeFileAtomic("base/file.bin", data, 3));
    EXPECT_EQ(fileBytes("base/file.bin"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists("base/file.bin.tmp"));
    EXPECT_FALSE(writeFileAtomic("nowhere/file.bin", data, 1));
    EXPECT_FALSE(std::filesystem::exists("nowhere"));
}
