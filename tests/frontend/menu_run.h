// The whole program in process on the test back end, past its start-up
// screen, driven by clicks in the 800 x 600 menu space: the menus run exactly
// as a player drives them. Without GL (nothing is drawn) unless a test races,
// which needs a hidden window to load a track into (MenuRaceRun).
#pragma once

#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/input.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "frontend/career_state.h"
#include "frontend/menu_framework.h"
#include "platform/test_backend.h"
#include "race/race_flow.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

class MenuRun : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        dir = std::make_unique<ScopedTempDir>("menus");
        prepareBase();
        backend.windowless = !racing();
        platform::installTestBackend(&backend);
        loopFlags = LoopFlags{};
        gameSettings = GameSettings{};
        resetMenuState();
        resetFrameTimer();
        frameTiming = FrameTiming{};
        prizePending = careerRaceActive = false;
        ASSERT_EQ(startupSequence(), StartupResult::Ok);
        for (int i = 0; i < 200 && loopFlags.startupLoading; ++i) frame(100);
        ASSERT_FALSE(loopFlags.startupLoading);
        settle();
        ASSERT_EQ(shownScreen, gameStates::mainMenu);
    }
    void TearDown() override {
        if (loadedTrack != 0) leaveRace();
        exitSequence();
        // Nothing went wrong on the way (OpenAL errors, for one, are shown in a box).
        for (const platform::RecordedMessageBox& box : backend.messageBoxes) ADD_FAILURE() << box.text;
        platform::installTestBackend(nullptr);
        dir.reset();
    }
    // The scratch base/: links to the generated content; a test may replace a part.
    virtual void prepareBase() { linkGeneratedContent(dir->path() / "base"); }
    virtual bool racing() const { return false; }

    // One frame pass of `ms`, handling the events queued before it.
    void frame(uint32_t ms = 20) {
        backend.clockMs += ms;
        bool framePass = false;
        while (mainLoopPass(framePass) && !framePass) {}
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }
    // Long enough for any screen to fade out and the next to fade in: frames
    // of 90 ms (just inside the longest frame that still moves things), four
    // or five to each fade.
    void settle() {
        for (int i = 0; i < 12; ++i) frame(90);
    }
    void moveTo(int x, int y) {
        backend.events.push_back({platform::EventType::MouseMove, 0, platform::MouseButton::Left, x, y});
        frame();
    }
    // A left click at a point of the menu space (the window is 800 x 600).
    void click(int x, int y) {
        backend.events.push_back({platform::EventType::MouseMove, 0, platform::MouseButton::Left, x, y});
        backend.events.push_back({platform::EventType::MouseDown, 0, platform::MouseButton::Left, x, y});
        backend.events.push_back({platform::EventType::MouseUp, 0, platform::MouseButton::Left, x, y});
        frame();
    }
    void clickAndSettle(int x, int y) {
        click(x, y);
        settle();
    }
    void key(int code) {
        backend.events.push_back({platform::EventType::KeyDown, code});
        frame();
        backend.events.push_back({platform::EventType::KeyUp, code});
        frame();
    }
    // Runs frames of `ms` until the game goes to `state` (at most `limit` frames).
    bool runUntil(int32_t state, int limit = 2000, uint32_t ms = 20) {
        for (int i = 0; i < limit && GameState != state; ++i) frame(ms);
        return GameState == state;
    }

    // Main menu -> Career -> New career: the hub with $500.
    void openHubOfANewCareer() {
        clickAndSettle(80, 550);
        clickAndSettle(400, 550);
        ASSERT_EQ(GameState, gameStates::careerHub);
    }
    // ... -> Race: Competitions with a fresh career.
    void openCompetitionsOfANewCareer() {
        openHubOfANewCareer();
        clickAndSettle(720, 550);
    }

    std::unique_ptr<ScopedTempDir> dir;
    platform::TestBackend backend;
};

class MenuRaceRun : public MenuRun {
protected:
    bool racing() const override { return true; }
};

// The centres of the buttons the tests press, in the menu space.
namespace at {
constexpr int bottomRowY = 550;  // main menu, career menu, bottom text buttons
constexpr int back = 80, race = 720, start = 720;
constexpr int stakeMinusX = 317, stakePlusX = 477, stakeY = 440;
constexpr int raceMinusX = 317, racePlusX = 477, raceY = 240;
constexpr int clubY = 140;
constexpr int clubX[3] = {240, 400, 560};
constexpr int change = 592;
}  // namespace at
