// BMP decoding: every layout a Windows bitmap may use decodes to the same
// bottom-up RGB pixels; cut files fail cleanly (random damage is the fuzz
// target's); the loader reports undecodable files in a message box and stays
// silent about missing ones.
#include "content/bmp_loader.h"
#include "format_test_support.h"
#include "platform/bmp_decode.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace formats_test;

namespace {

constexpr int W = 7;  // odd, so rows need padding in every depth
constexpr int H = 5;

// The reference picture: eight colours (channels 0 or 255, exact in every
// depth) in runs of two, shifted by one per row; 1-bit files use two colours.
int colourIndex(int x, int rowFromTop, int bits) {
    int index = (x / 2 + rowFromTop) % 8;
    return bits == 1 ? index & 1 : index;
}
uint8_t channel(int index, int c) { return (index >> c) & 1 ? 255 : 0; }  // c: 0 R, 1 G, 2 B

std::vector<uint8_t> expectedRgb(int bits) {
    std::vector<uint8_t> out;
    for (int row = 0; row < H; ++row)  // bottom row first
        for (int x = 0; x < W; ++x)
            for (int c = 0; c < 3; ++c) out.push_back(channel(colourIndex(x, H - 1 - row, bits), c));
    return out;
}

enum class Header { Core, Info, V4, V5 };
enum Compression : uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, Bitfields = 3 };

struct Layout {
    const char* name;
    Header header;
    int bits;
    Compression compression;
    bool topDown = false;
    uint32_t masks[4] = {};  // R, G, B, A for bit fields (and the v4/v5 mask fields)
};

class Bytes {
public:
    std::vector<uint8_t> data;
    void u8(uint32_t v) { data.push_back(uint8_t(v)); }
    void u16(uint32_t v) { u8(v); u8(v >> 8); }
    void u32(uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
    void put32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) data[at + size_t(i)] = uint8_t(v >> (8 * i));
    }
};

// Packs a value under a mask (the mask's width decides the precision).
uint32_t packMasked(uint8_t value, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    uint32_t maxValue = mask >> shift;
    return (uint32_t(value) * maxValue / 255) << shift;
}

void rowPixels(Bytes& out, const Layout& l, int rowFromTop) {
    const size_t start = out.data.size();
    if (l.bits <= 8) {
        int acc = 0, used = 0;
        for (int x = 0; x < W; ++x) {
            acc = acc << l.bits | colourIndex(x, rowFromTop, l.bits);
            used += l.bits;
            if (used == 8) {
                out.u8(uint32_t(acc));
                acc = used = 0;
            }
        }
        if (used) out.u8(uint32_t(acc << (8 - used)));
    } else {
        // 16-bit default 5-5-5, 32-bit default 8-8-8 with an unused byte.
        uint32_t rMask = l.masks[0], gMask = l.masks[1], bMask = l.masks[2], aMask = l.masks[3];
        if (l.compression == Rgb && l.bits == 16) rMask = 0x7C00, gMask = 0x03E0, bMask = 0x001F, aMask = 0;
        if (l.compression == Rgb && l.bits == 32) rMask = 0xFF0000, gMask = 0xFF00, bMask = 0xFF, aMask = 0;
        for (int x = 0; x < W; ++x) {
            int index = colourIndex(x, rowFromTop, l.bits);
            if (l.bits == 24) {
                out.u8(channel(index, 2));
                out.u8(channel(index, 1));
                out.u8(channel(index, 0));
                continue;
            }
            // Alpha varies (0 included) and must not disturb the colour.
            uint8_t alpha = uint8_t((x * 40) & 0xFF);
            uint32_t v = packMasked(channel(index, 0), rMask) | packMasked(channel(index, 1), gMask) |
                         packMasked(channel(index, 2), bMask) | packMasked(alpha, aMask);
            if (l.bits == 16) out.u16(v); else out.u32(v);
        }
    }
    while ((out.data.size() - start) % 4) out.u8(0);
}

// Run-length rows: even rows as runs, odd rows in absolute mode.
void rleRow(Bytes& out, const Layout& l, int rowFromTop) {
    const bool four = l.compression == Rle4;
    if (rowFromTop % 2 == 0) {
        for (int x = 0; x < W;) {
            int index = colourIndex(x, rowFromTop, l.bits);
            int run = 1;
            while (x + run < W && colourIndex(x + run, rowFromTop, l.bits) == index) ++run;
            out.u8(uint32_t(run));
            out.u8(four ? uint32_t(index << 4 | index) : uint32_t(index));
            x += run;
        }
    } else {
        out.u8(0);
        out.u8(W);
        size_t bytes = 0;
        if (four) {
            for (int x = 0; x < W; x += 2) {
                int hi = colourIndex(x, rowFromTop, l.bits);
                int lo = x + 1 < W ? colourIndex(x + 1, rowFromTop, l.bits) : 0;
                out.u8(uint32_t(hi << 4 | lo));
                ++bytes;
            }
        } else {
            for (int x = 0; x < W; ++x, ++bytes) out.u8(uint32_t(colourIndex(x, rowFromTop, l.bits)));
        }
        if (bytes % 2) out.u8(0);  // absolute runs end on a word boundary
    }
    out.u8(0);
    out.u8(0);  // end of line
}

std::vector<uint8_t> buildBmp(const Layout& l) {
    Bytes out;
    out.u8('B');
    out.u8('M');
    out.u32(0);  // file size, patched below
    out.u32(0);
    out.u32(0);  // pixel offset, patched below

    const uint32_t headerSize = l.header == Header::Core ? 12 : l.header == Header::Info ? 40
                              : l.header == Header::V4 ? 108 : 124;
    const int paletteSize = l.bits <= 8 ? 1 << l.bits : 0;
    out.u32(headerSize);
    if (l.header == Header::Core) {
        out.u16(W);
        out.u16(H);
        out.u16(1);
        out.u16(uint32_t(l.bits));
    } else {
        out.u32(W);
        out.u32(uint32_t(l.topDown ? -H : H));
        out.u16(1);
        out.u16(uint32_t(l.bits));
        out.u32(l.compression);
        out.u32(0);  // image size (may be 0 for uncompressed)
        out.u32(2835);
        out.u32(2835);
        out.u32(uint32_t(paletteSize));
        out.u32(0);
        if (l.header != Header::Info) {
            for (uint32_t m : l.masks) out.u32(m);
            out.u32(0x73524742);  // 'sRGB'
            for (int i = 0; i < 9 + 3; ++i) out.u32(0);  // end points, gamma
            if (l.header == Header::V5) {
                out.u32(4);  // rendering intent
                out.u32(0);
                out.u32(0);
                out.u32(0);
            }
        } else if (l.compression == Bitfields) {
            for (int i = 0; i < 3; ++i) out.u32(l.masks[i]);
        }
    }
    for (int i = 0; i < paletteSize; ++i) {
        out.u8(channel(i, 2));
        out.u8(channel(i, 1));
        out.u8(channel(i, 0));
        if (l.header != Header::Core) out.u8(0);
    }
    out.put32(10, uint32_t(out.data.size()));

    for (int r = 0; r < H; ++r) {
        const int rowFromTop = l.topDown ? r : H - 1 - r;
        if (l.compression == Rle4 || l.compression == Rle8) rleRow(out, l, rowFromTop);
        else rowPixels(out, l, rowFromTop);
    }
    if (l.compression == Rle4 || l.compression == Rle8) {
        out.u8(0);
        out.u8(1);  // end of bitmap
    }
    out.put32(2, uint32_t(out.data.size()));
    return out.data;
}

const Layout layouts[] = {
    {"1-bit", Header::Info, 1, Rgb},
    {"4-bit", Header::Info, 4, Rgb},
    {"8-bit", Header::Info, 8, Rgb},
    {"16-bit 5-5-5", Header::Info, 16, Rgb},
    {"24-bit", Header::Info, 24, Rgb},
    {"32-bit", Header::Info, 32, Rgb},
    {"RLE4", Header::Info, 4, Rle4},
    {"RLE8", Header::Info, 8, Rle8},
    {"16-bit 5-6-5 bit fields", Header::Info, 16, Bitfields, false, {0xF800, 0x07E0, 0x001F, 0}},
    {"32-bit bit fields, red low", Header::Info, 32, Bitfields, false, {0xFF, 0xFF00, 0xFF0000, 0}},
    {"core header 24-bit", Header::Core, 24, Rgb},
    {"core header 8-bit", Header::Core, 8, Rgb},
    {"core header 1-bit", Header::Core, 1, Rgb},
    {"v4 header 16-bit bit fields", Header::V4, 16, Bitfields, false, {0xF800, 0x07E0, 0x001F, 0}},
    {"v5 header 32-bit with alpha", Header::V5, 32, Bitfields, false,
     {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
    {"v5 header 24-bit", Header::V5, 24, Rgb},
    {"top-down 24-bit", Header::Info, 24, Rgb, true},
    {"top-down 8-bit", Header::Info, 8, Rgb, true},
};

}  // namespace

TEST(BmpDecode, EveryLayoutGivesTheSamePixels) {
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const std::vector<uint8_t> bytes = buildBmp(layout);
        platform::BmpImage image;
        ASSERT_EQ(platform::decodeBmpBytes(bytes.data(), bytes.size(), image), platform::BmpError::None);
        EXPECT_EQ(image.width, W);
        EXPECT_EQ(image.height, H);
        EXPECT_EQ(image.rgb, expectedRgb(layout.bits));
    }
}

TEST(BmpDecode, TruncatedFilesFailWithoutReadingPastTheEnd) {
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const std::vector<uint8_t> bytes = buildBmp(layout);
        for (size_t length = 0; length < bytes.size(); ++length) {
            // An exact-size copy, so a sanitizer build sees any read past it.
            std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(length));
            platform::BmpImage image;
            platform::BmpError error = platform::decodeBmpBytes(cut.data(), cut.size(), image);
            if (error != platform::BmpError::None) {
                EXPECT_TRUE(image.rgb.empty());
                continue;
            }
            // Only a missing tail of row padding may still decode.
            EXPECT_GE(length + 4, bytes.size()) << "decoded at length " << length;
            EXPECT_EQ(image.rgb.size(), size_t(image.width) * size_t(image.height) * 3);
        }
    }
}

TEST(BmpDecode, HugeDimensionsAreRejectedBeforeAllocating) {
    std::vector<uint8_t> bytes = buildBmp(layouts[7]);  // RLE8: the data size says nothing
    // 4000 x 4000 is within the size limits, but far more than runs in this few bytes can cover.
    for (uint32_t side : {4000u, 100000u, 0x7FFFFFFFu, 0x80000000u}) {
        std::vector<uint8_t> big = bytes;
        for (int i = 0; i < 4; ++i) big[18 + size_t(i)] = big[22 + size_t(i)] = uint8_t(side >> (8 * i));
        platform::BmpImage image;
        EXPECT_EQ(platform::decodeBmpBytes(big.data(), big.size(), image), platform::BmpError::UnknownFormat);
    }
}

TEST(BmpLoader, TexturesFromBmpAndTheMessagesOfFilesThatFail) {
    ASSERT_TRUE(glContext());
    platform::TestBackend& backend = testPlatform();
    backend.messageBoxes.clear();
    TempDir dir("bmp-tex");
    // A missing file is silently texture 0; one that is not a bitmap says so.
    EXPECT_EQ(loadBmpTexture(dir.file("missing.bmp")), 0u);
    EXPECT_TRUE(backend.messageBoxes.empty());
    ASSERT_TRUE(writeFileBytes(dir.file("text.bmp"), solidTga(4, 4, 1, 2, 3)));
    EXPECT_EQ(loadBmpTexture(dir.file("text.bmp")), 0u);
    // Decoding a file that is gone (after the test that it exists) names it.
    platform::BmpImage image;
    EXPECT_FALSE(decodeBmp(dir.file("gone.bmp"), image));
    ASSERT_EQ(backend.messageBoxes.size(), 2u);
    EXPECT_EQ(backend.messageBoxes[0].text, "Unknown DIB file format.");
    EXPECT_EQ(backend.messageBoxes[1].text, "Failed to open DIB file " + dir.file("gone.bmp") + ".\n");
    for (const auto& box : backend.messageBoxes) EXPECT_EQ(box.caption, "Error");

    ASSERT_TRUE(writeFileBytes(dir.file("small.bmp"), solidBmp(4, 4, 200, 100, 50)));
    uint32_t texture = loadBmpTexture(dir.file("small.bmp"));
    ASSERT_NE(texture, 0u);
    EXPECT_TRUE(usesMipmaps(texture));
    expectComplete(texture);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_ALPHA_SIZE), 0);
    const std::vector<uint8_t> pixels = texturePixels(texture, 3);
    ASSERT_EQ(pixels.size(), 48u);
    EXPECT_EQ(std::vector<uint8_t>(pixels.begin(), pixels.begin() + 3), (std::vector<uint8_t>{200, 100, 50}));
    GLuint name = texture;
    glDeleteTextures(1, &name);
}
