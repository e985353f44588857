// Livery composition read back from the livery texture: paint where the body
// template is clear, vinyls where their inverted alpha is 0, the template where
// it is opaque, and the reflection mask's alpha everywhere.
#include "app/settings.h"
#include "content/livery.h"
#include "content/texture_tables.h"
#include "render/render_targets.h"
#include "tracks_test_support.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tracks_test;

namespace {

using Rgba = std::array<uint8_t, 4>;

// An 8 x 8 image whose columns below `split` are `left` and the rest `right`.
std::vector<uint8_t> columns(int split, Rgba left, Rgba right) {
    return tga32(8, 8, [=](int x, int) { return x < split ? left : right; });
}

// A cleared 1024 x 1024 RGBA texture like the renderer's livery textures.
uint32_t blankLivery() {
    const std::vector<uint8_t> black(size_t(liveryTextureSize) * liveryTextureSize * 4, 0);
    TextureParams params;
    params.minFilter = params.magFilter = GL_LINEAR;
    params.mipmaps = false;
    return createTexture(black.data(), liveryTextureSize, liveryTextureSize, 4, params);
}

class LiveryTest : public ::testing::Test {
protected:
    std::unique_ptr<ScopedTempDir> dir;
    std::vector<uint8_t> picture;

    void SetUp() override {
        ASSERT_TRUE(glContext());
        dir = std::make_unique<ScopedTempDir>("livery");
        // Body model 0: the template is clear over columns 0..5 and blue over 6..7.
        ASSERT_TRUE(writeFileBytes(tgaTablePath(3), columns(6, {255, 255, 255, 0}, {0, 0, 255, 255})));
        // Its mask: reflection 100 on the left half, 220 on the right.
        ASSERT_TRUE(writeFileBytes(tgaTablePath(13), columns(4, {50, 50, 50, 100}, {50, 50, 50, 220})));
        // No vinyl: opaque everywhere (alpha 1 leaves the paint).
        ASSERT_TRUE(writeFileBytes(tgaTablePath(40), solidTga32(4, 4, 255, 255, 0, 255)));
        // Top vinyl 1 (image 61): green where alpha is 0, on the left half.
        ASSERT_TRUE(writeFileBytes(tgaTablePath(61), columns(4, {0, 255, 0, 0}, {255, 0, 255, 255})));
        // Side vinyl 2 (image 42): cyan on the left half.
        ASSERT_TRUE(writeFileBytes(tgaTablePath(42), columns(4, {0, 255, 255, 0}, {255, 0, 255, 255})));
        loadTgaTableBase();
        loadTgaTableVinyls();
        for (uint32_t& texture : liveryTexture) {
            if (texture == 0) texture = blankLivery();
            ASSERT_NE(texture, 0u);
        }
        gameSettings.width = 320;
        gameSettings.height = 320;
    }
    void TearDown() override {
        releaseTextureTables();
        dir.reset();
    }

    void readBack(int slot) {
        picture.assign(size_t(liveryTextureSize) * liveryTextureSize * 4, 0);
        glBindTexture(GL_TEXTURE_2D, liveryTexture[size_t(slot)]);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
    }
    // Texel (x, y) of the 1024 x 1024 picture, y from the bottom.
    Rgba at(int x, int y) const {
        const size_t i = (size_t(y) * liveryTextureSize + size_t(x)) * 4;
        return {picture[i], picture[i + 1], picture[i + 2], picture[i + 3]};
    }
};

void expectNear(const Rgba& actual, const Rgba& expected, const char* where) {
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual[size_t(c)], expected[size_t(c)], 2) << where << " channel " << c;
}

}  // namespace

TEST_F(LiveryTest, PaintVinylsTemplateAndMaskAlpha) {
    paintLivery(1, 6, 1.0f, 0.0f, 0.0f, 1, 2);  // car 6 is body model 0
    readBack(1);

    // Columns: x 200 the vinyls' clear half, x 640 where the vinyls leave the
    // paint, x 900 under the opaque template. Rows: below the bands, the side
    // band, where both bands overlap (the side vinyl lies on top), the top band.
    expectNear(at(200, 100), {255, 0, 0, 100}, "paint, no band");
    expectNear(at(200, 300), {255, 0, 0, 100}, "paint, second tile row");
    expectNear(at(200, 700), {0, 255, 255, 100}, "side vinyl");
    expectNear(at(200, 800), {0, 255, 255, 100}, "side over top");
    expectNear(at(200, 900), {0, 255, 0, 100}, "top vinyl");
    expectNear(at(640, 300), {255, 0, 0, 220}, "paint, right half of the mask");
    expectNear(at(640, 700), {255, 0, 0, 220}, "side vinyl alpha 1 keeps the paint");
    expectNear(at(640, 900), {255, 0, 0, 220}, "top vinyl alpha 1 keeps the paint");
    expectNear(at(900, 100), {0, 0, 255, 220}, "template");
    expectNear(at(900, 900), {0, 0, 255, 220}, "template over the vinyls");

    // Only the asked slot is painted.
    readBack(2);
    EXPECT_EQ(at(200, 300), (Rgba{0, 0, 0, 0}));

    // Without vinyls the paint shows everywhere the template is clear.
    paintLivery(0, 0, 0.0f, 0.0f, 1.0f, 0, 0);
    readBack(0);
    for (int y : {100, 700, 1000}) {
        expectNear(at(200, y), {0, 0, 255, 100}, "left");
        expectNear(at(640, y), {0, 0, 255, 220}, "middle");
    }
}

TEST_F(LiveryTest, MissingImagesLeaveThePaintVisible) {
    freeTextureImage(TgaTable[3], true);   // the template of body model 0
    freeTextureImage(TgaTable[61], true);  // top vinyl 1
    paintLivery(1, 0, 1.0f, 1.0f, 0.0f, 1, 25);  // side vinyl 25 has no image
    readBack(1);
    expectNear(at(900, 100), {255, 255, 0, 220}, "where the template would be");
    expectNear(at(200, 900), {255, 255, 0, 100}, "where the top vinyl would be");
    expectNear(at(200, 700), {255, 255, 0, 100}, "side band");
}

TEST_F(LiveryTest, LeavesTheWindowViewportAndDepthTestAsTheGameWantsThem) {
    glViewport(0, 0, 17, 19);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 800, 0, 600, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(3, 4, 0);

    paintLivery(0, 0, 1.0f, 0.0f, 0.0f, 0, 0);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 320);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 2.0f / 800.0f);
    GLfloat modelview[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_FLOAT_EQ(modelview[12], 3.0f);

    // Slots outside 0..3 paint nothing and do not crash.
    paintLivery(4, 0, 1.0f, 0.0f, 0.0f, 0, 0);
    paintLivery(-1, 0, 1.0f, 0.0f, 0.0f, 0, 0);
}
