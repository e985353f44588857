// The front end through the real lab executable under the X server: tours of
// every screen and shop, a whole career race from the main menu back to the
// file, a purchase and a key binding that reach the files written at exit.
#include "app/file_io.h"
#include "app/settings.h"
#include "frontend/menu_run.h"
#include "race/car_control.h"
#include "race/car_dynamics.h"
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
    const std::string tour = "--frames 3500 --frame-ms 20 --events " + eventsFile("tour.events");
    ASSERT_EQ(runCommand(labRun(tour), output), 0) << output;
    EXPECT_NE(output.find("quit=1"), std::string::npos) << output;
    for (const char* shot : {"main_menu", "quit_question", "information", "options", "options_audio",
                             "options_controls", "career_menu", "career_hub",
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
    ASSERT_EQ(readFileBounded("base/career.inf", 4096, bytes), ReadStatus::Ok);
    ASSERT_EQ(bytes.size(), 1408u);
    float cash = 0.0f;
    const uint32_t cashBits = getLe32(&bytes[1368]);
    std::memcpy(&cash, &cashBits, 4);
    EXPECT_EQ(cash, 500.0f + prizes[place]) << "place " << place;
    EXPECT_EQ(getLe32(&bytes[1392]), place <= 3 ? 2u : 1u) << "place " << place;
}

// New career -> every shop, items previewed -> packet 2 bought -> the window
// closed while rim 8 is on show: the career file holds the packet and $200,
// and the stored rims, not the previewed ones.
TEST(FrontEndShops, EveryShopIsPhotographedAndOnlyWhatWasBoughtReachesTheCareerFile) {
    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    std::string output;
    ASSERT_EQ(runCommand(labRun("--frames 3000 --frame-ms 20 --events " + eventsFile("shop_tour.events")), output),
              0)
        << output;
    EXPECT_NE(output.find("quit=1"), std::string::npos) << output;
    for (const char* shot : {"career_hub", "tech_tuning", "body_tuning", "body_kit", "spoiler", "hood_scoop",
                             "roof_scoop", "optics", "visual_tuning", "painting", "vinyls_on_top",
                             "vinyls_on_side", "neon", "change_car", "rims"}) {
        const fs::path file = std::string(shot) + ".png";
        ASSERT_TRUE(fs::exists(file)) << file << "\n" << output;
        EXPECT_GT(fs::file_size(file), 20000u) << file;
    }
    std::vector<uint8_t> bytes;
    ASSERT_EQ(readFileBounded("base/career.inf", 4096, bytes), ReadStatus::Ok);
    ASSERT_EQ(bytes.size(), 1408u);
    CareerState saved;
    decodeCareer(bytes.data(), bytes.size(), saved);
    const CarConfig bought = defaultCareerCar();
    EXPECT_EQ(saved.cash, 200.0f);
    EXPECT_EQ(saved.storedCar.techPacket, 1);
    EXPECT_EQ(saved.storedCar.rims, bought.rims);
    EXPECT_EQ(saved.storedCar.spoiler, bought.spoiler);
    EXPECT_EQ(saved.storedCar.topVinyl, bought.topVinyl);
    EXPECT_EQ(saved.ownedCar, bought.carModel);
}

// The lab binds nitro to N on the Controls tab and quits; the game started
// again from that settings file burns nitro while N is held, not Shift.
class NitroRebound : public MenuRaceRun {
protected:
    void prepareBase() override {
        MenuRaceRun::prepareBase();
        ASSERT_EQ(runCommand(labRun("--frames 1000 --frame-ms 20 --events " + eventsFile("rebind_nitro.events")),
                             labOutput),
                  0)
            << labOutput;
    }
    std::string labOutput;
};

TEST_F(NitroRebound, NitroBoundToNInTheOptionsDrivesWithNAfterTheNextStart) {
    EXPECT_NE(labOutput.find("quit=1"), std::string::npos) << labOutput;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(readFileBounded("base/menu.inf", 4096, bytes), ReadStatus::Ok);
    ASSERT_EQ(bytes.size(), 76u);
    EXPECT_EQ(getLe32(&bytes[52]), 0x4Eu);  // the nitro field
    EXPECT_EQ(gameSettings.keys[4], 0x4E);

    clickAndSettle(240, at::bottomRowY);  // Quick Race
    click(at::start, at::bottomRowY);
    ASSERT_TRUE(runUntil(gameStates::racing, 200));
    frames(50);
    backend.events.push_back({platform::EventType::KeyDown, keyCodes::shift});
    frames(5);
    EXPECT_FALSE(playerNitroBurning());
    EXPECT_EQ(raceCars[0].nitro, 100.0f);
    backend.events.push_back({platform::EventType::KeyUp, keyCodes::shift});
    backend.events.push_back({platform::EventType::KeyDown, 'N'});
    frames(5);
    EXPECT_TRUE(playerNitroBurning());
    EXPECT_LT(raceCars[0].nitro, 100.0f);
    backend.events.push_back({platform::EventType::KeyUp, 'N'});
    frame();
}
