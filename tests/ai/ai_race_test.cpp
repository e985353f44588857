// Computer drivers on a generated circuit, and slots that cannot be raced
// because their driving line is missing or damaged.
#include "race/race_test_support.h"

#include "content/track_loading.h"
#include "race/ai_driver.h"
#include "support/run_dir.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>

using namespace race_test;
namespace fs = std::filesystem;

namespace {

class ComputerRace : public RaceFixture {
protected:
    void TearDown() override {
        leaveRace();
        RaceFixture::TearDown();
    }
    // Loads a slot headless from the working directory's base/.
    bool loadHeadless(int slot) {
        fillCarPresets(careerState);
        loadPresetConfig(0);
        TrackLoadOptions options;
        options.headless = true;
        return startRace(slot, options);
    }
};

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace

TEST_F(ComputerRace, AllThreeComputerCarsDriveFourLapsOfTheFirstCircuit) {
    const fs::path slot = fs::path(NIGHTRUN_RUN_DIR) / "base" / "maps" / "1";
    if (!fs::exists(slot / "map.sbm") || !fs::exists(slot / "points" / "level.ai"))
        GTEST_SKIP() << "circuit 1 has not been generated";
    const fs::path previous = fs::current_path();
    fs::current_path(NIGHTRUN_RUN_DIR);
    const bool ready = loadHeadless(1);
    fs::current_path(previous);
    ASSERT_TRUE(ready);
    ASSERT_GE(aiPathLast, 100);

    // The player's car stays on the grid; the computer cars race on their own.
    long frames = 0;
    auto everyoneDone = [] {
        for (int i = 1; i < 4; ++i)
            if (raceCars[i].lapsDone < 5) return false;
        return true;
    };
    for (; frames < 20000 && !everyoneDone(); ++frames) headlessRaceFrame(1.6f);
    for (int i = 1; i < 4; ++i) {
        // The first pass of the line opens lap 1: five passes are four laps.
        EXPECT_GE(raceCars[i].lapsDone, 5) << "car " << i << " after " << frames << " frames";
        // Progress counts the laps behind the car (taken before this frame's pass).
        EXPECT_GT(raceCars[i].progress, 3.0f * float(aiPathLast));
    }
    EXPECT_LE(carsRighted, 2);
    EXPECT_FALSE(raceFinished);  // only the player finishes the race
}

TEST_F(ComputerRace, ASlotWithoutAUsableLineIsNotRaced) {
    ScopedTempDir dir;
    // No file at all.
    EXPECT_FALSE(loadHeadless(4));
    EXPECT_EQ(raceWorld, nullptr);
    EXPECT_EQ(aiPathLast, -1);
    unloadTrack();

    // A count of three with one record.
    std::vector<uint8_t> bytes = {2, 0, 0, 0};
    bytes.resize(4 + 16, 0);
    writeFile(aiPathFile(4), bytes);
    EXPECT_FALSE(loadHeadless(4));
    EXPECT_EQ(raceWorld, nullptr);
    unloadTrack();

    // Point 0 alone is enough to race.
    bytes[0] = 0;
    writeFile(aiPathFile(4), bytes);
    EXPECT_TRUE(loadHeadless(4));
    EXPECT_NE(raceWorld, nullptr);
    EXPECT_EQ(aiPathLast, 0);
}

TEST(ComputerRaceLab, TheLabSaysWhyASlotCannotBeRaced) {
    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    // Slot 7's line replaced by a damaged one: base/maps is a link, so build a
    // private copy of the maps folder with only slot 7's files in it.
    fs::remove(dir.path() / "base" / "maps");
    fs::create_directories(dir.path() / "base" / "maps" / "7" / "points");
    writeFile("base/maps/7/points/level.ai", {0xff, 0xff, 0xff, 0xff});

    std::string output;
    const std::string lab = std::string(NIGHTRUN_RUN_DIR) + "/nightrun-lab";
    const int status = runCommand(lab + " race --track 7 --headless --frames 10 2>&1", output);
    EXPECT_NE(status, 0) << output;
    EXPECT_NE(output.find("track 7 has no driving line"), std::string::npos) << output;
    EXPECT_NE(output.find("base/maps/7/points/level.ai"), std::string::npos) << output;
    EXPECT_EQ(output.find("finished="), std::string::npos) << output;
}
