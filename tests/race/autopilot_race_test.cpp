// A whole race without a window: the autopilot presses the player's keys round
// the generated circuit 1, among traffic, to the flag.
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
    // Once finished it lets go of every key and the car brakes itself.
    autopilotFrame(2.0f);
    for (int binding : {left, right, accelerate, brake, nitro}) EXPECT_FALSE(isKeyHeld(gameSettings.keys[binding]));
    leaveRace();
}
