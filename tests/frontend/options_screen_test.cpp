// The Options screen driven by clicks and keys: the resolution kept for the
// next start and its notice, the toggles that act at once, and key capture.
#include "menu_run.h"

#include "app/window.h"
#include "frontend/options_screen.h"
#include "race/traffic.h"

#include <algorithm>

namespace {

constexpr int accept = 80, back = 720;
constexpr int tabY = 140, graphicsTabX = 240, audioTabX = 400, controlsTabX = 560;
constexpr int leftArrowX = 457, rightArrowX = 597;
// The value rows from the top, y-down: 240, 290, 340, 390, 440.
constexpr int rowY(int row) { return 240 + 50 * row; }
constexpr int bindingX = 526;
constexpr int bindingY(int row) { return 241 + 50 * row; }

class OptionsRun : public MenuRun {
protected:
    void SetUp() override {
        MenuRun::SetUp();
        resolutionApplied = false;
        clickAndSettle(560, at::bottomRowY);
        ASSERT_EQ(GameState, gameStates::options);
    }
};

}  // namespace

TEST_F(OptionsRun, TheResolutionIsKeptForTheNextStartAndNoticedOnlyOnceAccepted) {
    EXPECT_EQ(resolutionChoice, 1);
    click(accept, at::bottomRowY);
    EXPECT_FALSE(resolutionApplied);
    // A change left without Accept is forgotten when the screen opens again.
    click(rightArrowX, rowY(0));
    clickAndSettle(back, at::bottomRowY);
    clickAndSettle(560, at::bottomRowY);
    EXPECT_EQ(resolutionChoice, 1);
    EXPECT_EQ(gameSettings.chosenWidth, 800);

    click(rightArrowX, rowY(0));
    EXPECT_EQ(resolutionChoice, 2);
    EXPECT_EQ(gameSettings.chosenWidth, 1024);
    EXPECT_EQ(gameSettings.width, 800);  // the running window keeps its size
    clickAndSettle(graphicsTabX, tabY);
    click(accept, at::bottomRowY);
    EXPECT_FALSE(resolutionApplied);
    EXPECT_EQ(gameSettings.chosenWidth, 1024);

    // Modes the display does not list are skipped, both ways round.
    backend.displayModes.erase(std::remove_if(backend.displayModes.begin(), backend.displayModes.end(),
                                              [](const platform::DisplayMode& m) { return m.width == 1280; }),
                               backend.displayModes.end());
    click(rightArrowX, rowY(0));
    EXPECT_EQ(resolutionChoice, 4);
    click(rightArrowX, rowY(0));
    EXPECT_EQ(resolutionChoice, 0);
    click(leftArrowX, rowY(0));
    click(leftArrowX, rowY(0));
    EXPECT_EQ(resolutionChoice, 2);
    EXPECT_EQ(gameSettings.chosenHeight, 768);
    click(accept, at::bottomRowY);
    EXPECT_TRUE(resolutionApplied);

    // Back keeps everything; the file written at exit holds the chosen size.
    clickAndSettle(back, at::bottomRowY);
    EXPECT_EQ(GameState, gameStates::mainMenu);
    clickAndSettle(560, at::bottomRowY);
    EXPECT_EQ(resolutionChoice, 2);
    EXPECT_FALSE(resolutionChanged);
    ASSERT_TRUE(saveSettings(gameSettings, resolutionApplied));
    GameSettings read;
    ASSERT_EQ(loadSettings(read), ReadStatus::Ok);
    EXPECT_EQ(read.resolutionIndex, 2);
}

TEST_F(OptionsRun, EveryToggleActsAtOnce) {
    const GameSettings before = gameSettings;
    click(rightArrowX, rowY(1));
    EXPECT_EQ(gameSettings.particles, before.particles ? 0 : 1);
    click(leftArrowX, rowY(2));
    EXPECT_EQ(gameSettings.reflections, before.reflections == 1 ? 0 : 1);
    click(rightArrowX, rowY(4));
    EXPECT_EQ(gameSettings.motionBlur, before.motionBlur == 1 ? 0 : 1);
    // Traffic No, one step left: Max, and the race takes it at once.
    gameSettings.cityTraffic = 0;
    click(leftArrowX, rowY(3));
    EXPECT_EQ(gameSettings.cityTraffic, 2);
    EXPECT_EQ(trafficLevel, 2);
    click(rightArrowX, rowY(3));
    EXPECT_EQ(gameSettings.cityTraffic, 0);

    // The Audio tab's rows sit where the first two Graphics rows were.
    clickAndSettle(audioTabX, tabY);
    EXPECT_EQ(subPage.shown, 1);
    const int32_t particles = gameSettings.particles;
    click(rightArrowX, rowY(0));
    EXPECT_EQ(gameSettings.sound, 0);
    click(leftArrowX, rowY(0));
    EXPECT_EQ(gameSettings.sound, 1);
    click(rightArrowX, rowY(1));
    EXPECT_EQ(gameSettings.music, 0);
    loopFlags.musicFade = 1.0f;
    click(leftArrowX, rowY(1));
    EXPECT_EQ(gameSettings.music, 1);
    EXPECT_LT(loopFlags.musicFade, -1.0f);  // ramps up from -1.5
    EXPECT_EQ(gameSettings.particles, particles);
}

TEST_F(OptionsRun, ABindingRowTakesOnlyTheKeysCaptureAccepts) {
    const GameSettings before = gameSettings;
    clickAndSettle(controlsTabX, tabY);
    ASSERT_EQ(subPage.shown, 2);
    click(bindingX, bindingY(3));
    EXPECT_EQ(detailItem.target, 3);
    key('5');
    EXPECT_EQ(gameSettings.keys[3], before.keys[3]);
    EXPECT_EQ(detailItem.target, 3);
    key('B');
    EXPECT_EQ(gameSettings.keys[3], 0x42);
    EXPECT_EQ(displayedKeys[3], 0x42);
    EXPECT_EQ(bindingKeyName(displayedKeys[3]), "B ");
    EXPECT_EQ(detailItem.target, -1);
    // Nothing waits now: another key binds nothing.
    key('C');
    for (int i = 0; i < 5; ++i) EXPECT_EQ(gameSettings.keys[i], i == 3 ? 0x42 : before.keys[i]);
}
