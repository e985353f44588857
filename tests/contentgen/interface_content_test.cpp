// The generated interface content: every file the game loads by a fixed name,
// read with the game's loaders in the formats it expects, and the conventions
// shared with the game code.
#include "content/bmp_loader.h"
#include "content/tga_loader.h"
#include "render/particles.h"
#include "interface/interface_art.h"
#include "job_runner.h"
#include "jobs.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path kBase = fs::path(NIGHTRUN_RUN_DIR) / "base";

std::vector<uint8_t> readAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

std::string tex(int n, const char* ext) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "tex%02d.%s", n, ext);
    return buf;
}

bool powerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// A generated BMP through the game's own reader (24-bit by the content guide).
platform::BmpImage bmp(const fs::path& p) {
    platform::BmpImage image;
    EXPECT_EQ(readBmpFile(p.string(), image), platform::BmpError::None) << p;
    EXPECT_EQ(readAll(p)[28], 24) << p;
    return image;
}

TgaPixels tga(const fs::path& p) {
    TgaPixels img;
    EXPECT_TRUE(readTga(p.string(), img)) << p;
    return img;
}

// Alpha of picture pixel (x, y), y counted from the top.
uint8_t alphaAt(const TgaPixels& img, int x, int y) {
    return img.pixels[(static_cast<size_t>(img.height - 1 - y) * img.width + x) * 4 + 3];
}

TEST(GeneratedContent, EveryTableEntryExistsInTheRightFormat) {
    for (int n = 0; n <= 80; ++n) {
        TgaPixels img = tga(kBase / "textures" / tex(n, "tga"));
        EXPECT_TRUE(powerOfTwo(img.width) && powerOfTwo(img.height)) << n;
        EXPECT_TRUE(img.components == 3 || img.components == 4) << n;
    }
    for (int n = 0; n <= 50; ++n) {
        platform::BmpImage b = bmp(kBase / "textures" / tex(n, "bmp"));
        EXPECT_TRUE(powerOfTwo(b.width) && powerOfTwo(b.height)) << n;
    }
}

TEST(GeneratedContent, VinylsCarryInvertedAlpha) {
    // Side designs keep off the upper quarter, which lands on the edge of the top surfaces.
    for (int n = 41; n <= 60; ++n) {
        TgaPixels v = tga(kBase / "textures" / tex(n, "tga"));
        for (int y = 0; y < 60; y += 4)
            for (int x = 0; x < v.width; x += 16) ASSERT_EQ(alphaAt(v, x, y), 255) << n << " " << x << "," << y;
    }
    // Every vinyl shows something and leaves paint somewhere.
    for (int n = 41; n <= 80; ++n) {
        TgaPixels v = tga(kBase / "textures" / tex(n, "tga"));
        ASSERT_EQ(v.components, 4) << n;
        size_t shown = 0, paint = 0;
        for (size_t i = 3; i < v.pixels.size(); i += 4) {
            shown += v.pixels[i] == 0;
            paint += v.pixels[i] == 255;
        }
        EXPECT_GT(shown, v.pixels.size() / 4 / 50) << n;
        EXPECT_GT(paint, v.pixels.size() / 4 / 10) << n;
    }
    // The empty vinyl leaves the paint everywhere.
    TgaPixels empty = tga(kBase / "textures/tex40.tga");
    for (size_t i = 3; i < empty.pixels.size(); i += 4) ASSERT_EQ(empty.pixels[i], 255);
}

TEST(GeneratedContent, FontHasNarrowCentredGlyphsInEveryPrintableCell) {
    TgaPixels font = tga(kBase / "textures/tex01.tga");
    ASSERT_EQ(font.components, 4);
    ASSERT_EQ(font.width, font.height);
    const int cell = font.width / 16;
    const float unit = cell / 19.0f;  // the small font draws a cell as 19 units and advances 10
    for (int code = 0; code < 256; ++code) {
        int x0 = (code % 16) * cell, y0 = (code / 16) * cell;
        int minX = cell, maxX = -1, ink = 0;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x)
                if (alphaAt(font, x0 + x, y0 + y) > 40) {
                    ++ink;
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                }
        if (code <= 32) {
            EXPECT_EQ(ink, 0) << code;
        } else if (gen::ui::fontCodeHasGlyph(code)) {
            EXPECT_GT(ink, 0) << code;
            if (ink > 0) {
                EXPECT_LE(maxX - minX + 1, 10.5f * unit) << code;  // fits the advance
                float centre = (minX + maxX + 1) * 0.5f;
                EXPECT_NEAR(centre, cell * 0.5f, 3.0f * unit) << code;
            }
        }
    }
    // Glyph 'M' is white.
    int mx = ('M' % 16) * cell + cell / 2, my = ('M' / 16) * cell + cell / 2;
    size_t at = (static_cast<size_t>(font.height - 1 - my) * font.width + mx) * 4;
    EXPECT_EQ(font.pixels[at], 255);
}

TEST(GeneratedContent, RevDialScaleMatchesTheNeedle) {
    // Needle angle 0 at 1000 rpm, 0.042 degrees per rpm, from the lower left, clockwise.
    TgaPixels dial = tga(kBase / "textures/tex36.tga");
    ASSERT_EQ(dial.width, dial.height);
    const float k = dial.width / 176.0f, c = dial.width * 0.5f;
    auto pixel = [&](float rpm, float radiusUnits) {
        float a = (135.0f + (rpm - 1000.0f) * 0.042f) * 3.14159265f / 180.0f;
        int x = static_cast<int>(c + std::cos(a) * radiusUnits * k), y = static_cast<int>(c + std::sin(a) * radiusUnits * k);
        const uint8_t* p = &dial.pixels[(static_cast<size_t>(dial.height - 1 - y) * dial.width + x) * 4];
        return std::array<int, 3>{p[0], p[1], p[2]};
    };
    // The tick at 4000 rpm (a major one) is bright; halfway between ticks is dark.
    auto tick = pixel(4000, 72);
    EXPECT_GT(tick[0] + tick[1] + tick[2], 500);
    auto gap = pixel(4125, 72);
    EXPECT_LT(gap[0] + gap[1] + gap[2], 300);
    // The nitro bar, drawn first, shows through the middle: (648, 95)..(713, 127) around
    // the centre (680, 110).
    for (int dx : {-30, 0, 30})
        for (int dy : {-13, 0, 15})
            EXPECT_EQ(alphaAt(dial, static_cast<int>(c + dx * k), static_cast<int>(c - dy * k)), 0) << dx << "," << dy;
}

TEST(GeneratedContent, MiniMapMaskOpensAWindowAroundThePlayer) {
    TgaPixels mask = tga(kBase / "textures/tex39.tga");
    ASSERT_EQ(mask.components, 4);
    int w = mask.width, h = mask.height;
    EXPECT_EQ(alphaAt(mask, w / 4, h / 4), 0);  // the window reaches well away from the player's arrow
    for (int i = 0; i < w; i += 7) {
        EXPECT_EQ(alphaAt(mask, i, 0), 255);
        EXPECT_EQ(alphaAt(mask, i, h - 1), 255);
    }
    // The quad starts 10 units left of the screen: the window begins inside the visible part.
    for (int y = 0; y < h; y += 5) EXPECT_EQ(alphaAt(mask, w * 10 / 256, y), 255) << y;
}

TEST(GeneratedContent, EffectsPassTheGamesReaderAndAlwaysFade) {
    for (const char* name : {"firepipe.eff", "smokepipe.eff", "dust.eff", "checkpointlight.eff"}) {
        const std::vector<uint8_t> bytes = readAll(kBase / "effects" / name);
        ParticleEmitter e;
        std::string why;
        EXPECT_TRUE(parseParticleEffect(bytes.data(), bytes.size(), e, &why)) << name << ": " << why;
        EXPECT_GT(e.particleCount, 0) << name;
        EXPECT_GT(e.fadeDivisor, 0.0f) << name;
        EXPECT_GT(e.fadeBase, 0.0f) << name;
    }
}

TEST(GeneratorJobs, RerunOnOneThreadTheyWriteTheBuildsBytes) {
    // The build ran the generator as its own process on every hardware thread; the
    // interface jobs, a body and the city cars again here on one thread give the same bytes.
    gen::JobList jobs, cars;
    gen::addInterfaceJobs(jobs);
    gen::addCarJobs(cars);
    for (const gen::Job& j : cars)
        if (j.name == "cars/body3" || j.name == "cars/city") jobs.push_back(j);
    TempDir root("determinism");
    ASSERT_TRUE(gen::runJobs(jobs, root.path(), 1).empty());
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root.path())) {
        if (!entry.is_regular_file()) continue;
        ++files;
        fs::path rel = fs::relative(entry.path(), root.path());
        ASSERT_TRUE(fs::exists(kBase / rel)) << rel;
        EXPECT_TRUE(readAll(entry.path()) == readAll(kBase / rel)) << rel;
    }
    EXPECT_GT(files, jobs.size());
}

}  // namespace
