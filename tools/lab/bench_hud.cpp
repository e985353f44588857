// nightrun-lab bench-hud: how long the race HUD takes to draw (mini-map render
// and capture, the frame put back, gauges, texts) on the GL the game runs on,
// in a race driven by the autopilot. Each frame is drawn as the game draws it;
// then drawHud runs once more on its own between two glFinish calls.
#include "lab_commands.h"

#include "app/game_state.h"
#include "app/hud.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "app/startup_content.h"
#include "app/window.h"
#include "audio/sound_device.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"
#include "platform/test_backend.h"
#include "race/autopilot.h"
#include "race/race_flow.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile99(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(0.99 * double(values.size() - 1) + 0.5))];
}

int benchHud(const std::vector<std::string>& args) {
    int track = 1;
    long frames = 300;
    int resolution = -1;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--track" && hasValue) track = std::atoi(args[++i].c_str());
        else if (args[i] == "--frames" && hasValue) frames = std::atol(args[++i].c_str());
        else if (args[i] == "--resolution" && hasValue) resolution = std::atoi(args[++i].c_str());
        else {
            std::fprintf(stderr, "nightrun-lab bench-hud: unknown option '%s'\n", args[i].c_str());
            return 2;
        }
    }
    if (track < firstTrack || track > lastTrack || frames <= 0 || resolution < -1 || resolution >= resolutionCount) {
        std::fprintf(stderr, "nightrun-lab bench-hud: --track 1..30, --frames K > 0, --resolution 0..4\n");
        return 2;
    }

    platform::TestBackend backend;
    platform::installTestBackend(&backend);
    bool ok = startupSequence() == StartupResult::Ok;
    if (ok && resolution >= 0 && resolution != gameSettings.resolutionIndex) {
        destroyGameWindow();
        gameSettings.resolutionIndex = resolution;
        applyResolutionIndex(gameSettings);
        ok = createGameWindow("Nightrun", gameSettings.width, gameSettings.height, 32, false);
    }
    std::vector<double> hud, whole;
    if (ok) {
        loadStartupContent();
        loopFlags.startupLoading = false;
        loadPresetConfig(0);
        GameState = gameStates::racing;
        ok = startRace(track);
        // The cars go at once: the checkpoint markers show from the first frame.
        countdownActive = false;
        resetAutopilot();
        using Clock = std::chrono::steady_clock;
        auto since = [](Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); };
        for (long k = 0; ok && k < frames && GameState == gameStates::racing; ++k) {
            autopilotFrame(1.6f);
            backend.clockMs += 16;
            bool framePass = false;
            glFinish();
            Clock::time_point start = Clock::now();
            while (mainLoopPass(framePass) && !framePass) {}
            glFinish();
            whole.push_back(since(start));
            start = Clock::now();
            drawHud();
            glFinish();
            hud.push_back(since(start));
        }
        if (loadedTrack != 0) leaveRace();
        closeSoundDevice();
        destroyGameWindow();
    }
    platform::installTestBackend(nullptr);
    if (!ok) {
        std::fprintf(stderr, "nightrun-lab bench-hud: the game or track %d could not start\n", track);
        return 1;
    }
    std::printf("track=%d size=%dx%d frames=%zu hud_median_ms=%.3f hud_p99_ms=%.3f frame_median_ms=%.3f\n", track,
                gameSettings.width, gameSettings.height, hud.size(), median(hud), percentile99(hud), median(whole));
    return 0;
}

LabCommand benchHudCommand("bench-hud", "[--track N] [--frames K] [--resolution 0..4]", benchHud);

}  // namespace
