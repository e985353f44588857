// The generator's building blocks that its output cannot show: whole-or-nothing
// file writing, text, and the job runner's failures. What the drawing primitives
// make is checked in the generated images (art conventions, generated content),
// and the file formats against the game's loaders (tests/content).
#include "font.h"
#include "image_writers.h"
#include "job_runner.h"
#include "raster.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

using gen::Raster;

std::vector<uint8_t> readAll(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

TEST(ImageWriters, FilesAreWrittenWholeOrReported) {
    TempDir scratch("writers");
    const std::filesystem::path& dir = scratch.path();
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
}

TEST(Font, RendersCp1252Text) {
    gen::Font font(gen::dejavuFont("DejaVuSansMono-Bold.ttf"));
    gen::TextStyle style;
    style.size = 20;
    Raster t = font.render("Ab", style, 2);
    float ink = 0.0f;
    for (const gen::Color& c : t.pixels()) ink += c.a;
    EXPECT_GT(ink, 20.0f);
    EXPECT_NEAR(font.measure("ABCD", style), 4 * font.measure("A", style), 0.01f);
    EXPECT_EQ(gen::cp1252ToUnicode(0x80), 0x20ACu);
    EXPECT_EQ(gen::cp1252ToUnicode(0x81), 0u);
    EXPECT_EQ(gen::cp1252ToUnicode('A'), static_cast<uint32_t>('A'));
    EXPECT_EQ(gen::decodeUtf8("\xC3\xA9x"), std::u32string(U"\u00E9x"));
    EXPECT_EQ(gen::decodeUtf8("\xFF"), std::u32string(U"\uFFFD"));
    EXPECT_THROW(gen::Font("/nonexistent/font.ttf"), std::runtime_error);
}

TEST(JobRunner, FailuresAreCollectedAndOtherJobsStillRun) {
    TempDir scratch("runner");
    const std::filesystem::path& dir = scratch.path();
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
}

TEST(JobRunner, TwoJobsWritingOneFileIsAnError) {
    TempDir scratch("twice");
    const std::filesystem::path& dir = scratch.path();
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
}

}  // namespace
