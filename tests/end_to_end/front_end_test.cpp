// The front end through the real lab executable under the X server: a tour of
// every screen, and a whole career race from the main menu back to the file.
#include "app/file_io.h"
#include "app/settings.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string labRun(const std::string& options) {
    return std::string("ALSOFT_DRIVERS=null ") + NIGHTRUN_RUN_DIR + "/nightrun-lab run " + options + " 2>&1";
}

std::string eventsFile(const char* name) { return std::string(NIGHTRUN_SOURCE_DIR) + "/tests/frontend/" + name; }

}  // namespace

TEST(FrontEndTour, EveryScreenIsVisitedAndPhotographed) {
    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    std::string output;
    const std::string tour = "--frames 3000 --frame-ms 20 --events " + eventsFile("tour.events");
    ASSERT_EQ(runCommand(labRun(tour), output), 0) << output;
    EXPECT_NE(output.find("quit=1"), std::string::npos) << output;
    for (const char* shot : {"main_menu", "quit_question", "information", "options", "career_menu", "career_hub",
                             "tech_tuning", "competitions", "quick_race", "loading_race", "pause",
                             "back_to_main_menu"}) {
        const fs::path file = std::string(shot) + ".png";
        ASSERT_TRUE(fs::exists(file)) << file << "\n" << output;
        // A drawn menu compresses far less than an empty frame.
        EXPECT_GT(fs::file_size(file), 20000u) << file;
    }
}

// New career -> Race -> Start -> Escape -> Restart -> the autopilot races ->
// the results -> the hub -> Quit: the career file holds the prize of the place
// the race reported, paid once.
TEST(FrontEndCareer, ACareerRaceFromTheMenusPaysItsPlaceIntoTheCareerFile) {
    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    // A player on the lightest options: 640 x 480 (the clicks go through the
    // cursor mapping), reflections Min, no traffic, particles and motion blur off.
    GameSettings light;
    light.resolutionIndex = 0;
    light.reflections = 0;
    light.cityTraffic = 0;
    light.particles = 0;
    light.motionBlur = 0;
    ASSERT_TRUE(saveSettings(light, false));
    std::string output;
    ASSERT_EQ(runCommand(labRun("--frames 10000 --frame-ms 50 --autopilot --events " +
                                eventsFile("career_race.events")),
                         output),
              0)
        << output;
    EXPECT_NE(output.find("quit=1"), std::string::npos) << output;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(output, match, std::regex("race track=1 career=1 place=([1-4])"))) << output;
    const int place = std::stoi(match[1]);
    const float prizes[5] = {0.0f, 100.0f, 50.0f, 25.0f, 0.0f};

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile("base/career.inf", bytes));
    ASSERT_EQ(bytes.size(), 1408u);
    float cash = 0.0f;
    const uint32_t cashBits = getLe32(&bytes[1368]);
    std::memcpy(&cash, &cashBits, 4);
    EXPECT_EQ(cash, 500.0f + prizes[place]) << "place " << place;
    EXPECT_EQ(getLe32(&bytes[1392]), place <= 3 ? 2u : 1u) << "place " << place;
}
