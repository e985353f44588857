// Computer drivers on a generated circuit, and slots that cannot be raced
// because their driving line is missing or damaged.
#include "race/race_test_support.h"

#include "content/track_loading.h"
#include "race/ai_driver.h"
#include "support/image_files.h"
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

// A line of one point, the start line: raced before, every car counted a lap each frame on it.
const std::vector<uint8_t> startLineAlone = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};

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

TEST_F(ComputerRace, ASlotWithoutAUsableLineOrGroundIsNotRaced) {
    ScopedTempDir dir;
    const fs::path generated = fs::path(NIGHTRUN_RUN_DIR) / "base" / "maps" / "4";
    fs::create_directories("base/maps/4/points");
    std::vector<uint8_t> cutModel(100);
    std::ifstream(generated / "map.sbm", std::ios::binary).read(reinterpret_cast<char*>(cutModel.data()), 100);
    const std::vector<uint8_t> emptyModel = {'M', 'S', '3', 'D', '0', '0', '0', '0', '0', '0', 4, 0, 0, 0,
                                             0, 0, 0, 0, 0, 0, 0, 0};
    struct Case {
        const char* what;
        const char* file;  // the file spoilt, under base/maps/4/
        std::vector<uint8_t> bytes;
        bool remove;
    };
    const std::vector<Case> cases = {
        {"no line", "points/level.ai", {}, true},
        {"the start line alone", "points/level.ai", startLineAlone, false},
        {"no ground", "map.sbm", {}, true},
        {"ground cut short", "map.sbm", cutModel, false},
        {"ground without a triangle", "map.sbm", emptyModel, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::copy_file(generated / "map.sbm", "base/maps/4/map.sbm", fs::copy_options::overwrite_existing);
        fs::copy_file(generated / "points" / "level.ai", "base/maps/4/points/level.ai",
                      fs::copy_options::overwrite_existing);
        ASSERT_TRUE(loadHeadless(4));
        unloadTrack();
        const std::string spoilt = std::string("base/maps/4/") + c.file;
        if (c.remove) fs::remove(spoilt);
        else ASSERT_TRUE(test_support::writeFileBytes(spoilt, c.bytes));
        EXPECT_FALSE(loadHeadless(4));
        EXPECT_EQ(raceWorld, nullptr);
        unloadTrack();
    }
}

TEST(ComputerRaceLab, TheLabSaysWhyASlotCannotBeRaced) {
    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    // Slot 7's line replaced by the start line alone: base/maps is a link, so
    // build a private copy of the maps folder with only slot 7's files in it.
    fs::remove(dir.path() / "base" / "maps");
    fs::create_directories(dir.path() / "base" / "maps" / "7" / "points");
    fs::copy_file(fs::path(NIGHTRUN_RUN_DIR) / "base" / "maps" / "7" / "map.sbm", "base/maps/7/map.sbm");
    ASSERT_TRUE(test_support::writeFileBytes("base/maps/7/points/level.ai", startLineAlone));

    std::string output;
    const std::string lab = std::string(NIGHTRUN_RUN_DIR) + "/nightrun-lab";
    const int status = runCommand(lab + " race --track 7 --headless --autopilot 2>&1", output);
    EXPECT_NE(status, 0) << output;
    EXPECT_NE(output.find("track 7 cannot be raced: base/maps/7/points/level.ai is missing or damaged"),
              std::string::npos) << output;
    EXPECT_EQ(output.find("finished="), std::string::npos) << output;
}
