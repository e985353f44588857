// The front end through the real lab executable under the X server: tours of
// every screen and shop, a whole career race from the main menu back to the
// file, a purchase and a key binding that reach the files written at exit.
#include "app/file_io.h"
#include "app/settings.h"
#include "frontend/menu_run.h"
#include "race/car_control.h"
#include "race/car_dynamics.h"
#include "race/results.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string labRun(const std::string& options) {
    return std::string("ALSOFT_DRIVERS=null ") + NIGHTRUN_RUN_DIR + "/nightrun-lab run " + options + " 2>&1";
}

std::string eventsFile(const char* name) { return std::string(NIGHTRUN_SOURCE_DIR) + "/tests/frontend/" + name; }

// Every picture the script asks for was written, and shows a drawn screen: a
// drawn menu compresses far less than an empty frame.
void expectEveryShotOf(const char* script, const std::string& output) {
    std::ifstream in(eventsFile(script));
    std::string line;
    std::smatch shot;
    int shots = 0;
    while (std::getline(in, line)) {
        if (!std::regex_search(line, shot, std::regex("^\\S+ shot (\\S+)"))) continue;
        ++shots;
        const fs::path file = shot[1].str();
        ASSERT_TRUE(fs::exists(file)) << file << "\n" << output;
        EXPECT_GT(fs::file_size(file), 20000u) << file;
    }
    EXPECT_GE(shots, 10) << script;
}

// The career file the run left behind, decoded.
CareerState savedCareer() {
    std::vector<uint8_t> bytes;
    CareerState saved;
    EXPECT_EQ(readFileBounded("base/career.inf", 4096, bytes), ReadStatus::Ok);
    EXPECT_EQ(bytes.size(), 1408u);
    decodeCareer(bytes.data(), bytes.size(), saved);
    return saved;
}

}  // namespace

TEST(FrontEndTour, EveryScreenIsVisitedAndPhotographed) {
    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    std::string output;
    ASSERT_EQ(runCommand(labRun("--frames 1500 --frame-ms 50 --events " + eventsFile("tour.events")), output), 0)
        << output;
    EXPECT_NE(output.find("quit=1"), std::string::npos) << output;
    expectEveryShotOf("tour.events", output);
}

// New career -> Race -> Start -> Escape -> Restart -> the autopilot races ->
// the results -> the hub -> Quit: the career file holds the prize of the place
// the race reported, paid once. The race is drawn one frame in ten; it is
// still simulated on every frame.
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
    ASSERT_EQ(runCommand(labRun("--frames 10000 --frame-ms 50 --autopilot --draw-every 10 --events " +
                                eventsFile("career_race.events")),
                         output),
              0)
        << output;
    EXPECT_NE(output.find("quit=1"), std::string::npos) << output;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(output, match, std::regex("race track=1 career=1 place=([1-4])"))) << output;
    const int place = std::stoi(match[1]);
    const CareerState saved = savedCareer();
    EXPECT_EQ(saved.cash, 500.0f + prizeFor(place, 0.0f)) << "place " << place;
    EXPECT_EQ(saved.clubProgress[0], place <= 3 ? 2 : 1) << "place " << place;
}

// New career -> every shop, items previewed -> packet 2 bought -> the window
// closed while rim 8 is on show: the career file holds the packet and $200,
// and the stored rims, not the previewed ones.
TEST(FrontEndShops, EveryShopIsPhotographedAndOnlyWhatWasBoughtReachesTheCareerFile) {
    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    std::string output;
    ASSERT_EQ(runCommand(labRun("--frames 1500 --frame-ms 50 --events " + eventsFile("shop_tour.events")), output),
              0)
        << output;
    EXPECT_NE(output.find("quit=1"), std::string::npos) << output;
    expectEveryShotOf("shop_tour.events", output);
    const CareerState saved = savedCareer();
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
