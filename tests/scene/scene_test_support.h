// The drawn scene with the game's own content: the build's generated base
// linked into a scratch run directory, the game window (800 x 600, hidden)
// opened once per process with the start-up content loaded, a race or the
// garage brought to a known state on the test clock, and comparisons with the
// reference pictures kept in tests/scene/reference/.
#pragma once

#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "app/startup_content.h"
#include "app/window.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"
#include "frontend/garage_scene.h"
#include "frontend/menu_framework.h"
#include "physics/physics_world.h"
#include "race/autopilot.h"
#include "race/car_dynamics.h"
#include "race/chase_camera.h"
#include "race/race_flow.h"
#include "render/post_processing.h"
#include "support/gl_test_window.h"
#include "support/png_image.h"
#include "support/run_dir.h"
#include "support/temp_dir.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace scene_test {

namespace fs = std::filesystem;
using test_support::RgbImage;
using test_support::testPlatform;

constexpr int frameWidth = 800;
constexpr int frameHeight = 600;
constexpr uint32_t frameMs = 16;

// Opens the game with the generated content, once; the working directory
// stays in the scratch run directory for the rest of the process.
inline bool gameWithContent() {
    static bool opened = [] {
        static TempDir runDir("scene");
        fs::create_directories(runDir.path() / "base");
        linkGeneratedContent(runDir.path() / "base");
        fs::current_path(runDir.path());
        testPlatform();
        readCareer(careerState, "/nonexistent/career.inf");  // a new career in memory
        gameSettings = GameSettings{};
        gameSettings.music = 0;
        effectTextureWidth = effectTextureHeight = 256;
        if (!createGameWindow("scene test", frameWidth, frameHeight, 32, false)) return false;
        loadStartupContent();
        loopFlags.startupLoading = false;
        return true;
    }();
    // Neon and blinking lamps follow the game clock: each test starts it from
    // zero, so a picture does not depend on what the process drew before.
    resetFrameTimer();
    frameTiming = FrameTiming{};
    return opened && platform::hasGlContext();
}

// One frame's worth of the test clock, through the frame timer.
inline void tick() {
    testPlatform().clockMs += frameMs;
    updateFrameTiming();
}

// A race on `track` with stock car 0, the opponents and the intro drawn from a
// fixed seed, run undrawn for `frames` frames with the autopilot driving (the
// chase camera following, as when drawn).
inline bool raceAfter(int track, int frames) {
    loadPresetConfig(0);
    std::srand(7);
    GameState = gameStates::racing;
    if (!startRace(track)) return false;
    resetAutopilot();
    const float ticks = 0.1f * float(frameMs);
    for (int k = 0; k < frames; ++k) {
        tick();
        autopilotFrame(ticks);
        loopFlags.speedBlur = nextBlurFactor(loopFlags.speedBlur, playerSpeed(), ticks);
        const RaceCar& player = raceCars[0];
        if (player.body)
            computeChaseCamera(physics::getPosition(player.body), player.flatForward, loopFlags.speedBlur, ticks);
        headlessRaceFrame(ticks);
    }
    return true;
}

// The frame as it is on screen, top row first.
inline RgbImage readFrame() {
    RgbImage image;
    image.width = frameWidth;
    image.height = frameHeight;
    image.pixels.resize(size_t(frameWidth) * frameHeight * 3);
    std::vector<uint8_t> rows(image.pixels.size());
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, frameWidth, frameHeight, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    const size_t row = size_t(frameWidth) * 3;
    for (int y = 0; y < frameHeight; ++y)
        std::copy_n(&rows[size_t(frameHeight - 1 - y) * row], row, &image.pixels[size_t(y) * row]);
    return image;
}

// The picture of a race frame (without HUD and overlays) or a garage frame
// (without menus), drawn `frames` times on the test clock.
inline RgbImage racePicture(int frames = 2) {
    for (int k = 0; k < frames; ++k) {
        tick();
        drawRaceScene();
        drawSceneWithGlow();
    }
    return readFrame();
}

inline RgbImage garagePicture(int frames) {
    for (int k = 0; k < frames; ++k) {
        tick();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        setProjection(frameWidth, frameHeight);
        drawGarageScene();
        drawSceneWithGlow();
    }
    return readFrame();
}

// The picture, halved, against tests/scene/reference/<name>.png. Small
// differences (another processor's rounding) pass; a changed look does not.
// When the look changes on purpose, run the test with
// NIGHTRUN_UPDATE_REFERENCES=1 to write the new reference, look at it, and
// commit it; a failing run leaves the picture it saw in build/tests/.
inline ::testing::AssertionResult matchesReference(const RgbImage& frame, const std::string& name) {
    const RgbImage seen = test_support::shrink(frame, 2);
    const fs::path reference = fs::path(NIGHTRUN_SOURCE_DIR) / "tests" / "scene" / "reference" / (name + ".png");
    if (std::getenv("NIGHTRUN_UPDATE_REFERENCES")) {
        if (!test_support::writePng(reference.string(), seen))
            return ::testing::AssertionFailure() << "could not write " << reference;
        return ::testing::AssertionSuccess() << "wrote " << reference;
    }
    RgbImage expected;
    const fs::path actual = fs::path(NIGHTRUN_RUN_DIR).parent_path() / "tests" / (name + ".actual.png");
    if (!test_support::readPng(reference.string(), expected)) {
        test_support::writePng(actual.string(), seen);
        return ::testing::AssertionFailure() << "no reference " << reference << "; the picture is in " << actual;
    }
    if (expected.width != seen.width || expected.height != seen.height)
        return ::testing::AssertionFailure() << "reference " << reference << " has another size";
    double total = 0.0;
    size_t different = 0;
    const size_t count = size_t(seen.width) * size_t(seen.height);
    for (size_t i = 0; i < count; ++i) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(int(seen.pixels[i * 3 + c]) - int(expected.pixels[i * 3 + c])));
        total += worst;
        if (worst > 32) ++different;
    }
    const double mean = total / double(count);
    const double share = double(different) / double(count);
    if (mean <= 3.0 && share <= 0.01) return ::testing::AssertionSuccess();
    test_support::writePng(actual.string(), seen);
    return ::testing::AssertionFailure() << name << ": mean difference " << mean << ", " << share * 100.0
                                         << "% of pixels off by more than 32; the picture is in " << actual;
}

}  // namespace scene_test
