// Whole races without a window: the autopilot presses the player's keys round
// a test circuit (and round the generated circuit 1, among traffic, when it is
// there) to the flag.
#include "race_test_support.h"

#include "content/track_loading.h"
#include "race/ai_driver.h"
#include "race/autopilot.h"
#include "support/temp_dir.h"

#include <filesystem>

using namespace race_test;

namespace {

class AutopilotRace : public RaceFixture {
protected:
    struct Result {
        bool finished = false;
        long frames = 0;
        std::vector<float> laps;  // seconds as the lap clock shows them
    };

    Result drive(long maxFrames, float f) {
        Result result;
        int reported = 0;
        for (long i = 0; i < maxFrames && !raceFinished; ++i) {
            autopilotFrame(f);
            headlessRaceFrame(f);
            ++result.frames;
            while (reported < playerLapsCompleted) {
                ++reported;
                result.laps.push_back(clockValue(lastLapTime) / 100.0f);
            }
        }
        result.finished = raceFinished;
        return result;
    }
};

}  // namespace

TEST_F(AutopilotRace, DrivesFourLapsOfATestOvalThroughThePlayersKeys) {
    // Point 0 lies just ahead and to the left of the grid; the oval turns left.
    ASSERT_TRUE(useLine(ovalPath({8.0f, 0.0f, -8.0f}, 200.0f, 40.0f)));
    setUpFlatRace({0.0f, 0.95f, 0.0f}, false);
    resetAutopilot();

    const Result result = drive(20000, 1.6f);
    ASSERT_TRUE(result.finished) << "after " << result.frames << " frames, laps " << player().lapsDone;
    EXPECT_EQ(playerPlace, 1);
    ASSERT_EQ(result.laps.size(), 4u);
    // About 650 units a lap; the clocks show 0.8 of the world's time.
    for (float lap : result.laps) {
        EXPECT_GT(lap, 15.0f);
        EXPECT_LT(lap, 60.0f);
    }
    EXPECT_LE(clockValue(bestLap) / 100.0f, result.laps[1] + 0.01f);
    // The autopilot only pressed keys: the car reached the upper gears on the straights.
    EXPECT_GE(player().shownGear, 1);
    // Once finished it lets go and the car brakes itself.
    autopilotFrame(1.6f);
    EXPECT_FALSE(isKeyHeld(gameSettings.keys[accelerate]));
}

TEST_F(AutopilotRace, FinishesTheGeneratedFirstCircuitAmongHeavyTraffic) {
    namespace fs = std::filesystem;
    const fs::path maps = fs::path(NIGHTRUN_RUN_DIR) / "base" / "maps" / "1";
    if (!fs::exists(maps / "map.sbm") || !fs::exists(maps / "points" / "level.ai"))
        GTEST_SKIP() << "circuit 1 has not been generated";
    const fs::path previous = fs::current_path();
    fs::current_path(NIGHTRUN_RUN_DIR);
    fillCarPresets(careerState);
    loadPresetConfig(9);
    TrackLoadOptions options;
    options.headless = true;
    trafficLevel = 2;
    startRace(1, options);
    fs::current_path(previous);
    ASSERT_GE(aiPathLast, 1);
    resetAutopilot();

    const Result result = drive(60000, 2.0f);
    EXPECT_TRUE(result.finished) << "after " << result.frames << " frames, laps " << player().lapsDone;
    EXPECT_EQ(result.laps.size(), result.finished ? 4u : result.laps.size());
    EXPECT_LE(carsRighted, 2) << "the traffic does not wreck the computer cars";
    EXPECT_GT(trafficPlacementCount, 4) << "traffic came and went";
    leaveRace();
}
