// nightrun-lab run: the whole program on the test back end, frame by frame.
#include "lab_commands.h"
#include "scripted_events.h"

#include "app/game_paths.h"
#include "app/game_state.h"
#include "app/input.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "audio/audio_capture.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"
#include "frontend/menu_framework.h"
#include "platform/test_backend.h"
#include "race/autopilot.h"
#include "race/race_flow.h"
#include "render/screenshot.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

std::vector<ShotRequest> pendingShots;
long currentFrame = 0;

// The autopilot drives every race the game starts.
struct AutopilotRun {
    bool enabled = false;
    int32_t raceSeen = -1;   // raceSetUpCount of the race it learnt
    bool driving = false;
};
AutopilotRun autopilot;
int32_t finishReported = -1;  // raceSetUpCount of the last race reported

void driveRaces(float ticks) {
    if (GameState == gameStates::racing && raceWorld) {
        if (raceSetUpCount != autopilot.raceSeen) {
            autopilot.raceSeen = raceSetUpCount;
            resetAutopilot();
        }
        autopilotFrame(ticks);
        autopilot.driving = true;
    } else if (autopilot.driving) {
        releaseAutopilotKeys();
        autopilot.driving = false;
    }
}

// One line per race the player finishes, with the place the race gave.
void reportFinishedRace() {
    if (GameState != gameStates::racing || !raceFinished || finishReported == raceSetUpCount) return;
    finishReported = raceSetUpCount;
    std::printf("race track=%d career=%d place=%d time=%s\n", loadedTrack, careerRaceActive ? 1 : 0, playerPlace,
                formatClock(raceClock).c_str());
    std::fflush(stdout);
}

bool shotDue() {
    for (const ShotRequest& shot : pendingShots)
        if (shot.frame == currentFrame) return true;
    return false;
}

void takeShots() {
    for (const ShotRequest& shot : pendingShots) {
        if (shot.frame != currentFrame) continue;
        if (!saveScreenshot(shot.path, gameSettings.width, gameSettings.height))
            std::fprintf(stderr, "nightrun-lab: could not write %s\n", shot.path.c_str());
    }
}

int runProgram(const std::vector<std::string>& args) {
    long frames = -1;
    int frameMs = 10;
    long drawEvery = 1;
    std::string eventsPath;
    std::string audioCapture;
    platform::TestBackend backend;
    autopilot = AutopilotRun{};
    finishReported = -1;
    pendingShots.clear();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--frames" && hasValue) {
            frames = std::atol(args[++i].c_str());
        } else if (a == "--frame-ms" && hasValue) {
            frameMs = std::atoi(args[++i].c_str());
        } else if (a == "--draw-every" && hasValue) {
            drawEvery = std::atol(args[++i].c_str());
        } else if (a == "--events" && hasValue) {
            eventsPath = args[++i];
        } else if (a == "--audio-capture" && hasValue) {
            audioCapture = args[++i];
        } else if (a == "--real-window") {
            backend.realFullscreen = true;
        } else if (a == "--autopilot") {
            autopilot.enabled = true;
        } else if (a == "--shot" && hasValue) {
            ShotRequest shot;
            if (!parseShotRequest(args[++i], shot)) {
                std::fprintf(stderr, "nightrun-lab run: bad --shot '%s' (want FRAME:FILE.png)\n", args[i].c_str());
                return 2;
            }
            pendingShots.push_back(shot);
        } else if (a == "--answer" && hasValue) {
            std::string answer = args[++i];
            if (answer != "yes" && answer != "no") {
                std::fprintf(stderr, "nightrun-lab run: --answer takes yes or no\n");
                return 2;
            }
            backend.answerYes = answer == "yes";
        } else {
            std::fprintf(stderr, "nightrun-lab run: unknown option '%s'\n", a.c_str());
            return 2;
        }
    }
    if (frames < 0 || frameMs < 0) {
        std::fprintf(stderr, "nightrun-lab run: --frames N is required\n");
        return 2;
    }
    if (drawEvery < 1) {
        std::fprintf(stderr, "nightrun-lab run: --draw-every takes a whole number from 1\n");
        return 2;
    }
    ScriptedEvents events;
    std::string error;
    if (!eventsPath.empty() && !loadScriptedEvents(eventsPath, events, error)) {
        std::fprintf(stderr, "nightrun-lab run: %s: %s\n", eventsPath.c_str(), error.c_str());
        return 2;
    }
    // An installed lab runs the installed game (data from the install, saves
    // per user); files named on the command line stay where they were meant.
    const GamePaths paths = findGamePaths();
    if (paths.installed) {
        auto fromHere = [](std::string& path) {
            if (!path.empty()) path = std::filesystem::absolute(path).string();
        };
        for (ShotRequest& shot : pendingShots) fromHere(shot.path);
        for (ScriptStep& step : events.steps) fromHere(step.path);
        fromHere(audioCapture);
        if (!useGamePaths(paths)) return 1;
    }

    platform::installTestBackend(&backend);
    beforePresent = takeShots;
    int exitCode = 0;
    long framesRun = 0;
    bool quit = false;
    bool fullscreenAtExit = false;
    requestAudioCapture(!audioCapture.empty());
    StartupResult start = startupSequence();
    if (start == StartupResult::Ok) {
        bool running = true;
        const float ticks = frameMs > 100 ? 0.0f : 0.1f * float(frameMs);
        for (currentFrame = 0; currentFrame < frames && running; ++currentFrame) {
            DueSteps due =
                takeDueSteps(events, currentFrame, GameState, shownScreen, gameSettings.width, gameSettings.height);
            for (const platform::Event& e : due.events) backend.events.push_back(e);
            for (const std::string& path : due.shots) pendingShots.push_back({currentFrame, path});
            if (autopilot.enabled) driveRaces(ticks);
            // A running race may go undrawn between the drawn frames, but never
            // on a frame that takes input or a picture.
            raceFrameUndrawn = drawEvery > 1 && currentFrame % drawEvery != 0 && due.events.empty() && !shotDue();
            backend.clockMs += static_cast<uint32_t>(frameMs);
            bool framePass = false;
            while ((running = mainLoopPass(framePass)) && !framePass) {}
            if (framePass) ++framesRun;
            if (!audioCapture.empty()) renderAudioCapture(frameMs / 1000.0);
            reportFinishedRace();
        }
        quit = !running;
        raceFrameUndrawn = false;
        fullscreenAtExit = platform::windowFullscreen();
        if (!audioCapture.empty() && !writeCapturedAudio(audioCapture)) {
            std::fprintf(stderr, "nightrun-lab run: could not write %s\n", audioCapture.c_str());
            exitCode = 1;
        }
        exitSequence();
    }
    for (const platform::RecordedMessageBox& box : backend.messageBoxes)
        std::fprintf(stderr, "message box [%s]: %s\n", box.caption.c_str(), box.text.c_str());
    for (const std::string& url : backend.openedUrls) std::fprintf(stderr, "opened %s\n", url.c_str());
    if (backend.realFullscreen) std::printf("fullscreen=%d\n", fullscreenAtExit ? 1 : 0);
    std::printf("frames=%ld state=%d quit=%d exit=%d\n", framesRun, GameState, quit ? 1 : 0, exitCode);
    platform::installTestBackend(nullptr);
    requestAudioCapture(false);
    return exitCode == 0 ? 0 : 1;
}

LabCommand runCommand("run",
                      "--frames N [--frame-ms T] [--events FILE] [--shot FRAME:FILE.png ...] [--answer yes|no] "
                      "[--audio-capture FILE.wav] [--autopilot] [--draw-every N] [--real-window]",
                      runProgram);

}  // namespace
