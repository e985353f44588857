// Every reader of a file the game or the generator's track checker reads, given
// what a damaged or hostile base/ may hold: a folder, a pipe or an endless
// device where the file should be, a file far longer than its format, and
// headers that claim far more than the file holds. Each reader fails cleanly,
// never waits, never reads past what its format allows and never allocates for
// what the file does not hold.

// The replacement operator new and delete below are a matched malloc/free pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
#include "app/file_io.h"
#include "app/settings.h"
#include "audio/sound_device.h"
#include "cities/ai_path_file.h"
#include "content/bmp_loader.h"
#include "content/sbm_model.h"
#include "content/tga_loader.h"
#include "frontend/career_state.h"
#include "race/ai_path.h"
#include "render/particles.h"
#include "render/shader_programs.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The largest single allocation while `trackAllocations` is set.
std::atomic<bool> trackAllocations{false};
std::atomic<size_t> largestAllocation{0};

}  // namespace

void* operator new(size_t size) {
    if (trackAllocations && size > largestAllocation) largestAllocation = size;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

namespace fs = std::filesystem;

struct Reader {
    const char* name;
    std::function<bool(const std::string&)> read;
    size_t mostRead;                 // the most of a file the format allows it to read
    std::vector<uint8_t> bigClaim;   // a short file whose header claims far more (empty: none)
};

std::vector<uint8_t> le32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

std::vector<Reader> readers() {
    std::vector<uint8_t> tga(18, 0);
    tga[2] = 2;
    tga[13] = 0x20;  // 8192 x 4096 of 32 bits: 128 MB that the file does not hold
    tga[15] = 0x10;
    tga[16] = 32;
    std::vector<uint8_t> sbm = {'M', 'S', '3', 'D', '0', '0', '0', '0', '0', '0', 4, 0, 0, 0, 0xFF, 0xFF};
    std::vector<uint8_t> bmp = test_support::solidBmp(2, 2, 1, 2, 3);
    bmp.resize(54);
    bmp[18] = bmp[22] = 0;  // 16384 x 16384, 24 bits
    bmp[19] = bmp[23] = 0x40;
    std::vector<uint8_t> line = le32(2047);
    std::vector<uint8_t> effect(effectFileBytes, 0);
    effect[0] = effect[1] = effect[2] = 0xFF;  // 16 million particles
    return {
        {"settings", [](const std::string& p) { GameSettings s; return loadSettings(s, p) == ReadStatus::Ok; }, 76, {}},
        {"career", [](const std::string& p) { CareerState c; return readCareer(c, p) == ReadStatus::Ok; }, 1408, {}},
        {"model", [](const std::string& p) { SbmModel m; return m.load(p); }, SbmModel::MaxFileBytes, sbm},
        {"tga", [](const std::string& p) { TgaPixels t; return readTga(p, t); }, 18, tga},
        {"bmp", [](const std::string& p) { platform::BmpImage b; return readBmpFile(p, b) == platform::BmpError::None; },
         (size_t(1) << 28) + (size_t(1) << 16), bmp},
        {"shader", [](const std::string& p) { return readShaderSource(p).has_value(); }, size_t(1) << 20, {}},
        {"driving line", [](const std::string& p) { return loadAiPathFile(p); }, 4 + 16 * size_t(aiPathCapacity), line},
        {"checker's driving line",
         [](const std::string& p) { std::vector<gen::cities::PathPoint> points; return gen::cities::readAiPath(p, points); },
         4 + 16 * size_t(gen::cities::kMaxPathPoints) + 1, line},
        {"particle effect", [](const std::string& p) { ParticleEmitter e; loadParticleEffect(e, p); return e.particleCount > 0; },
         effectFileBytes, effect},
        {"sound", [](const std::string& p) { SoundEffect e; return e.load(p, false).empty(); }, maxSoundFileBytes, {}},
    };
}

// Runs one read, returning its result and the largest allocation it made.
bool trackedRead(const Reader& reader, const std::string& path, size_t& largest) {
    largestAllocation = 0;
    trackAllocations = true;
    const bool ok = reader.read(path);
    trackAllocations = false;
    largest = largestAllocation;
    return ok;
}

}  // namespace

TEST(HostileFiles, EveryReaderRefusesWhatIsNotAFileWithoutWaiting) {
    TempDir dir("hostile");
    fs::create_directory(dir.file("folder"));
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir.file("endless"));
    // A stuck reader ends the test here instead of at the suite's time limit.
    alarm(60);
    for (const Reader& reader : readers()) {
        for (const char* name : {"folder", "pipe", "endless"}) {
            SCOPED_TRACE(std::string(reader.name) + " from " + name);
            size_t largest = 0;
            EXPECT_FALSE(trackedRead(reader, dir.file(name), largest));
            EXPECT_LT(largest, size_t(1) << 16);
        }
    }
    alarm(0);
}

TEST(HostileFiles, EveryReaderReadsNoMoreThanItsFormatAllows) {
    TempDir dir("hostile");
    // Far longer than any format, and sparse: it takes no room on the disk.
    const std::string longFile = dir.file("long");
    {
        std::ofstream(longFile).put('\0');
    }
    ASSERT_EQ(truncate(longFile.c_str(), off_t(300) << 20), 0);
    for (const Reader& reader : readers()) {
        SCOPED_TRACE(reader.name);
        size_t largest = 0;
        trackedRead(reader, longFile, largest);  // some formats read a long run of zeros as valid
        EXPECT_LE(largest, reader.mostRead + 4096);
    }
    // Headers that claim far more than their short file holds are refused before allocating for it.
    for (const Reader& reader : readers()) {
        if (reader.bigClaim.empty()) continue;
        SCOPED_TRACE(reader.name);
        ASSERT_TRUE(test_support::writeFileBytes(dir.file("claim"), reader.bigClaim));
        size_t largest = 0;
        EXPECT_FALSE(trackedRead(reader, dir.file("claim"), largest));
        EXPECT_LT(largest, size_t(1) << 16);
    }
}

TEST(HostileFiles, AModelOrImageThatCannotBeUsedIsNamedInOneLine) {
    TempDir dir("named");
    ASSERT_TRUE(test_support::writeFileBytes(dir.file("bad.sbm"), {'M', 'S', '3', 'D'}));
    ASSERT_TRUE(test_support::writeFileBytes(dir.file("bad.tga"), std::vector<uint8_t>(18, 0)));
    const auto model = [](const std::string& p) { SbmModel m; return m.load(p); };
    const auto image = [](const std::string& p) { TgaPixels t; return readTga(p, t); };
    const struct {
        std::function<bool(const std::string&)> read;
        std::string path, said;
    } cases[] = {{model, dir.file("none.sbm"), "is missing"}, {model, dir.file("bad.sbm"), "is damaged"},
                 {image, dir.file("none.tga"), "is missing"}, {image, dir.file("bad.tga"), "is damaged"}};
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(c.read(c.path));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.path + " " + c.said + "; it is left out\n"), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}
