// The generator's drawing and file-writing building blocks.
#include "contact_sheet.h"
#include "font.h"
#include "image_writers.h"
#include "job_runner.h"
#include "noise.h"
#include "raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace {

using gen::Blend;
using gen::Color;
using gen::Raster;

float totalAlpha(const Raster& r) {
    double s = 0;
    for (const Color& c : r.pixels()) s += c.a;
    return static_cast<float>(s);
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

std::vector<uint8_t> readAll(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

std::filesystem::path scratch(const std::string& name) {
    auto p = std::filesystem::temp_directory_path() / ("nightrun-gen-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(p);
    std::filesystem::create_directories(p);
    return p;
}

TEST(Raster, ShapesCoverTheirAreaWithSoftEdges) {
    Raster r(64, 64, gen::palette::clear);
    r.fillCircle(32, 32, 10.3f, gen::palette::white);
    EXPECT_NEAR(totalAlpha(r), 3.14159f * 10.3f * 10.3f, 3.0f);
    EXPECT_FLOAT_EQ(r.at(32, 32).a, 1.0f);
    EXPECT_FLOAT_EQ(r.at(2, 2).a, 0.0f);
    // An edge pixel is partly covered.
    float edge = r.at(42, 32).a;
    EXPECT_GT(edge, 0.0f);
    EXPECT_LT(edge, 1.0f);

    Raster p(64, 64, gen::palette::clear);
    p.fillPolygon({{10, 10}, {50, 10}, {50, 30}, {10, 30}}, gen::palette::white);
    EXPECT_NEAR(totalAlpha(p), 800.0f, 1.0f);
    // Orientation does not matter.
    Raster q(64, 64, gen::palette::clear);
    q.fillPolygon({{10, 30}, {50, 30}, {50, 10}, {10, 10}}, gen::palette::white);
    EXPECT_EQ(totalAlpha(p), totalAlpha(q));
}

TEST(Raster, BlendModes) {
    Raster r(1, 1, Color{0.2f, 0.2f, 0.2f, 1.0f});
    r.blendPixel(0, 0, Color{1, 0, 0, 0.5f}, 1.0f, Blend::Over);
    EXPECT_NEAR(r.at(0, 0).r, 0.6f, 1e-5);
    EXPECT_NEAR(r.at(0, 0).g, 0.1f, 1e-5);
    EXPECT_FLOAT_EQ(r.at(0, 0).a, 1.0f);
    r.blendPixel(0, 0, Color{0, 0, 0, 1}, 0.25f, Blend::Erase);
    EXPECT_NEAR(r.at(0, 0).a, 0.75f, 1e-5);
    r.blendPixel(0, 0, Color{0.5f, 0.5f, 0.5f, 1}, 1.0f, Blend::Add);
    EXPECT_NEAR(r.at(0, 0).r, 1.1f, 1e-5);  // kept above 1 until written
    r.blendPixel(0, 0, Color{0, 0, 0, 0.0f}, 1.0f, Blend::SetAlpha);
    EXPECT_FLOAT_EQ(r.at(0, 0).a, 0.0f);
    EXPECT_NEAR(r.at(0, 0).r, 1.1f, 1e-5);
    // Off-raster pixels are ignored.
    r.blendPixel(5, -1, gen::palette::white, 1.0f);
}

TEST(Raster, BlurKeepsLightAndWrapsForTiles) {
    Raster r(32, 32, Color{1, 1, 1, 0});
    r.fillRect(8, 8, 24, 24, gen::palette::white);
    float before = totalAlpha(r);
    r.blur(4);
    EXPECT_NEAR(totalAlpha(r), before, before * 0.02f);
    EXPECT_GT(r.at(6, 16).a, 0.0f);

    // A wrapped blur of a stripe on the left edge reaches the right edge.
    Raster t(32, 8, Color{1, 1, 1, 0});
    t.fillRect(0, 0, 2, 8, gen::palette::white);
    t.blur(3, true);
    EXPECT_GT(t.at(31, 4).a, 0.05f);
}

TEST(Raster, ResizeAveragesAndRegionCopies) {
    Raster r(4, 4, gen::palette::black);
    r.fillRect(0, 0, 2, 4, gen::palette::white);
    Raster half = r.resized(2, 2);
    EXPECT_NEAR(half.at(0, 0).r, 1.0f, 1e-5);
    EXPECT_NEAR(half.at(1, 1).r, 0.0f, 1e-5);
    Raster one = r.resized(1, 1);
    EXPECT_NEAR(one.at(0, 0).r, 0.5f, 1e-5);
    Raster part = r.region(1, 1, 2, 2);
    EXPECT_NEAR(part.at(0, 0).r, 1.0f, 1e-5);
    EXPECT_NEAR(part.at(1, 0).r, 0.0f, 1e-5);
}

TEST(Noise, RepeatableAndTiling) {
    gen::Rng a(42), b(42), c(43);
    for (int i = 0; i < 10; ++i) {
        uint32_t va = a.next();
        EXPECT_EQ(va, b.next());
        EXPECT_NE(va, c.next());
    }
    gen::Rng d(7);
    for (int i = 0; i < 1000; ++i) {
        float u = d.uniform();
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
        int k = d.below(5);
        ASSERT_GE(k, 0);
        ASSERT_LT(k, 5);
    }
    for (float x : {0.3f, 1.7f, 5.2f})
        for (float y : {0.1f, 2.9f}) {
            EXPECT_NEAR(gen::valueNoise(x, y, 9, 4), gen::valueNoise(x + 4, y + 8, 9, 4), 1e-5);
            EXPECT_NEAR(gen::fbm(x, y, 4, 9, 4), gen::fbm(x + 4, y, 4, 9, 4), 1e-5);
            float v = gen::fbm(x, y, 5, 11);
            EXPECT_GE(v, 0.0f);
            EXPECT_LE(v, 1.0f);
        }
}

TEST(ImageWriters, TgaHeaderAndBottomRowFirst) {
    Raster r(2, 2, Color{0, 0, 0, 1});
    r.at(0, 0) = Color{1, 0, 0, 0.5f};  // top-left: red, half transparent
    r.at(1, 1) = Color{0, 0, 1, 1};     // bottom-right: blue
    std::vector<uint8_t> b = gen::encodeTga(r, true);
    ASSERT_EQ(b.size(), 18u + 16u);
    const uint8_t header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(header, header + 12, b.begin()));
    EXPECT_EQ(b[12] | (b[13] << 8), 2);
    EXPECT_EQ(b[14] | (b[15] << 8), 2);
    EXPECT_EQ(b[16], 32);
    // First stored row is the picture's bottom row: (0,1) black, (1,1) blue, BGRA.
    EXPECT_EQ(b[18 + 4], 255);  // blue channel of the bottom-right pixel
    // Last row is the top: red at the top-left with alpha 128.
    EXPECT_EQ(b[18 + 8 + 2], 255);
    EXPECT_EQ(b[18 + 8 + 3], 128);

    std::vector<uint8_t> rgb = gen::encodeTga(r, false);
    EXPECT_EQ(rgb.size(), 18u + 12u);
    EXPECT_EQ(rgb[16], 24);
}

TEST(ImageWriters, BmpRowsArePaddedAndBottomUp) {
    Raster r(3, 2, gen::palette::black);
    r.at(0, 1) = Color{0, 1, 0, 1};  // bottom-left green
    std::vector<uint8_t> b = gen::encodeBmp(r);
    ASSERT_EQ(b.size(), 54u + 2u * 12u);  // 9 bytes of pixels padded to 12 per row
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size());
    EXPECT_EQ(le32(b, 10), 54u);
    EXPECT_EQ(le32(b, 14), 40u);
    EXPECT_EQ(le32(b, 18), 3u);
    EXPECT_EQ(le32(b, 22), 2u);
    EXPECT_EQ(b[28], 24);
    EXPECT_EQ(le32(b, 30), 0u);
    EXPECT_EQ(b[54 + 1], 255);  // first stored pixel: bottom-left, green
    EXPECT_EQ(b[54 + 9], 0);    // padding
}

TEST(ImageWriters, ByteConversionClampsAndRounds) {
    EXPECT_EQ(gen::toByte(-0.5f), 0);
    EXPECT_EQ(gen::toByte(std::nanf("")), 0);
    EXPECT_EQ(gen::toByte(0.5f), 128);
    EXPECT_EQ(gen::toByte(1.5f), 255);
}

TEST(ImageWriters, FilesAreWrittenWholeOrReported) {
    auto dir = scratch("writers");
    Raster r(4, 4, gen::palette::white);
    EXPECT_TRUE(gen::writeTga(r, dir / "a" / "b.tga", true));
    EXPECT_EQ(readAll(dir / "a" / "b.tga"), gen::encodeTga(r, true));
    EXPECT_TRUE(gen::writePng(r, dir / "c.png"));
    std::vector<uint8_t> png = readAll(dir / "c.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_FALSE(std::filesystem::exists(dir / "c.png.tmp"));
    // A path below a file cannot be written.
    EXPECT_FALSE(gen::writeBmp(r, dir / "c.png" / "x.bmp"));
    EXPECT_THROW(gen::saveBmp(dir / "c.png", "x.bmp", r), std::runtime_error);
    std::filesystem::remove_all(dir);
}

TEST(Font, RendersCp1252Text) {
    gen::Font font(gen::dejavuFont("DejaVuSansMono-Bold.ttf"));
    gen::TextStyle style;
    style.size = 20;
    Raster t = font.render("Ab", style, 2);
    EXPECT_GT(totalAlpha(t), 20.0f);
    EXPECT_NEAR(font.measure("ABCD", style), 4 * font.measure("A", style), 0.01f);
    EXPECT_EQ(gen::cp1252ToUnicode(0x80), 0x20ACu);
    EXPECT_EQ(gen::cp1252ToUnicode(0x81), 0u);
    EXPECT_EQ(gen::cp1252ToUnicode('A'), static_cast<uint32_t>('A'));
    EXPECT_EQ(gen::decodeUtf8("\xC3\xA9x"), std::u32string(U"\u00E9x"));
    EXPECT_EQ(gen::decodeUtf8("\xFF"), std::u32string(U"\uFFFD"));
    EXPECT_THROW(gen::Font("/nonexistent/font.ttf"), std::runtime_error);
}

TEST(JobRunner, FailuresAreCollectedAndOtherJobsStillRun) {
    auto dir = scratch("runner");
    gen::JobList jobs;
    for (int i = 0; i < 6; ++i)
        jobs.push_back({"job" + std::to_string(i), [i](const std::filesystem::path& base) {
                            if (i == 2) throw std::runtime_error("broken");
                            gen::writeBytes(base / ("f" + std::to_string(i)), {static_cast<uint8_t>(i)});
                        }});
    auto failures = gen::runJobs(jobs, dir, 3);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].job, "job2");
    EXPECT_EQ(failures[0].message, "broken");
    for (int i = 0; i < 6; ++i) EXPECT_EQ(std::filesystem::exists(dir / ("f" + std::to_string(i))), i != 2);
    std::filesystem::remove_all(dir);
}

TEST(ContactSheet, OrderDoesNotDependOnArrival) {
    auto dir = scratch("sheet");
    Raster red(16, 16, Color{1, 0, 0, 1}), blue(32, 8, Color{0, 0, 1, 0.5f});
    gen::contactSheet::enable(true);
    gen::contactSheet::clear();
    gen::contactSheet::add("b", blue);
    gen::contactSheet::add("a", red);
    ASSERT_TRUE(gen::contactSheet::write(dir / "1.png"));
    gen::contactSheet::clear();
    gen::contactSheet::add("a", red);
    gen::contactSheet::add("b", blue);
    ASSERT_TRUE(gen::contactSheet::write(dir / "2.png"));
    EXPECT_EQ(readAll(dir / "1.png"), readAll(dir / "2.png"));
    EXPECT_FALSE(gen::contactSheet::write(dir / "3.png", "zzz"));  // nothing matches
    gen::contactSheet::clear();
    gen::contactSheet::enable(false);
    gen::contactSheet::add("c", red);
    EXPECT_EQ(gen::contactSheet::count(), 0);
    std::filesystem::remove_all(dir);
}

}  // namespace

namespace {

TEST(JobRunner, TwoJobsWritingOneFileIsAnError) {
    auto dir = scratch("twice");
    gen::JobList jobs;
    for (int i = 0; i < 2; ++i)
        jobs.push_back({"writer" + std::to_string(i), [](const std::filesystem::path& base) {
                            gen::writeBytes(base / "same.bin", {1, 2, 3});
                        }});
    auto failures = gen::runJobs(jobs, dir, 1);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].job, "writer1");
    EXPECT_NE(failures[0].message.find("same.bin"), std::string::npos);
    // Outside a run, and in the next run, writing it again is fine.
    EXPECT_TRUE(gen::writeBytes(dir / "same.bin", {4}));
    EXPECT_EQ(gen::runJobs({jobs[0]}, dir, 1).size(), 0u);
    std::filesystem::remove_all(dir);
}

}  // namespace

namespace {

TEST(Raster, ArcsCoverOnlyTheirAngles) {
    // y grows downwards, so angles grow clockwise on screen: 0 is +x, pi/2 is straight down.
    Raster r(64, 64, gen::palette::clear);
    r.strokeArc(32, 32, 20, 4, 0.0f, 1.5707963f, gen::palette::white);
    EXPECT_GT(r.at(52, 32).a, 0.5f);  // right
    EXPECT_GT(r.at(32, 52).a, 0.5f);  // below
    EXPECT_EQ(r.at(12, 32).a, 0.0f);  // left
    EXPECT_EQ(r.at(32, 12).a, 0.0f);  // above
    Raster e(64, 64, gen::palette::clear);
    e.fillEllipse(32, 32, 20, 8, gen::palette::white);
    EXPECT_GT(e.at(50, 32).a, 0.5f);
    EXPECT_EQ(e.at(32, 44).a, 0.0f);
}

TEST(Raster, GlowSurroundsALayerAndStaysUnderIt) {
    Raster r(48, 48, Color{1, 1, 1, 0});
    r.fillRect(20, 20, 28, 28, Color{1, 0.5f, 0, 1});
    r.glow(8, 1.5f);
    EXPECT_GT(r.at(16, 24).a, 0.05f);         // a halo outside the square
    EXPECT_FLOAT_EQ(r.at(24, 24).a, 1.0f);    // the square itself unchanged
    EXPECT_NEAR(r.at(24, 24).g, 0.5f, 1e-4);
    EXPECT_EQ(r.at(0, 0).a, 0.0f);
}

}  // namespace
