// nightrun-lab garage: the front end's garage scene behind a chosen screen,
// without the start-up screen, with the working car's looks set from the
// command line, scripted mouse input and screenshots.
#include "lab_commands.h"
#include "scripted_events.h"

#include "app/game_state.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "app/startup_content.h"
#include "app/window.h"
#include "audio/sound_device.h"
#include "frontend/career_state.h"
#include "frontend/garage_scene.h"
#include "frontend/menu_framework.h"
#include "platform/test_backend.h"
#include "render/screenshot.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct GarageOptions {
    int screen = gameStates::mainMenu;
    int car = -1;  // -1: the career's car
    float paint[3] = {-1.0f, 0.0f, 0.0f};
    int rims = -1, neon = -1, spoiler = -1, bodyKit = -1, topVinyl = -1, sideVinyl = -1;
    float pitch = -1.0f, yaw = -1.0f;  // start angles; -1 keeps the game's
    long frames = 60;
    int frameMs = 16;
    std::string eventsPath;
    std::vector<ShotRequest> shots;
};

GarageOptions options;
long currentFrame = 0;

void takeShots() {
    for (const ShotRequest& shot : options.shots) {
        if (shot.frame == currentFrame && !saveScreenshot(shot.path, gameSettings.width, gameSettings.height))
            std::fprintf(stderr, "nightrun-lab garage: could not write %s\n", shot.path.c_str());
    }
}

bool parseColour(const std::string& text, float out[3]) {
    return std::sscanf(text.c_str(), "%f,%f,%f", &out[0], &out[1], &out[2]) == 3;
}

bool parse(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        auto intValue = [&](int& out) { out = std::atoi(args[++i].c_str()); };
        if (a == "--screen" && hasValue) intValue(options.screen);
        else if (a == "--car" && hasValue) intValue(options.car);
        else if (a == "--rims" && hasValue) intValue(options.rims);
        else if (a == "--neon" && hasValue) intValue(options.neon);
        else if (a == "--spoiler" && hasValue) intValue(options.spoiler);
        else if (a == "--body-kit" && hasValue) intValue(options.bodyKit);
        else if (a == "--top-vinyl" && hasValue) intValue(options.topVinyl);
        else if (a == "--side-vinyl" && hasValue) intValue(options.sideVinyl);
        else if (a == "--frame-ms" && hasValue) intValue(options.frameMs);
        else if (a == "--pitch" && hasValue) options.pitch = float(std::atof(args[++i].c_str()));
        else if (a == "--yaw" && hasValue) options.yaw = float(std::atof(args[++i].c_str()));
        else if (a == "--frames" && hasValue) options.frames = std::atol(args[++i].c_str());
        else if (a == "--events" && hasValue) options.eventsPath = args[++i];
        else if (a == "--paint" && hasValue) {
            if (!parseColour(args[++i], options.paint)) {
                std::fprintf(stderr, "nightrun-lab garage: --paint takes R,G,B (0..1 each)\n");
                return false;
            }
        } else if (a == "--shot" && hasValue) {
            ShotRequest shot;
            if (!parseShotRequest(args[++i], shot)) {
                std::fprintf(stderr, "nightrun-lab garage: bad --shot '%s' (want FRAME:FILE.png)\n", args[i].c_str());
                return false;
            }
            options.shots.push_back(shot);
        } else {
            std::fprintf(stderr, "nightrun-lab garage: unknown option '%s'\n", a.c_str());
            return false;
        }
    }
    if (options.car >= carPresetCount || options.frames <= 0 || options.frameMs <= 0 ||
        options.screen == gameStates::racing) {
        std::fprintf(stderr, "nightrun-lab garage: --car takes 0..17, --screen a front-end screen, --frames > 0\n");
        return false;
    }
    return true;
}

void applyLooks() {
    if (options.car >= 0) loadPresetConfig(options.car);
    CarConfig& car = workingCar;
    if (options.paint[0] >= 0.0f)
        for (int c = 0; c < 3; ++c) car.paintColor[c] = options.paint[c];
    if (options.rims >= 0) car.rims = options.rims;
    if (options.neon >= 0) car.neon = options.neon;
    if (options.spoiler >= 0) car.spoiler = options.spoiler;
    if (options.bodyKit >= 0) car.bodyKit = options.bodyKit;
    if (options.topVinyl >= 0) car.topVinyl = options.topVinyl;
    if (options.sideVinyl >= 0) car.sideVinyl = options.sideVinyl;
    if (options.pitch >= 0.0f) garageCamera.pitch = options.pitch;
    if (options.yaw >= 0.0f) garageCamera.yaw = options.yaw;
}

int runGarage(const std::vector<std::string>& args) {
    options = GarageOptions{};
    if (!parse(args)) return 2;
    ScriptedEvents events;
    std::string error;
    if (!options.eventsPath.empty() && !loadScriptedEvents(options.eventsPath, events, error)) {
        std::fprintf(stderr, "nightrun-lab garage: %s: %s\n", options.eventsPath.c_str(), error.c_str());
        return 2;
    }

    platform::TestBackend backend;
    platform::installTestBackend(&backend);
    beforePresent = takeShots;
    const bool started = startupSequence() == StartupResult::Ok;
    long frames = 0;
    if (started) {
        loadStartupContent();
        loopFlags.startupLoading = false;
        applyLooks();
        GameState = shownScreen = options.screen;
        bool running = true;
        for (currentFrame = 0; currentFrame < options.frames && running; ++currentFrame) {
            DueSteps due =
                takeDueSteps(events, currentFrame, GameState, shownScreen, gameSettings.width, gameSettings.height);
            for (const platform::Event& e : due.events) backend.events.push_back(e);
            for (const std::string& path : due.shots) options.shots.push_back({currentFrame, path});
            backend.clockMs += uint32_t(options.frameMs);
            bool framePass = false;
            while ((running = mainLoopPass(framePass)) && !framePass) {}
            if (framePass) ++frames;
        }
        closeSoundDevice();
        destroyGameWindow();
    }
    beforePresent = nullptr;
    platform::installTestBackend(nullptr);
    if (!started) {
        std::fprintf(stderr, "nightrun-lab garage: the game could not start (window or sound device)\n");
        return 1;
    }
    std::printf("frames=%ld screen=%d pitch=%.2f yaw=%.2f\n", frames, shownScreen, garageCamera.pitch,
                garageCamera.yaw);
    return 0;
}

LabCommand garageCommand("garage",
                         "[--screen S] [--car C] [--paint R,G,B] [--rims K] [--neon K] [--spoiler K] [--body-kit K] "
                         "[--top-vinyl K] [--side-vinyl K] [--pitch P] [--yaw Y] [--frames N] [--frame-ms T] "
                         "[--events FILE] [--shot FRAME:FILE.png ...]",
                         runGarage);

}  // namespace
