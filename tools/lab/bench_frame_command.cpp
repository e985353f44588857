// nightrun-lab bench-frame: how long a whole drawn frame takes, race or garage,
// against the frame's fixed cost. The "floor" is the same frame with every
// pass, copy and composite but no scene geometry (world, cars, halos, glass,
// garage models). Race and floor frames alternate, so both see the same load.
// Each frame is timed from the frame driver to the finished picture (the
// presented frame, glFinish included); the clock is the test back end's, so
// every frame is the same fixed length for the game.
#include "lab_commands.h"

#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "app/startup_content.h"
#include "app/window.h"
#include "audio/sound_device.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"
#include "frontend/menu_framework.h"
#include "platform/platform.h"
#include "platform/test_backend.h"
#include "race/autopilot.h"
#include "race/race_flow.h"
#include "race/traffic.h"
#include "render/frame_stages.h"
#include "render/model_drawing.h"
#include "render/post_processing.h"
#include "render/world_drawing.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// CPU time of the whole process (the renderer's worker threads included), in
// milliseconds: on a shared machine it moves far less with the load than the
// wall clock does.
double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1.0e6;
}

struct BenchOptions {
    int track = -1;
    long frames = 100;
    int resolution = 1;
    int reflections = 1;
    int blur = 0;
    int traffic = 0;
    int particles = 1;
    int car = 0;
    bool garage = false;
    int screen = 1;
    bool profile = false;
    int frameMs = 16;
};

BenchOptions options;

// Profile: time spent up to each named stage, glFinish at every mark (scene
// frames and floor frames apart).
bool floorFrame = false;
std::map<std::string, std::vector<double>> stageTimes, floorStageTimes;
std::vector<std::string> stageOrder;
double stageStart = 0.0;

// Stages are timed in process CPU time, so the shares stay comparable however loaded the machine is.
void markStage(const char* name) {
    glFinish();
    const double now = processCpuMs();
    if (std::find(stageOrder.begin(), stageOrder.end(), name) == stageOrder.end()) stageOrder.push_back(name);
    (floorFrame ? floorStageTimes : stageTimes)[name].push_back(now - stageStart);
    stageStart = now;
}

struct FrameTime {
    double wallMs = 0.0;
    double cpuMs = 0.0;
};

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t k = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[k];
}

bool parse(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--track" && hasValue) options.track = std::atoi(args[++i].c_str());
        else if (a == "--frames" && hasValue) options.frames = std::atol(args[++i].c_str());
        else if (a == "--res" && hasValue) options.resolution = std::atoi(args[++i].c_str());
        else if (a == "--reflections" && hasValue) options.reflections = std::atoi(args[++i].c_str());
        else if (a == "--blur" && hasValue) options.blur = std::atoi(args[++i].c_str());
        else if (a == "--traffic" && hasValue) options.traffic = std::atoi(args[++i].c_str());
        else if (a == "--particles" && hasValue) options.particles = std::atoi(args[++i].c_str());
        else if (a == "--car" && hasValue) options.car = std::atoi(args[++i].c_str());
        else if (a == "--screen" && hasValue) options.screen = std::atoi(args[++i].c_str());
        else if (a == "--garage") options.garage = true;
        else if (a == "--profile") options.profile = true;
        else {
            std::fprintf(stderr, "nightrun-lab bench-frame: unknown option '%s'\n", a.c_str());
            return false;
        }
    }
    const bool trackOk = options.garage || (options.track >= firstTrack && options.track <= lastTrack);
    if (!trackOk || options.frames <= 0 || options.resolution < 0 || options.resolution >= resolutionCount ||
        options.car < 0 || options.car >= carPresetCount || options.traffic < 0 || options.traffic > 2) {
        std::fprintf(stderr, "nightrun-lab bench-frame: --track 1..30 (or --garage), --frames K > 0, --res 0..4, "
                             "--car 0..17, --traffic 0..2\n");
        return false;
    }
    return true;
}

// The game as the frame driver sees it, without the start-up screen.
bool startGame(platform::TestBackend& backend) {
    platform::installTestBackend(&backend);
    readCareer(careerState, "/nonexistent/career.inf");  // a fresh career in memory; the file is left alone
    gameSettings = GameSettings{};
    gameSettings.resolutionIndex = options.resolution;
    applyResolutionIndex(gameSettings);
    gameSettings.reflections = options.reflections;
    gameSettings.motionBlur = options.blur;
    gameSettings.particles = options.particles;
    gameSettings.music = 0;
    effectTextureWidth = effectTextureHeight = 256;
    openSoundDevice();
    loadSoundEffects();
    if (!createGameWindow("bench", gameSettings.width, gameSettings.height, 32, false)) return false;
    loadStartupContent();
    loopFlags.startupLoading = false;
    return true;
}

// One frame through the real loop, timed to its finished picture.
FrameTime timedFrame(platform::TestBackend& backend) {
    backend.clockMs += uint32_t(options.frameMs);
    const Clock::time_point start = Clock::now();
    const double cpuStart = stageStart = processCpuMs();
    bool framePass = false;
    while (mainLoopPass(framePass) && !framePass) {}
    glFinish();
    if (options.profile) markStage("present");
    return {std::chrono::duration<double, std::milli>(Clock::now() - start).count(), processCpuMs() - cpuStart};
}

void report(const char* what, const std::vector<FrameTime>& scene, const std::vector<FrameTime>& floor) {
    std::vector<double> sceneWall, floorWall, sceneCpu, floorCpu;
    for (const FrameTime& t : scene) {
        sceneWall.push_back(t.wallMs);
        sceneCpu.push_back(t.cpuMs);
    }
    for (const FrameTime& t : floor) {
        floorWall.push_back(t.wallMs);
        floorCpu.push_back(t.cpuMs);
    }
    const double sceneMedian = percentile(sceneWall, 0.5), floorMedian = percentile(floorWall, 0.5);
    const double sceneCpuMedian = percentile(sceneCpu, 0.5), floorCpuMedian = percentile(floorCpu, 0.5);
    std::printf("%s res=%dx%d frames=%zu frame_median_ms=%.2f frame_p99_ms=%.2f floor_median_ms=%.2f "
                "floor_p99_ms=%.2f ratio=%.3f\n",
                what, gameSettings.width, gameSettings.height, scene.size(), sceneMedian,
                percentile(sceneWall, 0.99), floorMedian, percentile(floorWall, 0.99),
                floorMedian > 0.0 ? sceneMedian / floorMedian : 0.0);
    std::printf("  cpu: frame_median_ms=%.2f floor_median_ms=%.2f ratio=%.3f\n", sceneCpuMedian, floorCpuMedian,
                floorCpuMedian > 0.0 ? sceneCpuMedian / floorCpuMedian : 0.0);
    if (!options.profile) return;
    for (const std::string& name : stageOrder)
        std::printf("  stage %-12s median_ms=%.2f floor_median_ms=%.2f\n", name.c_str(),
                    percentile(stageTimes[name], 0.5), percentile(floorStageTimes[name], 0.5));
}

int benchFrame(const std::vector<std::string>& args) {
    options = BenchOptions{};
    if (!parse(args)) return 2;
    platform::TestBackend backend;
    if (!startGame(backend)) {
        std::fprintf(stderr, "nightrun-lab bench-frame: the game could not start (window)\n");
        platform::installTestBackend(nullptr);
        return 1;
    }
    if (options.profile) frameStageHook = markStage;

    std::vector<FrameTime> scene, floor;
    if (options.garage) {
        GameState = shownScreen = options.screen;
        for (int k = 0; k < 5; ++k) timedFrame(backend);  // settle the first frame's allocations
        for (long k = 0; k < options.frames; ++k) {
            skipSceneGeometry = floorFrame = false;
            scene.push_back(timedFrame(backend));
            skipSceneGeometry = floorFrame = true;
            floor.push_back(timedFrame(backend));
        }
        skipSceneGeometry = false;
        frameStageHook = nullptr;
        report("garage", scene, floor);
    } else {
        loadPresetConfig(options.car);
        trafficLevel = options.traffic;
        GameState = gameStates::racing;
        if (!startRace(options.track)) {
            std::fprintf(stderr, "nightrun-lab bench-frame: track %d has no driving line\n", options.track);
            destroyGameWindow();
            platform::installTestBackend(nullptr);
            return 1;
        }
        resetAutopilot();
        // The start sequence, undrawn: the bench watches the chase camera.
        const float ticks = 0.1f * float(options.frameMs);
        for (long k = 0; k < 5000 && countdownActive; ++k) {
            autopilotFrame(ticks);
            headlessRaceFrame(ticks);
        }
        for (int k = 0; k < 5; ++k) {
            autopilotFrame(ticks);
            timedFrame(backend);
        }
        stageTimes.clear();
        floorStageTimes.clear();
        stageOrder.clear();
        long drawnChunks = 0, totalChunks = 0, triangles = 0;
        for (long k = 0; k < options.frames && GameState == gameStates::racing; ++k) {
            skipSceneGeometry = floorFrame = false;
            autopilotFrame(ticks);
            resetCullReport();
            scene.push_back(timedFrame(backend));
            drawnChunks += cullReport().drawn;
            totalChunks += cullReport().total;
            triangles += cullReport().trianglesDrawn;
            skipSceneGeometry = floorFrame = true;
            autopilotFrame(ticks);
            floor.push_back(timedFrame(backend));
        }
        skipSceneGeometry = false;
        frameStageHook = nullptr;
        char what[128];
        std::snprintf(what, sizeof what, "track=%d reflections=%d blur=%d traffic=%d particles=%d", options.track,
                      options.reflections, options.blur, options.traffic, options.particles);
        report(what, scene, floor);
        if (!scene.empty())
            std::printf("  city pieces drawn per frame %.0f of %.0f, %.0f triangles\n",
                        double(drawnChunks) / double(scene.size()), double(totalChunks) / double(scene.size()),
                        double(triangles) / double(scene.size()));
        if (loadedTrack != 0) leaveRace();
    }
    closeSoundDevice();
    destroyGameWindow();
    platform::installTestBackend(nullptr);
    return 0;
}

LabCommand benchFrameCommand("bench-frame",
                             "--track N | --garage [--screen S]  [--frames K] [--res I] [--reflections 0|1] "
                             "[--blur 0|1] [--traffic T] [--particles 0|1] [--car C] [--profile]",
                             benchFrame);

}  // namespace
