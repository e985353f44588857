// The race HUD read back from the frame: the rev needle, the nitro bar, the
// mini-map's markers and arrows and, on the generated cities, the player's
// arrow over the road of the map image. The 800 x 600 window maps one HUD
// unit to one pixel.
#include "render_test_support.h"

#include "app/hud.h"
#include "content/bmp_loader.h"
#include "content/texture_tables.h"
#include "content/texture_upload.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"
#include "race/ai_path.h"
#include "race/car_dynamics.h"
#include "race/race_flow.h"
#include "render/post_processing.h"
#include "render/route_markers.h"

#include <array>
#include <cmath>

using namespace render_test;

namespace {

uint32_t solidTexture(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { return rgbaTexture(1, 1, {r, g, b, a}); }

bool isRed(const Pixel& p) { return p.r > 200 && p.g < 60 && p.b < 60; }
bool isGreen(const Pixel& p) { return p.g > 200 && p.r < 60 && p.b < 60; }
bool isBlue(const Pixel& p) { return p.b > 200 && p.r < 60 && p.g < 60; }
bool isOrange(const Pixel& p) { return p.r > 200 && p.g > 40 && p.g < 90 && p.b < 30; }

// Sets table entries for a test and puts the old ones back afterwards.
class HudFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sharedWindow());
        savedTga = TgaTable;
        savedBmp = BmpTable;
        for (TextureImage& image : TgaTable) image.texture = 0;
        TgaTable[1].texture = savedTga[1].texture;  // the font
        BmpTable.fill(0);
        GameState = gameStates::racing;
        releaseRaceWorld();
        clearAiPath();
        raceCars[0].engineRpm = 0.0f;
        raceCars[0].nitro = 0.0f;
        countdownActive = true;
        raceFinished = false;
        markerPhase = 0.0f;
        setTga(36, solidTexture(0, 0, 0, 0));  // a clear dial: the bar and needle show alone
    }
    void TearDown() override {
        releaseRaceWorld();
        clearAiPath();
        for (uint32_t texture : made) deleteTexture(texture);
        TgaTable = savedTga;
        BmpTable = savedBmp;
        GameState = gameStates::mainMenu;
        careerRaceActive = false;
        loadedTrack = 0;
    }

    uint32_t keep(uint32_t texture) {
        made.push_back(texture);
        return texture;
    }
    void setTga(int index, uint32_t texture) { TgaTable[size_t(index)].texture = keep(texture); }
    void setBmp(int index, uint32_t texture) { BmpTable[size_t(index)] = keep(texture); }

    // A black scene kept for the HUD to draw back, then the HUD.
    void hudOverBlack() {
        clearFrame();
        glowPasses();
        drawHud();
    }

    std::array<TextureImage, TgaTableSize> savedTga;
    std::array<uint32_t, BmpTableSize> savedBmp;
    std::vector<uint32_t> made;
};

}  // namespace

TEST_F(HudFrame, TheNeedleRestsLowerLeftAndStopsLowerRight) {
    setTga(38, solidTexture(255, 0, 0, 255));
    // 52 units from the dial's centre (680, 110): lower left at rest, lower right at full scale.
    const int restX = 643, fullX = 717, y = 73;

    raceCars[0].engineRpm = 900.0f;
    hudOverBlack();
    EXPECT_TRUE(isRed(readPixel(restX, y)));
    EXPECT_FALSE(isRed(readPixel(fullX, y)));

    raceCars[0].engineRpm = 20000.0f;
    hudOverBlack();
    EXPECT_TRUE(isRed(readPixel(fullX, y)));
    EXPECT_FALSE(isRed(readPixel(restX, y)));
}

TEST_F(HudFrame, TheNitroBarIsCutNotSqueezed) {
    // The bar's image: red left half, blue right half.
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) rgba.insert(rgba.end(), {uint8_t(x < 4 ? 255 : 0), 0, uint8_t(x < 4 ? 0 : 255), 255});
    setBmp(6, rgbaTexture(8, 4, rgba));
    // The bar spans x 648..713 at y 95..127; the "Nitro" label starts at y 99.
    const int y = 97;

    raceCars[0].nitro = 150.0f;
    hudOverBlack();
    EXPECT_TRUE(isRed(readPixel(652, y)));
    EXPECT_TRUE(isBlue(readPixel(709, y)));

    raceCars[0].nitro = 50.0f;  // half the bar, showing the image's left half
    hudOverBlack();
    EXPECT_TRUE(isRed(readPixel(676, y)));
    EXPECT_FALSE(isRed(readPixel(684, y)) || isBlue(readPixel(684, y)));

    raceCars[0].nitro = 0.0f;
    hudOverBlack();
    EXPECT_FALSE(isRed(readPixel(652, y)));
}

TEST_F(HudFrame, TheMapFollowsTheRaceNumberOfACareerAndTheCircuitOfAQuickRace) {
    careerRaceActive = true;
    careerState.currentRace = 4;
    loadedTrack = 25;
    EXPECT_EQ(miniMapSelection(), 4);
    careerRaceActive = false;
    loadedTrack = 15;  // circuit 5's other variant
    EXPECT_EQ(miniMapSelection(), 5);
}

TEST_F(HudFrame, NoCheckpointMarkersBeforeTheStartButTheCarsShow) {
    setBmp(1, solidTexture(60, 60, 60, 255));
    setTga(9, solidTexture(255, 255, 255, 255));
    setTga(10, solidTexture(255, 255, 255, 255));
    setUpRaceAt({0.0f, 1.0f, 0.0f}, nullptr);
    // The player faces +x: ahead is up on the map, the car's left (-z) is left.
    physics::setPosition(raceCars[1].body, {0.0f, 1.0f, -100.0f});
    physics::setPosition(raceCars[2].body, {0.0f, 1.0f, 100.0f});
    updateCarPlacements();
    // The next checkpoint 150 ahead, another 150 behind.
    TrackPoint points[2];
    points[0] = {150.0f, 1.0f, 0.0f, 0.0f, checkpointKind};
    points[1] = {-150.0f, 1.0f, 0.0f, 0.0f, checkpointKind};
    ASSERT_TRUE(setAiPath(points, 2));
    raceCars[0].nextCheckpoint = 0;

    // The map is drawn 256 x 192 in the frame's corner: 0.10755 map units per
    // world unit, 2.32 pixels per map unit under the 70 degree view.
    const int x = 128, y = 96, aheadY = y + 37, behindY = y - 37, leftX = x - 25, rightX = x + 25;
    drawMiniMap(1);
    EXPECT_FALSE(isGreen(readPixel(x, aheadY)));
    EXPECT_FALSE(isOrange(readPixel(x, behindY)));
    EXPECT_TRUE(isGreen(readPixel(x, y)));
    EXPECT_TRUE(isRed(readPixel(leftX, y)));
    EXPECT_TRUE(isRed(readPixel(rightX, y)));

    countdownActive = false;
    drawMiniMap(1);
    EXPECT_TRUE(isGreen(readPixel(x, aheadY)));
    EXPECT_TRUE(isOrange(readPixel(x, behindY)));

    raceFinished = true;
    drawMiniMap(1);
    EXPECT_FALSE(isGreen(readPixel(x, aheadY)));
}

TEST(HudTexts, LapOneUntilTheFirstLapIsDoneAndTimesPaddedWithSpaces) {
    raceCars[0].lapsDone = 0;
    EXPECT_STREQ(hudTexts().lap, "  1/");
    raceCars[0].lapsDone = 1;
    EXPECT_STREQ(hudTexts().lap, "  1/");
    raceCars[0].lapsDone = 3;
    EXPECT_STREQ(hudTexts().lap, "  3/");
    raceCars[0].lapsDone = 0;

    // The three strings of a time, printed over each other.
    auto shown = [](const RaceClock& clock) {
        const ClockTexts texts = clockTexts(clock);
        std::string line(12, ' ');
        for (const char* part : {texts.minutes, texts.seconds, texts.hundredths})
            for (size_t i = 0; part[i]; ++i)
                if (part[i] != ' ') line[i] = part[i];
        return line.substr(0, line.find_last_not_of(' ') + 1);
    };
    EXPECT_EQ(shown({1, 5, 7.9f}), "  1: 5. 7");
    EXPECT_EQ(shown({12, 34, 56.0f}), " 12:34.56");
    EXPECT_EQ(shown({0, 0, 0.0f}), "  0: 0. 0");
}

namespace {

// The generated cities: each circuit's map image under the mini-map.
class MiniMapOnTheCities : public HudFrame {
protected:
    void SetUp() override {
        HudFrame::SetUp();
        const std::string textures = std::string(NIGHTRUN_RUN_DIR) + "/base/textures/";
        for (int image : {1, 2, 7}) {
            if (!bmpFileExists(textures + "tex0" + std::to_string(image) + ".bmp")) GTEST_SKIP() << "no generated maps";
            setBmp(image, loadBmpTexture(textures + "tex0" + std::to_string(image) + ".bmp"));
        }
        ASSERT_TRUE(loadTgaImage(TgaTable[39], textures + "tex39.tga", 1));
        keep(TgaTable[39].texture);
    }
};

int brightness(const Pixel& p) { return p.r + p.g + p.b; }

}  // namespace

TEST_F(MiniMapOnTheCities, ThePlayersArrowSitsOnTheRoadAtTheMapsCentre) {
    // Circuits 1, 2 and 3 use map groups 1, 2 and 3. On the grid the road runs
    // along x, so on the map it runs up from the arrow.
    for (int slot : {1, 2, 3}) {
        SCOPED_TRACE("circuit " + std::to_string(slot));
        loadedTrack = slot;
        setUpRaceAt(startPosition(slot), nullptr);
        hudOverBlack();
        // The map quad (-10, 20)..(246, 212) shows the whole frame, its centre the player.
        EXPECT_TRUE(isGreen(readPixel(118, 116)));
        // Just ahead of the arrow's tip and just behind its base (9 map units from
        // its centre), the arrow's own column shows road: the image draws streets
        // 0x313a4c (brightness 199, a little less under its vignette) and
        // pavements and blocks at most 0x1a202c (102).
        for (int row : {116 + 21, 116 - 21})
            for (int x : {118, 119}) EXPECT_GT(brightness(readPixel(x, row)), 120) << "row " << row << " x " << x;
    }
}
