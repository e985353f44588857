// The numbered texture tables, loaded from a scratch base/textures of small
// images whose first pixel carries the file's number.
#include "content/texture_tables.h"
#include "format_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace formats_test;

namespace {

class TextureTables : public ::testing::Test {
protected:
    TempDir dir{"tables"};
    std::unique_ptr<ScopedWorkingDir> cwd;

    void SetUp() override {
        ASSERT_TRUE(glContext());
        testPlatform().messageBoxes.clear();
        for (int i = 0; i < TgaTableSize; ++i)
            ASSERT_TRUE(writeFileBytes(dir.file(tgaTablePath(i)), solidTga(4, 4, uint8_t(i), 1, 2)));
        for (int i = 0; i < BmpTableSize; ++i)
            ASSERT_TRUE(writeFileBytes(dir.file(bmpTablePath(i)), solidBmp(4, 4, uint8_t(i), 3, 4)));
        cwd = std::make_unique<ScopedWorkingDir>(dir.path());
    }
    void TearDown() override {
        releaseTextureTables();
        cwd.reset();
    }
};

}  // namespace

TEST_F(TextureTables, TgaEntriesLoadInTwoHalvesAndTheVinylsComeAndGo) {
    std::filesystem::remove(tgaTablePath(12));
    EXPECT_EQ(loadTgaTableBase(), 40);  // tex12 missing
    EXPECT_EQ(TgaTable[12].texture, 0u);
    for (int i = 0; i < FirstVinylTga; ++i) {
        if (i == 12) continue;
        ASSERT_NE(TgaTable[size_t(i)].texture, 0u) << i;
        EXPECT_EQ(TgaTable[size_t(i)].pixels[0], i);  // pixels kept after upload
        expectComplete(TgaTable[size_t(i)].texture);
    }
    for (int i = FirstVinylTga; i < TgaTableSize; ++i) EXPECT_EQ(TgaTable[size_t(i)].texture, 0u);

    EXPECT_EQ(loadTgaTableVinyls(), 40);
    const uint32_t vinyl = TgaTable[50].texture;
    ASSERT_NE(vinyl, 0u);
    EXPECT_EQ(TgaTable[80].pixels[0], 80);

    releaseTgaTableVinyls();
    EXPECT_FALSE(glIsTexture(vinyl));
    for (int i = FirstVinylTga; i < TgaTableSize; ++i) {
        EXPECT_EQ(TgaTable[size_t(i)].texture, 0u);
        EXPECT_TRUE(TgaTable[size_t(i)].pixels.empty());
    }
    EXPECT_NE(TgaTable[40].texture, 0u);  // the rest stays
}

TEST_F(TextureTables, BmpEntriesLoadInTheirSlotsAndOneMissingOrUndecodableFileLeavesNone) {
    ASSERT_TRUE(loadBmpTable());
    for (int i = 0; i < BmpTableSize; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(BmpTable[size_t(i)], 0u);
        EXPECT_EQ(texturePixels(BmpTable[size_t(i)], 3)[0], i);
        expectComplete(BmpTable[size_t(i)]);
    }
    ASSERT_TRUE(loadLoadingTextures());
    for (uint32_t t : LoadingTextures) expectComplete(t);
    EXPECT_TRUE(testPlatform().messageBoxes.empty());

    const uint32_t earlier = BmpTable[0];
    std::filesystem::remove(bmpTablePath(37));  // also the third loading picture
    EXPECT_FALSE(loadBmpTable());
    EXPECT_FALSE(loadLoadingTextures());
    for (uint32_t t : BmpTable) EXPECT_EQ(t, 0u);
    for (uint32_t t : LoadingTextures) EXPECT_EQ(t, 0u);
    EXPECT_FALSE(glIsTexture(earlier));  // a reload does not leak the old set
    EXPECT_TRUE(testPlatform().messageBoxes.empty());  // missing files are silent

    // One that is there but undecodable fails the table too, and is reported.
    ASSERT_TRUE(writeFileBytes(bmpTablePath(37), {'B', 'M', 0, 0}));
    EXPECT_FALSE(loadBmpTable());
    for (uint32_t t : BmpTable) EXPECT_EQ(t, 0u);
    ASSERT_EQ(testPlatform().messageBoxes.size(), 1u);
}
