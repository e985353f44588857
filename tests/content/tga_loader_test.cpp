// TGA reading and upload: the strict header, BGR(A) to RGB(A) without a row
// flip, the filter modes, and agreement with the generator's TGA and BMP writers.
#include "content/bmp_loader.h"
#include "content/texture_upload.h"
#include "content/tga_loader.h"
#include "format_test_support.h"
#include "image_writers.h"

#include <gtest/gtest.h>

using namespace formats_test;

namespace {

// 3 x 2, bottom row first: blue-ish, green-ish, red-ish / grey ramp.
const std::vector<uint8_t> bgr = {10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9};
const std::vector<uint8_t> rgb = {30, 20, 10, 60, 50, 40, 90, 80, 70, 3, 2, 1, 6, 5, 4, 9, 8, 7};

}  // namespace

TEST(TgaRead, PixelsBecomeRgbOrRgbaInFileRowOrder) {
    TempDir dir("tga");
    const std::vector<uint8_t> twoPixels = {1, 2, 3, 4, 5, 6, 7, 8};
    const struct {
        int width, height, bits;
        std::vector<uint8_t> file, pixels;
    } cases[] = {
        {3, 2, 24, bgr, rgb},
        {2, 1, 32, twoPixels, {3, 2, 1, 4, 7, 6, 5, 8}},
        {2, 1, 16, twoPixels, {3, 2, 1, 4, 7, 6, 5, 8}},  // other depths are read as four bytes a pixel
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        ASSERT_TRUE(writeFileBytes(dir.file("a.tga"), tgaBytes(c.width, c.height, c.bits, c.file)));
        TgaPixels image;
        ASSERT_TRUE(readTga(dir.file("a.tga"), image));
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.components, c.bits == 24 ? 3 : 4);
        EXPECT_EQ(image.pixels, c.pixels);
    }
}

TEST(TgaRead, OnlyTheExactUncompressedHeaderIsAccepted) {
    TempDir dir("tga-bad");
    TgaPixels image;
    EXPECT_FALSE(readTga(dir.file("missing.tga"), image));

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> colourMapFields = tgaBytes(3, 2, 24, bgr);
    colourMapFields[7] = 24;
    std::vector<Case> cases = {
        {"run-length encoded (type 10)", tgaBytes(3, 2, 24, bgr, 10)},
        {"identification field", tgaBytes(3, 2, 24, bgr, 2, 4)},
        {"colour map", tgaBytes(3, 2, 24, bgr, 2, 0, 1)},
        {"colour-mapped (type 1)", tgaBytes(3, 2, 24, bgr, 1)},
        {"grey (type 3)", tgaBytes(3, 2, 24, bgr, 3)},
        {"colour map fields", colourMapFields},
        {"zero width", tgaBytes(0, 2, 24, {})},
        {"16 bits with two bytes a pixel", tgaBytes(2, 1, 16, {1, 2, 3, 4})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFileBytes(dir.file("bad.tga"), c.bytes));
        EXPECT_FALSE(readTga(dir.file("bad.tga"), image));
        EXPECT_TRUE(image.pixels.empty());
    }
}

TEST(TgaRead, EveryTruncationFails) {
    TempDir dir("tga-cut");
    const std::vector<uint8_t> good = tgaBytes(3, 2, 24, bgr);
    TgaPixels image;
    for (size_t length = 0; length < good.size(); ++length) {
        ASSERT_TRUE(writeFileBytes(dir.file("cut.tga"), std::vector<uint8_t>(good.begin(), good.begin() + long(length))));
        EXPECT_FALSE(readTga(dir.file("cut.tga"), image)) << length;
        EXPECT_TRUE(image.pixels.empty());
    }
}

TEST(TgaTexture, MaterialTexturesRepeatWithMipmaps) {
    ASSERT_TRUE(glContext());
    TempDir dir("tga-tex");
    EXPECT_EQ(loadTgaTexture(dir.file("missing.tga")), 0u);
    ASSERT_TRUE(writeFileBytes(dir.file("rgb.tga"), solidTga(4, 2, 9, 8, 7)));
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 8; ++i) rgba.insert(rgba.end(), {7, 8, 9, 128});
    ASSERT_TRUE(writeFileBytes(dir.file("rgba.tga"), tgaBytes(4, 2, 32, rgba)));

    uint32_t plain = loadTgaTexture(dir.file("rgb.tga"));
    uint32_t alpha = loadTgaTexture(dir.file("rgba.tga"));
    ASSERT_NE(plain, 0u);
    ASSERT_NE(alpha, 0u);
    EXPECT_EQ(levelParameter(plain, 0, GL_TEXTURE_ALPHA_SIZE), 0);
    EXPECT_GT(levelParameter(alpha, 0, GL_TEXTURE_ALPHA_SIZE), 0);
    for (uint32_t t : {plain, alpha}) {
        EXPECT_EQ(texParameter(t, GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(texParameter(t, GL_TEXTURE_WRAP_T), GL_REPEAT);
        EXPECT_TRUE(usesMipmaps(t));
        expectComplete(t);
    }
    EXPECT_EQ(texturePixels(alpha, 4)[3], 128);
    EXPECT_EQ(texturePixels(plain, 3)[0], 9);
    uint32_t names[2] = {plain, alpha};
    glDeleteTextures(2, names);
}

TEST(TgaTexture, TableRecordsKeepPixelsAndOnlyModeZeroFiltersWithMipmaps) {
    ASSERT_TRUE(glContext());
    TempDir dir("tga-image");
    ASSERT_TRUE(writeFileBytes(dir.file("a.tga"), tgaBytes(3, 2, 24, bgr)));
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(mode);
        TextureImage image;
        ASSERT_TRUE(loadTgaImage(image, dir.file("a.tga"), mode));
        EXPECT_EQ(image.width, 3);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(image.components, 3);
        EXPECT_EQ(image.pixels, rgb);
        EXPECT_EQ(usesMipmaps(image.texture), mode == 0);
        EXPECT_GT(levelParameter(image.texture, 1, GL_TEXTURE_WIDTH), 0);  // mipmaps in every mode
        const uint32_t name = image.texture;
        freeTextureImage(image, true);
        EXPECT_FALSE(glIsTexture(name));
        EXPECT_EQ(image.texture, 0u);
        EXPECT_TRUE(image.pixels.empty());
    }
    // A failed load leaves the record empty, also when it held an image.
    TextureImage image;
    ASSERT_TRUE(loadTgaImage(image, dir.file("a.tga"), 0));
    const uint32_t old = image.texture;
    EXPECT_FALSE(loadTgaImage(image, dir.file("missing.tga"), 0));
    EXPECT_EQ(image.texture, 0u);
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_FALSE(glIsTexture(old));
}

TEST(TextureUpload, RowsNeedNoAlignment) {
    ASSERT_TRUE(glContext());
    // 3 x 2 RGB: 9-byte rows, which GL's default unpack alignment would misread.
    TextureParams params;
    params.minFilter = params.magFilter = GL_NEAREST;
    params.mipmaps = false;
    uint32_t texture = createTexture(rgb.data(), 3, 2, 3, params);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(texturePixels(texture, 3), rgb);
    EXPECT_EQ(levelParameter(texture, 1, GL_TEXTURE_WIDTH), 0);
    deleteTexture(texture);
    EXPECT_EQ(texture, 0u);
    EXPECT_EQ(createTexture(rgb.data(), 0, 2, 3, params), 0u);
}

TEST(GeneratedImages, TheBmpReaderReadsWhatTheGeneratorWrites) {
    TempDir dir("gen-images");
    // Row 0 of a raster is its top; the file stores the bottom row first.
    gen::Raster raster(2, 2, gen::Color{1, 0, 0, 1});
    raster.at(0, 1) = gen::Color{0, 0, 1, 0};
    raster.at(1, 1) = gen::Color{0, 1, 0, 1};
    ASSERT_TRUE(gen::writeBmp(raster, dir.file("gen.bmp")));
    platform::BmpImage bmp;
    ASSERT_EQ(readBmpFile(dir.file("gen.bmp"), bmp), platform::BmpError::None);
    EXPECT_EQ(bmp.rgb, (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 0, 0}));
}
